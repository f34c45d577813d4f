// A two-line document in each kanji code, and the line ends by type.
#pragma once

#include "codec/BryKanjiFilter.h"
#include "codec/BryNewlineFilter.h"

#include <string>

namespace zuvtest {

inline constexpr char kAsciiLine[] = "plain ASCII";
// 日本語のテキスト
inline constexpr char kSjisLine[] =
    "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67";
inline constexpr char kEucLine[] =
    "\xc6\xfc\xcb\xdc\xb8\xec\xa4\xce\xa5\xc6\xa5\xad\xa5\xb9\xa5\xc8";
// JIS lines end in ESC ( J when written.
inline constexpr char kJisLine[] = "\x1b$BF|K\\8l$N%F%-%9%H\x1b(J";

inline std::string JapaneseLine(KanjiCode code) {
    switch (code) {
    case KanjiCode::JIS:
        return kJisLine;
    case KanjiCode::EUC:
        return kEucLine;
    default:
        return kSjisLine;
    }
}

inline std::string LineEnd(NewlineType type) {
    switch (type) {
    case NewlineType::LF:
        return "\n";
    case NewlineType::CR:
        return "\r";
    default:
        return "\r\n";
    }
}

// The file bytes of the ASCII line followed by the Japanese line.
inline std::string DocumentBytes(KanjiCode code, NewlineType type) {
    return kAsciiLine + LineEnd(type) + JapaneseLine(code) + LineEnd(type);
}

} // namespace zuvtest
