// Where the build put the programs, and where the sources are.
#pragma once

#include <string>

namespace zuvtest {

inline std::string BinDir() {
    return ZUV_TEST_BIN_DIR;
}
inline std::string SourceDir() {
    return ZUV_TEST_SOURCE_DIR;
}

} // namespace zuvtest
