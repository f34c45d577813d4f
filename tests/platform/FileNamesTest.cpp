#include "platform/FileNames.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char* path;
    const char* name;
    const char* dir;
    const char* ext;
};

class FileNamesTest : public testing::TestWithParam<PathCase> {};

TEST_P(FileNamesTest, SplitsPath) {
    const PathCase& c = GetParam();
    EXPECT_EQ(ExtractFileName(c.path), c.name);
    EXPECT_EQ(ExtractFileDir(c.path), c.dir);
    EXPECT_EQ(ExtractFileExt(c.path), c.ext);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileNamesTest,
    testing::Values(PathCase{"/a/b.txt", "b.txt", "/a", ".txt"},
                    PathCase{"/b.txt", "b.txt", "/", ".txt"},
                    PathCase{"b.txt", "b.txt", "", ".txt"}, PathCase{"a/b", "b", "a", ""},
                    PathCase{"a//b", "b", "a//", ""}, PathCase{"/a.d/b", "b", "/a.d", ""},
                    PathCase{"x.tar.gz", "x.tar.gz", "", ".gz"},
                    PathCase{"/a/.profile", ".profile", "/a", ".profile"},
                    PathCase{"/a/", "", "/a", ""}, PathCase{"", "", "", ""},
                    PathCase{"/漢字.テキスト", "漢字.テキスト", "/", ".テキスト"}));

} // namespace
