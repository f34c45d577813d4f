// The menu commands driven through the main window's actions, the drops and
// the close box, with every dialog answered from a timer.
#include "Fixtures.h"
#include "GuiTestSupport.h"
#include "app/ZuvEditor.h"
#include "platform/TRegistry.h"
#include "tests/support/TempDir.h"
#include "ui/ZuvView.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QFontDialog>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using zuvtest::DocumentBytes;
using Reply = zuvtest::DialogScript::Reply;

constexpr char kSaveQuestion[] = "更新されてるよ。\n保存する？";
constexpr char kCloseQuestion[] = "まだ保存してないよ。\n本当に終了していいの？";
constexpr char kDefaultsQuestion[] = "今のウインドウサイズとフォントを\nデフォルトとして保存する？";
const std::string kDocBytes = DocumentBytes(KanjiCode::SJIS, NewlineType::CR_LF);
const std::string kOtherBytes = DocumentBytes(KanjiCode::EUC, NewlineType::LF);

enum class Command { Open, OpenAs, Save, SaveAs, Drop, CloseBox, ExitMenu };

// One answer to one dialog; names are files of the test folder ("" cancels).
struct Answer {
    enum Kind { Question, Overwrite, File, Codes } kind;
    std::string a;
    std::string b;
    Reply reply = Reply::Yes;
};

Answer Ask(const char* text, Reply reply) {
    return {Answer::Question, text, "", reply};
}
Answer Overwrite(Reply reply) {
    return {Answer::Overwrite, "", "", reply};
}
Answer File(const char* name) {
    return {Answer::File, name, ""};
}
Answer Codes(const char* kanji, const char* newline = "") {
    return {Answer::Codes, kanji, newline};
}

// The document after a command.
struct After {
    const char* fileName; // "" for a new document
    KanjiCode kanjiCode;
    NewlineType newlineType;
    bool modified;
};
const After kNewUnsaved{"", KanjiCode::SJIS, NewlineType::CR_LF, true};
const After kDocUnsaved{"doc.txt", KanjiCode::SJIS, NewlineType::CR_LF, true};
const After kDocSaved{"doc.txt", KanjiCode::SJIS, NewlineType::CR_LF, false};
const After kOtherOpened{"other.txt", KanjiCode::EUC, NewlineType::LF, false};

// A file and the bytes it must hold afterwards.
struct Written {
    const char* file;
    std::string bytes;
};
const Written kNothingWritten{nullptr, ""};

// The document before a command.
struct Before {
    bool named;                    // doc.txt (SJIS, CR LF) is open; otherwise a new document
    bool modified;                 // an "x" typed at the start
    const char* setting = nullptr; // "EUC LF": the stored setting for .txt
};
const Before kNewDoc{false, false};
const Before kNewEdited{false, true};
const Before kDocOpen{true, false};
const Before kDocEdited{true, true};
const Before kDocEditedEucLfSetting{true, true, "EUC LF"};

struct FlowCase {
    const char* name;
    Before before;
    Command command;
    std::vector<Answer> answers;
    std::vector<std::string> seen; // what each dialog showed
    After after;
    Written written;
    bool windowOpen = true;
};

const std::string kEdited = "x" + kDocBytes;
const std::string kEditedEucLf = "x" + DocumentBytes(KanjiCode::EUC, NewlineType::LF);

