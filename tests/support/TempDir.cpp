#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace zuvtest {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zuvtest-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        throw std::runtime_error("mkdtemp failed");
    path = buffer.data();
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
}

ScopedConfigHome::ScopedConfigHome() {
    if (const char* old = std::getenv("XDG_CONFIG_HOME"))
        previous = old;
    setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
}

ScopedConfigHome::~ScopedConfigHome() {
    if (previous)
        setenv("XDG_CONFIG_HOME", previous->c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace zuvtest
