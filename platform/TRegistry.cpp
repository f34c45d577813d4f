#include "platform/TRegistry.h"

#include "platform/FileNames.h"
#include "platform/RegistryHive.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

[[noreturn]] void FailWith(const std::string& what, int error) {
    throw ERegistryException(what + ": " + std::strerror(error));
}

std::string ConfigHome() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/')
        return configHome;
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.config";
    const passwd* user = getpwuid(getuid());
    return user ? std::string(user->pw_dir) + "/.config" : std::string();
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() {
        if (fd >= 0)
            close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd; }
    // Closes now, so that a failing close is seen.
    int Close() { return close(std::exchange(fd, -1)); }

private:
    int fd;
};

// The file's bytes, or nothing when it does not exist.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        FailWith("cannot open " + path, errno);
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t count = read(file.Get(), buffer, sizeof buffer);
        if (count == 0)
            return text;
        if (count < 0 && errno != EINTR)
            FailWith("cannot read " + path, errno);
        if (count > 0)
            text.append(buffer, static_cast<std::size_t>(count));
    }
}

void WriteAll(int fd, std::string_view text, const std::string& path) {
    while (!text.empty()) {
        const ssize_t count = write(fd, text.data(), text.size());
        if (count < 0 && errno != EINTR)
            FailWith("cannot write " + path, errno);
        if (count > 0)
            text.remove_prefix(static_cast<std::size_t>(count));
    }
}

void SyncFolder(const std::string& folder) {
    FileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() < 0 || fsync(dir.Get()) != 0)
        FailWith("cannot sync " + folder, errno);
}

// Replaces the hive in one rename, so a crash leaves the old or the new one.
void WriteHive(const std::string& hivePath, const RegistryKey& root) {
    const std::string temporary = hivePath + ".tmp";
    try {
        FileDescriptor file(
            open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        if (file.Get() < 0)
            FailWith("cannot create " + temporary, errno);
        WriteAll(file.Get(), SerializeHive(root), temporary);
        if (fsync(file.Get()) != 0 || file.Close() != 0)
            FailWith("cannot write " + temporary, errno);
        if (rename(temporary.c_str(), hivePath.c_str()) != 0)
            FailWith("cannot replace " + hivePath, errno);
    } catch (const ERegistryException&) {
        unlink(temporary.c_str());
        throw;
    }
    SyncFolder(ExtractFileDir(hivePath));
}

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

// Whether anything, a dangling link included, bears the name; a failing look throws, since
// a rename to a name wrongly taken as free would replace what bears it.
bool NameTaken(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0)
        return true;
    if (errno != ENOENT)
        FailWith("cannot look at " + path, errno);
    return false;
}

// Renames an unreadable hive to a name not taken yet, so it is never overwritten.
void MoveAside(const std::string& hivePath) {
    const std::string base = hivePath + ".corrupt-" + TimeStamp();
    std::string target = base;
    for (int number = 2; NameTaken(target); ++number)
        target = base + "-" + std::to_string(number);
    if (rename(hivePath.c_str(), target.c_str()) != 0)
        FailWith("cannot move the unreadable hive " + hivePath + " aside", errno);
}

