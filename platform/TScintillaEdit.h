// The plain-text edit control: a QsciScintilla holding UTF-8 with LF line
// ends, whose lines go in and out as CP932 bytes without loss. Lines the user
// has not changed come back byte for byte; text that enters by typing, input
// method, paste or drop is cut down at once to what CP932 can hold, so the
// screen shows what a save writes.
#pragma once

#include "platform/TFont.h"
#include "platform/TStringList.h"

#include <Qsci/qsciscintilla.h>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class QMimeData;

// The local files among dropped URLs, in order, percent-decoded to byte paths;
// empty when the drop holds none.
TStringList DroppedFiles(const QMimeData* mime);

class TScintillaEdit : public QsciScintilla {
public:
    explicit TScintillaEdit(QWidget* parent = nullptr);

    // Replaces the text in one bulk fill without undo history; the caret goes
    // to the start and word wrap is on afterwards. The modified flag is kept.
    void SetLines(const TStringList& lines);
    // The document's lines; the empty place after a final line break is not a line.
    std::unique_ptr<TStringList> GetLines() const;

    bool Modified() const;
    void SetModified(bool modified);

    bool WordWrap() const;
    void SetWordWrap(bool wrap);

    void Undo();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void ClearSelection();
    void SelectAll();
    // In bytes of the control's text; 0 when nothing is selected.
    int SelLength() const;

    const TFont& Font() const { return font; }
    void SetFont(const TFont& newFont);

    // Local files dropped on the control (in order, as byte paths); they are
    // not inserted as text.
    std::function<void(const TStringList& paths)> OnDropFiles;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Typed, composed, pasted and dropped text enters in the form a save writes.
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override;

private:
    void Configure();
    void OnModified(int position, int type, int length);
    static QString Normalized(const QString& text);
    void StrikeRange(int position, int length);
    std::string_view DocumentText() const;
    AnsiString LineBytes(int line, std::string_view text) const;

    TFont font;
    // Bytes of the lines that encoding their text would not reproduce; a
    // line's state is its index here plus one.
    std::vector<AnsiString> originals;
    bool filling = false;
    bool forcedModified = false;
};
