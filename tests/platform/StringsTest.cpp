#include "platform/TStringList.h"

#include <gtest/gtest.h>

namespace {

TEST(AnsiCaseTest, ChangesOnlyAsciiLetters) {
    EXPECT_EQ(AnsiUpperCase("cr lf.Txt"), "CR LF.TXT");
    EXPECT_EQ(AnsiLowerCase("SJIS.TXT"), "sjis.txt");
    // UTF-8 bytes and their ASCII neighbours: "ｔ" (EF BD 94) must stay, "a" after it changes.
    EXPECT_EQ(AnsiUpperCase("\xEF\xBD\x94"
                            "a\xE3\x81\x82z"),
              "\xEF\xBD\x94"
              "A\xE3\x81\x82Z");
    EXPECT_EQ(AnsiUpperCase(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(TStringListTest, AddsInOrderAndChecksIndexes) {
    TStringList list;
    EXPECT_EQ(list.Add("one"), 0);
    EXPECT_EQ(list.Add(std::string("t\0o", 3)), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Strings(1), std::string("t\0o", 3));
    EXPECT_THROW(list.Strings(2), EStringListError);
    EXPECT_THROW(list.Strings(-1), EStringListError);
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
}

} // namespace
