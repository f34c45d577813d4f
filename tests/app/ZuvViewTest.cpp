// The main window's title, status bar and text, and the window settings in the registry.
#include "ui/ZuvView.h"
#include "GuiTestSupport.h"
#include "app/ZuvEditor.h"
#include "platform/TRegistry.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <variant>
#include <vector>

namespace {

constexpr char kViewKey[] = "Software\\BryApp\\ZuvEditorChan\\View";
constexpr char kFontKey[] = "Software\\BryApp\\ZuvEditorChan\\View\\Font";

const TFont kDesignFont{"ＭＳ ゴシック", 9};

struct StoredValue {
    const char* key;
    const char* name;
    std::variant<int, std::string> data;
};

void Store(const std::vector<StoredValue>& values) {
    for (const StoredValue& value : values) {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(value.key, true));
        if (const int* number = std::get_if<int>(&value.data))
            registry.WriteInteger(value.name, *number);
        else
            registry.WriteString(value.name, std::get<std::string>(value.data));
    }
}

bool KeyExists(const char* key) {
    TRegistry registry;
    return registry.OpenKey(key, false);
}

class ViewTest : public ::testing::Test {
protected:
    std::unique_ptr<ZuvEditor> Start() { return std::make_unique<ZuvEditor>(TStringList()); }
    static TZuvViewForm& Form(const ZuvEditor& editor) { return *editor.View()->Form(); }

    zuvtest::ScopedConfigHome configHome;
};

TEST_F(ViewTest, FirstStartKeepsTheDesignAndCreatesTheEmptyViewKey) {
    const auto editor = Start();
    EXPECT_EQ(Form(*editor).Width(), 524);
    EXPECT_EQ(Form(*editor).Height(), 560);
    EXPECT_EQ(Form(*editor).ViewEdit->Font(), kDesignFont);
    EXPECT_TRUE(KeyExists(kViewKey));
    EXPECT_FALSE(KeyExists(kFontKey)); // the missing width ended the block before it
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kViewKey, false));
    EXPECT_THROW(registry.ReadInteger("Width"), ERegistryException);
}

struct SettingsCase {
    const char* name;
    std::vector<StoredValue> stored;
    int width;
    int height;
    TFont font;
};

TFont Styled(TFont font, bool italic, bool bold, bool underline, bool strikeOut) {
    font.Italic = italic;
    font.Bold = bold;
    font.Underline = underline;
    font.StrikeOut = strikeOut;
    return font;
}

TFont Sized(TFont font, int size, TColor color, const char* name = nullptr) {
    font.Size = size;
    font.Color = color;
    if (name)
        font.Name = name;
    return font;
}

const std::vector<StoredValue> kSize{{kViewKey, "Width", 700}, {kViewKey, "Height", 600}};
const std::vector<StoredValue> kFlags{{kFontKey, "Italic", 1},
                                      {kFontKey, "Bold", 0},
                                      {kFontKey, "Underline", 2},
                                      {kFontKey, "Strikeout", 1}};

