#include "platform/TRegistry.h"
#include "platform/RegistryHive.h"

#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

const char* const kAppKey = "Software\\BRyApp\\ZuvEditorChan";

struct TextCase {
    const char* name;
    std::string text;
};

const std::vector<TextCase> kTexts = {
    {"Plain", "txt"},
    {"Empty", ""},
    {"Quotes", "say \"hi\""},
    {"Backslashes", "C:\\dir\\\\x\\"},
    {"Lines", "one\ntwo\r\nthree\r"},
    {"Japanese", "Ｚ.Ｕ.Ｖ.Editorちゃん ｶﾀｶﾅ"},
    {"Not UTF-8", "\x82\xa0\xff"},
    {"Looks like syntax", "\"=dword:1\n[HKEY_CURRENT_USER\\X]"},
};

const std::vector<int> kIntegers = {0, 1, -1, 0x20c, INT_MAX, INT_MIN};

std::string HivePath(const zuvtest::ScopedConfigHome& home) {
    return (home.Path() / "zuvedit" / "user.reg").string();
}

// A registry with the given path open, created when missing.
std::unique_ptr<TRegistry> OpenedAt(const char* path) {
    auto registry = std::make_unique<TRegistry>();
    EXPECT_TRUE(registry->OpenKey(path, true)) << path;
    return registry;
}

// --- Helper processes: the test binary started again with ZUV_REGISTRY_CHILD set. ---

void WriteTable() {
    auto registry = OpenedAt(kAppKey);
    for (const TextCase& entry : kTexts)
        registry->WriteString(entry.name, entry.text);
    for (int value : kIntegers)
        registry->WriteInteger("Int " + std::to_string(value), value);
}

int CountTableMismatches() {
    TRegistry registry;
    if (!registry.OpenKey(kAppKey, false))
        return 100;
    int mismatches = 0;
    for (const TextCase& entry : kTexts)
        mismatches += registry.ReadString(entry.name) != entry.text;
    for (int value : kIntegers)
        mismatches += registry.ReadInteger("Int " + std::to_string(value)) != value;
    return mismatches;
}

void WriteMany(const std::string& prefix, int count) {
    auto registry = OpenedAt(kAppKey);
    for (int i = 0; i < count; ++i)
        registry->WriteInteger(prefix + std::to_string(i), i);
}

int RunChild(const std::string& job) {
    if (job == "write-table") {
        WriteTable();
        return 0;
    }
    if (job == "check-table")
        return CountTableMismatches();
    const auto colon = job.find(':');
    WriteMany(job.substr(0, colon), std::stoi(job.substr(colon + 1)));
    return 0;
}

// Runs before the test main when this binary was started as a helper.
const bool kNotAChild = [] {
    if (const char* job = std::getenv("ZUV_REGISTRY_CHILD")) {
        try {
            std::_Exit(RunChild(job));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s\n", error.what());
            std::_Exit(99);
        }
    }
    return true;
}();

pid_t StartChild(const std::string& job) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable)
        variables.emplace_back(*variable);
    variables.push_back("ZUV_REGISTRY_CHILD=" + job);
    std::vector<char*> environment;
    for (std::string& variable : variables)
        environment.push_back(variable.data());
    environment.push_back(nullptr);
    std::string self = fs::read_symlink("/proc/self/exe").string();
    char* arguments[] = {self.data(), nullptr};
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, self.c_str(), nullptr, nullptr, arguments, environment.data()), 0);
    return pid;
}

