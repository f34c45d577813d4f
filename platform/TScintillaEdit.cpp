#include "platform/TScintillaEdit.h"

#include "platform/Cp932Unicode.h"
#include "platform/TApplication.h"

#include <QByteArray>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr int kStrikeIndicator = QsciScintillaBase::INDIC_CONTAINER;

// Restores undo collection and the insertion check when a fill ends, even by
// an exception.
class FillScope {
public:
    FillScope(TScintillaEdit& edit, bool& filling) : edit(edit), filling(filling) {
        filling = true;
        edit.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    }
    ~FillScope() {
        edit.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        edit.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
        filling = false;
    }
    FillScope(const FillScope&) = delete;
    FillScope& operator=(const FillScope&) = delete;

private:
    TScintillaEdit& edit;
    bool& filling;
};

} // namespace

TStringList DroppedFiles(const QMimeData* mime) {
    TStringList paths;
    if (mime == nullptr) {
        return paths;
    }
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile()) {
            paths.Add(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())
                          .toStdString());
        }
    }
    return paths;
}

TScintillaEdit::TScintillaEdit(QWidget* parent) : QsciScintilla(parent) {
    Configure();
    SetFont(TFont{.Name = "ＭＳ ゴシック"});
}

void TScintillaEdit::Configure() {
    // Without a lexer nothing is styled: a document without style bytes holds
    // the text in half the memory.
    const long document =
        SendScintilla(SCI_CREATEDOCUMENT, 0UL, long(SC_DOCUMENTOPTION_STYLES_NONE));
    SendScintilla(SCI_SETDOCPOINTER, 0UL, document);
    SendScintilla(SCI_RELEASEDOCUMENT, 0UL, document);
    setUtf8(true);
    setEolMode(EolUnix);
    setMargins(0);
    SendScintilla(SCI_SETHSCROLLBAR, 0UL);
    SendScintilla(SCI_SETVSCROLLBAR, 1UL);
    setIndentationsUseTabs(true);
    setWrapMode(WrapWord);
    SendScintilla(SCI_INDICSETSTYLE, kStrikeIndicator, INDIC_STRIKE);
    for (int byte = 0; byte < 0x100; ++byte) {
        if (byte == '\n' || byte == '\r' || byte >= 0x80) {
            const QByteArray blob = "x" + QByteArray::number(byte, 16).toUpper();
            SendScintilla(SCI_SETREPRESENTATION, cp932::RawByteCharacter(byte).c_str(),
                          blob.constData());
        }
    }
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                OnModified(position, type, length);
            });
}

void TScintillaEdit::OnModified(int position, int type, int length) {
    if ((type & SC_MOD_INSERTTEXT) && font.StrikeOut && !filling) {
        StrikeRange(position, length);
    }
}

QString TScintillaEdit::Normalized(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::string normalized;
    if (!cp932::NormalizeInsertion(std::string_view(utf8.constData(), size_t(utf8.size())),
                                   normalized)) {
        return text;
    }
    return QString::fromUtf8(normalized.data(), qsizetype(normalized.size()));
}

void TScintillaEdit::keyPressEvent(QKeyEvent* event) {
    const QString text = Normalized(event->text());
    if (text == event->text()) {
        QsciScintilla::keyPressEvent(event);
        return;
    }
    QKeyEvent typed(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                    event->nativeVirtualKey(), event->nativeModifiers(), text,
                    event->isAutoRepeat(), ushort(event->count()));
    QsciScintilla::keyPressEvent(&typed);
    event->setAccepted(typed.isAccepted());
}

void TScintillaEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = Normalized(event->commitString());
    if (commit == event->commitString()) {
        QsciScintilla::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent composed(event->preeditString(), event->attributes());
    composed.setCommitString(commit, event->replacementStart(), event->replacementLength());
    QsciScintilla::inputMethodEvent(&composed);
    event->setAccepted(composed.isAccepted());
}

QByteArray TScintillaEdit::fromMimeData(const QMimeData* source, bool& rectangular) const {
    const QByteArray text = QsciScintilla::fromMimeData(source, rectangular);
    std::string normalized;
    if (!cp932::NormalizeInsertion(std::string_view(text.constData(), size_t(text.size())),
                                   normalized)) {
        return text;
    }
    return QByteArray(normalized.data(), qsizetype(normalized.size()));
}

void TScintillaEdit::StrikeRange(int position, int length) {
    SendScintilla(SCI_SETINDICATORCURRENT, kStrikeIndicator);
    SendScintilla(font.StrikeOut ? SCI_INDICATORFILLRANGE : SCI_INDICATORCLEARRANGE,
                  static_cast<unsigned long>(position), static_cast<long>(length));
}

