#include "codec/BryNewlineFilter.h"
#include "tests/codec/Hex.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using zuvtest::Hex;
using zuvtest::ReadBytes;
using zuvtest::TempDir;
using zuvtest::WriteBytes;

namespace {

constexpr std::size_t Block = std::size_t{1} << 20;
constexpr uid_t Nobody = 65534;

std::vector<std::string> Lines(const TStringList& list) {
    return {list.begin(), list.end()};
}

TStringList ListOf(const std::vector<std::string>& lines) {
    TStringList list;
    for (const std::string& line : lines)
        list.Add(line);
    return list;
}

struct stat StatOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

std::size_t EntriesIn(const std::filesystem::path& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

// Runs body in a forked child, as the unprivileged user when asked and we are root, and
// returns its exit status. Gtest expectations in the child do not count: body returns 0
// for success and a distinct number for each failed check.
int InChild(const std::function<int()>& body, bool unprivileged) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (unprivileged && geteuid() == 0 && (setgid(Nobody) != 0 || setuid(Nobody) != 0))
            _exit(100);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 200 + WTERMSIG(status);
}

// A folder the unprivileged user may work in.
void OpenToAll(const TempDir& dir) {
    chmod(dir.Path().c_str(), 0777);
}

TEST(NewlineTypeNames, TypeToNameAndBack) {
    EXPECT_EQ(BryNewlineFilter::TypeToName(NewlineType::CR_LF), "CR LF");
    EXPECT_EQ(BryNewlineFilter::TypeToName(NewlineType::LF), "LF");
    EXPECT_EQ(BryNewlineFilter::TypeToName(NewlineType::CR), "CR");
    EXPECT_EQ(BryNewlineFilter::TypeToName(NewlineType::UNKNOWN), "UNKNOWN");
    EXPECT_EQ(BryNewlineFilter::TypeToName(static_cast<NewlineType>(4)), "UNKNOWN");
    EXPECT_EQ(BryNewlineFilter::NameToType("cr lf"), NewlineType::CR_LF);
    EXPECT_EQ(BryNewlineFilter::NameToType("Lf"), NewlineType::LF);
    EXPECT_EQ(BryNewlineFilter::NameToType("CR"), NewlineType::CR);
    for (const char* other : {"CRLF", "UNKNOWN", "", " LF"})
        EXPECT_EQ(BryNewlineFilter::NameToType(other), NewlineType::UNKNOWN) << other;
}

TEST(NewlineType, SetRefusesValuesAboveCr) {
    BryNewlineFilter filter;
    EXPECT_TRUE(filter.SetNewlineType(NewlineType::LF));
    EXPECT_FALSE(filter.SetNewlineType(static_cast<NewlineType>(4)));
    EXPECT_EQ(filter.GetNewlineType(), NewlineType::LF);
    EXPECT_TRUE(filter.SetNewlineType(NewlineType::UNKNOWN));
    EXPECT_EQ(filter.GetNewlineType(), NewlineType::UNKNOWN);
}

TEST(IOException, CarriesCodeAndMessage) {
    BryNewlineFilterIOException empty;
    EXPECT_EQ(empty.GetErrorCode(), 0);
    EXPECT_EQ(empty.GetErrorMessage(), "");
    BryNewlineFilterIOException e(ENOENT, "gone");
    BryNewlineFilterIOException copy(e);
    copy = copy;
    EXPECT_EQ(copy.GetErrorCode(), ENOENT);
    EXPECT_EQ(copy.GetErrorMessage(), "gone");
    copy.SetErrorCode(5);
    copy.SetErrorMessage("x");
    empty = copy;
    EXPECT_EQ(empty.GetErrorCode(), 5);
    EXPECT_EQ(empty.GetErrorMessage(), "x");
}

struct ReadCase {
    std::string bytes;
    std::vector<std::string> lines;
    NewlineType type; // the filter starts at CR, so CR here may also mean "unchanged"
};

class Reading : public testing::TestWithParam<ReadCase> {};

TEST_P(Reading, SplitsLinesAndRecordsLastLineEnd) {
    TempDir dir;
    WriteBytes(dir.File("in.txt"), GetParam().bytes);
    BryNewlineFilter filter;
    filter.SetNewlineType(NewlineType::CR);
    const auto lines = filter.ReadFile(dir.File("in.txt"));
    EXPECT_EQ(Lines(*lines), GetParam().lines);
    EXPECT_EQ(filter.GetNewlineType(), GetParam().type);
}

std::string Repeat(char c, std::size_t n) {
    return std::string(n, c);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Reading,
    testing::Values(
        ReadCase{"", {}, NewlineType::CR}, ReadCase{"abc", {"abc"}, NewlineType::CR},
        ReadCase{"abc\r\n", {"abc"}, NewlineType::CR_LF},
        ReadCase{"a\nb\n", {"a", "b"}, NewlineType::LF},
        ReadCase{"a\nb\r\n", {"a", "b"}, NewlineType::CR_LF},
        ReadCase{"a\r\nb\n", {"a", "b"}, NewlineType::LF},
        ReadCase{"a\r\nb", {"a", "b"}, NewlineType::CR_LF},
        ReadCase{"a\rb", {"a", "b"}, NewlineType::CR}, ReadCase{"a\r", {"a"}, NewlineType::CR},
        ReadCase{"\r\n\r\n", {"", ""}, NewlineType::CR_LF},
        ReadCase{"a\n\rb", {"a", "", "b"}, NewlineType::CR}, ReadCase{"\n", {""}, NewlineType::LF},
        // NUL and 0x1A are data
        ReadCase{Hex("61 62 00 63 64 0A 65 66 0A"), {Hex("61 62 00 63 64"), "ef"}, NewlineType::LF},
        ReadCase{Hex("1A 0A 00"), {Hex("1A"), Hex("00")}, NewlineType::LF},
        // lines of any length are read whole
        ReadCase{Repeat('x', 25000), {Repeat('x', 25000)}, NewlineType::CR},
        ReadCase{Repeat('x', 9999) + "\r\nb", {Repeat('x', 9999), "b"}, NewlineType::CR_LF},
        ReadCase{Repeat('y', 3 * Block + 5) + "\nz\n",
                 {Repeat('y', 3 * Block + 5), "z"},
                 NewlineType::LF},
        // a CR LF pair split across the first read block
        ReadCase{
            Repeat('w', Block - 1) + "\r\nv", {Repeat('w', Block - 1), "v"}, NewlineType::CR_LF},
        ReadCase{Repeat('w', Block - 1) + "\rv", {Repeat('w', Block - 1), "v"}, NewlineType::CR}));

TEST(Reading, ManyShortLinesAcrossBlocks) {
    TempDir dir;
    std::string bytes;
    std::vector<std::string> expected;
    for (int i = 0; bytes.size() < 3 * Block; ++i) {
        expected.push_back(std::to_string(i));
        bytes += expected.back() + (i % 3 == 0 ? "\r" : i % 3 == 1 ? "\n" : "\r\n");
    }
    WriteBytes(dir.File("in.txt"), bytes);
    BryNewlineFilter filter;
    EXPECT_EQ(Lines(*filter.ReadFile(dir.File("in.txt"))), expected);
}

// The list is sized from the first block: files whose lines get much longer or much shorter
// after it still come back whole.
TEST(Reading, LineLengthChangingAfterTheFirstBlock) {
    std::vector<std::string> shortThenLong(Block, "s");
    shortThenLong.push_back(Repeat('l', 2 * Block));
    std::vector<std::string> longThenShort = {Repeat('l', 2 * Block)};
    longThenShort.insert(longThenShort.end(), Block, "s");
    for (const auto& expected : {shortThenLong, longThenShort}) {
        TempDir dir;
        std::string bytes;
        for (const std::string& line : expected)
            bytes += line + "\n";
        WriteBytes(dir.File("in.txt"), bytes);
        BryNewlineFilter filter;
        EXPECT_EQ(Lines(*filter.ReadFile(dir.File("in.txt"))), expected);
    }
}

TEST(Reading, CrAtTheEndOfOneReadPairsWithLfOfTheNext) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t writer = fork();
    if (writer == 0) {
        close(fds[0]);
        const bool ok = write(fds[1], "a\r", 2) == 2 && usleep(100000) == 0 &&
                        write(fds[1], "\nb\r", 3) == 3 && usleep(100000) == 0;
        _exit(ok ? 0 : 1);
    }
    close(fds[1]);
    BryNewlineFilter filter;
    const auto lines = filter.ReadFrom(fds[0]);
    close(fds[0]);
    int status = 0;
    waitpid(writer, &status, 0);
    EXPECT_EQ(Lines(*lines), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(filter.GetNewlineType(), NewlineType::CR);
}

TEST(Reading, LowLevelCallsAndEndOfFile) {
    TempDir dir;
    WriteBytes(dir.File("in.txt"), "a\nb\n");
    BryNewlineFilter filter;
    filter.OpenForRead(dir.File("in.txt"));
    EXPECT_FALSE(filter.IsEndOfFile());
    EXPECT_EQ(filter.ReadLine(), "a");
    EXPECT_EQ(filter.ReadLine(), "b");
    EXPECT_TRUE(filter.IsEndOfFile());
    EXPECT_EQ(filter.ReadLine(), "");
    filter.Close();
}

struct WriteCase {
    NewlineType type;
    std::string bytes;
};

class Writing : public testing::TestWithParam<WriteCase> {};

TEST_P(Writing, EndsEveryLineWithTheChosenEnd) {
    TempDir dir;
    BryNewlineFilter filter;
    ASSERT_TRUE(filter.SetNewlineType(GetParam().type));
    filter.WriteFile(dir.File("out.txt"), ListOf({"a", "b"}));
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Types, Writing,
                         testing::Values(WriteCase{NewlineType::CR_LF, "a\r\nb\r\n"},
                                         WriteCase{NewlineType::UNKNOWN, "a\r\nb\r\n"},
                                         WriteCase{NewlineType::LF, "a\nb\n"},
                                         WriteCase{NewlineType::CR, "a\rb\r"}));

TEST(Writing, EmptyListGivesEmptyFileCreatedOrTruncated) {
    TempDir dir;
    BryNewlineFilter filter;
    filter.WriteFile(dir.File("new.txt"), TStringList());
    EXPECT_EQ(ReadBytes(dir.File("new.txt")), "");
    WriteBytes(dir.File("old.txt"), "old\n");
    filter.WriteFile(dir.File("old.txt"), TStringList());
    EXPECT_EQ(ReadBytes(dir.File("old.txt")), "");
}

TEST(Writing, RoundTripKeepsLinesNulAndLongLines) {
    TempDir dir;
    const std::string original =
        "a\r\n" + Hex("00 82 A0 00") + "\r\n" + Repeat('q', 2 * Block + 3) + "\r\n\r\nend\r\n";
    WriteBytes(dir.File("in.txt"), original);
    BryNewlineFilter filter;
    const auto lines = filter.ReadFile(dir.File("in.txt"));
    filter.WriteFile(dir.File("out.txt"), *lines);
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), original);
    EXPECT_EQ(*filter.ReadFile(dir.File("out.txt")), *lines);
}

