// A script that answers the modal
// dialogs of a command as they open, in order, from a timer.
#pragma once

#include "platform/TStringList.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace zuvtest {

TStringList Lines(std::initializer_list<const char*> lines);

// All label texts of a dialog, joined by "|", as the user reads them.
std::string DialogText(const QWidget* dialog);
// Clicks the visible button with this caption; false when there is none.
bool ClickButton(QWidget* dialog, const std::string& caption);

class DialogScript {
public:
    // Acts on a dialog; what it saw goes into the record.
    using Step = std::function<void(QWidget* dialog, std::string& record)>;

    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& Then(Step step);

    // A question whose text must be exactly text, answered "うん" or "ううん",
    // or closed with the close box.
    enum class Reply { Yes, No, CloseBox };
    DialogScript& Question(const std::string& text, Reply reply);
    // A file dialog, given a path (empty: cancelled).
    DialogScript& File(const std::string& path);
    // The code dialog: records the checked buttons and whether the newline
    // panel shows, then checks the chosen captions and confirms, or cancels
    // when kanji is empty.
    DialogScript& Codes(const std::string& kanji, const std::string& newline);

    // What each step saw, one entry per step run, and the dialogs no step expected.
    const std::vector<std::string>& Records() const { return records; }
    const std::vector<std::string>& Unexpected() const { return unexpected; }
    bool AllStepsRun() const { return next == steps.size(); }

private:
    void Poll();

    QTimer timer;
    std::vector<Step> steps;
    std::size_t next = 0;
    std::vector<std::string> records;
    std::vector<std::string> unexpected;
};

} // namespace zuvtest
