// Start-up, the load and save pipelines and long-path expansion of the controller.
#include "app/ZuvEditor.h"
#include "Fixtures.h"
#include "GuiTestSupport.h"
#include "tests/support/TempDir.h"
#include "ui/ZuvView.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

using zuvtest::DocumentBytes;
using zuvtest::kAsciiLine;
using zuvtest::kSjisLine;

constexpr char kTitlePrefix[] = "Z.U.V.Editorちゃん  ";

class EditorTest : public ::testing::Test {
protected:
    std::unique_ptr<ZuvEditor> Start(std::initializer_list<const char*> arguments = {}) {
        return std::make_unique<ZuvEditor>(zuvtest::Lines(arguments));
    }
    static TZuvViewForm& Form(const ZuvEditor& editor) { return *editor.View()->Form(); }
    static TStringList Text(const ZuvEditor& editor) { return *editor.View()->GetLines(); }
    // Types a character, as a user edit that sets the modified flag.
    static void Edit(ZuvEditor& editor) {
        Form(editor).ViewEdit->SendScintilla(QsciScintillaBase::SCI_ADDTEXT, 1, "x");
    }

    zuvtest::ScopedConfigHome configHome;
    zuvtest::TempDir dir;
};

TEST_F(EditorTest, StartsWithoutArgumentAsEmptyNewDocument) {
    const auto editor = Start();
    EXPECT_EQ(Form(*editor).Caption(), std::string(kTitlePrefix) + "(新規ファイル)");
    EXPECT_EQ(Form(*editor).StatusText(0), "SJIS");
    EXPECT_EQ(Form(*editor).StatusText(1), "CR LF");
    EXPECT_EQ(Form(*editor).StatusText(2), "");
    EXPECT_FALSE(editor->View()->IsModified());
    EXPECT_TRUE(Form(*editor).isVisible());
    EXPECT_EQ(editor->FileName(), "");
    EXPECT_EQ(Text(*editor).Count(), 0);
}

TEST_F(EditorTest, StartsWithMissingFileAsNewDocument) {
    const std::string missing = dir.File("missing.txt");
    const auto editor = Start({missing.c_str()});
    EXPECT_EQ(Form(*editor).Caption(), std::string(kTitlePrefix) + "(新規ファイル)");
    EXPECT_EQ(editor->FileName(), "");
    EXPECT_EQ(Form(*editor).StatusText(0), "SJIS");
    EXPECT_EQ(Text(*editor).Count(), 0);
}

TEST_F(EditorTest, OnlyTheFirstArgumentIsOpened) {
    const std::string first = dir.File("first.txt");
    const std::string second = dir.File("second.txt");
    zuvtest::WriteBytes(first, "first\n");
    zuvtest::WriteBytes(second, "second\n");
    const auto editor = Start({first.c_str(), second.c_str()});
    EXPECT_EQ(editor->FileName(), first);
    EXPECT_EQ(Text(*editor), zuvtest::Lines({"first"}));
}

struct CodeCase {
    KanjiCode code;
    NewlineType type;
    const char* codeName;
    const char* typeName;
};

constexpr CodeCase kCodeCases[] = {
    {KanjiCode::SJIS, NewlineType::CR_LF, "SJIS", "CR LF"},
    {KanjiCode::SJIS, NewlineType::LF, "SJIS", "LF"},
    {KanjiCode::SJIS, NewlineType::CR, "SJIS", "CR"},
    {KanjiCode::JIS, NewlineType::CR_LF, "JIS", "CR LF"},
    {KanjiCode::JIS, NewlineType::LF, "JIS", "LF"},
    {KanjiCode::JIS, NewlineType::CR, "JIS", "CR"},
    {KanjiCode::EUC, NewlineType::CR_LF, "EUC", "CR LF"},
    {KanjiCode::EUC, NewlineType::LF, "EUC", "LF"},
    {KanjiCode::EUC, NewlineType::CR, "EUC", "CR"},
};

class EditorCodeTest : public EditorTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(EditorCodeTest, StartsWithFileInItsDetectedCodes) {
    const CodeCase& c = GetParam();
    const std::string path = dir.File("日本語.txt");
    zuvtest::WriteBytes(path, DocumentBytes(c.code, c.type));
    const auto editor = Start({path.c_str()});
    EXPECT_EQ(editor->FileName(), path);
    EXPECT_EQ(Form(*editor).Caption(), kTitlePrefix + path);
    EXPECT_EQ(Form(*editor).StatusText(0), c.codeName);
    EXPECT_EQ(Form(*editor).StatusText(1), c.typeName);
    EXPECT_EQ(editor->GetKanjiCode(), c.code);
    EXPECT_EQ(editor->GetNewlineType(), c.type);
    EXPECT_EQ(Text(*editor), zuvtest::Lines({kAsciiLine, kSjisLine}));
    EXPECT_FALSE(editor->View()->IsModified());
}