TEST(Writing, TransformAppendsEachLineBeforeItsEnd) {
    TempDir dir;
    TStringList lines;
    std::string expected;
    for (int i = 0; expected.size() < 2 * Block; ++i) {
        lines.Add(std::to_string(i));
        expected += "<" + std::to_string(i) + ">\r";
    }
    BryNewlineFilter filter;
    filter.SetNewlineType(NewlineType::CR);
    filter.WriteFile(dir.File("out.txt"), lines,
                     [](const std::string& line, std::string& out) { out += "<" + line + ">"; });
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), expected);
}

TEST(Writing, TargetChangesOnlyAtClose) {
    TempDir dir;
    WriteBytes(dir.File("t.txt"), "old\n");
    BryNewlineFilter filter;
    filter.SetNewlineType(NewlineType::LF);
    filter.OpenForWrite(dir.File("t.txt"));
    filter.WriteLine(Repeat('n', 2 * Block));
    EXPECT_EQ(ReadBytes(dir.File("t.txt")), "old\n");
    filter.Close();
    EXPECT_EQ(ReadBytes(dir.File("t.txt")), Repeat('n', 2 * Block) + "\n");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(Writing, KeepsPermissionBitsAndGivesNewFilesReadWrite) {
    TempDir dir;
    WriteBytes(dir.File("t.txt"), "old\n");
    chmod(dir.File("t.txt").c_str(), 0751);
    BryNewlineFilter filter;
    filter.WriteFile(dir.File("t.txt"), ListOf({"new"}));
    EXPECT_EQ(StatOf(dir.File("t.txt")).st_mode & 07777, 0751u);
    const mode_t mask = umask(022);
    filter.WriteFile(dir.File("fresh.txt"), ListOf({"new"}));
    umask(mask);
    EXPECT_EQ(StatOf(dir.File("fresh.txt")).st_mode & 07777, 0644u);
}

TEST(Writing, ThroughSymlinkReplacesTheTarget) {
    TempDir dir;
    WriteBytes(dir.File("real.txt"), "old\n");
    std::filesystem::create_symlink("real.txt", dir.File("link.txt"));
    std::filesystem::create_symlink(dir.File("missing.txt"), dir.File("dangling.txt"));
    BryNewlineFilter filter;
    filter.SetNewlineType(NewlineType::LF);
    filter.WriteFile(dir.File("link.txt"), ListOf({"new"}));
    filter.WriteFile(dir.File("dangling.txt"), ListOf({"made"}));
    EXPECT_TRUE(S_ISLNK(StatOf(dir.File("link.txt")).st_mode));
    EXPECT_EQ(ReadBytes(dir.File("real.txt")), "new\n");
    EXPECT_TRUE(S_ISLNK(StatOf(dir.File("dangling.txt")).st_mode));
    EXPECT_EQ(ReadBytes(dir.File("missing.txt")), "made\n");
}

TEST(Writing, HardLinkedFileIsWrittenInPlace) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), "old old old\n");
    std::filesystem::create_hard_link(dir.File("a.txt"), dir.File("b.txt"));
    const ino_t inode = StatOf(dir.File("a.txt")).st_ino;
    BryNewlineFilter filter;
    filter.SetNewlineType(NewlineType::LF);
    filter.WriteFile(dir.File("a.txt"), ListOf({"new"}));
    EXPECT_EQ(ReadBytes(dir.File("b.txt")), "new\n");
    EXPECT_EQ(StatOf(dir.File("a.txt")).st_ino, inode);
}

