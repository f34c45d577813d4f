// Byte strings: document lines are CP932 bytes, everything else is UTF-8.
#pragma once

#include <string>

using AnsiString = std::string;

// Upper- and lower-casing that touches only the ASCII letters, so no UTF-8 or
// double-byte sequence can be altered or split.
AnsiString AnsiUpperCase(const AnsiString& text);
AnsiString AnsiLowerCase(const AnsiString& text);
