#include "settings/ZuvExtensionManager.h"
#include "ui/TZuvExtensionMaintenanceForm.h"

#include "platform/TRegistry.h"
#include "tests/support/TempDir.h"
#include "tests/ui/ModalDriver.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Form = TZuvExtensionMaintenanceForm;
using Step = std::function<void(Form*)>;

struct Stored {
    const char* extension;
    const char* kanjiCode;
    const char* newlineType;
};

const char kAppKey[] = "\\Software\\BRyApp\\ZuvEditorChan";

void Store(const std::vector<Stored>& settings) {
    for (std::size_t i = 0; i < settings.size(); ++i) {
        TRegistry item;
        ASSERT_TRUE(item.OpenKey(std::string(kAppKey) + "\\Extension_" + std::to_string(i), true));
        item.WriteString("Extension", settings[i].extension);
        item.WriteString("KanjiCode", settings[i].kanjiCode);
        item.WriteString("NewlineType", settings[i].newlineType);
    }
    TRegistry app;
    ASSERT_TRUE(app.OpenKey(kAppKey, true));
    app.WriteInteger("Count", static_cast<int>(settings.size()));
}

// "extension|kanji code|newline type" per row, top to bottom.
std::vector<std::string> Rows(const Form* form) {
    std::vector<std::string> rows;
    for (int i = 0; i < form->ExtensionListView->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = form->ExtensionListView->topLevelItem(i);
        rows.push_back((row->text(0) + "|" + row->text(1) + "|" + row->text(2)).toStdString());
    }
    return rows;
}

QRadioButton* CodeButton(const Form* form, KanjiCode code) {
    switch (code) {
    case KanjiCode::SJIS:
        return form->ExtensionSJISButton;
    case KanjiCode::JIS:
        return form->ExtensionJISButton;
    case KanjiCode::EUC:
        return form->ExtensionEUCButton;
    default:
        return nullptr;
    }
}

QRadioButton* TypeButton(const Form* form, NewlineType type) {
    switch (type) {
    case NewlineType::CR_LF:
        return form->ExtensionCRLFButton;
    case NewlineType::CR:
        return form->ExtensionCRButton;
    case NewlineType::LF:
        return form->ExtensionLFButton;
    default:
        return nullptr;
    }
}

void ExpectChecked(const Form* form, KanjiCode code, NewlineType type) {
    EXPECT_TRUE(CodeButton(form, code)->isChecked());
    EXPECT_TRUE(TypeButton(form, type)->isChecked());
}

Step Choose(KanjiCode code, NewlineType type) {
    return [=](Form* form) {
        CodeButton(form, code)->click();
        TypeButton(form, type)->click();
    };
}

Step Set(const char* text, KanjiCode code, NewlineType type) {
    return [=](Form* form) {
        Choose(code, type)(form);
        form->ExtensionEdit->setText(QString::fromUtf8(text));
        form->ExtensionSetButton->click();
    };
}

Step Delete(const char* text) {
    return [=](Form* form) {
        form->ExtensionEdit->setText(QString::fromUtf8(text));
        form->ExtensionDeleteButton->click();
    };
}

Step ClickRow(int index) {
    return [=](Form* form) {
        QTreeWidget* view = form->ExtensionListView;
        const QRect rect = view->visualItemRect(view->topLevelItem(index));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    };
}

class ExtensionSettingsDialogTest : public ::testing::Test {
protected:
    // Runs EditSettings over the stored settings: steps, then OK or CANCEL.
    bool Edit(const std::vector<Step>& steps, const Step& end) {
        driver.When<Form>([&](Form* form) {
            for (const Step& step : steps) {
                step(form);
            }
            end(form);
        });
        return manager.EditSettings();
    }
    static void Ok(Form* form) { form->ExtensionOKButton->click(); }
    static void Cancel(Form* form) { form->ExtensionCancelButton->click(); }

