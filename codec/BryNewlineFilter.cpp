#include "codec/BryNewlineFilter.h"

#include "platform/FileNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t BlockSize = std::size_t{1} << 20;
constexpr std::size_t MinRead = std::size_t{64} << 10;
constexpr int MaxSymlinkHops = 40;
const char* const NotOpened = "File isn't opened";

AnsiString ErrorText(int code) {
    return std::strerror(code);
}

std::size_t CountOf(const char* data, std::size_t length, char byte) {
    std::size_t count = 0;
    const char* const end = data + length;
    for (const char* p = data;
         (p = static_cast<const char*>(std::memchr(p, byte, static_cast<std::size_t>(end - p))));
         ++p)
        ++count;
    return count;
}

mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// The file a write to path changes: symlinks are followed, even a dangling last one.
AnsiString ResolveSymlinks(AnsiString path) {
    for (int hop = 0; hop < MaxSymlinkHops; ++hop) {
        std::error_code notALink;
        const std::filesystem::path link = std::filesystem::read_symlink(path, notALink);
        if (notALink)
            return path;
        const AnsiString dir = ExtractFileDir(path);
        if (link.is_absolute() || dir.empty())
            path = link.string();
        else
            path = (std::filesystem::path(dir) / link).string();
    }
    return path;
}

AnsiString TempPattern(const AnsiString& target) {
    const AnsiString dir = ExtractFileDir(target);
    const AnsiString prefix = dir.empty() ? AnsiString() : dir == "/" ? dir : dir + "/";
    return prefix + "." + ExtractFileName(target) + ".zuv-XXXXXX";
}

// Gives the new file the original's owner, group and permission bits; false when the
// owner or group cannot be kept.
bool CopyIdentity(int fd, const struct stat* original) {
    if (!original)
        return fchmod(fd, 0666 & ~CurrentUmask()) == 0;
    struct stat created {};
    if (fstat(fd, &created) != 0)
        return false;
    if ((created.st_uid != original->st_uid || created.st_gid != original->st_gid) &&
        fchown(fd, original->st_uid, original->st_gid) != 0)
        return false;
    return fchmod(fd, original->st_mode & 07777) == 0;
}

void SyncDirectoryOf(const AnsiString& path) {
    const AnsiString dir = ExtractFileDir(path);
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd); // durability of the rename only; the new content is already synced
    ::close(fd);
}

} // namespace

BryNewlineFilter::BryNewlineFilter()
    : buffer(std::make_unique_for_overwrite<char[]>(BlockSize)), bufferSize(BlockSize) {}

BryNewlineFilter::~BryNewlineFilter() {
    CloseQuietly();
}

AnsiString BryNewlineFilter::TypeToName(NewlineType type) {
    switch (type) {
    case NewlineType::CR_LF:
        return "CR LF";
    case NewlineType::LF:
        return "LF";
    case NewlineType::CR:
        return "CR";
    default:
        return "UNKNOWN";
    }
}

NewlineType BryNewlineFilter::NameToType(const AnsiString& name) {
    const AnsiString upper = AnsiUpperCase(name);
    if (upper == "CR LF")
        return NewlineType::CR_LF;
    if (upper == "LF")
        return NewlineType::LF;
    if (upper == "CR")
        return NewlineType::CR;
    return NewlineType::UNKNOWN;
}

bool BryNewlineFilter::SetNewlineType(NewlineType type) {
    if (static_cast<std::uint8_t>(type) > static_cast<std::uint8_t>(NewlineType::CR))
        return false;
    newlineType = type;
    return true;
}

std::unique_ptr<TStringList> BryNewlineFilter::ReadFile(const AnsiString& name) {
    OpenForRead(name);
    return ReadAll();
}

std::unique_ptr<TStringList> BryNewlineFilter::ReadFrom(int fd) {
    CloseQuietly();
    fileName.clear();
    ResetError();
    Attach(fd, Mode::Reading, false);
    return ReadAll();
}

void BryNewlineFilter::WriteFile(const AnsiString& name, const TStringList& lines,
                                 const LineTransform& transform) {
    OpenForWrite(name);
    WriteAll(lines, transform);
}

void BryNewlineFilter::WriteTo(int fd, const TStringList& lines, const LineTransform& transform) {
    CloseQuietly();
    fileName.clear();
    ResetError();
    Attach(fd, Mode::Stream, false);
    WriteAll(lines, transform);
}

std::unique_ptr<TStringList> BryNewlineFilter::ReadAll() {
    auto lines = std::make_unique<TStringList>();
    try {
        if (!IsEndOfFile())
            ReserveForFile(*lines);
        while (!IsEndOfFile())
            lines->Add(ReadLine());
        Close();
    } catch (...) {
        Abandon();
        throw;
    }
    return lines;
}