TEST_P(EditorCodeTest, SaveFileWritesInTheGivenCodesAndKeepsTheState) {
    const CodeCase& c = GetParam();
    const std::string source = dir.File("source.txt");
    const std::string target = dir.File("target.txt");
    zuvtest::WriteBytes(source, DocumentBytes(KanjiCode::SJIS, NewlineType::CR_LF));
    const auto editor = Start({source.c_str()});
    Edit(*editor);
    ASSERT_TRUE(editor->SaveFile(target, c.code, c.type));
    EXPECT_EQ(zuvtest::ReadBytes(target), "x" + DocumentBytes(c.code, c.type));
    // The callers do the bookkeeping, not the pipeline.
    EXPECT_EQ(editor->FileName(), source);
    EXPECT_EQ(editor->GetKanjiCode(), KanjiCode::SJIS);
    EXPECT_EQ(editor->GetNewlineType(), NewlineType::CR_LF);
    EXPECT_TRUE(editor->View()->IsModified());
}

INSTANTIATE_TEST_SUITE_P(AllCodes, EditorCodeTest, ::testing::ValuesIn(kCodeCases));

TEST_F(EditorTest, LoadFileDetectsFromTheFirstDecidingLineAndConvertsAllLines) {
    std::string bytes;
    for (int i = 0; i < 9; ++i)
        bytes += "ascii line\n";
    bytes += std::string(zuvtest::kEucLine) + "\n" + zuvtest::kEucLine + "\n";
    const std::string path = dir.File("late.txt");
    zuvtest::WriteBytes(path, bytes);
    const auto editor = Start();
    ASSERT_TRUE(editor->LoadFile(path, KanjiCode::UNKNOWN));
    const TStringList text = Text(*editor);
    ASSERT_EQ(text.Count(), 11);
    EXPECT_EQ(text.Strings(0), "ascii line");
    EXPECT_EQ(text.Strings(9), kSjisLine);
    EXPECT_EQ(text.Strings(10), kSjisLine);
    EXPECT_EQ(editor->GetKanjiCode(), KanjiCode::EUC);
    EXPECT_EQ(editor->GetNewlineType(), NewlineType::LF);
    // LoadFile leaves the file name and the flag to its callers.
    EXPECT_EQ(editor->FileName(), "");
}

TEST_F(EditorTest, LoadFileWithStatedCodeIgnoresTheContent) {
    const std::string path = dir.File("euc.txt");
    zuvtest::WriteBytes(path, DocumentBytes(KanjiCode::EUC, NewlineType::LF));
    const auto editor = Start();
    ASSERT_TRUE(editor->LoadFile(path, KanjiCode::SJIS));
    EXPECT_EQ(Text(*editor), zuvtest::Lines({kAsciiLine, zuvtest::kEucLine}));
    EXPECT_EQ(editor->GetKanjiCode(), KanjiCode::SJIS);
    ASSERT_TRUE(editor->LoadFile(path, KanjiCode::EUC));
    EXPECT_EQ(Text(*editor), zuvtest::Lines({kAsciiLine, kSjisLine}));
    EXPECT_EQ(editor->GetKanjiCode(), KanjiCode::EUC);
}

TEST_F(EditorTest, UndecidedFilesReadAsSjisAndKeepThePreviousNewlineWithoutLineEnds) {
    const std::string ascii = dir.File("ascii.txt");
    const std::string empty = dir.File("empty.txt");
    const std::string lf = dir.File("lf.txt");
    zuvtest::WriteBytes(ascii, "no line end");
    zuvtest::WriteBytes(empty, "");
    zuvtest::WriteBytes(lf, DocumentBytes(KanjiCode::JIS, NewlineType::LF));
    const auto editor = Start({ascii.c_str()});
    EXPECT_EQ(editor->GetKanjiCode(), KanjiCode::SJIS);
    EXPECT_EQ(editor->GetNewlineType(), NewlineType::CR_LF);
    EXPECT_EQ(Text(*editor), zuvtest::Lines({"no line end"}));
    ASSERT_TRUE(editor->LoadFile(lf, KanjiCode::UNKNOWN));
    ASSERT_TRUE(editor->LoadFile(empty, KanjiCode::UNKNOWN));
    EXPECT_EQ(editor->GetKanjiCode(), KanjiCode::SJIS);
    EXPECT_EQ(editor->GetNewlineType(), NewlineType::LF);
    EXPECT_EQ(Text(*editor).Count(), 0);
}

