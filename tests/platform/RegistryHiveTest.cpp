#include "platform/RegistryHive.h"

#include <gtest/gtest.h>

#include <ostream>

// Failures show a hive as its text.
void PrintTo(const RegistryKey& key, std::ostream* out) {
    *out << SerializeHive(key);
}

namespace {

RegistryKey SampleHive() {
    RegistryKey root;
    RegistryKey& app = root.ObtainSubkey("Software").ObtainSubkey("BRyApp").ObtainSubkey("Zuv");
    app.SetValue("Count", REG_DWORD, DwordData(2));
    app.SetValue("", REG_SZ, "unnamed");
    app.SetValue("Quotes \"and\" \\slashes\\", REG_SZ, "say \"hi\" C:\\dir\\");
    app.SetValue("Lines", REG_SZ, "one\ntwo\r\nthree\rfour\t");
    app.SetValue("Zero", REG_SZ, std::string("a\0b", 3));
    app.SetValue("日本語", REG_SZ, "ｶﾀｶﾅと漢字");
    app.SetValue("Not UTF-8", REG_SZ, "\x80\xff\xe3\x81 \xed\xa0\x80 \xc0\xaf");
    app.SetValue("Empty", REG_SZ, "");
    app.SetValue("Max", REG_DWORD, DwordData(0xFFFFFFFF));
    app.SetValue("Sign", REG_DWORD, DwordData(0x80000000));
    app.SetValue("Short dword", REG_DWORD, "\x01\x02");
    app.SetValue("Expand", REG_EXPAND_SZ, "%HOME%/x");
    app.SetValue("Binary", REG_BINARY, std::string("\0\x01\xfe", 3));
    app.SetValue("Odd type", 0xDEADBEEF, "xyz");
    app.SetValue("No data", REG_NONE, "");
    app.ObtainSubkey("Empty key");
    app.ObtainSubkey("Bracket]key").SetValue("v", REG_SZ, "]");
    root.ObtainSubkey("Second root child");
    return root;
}

TEST(RegistryHiveTest, EveryValueAndKeyRoundTripsThroughTheText) {
    const RegistryKey hive = SampleHive();
    const std::string text = SerializeHive(hive);
    EXPECT_EQ(ParseHive(text), hive) << text;
    EXPECT_EQ(SerializeHive(ParseHive(text)), text);
}

TEST(RegistryHiveTest, WritesTheRegTextForm) {
    RegistryKey root;
    RegistryKey& app = root.ObtainSubkey("Software").ObtainSubkey("BRyApp");
    app.SetValue("Count", REG_DWORD, DwordData(0x20c));
    app.SetValue("Name", REG_SZ, "a\"b\\c\nd\x01");
    app.SetValue("", REG_EXPAND_SZ, "AB");
    app.ObtainSubkey("Extension_0").SetValue("Extension", REG_SZ, "txt");
    EXPECT_EQ(SerializeHive(root), "REGEDIT4\n"
                                   "\n[HKEY_CURRENT_USER]\n"
                                   "\n[HKEY_CURRENT_USER\\Software]\n"
                                   "\n[HKEY_CURRENT_USER\\Software\\BRyApp]\n"
                                   "\"Count\"=dword:0000020c\n"
                                   "\"Name\"=\"a\\\"b\\\\c\\nd\\x01\"\n"
                                   "@=hex(2):41,42\n"
                                   "\n[HKEY_CURRENT_USER\\Software\\BRyApp\\Extension_0]\n"
                                   "\"Extension\"=\"txt\"\n");
}

TEST(RegistryHiveTest, ReadsHandWrittenVariants) {
    const RegistryKey hive = ParseHive("\xEF\xBB\xBF\r\nREGEDIT4\r\n"
                                       "; a comment\r\n"
                                       "[hkey_current_user\\Software\\App]\r\n"
                                       "\"Small\"=dword:c\r\n"
                                       "\"Data\"=hex:00,A1,\\\r\n"
                                       "  ff,10\r\n"
                                       "\"Empty\"=hex(7):\r\n"
                                       "\r\n"
                                       "[HKEY_CURRENT_USER\\SOFTWARE\\app\\Sub]\n"
                                       "\"small\"=dword:0000000d\n");
    RegistryKey expected;
    RegistryKey& app = expected.ObtainSubkey("Software").ObtainSubkey("App");
    app.SetValue("Small", REG_DWORD, DwordData(12));
    app.SetValue("Data", REG_BINARY, std::string("\x00\xa1\xff\x10", 4));
    app.SetValue("Empty", 7, "");
    app.ObtainSubkey("Sub").SetValue("small", REG_DWORD, DwordData(13));
    EXPECT_EQ(hive, expected);
}

TEST(RegistryHiveTest, RejectsTextThatIsNoHive) {
    const std::string header = "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n";
    const std::vector<std::string> broken = {
        "",
        "\n\n",
        "Windows Registry Editor\n",
        "REGEDIT4\n\"v\"=\"before any key\"\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n",
        "REGEDIT4\n[HKEY_CURRENT_USERX]\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A\\\\B]\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A\\]\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A\x01]\n",
        header + "junk\n",
        header + "\"v\"=\"unterminated\n",
        header + "\"v\"=\"bad \\q escape\"\n",
        header + "\"v\"=\"short \\x4\"\n",
        header + "\"v\"=\"text\" trailing\n",
        header + "\"v\" = \"spaced\"\n",
        header + "\"v\"=dword:\n",
        header + "\"v\"=dword:123456789\n",
        header + "\"v\"=dword:-1\n",
        header + "\"v\"=dword:1g\n",
        header + "\"v\"=hex:0\n",
        header + "\"v\"=hex:00;01\n",
        header + "\"v\"=hex:00,\n",
        header + "\"v\"=hex:00,\\\n",
        header + "\"v\"=hex(1g):00\n",
        header + "\"v\"=hex(2)00\n",
        header + "\"v\"=str:abc\n",
    };
    for (const std::string& text : broken)
        EXPECT_THROW(ParseHive(text), EHiveSyntaxError) << text;
}

TEST(RegistryHiveTest, KeyNamesFollowTheRegistryRules) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"Software", true},
        {"Extension_0", true},
        {"キー ]", true},
        {std::string(255, 'k'), true},
        {"", false},
        {std::string(256, 'k'), false},
        {"a\\b", false},
        {"tab\there", false},
        {"line\nbreak", false},
        {"del\x7f", false},
        {"\xff\xfe", false},
        {"\xe3\x81", false},
    };
    for (const auto& [name, valid] : cases)
        EXPECT_EQ(IsValidKeyName(name), valid) << name;
}

