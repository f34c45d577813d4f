#include "platform/TScintillaEdit.h"

#include <gtest/gtest.h>

namespace {

TStringList Lines(std::initializer_list<const char*> lines) {
    TStringList list;
    for (const char* line : lines) {
        list.Add(line);
    }
    return list;
}

TEST(ScintillaEditTest, EmptyListGivesEmptyControl) {
    TScintillaEdit edit;
    edit.SetLines(TStringList());
    EXPECT_EQ(edit.GetLines()->Count(), 0);
    EXPECT_EQ(edit.text(), QString());
}

TEST(ScintillaEditTest, JapaneseLinesShowAsUnicodeAndComeBack) {
    TScintillaEdit edit;
    const TStringList lines = Lines({"\x93\xfa\x96\x7b\x8c\xea", "", "abc"});
    edit.SetLines(lines);
    EXPECT_EQ(edit.text(), QStringLiteral("日本語\n\nabc\n"));
    EXPECT_EQ(*edit.GetLines(), lines);
}

} // namespace