int WaitForChild(pid_t pid) {
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// --- Keys ---

TEST(TRegistryTest, StartsWithNoKeyOpen) {
    zuvtest::ScopedConfigHome home;
    TRegistry registry;
    EXPECT_EQ(registry.ReadString("Name"), "");
    EXPECT_THROW(registry.ReadInteger("Width"), ERegistryException);
    EXPECT_THROW(registry.WriteString("Name", "x"), ERegistryException);
    EXPECT_THROW(registry.WriteInteger("Width", 1), ERegistryException);
    EXPECT_FALSE(fs::exists(HivePath(home)));
}

TEST(TRegistryTest, OpenKeyTakesNamesBelowTheOpenKeyOrFromTheRoot) {
    zuvtest::ScopedConfigHome home;
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software", true));
    ASSERT_TRUE(registry.OpenKey("BryApp\\Zuv", true));
    registry.WriteInteger("Depth", 3);
    ASSERT_TRUE(registry.OpenKey("\\Software", false));
    registry.WriteInteger("Depth", 1);

    TRegistry reader;
    ASSERT_TRUE(reader.OpenKey("Software\\BryApp\\Zuv", false));
    EXPECT_EQ(reader.ReadInteger("Depth"), 3);
    ASSERT_TRUE(reader.OpenKey("\\Software", false));
    EXPECT_EQ(reader.ReadInteger("Depth"), 1);
    reader.CloseKey();
    EXPECT_EQ(reader.ReadString("Depth"), "");
}

TEST(TRegistryTest, FailedOpenKeyKeepsTheOpenKey) {
    zuvtest::ScopedConfigHome home;
    auto registry = OpenedAt("Software\\App");
    registry->WriteInteger("Here", 1);
    const std::vector<std::string> failing = {
        "Missing",   "",         "\\",          "a\\\\b", "a\\", std::string(256, 'k'),
        "bad\tname", "\xff\xfe", "line\nbreak",
    };
    for (const std::string& name : failing) {
        EXPECT_FALSE(registry->OpenKey(name, name != "Missing")) << name;
        EXPECT_EQ(registry->ReadInteger("Here"), 1) << name;
    }
    EXPECT_FALSE(registry->OpenKey("Missing", false));
    TRegistry probe;
    EXPECT_FALSE(probe.OpenKey("Software\\App\\Missing", false));
}

TEST(TRegistryTest, KeysNestNoDeeperThanTheHiveCanHold) {
    zuvtest::ScopedConfigHome home;
    TRegistry registry;
    std::string path = "k";
    for (std::size_t depth = 1; depth < kMaxKeyDepth - 1; ++depth)
        path += "\\k";
    ASSERT_TRUE(registry.OpenKey(path, true));
    ASSERT_TRUE(registry.OpenKey("last", true));
    registry.WriteInteger("Deepest", 1);
    EXPECT_FALSE(registry.OpenKey("deeper", true));
    EXPECT_FALSE(registry.OpenKey("\\" + path + "\\a\\b", true));
    EXPECT_EQ(registry.ReadInteger("Deepest"), 1);
    TRegistry reader;
    ASSERT_TRUE(reader.OpenKey(path + "\\last", false));
    EXPECT_EQ(reader.ReadInteger("Deepest"), 1);
}

TEST(TRegistryTest, CreatesTheFolderAndHiveOnFirstChange) {
    zuvtest::ScopedConfigHome home;
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey("Software", false));
    EXPECT_FALSE(fs::exists(home.Path() / "zuvedit"));
    ASSERT_TRUE(registry.OpenKey("Software\\View", true));
    EXPECT_EQ(zuvtest::ReadBytes(HivePath(home)),
              "REGEDIT4\n\n[HKEY_CURRENT_USER]\n\n[HKEY_CURRENT_USER\\Software]\n"
              "\n[HKEY_CURRENT_USER\\Software\\View]\n");
    EXPECT_FALSE(fs::exists(HivePath(home) + ".tmp"));
}

TEST(TRegistryTest, KeyAndValueNamesIgnoreCaseAndKeepTheFirstSpelling) {
    zuvtest::ScopedConfigHome home;
    OpenedAt("Software\\BryApp\\ZuvEditorChan\\View")->WriteInteger("Width", 524);
    auto app = OpenedAt(kAppKey);
    app->WriteInteger("Count", 2);
    app->WriteInteger("COUNT", 3);

    TRegistry view;
    ASSERT_TRUE(view.OpenKey("SOFTWARE\\bryapp\\ZUVEDITORCHAN\\view", false));
    EXPECT_EQ(view.ReadInteger("width"), 524);
    EXPECT_EQ(app->ReadInteger("count"), 3);
    const std::string hive = zuvtest::ReadBytes(HivePath(home));
    EXPECT_THAT(hive, HasSubstr("[HKEY_CURRENT_USER\\Software\\BryApp\\ZuvEditorChan]\n"
                                "\"Count\"=dword:00000003\n"));
    EXPECT_THAT(hive, Not(HasSubstr("BRyApp")));
    EXPECT_THAT(hive, Not(HasSubstr("COUNT")));
}

TEST(TRegistryTest, DeleteKeyRemovesTheWholeSubtree) {
    zuvtest::ScopedConfigHome home;
    OpenedAt("App\\Extension_1\\Deep\\Deeper")->WriteString("v", "x");
    OpenedAt("App\\Extension_2")->WriteString("v", "y");
    auto app = OpenedAt("App");
    EXPECT_TRUE(app->DeleteKey("extension_1"));
    EXPECT_FALSE(app->DeleteKey("Extension_1"));
    EXPECT_FALSE(app->DeleteKey(""));
    EXPECT_FALSE(app->DeleteKey("bad\\\\name"));
    TRegistry probe;
    EXPECT_FALSE(probe.OpenKey("App\\Extension_1", false));
    EXPECT_TRUE(probe.OpenKey("App\\Extension_2", false));
    EXPECT_EQ(probe.ReadString("v"), "y");
    EXPECT_TRUE(probe.DeleteKey("\\App"));
    EXPECT_FALSE(TRegistry().OpenKey("App", false));
}

