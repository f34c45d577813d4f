#include "settings/ZuvExtensionManager.h"

#include "platform/FileNames.h"
#include "registry/BryRegistry.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;

const char* const kAppKey = "Software\\BRyApp\\ZuvEditorChan";

struct Stored {
    const char* extension;
    const char* kanjiCode;
    const char* newlineType;
};

// Writes settings into the application key as a save would, with Count.
void StoreSettings(const std::vector<Stored>& settings) {
    BryRegistry app;
    ASSERT_TRUE(app.OpenKeyPath(kAppKey));
    app.WriteInteger("Count", static_cast<int>(settings.size()));
    for (size_t i = 0; i < settings.size(); ++i) {
        BryRegistry item(&app, "Extension_" + std::to_string(i));
        item.WriteString("Extension", settings[i].extension);
        item.WriteString("KanjiCode", settings[i].kanjiCode);
        item.WriteString("NewlineType", settings[i].newlineType);
    }
}

ZuvExtensionInfo* NewInfo(const char* extension, KanjiCode code = KanjiCode::UNKNOWN,
                          NewlineType type = NewlineType::UNKNOWN) {
    auto* info = new ZuvExtensionInfo;
    info->SetExtension(extension);
    info->SetKanjiCode(code);
    info->SetNewlineType(type);
    return info;
}

std::vector<std::string> Extensions(const ZuvExtensionList& list) {
    std::vector<std::string> extensions;
    for (int i = 0; i < list.Count(); ++i)
        extensions.push_back(list.GetInfo(i)->GetExtension());
    return extensions;
}

std::string Hive(const zuvtest::ScopedConfigHome& home) {
    return zuvtest::ReadBytes((home.Path() / "zuvedit" / "user.reg").string());
}

// --- ZuvExtensionInfo ---

TEST(ZuvExtensionInfoTest, NormalizeExtensionLowersAndDropsLeadingDots) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {".TXT", "txt"},  {"txt", "txt"},    {"..Txt", "txt"}, {".tar.gz", "tar.gz"},
        {".", ""},        {"", ""},          {"...", ""},      {" .TXT", " .txt"},
        {"TXT.", "txt."}, {".Ｔxt", "Ｔxt"}, {".ÄBC", "Äbc"},  {"a.B.", "a.b."},
    };
    for (const auto& [text, normalized] : cases)
        EXPECT_EQ(ZuvExtensionInfo::NormalizeExtension(text), normalized) << text;
}

TEST(ZuvExtensionInfoTest, StartsEmptyAndStoresTheNormalisedExtension) {
    ZuvExtensionInfo info;
    EXPECT_EQ(info.GetExtension(), "");
    EXPECT_EQ(info.GetKanjiCode(), KanjiCode::UNKNOWN);
    EXPECT_EQ(info.GetNewlineType(), NewlineType::UNKNOWN);
    info.SetExtension("..HTML");
    EXPECT_EQ(info.GetExtension(), "html");
    info.SetKanjiCode(static_cast<KanjiCode>(9)); // kept without range check
    EXPECT_EQ(static_cast<int>(info.GetKanjiCode()), 9);
}

TEST(ZuvExtensionInfoTest, CodeNamesIgnoreCaseAndUnknownNamesGiveZero) {
    const std::vector<std::tuple<std::string, KanjiCode, std::string, NewlineType>> cases = {
        {"SJIS", KanjiCode::SJIS, "CR LF", NewlineType::CR_LF},
        {"sjis", KanjiCode::SJIS, "cr lf", NewlineType::CR_LF},
        {"Euc", KanjiCode::EUC, "lf", NewlineType::LF},
        {"jis", KanjiCode::JIS, "Cr", NewlineType::CR},
        {"Shift_JIS", KanjiCode::UNKNOWN, "CRLF", NewlineType::UNKNOWN},
        {"", KanjiCode::UNKNOWN, "", NewlineType::UNKNOWN},
    };
    for (const auto& [codeName, code, typeName, type] : cases) {
        ZuvExtensionInfo info;
        info.SetKanjiCodeName(codeName);
        info.SetNewlineTypeName(typeName);
        EXPECT_EQ(info.GetKanjiCode(), code) << codeName;
        EXPECT_EQ(info.GetNewlineType(), type) << typeName;
    }
}

