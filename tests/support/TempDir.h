// Scratch folders and a private registry hive for tests.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace zuvtest {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    // Path of a file in the folder, as a byte string.
    std::string File(const std::string& name) const { return (path / name).string(); }

private:
    std::filesystem::path path;
};

// Points XDG_CONFIG_HOME at a fresh temporary folder for its lifetime, so a
// test never reads or writes the user's own hive.
class ScopedConfigHome {
public:
    ScopedConfigHome();
    ~ScopedConfigHome();
    ScopedConfigHome(const ScopedConfigHome&) = delete;
    ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;

    const std::filesystem::path& Path() const { return dir.Path(); }

private:
    TempDir dir;
    std::optional<std::string> previous;
};

// Whole-file helpers for fixtures.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

} // namespace zuvtest