TEST(TRegistryTest, WritingIntoAKeyDeletedMeanwhileThrows) {
    zuvtest::ScopedConfigHome home;
    auto item = OpenedAt("App\\Item");
    EXPECT_TRUE(OpenedAt("App")->DeleteKey("Item"));
    EXPECT_THROW(item->WriteString("v", "x"), ERegistryException);
    EXPECT_EQ(item->ReadString("v"), "");
    EXPECT_FALSE(TRegistry().OpenKey("App\\Item", false));
}

// --- Values ---

TEST(TRegistryTest, ValuesRoundTripExactly) {
    zuvtest::ScopedConfigHome home;
    WriteTable();
    EXPECT_EQ(CountTableMismatches(), 0);
}

TEST(TRegistryTest, ReadsCheckTheValueType) {
    zuvtest::ScopedConfigHome home;
    auto registry = OpenedAt(kAppKey);
    registry->WriteString("Text", "12");
    registry->WriteInteger("Number", 12);
    EXPECT_THROW(registry->ReadInteger("Text"), ERegistryException);
    EXPECT_THROW(registry->ReadInteger("Missing"), ERegistryException);
    EXPECT_THROW(registry->ReadBool("Text"), ERegistryException);
    EXPECT_THROW(registry->ReadString("Number"), ERegistryException);
    EXPECT_EQ(registry->ReadString("Missing"), "");
    registry->WriteInteger("Text", 5); // a write replaces the type too
    EXPECT_EQ(registry->ReadInteger("Text"), 5);
}

TEST(TRegistryTest, ReadsTextTypesUpToTheFirstZeroByte) {
    zuvtest::ScopedConfigHome home;
    fs::create_directories(home.Path() / "zuvedit");
    zuvtest::WriteBytes(HivePath(home), "REGEDIT4\n[HKEY_CURRENT_USER\\App]\n"
                                        "\"Zero\"=hex(1):41,00,42\n"
                                        "\"Expand\"=hex(2):24,48,00,00\n"
                                        "\"Binary\"=hex:41\n"
                                        "\"Short\"=hex(4):01,00\n");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("App", false));
    EXPECT_EQ(registry.ReadString("Zero"), "A");
    EXPECT_EQ(registry.ReadString("Expand"), "$H");
    EXPECT_THROW(registry.ReadString("Binary"), ERegistryException);
    EXPECT_THROW(registry.ReadInteger("Short"), ERegistryException);
}

TEST(TRegistryTest, BoolsAreDwordsReadAsNotZero) {
    zuvtest::ScopedConfigHome home;
    auto registry = OpenedAt("App");
    registry->WriteBool("On", true);
    registry->WriteBool("Off", false);
    registry->WriteInteger("Five", 5);
    EXPECT_EQ(registry->ReadInteger("On"), 1);
    EXPECT_EQ(registry->ReadInteger("Off"), 0);
    EXPECT_TRUE(registry->ReadBool("Five"));
    EXPECT_FALSE(registry->ReadBool("Off"));
}

// --- The hive file between processes ---

TEST(TRegistryTest, AFreshProcessReadsWhatWasWritten) {
    zuvtest::ScopedConfigHome home;
    WriteTable();
    EXPECT_EQ(WaitForChild(StartChild("check-table")), 0);
    EXPECT_THAT(zuvtest::ReadBytes(HivePath(home)),
                HasSubstr("\"Int -1\"=dword:ffffffff\n\"Int 524\"=dword:0000020c\n"));
}

TEST(TRegistryTest, EveryReadSeesChangesOfAnotherProcess) {
    zuvtest::ScopedConfigHome home;
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kAppKey, true));
    EXPECT_EQ(registry.ReadString("Plain"), "");
    ASSERT_EQ(WaitForChild(StartChild("write-table")), 0);
    EXPECT_EQ(registry.ReadString("Plain"), "txt");
    EXPECT_EQ(CountTableMismatches(), 0);
}

TEST(TRegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
    zuvtest::ScopedConfigHome home;
    constexpr int kWrites = 300;
    const pid_t first = StartChild("A:" + std::to_string(kWrites));
    const pid_t second = StartChild("B:" + std::to_string(kWrites));
    ASSERT_EQ(WaitForChild(first), 0);
    ASSERT_EQ(WaitForChild(second), 0);
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kAppKey, false));
    int missing = 0;
    for (const char* prefix : {"A", "B"}) {
        for (int i = 0; i < kWrites; ++i) {
            try {
                missing += registry.ReadInteger(prefix + std::to_string(i)) != i;
            } catch (const ERegistryException&) {
                ++missing;
            }
        }
    }
    EXPECT_EQ(missing, 0);
}