TEST(ZuvExtensionInfoTest, SavesItsThreeValuesWithCodesByName) {
    zuvtest::ScopedConfigHome home;
    BryRegistry registry;
    ASSERT_TRUE(registry.OpenKeyPath("Item"));
    std::unique_ptr<ZuvExtensionInfo> info(NewInfo("TXT", KanjiCode::JIS, NewlineType::CR_LF));
    info->SaveToRegistry(&registry);
    EXPECT_THAT(Hive(home), HasSubstr("[HKEY_CURRENT_USER\\Item]\n"
                                      "\"Extension\"=\"txt\"\n"
                                      "\"KanjiCode\"=\"JIS\"\n"
                                      "\"NewlineType\"=\"CR LF\"\n"));
    info->SetKanjiCode(static_cast<KanjiCode>(4));
    info->SetNewlineType(static_cast<NewlineType>(255));
    info->SaveToRegistry(&registry);
    EXPECT_EQ(registry.ReadString("KanjiCode"), "UNKNOWN");
    EXPECT_EQ(registry.ReadString("NewlineType"), "UNKNOWN");
}

TEST(ZuvExtensionInfoTest, ALoadThatFailsLeavesTheFieldsUnchanged) {
    zuvtest::ScopedConfigHome home;
    BryRegistry registry;
    ASSERT_TRUE(registry.OpenKeyPath("Item"));
    registry.WriteString("Extension", "css");
    registry.WriteString("KanjiCode", "EUC");
    registry.WriteInteger("NewlineType", 2);
    std::unique_ptr<ZuvExtensionInfo> info(NewInfo("txt", KanjiCode::SJIS, NewlineType::LF));
    EXPECT_THROW(info->LoadFromRegistry(&registry), ERegistryException);
    EXPECT_EQ(info->GetExtension(), "txt");
    EXPECT_EQ(info->GetKanjiCode(), KanjiCode::SJIS);

    registry.WriteString("NewlineType", "CR");
    info->LoadFromRegistry(&registry);
    EXPECT_EQ(info->GetExtension(), "css");
    EXPECT_EQ(info->GetKanjiCode(), KanjiCode::EUC);
    EXPECT_EQ(info->GetNewlineType(), NewlineType::CR);
}

// --- ZuvExtensionList ---

TEST(ZuvExtensionListTest, AddOrReplaceKeepsOneSortedEntryPerExtension) {
    ZuvExtensionList list;
    for (const char* extension : {"txt", "css", "htm"})
        list.AddOrReplace(NewInfo(extension, KanjiCode::SJIS));
    EXPECT_THAT(Extensions(list), ElementsAre("css", "htm", "txt"));

    list.AddOrReplace(NewInfo(".TXT", KanjiCode::EUC));
    list.AddOrReplace(NewInfo("h"));
    list.AddOrReplace(NewInfo("html"));
    EXPECT_THAT(Extensions(list), ElementsAre("css", "h", "htm", "html", "txt"));
    EXPECT_EQ(list.GetInfo(4)->GetKanjiCode(), KanjiCode::EUC);

    list.AddOrReplace(NewInfo("é")); // bytes of 0x80 and above sort after ASCII
    list.AddOrReplace(NewInfo(""));
    EXPECT_THAT(Extensions(list), ElementsAre("", "css", "h", "htm", "html", "txt", "é"));
}

TEST(ZuvExtensionListTest, AddOrReplaceWithAnEntryAlreadyInTheListKeepsIt) {
    ZuvExtensionList list;
    list.AddOrReplace(NewInfo("txt"));
    list.AddOrReplace(NewInfo("css"));
    ZuvExtensionInfo* txt = list.GetInfo(1);
    txt->SetKanjiCode(KanjiCode::JIS);
    list.AddOrReplace(txt);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetInfo(1), txt);
    EXPECT_EQ(list.GetInfo(1)->GetKanjiCode(), KanjiCode::JIS);
}

TEST(ZuvExtensionListTest, LooksUpTheFirstEntryForTheNormalisedExtension) {
    ZuvExtensionList list;
    for (const char* extension : {"txt", "css", "TXT", ""})
        list.AddItem(NewInfo(extension));
    EXPECT_EQ(list.IndexOfExtension(".Txt"), 0);
    EXPECT_EQ(list.IndexOfExtension("CSS"), 1);
    EXPECT_EQ(list.IndexOfExtension("."), 3);
    EXPECT_EQ(list.IndexOfExtension("html"), -1);
    EXPECT_EQ(list.IndexOfInfo(list.GetInfo(2)), 0);
    EXPECT_THROW(list.GetInfo(4), EListError);
    EXPECT_THROW(list.GetInfo(-1), EListError);
}

