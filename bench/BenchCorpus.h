// Generated Japanese text for the micro-benchmarks, held in memory.
#pragma once

#include "platform/TStringList.h"

#include <cstddef>

// Shift_JIS lines of man-page-like text (roff requests, kanji, kana, half-width katakana,
// ASCII), about totalBytes long counting two bytes of line end per line. The same size
// always gives the same lines.
TStringList MakeSjisCorpus(std::size_t totalBytes);

// Bytes of all lines, line ends not counted.
std::size_t ByteCount(const TStringList& lines);
