// Byte strings written as hexadecimal pairs in test tables: "82 A0" is the bytes 0x82 0xA0.
#pragma once

#include <string>

namespace zuvtest {

inline std::string Hex(const std::string& pairs) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < pairs.size(); ++i) {
        if (pairs[i] == ' ')
            continue;
        bytes.push_back(static_cast<char>(std::stoi(pairs.substr(i, 2), nullptr, 16)));
        ++i;
    }
    return bytes;
}

} // namespace zuvtest
