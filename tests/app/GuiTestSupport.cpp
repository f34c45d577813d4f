#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QRadioButton>

namespace zuvtest {

TStringList Lines(std::initializer_list<const char*> lines) {
    TStringList list;
    for (const char* line : lines)
        list.Add(line);
    return list;
}

std::string DialogText(const QWidget* dialog) {
    std::string text;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(dialog) || label->text().isEmpty())
            continue;
        text += (text.empty() ? "" : "|") + label->text().toStdString();
    }
    return text;
}

bool ClickButton(QWidget* dialog, const std::string& caption) {
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(dialog) && button->text().toStdString() == caption) {
            button->click();
            return true;
        }
    }
    return false;
}

namespace {

// The caption of the checked radio button among these captions, or "-".
std::string Checked(const QWidget* dialog, std::initializer_list<const char*> captions) {
    for (const QRadioButton* button : dialog->findChildren<QRadioButton*>()) {
        for (const char* caption : captions) {
            if (button->text() == QString::fromUtf8(caption) && button->isChecked())
                return caption;
        }
    }
    return "-";
}

bool NewlinePanelShown(const QWidget* dialog) {
    for (const QRadioButton* button : dialog->findChildren<QRadioButton*>()) {
        if (button->text() == QStringLiteral("CRLF"))
            return button->isVisibleTo(dialog);
    }
    return false;
}

void CheckRadio(QWidget* dialog, const std::string& caption) {
    for (QRadioButton* button : dialog->findChildren<QRadioButton*>()) {
        if (button->text().toStdString() == caption)
            button->setChecked(true);
    }
}

} // namespace

DialogScript::DialogScript() {
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [this] { Poll(); });
    timer.start();
}

DialogScript::~DialogScript() {
    timer.stop();
}

DialogScript& DialogScript::Then(Step step) {
    steps.push_back(std::move(step));
    return *this;
}

DialogScript& DialogScript::Question(const std::string& text, Reply reply) {
    return Then([text, reply](QWidget* dialog, std::string& record) {
        record = DialogText(dialog) == text ? "question" : "question: " + DialogText(dialog);
        if (reply == Reply::CloseBox) {
            dialog->close();
        } else if (!ClickButton(dialog, reply == Reply::Yes ? "うん" : "ううん")) {
            record += " (no button)";
            dialog->close();
        }
    });
}

DialogScript& DialogScript::File(const std::string& path) {
    return Then([path](QWidget* dialog, std::string& record) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        if (!fileDialog) {
            record = "not a file dialog: " + DialogText(dialog);
            dialog->close();
            return;
        }
        record = fileDialog->acceptMode() == QFileDialog::AcceptOpen ? "open" : "save";
        if (path.empty()) {
            fileDialog->reject();
            return;
        }
        fileDialog->selectFile(QString::fromStdString(path));
        static_cast<QDialog*>(fileDialog)->accept(); // QFileDialog::accept is protected
    });
}

DialogScript& DialogScript::Codes(const std::string& kanji, const std::string& newline) {
    return Then([kanji, newline](QWidget* dialog, std::string& record) {
        record = Checked(dialog, {"SJIS", "JIS", "EUC"});
        if (NewlinePanelShown(dialog))
            record += " " + Checked(dialog, {"CRLF", "CR", "LF"});
        if (kanji.empty()) {
            ClickButton(dialog, "ううん");
            return;
        }
        CheckRadio(dialog, kanji);
        CheckRadio(dialog, newline);
        ClickButton(dialog, "うん");
    });
}

void DialogScript::Poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible())
        return;
    if (next == steps.size()) {
        unexpected.push_back(DialogText(dialog));
        dialog->close();
        return;
    }
    std::string record;
    steps[next++](dialog, record);
    records.push_back(record);
}

} // namespace zuvtest
