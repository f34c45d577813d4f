// The main window: the edit control filling the client area and the status
// bar with the document's kanji code and newline type.
#pragma once

#include "platform/TForm.h"
#include "platform/TScintillaEdit.h"

#include <QLabel>
#include <QStatusBar>

#include <QSize>

#include <array>
#include <memory>
#include <optional>

class ZuvView;

// The file name as the title shows it: UTF-8, with each byte that is not part of
// a valid UTF-8 sequence shown as \xNN.
AnsiString DisplayFileName(const AnsiString& fileName);

class TZuvViewForm : public TMainForm {
public:
    TZuvViewForm();

    QStatusBar* ViewStatusBar;
    TScintillaEdit* ViewEdit;

    void SetView(ZuvView* view) { View = view; }
    bool IsModified() const;
    void SetModified(bool modified);
    std::unique_ptr<TStringList> GetLines() const;
    void SetLines(const TStringList& lines);
    void ShowStatus(const AnsiString& fileName, const AnsiString& kanjiCodeName,
                    const AnsiString& newlineTypeName);
    AnsiString StatusText(int panel) const;

    // Outer size, frame included. The frame is known only once the window is
    // shown, so the requested size is kept and applied again when it is.
    void SetOuterSize(int width, int height);
    int OuterWidth() const;
    int OuterHeight() const;

protected:
    bool event(QEvent* event) override;

private:
    void CreateStatusBar();
    void KeepOuterSize();

    std::optional<QSize> wantedOuterSize;
    QSize frameUsed;

    std::array<QLabel*, 3> statusPanels{};
    ZuvView* View = nullptr;
};