// The list grows once instead of doubling: the whole file is taken to hold lines as densely
// as the block read first. Only reserved, so a guess too high costs no memory.
void BryNewlineFilter::ReserveForFile(TStringList& lines) {
    struct stat st {};
    if (fstat(handle, &st) != 0 || !S_ISREG(st.st_mode) || dataLength == 0)
        return;
    std::size_t ends = CountOf(buffer.get(), dataLength, '\n');
    if (ends == 0)
        ends = CountOf(buffer.get(), dataLength, '\r');
    const double perByte = static_cast<double>(ends + 1) / static_cast<double>(dataLength);
    const double expected = perByte * static_cast<double>(st.st_size) * 1.1 + 16;
    lines.Reserve(
        static_cast<int>(std::min(expected, static_cast<double>(std::numeric_limits<int>::max()))));
}

void BryNewlineFilter::WriteAll(const TStringList& lines, const LineTransform& transform) {
    try {
        for (const AnsiString& line : lines) {
            if (transform)
                transform(line, output);
            else
                output.append(line);
            EndLine();
        }
        Close();
    } catch (...) {
        // whatever stopped the write, a partial replacement must never be put in place
        Abandon();
        throw;
    }
}

void BryNewlineFilter::OpenForRead(const AnsiString& name) {
    CloseQuietly();
    fileName = name;
    ResetError();
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail(errno);
    Attach(fd, Mode::Reading, true);
}

void BryNewlineFilter::OpenForWrite(const AnsiString& name) {
    CloseQuietly();
    fileName = name;
    ResetError();
    const AnsiString target = ResolveSymlinks(name);
    if (!OpenReplacement(target))
        OpenInPlace(target);
    targetName = target;
}

// A rename keeps what the file is only for a regular file with one link that we may write
// and whose owner and group the new file can take over.
bool BryNewlineFilter::OpenReplacement(const AnsiString& target) {
    struct stat original {};
    const bool exists = ::stat(target.c_str(), &original) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists && (!S_ISREG(original.st_mode) || original.st_nlink > 1 ||
                   faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0))
        return false;
    AnsiString temp = TempPattern(target);
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    if (!CopyIdentity(fd, exists ? &original : nullptr)) {
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    Attach(fd, Mode::Replacing, true);
    tempName = std::move(temp);
    return true;
}

void BryNewlineFilter::OpenInPlace(const AnsiString& target) {
    const int fd = ::open(target.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        Fail(errno);
    Attach(fd, Mode::InPlace, true);
}

void BryNewlineFilter::Attach(int fd, Mode newMode, bool owned) {
    handle = fd;
    ownsHandle = owned;
    mode = newMode;
    dataStart = dataLength = scanned = 0;
    nextLfKnown = false;
    endOfFile = false;
    output.clear();
    written = 0;
    writeFailed = false;
}

void BryNewlineFilter::Close() {
    endOfFile = false;
    dataStart = dataLength = scanned = 0;
    nextLfKnown = false;
    fileName.clear();
    ResetError();
    if (mode == Mode::Closed)
        return;
    const bool commit = IsWriting() && !writeFailed;
    int failure = commit ? FinishWrite() : 0;
    const int closeFailure = CloseHandle();
    if (failure == 0)
        failure = closeFailure;
    if (commit && failure == 0)
        failure = Commit();
    if (!tempName.empty())
        ::unlink(tempName.c_str()); // left only when the replacement was not committed
    mode = Mode::Closed;
    tempName.clear();
    targetName.clear();
    output.clear();
    output.shrink_to_fit();
    writeFailed = false;
    if (failure != 0)
        Fail(failure);
}

void BryNewlineFilter::CloseQuietly() {
    try {
        Close();
    } catch (const BryNewlineFilterIOException&) {
        // a close that fails while another file is opened, or at destruction, is dropped
    }
}

// Closes after a failure without replacing anything, keeping that failure's code and text.
void BryNewlineFilter::Abandon() {
    const int code = errorCode;
    AnsiString message = errorMessage;
    writeFailed = true;
    CloseQuietly();
    errorCode = code;
    errorMessage = std::move(message);
}

int BryNewlineFilter::FinishWrite() {
    if (const int failure = WriteOut())
        return failure;
    if (mode == Mode::InPlace) {
        struct stat st {};
        if (fstat(handle, &st) == 0 && S_ISREG(st.st_mode) &&
            ftruncate(handle, static_cast<off_t>(output.size())) != 0)
            return errno;
    }
    if (mode != Mode::Stream && fsync(handle) != 0 && errno != EINVAL)
        return errno;
    return 0;
}

int BryNewlineFilter::CloseHandle() {
    const int fd = handle;
    handle = -1;
    if (ownsHandle && ::close(fd) != 0)
        return errno;
    return 0;
}

int BryNewlineFilter::Commit() {
    if (tempName.empty())
        return 0;
    if (::rename(tempName.c_str(), targetName.c_str()) != 0)
        return errno;
    tempName.clear();
    SyncDirectoryOf(targetName);
    return 0;
}

bool BryNewlineFilter::IsWriting() const {
    return mode == Mode::Replacing || mode == Mode::InPlace || mode == Mode::Stream;
}

void BryNewlineFilter::Require(Mode wanted) {
    if (mode == Mode::Closed)
        Fail(0, NotOpened);
    const bool writing = wanted != Mode::Reading;
    if (writing != IsWriting())
        Fail(EBADF);
}

void BryNewlineFilter::ResetError() {
    errorCode = 0;
    errorMessage.clear();
}

void BryNewlineFilter::Fail(int code, AnsiString message) {
    errorCode = code;
    errorMessage = message;
    throw BryNewlineFilterIOException(code, std::move(message));
}

void BryNewlineFilter::Fail(int code) {
    Fail(code, ErrorText(code));
}

bool BryNewlineFilter::IsEndOfFile() {
    Require(Mode::Reading);
    if (dataStart == dataLength && !endOfFile)
        FillBuffer();
    return endOfFile && dataStart == dataLength;
}

AnsiString BryNewlineFilter::ReadLine() {
    Require(Mode::Reading);
    for (;;) {
        const std::size_t end = FindLineEnd();
        if (end == dataLength && endOfFile)
            return ExtractLine(end, 0);
        const bool crMayPair = end + 1 == dataLength && buffer[end] == '\r' && !endOfFile;
        if (end == dataLength || crMayPair) {
            scanned = end - dataStart;
            FillBuffer();
            continue;
        }
        if (buffer[end] == '\n') {
            newlineType = NewlineType::LF;
            return ExtractLine(end, 1);
        }
        const bool pair = end + 1 < dataLength && buffer[end + 1] == '\n';
        newlineType = pair ? NewlineType::CR_LF : NewlineType::CR;
        return ExtractLine(end, pair ? 2 : 1);
    }
}

// Position of the first CR or LF after the scanned bytes, or dataLength.
std::size_t BryNewlineFilter::FindLineEnd() {
    const std::size_t from = dataStart + scanned;
    const char* const base = buffer.get();
    if (!nextLfKnown || nextLf < from) {
        const void* lf = std::memchr(base + from, '\n', dataLength - from);
        nextLf = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : dataLength;
        nextLfKnown = true;
    }
    const void* cr = std::memchr(base + from, '\r', nextLf - from);
    return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - base) : nextLf;
}