const FlowCase kFlows[] = {
    // Save
    {"SaveNewCancelled",
     kNewEdited,
     Command::Save,
     {File("")},
     {"save"},
     kNewUnsaved,
     kNothingWritten},
    {"SaveNewChoosesFile",
     kNewEdited,
     Command::Save,
     {File("saved.txt")},
     {"save"},
     After{"saved.txt", KanjiCode::SJIS, NewlineType::CR_LF, false},
     {"saved.txt", "x\r\n"}},
    {"SaveWithoutSettingAsksNothing",
     kDocEdited,
     Command::Save,
     {},
     {},
     kDocSaved,
     {"doc.txt", kEdited}},
    {"SaveUnmodifiedWritesToo",
     Before{true, false, "SJIS CR LF"},
     Command::Save,
     {},
     {},
     kDocSaved,
     {"doc.txt", kDocBytes}},
    {"SaveSettingDiffersConfirmed",
     kDocEditedEucLfSetting,
     Command::Save,
     {Codes("EUC", "LF")},
     {"EUC LF"},
     After{"doc.txt", KanjiCode::EUC, NewlineType::LF, false},
     {"doc.txt", kEditedEucLf}},
    {"SaveSettingDiffersOtherChoice",
     kDocEditedEucLfSetting,
     Command::Save,
     {Codes("JIS", "CR")},
     {"EUC LF"},
     After{"doc.txt", KanjiCode::JIS, NewlineType::CR, false},
     {"doc.txt", "x" + DocumentBytes(KanjiCode::JIS, NewlineType::CR)}},
    {"SaveSettingDiffersCancelled",
     kDocEditedEucLfSetting,
     Command::Save,
     {Codes("")},
     {"EUC LF"},
     kDocUnsaved,
     {"doc.txt", kDocBytes}},
    // Save as
    {"SaveAsPresetsDocumentCodesNotSetting",
     kDocEditedEucLfSetting,
     Command::SaveAs,
     {File("saved.txt"), Codes("JIS", "CR")},
     {"save", "SJIS CRLF"},
     After{"saved.txt", KanjiCode::JIS, NewlineType::CR, false},
     {"saved.txt", "x" + DocumentBytes(KanjiCode::JIS, NewlineType::CR)}},
    {"SaveAsFileCancelled",
     kDocEdited,
     Command::SaveAs,
     {File("")},
     {"save"},
     kDocUnsaved,
     kNothingWritten},
    {"SaveAsCodesCancelled",
     kDocEdited,
     Command::SaveAs,
     {File("saved.txt"), Codes("")},
     {"save", "SJIS CRLF"},
     kDocUnsaved,
     kNothingWritten},
    // The confirmed codes are taken at once; the name and flag only by a write.
    {"SaveAsWriteFailureTakesOnlyTheCodes",
     kDocEdited,
     Command::SaveAs,
     {File("missing-folder/saved.txt"), Codes("EUC", "LF")},
     {"save", "SJIS CRLF"},
     After{"doc.txt", KanjiCode::EUC, NewlineType::LF, true},
     {"doc.txt", kDocBytes}},
    // Open and open with code
    {"OpenUnmodified",
     kDocOpen,
     Command::Open,
     {File("other.txt")},
     {"open"},
     kOtherOpened,
     kNothingWritten},
    {"OpenAsAsksKanjiCodeOnly",
     kNewDoc,
     Command::OpenAs,
     {File("other.txt"), Codes("EUC")},
     {"open", "SJIS"},
     kOtherOpened,
     kNothingWritten},
    {"OpenAsCancelled",
     kDocOpen,
     Command::OpenAs,
     {File("other.txt"), Codes("")},
     {"open", "SJIS"},
     kDocSaved,
     kNothingWritten},
    {"OpenModifiedNo",
     kDocEdited,
     Command::Open,
     {Ask(kSaveQuestion, Reply::No), File("other.txt")},
     {"question", "open"},
     kOtherOpened,
     {"doc.txt", kDocBytes}},
    {"OpenModifiedCloseBoxCountsAsNo",
     kDocEdited,
     Command::Open,
     {Ask(kSaveQuestion, Reply::CloseBox), File("other.txt")},
     {"question", "open"},
     kOtherOpened,
     {"doc.txt", kDocBytes}},
    {"OpenModifiedNoThenCancelKeepsText",
     kDocEdited,
     Command::Open,
     {Ask(kSaveQuestion, Reply::No), File("")},
     {"question", "open"},
     kDocUnsaved,
     kNothingWritten},
    {"OpenModifiedNewYesSavesFirst",
     kNewEdited,
     Command::Open,
     {Ask(kSaveQuestion, Reply::Yes), File("saved.txt"), File("other.txt")},
     {"question", "save", "open"},
     kOtherOpened,
     {"saved.txt", "x\r\n"}},
    {"OpenModifiedNewYesCancelAbandons",
     kNewEdited,
     Command::Open,
     {Ask(kSaveQuestion, Reply::Yes), File("")},
     {"question", "save"},
     kNewUnsaved,
     kNothingWritten},
    {"OpenModifiedNamedOverwrite",
     kDocEdited,
     Command::Open,
     {Ask(kSaveQuestion, Reply::Yes), Overwrite(Reply::Yes), File("other.txt")},
     {"question", "question", "open"},
     kOtherOpened,
     {"doc.txt", kEdited}},
    {"OpenModifiedNamedNoOverwriteCancelAbandons",
     kDocEdited,
     Command::Open,
     {Ask(kSaveQuestion, Reply::Yes), Overwrite(Reply::No), File("")},
     {"question", "question", "save"},
     kDocUnsaved,
     {"doc.txt", kDocBytes}},
    {"OpenModifiedNamedNoOverwriteSavesElsewhere",
     kDocEdited,
     Command::Open,
     {Ask(kSaveQuestion, Reply::Yes), Overwrite(Reply::No), File("saved.txt"), File("other.txt")},
     {"question", "question", "save", "open"},
     kOtherOpened,
     {"saved.txt", kEdited}},
    {"OpenModifiedSettingCancelAbandons",
     kDocEditedEucLfSetting,
     Command::Open,
     {Ask(kSaveQuestion, Reply::Yes), Overwrite(Reply::Yes), Codes("")},
     {"question", "question", "EUC LF"},
     kDocUnsaved,
     {"doc.txt", kDocBytes}},
    // Drops: other.txt, doc.txt and saved.txt, in this order
    {"DropOpensOnlyTheFirst", kNewDoc, Command::Drop, {}, {}, kOtherOpened, kNothingWritten},
    {"DropModifiedAsksFirst",
     kDocEdited,
     Command::Drop,
     {Ask(kSaveQuestion, Reply::No)},
     {"question"},
     kOtherOpened,
     {"doc.txt", kDocBytes}},
    {"DropModifiedCancelledAbandons",
     kDocEdited,
     Command::Drop,
     {Ask(kSaveQuestion, Reply::Yes), Overwrite(Reply::No), File("")},
     {"question", "question", "save"},
     kDocUnsaved,
     kNothingWritten},
    // Closing
    {"CloseUnmodifiedAsksNothing",
     kDocOpen,
     Command::CloseBox,
     {},
     {},
     kDocSaved,
     kNothingWritten,
     false},
    {"CloseModifiedNoStaysOpen",
     kDocEdited,
     Command::CloseBox,
     {Ask(kCloseQuestion, Reply::No)},
     {"question"},
     kDocUnsaved,
     {"doc.txt", kDocBytes}},
    {"CloseModifiedQuestionClosedStaysOpen",
     kDocEdited,
     Command::CloseBox,
     {Ask(kCloseQuestion, Reply::CloseBox)},
     {"question"},
     kDocUnsaved,
     kNothingWritten},
    {"CloseModifiedYesCloses",
     kDocEdited,
     Command::CloseBox,
     {Ask(kCloseQuestion, Reply::Yes)},
     {"question"},
     kDocUnsaved,
     {"doc.txt", kDocBytes},
     false},
    {"ExitMenuRunsTheCloseQuery",
     kDocEdited,
     Command::ExitMenu,
     {Ask(kCloseQuestion, Reply::No)},
     {"question"},
     kDocUnsaved,
     kNothingWritten},
};