TEST(Writing, DeviceIsWrittenInPlace) {
    BryNewlineFilter filter;
    filter.WriteFile("/dev/null", ListOf({"x"}));
    EXPECT_TRUE(S_ISCHR(StatOf("/dev/null").st_mode));
}

TEST(Writing, KeepsOwnerWhenAllowed) {
    if (geteuid() != 0)
        GTEST_SKIP() << "changing a file's owner needs root";
    TempDir dir;
    WriteBytes(dir.File("t.txt"), "old\n");
    ASSERT_EQ(chown(dir.File("t.txt").c_str(), Nobody, Nobody), 0);
    BryNewlineFilter filter;
    filter.WriteFile(dir.File("t.txt"), ListOf({"new"}));
    EXPECT_EQ(StatOf(dir.File("t.txt")).st_uid, Nobody);
    EXPECT_EQ(StatOf(dir.File("t.txt")).st_gid, Nobody);
    EXPECT_EQ(ReadBytes(dir.File("t.txt")), "new\r\n");
}

// Someone else's writable file: a replacement could not keep its owner, so it is
// overwritten in place; a writable file in a read-only folder likewise.
TEST(Writing, InPlaceWhereNoReplacementCanKeepTheFile) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs a file owned by another user";
    TempDir dir;
    OpenToAll(dir);
    WriteBytes(dir.File("root.txt"), "old old\n");
    chmod(dir.File("root.txt").c_str(), 0666);
    std::filesystem::create_directory(dir.File("ro"));
    WriteBytes(dir.File("ro/t.txt"), "old old\n");
    chmod(dir.File("ro/t.txt").c_str(), 0666);
    chmod(dir.File("ro").c_str(), 0555);
    const ino_t inode = StatOf(dir.File("root.txt")).st_ino;
    const int status = InChild(
        [&] {
            BryNewlineFilter filter;
            filter.SetNewlineType(NewlineType::LF);
            filter.WriteFile(dir.File("root.txt"), ListOf({"new"}));
            filter.WriteFile(dir.File("ro/t.txt"), ListOf({"new"}));
            return 0;
        },
        true);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadBytes(dir.File("root.txt")), "new\n");
    EXPECT_EQ(StatOf(dir.File("root.txt")).st_uid, 0u);
    EXPECT_EQ(StatOf(dir.File("root.txt")).st_ino, inode);
    EXPECT_EQ(ReadBytes(dir.File("ro/t.txt")), "new\n");
    EXPECT_EQ(EntriesIn(dir.Path()), 2u);
}