// --- Registry layout ---

TEST(ZuvExtensionListTest, IsStoredAsCountAndNumberedKeysUnderTheApplicationKey) {
    zuvtest::ScopedConfigHome home;
    BryRegistry app;
    ASSERT_TRUE(app.OpenKeyPath(kAppKey));
    {
        ZuvExtensionList list;
        list.AddOrReplace(NewInfo("txt", KanjiCode::SJIS, NewlineType::CR_LF));
        list.AddOrReplace(NewInfo("html", KanjiCode::JIS, NewlineType::LF));
        list.SaveToRegistry("Extension", &app);
    }
    EXPECT_THAT(Hive(home), HasSubstr("[HKEY_CURRENT_USER\\Software\\BRyApp\\ZuvEditorChan]\n"
                                      "\"Count\"=dword:00000002\n"
                                      "\n[HKEY_CURRENT_USER\\Software\\BRyApp\\ZuvEditorChan"
                                      "\\Extension_0]\n"
                                      "\"Extension\"=\"html\"\n"
                                      "\"KanjiCode\"=\"JIS\"\n"
                                      "\"NewlineType\"=\"LF\"\n"
                                      "\n[HKEY_CURRENT_USER\\Software\\BRyApp\\ZuvEditorChan"
                                      "\\Extension_1]\n"
                                      "\"Extension\"=\"txt\"\n"
                                      "\"KanjiCode\"=\"SJIS\"\n"
                                      "\"NewlineType\"=\"CR LF\"\n"));

    ZuvExtensionList list;
    list.AddOrReplace(NewInfo("txt", KanjiCode::SJIS, NewlineType::CR_LF));
    list.SaveToRegistry("Extension", &app);
    EXPECT_EQ(app.ReadInteger("Count"), 1);
    EXPECT_EQ(BryRegistry(&app, "Extension_0").ReadString("Extension"), "txt");
    EXPECT_FALSE(TRegistry().OpenKey(std::string(kAppKey) + "\\Extension_1", false));
    EXPECT_FALSE(TRegistry().OpenKey(std::string(kAppKey) + "\\Extension", false));
}

// --- ZuvExtensionManager ---

TEST(ZuvExtensionManagerTest, AnEmptyRegistryGivesNoSettings) {
    zuvtest::ScopedConfigHome home;
    ZuvExtensionManager manager;
    for (const char* extension : {".txt", "", "."})
        EXPECT_EQ(manager.FindByExtension(extension), nullptr) << extension;
    EXPECT_TRUE(TRegistry().OpenKey(kAppKey, false)); // opening creates the key
}

TEST(ZuvExtensionManagerTest, FindsTheSettingWhateverTheSpellingOfTheExtension) {
    zuvtest::ScopedConfigHome home;
    StoreSettings({{"TXT", "sjis", "cr lf"}, {"gz", "EUC", "LF"}, {"", "JIS", "CR"}});
    ZuvExtensionManager manager;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {".TXT", "txt"}, {".txt", "txt"},
        {"txt", "txt"},  {ExtractFileExt("a.tar.gz"), "gz"},
        {"", ""},        {ExtractFileExt("README"), ""},
    };
    for (const auto& [extension, found] : cases) {
        const ZuvExtensionInfo* info = manager.FindByExtension(extension);
        ASSERT_NE(info, nullptr) << extension;
        EXPECT_EQ(info->GetExtension(), found) << extension;
    }
    EXPECT_EQ(manager.FindByExtension(".tar"), nullptr);
    EXPECT_EQ(manager.FindByExtension(".txt")->GetKanjiCode(), KanjiCode::SJIS);
    EXPECT_EQ(manager.FindByExtension(".txt")->GetNewlineType(), NewlineType::CR_LF);
}

TEST(ZuvExtensionManagerTest, WithDuplicatesTheLowerKeyNumberWins) {
    zuvtest::ScopedConfigHome home;
    StoreSettings({{"css", "SJIS", "LF"}, {".Txt", "JIS", "LF"}, {"txt", "EUC", "CR"}});
    ZuvExtensionManager manager;
    EXPECT_EQ(manager.FindByExtension(".TXT")->GetKanjiCode(), KanjiCode::JIS);
}

