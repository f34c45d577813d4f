#include "tests/support/BuildPaths.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

using zuvtest::ReadBytes;
using zuvtest::TempDir;
using zuvtest::WriteBytes;

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs this build's zuvconv with the given arguments through the shell.
Outcome Zuvconv(const TempDir& dir, const std::string& args, const std::string& stdinFile = "") {
    const std::string bin = zuvtest::BinDir() + "/zuvconv";
    const std::string command = "cd '" + dir.Path().string() + "' && '" + bin + "' " + args +
                                " < '" + (stdinFile.empty() ? "/dev/null" : stdinFile) +
                                "' > stdout.out 2> stderr.out";
    const int raw = std::system(command.c_str());
    Outcome run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(dir.File("stdout.out")),
                ReadBytes(dir.File("stderr.out"))};
    std::filesystem::remove(dir.File("stdout.out"));
    std::filesystem::remove(dir.File("stderr.out"));
    return run;
}

const std::string SjisText = "a\x82\xA0\r\n\xB1\r\n";
const std::string EucText = "a\xA4\xA2\n\x8E\xB1\n";
const std::string JisText = "a\x1B$B$\"\x1B(J\r\x0E\x31\x0F\r";

struct ConvertCase {
    std::string input;
    std::string args;
    std::string output;
};

class Converting : public testing::TestWithParam<ConvertCase> {};

TEST_P(Converting, WritesStandardOutputAndFiles) {
    TempDir dir;
    WriteBytes(dir.File("in.txt"), GetParam().input);
    const Outcome toStdout = Zuvconv(dir, GetParam().args + " in.txt");
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, GetParam().output);
    const Outcome fromStdin = Zuvconv(dir, GetParam().args + " -o out.txt -", dir.File("in.txt"));
    EXPECT_EQ(fromStdin.status, 0) << fromStdin.err;
    EXPECT_EQ(fromStdin.out, "");
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Options, Converting,
    testing::Values(ConvertCase{SjisText, "--to euc --newline lf", EucText},
                    ConvertCase{SjisText, "--to EUC --newline LF --from SJIS", EucText},
                    ConvertCase{EucText, "", "a\x82\xA0\n\xB1\n"},
                    ConvertCase{EucText, "--newline crlf", SjisText},
                    ConvertCase{SjisText, "--to jis --newline cr", JisText},
                    ConvertCase{JisText, "--to sjis --newline keep", "a\x82\xA0\r\xB1\r"},
                    // a stated code wins over the content
                    ConvertCase{EucText, "--from sjis --to sjis", EucText},
                    // no line end: CR LF, and the last line gets one too
                    ConvertCase{"abc", "", "abc\r\n"}, ConvertCase{"", "--to jis", ""}));

TEST(Guessing, PrintsCodeAndLastLineEnd) {
    TempDir dir;
    WriteBytes(dir.File("euc.txt"), "x\n\xA4\xA2\r");
    WriteBytes(dir.File("ascii.txt"), "plain");
    WriteBytes(dir.File("jis.txt"), JisText);
    const Outcome run = Zuvconv(dir, "--guess euc.txt ascii.txt jis.txt");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "euc.txt: EUC CR\nascii.txt: UNKNOWN UNKNOWN\njis.txt: JIS CR\n");
}

TEST(Guessing, ReportsUnreadableInputAndGoesOn) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), "\x82\xA0\r\n");
    const Outcome run = Zuvconv(dir, "--guess none.txt a.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "a.txt: SJIS CR LF\n");
    EXPECT_EQ(run.err, "zuvconv: none.txt: No such file or directory\n");
}

TEST(Failing, UnreadableInputCreatesNoOutput) {
    TempDir dir;
    const Outcome run = Zuvconv(dir, "-o out.txt none.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "zuvconv: none.txt: No such file or directory\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.txt")));
}

TEST(Failing, UnwritableOutputIsReported) {
    TempDir dir;
    WriteBytes(dir.File("in.txt"), "a\n");
    const Outcome run = Zuvconv(dir, "-o missing/out.txt in.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "zuvconv: missing/out.txt: No such file or directory\n");
    const Outcome full = Zuvconv(dir, "-o /dev/full in.txt");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "zuvconv: /dev/full: No space left on device\n");
}

class UsageErrors : public testing::TestWithParam<std::string> {};

TEST_P(UsageErrors, ExitTwoWithUsageOnStandardError) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), "a\n");
    const Outcome run = Zuvconv(dir, GetParam());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage: zuvconv"), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Arguments, UsageErrors,
                         testing::Values("--bogus a.txt", "--to auto a.txt", "--from utf8 a.txt",
                                         "--to", "--newline crlf2 a.txt", "-o", "a.txt a.txt",
                                         "--guess", "--guess --to euc a.txt", "-x"));

TEST(Help, PrintsUsageOnStandardOutput) {
    TempDir dir;
    const Outcome run = Zuvconv(dir, "--help");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("usage: zuvconv", 0), 0u);
    EXPECT_NE(run.out.find("--guess INPUT..."), std::string::npos);
}

} // namespace
