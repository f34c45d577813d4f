#include "platform/AnsiString.h"

#include <algorithm>

namespace {
char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

AnsiString AnsiUpperCase(const AnsiString& text) {
    AnsiString result(text);
    std::transform(result.begin(), result.end(), result.begin(), AsciiUpper);
    return result;
}

AnsiString AnsiLowerCase(const AnsiString& text) {
    AnsiString result(text);
    std::transform(result.begin(), result.end(), result.begin(), AsciiLower);
    return result;
}