void StoreTxtSetting(const std::string& codes) {
    const auto blank = codes.find(' ');
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\BRyApp\\ZuvEditorChan", true));
    registry.WriteInteger("Count", 1);
    ASSERT_TRUE(registry.OpenKey("Extension_0", true));
    registry.WriteString("Extension", "txt");
    registry.WriteString("KanjiCode", codes.substr(0, blank));
    registry.WriteString("NewlineType", codes.substr(blank + 1));
}

void Drop(QWidget* target, const std::vector<std::string>& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
    mime.setUrls(urls);
    // As in a real drag, the target sees the drag enter before the drop.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        zuvtest::WriteBytes(Path("doc.txt"), kDocBytes);
        zuvtest::WriteBytes(Path("other.txt"), kOtherBytes);
    }
    std::string Path(const std::string& name) const { return name.empty() ? "" : dir.File(name); }
    std::unique_ptr<ZuvEditor> Start(bool named) {
        const std::string doc = Path("doc.txt");
        return std::make_unique<ZuvEditor>(named ? zuvtest::Lines({doc.c_str()}) : TStringList());
    }
    static TZuvViewForm& Form(const ZuvEditor& editor) { return *editor.View()->Form(); }

    void Script(zuvtest::DialogScript& script, const std::vector<Answer>& answers) {
        for (const Answer& answer : answers) {
            switch (answer.kind) {
            case Answer::Question:
                script.Question(answer.a, answer.reply);
                break;
            case Answer::Overwrite:
                script.Question(Path("doc.txt") + "\nに上書きするの？", answer.reply);
                break;
            case Answer::File:
                script.File(Path(answer.a));
                break;
            case Answer::Codes:
                script.Codes(answer.a, answer.b);
                break;
            }
        }
    }

    void Run(ZuvEditor& editor, Command command) {
        TZuvViewForm& form = Form(editor);
        switch (command) {
        case Command::Open:
            return form.MainMenu_File_Open->trigger();
        case Command::OpenAs:
            return form.MainMenu_File_OpenAs->trigger();
        case Command::Save:
            return form.MainMenu_File_Save->trigger();
        case Command::SaveAs:
            return form.MainMenu_File_SaveAs->trigger();
        case Command::Drop:
            return Drop(form.ViewEdit->viewport(),
                        {Path("other.txt"), Path("doc.txt"), Path("saved.txt")});
        case Command::CloseBox:
            form.close();
            return;
        case Command::ExitMenu:
            return form.MainMenu_File_Exit->trigger();
        }
    }

    zuvtest::ScopedConfigHome configHome;
    zuvtest::TempDir dir;
};