std::string KeyLineOfDepth(std::size_t depth) {
    std::string line = "[HKEY_CURRENT_USER";
    for (std::size_t i = 0; i < depth; ++i)
        line += "\\k";
    return line + "]\n";
}

// Keys nest as deep as the registry allows and no deeper: a damaged hive of one long key
// line must be refused, not exhaust the stack of everything that walks the tree.
TEST(RegistryHiveTest, KeysNestUpToTheRegistryDepthLimit) {
    const RegistryKey deepest = ParseHive("REGEDIT4\n" + KeyLineOfDepth(kMaxKeyDepth));
    EXPECT_EQ(ParseHive(SerializeHive(deepest)), deepest);
    for (const std::size_t depth : {kMaxKeyDepth + 1, std::size_t{1} << 20})
        EXPECT_THROW(ParseHive("REGEDIT4\n" + KeyLineOfDepth(depth)), EHiveSyntaxError) << depth;
}

TEST(RegistryHiveTest, NamesCompareWithoutAsciiCaseAndKeepTheFirstSpelling) {
    RegistryKey root;
    root.ObtainSubkey("BryApp");
    root.ObtainSubkey("BRYAPP").SetValue("Count", REG_DWORD, DwordData(1));
    root.ObtainSubkey("bryapp").SetValue("COUNT", REG_DWORD, DwordData(2));
    ASSERT_EQ(root.Subkeys().size(), 1u);
    EXPECT_EQ(root.Subkeys()[0].Name(), "BryApp");
    ASSERT_EQ(root.Subkeys()[0].Values().size(), 1u);
    EXPECT_EQ(root.Subkeys()[0].Values()[0].name, "Count");
    EXPECT_EQ(DwordValue(root.Subkeys()[0].Values()[0].data), 2u);
    EXPECT_FALSE(SameRegistryName("ä", "Ä")); // beyond ASCII, bytes must match
    EXPECT_TRUE(root.RemoveSubkey("BRYapp"));
    EXPECT_FALSE(root.RemoveSubkey("BryApp"));
}

} // namespace
