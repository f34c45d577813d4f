#include "registry/BryRegistrySerializableList.h"

#include "platform/RegistryHive.h"
#include "registry/BryRegistry.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const char* const kListKey = "Software\\App";

// An item with one text value; it fails to load when its key holds "Fail".
class TextItem : public BryRegistrySerializable {
public:
    explicit TextItem(std::string text = "") : text(std::move(text)) { ++live; }
    ~TextItem() override { --live; }

    void SaveToRegistry(BryRegistry* registry) override {
        registry->WriteString("Text", text);
        if (text == "fail on save")
            throw ERegistryException("save failed");
        registry->WriteString("Done", "yes");
    }
    void LoadFromRegistry(BryRegistry* registry) override {
        if (!registry->ReadString("Fail").empty())
            throw ERegistryException("load failed");
        text = registry->ReadString("Text");
    }

    std::string text;
    static inline int live = 0;
};

class TextList : public BryRegistrySerializableList {
public:
    ~TextList() override {
        while (Count() > 0) {
            delete GetItem(0);
            Delete(0);
        }
    }
    int AddNewItem() override { return AddItem(new TextItem); }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (int i = 0; i < Count(); ++i)
            texts.push_back(static_cast<TextItem*>(GetItem(i))->text);
        return texts;
    }
};

std::unique_ptr<BryRegistry> OpenList() {
    auto registry = std::make_unique<BryRegistry>();
    EXPECT_TRUE(registry->OpenKeyPath(kListKey));
    return registry;
}

// Stores items as a save would, with a count that may differ from them.
void StoreItems(const std::vector<std::string>& texts) {
    auto registry = OpenList();
    for (size_t i = 0; i < texts.size(); ++i) {
        BryRegistry item(registry.get(), "Item_" + std::to_string(i));
        item.WriteString("Text", texts[i]);
    }
}

void StoreCount(int count) {
    OpenList()->WriteInteger("Count", count);
}

// The names of the subkeys of the list key, in the order the hive holds them.
std::vector<std::string> ListSubkeys(const zuvtest::ScopedConfigHome& home) {
    const RegistryKey root =
        ParseHive(zuvtest::ReadBytes((home.Path() / "zuvedit" / "user.reg").string()));
    const RegistryKey* key = root.FindSubkey("Software")->FindSubkey("App");
    std::vector<std::string> names;
    for (const RegistryKey& subkey : key->Subkeys())
        names.push_back(subkey.Name());
    return names;
}

std::string TextAt(const std::string& keyName) {
    TRegistry registry;
    EXPECT_TRUE(registry.OpenKey(std::string(kListKey) + "\\" + keyName, false)) << keyName;
    return registry.ReadString("Text");
}

struct SaveCase {
    const char* name;
    std::vector<std::string> stored;
    std::optional<int> storedCount;
    std::vector<std::string> saved;
    std::vector<std::string> keysAfter;
};

class ListSaveTest : public ::testing::TestWithParam<SaveCase> {};

TEST_P(ListSaveTest, RewritesTheItemsAndDeletesTheStaleKeys) {
    zuvtest::ScopedConfigHome home;
    const SaveCase& param = GetParam();
    StoreItems(param.stored);
    if (param.storedCount)
        StoreCount(*param.storedCount);
    OpenList()->WriteString("Other value", "kept");
    {
        BryRegistry stale(OpenList().get(), "Item_3\\Below");
        stale.WriteString("v", "deleted with its parent");
    }
    TextList list;
    for (const std::string& text : param.saved)
        list.AddItem(new TextItem(text));

    list.SaveToRegistry("Item", OpenList().get());

    auto registry = OpenList();
    EXPECT_EQ(registry->ReadInteger("Count"), static_cast<int>(param.saved.size()));
    EXPECT_EQ(registry->ReadString("Other value"), "kept");
    EXPECT_THAT(ListSubkeys(home), ElementsAreArray(param.keysAfter));
    for (size_t i = 0; i < param.saved.size(); ++i)
        EXPECT_EQ(TextAt("Item_" + std::to_string(i)), param.saved[i]);
}

INSTANTIATE_TEST_SUITE_P(
    OldLists, ListSaveTest,
    ::testing::Values(
        SaveCase{"OverAShorterList",
                 {"a"},
                 1,
                 {"x", "y", "z"},
                 {"Item_0", "Item_3", "Item_1", "Item_2"}},
        SaveCase{"OverALongerList", {"a", "b", "c", "d", "e"}, 5, {"x", "y"}, {"Item_0", "Item_1"}},
        SaveCase{"EmptyOverThree", {"a", "b", "c"}, 3, {}, {"Item_3"}},
        SaveCase{
            "WithoutAStoredList", {}, std::nullopt, {"x", "y"}, {"Item_3", "Item_0", "Item_1"}},
        SaveCase{"OverItemsWithoutCount",
                 {"a", "b", "c"},
                 std::nullopt,
                 {"x"},
                 {"Item_0", "Item_1", "Item_2", "Item_3"}}),
    [](const auto& info) { return info.param.name; });