// --- Broken and unwritable hives ---

std::vector<fs::path> CorruptCopies(const zuvtest::ScopedConfigHome& home) {
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(home.Path() / "zuvedit")) {
        if (entry.path().filename().string().starts_with("user.reg.corrupt-"))
            copies.push_back(entry.path());
    }
    return copies;
}

class CorruptHiveTest : public ::testing::TestWithParam<bool> {};

TEST_P(CorruptHiveTest, IsMovedAsideAndWorkGoesOnWithAnEmptyHive) {
    const bool firstCallWrites = GetParam();
    zuvtest::ScopedConfigHome home;
    fs::create_directories(home.Path() / "zuvedit");
    const std::string garbage = "REGEDIT4\n[HKEY_CURRENT_USER\\App]\n\"Count\"=dword:2\ngarbage\n";
    zuvtest::WriteBytes(HivePath(home), garbage);

    TRegistry registry;
    if (firstCallWrites) {
        ASSERT_TRUE(registry.OpenKey("App", true));
        registry.WriteInteger("Count", 7);
        EXPECT_EQ(registry.ReadInteger("Count"), 7);
    } else {
        EXPECT_FALSE(registry.OpenKey("App", false));
        EXPECT_FALSE(fs::exists(HivePath(home)));
    }
    const std::vector<fs::path> copies = CorruptCopies(home);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(zuvtest::ReadBytes(copies[0].string()), garbage);
}

INSTANTIATE_TEST_SUITE_P(FirstCall, CorruptHiveTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Writes" : "Reads"; });

TEST(TRegistryTest, ASecondCorruptHiveGetsItsOwnName) {
    zuvtest::ScopedConfigHome home;
    fs::create_directories(home.Path() / "zuvedit");
    for (const char* garbage : {"first", "second"}) {
        zuvtest::WriteBytes(HivePath(home), garbage);
        EXPECT_TRUE(TRegistry().OpenKey("App", true));
    }
    EXPECT_EQ(CorruptCopies(home).size(), 2u);
}

TEST(TRegistryTest, AFolderThatCannotBeMadeFailsEveryChange) {
    zuvtest::ScopedConfigHome home;
    zuvtest::WriteBytes((home.Path() / "zuvedit").string(), "a file, not a folder");
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey("App", true));
    EXPECT_FALSE(registry.DeleteKey("App"));
    EXPECT_THROW(registry.WriteString("Name", "x"), ERegistryException);
}

// A hive that was written before the disk filled up or the folder became read-only.
class UnwritableHiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        OpenedAt(kAppKey)->WriteString("Name", "kept");
        before = zuvtest::ReadBytes(HivePath(home));
        ASSERT_TRUE(registry.OpenKey(kAppKey, false));
    }

    void ExpectWritesFailAndTheHiveStays() {
        EXPECT_THROW(registry.WriteString("Name", std::string(100000, 'x')), ERegistryException);
        EXPECT_THROW(registry.WriteInteger("Count", 1), ERegistryException);
        EXPECT_FALSE(registry.OpenKey("New", true));
        EXPECT_EQ(registry.ReadString("Name"), "kept");
        EXPECT_EQ(zuvtest::ReadBytes(HivePath(home)), before);
        EXPECT_FALSE(fs::exists(HivePath(home) + ".tmp"));
    }

    zuvtest::ScopedConfigHome home;
    TRegistry registry;
    std::string before;
};

TEST_F(UnwritableHiveTest, FullDiskMakesWritesThrow) {
    // A file-size limit fails writes as a full disk does, for root as well.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ExpectWritesFailAndTheHiveStays();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

// Permission bits do not stop root, so root runs the checks in a child as nobody, on a
// folder and hive that nobody owns.
TEST_F(UnwritableHiveTest, ReadOnlyFolderMakesWritesThrow) {
    constexpr uid_t kNobody = 65534;
    const bool asRoot = geteuid() == 0;
    const fs::path folder = home.Path() / "zuvedit";
    if (asRoot) {
        fs::permissions(home.Path(), fs::perms::owner_all | fs::perms::others_exec);
        for (const fs::path& path : {folder, folder / "user.reg", folder / "user.reg.lock"})
            ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0) << path;
    }
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (!asRoot) {
        ExpectWritesFailAndTheHiveStays();
    } else if (const pid_t child = fork(); child == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0)
            std::_Exit(2);
        ExpectWritesFailAndTheHiveStays();
        std::_Exit(HasFailure() ? 1 : 0);
    } else {
        EXPECT_EQ(WaitForChild(child), 0);
    }
    fs::permissions(folder, fs::perms::owner_all);
}

} // namespace
