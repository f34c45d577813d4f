// zuvconv's command line.
#pragma once

#include "codec/BryKanjiFilter.h"
#include "codec/BryNewlineFilter.h"

#include <optional>
#include <string>
#include <vector>

struct ConvertOptions {
    KanjiCode from = KanjiCode::UNKNOWN; // UNKNOWN detects
    KanjiCode to = KanjiCode::SJIS;
    std::optional<NewlineType> newline; // empty keeps the type read
    std::string output = "-";
    std::string input = "-";
};

struct Command {
    enum class Kind { Convert, Guess, Help } kind = Kind::Convert;
    ConvertOptions convert;
    std::vector<std::string> guessInputs;
};

struct UsageError {
    std::string reason;
};

extern const char* const Usage;

// Throws UsageError.
Command ParseCommandLine(const std::vector<std::string>& args);