class CommandFlowTest : public CommandTest, public ::testing::WithParamInterface<FlowCase> {};

TEST_P(CommandFlowTest, FollowsItsFlow) {
    const FlowCase& c = GetParam();
    if (c.before.setting)
        StoreTxtSetting(c.before.setting);
    const auto editor = Start(c.before.named);
    if (c.before.modified)
        Form(*editor).ViewEdit->SendScintilla(QsciScintillaBase::SCI_ADDTEXT, 1, "x");
    const TStringList before = *editor->View()->GetLines();
    {
        zuvtest::DialogScript script;
        Script(script, c.answers);
        Run(*editor, c.command);
        EXPECT_TRUE(script.AllStepsRun());
        EXPECT_EQ(script.Records(), c.seen);
        EXPECT_TRUE(script.Unexpected().empty()) << script.Unexpected().front();
    }
    const After& after = c.after;
    EXPECT_EQ(editor->FileName(), Path(after.fileName));
    EXPECT_EQ(editor->GetKanjiCode(), after.kanjiCode);
    EXPECT_EQ(editor->GetNewlineType(), after.newlineType);
    EXPECT_EQ(editor->View()->IsModified(), after.modified);
    EXPECT_EQ(Form(*editor).isVisible(), c.windowOpen);
    if (c.written.file) {
        EXPECT_EQ(zuvtest::ReadBytes(Path(c.written.file)), c.written.bytes);
    }
    if (!c.written.file || std::string(c.written.file) != "saved.txt") {
        EXPECT_FALSE(std::filesystem::exists(Path("saved.txt")));
    }
    // The title and status bar follow the document.
    const std::string shown = after.fileName[0] ? Path(after.fileName) : "(新規ファイル)";
    EXPECT_EQ(Form(*editor).Caption(), "Z.U.V.Editorちゃん  " + shown);
    EXPECT_EQ(Form(*editor).StatusText(0), BryKanjiFilter::CodeToName(after.kanjiCode));
    EXPECT_EQ(Form(*editor).StatusText(1), BryNewlineFilter::TypeToName(after.newlineType));
    // The text is the file opened, or else what it was.
    const TStringList opened = zuvtest::Lines({zuvtest::kAsciiLine, zuvtest::kSjisLine});
    EXPECT_EQ(*editor->View()->GetLines(),
              editor->FileName() == Path("other.txt") ? opened : before);
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandFlowTest, ::testing::ValuesIn(kFlows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandTest, FilesDroppedOnTheWindowOutsideTheEditOpenTheFirst) {
    const auto editor = Start(false);
    Drop(&Form(*editor), {Path("other.txt"), Path("doc.txt")});
    EXPECT_EQ(editor->FileName(), Path("other.txt"));
    EXPECT_EQ(Form(*editor).StatusText(0), "EUC");
}

TEST_F(CommandTest, DroppedFileIsNotInsertedAsText) {
    const auto editor = Start(true);
    const TStringList before = *editor->View()->GetLines();
    Drop(Form(*editor).ViewEdit->viewport(), {Path("missing.txt")});
    EXPECT_EQ(*editor->View()->GetLines(), before);
    EXPECT_EQ(editor->FileName(), Path("doc.txt"));
    EXPECT_FALSE(editor->View()->IsModified());
}

class DefaultsTest : public CommandTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DefaultsTest, StoresWindowSizeAndFontOnlyOnYes) {
    const bool yes = GetParam();
    const auto editor = Start(false);
    Form(*editor).SetSize(600, 450);
    Form(*editor).ViewEdit->SetFont(TFont{"IPAGothic", 12, 0xFF, true});
    {
        zuvtest::DialogScript script;
        script.Question(kDefaultsQuestion, yes ? Reply::Yes : Reply::No);
        Form(*editor).MainMenu_Option_Defaults->trigger();
        EXPECT_EQ(script.Records(), std::vector<std::string>{"question"});
    }
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\BryApp\\ZuvEditorChan\\View", false));
    if (!yes) {
        EXPECT_THROW(registry.ReadInteger("Width"), ERegistryException);
        EXPECT_FALSE(registry.OpenKey("Font", false));
        return;
    }
    EXPECT_EQ(registry.ReadInteger("Width"), 600);
    EXPECT_EQ(registry.ReadInteger("Height"), 450);
    ASSERT_TRUE(registry.OpenKey("Font", false));
    EXPECT_EQ(registry.ReadString("Name"), "IPAGothic");
    EXPECT_EQ(registry.ReadInteger("Size"), 12);
    EXPECT_EQ(registry.ReadInteger("Color"), 0xFF);
    EXPECT_EQ(registry.ReadInteger("Bold"), 1);
}

