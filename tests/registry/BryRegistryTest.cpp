#include "registry/BryRegistry.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// True when the key exists below the root; never creates it.
bool KeyExists(const char* path) {
    return TRegistry().OpenKey(path, false);
}

int ReadIntegerAt(const char* path, const char* name) {
    TRegistry registry;
    EXPECT_TRUE(registry.OpenKey(path, false)) << path;
    return registry.ReadInteger(name);
}

struct OpenKeyPathCase {
    const char* path;
    const char* opened; // the key that ends up open, "" for none
};

class OpenKeyPathTest : public ::testing::TestWithParam<OpenKeyPathCase> {};

TEST_P(OpenKeyPathTest, SkipsEmptyComponentsAndKeepsThePathAsGiven) {
    zuvtest::ScopedConfigHome home;
    const OpenKeyPathCase& param = GetParam();
    BryRegistry registry;
    ASSERT_TRUE(registry.OpenKeyPath(param.path));
    EXPECT_EQ(registry.GetKeyPath(), param.path);
    if (param.opened[0] == '\0') {
        EXPECT_THROW(registry.WriteInteger("Here", 1), ERegistryException);
        EXPECT_FALSE(KeyExists("A"));
        return;
    }
    registry.WriteInteger("Here", 1);
    EXPECT_EQ(ReadIntegerAt(param.opened, "Here"), 1);
}

INSTANTIATE_TEST_SUITE_P(Paths, OpenKeyPathTest,
                         ::testing::Values(OpenKeyPathCase{"A\\B", "A\\B"},
                                           OpenKeyPathCase{"A\\\\B\\", "A\\B"},
                                           OpenKeyPathCase{"\\A\\B", "A\\B"},
                                           OpenKeyPathCase{"\\\\A\\\\\\B\\\\", "A\\B"},
                                           OpenKeyPathCase{"A", "A"}, OpenKeyPathCase{"", ""},
                                           OpenKeyPathCase{"\\\\", ""}));

TEST(BryRegistryTest, OpenKeyPathGoesOnBelowTheOpenKey) {
    zuvtest::ScopedConfigHome home;
    BryRegistry registry;
    ASSERT_TRUE(registry.OpenKeyPath("Software\\App"));
    ASSERT_TRUE(registry.OpenKeyPath("View\\Font"));
    registry.WriteInteger("Size", 9);
    EXPECT_EQ(registry.GetKeyPath(), "View\\Font");
    EXPECT_EQ(ReadIntegerAt("Software\\App\\View\\Font", "Size"), 9);
    EXPECT_FALSE(KeyExists("View"));
}

TEST(BryRegistryTest, AFailedOpenKeyPathClosesTheKeyAndKeepsTheOldPath) {
    zuvtest::ScopedConfigHome home;
    BryRegistry registry;
    ASSERT_TRUE(registry.OpenKeyPath("App"));
    EXPECT_FALSE(registry.OpenKeyPath("Sub\\bad\tname\\More"));
    EXPECT_EQ(registry.GetKeyPath(), "App");
    EXPECT_THROW(registry.WriteInteger("Here", 1), ERegistryException);
    EXPECT_FALSE(KeyExists("App\\Sub\\bad\tname"));
}

struct ChildCase {
    const char* parentPath; // nullptr: the parent opens nothing
    const char* subkeyName;
    const char* keyPath; // what the child records
    const char* opened;  // the key the child writes into, "" for none
};

class ChildConstructorTest : public ::testing::TestWithParam<ChildCase> {};

TEST_P(ChildConstructorTest, OpensTheParentsPathWithTheSubkeyFromTheRoot) {
    zuvtest::ScopedConfigHome home;
    const ChildCase& param = GetParam();
    BryRegistry parent;
    if (param.parentPath) {
        ASSERT_TRUE(parent.OpenKeyPath(param.parentPath));
    }
    BryRegistry child(&parent, param.subkeyName);
    EXPECT_EQ(child.GetKeyPath(), param.keyPath);
    if (param.opened[0] == '\0') {
        EXPECT_THROW(child.WriteString("v", "x"), ERegistryException);
        EXPECT_FALSE(KeyExists(param.subkeyName));
        return;
    }
    child.WriteString("v", "x");
    TRegistry reader;
    ASSERT_TRUE(reader.OpenKey(param.opened, false));
    EXPECT_EQ(reader.ReadString("v"), "x");
}

INSTANTIATE_TEST_SUITE_P(
    Children, ChildConstructorTest,
    ::testing::Values(ChildCase{"App", "Item_0", "App\\Item_0", "App\\Item_0"},
                      ChildCase{"App\\", "Item_0", "App\\\\Item_0", "App\\Item_0"},
                      ChildCase{"App", "", "App", "App"}, ChildCase{nullptr, "Item_0", "", ""},
                      ChildCase{"", "Item_0", "", ""}));

TEST(BryRegistryTest, TheChildOpensFromTheRootWhateverTheParentHasOpenNow) {
    zuvtest::ScopedConfigHome home;
    BryRegistry parent;
    ASSERT_TRUE(parent.OpenKeyPath("App"));
    ASSERT_TRUE(parent.OpenKey("Elsewhere", true));
    BryRegistry child(&parent, "Item");
    child.WriteInteger("v", 1);
    EXPECT_EQ(ReadIntegerAt("App\\Item", "v"), 1);
}

TEST(BryRegistryTest, TheCopyLikeConstructorOpensTheSourcesPath) {
    zuvtest::ScopedConfigHome home;
    BryRegistry source;
    ASSERT_TRUE(source.OpenKeyPath("App\\\\View"));
    BryRegistry copy(&source);
    EXPECT_EQ(copy.GetKeyPath(), "App\\\\View");
    copy.WriteInteger("Width", 524);
    EXPECT_EQ(source.ReadInteger("Width"), 524);

    BryRegistry empty;
    BryRegistry copyOfEmpty(&empty);
    EXPECT_EQ(copyOfEmpty.GetKeyPath(), "");
    EXPECT_THROW(copyOfEmpty.WriteInteger("Width", 1), ERegistryException);
}

TEST(BryRegistryTest, KeyPathsIgnoreCaseSoBothSpellingsShareTheApplicationKey) {
    zuvtest::ScopedConfigHome home;
    BryRegistry view;
    ASSERT_TRUE(view.OpenKeyPath("Software\\BryApp\\ZuvEditorChan\\View"));
    view.WriteInteger("Width", 600);
    BryRegistry settings;
    ASSERT_TRUE(settings.OpenKeyPath("Software\\BRyApp\\ZuvEditorChan"));
    settings.WriteInteger("Count", 0);
    BryRegistry viewAgain(&settings, "View");
    EXPECT_EQ(viewAgain.ReadInteger("Width"), 600);
    EXPECT_EQ(ReadIntegerAt("Software\\BryApp\\ZuvEditorChan", "Count"), 0);
}

} // namespace
