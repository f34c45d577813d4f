// One line through a fresh kanji filter, as a test table needs it.
#pragma once

#include "codec/BryKanjiFilter.h"

#include <string>

namespace zuvtest {

inline std::string Convert(KanjiCode from, KanjiCode to, const std::string& line) {
    BryKanjiFilter filter;
    filter.SetSourceCode(from);
    filter.SetTargetCode(to);
    return filter.ConvertLine(line);
}

} // namespace zuvtest