INSTANTIATE_TEST_SUITE_P(Answers, DefaultsTest, ::testing::Bool());

TEST_F(CommandTest, ClosedExtensionDialogChangesNothing) {
    StoreTxtSetting("EUC LF");
    const auto editor = Start(true);
    const std::string hive = zuvtest::ReadBytes((configHome.Path() / "zuvedit/user.reg").string());
    {
        zuvtest::DialogScript script;
        script.Then([](QWidget* dialog, std::string& record) {
            record = "settings";
            dialog->close();
        });
        Form(*editor).MainMenu_Option_Extension->trigger();
        EXPECT_EQ(script.Records(), std::vector<std::string>{"settings"});
    }
    EXPECT_EQ(zuvtest::ReadBytes((configHome.Path() / "zuvedit/user.reg").string()), hive);
    EXPECT_EQ(Form(*editor).StatusText(0), "SJIS");
}

TEST_F(CommandTest, EditMenuEnablesItsItemsWhenOpened) {
    const auto editor = Start(true);
    TZuvViewForm& form = Form(*editor);
    for (const bool withText : {false, true}) {
        QGuiApplication::clipboard()->clear();
        if (withText)
            QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
        for (const bool selected : {false, true}) {
            form.ViewEdit->setSelection(0, 0, 0, selected ? 3 : 0);
            form.MainMenu_Edit->popup(QPoint(0, 0));
            form.MainMenu_Edit->hide();
            EXPECT_EQ(form.MainMenu_Edit_Cut->isEnabled(), selected);
            EXPECT_EQ(form.MainMenu_Edit_Copy->isEnabled(), selected);
            EXPECT_EQ(form.MainMenu_Edit_Delete->isEnabled(), selected);
            EXPECT_EQ(form.MainMenu_Edit_Paste->isEnabled(), withText);
            EXPECT_TRUE(form.MainMenu_Edit_Undo->isEnabled());
            EXPECT_TRUE(form.MainMenu_Edit_SelectAll->isEnabled());
        }
    }
}