    std::string Hive() const {
        return zuvtest::ReadBytes((home.Path() / "zuvedit" / "user.reg").string());
    }

    zuvtest::ScopedConfigHome home;
    zuvtest::ModalDriver driver;
    ZuvExtensionManager manager;
};

struct RowsCase {
    const char* name;
    std::vector<Stored> stored;
    std::vector<Step> steps;
    std::vector<std::string> rows;
    const char* edit; // the edit field afterwards
    KanjiCode checkedCode;
    NewlineType checkedType;
};

void PrintTo(const RowsCase& c, std::ostream* os) {
    *os << c.name;
}

class ExtensionSettingsRowsTest : public ::testing::TestWithParam<RowsCase> {};

TEST_P(ExtensionSettingsRowsTest, StepsGiveTheseRowsAndFields) {
    const RowsCase& c = GetParam();
    zuvtest::ScopedConfigHome home;
    Store(c.stored);
    ZuvExtensionManager manager;
    zuvtest::ModalDriver driver;
    driver.When<Form>([&](Form* form) {
        for (const Step& step : c.steps) {
            step(form);
        }
        EXPECT_EQ(Rows(form), c.rows);
        EXPECT_EQ(form->ExtensionEdit->text(), QString::fromUtf8(c.edit));
        ExpectChecked(form, c.checkedCode, c.checkedType);
        form->ExtensionCancelButton->click();
    });
    EXPECT_FALSE(manager.EditSettings());
}

constexpr auto SJIS = KanjiCode::SJIS;
constexpr auto JIS = KanjiCode::JIS;
constexpr auto EUC = KanjiCode::EUC;
constexpr auto CRLF = NewlineType::CR_LF;
constexpr auto CR = NewlineType::CR;
constexpr auto LF = NewlineType::LF;