AnsiString BryNewlineFilter::ExtractLine(std::size_t end, std::size_t skip) {
    AnsiString line(buffer.get() + dataStart, end - dataStart);
    dataStart = end + skip;
    scanned = 0;
    return line;
}

void BryNewlineFilter::FillBuffer() {
    if (endOfFile)
        return;
    MakeRoom();
    ResetError();
    ssize_t got;
    do {
        got = ::read(handle, buffer.get() + dataLength, bufferSize - dataLength);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        Fail(errno);
    if (got == 0)
        endOfFile = true;
    dataLength += static_cast<std::size_t>(got);
    nextLfKnown = false;
}

// Moves the unfinished line to the front, or grows the buffer for a long line, only
// when the free tail is too short for an efficient read.
void BryNewlineFilter::MakeRoom() {
    if (bufferSize - dataLength >= MinRead)
        return;
    const std::size_t held = dataLength - dataStart;
    if (dataStart > 0) {
        std::memmove(buffer.get(), buffer.get() + dataStart, held);
        dataStart = 0;
        dataLength = held;
    }
    if (bufferSize - dataLength < MinRead) {
        auto larger = std::make_unique_for_overwrite<char[]>(2 * bufferSize);
        std::memcpy(larger.get(), buffer.get(), dataLength);
        buffer = std::move(larger);
        bufferSize *= 2;
    }
}

void BryNewlineFilter::WriteLine(const AnsiString& line) {
    Require(Mode::Stream);
    ResetError();
    output.append(line);
    EndLine();
}

void BryNewlineFilter::EndLine() {
    switch (newlineType) {
    case NewlineType::LF:
        output.push_back('\n');
        break;
    case NewlineType::CR:
        output.push_back('\r');
        break;
    default:
        output.append("\r\n");
        break;
    }
    if (mode != Mode::InPlace && output.size() >= BlockSize)
        FlushOutput();
}

void BryNewlineFilter::FlushOutput() {
    if (const int failure = WriteOut()) {
        writeFailed = true;
        Fail(failure);
    }
    if (mode == Mode::Replacing)
        StartWriteback(written, output.size());
    written += static_cast<off_t>(output.size());
    output.clear();
}

// Starts putting a written block on disk while the rest is converted, so that the fsync
// before the rename has less left to wait for. Only a hint: fsync reports any failure.
void BryNewlineFilter::StartWriteback(off_t offset, std::size_t length) {
    sync_file_range(handle, offset, static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE);
}

// Writes all gathered output; a short write is retried so that its cause is reported.
int BryNewlineFilter::WriteOut() {
    std::size_t done = 0;
    while (done < output.size()) {
        const ssize_t put = ::write(handle, output.data() + done, output.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return errno;
        if (put == 0)
            return EIO;
        done += static_cast<std::size_t>(put);
    }
    return 0;
}
