// A font as the forms and the registry see it; Color is the platform's colour
// value: 0x00BBGGRR, or 0x80000000 plus a system colour index.
#pragma once

#include "platform/AnsiString.h"

#include <QColor>
#include <QFont>

#include <cstdint>

using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clWindowText = 0x80000008;

struct TFont {
    AnsiString Name;
    int Size = 9; // points
    TColor Color = clBlack;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    bool operator==(const TFont&) const = default;
};

QColor ColorToQColor(TColor color);
TColor QColorToColor(const QColor& color);
// Face, size and style; the colour is not part of a QFont.
QFont FontToQFont(const TFont& font);

// Makes "ＭＳ ゴシック" and "ＭＳ Ｐゴシック" resolve to the installed IPA faces.
void RegisterFontSubstitutes();