const std::vector<Stored> kRegistryOrder = {{"txt", "sjis", "CR LF"},
                                            {"css", "JIS", "LF"},
                                            {"txt", "EUC", "CR"},
                                            {"md", "UNKNOWN", "CRLF"}};

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtensionSettingsRowsTest,
    ::testing::Values(
        RowsCase{"SetIntoEmpty", {}, {Set(".HTML", JIS, LF)}, {"html|JIS|LF"}, "", SJIS, CRLF},
        RowsCase{"SetReplacesItsExtension",
                 {},
                 {Set("txt", SJIS, CRLF), Set("TXT", EUC, CR)},
                 {"txt|EUC|CR"},
                 "",
                 SJIS,
                 CRLF},
        RowsCase{"SetSorts",
                 {},
                 {Set("css", SJIS, CRLF), Set("txt", JIS, LF), Set("htm", EUC, CR)},
                 {"css|SJIS|CR LF", "htm|EUC|CR", "txt|JIS|LF"},
                 "",
                 SJIS,
                 CRLF},
        RowsCase{"SetOfNothingOrDotsDoesNothing",
                 {{"css", "SJIS", "CR LF"}},
                 {Set("", JIS, LF), Set(".", JIS, LF), Set("...", JIS, LF)},
                 {"css|SJIS|CR LF"},
                 "...",
                 JIS,
                 LF},
        RowsCase{
            "SetOfBlanksStoresBlanks", {}, {Set("  ", EUC, LF)}, {"  |EUC|LF"}, "", SJIS, CRLF},
        RowsCase{"DeleteOfMissingKeepsEverything",
                 {{"css", "SJIS", "CR LF"}},
                 {Choose(EUC, CR), Delete("txt")},
                 {"css|SJIS|CR LF"},
                 "txt",
                 EUC,
                 CR},
        RowsCase{"DeleteNormalisesAndResets",
                 {{"css", "JIS", "LF"}, {"txt", "EUC", "CR"}},
                 {Choose(EUC, CR), Delete(".TXT")},
                 {"css|JIS|LF"},
                 "",
                 SJIS,
                 CRLF},
        RowsCase{"RegistryOrderAndDuplicatesUntilAChange",
                 kRegistryOrder,
                 {Delete(""), Delete("zip")},
                 {"txt|SJIS|CR LF", "css|JIS|LF", "txt|EUC|CR", "md|UNKNOWN|UNKNOWN"},
                 "zip",
                 SJIS,
                 CRLF},
        RowsCase{"SetRebuildsRegistryRowsSortedLastWins",
                 kRegistryOrder,
                 {Set("c", EUC, LF)},
                 {"c|EUC|LF", "css|JIS|LF", "md|UNKNOWN|UNKNOWN", "txt|EUC|CR"},
                 "",
                 SJIS,
                 CRLF},
        RowsCase{"DeleteRemovesEveryDuplicate",
                 kRegistryOrder,
                 {Delete("txt")},
                 {"css|JIS|LF", "md|UNKNOWN|UNKNOWN"},
                 "",
                 SJIS,
                 CRLF},
        RowsCase{"ClickCopiesTheRow",
                 {{"css", "JIS", "LF"}, {"txt", "EUC", "CR"}},
                 {ClickRow(1)},
                 {"css|JIS|LF", "txt|EUC|CR"},
                 "txt",
                 EUC,
                 CR},
        RowsCase{"ClickOnUnknownKeepsTheButtons",
                 {{"md", "UNKNOWN", "LF"}},
                 {Choose(JIS, CR), ClickRow(0)},
                 {"md|UNKNOWN|LF"},
                 "md",
                 JIS,
                 CR},
        RowsCase{
            "SetAfterUnknownStoresTheCheckedButtons",
            {{"md", "UNKNOWN", "LF"}},
            {Choose(JIS, CR), ClickRow(0), [](Form* form) { form->ExtensionSetButton->click(); }},
            {"md|JIS|CR"},
            "",
            SJIS,
            CRLF}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExtensionSettingsDialogTest, ShowsTheFormAsAReportList) {
    EXPECT_FALSE(Edit(
        {[](Form* form) {
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Z.U.V.Editorちゃん 拡張子設定"));
            EXPECT_EQ(form->size(), QSize(313, 325));
            const QTreeWidget* view = form->ExtensionListView;
            ASSERT_EQ(view->columnCount(), 3);
            const QStringList headers = {QStringLiteral("拡張子"), QStringLiteral("漢字コード"),
                                         QStringLiteral("改行コード")};
            for (int column = 0; column < 3; ++column) {
                EXPECT_EQ(view->headerItem()->text(column), headers[column]);
                EXPECT_EQ(view->columnWidth(column), 100);
            }
            EXPECT_FALSE(view->header()->isHidden());
            EXPECT_FALSE(view->rootIsDecorated());
            EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);
            EXPECT_EQ(form->focusWidget(), form->ExtensionOKButton);
            ExpectChecked(form, SJIS, CRLF);
        }},
        Cancel));
}

TEST_F(ExtensionSettingsDialogTest, KeyReleasesCopyTheSelectedRow) {
    Store({{"a", "SJIS", "CR LF"}, {"b", "JIS", "LF"}, {"c", "EUC", "CR"}});
    manager.LoadSettings();
    EXPECT_FALSE(Edit({ClickRow(0),
                       [](Form* form) {
                           QTest::keyClick(form->ExtensionListView, Qt::Key_Down);
                           EXPECT_EQ(form->ExtensionEdit->text(), QStringLiteral("b"));
                           ExpectChecked(form, JIS, LF);
                           QTest::keyClick(form->ExtensionListView, Qt::Key_Down);
                           EXPECT_EQ(form->ExtensionEdit->text(), QStringLiteral("c"));
                           ExpectChecked(form, EUC, CR);
                           form->ExtensionEdit->setText(QStringLiteral("typed"));
                           QTest::keyClick(form->ExtensionListView, Qt::Key_Shift);
                           EXPECT_EQ(form->ExtensionEdit->text(), QStringLiteral("c"));
                       }},
                      Cancel));
}