// The exclusive lock on the lock file beside the hive, held for one change.
class HiveLock {
public:
    explicit HiveLock(const std::string& hivePath)
        : file(open((hivePath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (file.Get() < 0)
            FailWith("cannot open the lock of " + hivePath, errno);
        while (flock(file.Get(), LOCK_EX) != 0) {
            if (errno != EINTR)
                FailWith("cannot lock " + hivePath, errno);
        }
    }

private:
    FileDescriptor file; // closing it releases the lock
};

// The hive the file holds, empty when there is no file; nothing when it cannot be parsed.
std::optional<RegistryKey> ParseHiveFile(const std::string& hivePath) {
    const std::optional<std::string> text = ReadWholeFile(hivePath);
    if (!text)
        return RegistryKey();
    try {
        return ParseHive(*text);
    } catch (const EHiveSyntaxError&) {
        return std::nullopt;
    }
}

// The hive as the file holds it; an unparsable one is moved aside and read as empty.
// Call with the lock held.
RegistryKey LoadLocked(const std::string& hivePath) {
    if (std::optional<RegistryKey> root = ParseHiveFile(hivePath))
        return std::move(*root);
    MoveAside(hivePath);
    return {};
}

// Moves an unparsable hive aside unless a change replaced it meanwhile.
RegistryKey RecoverUnparsable(const std::string& hivePath) {
    try {
        HiveLock lock(hivePath);
        return LoadLocked(hivePath);
    } catch (const ERegistryException&) {
        return {}; // cannot be moved aside now; the next change tries again
    }
}

// The hive for reading, without the lock: the hive is only ever replaced whole.
RegistryKey ReadHive(const std::string& hivePath) {
    if (std::optional<RegistryKey> root = ParseHiveFile(hivePath))
        return std::move(*root);
    return RecoverUnparsable(hivePath);
}

// Applies a change to the hive as it is now, under the lock; the change returns whether it
// changed anything, and only then is the hive written.
template <typename Change> void ChangeHive(const std::string& hivePath, Change change) {
    const std::string folder = ExtractFileDir(hivePath);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        FailWith("cannot create " + folder, error.value());
    HiveLock lock(hivePath);
    RegistryKey root = LoadLocked(hivePath);
    if (change(root))
        WriteHive(hivePath, root);
}

template <typename Key> Key* FindKey(Key& root, const std::vector<AnsiString>& path) {
    Key* key = &root;
    for (auto component = path.begin(); key && component != path.end(); ++component)
        key = key->FindSubkey(*component);
    return key;
}

} // namespace

TRegistry::TRegistry() {
    const std::string configHome = ConfigHome();
    if (!configHome.empty())
        hivePath = configHome + "/zuvedit/user.reg";
}

bool TRegistry::ResolvePath(const AnsiString& key, KeyPath& path) const {
    std::string_view rest = key;
    const bool fromRoot = rest.starts_with('\\');
    if (fromRoot)
        rest.remove_prefix(1);
    path = (keyOpen && !fromRoot) ? openPath : KeyPath();
    if (rest.empty())
        return false;
    for (;;) {
        const std::string_view component = rest.substr(0, rest.find('\\'));
        if (!IsValidKeyName(component) || path.size() == kMaxKeyDepth)
            return false;
        path.emplace_back(component);
        if (component.size() == rest.size())
            return true;
        rest.remove_prefix(component.size() + 1);
    }
}

bool TRegistry::OpenKey(const AnsiString& key, bool canCreate) {
    KeyPath path;
    if (hivePath.empty() || !ResolvePath(key, path))
        return false;
    try {
        const RegistryKey root = ReadHive(hivePath);
        if (!FindKey(root, path)) {
            if (!canCreate)
                return false;
            ChangeHive(hivePath, [&](RegistryKey& current) {
                if (FindKey(current, path))
                    return false;
                RegistryKey* created = &current;
                for (const AnsiString& component : path)
                    created = &created->ObtainSubkey(component);
                return true;
            });
        }
    } catch (const ERegistryException&) {
        return false;
    }
    keyOpen = true;
    openPath = std::move(path);
    return true;
}

void TRegistry::CloseKey() {
    keyOpen = false;
    openPath.clear();
}

bool TRegistry::DeleteKey(const AnsiString& key) {
    KeyPath path;
    if (hivePath.empty() || !ResolvePath(key, path))
        return false;
    const KeyPath parentPath(path.begin(), path.end() - 1);
    try {
        const RegistryKey before = ReadHive(hivePath);
        if (!FindKey(before, path))
            return false;
        bool removed = false;
        ChangeHive(hivePath, [&](RegistryKey& root) {
            RegistryKey* parent = FindKey(root, parentPath);
            removed = parent && parent->RemoveSubkey(path.back());
            return removed;
        });
        return removed;
    } catch (const std::exception&) {
        return false;
    }
}

int TRegistry::ReadInteger(const AnsiString& name) const {
    if (!keyOpen || hivePath.empty())
        throw ERegistryException("Failed to get data for '" + name + "'");
    const RegistryKey root = ReadHive(hivePath);
    const RegistryKey* key = FindKey(root, openPath);
    const RegistryValue* value = key ? key->FindValue(name) : nullptr;
    if (!value)
        throw ERegistryException("Failed to get data for '" + name + "'");
    if (value->type != REG_DWORD || value->data.size() != 4)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return static_cast<int>(DwordValue(value->data));
}

AnsiString TRegistry::ReadString(const AnsiString& name) const {
    if (!keyOpen || hivePath.empty())
        return "";
    const RegistryKey root = ReadHive(hivePath);
    const RegistryKey* key = FindKey(root, openPath);
    const RegistryValue* value = key ? key->FindValue(name) : nullptr;
    if (!value)
        return "";
    if (value->type != REG_SZ && value->type != REG_EXPAND_SZ)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return value->data.substr(0, value->data.find('\0'));
}

void TRegistry::WriteInteger(const AnsiString& name, int value) {
    WriteValue(name, REG_DWORD, DwordData(static_cast<std::uint32_t>(value)));
}

void TRegistry::WriteString(const AnsiString& name, const AnsiString& value) {
    WriteValue(name, REG_SZ, value);
}

void TRegistry::WriteValue(const AnsiString& name, unsigned type, std::string data) {
    const std::string failure = "Failed to set data for '" + name + "'";
    if (!keyOpen || hivePath.empty())
        throw ERegistryException(failure + ": no key is open");
    try {
        ChangeHive(hivePath, [&](RegistryKey& root) {
            RegistryKey* key = FindKey(root, openPath);
            if (!key)
                throw ERegistryException("the key has been deleted");
            key->SetValue(name, type, std::move(data));
            return true;
        });
    } catch (const ERegistryException& error) {
        throw ERegistryException(failure + ": " + error.Message());
    }
}