TEST_F(EditorTest, ReadFailureLeavesTheOpenDocumentUntouched) {
    const std::string path = dir.File("open.txt");
    zuvtest::WriteBytes(path, DocumentBytes(KanjiCode::EUC, NewlineType::CR));
    const auto editor = Start({path.c_str()});
    Edit(*editor);
    const TStringList before = Text(*editor);
    const std::string title = Form(*editor).Caption();
    for (const std::string& unreadable : {dir.File("missing.txt"), dir.Path().string()}) {
        EXPECT_FALSE(editor->LoadFile(unreadable, KanjiCode::UNKNOWN)) << unreadable;
        editor->UpdateStatus();
        EXPECT_EQ(Text(*editor), before);
        EXPECT_TRUE(editor->View()->IsModified());
        EXPECT_EQ(editor->FileName(), path);
        EXPECT_EQ(editor->GetKanjiCode(), KanjiCode::EUC);
        EXPECT_EQ(editor->GetNewlineType(), NewlineType::CR);
        EXPECT_EQ(Form(*editor).Caption(), title);
    }
}

TEST_F(EditorTest, WriteFailureReturnsFalseAndKeepsTheTarget) {
    const auto editor = Start();
    editor->View()->SetLines(zuvtest::Lines({"text"}));
    EXPECT_FALSE(
        editor->SaveFile(dir.File("no/such/folder.txt"), KanjiCode::SJIS, NewlineType::LF));
    EXPECT_FALSE(editor->SaveFile(dir.Path().string(), KanjiCode::EUC, NewlineType::LF));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path()));
}

TEST_F(EditorTest, SavedFileReadsBackToTheSameLines) {
    const auto editor = Start();
    const TStringList lines = zuvtest::Lines({kSjisLine, "", "\x81\x60 tab\tend", kAsciiLine});
    editor->View()->SetLines(lines);
    const std::string path = dir.File("round.txt");
    for (KanjiCode code : {KanjiCode::SJIS, KanjiCode::JIS, KanjiCode::EUC}) {
        ASSERT_TRUE(editor->SaveFile(path, code, NewlineType::CR));
        ASSERT_TRUE(editor->LoadFile(path, KanjiCode::UNKNOWN));
        EXPECT_EQ(Text(*editor), lines);
        EXPECT_EQ(editor->GetKanjiCode(), code);
        EXPECT_EQ(editor->GetNewlineType(), NewlineType::CR);
    }
}

TEST_F(EditorTest, ExpandLongPathKeepsExistingPathsAndRelativeForm) {
    std::filesystem::create_directories(dir.Path() / "sub");
    const std::string file = dir.File("sub/a.txt");
    zuvtest::WriteBytes(file, "");
    EXPECT_EQ(ZuvEditor::ExpandLongPath(file), file);
    EXPECT_EQ(ZuvEditor::ExpandLongPath(dir.File("sub/missing.txt")), dir.File("sub/missing.txt"));
    EXPECT_EQ(ZuvEditor::ExpandLongPath("/"), "/");

    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    EXPECT_EQ(ZuvEditor::ExpandLongPath("sub/a.txt"), "sub/a.txt");
    EXPECT_EQ(ZuvEditor::ExpandLongPath("a.txt"), "a.txt");
    EXPECT_EQ(ZuvEditor::ExpandLongPath("sub//a.txt"), "sub//a.txt");
    std::filesystem::current_path(previous);
}

TEST_F(EditorTest, ExpandLongPathPrefersTheGivenNameOfAHardLink) {
    const std::string original = dir.File("original.txt");
    const std::string link = dir.File("link.txt");
    zuvtest::WriteBytes(original, "");
    ASSERT_EQ(::link(original.c_str(), link.c_str()), 0);
    EXPECT_EQ(ZuvEditor::ExpandLongPath(link), link);
    EXPECT_EQ(ZuvEditor::ExpandLongPath(original), original);
}

} // namespace