TEST_F(ExtensionSettingsDialogTest, OkWithoutChangesHandsOverASortedListWithoutDuplicates) {
    Store(kRegistryOrder);
    manager.LoadSettings();
    ASSERT_EQ(manager.FindByExtension(".txt")->GetKanjiCode(), SJIS) << "first stored wins";
    EXPECT_TRUE(Edit({}, Ok));
    const ZuvExtensionInfo* txt = manager.FindByExtension(".txt");
    ASSERT_NE(txt, nullptr);
    EXPECT_EQ(txt->GetKanjiCode(), EUC) << "the later row replaced the earlier one";
    EXPECT_EQ(txt->GetNewlineType(), CR);
    ASSERT_NE(manager.FindByExtension(".md"), nullptr);
    EXPECT_EQ(manager.FindByExtension(".md")->GetKanjiCode(), KanjiCode::UNKNOWN);

    manager.SaveSettings();
    TRegistry app;
    ASSERT_TRUE(app.OpenKey(kAppKey, false));
    EXPECT_EQ(app.ReadInteger("Count"), 3);
}

TEST_F(ExtensionSettingsDialogTest, OkTakesTheRowsButNotUnsetText) {
    EXPECT_TRUE(Edit({Set("htm", JIS, LF),
                      [](Form* form) { form->ExtensionEdit->setText(QStringLiteral("md")); }},
                     Ok));
    ASSERT_NE(manager.FindByExtension(".htm"), nullptr);
    EXPECT_EQ(manager.FindByExtension(".htm")->GetNewlineType(), LF);
    EXPECT_EQ(manager.FindByExtension(".md"), nullptr);
}

TEST_F(ExtensionSettingsDialogTest, EnterInTheEditFieldDoesNotEndTheDialog) {
    EXPECT_TRUE(Edit({[](Form* form) {
                         form->ExtensionEdit->setFocus();
                         form->ExtensionEdit->setText(QStringLiteral("md"));
                         QTest::keyClick(form->ExtensionEdit, Qt::Key_Return);
                         EXPECT_TRUE(form->isVisible());
                         form->ExtensionSetButton->setFocus();
                         QTest::keyClick(form->ExtensionSetButton, Qt::Key_Return);
                         EXPECT_TRUE(form->isVisible());
                     }},
                     Ok));
    EXPECT_NE(manager.FindByExtension(".md"), nullptr) << "Enter on Set pressed it";
}

TEST_F(ExtensionSettingsDialogTest, TheFormIsGoneAfterwards) {
    EXPECT_FALSE(Edit({}, Cancel));
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        EXPECT_EQ(dynamic_cast<Form*>(widget), nullptr);
    }
}

class ExtensionSettingsLeaveTest : public ExtensionSettingsDialogTest,
                                   public ::testing::WithParamInterface<bool> {};

TEST_P(ExtensionSettingsLeaveTest, CancelAndCloseBoxLeaveListAndRegistry) {
    Store({{"txt", "SJIS", "CR LF"}});
    manager.LoadSettings();
    const std::string hive = Hive();
    const bool closeBox = GetParam();
    EXPECT_FALSE(Edit({Set("css", JIS, LF), Delete("txt"), Set("md", EUC, CR)},
                      closeBox ? Step([](Form* form) { form->close(); }) : Step(Cancel)));
    EXPECT_NE(manager.FindByExtension(".txt"), nullptr);
    EXPECT_EQ(manager.FindByExtension(".css"), nullptr);
    EXPECT_EQ(manager.FindByExtension(".md"), nullptr);
    EXPECT_EQ(Hive(), hive);
}

INSTANTIATE_TEST_SUITE_P(Ways, ExtensionSettingsLeaveTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "CloseBox" : "Cancel"; });

} // namespace
