#include "platform/FindFirst.h"

#include "platform/FileNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool SameEntry(int dirFd, const char* name, const struct stat& target) {
    struct stat st {};
    return fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_dev == target.st_dev &&
           st.st_ino == target.st_ino;
}

// The entry of the directory that is the target: the preferred name when it is
// one of its names, else the first. With quick, the inode the directory lists
// must match too (it does not for a mount point).
std::optional<AnsiString> MatchingEntry(const AnsiString& dirPath, const struct stat& target,
                                        const AnsiString& preferred, bool quick) {
    std::unique_ptr<DIR, DirCloser> dir(opendir(dirPath.c_str()));
    if (!dir) {
        return std::nullopt;
    }
    std::optional<AnsiString> first;
    while (const dirent* entry = readdir(dir.get())) {
        if ((!quick || entry->d_ino == target.st_ino) &&
            SameEntry(dirfd(dir.get()), entry->d_name, target)) {
            if (entry->d_name == preferred) {
                return preferred;
            }
            if (!first) {
                first = entry->d_name;
            }
        }
    }
    return first;
}

} // namespace

std::optional<AnsiString> FindFirstName(const AnsiString& path) {
    const AnsiString name = ExtractFileName(path);
    struct stat target {};
    if (name.empty() || path.find('\0') != AnsiString::npos || lstat(path.c_str(), &target) != 0) {
        return std::nullopt;
    }
    const AnsiString dir = ExtractFileDir(path);
    const AnsiString dirPath = dir.empty() ? AnsiString(".") : dir;
    if (auto found = MatchingEntry(dirPath, target, name, true)) {
        return found;
    }
    return MatchingEntry(dirPath, target, name, false);
}