TEST(ZuvExtensionManagerTest, ASettingThatFailsToLoadIsSkipped) {
    zuvtest::ScopedConfigHome home;
    StoreSettings({{"css", "SJIS", "LF"}, {"htm", "JIS", "LF"}, {"txt", "EUC", "CR"}});
    BryRegistry item;
    ASSERT_TRUE(item.OpenKeyPath(std::string(kAppKey) + "\\Extension_1"));
    item.WriteInteger("KanjiCode", 2);
    ZuvExtensionManager manager;
    EXPECT_EQ(manager.FindByExtension(".htm"), nullptr);
    EXPECT_NE(manager.FindByExtension(".css"), nullptr);
    EXPECT_EQ(manager.FindByExtension(".txt")->GetKanjiCode(), KanjiCode::EUC);
}

TEST(ZuvExtensionManagerTest, SaveWritesBackCanonicalNames) {
    zuvtest::ScopedConfigHome home;
    StoreSettings({{"C", "sjis", "CRLF"}, {"h", "Euc", "lf"}});
    ZuvExtensionManager().SaveSettings();
    BryRegistry app;
    ASSERT_TRUE(app.OpenKeyPath(kAppKey));
    EXPECT_EQ(app.ReadInteger("Count"), 2);
    const std::vector<std::vector<std::string>> expected = {{"c", "SJIS", "UNKNOWN"},
                                                            {"h", "EUC", "LF"}};
    for (int i = 0; i < 2; ++i) {
        BryRegistry item(&app, "Extension_" + std::to_string(i));
        EXPECT_THAT(
            (std::vector<std::string>{item.ReadString("Extension"), item.ReadString("KanjiCode"),
                                      item.ReadString("NewlineType")}),
            ElementsAreArray(expected[static_cast<size_t>(i)]));
    }
}

TEST(ZuvExtensionManagerTest, SharesTheApplicationKeyWithTheWindowSettings) {
    zuvtest::ScopedConfigHome home;
    BryRegistry view;
    ASSERT_TRUE(view.OpenKeyPath("Software\\BryApp\\ZuvEditorChan\\View"));
    view.WriteInteger("Width", 524);
    StoreSettings({{"txt", "SJIS", "CR LF"}});
    ZuvExtensionManager().SaveSettings();
    const std::string hive = Hive(home);
    EXPECT_THAT(hive, HasSubstr("[HKEY_CURRENT_USER\\Software\\BryApp\\ZuvEditorChan]\n"
                                "\"Count\"=dword:00000001\n"));
    EXPECT_THAT(hive, HasSubstr("[HKEY_CURRENT_USER\\Software\\BryApp\\ZuvEditorChan\\View]\n"
                                "\"Width\"=dword:0000020c\n"));
    EXPECT_THAT(hive, Not(HasSubstr("BRyApp")));
    EXPECT_NE(ZuvExtensionManager().FindByExtension(".txt"), nullptr);
}

TEST(ZuvExtensionManagerTest, AnUnusableRegistryGivesNoSettingsAndNoErrors) {
    zuvtest::ScopedConfigHome home;
    zuvtest::WriteBytes((home.Path() / "zuvedit").string(), "not a folder");
    ZuvExtensionManager manager;
    EXPECT_EQ(manager.FindByExtension(".txt"), nullptr);
    EXPECT_NO_THROW(manager.SaveSettings());
}

TEST(ZuvExtensionManagerTest, AHugeStoredCountLoadsOnlyTheStoredSettings) {
    zuvtest::ScopedConfigHome home;
    StoreSettings({{"css", "SJIS", "LF"}, {"txt", "EUC", "CR"}});
    BryRegistry app;
    ASSERT_TRUE(app.OpenKeyPath(kAppKey));
    app.WriteInteger("Count", 2147483647);
    const std::string before = Hive(home);
    ZuvExtensionManager manager;
    EXPECT_NE(manager.FindByExtension(".css"), nullptr);
    EXPECT_NE(manager.FindByExtension(".txt"), nullptr);
    EXPECT_EQ(manager.FindByExtension(""), nullptr);
    EXPECT_EQ(Hive(home), before);
}

} // namespace