// A failed write leaves the original as it was and no temporary file behind.
TEST(Writing, FailedWriteLeavesOriginalUntouched) {
    TempDir dir;
    const std::string original = "original\r\n";
    WriteBytes(dir.File("t.txt"), original);
    const int status = InChild(
        [&] {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{Block / 2, Block / 2};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 1;
            BryNewlineFilter filter;
            try {
                filter.WriteFile(dir.File("t.txt"), ListOf({Repeat('z', 3 * Block)}));
            } catch (const BryNewlineFilterIOException& e) {
                const bool reported = e.GetErrorCode() == EFBIG &&
                                      e.GetErrorMessage() == std::strerror(EFBIG) &&
                                      filter.GetErrorCode() == EFBIG;
                return reported ? 0 : 2;
            }
            return 3;
        },
        false);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadBytes(dir.File("t.txt")), original);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

// An exception of any kind from the caller's transform (a failed allocation, say) abandons
// the replacement: neither the filter's destruction nor its next use may put it in place.
TEST(Writing, TransformThatThrowsLeavesOriginalUntouched) {
    TempDir dir;
    WriteBytes(dir.File("t.txt"), "original\r\n");
    TStringList lines;
    for (int i = 0; i < 3 * static_cast<int>(Block) / 8; ++i)
        lines.Add("line");
    int seen = 0;
    const auto throwLate = [&](const std::string& line, std::string& out) {
        if (++seen == lines.Count())
            throw std::runtime_error("out of memory");
        out += line;
    };
    for (const bool reuse : {false, true}) {
        seen = 0;
        {
            BryNewlineFilter filter;
            EXPECT_THROW(filter.WriteFile(dir.File("t.txt"), lines, throwLate), std::runtime_error);
            if (reuse) {
                EXPECT_THROW(filter.ReadFile(dir.File("none.txt")), BryNewlineFilterIOException);
            }
        }
        EXPECT_EQ(ReadBytes(dir.File("t.txt")), "original\r\n") << reuse;
        EXPECT_EQ(EntriesIn(dir.Path()), 1u) << reuse;
    }
}

