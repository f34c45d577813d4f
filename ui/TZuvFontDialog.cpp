#include "ui/TZuvFontDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QPixmap>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace {

// The sixteen colours of the platform's font dialog, as 0x00BBGGRR.
constexpr std::array<std::pair<TColor, const char*>, 16> kColors{{
    {0x000000, "黒"},
    {0x000080, "マルーン"},
    {0x008000, "緑"},
    {0x008080, "オリーブ"},
    {0x800000, "紺"},
    {0x800080, "紫"},
    {0x808000, "青緑"},
    {0x808080, "灰色"},
    {0xC0C0C0, "銀色"},
    {0x0000FF, "赤"},
    {0x00FF00, "ライム"},
    {0x00FFFF, "黄"},
    {0xFF0000, "青"},
    {0xFF00FF, "赤紫"},
    {0xFFFF00, "水色"},
    {0xFFFFFF, "白"},
}};

QIcon Swatch(TColor color) {
    QPixmap pixmap(16, 12);
    pixmap.fill(ColorToQColor(color));
    return QIcon(pixmap);
}

} // namespace

TZuvFontDialog::TZuvFontDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("フォント"));
    setFont(FontToQFont(TFont{"ＭＳ Ｐゴシック", 9}));
    FontChooser = new QFontDialog(this);
    FontChooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    FontChooser->setWindowFlags(Qt::Widget);
    ColorBox = new QComboBox(this);
    auto* colorRow = new QFormLayout;
    colorRow->addRow(QStringLiteral("色(&C):"), ColorBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FontChooser);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
}

// A colour outside the sixteen (a system colour, say) is offered first as it is.
void TZuvFontDialog::SetFont(const TFont& newFont) {
    font = newFont;
    FontChooser->setCurrentFont(FontToQFont(font));
    ColorBox->clear();
    for (const auto& [color, name] : kColors)
        ColorBox->addItem(Swatch(color), QString::fromUtf8(name), QVariant::fromValue(color));
    const int index = ColorBox->findData(QVariant::fromValue(font.Color));
    if (index < 0)
        ColorBox->insertItem(0, Swatch(font.Color), QStringLiteral("今の色"),
                             QVariant::fromValue(font.Color));
    ColorBox->setCurrentIndex(std::max(index, 0));
}

bool TZuvFontDialog::Execute() {
    if (exec() != QDialog::Accepted)
        return false;
    TakeChoice();
    return true;
}

void TZuvFontDialog::TakeChoice() {
    const QFont chosen = FontChooser->currentFont();
    font.Name = chosen.family().toStdString();
    if (chosen.pointSize() > 0)
        font.Size = chosen.pointSize();
    font.Bold = chosen.bold();
    font.Italic = chosen.italic();
    font.Underline = chosen.underline();
    font.StrikeOut = chosen.strikeOut();
    font.Color = ColorBox->currentData().value<TColor>();
}