std::vector<StoredValue> Join(std::initializer_list<std::vector<StoredValue>> parts) {
    std::vector<StoredValue> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const TFont kStyled = Styled(kDesignFont, true, false, true, true);
const std::vector<StoredValue> kSizeAndColor{{kFontKey, "Size", 14},
                                             {kFontKey, "Color", 0x000000FF}};

const SettingsCase kSettingsCases[] = {
    {"WidthOnly", {{kViewKey, "Width", 700}}, 700, 560, kDesignFont},
    {"WidthAsText", {{kViewKey, "Width", std::string("700")}}, 524, 560, kDesignFont},
    {"SizeWithoutFont", kSize, 700, 600, kDesignFont},
    {"MissingFlagChangesNoFont", Join({kSize, {{kFontKey, "Italic", 1}, {kFontKey, "Bold", 1}}}),
     700, 600, kDesignFont},
    {"FlagsWithoutSize", Join({kSize, kFlags}), 700, 600, kStyled},
    {"SizeWithoutColor", Join({kSize, kFlags, {{kFontKey, "Size", 14}}}), 700, 600,
     Sized(kStyled, 14, clBlack)},
    {"AllButName", Join({kSize, kFlags, kSizeAndColor}), 700, 600, Sized(kStyled, 14, 0xFF)},
    {"EmptyName", Join({kSize, kFlags, kSizeAndColor, {{kFontKey, "Name", std::string()}}}), 700,
     600, Sized(kStyled, 14, 0xFF)},
    {"Full", Join({kSize, kFlags, kSizeAndColor, {{kFontKey, "Name", std::string("IPAGothic")}}}),
     700, 600, Sized(kStyled, 14, 0xFF, "IPAGothic")},
    {"LongAsciiNameCutTo31Bytes",
     Join({kSize, kFlags, kSizeAndColor, {{kFontKey, "Name", std::string(40, 'A')}}}), 700, 600,
     Sized(kStyled, 14, 0xFF, "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA")},
    {"LongJapaneseNameCutAtACharacter",
     Join({kSize,
           kFlags,
           kSizeAndColor,
           {{kFontKey, "Name", std::string("漢字漢字漢字漢字漢字漢")}}}),
     700, 600, Sized(kStyled, 14, 0xFF, "漢字漢字漢字漢字漢字")},
    {"FontWithoutWindowSize", kFlags, 524, 560, kDesignFont},
};

class ViewSettingsTest : public ViewTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(ViewSettingsTest, AppliesStoredValuesUpToTheFirstMissingOne) {
    Store(GetParam().stored);
    const auto editor = Start();
    EXPECT_EQ(Form(*editor).Width(), GetParam().width);
    EXPECT_EQ(Form(*editor).Height(), GetParam().height);
    EXPECT_EQ(Form(*editor).ViewEdit->Font(), GetParam().font);
}

INSTANTIATE_TEST_SUITE_P(Registry, ViewSettingsTest, ::testing::ValuesIn(kSettingsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewTest, SaveWindowSettingsWritesSizeAndFontForTheNextStart) {
    const TFont chosen{"IPAPGothic", 15, 0x00336699, true, false, true, false};
    {
        const auto editor = Start();
        Form(*editor).SetSize(610, 470);
        Form(*editor).ViewEdit->SetFont(chosen);
        editor->View()->SaveWindowSettings();
    }
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kViewKey, false));
    EXPECT_EQ(registry.ReadInteger("Width"), 610);
    EXPECT_EQ(registry.ReadInteger("Height"), 470);
    registry.CloseKey();
    ASSERT_TRUE(registry.OpenKey(kFontKey, false));
    EXPECT_EQ(registry.ReadInteger("Bold"), 1);
    EXPECT_EQ(registry.ReadInteger("Italic"), 0);
    EXPECT_EQ(registry.ReadInteger("Underline"), 1);
    EXPECT_EQ(registry.ReadInteger("Strikeout"), 0);
    EXPECT_EQ(registry.ReadInteger("Size"), 15);
    EXPECT_EQ(registry.ReadInteger("Color"), 0x00336699);
    EXPECT_EQ(registry.ReadString("Name"), "IPAPGothic");

    const auto restarted = Start();
    EXPECT_EQ(Form(*restarted).Width(), 610);
    EXPECT_EQ(Form(*restarted).Height(), 470);
    EXPECT_EQ(Form(*restarted).ViewEdit->Font(), chosen);
}

TEST_F(ViewTest, ShowStatusWritesTitleAndTwoPanels) {
    const auto editor = Start();
    editor->View()->ShowStatus("/tmp/猫.txt", KanjiCode::EUC, NewlineType::LF);
    EXPECT_EQ(Form(*editor).Caption(), "Z.U.V.Editorちゃん  /tmp/猫.txt");
    EXPECT_EQ(Form(*editor).StatusText(0), "EUC");
    EXPECT_EQ(Form(*editor).StatusText(1), "LF");
    EXPECT_EQ(Form(*editor).StatusText(2), "");
    editor->View()->ShowStatus("", static_cast<KanjiCode>(7), NewlineType::UNKNOWN);
    EXPECT_EQ(Form(*editor).Caption(), "Z.U.V.Editorちゃん  (新規ファイル)");
    EXPECT_EQ(Form(*editor).StatusText(0), "UNKNOWN");
    EXPECT_EQ(Form(*editor).StatusText(1), "UNKNOWN");
}

TEST(DisplayFileNameTest, ShowsInvalidUtf8BytesVisibly) {
    const std::pair<std::string, std::string> cases[] = {
        {"/home/猫/a.txt", "/home/猫/a.txt"},
        {"/a/\xff.txt", "/a/\\xFF.txt"},
        {"\x93\xfa.txt", "\\x93\\xFA.txt"},           // Shift_JIS bytes
        {"\xc0\x80", "\\xC0\\x80"},                   // overlong NUL
        {"\xe7\x8c", "\\xE7\\x8C"},                   // cut character
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"},          // surrogate
        {"\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"}, // above U+10FFFF
        {"\xf0\x9f\x90\xb1", "\xf0\x9f\x90\xb1"},
    };
    for (const auto& [name, shown] : cases)
        EXPECT_EQ(DisplayFileName(name), shown) << name;
}

TEST_F(ViewTest, LinesGoInAndOutWholeWithWordWrapOn) {
    const auto editor = Start();
    ZuvView& view = *editor->View();
    view.SetLines(TStringList());
    EXPECT_EQ(view.GetLines()->Count(), 0);
    const TStringList lines = zuvtest::Lines({std::string(20000, 'w').c_str(), "", "end"});
    view.SetLines(lines);
    EXPECT_EQ(*view.GetLines(), lines);
    EXPECT_TRUE(Form(*editor).ViewEdit->WordWrap());
    EXPECT_FALSE(view.IsModified());
    view.SetModified(true);
    EXPECT_TRUE(view.IsModified());
}

} // namespace