TEST(BryRegistrySerializableListTest, SaveGoesOnAfterAnItemFails) {
    zuvtest::ScopedConfigHome home;
    TextList list;
    for (const char* text : {"x", "fail on save", "z"})
        list.AddItem(new TextItem(text));
    list.SaveToRegistry("Item", OpenList().get());
    EXPECT_EQ(OpenList()->ReadInteger("Count"), 3);
    EXPECT_EQ(TextAt("Item_1"), "fail on save");
    EXPECT_EQ(TextAt("Item_2"), "z");
    BryRegistry failed(OpenList().get(), "Item_1");
    EXPECT_EQ(failed.ReadString("Done"), "");
}

TEST(BryRegistrySerializableListTest, AFailedCountWriteStopsTheSave) {
    zuvtest::ScopedConfigHome home;
    TextList list;
    list.AddItem(new TextItem("x"));
    BryRegistry nothingOpen;
    EXPECT_THROW(list.SaveToRegistry("Item", &nothingOpen), ERegistryException);
    EXPECT_FALSE(TRegistry().OpenKey("Item_0", false));
}

struct LoadCase {
    const char* name;
    std::vector<std::string> stored;
    std::function<void(BryRegistry&)> writeCount;
    std::vector<std::string> loaded;
    std::vector<std::string> keysAfter;
};

class ListLoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(ListLoadTest, LoadsTheItemsTheCountNames) {
    zuvtest::ScopedConfigHome home;
    const LoadCase& param = GetParam();
    StoreItems(param.stored);
    param.writeCount(*OpenList());
    TextList list;
    list.AddItem(new TextItem("replaced"));

    list.LoadFromRegistry("Item", OpenList().get());

    EXPECT_EQ(list.Texts(), param.loaded);
    EXPECT_EQ(TextItem::live, list.Count());
    EXPECT_THAT(ListSubkeys(home), ElementsAreArray(param.keysAfter));
}

const auto kNoCount = [](BryRegistry&) {};
auto CountOf(int count) {
    return [count](BryRegistry& registry) { registry.WriteInteger("Count", count); };
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ListLoadTest,
    ::testing::Values(
        LoadCase{"Matching", {"a", "b"}, CountOf(2), {"a", "b"}, {"Item_0", "Item_1"}},
        LoadCase{"Missing", {"a"}, kNoCount, {}, {"Item_0"}},
        LoadCase{
            "Text", {"a"}, [](BryRegistry& r) { r.WriteString("Count", "1"); }, {}, {"Item_0"}},
        LoadCase{"Negative", {"a"}, CountOf(-1), {}, {"Item_0"}},
        LoadCase{"Zero", {"a"}, CountOf(0), {}, {"Item_0"}},
        LoadCase{"LastKeyMissing", {"a"}, CountOf(2), {"a", ""}, {"Item_0", "Item_1"}},
        LoadCase{"NoKeysAtAll", {}, CountOf(1), {""}, {"Item_0"}},
        LoadCase{"FarTooLarge", {"a", "b"}, CountOf(INT_MAX), {"a", "b"}, {"Item_0", "Item_1"}},
        LoadCase{"TwoKeysMissing", {"a"}, CountOf(3), {"a"}, {"Item_0"}}),
    [](const auto& info) { return info.param.name; });

TEST(BryRegistrySerializableListTest, AGapOfOneKeyIsLoadedAsAnEmptyItem) {
    zuvtest::ScopedConfigHome home;
    StoreItems({"a", "b", "c"});
    StoreCount(3);
    EXPECT_TRUE(OpenList()->DeleteKey("Item_1"));
    TextList list;
    list.LoadFromRegistry("Item", OpenList().get());
    EXPECT_THAT(list.Texts(), ElementsAre("a", "", "c"));
}

TEST(BryRegistrySerializableListTest, AnItemThatFailsToLoadIsDroppedAndDeleted) {
    zuvtest::ScopedConfigHome home;
    StoreItems({"a", "b", "c"});
    StoreCount(3);
    BryRegistry(OpenList().get(), "Item_1").WriteString("Fail", "yes");
    TextList list;
    list.LoadFromRegistry("Item", OpenList().get());
    EXPECT_THAT(list.Texts(), ElementsAre("a", "c"));
    EXPECT_EQ(TextItem::live, 2);
}

TEST(BryRegistrySerializableListTest, GetItemGivesNullPastTheEnd) {
    TextList list;
    list.AddItem(new TextItem("a"));
    EXPECT_NE(list.GetItem(0), nullptr);
    EXPECT_EQ(list.GetItem(1), nullptr);
    EXPECT_EQ(list.GetItem(INT_MAX), nullptr);
    EXPECT_THROW(list.GetItem(-1), EListError);
}

} // namespace
