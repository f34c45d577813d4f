#include "platform/FindFirst.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

class FindFirstTest : public ::testing::Test {
protected:
    zuvtest::TempDir dir;
};

TEST_F(FindFirstTest, NamesTheEntryOrNothing) {
    zuvtest::WriteBytes(dir.File("file.txt"), "x");
    std::filesystem::create_directory(dir.Path() / "sub");
    std::filesystem::create_symlink(dir.Path() / "nowhere", dir.Path() / "dangling");
    EXPECT_EQ(FindFirstName(dir.File("file.txt")), "file.txt");
    EXPECT_EQ(FindFirstName(dir.File("sub")), "sub");
    EXPECT_EQ(FindFirstName(dir.File("dangling")), "dangling");
    EXPECT_EQ(FindFirstName(dir.File("missing")), std::nullopt);
    EXPECT_EQ(FindFirstName(dir.File("sub") + "/"), std::nullopt);
    EXPECT_EQ(FindFirstName(""), std::nullopt);
}

TEST_F(FindFirstTest, PrefersTheGivenNameAmongHardLinks) {
    zuvtest::WriteBytes(dir.File("a"), "x");
    std::filesystem::create_hard_link(dir.Path() / "a", dir.Path() / "b");
    EXPECT_EQ(FindFirstName(dir.File("b")), "b");
    EXPECT_EQ(FindFirstName(dir.File("a")), "a");
}

TEST_F(FindFirstTest, RelativePathAndBytesThatAreNotUtf8) {
    zuvtest::WriteBytes(dir.File("\xff\x81"), "x");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    EXPECT_EQ(FindFirstName("\xff\x81"), "\xff\x81");
    EXPECT_EQ(FindFirstName("./\xff\x81"), "\xff\x81");
    std::filesystem::current_path(previous);
}

} // namespace