struct FailureCase {
    const char* name;
    std::function<void(const TempDir&, BryNewlineFilter&)> action;
    int code;
    bool unprivileged;
};

class Failures : public testing::TestWithParam<FailureCase> {};

// Each failure is thrown with its errno and text, and the filter keeps both.
TEST_P(Failures, ThrowCodeAndMessage) {
    const FailureCase& c = GetParam();
    TempDir dir;
    OpenToAll(dir);
    WriteBytes(dir.File("ro.txt"), "keep\n");
    chmod(dir.File("ro.txt").c_str(), 0444);
    WriteBytes(dir.File("secret.txt"), "keep\n");
    chmod(dir.File("secret.txt").c_str(), 0);
    std::filesystem::create_directory(dir.File("sub"));
    const std::string message = c.code == 0 ? "File isn't opened" : std::strerror(c.code);
    const int status = InChild(
        [&] {
            BryNewlineFilter filter;
            try {
                c.action(dir, filter);
            } catch (const BryNewlineFilterIOException& e) {
                if (e.GetErrorCode() != c.code)
                    return 10 + (e.GetErrorCode() & 0x3F);
                if (e.GetErrorMessage() != message)
                    return 2;
                if (filter.GetErrorCode() != c.code || filter.GetErrorMessage() != message)
                    return 3;
                return 0;
            }
            return 1;
        },
        c.unprivileged);
    EXPECT_EQ(status, 0) << c.name;
    EXPECT_EQ(EntriesIn(dir.Path()), 3u) << "no file is left behind";
    EXPECT_EQ(ReadBytes(dir.File("ro.txt")), "keep\n");
}