TEST_F(CommandTest, EditingCommandsActOnTheEditControl) {
    const auto editor = Start(false);
    TZuvViewForm& form = Form(*editor);
    ZuvView& view = *editor->View();
    const auto text = [&] { return *view.GetLines(); };
    view.SetLines(zuvtest::Lines({"hello world"}));
    form.MainMenu_Edit_SelectAll->trigger();
    EXPECT_EQ(form.ViewEdit->SelLength(), 12); // the line break included
    form.MainMenu_Edit_Copy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("hello world\n"));
    form.ViewEdit->setSelection(0, 0, 0, 6);
    form.MainMenu_Edit_Cut->trigger();
    EXPECT_EQ(text(), zuvtest::Lines({"world"}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("hello "));
    EXPECT_TRUE(view.IsModified());
    form.ViewEdit->setSelection(0, 5, 0, 5);
    form.MainMenu_Edit_Paste->trigger();
    EXPECT_EQ(text(), zuvtest::Lines({"worldhello "}));
    form.MainMenu_Edit_Undo->trigger();
    EXPECT_EQ(text(), zuvtest::Lines({"world"}));
    form.ViewEdit->setSelection(0, 1, 0, 3);
    form.MainMenu_Edit_Delete->trigger();
    EXPECT_EQ(text(), zuvtest::Lines({"wld"}));
}

TEST_F(CommandTest, MenuBarHasItsCaptionsAndHidesTheFindMenu) {
    const auto editor = Start(false);
    std::vector<std::string> shown;
    for (const QAction* menu : Form(*editor).MainMenu->actions()) {
        if (menu->isVisible())
            shown.push_back(menu->text().toStdString());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "ｵﾌﾟｼｮﾝ(&O)",
                                               "ﾍﾙﾌﾟ(&H)"}));
    EXPECT_FALSE(Form(*editor).MainMenu_Find->menuAction()->isVisible());
}

TEST_F(CommandTest, MenusHoldTheirItemsInOrderWithoutShortcutKeys) {
    const auto editor = Start(false);
    const TZuvViewForm& f = Form(*editor);
    const std::pair<QMenu*, std::vector<std::string>> menus[] = {
        {f.MainMenu_File,
         {"開く(&O)...", "コードを指定して開く(&C)...", "上書き保存(&S)", "名前を付けて保存(&A)...",
          "", "終了(&X)"}},
        {f.MainMenu_Edit,
         {"元に戻す(&U)", "", "切り取り(&T)", "コピー(&C)", "張り付け(&P)", "削除(&D)", "",
          "すべて選択(&L)"}},
        {f.MainMenu_Find, {"検索(&F)...", "検索と置換(&R)..."}},
        {f.MainMenu_Show, {"フォント(&F)..."}},
        {f.MainMenu_Option, {"拡張子設定(&E)...", "デフォルト設定(&E)..."}},
        {f.MainMenu_Help, {"ﾊﾞｰｼﾞｮﾝ情報(&A)..."}},
    };
    for (const auto& [menu, captions] : menus) {
        std::vector<std::string> shown;
        for (const QAction* item : menu->actions()) {
            shown.push_back(item->isSeparator() ? "" : item->text().toStdString());
            EXPECT_TRUE(item->shortcut().isEmpty()) << shown.back();
        }
        EXPECT_EQ(shown, captions);
    }
}

TEST_F(CommandTest, FontDialogAppliesOnOkOnly) {
    const auto editor = Start(false);
    TZuvViewForm& form = Form(*editor);
    const TFont design = form.ViewEdit->Font();
    for (const bool ok : {false, true}) {
        zuvtest::DialogScript script;
        script.Then([ok](QWidget* dialog, std::string& record) {
            auto* fontDialog = dynamic_cast<TZuvFontDialog*>(dialog);
            record = fontDialog ? "font" : "other";
            if (!fontDialog) {
                dialog->close();
                return;
            }
            QFont font = fontDialog->FontChooser->currentFont();
            font.setPointSize(16);
            font.setStrikeOut(true);
            fontDialog->FontChooser->setCurrentFont(font);
            fontDialog->ColorBox->setCurrentIndex(fontDialog->ColorBox->findText("赤"));
            if (ok)
                fontDialog->accept();
            else
                fontDialog->reject();
        });
        form.MainMenu_Show_Font->trigger();
        EXPECT_EQ(script.Records(), std::vector<std::string>{"font"});
        if (!ok) {
            EXPECT_EQ(form.ViewEdit->Font(), design);
            continue;
        }
        EXPECT_EQ(form.ViewEdit->Font().Size, 16);
        EXPECT_TRUE(form.ViewEdit->Font().StrikeOut);
        EXPECT_EQ(form.ViewEdit->Font().Color, 0x000000FFu);
    }
}

} // namespace
