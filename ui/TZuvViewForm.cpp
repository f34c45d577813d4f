#include "ui/TZuvViewForm.h"

#include <QEvent>
#include <QFont>

namespace {

constexpr char kTitlePrefix[] = "Z.U.V.Editorちゃん  ";
constexpr char kNewFileTitle[] = "(新規ファイル)";

struct PanelLayout {
    int width;
    Qt::Alignment alignment;
};
constexpr std::array<PanelLayout, 3> kPanelLayouts{{
    {50, Qt::AlignCenter},                  // kanji code
    {60, Qt::AlignCenter},                  // newline type
    {50, Qt::AlignLeft | Qt::AlignVCenter}, // never written
}};

// Length of the valid UTF-8 sequence at text[i], or 0 when none starts there.
std::size_t Utf8SequenceLength(const AnsiString& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    char32_t minimum = 0;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, value = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (byte(i + k) & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return value < minimum || value > 0x10FFFF || surrogate ? 0 : length;
}

} // namespace

AnsiString DisplayFileName(const AnsiString& fileName) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    AnsiString shown;
    shown.reserve(fileName.size());
    for (std::size_t i = 0; i < fileName.size();) {
        const std::size_t length = Utf8SequenceLength(fileName, i);
        if (length > 0) {
            shown.append(fileName, i, length);
            i += length;
            continue;
        }
        const auto invalid = static_cast<unsigned char>(fileName[i++]);
        shown += "\\x";
        shown += kHex[invalid >> 4];
        shown += kHex[invalid & 0x0F];
    }
    return shown;
}

TZuvViewForm::TZuvViewForm() {
    SetCaption("Z.U.V.Editorちゃん");
    setFont(FontToQFont(TFont{"ＭＳ Ｐゴシック", 9}));
    ViewEdit = new TScintillaEdit(this);
    ViewEdit->SetFont(TFont{"ＭＳ ゴシック", 9});
    setCentralWidget(ViewEdit);
    CreateStatusBar();
    SetOuterSize(524, 560);
    SetActiveControl(ViewEdit);
}

void TZuvViewForm::CreateStatusBar() {
    ViewStatusBar = new QStatusBar(this);
    ViewStatusBar->setSizeGripEnabled(true);
    for (std::size_t i = 0; i < statusPanels.size(); ++i) {
        auto* panel = new QLabel(ViewStatusBar);
        panel->setFixedWidth(kPanelLayouts[i].width);
        panel->setAlignment(kPanelLayouts[i].alignment);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        ViewStatusBar->addWidget(panel);
        statusPanels[i] = panel;
    }
    setStatusBar(ViewStatusBar);
}

bool TZuvViewForm::IsModified() const {
    return ViewEdit->Modified();
}

void TZuvViewForm::SetModified(bool modified) {
    ViewEdit->SetModified(modified);
}

std::unique_ptr<TStringList> TZuvViewForm::GetLines() const {
    return ViewEdit->GetLines();
}

void TZuvViewForm::SetLines(const TStringList& lines) {
    ViewEdit->SetLines(lines);
}

void TZuvViewForm::ShowStatus(const AnsiString& fileName, const AnsiString& kanjiCodeName,
                              const AnsiString& newlineTypeName) {
    SetCaption(kTitlePrefix +
               (fileName.empty() ? AnsiString(kNewFileTitle) : DisplayFileName(fileName)));
    statusPanels[0]->setText(QString::fromStdString(kanjiCodeName));
    statusPanels[1]->setText(QString::fromStdString(newlineTypeName));
}

AnsiString TZuvViewForm::StatusText(int panel) const {
    return statusPanels.at(std::size_t(panel))->text().toStdString();
}

void TZuvViewForm::SetOuterSize(int width, int height) {
    wantedOuterSize = QSize(width, height);
    frameUsed = QSize(-1, -1);
    KeepOuterSize();
}

int TZuvViewForm::OuterWidth() const {
    return wantedOuterSize && !isVisible() ? wantedOuterSize->width() : Width();
}

int TZuvViewForm::OuterHeight() const {
    return wantedOuterSize && !isVisible() ? wantedOuterSize->height() : Height();
}

bool TZuvViewForm::event(QEvent* event) {
    const bool handled = TMainForm::event(event);
    const QEvent::Type type = event->type();
    if (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize)
        KeepOuterSize();
    return handled;
}

// Resizes only when the frame differs from the one last allowed for, so the
// user's own resizing is never undone.
void TZuvViewForm::KeepOuterSize() {
    if (!wantedOuterSize)
        return;
    const QSize frame = frameGeometry().size() - size();
    if (frame == frameUsed)
        return;
    frameUsed = frame;
    resize(*wantedOuterSize - frame);
    if (isVisible() && !frame.isNull())
        wantedOuterSize.reset();
}