const TStringList OneLine = ListOf({"x"});

INSTANTIATE_TEST_SUITE_P(
    Cases, Failures,
    testing::Values(
        FailureCase{"read before open", [](auto&, auto& f) { f.ReadLine(); }, 0, false},
        FailureCase{"write after close",
                    [](auto& d, auto& f) {
                        f.OpenForWrite(d.File("sub/w.txt"));
                        f.Close();
                        f.WriteLine("x");
                    },
                    0, false},
        FailureCase{"end of file before open", [](auto&, auto& f) { f.IsEndOfFile(); }, 0, false},
        FailureCase{"write while reading",
                    [](auto& d, auto& f) {
                        f.OpenForRead(d.File("ro.txt"));
                        f.WriteLine("x");
                    },
                    EBADF, false},
        FailureCase{"missing file", [](auto& d, auto& f) { f.ReadFile(d.File("none.txt")); },
                    ENOENT, false},
        FailureCase{"read a folder", [](auto& d, auto& f) { f.ReadFile(d.File("sub")); }, EISDIR,
                    false},
        FailureCase{"write a folder", [](auto& d, auto& f) { f.WriteFile(d.File("sub"), OneLine); },
                    EISDIR, false},
        FailureCase{"write into a missing folder",
                    [](auto& d, auto& f) { f.WriteFile(d.File("none/x.txt"), OneLine); }, ENOENT,
                    false},
        FailureCase{"disk full", [](auto&, auto& f) { f.WriteFile("/dev/full", OneLine); }, ENOSPC,
                    false},
        FailureCase{"write to a closed descriptor", [](auto&, auto& f) { f.WriteTo(99, OneLine); },
                    EBADF, false},
        FailureCase{"read a file without permission",
                    [](auto& d, auto& f) { f.ReadFile(d.File("secret.txt")); }, EACCES, true},
        FailureCase{"write a read-only file",
                    [](auto& d, auto& f) { f.WriteFile(d.File("ro.txt"), OneLine); }, EACCES,
                    true}));

TEST(Failures, FilterWorksAgainAfterAFailedRead) {
    TempDir dir;
    WriteBytes(dir.File("in.txt"), "a\n");
    BryNewlineFilter filter;
    EXPECT_THROW(filter.ReadFile(dir.File("none.txt")), BryNewlineFilterIOException);
    EXPECT_EQ(filter.GetErrorCode(), ENOENT);
    EXPECT_EQ(Lines(*filter.ReadFile(dir.File("in.txt"))), std::vector<std::string>{"a"});
    EXPECT_EQ(filter.GetErrorCode(), 0);
}

} // namespace