void TScintillaEdit::SetLines(const TStringList& lines) {
    const bool wasModified = Modified();
    size_t bytes = 0;
    for (const AnsiString& line : lines) {
        bytes += line.size() + 1;
    }
    // Japanese text grows by about half in UTF-8; more room is made when needed.
    std::string text(bytes + bytes / 2 + 16, '\0');
    size_t used = 0;
    std::vector<int> linesWithState;
    originals.clear();
    int index = 0;
    for (const AnsiString& line : lines) {
        const size_t room = cp932::MaxDecodedSize(line.size()) + 1;
        if (used + room > text.size()) {
            text.resize(std::max(text.size() + text.size() / 4, used + room));
        }
        bool canonical = true;
        used = size_t(cp932::DecodeInto(line, text.data() + used, canonical) - text.data());
        text[used++] = '\n';
        if (!canonical) {
            originals.push_back(line);
            linesWithState.push_back(index);
        }
        ++index;
    }
    text.resize(used);
    if (text.size() >= size_t(INT_MAX)) {
        throw Exception("テキストが大きすぎて、エディットコントロールに入りきりません。");
    }
    {
        FillScope scope(*this, filling);
        SetWordWrap(false);
        SendScintilla(SCI_CLEARALL);
        SendScintilla(SCI_SETLINESTATE, 0UL, 0L);
        SendScintilla(SCI_APPENDTEXT, text.size(), text.data());
        std::string().swap(text);
        for (size_t i = 0; i < linesWithState.size(); ++i) {
            SendScintilla(SCI_SETLINESTATE, static_cast<unsigned long>(linesWithState[i]),
                          static_cast<long>(i + 1));
        }
        if (SendScintilla(SCI_GETSTATUS) != SC_STATUS_OK) {
            SendScintilla(SCI_SETSTATUS, static_cast<unsigned long>(SC_STATUS_OK));
            throw Exception("テキストが大きすぎて、エディットコントロールに入りきりません。");
        }
    }
    SendScintilla(SCI_GOTOPOS, 0UL);
    StrikeRange(0, int(SendScintilla(SCI_GETLENGTH)));
    SetModified(wasModified);
    SetWordWrap(true);
}

std::string_view TScintillaEdit::DocumentText() const {
    const auto* data = reinterpret_cast<const char*>(SendScintilla(SCI_GETCHARACTERPOINTER));
    return std::string_view(data, size_t(SendScintilla(SCI_GETLENGTH)));
}

AnsiString TScintillaEdit::LineBytes(int line, std::string_view text) const {
    if (!originals.empty()) {
        const long state = SendScintilla(SCI_GETLINESTATE, static_cast<unsigned long>(line));
        if (state > 0 && size_t(state) <= originals.size()) {
            const AnsiString& original = originals[size_t(state - 1)];
            if (cp932::Decode(original) == text) {
                return original;
            }
        }
    }
    return cp932::Encode(text);
}

std::unique_ptr<TStringList> TScintillaEdit::GetLines() const {
    auto lines = std::make_unique<TStringList>();
    const std::string_view text = DocumentText();
    lines->Reserve(int(SendScintilla(SCI_GETLINECOUNT)));
    size_t start = 0;
    for (int line = 0; start < text.size(); ++line) {
        const void* newline = std::memchr(text.data() + start, '\n', text.size() - start);
        const size_t end =
            newline ? size_t(static_cast<const char*>(newline) - text.data()) : text.size();
        lines->Add(LineBytes(line, text.substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

bool TScintillaEdit::Modified() const {
    return forcedModified || SendScintilla(SCI_GETMODIFY) != 0;
}

void TScintillaEdit::SetModified(bool modified) {
    forcedModified = modified;
    if (!modified) {
        SendScintilla(SCI_SETSAVEPOINT);
    }
}

bool TScintillaEdit::WordWrap() const {
    return wrapMode() != WrapNone;
}

void TScintillaEdit::SetWordWrap(bool wrap) {
    setWrapMode(wrap ? WrapWord : WrapNone);
}

void TScintillaEdit::Undo() {
    undo();
}
void TScintillaEdit::CutToClipboard() {
    cut();
}
void TScintillaEdit::CopyToClipboard() {
    copy();
}
void TScintillaEdit::PasteFromClipboard() {
    paste();
}
void TScintillaEdit::ClearSelection() {
    removeSelectedText();
}
void TScintillaEdit::SelectAll() {
    selectAll(true);
}

int TScintillaEdit::SelLength() const {
    return int(SendScintilla(SCI_GETSELECTIONEND) - SendScintilla(SCI_GETSELECTIONSTART));
}

void TScintillaEdit::SetFont(const TFont& newFont) {
    font = newFont;
    QsciScintilla::setFont(FontToQFont(font));
    const auto style = static_cast<unsigned long>(STYLE_DEFAULT);
    // QsciScintilla passes the face to Scintilla as Latin-1, which turns a
    // Japanese name into question marks and so into some proportional face;
    // Scintilla takes UTF-8, which Qt then resolves through its substitutes.
    SendScintilla(SCI_STYLESETFONT, style, font.Name.c_str());
    const QColor color = ColorToQColor(font.Color);
    SendScintilla(SCI_STYLESETFORE, style, color);
    SendScintilla(SCI_STYLESETBOLD, style, long(font.Bold));
    SendScintilla(SCI_STYLESETITALIC, style, long(font.Italic));
    SendScintilla(SCI_STYLESETUNDERLINE, style, long(font.Underline));
    SendScintilla(SCI_STYLECLEARALL);
    SendScintilla(SCI_INDICSETFORE, static_cast<unsigned long>(kStrikeIndicator), color);
    StrikeRange(0, int(SendScintilla(SCI_GETLENGTH)));
}

void TScintillaEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).IsEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QsciScintilla::dragEnterEvent(event);
}

void TScintillaEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (!DroppedFiles(event->mimeData()).IsEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QsciScintilla::dragMoveEvent(event);
}

void TScintillaEdit::dropEvent(QDropEvent* event) {
    if (const TStringList paths = DroppedFiles(event->mimeData()); !paths.IsEmpty()) {
        event->acceptProposedAction();
        if (OnDropFiles) {
            Guarded([&] { OnDropFiles(paths); });
        }
        return;
    }
    QsciScintilla::dropEvent(event);
}
