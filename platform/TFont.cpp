#include "platform/TFont.h"

#include <QApplication>
#include <QPalette>

#include <array>
#include <utility>

namespace {

constexpr TColor kSystemColorFlag = 0x80000000;

// The system colours a stored font may name, by their index.
QPalette::ColorRole SystemColorRole(TColor index) {
    static constexpr std::array<std::pair<TColor, QPalette::ColorRole>, 6> kRoles{{
        {5, QPalette::Base},             // window
        {8, QPalette::WindowText},       // window text
        {13, QPalette::Highlight},       // highlight
        {14, QPalette::HighlightedText}, // highlight text
        {15, QPalette::Button},          // button face
        {18, QPalette::ButtonText},      // button text
    }};
    for (const auto& [systemIndex, role] : kRoles) {
        if (systemIndex == index) {
            return role;
        }
    }
    return QPalette::WindowText;
}

} // namespace

QColor ColorToQColor(TColor color) {
    if (color & kSystemColorFlag) {
        return QApplication::palette().color(SystemColorRole(color & 0xFF));
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TColor QColorToColor(const QColor& color) {
    return TColor(color.red()) | TColor(color.green()) << 8 | TColor(color.blue()) << 16;
}

QFont FontToQFont(const TFont& font) {
    QFont qfont(QString::fromUtf8(font.Name.data(), qsizetype(font.Name.size())));
    if (font.Size > 0) {
        qfont.setPointSize(font.Size);
    }
    qfont.setBold(font.Bold);
    qfont.setItalic(font.Italic);
    qfont.setUnderline(font.Underline);
    qfont.setStrikeOut(font.StrikeOut);
    return qfont;
}

void RegisterFontSubstitutes() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}
