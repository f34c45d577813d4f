// Lossless conversion between CP932 lines and the edit control's UTF-8.
//
// Every byte string decodes: a byte that starts no valid character (and CR or
// LF, which cannot stand inside a line of the control) becomes U+F700 + byte.
// Encoding writes Microsoft's preferred code of each character and the byte of
// each U+F700 + byte that decoding produces; anything else CP932 cannot hold
// becomes "?". The tables come from glibc's iconv "CP932", built once.
#pragma once

#include "platform/AnsiString.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace cp932 {

inline constexpr char32_t kRawByteBase = 0xF700;

// Room DecodeInto needs for a CP932 text of that many bytes.
constexpr std::size_t MaxDecodedSize(std::size_t bytes) {
    return 3 * bytes + 1;
}

// Writes the UTF-8 text of a CP932 line at out and returns its end. canonical
// becomes false when encoding the text would not give the same bytes back
// (the line uses a duplicate code).
char* DecodeInto(std::string_view cp932, char* out, bool& canonical);
std::string Decode(std::string_view cp932);

// The CP932 bytes of a UTF-8 text.
AnsiString Encode(std::string_view utf8);

// The text as it will be saved: look-alikes become their CP932 form, anything
// CP932 cannot hold (U+F700 - U+F7FF included) becomes "?", CR LF and CR
// become LF. Returns false, leaving out untouched, when nothing changes.
bool NormalizeInsertion(std::string_view utf8, std::string& out);

// The UTF-8 form of U+F700 + byte, shown by the control as a blob.
std::string RawByteCharacter(unsigned char byte);

} // namespace cp932
