#include "ui/ZuvExtensionSelector.h"

#include "tests/ui/ModalDriver.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

const AnsiString kSaveNotice = "/tmp/a.txt の\n漢字コードを指定してね。\n保存するよ。";

enum class Mode { Open, Save };
enum class Ending { Ok, Cancel, CloseBox };

void End(TZuvExtensionSelectForm* form, Ending ending) {
    switch (ending) {
    case Ending::Ok:
        form->OkButton->click();
        break;
    case Ending::Cancel:
        form->CancelButton->click();
        break;
    case Ending::CloseBox:
        form->close();
        break;
    }
}

bool RunSelector(ZuvExtensionSelector& selector, Mode mode, const AnsiString& notice) {
    return mode == Mode::Open ? selector.ExecuteForOpen(notice) : selector.ExecuteForSave(notice);
}

struct SelectorCase {
    const char* name;
    Mode mode;
    KanjiCode presetCode;
    NewlineType presetType;
    std::function<void(TZuvExtensionSelectForm*)> choose;
    Ending ending;
    bool confirmed;
    KanjiCode code;
    NewlineType type;
};

void PrintTo(const SelectorCase& c, std::ostream* os) {
    *os << c.name;
}

class ExtensionSelectorCaseTest : public ::testing::TestWithParam<SelectorCase> {};

TEST_P(ExtensionSelectorCaseTest, ShowsThePresetsAndGivesTheConfirmedCodes) {
    const SelectorCase& c = GetParam();
    ZuvExtensionSelector selector(nullptr);
    selector.SetKanjiCode(c.presetCode);
    selector.SetNewlineType(c.presetType);
    zuvtest::ModalDriver driver;
    bool shown = false;
    driver.When<TZuvExtensionSelectForm>([&](TZuvExtensionSelectForm* form) {
        shown = true;
        EXPECT_EQ(form->NoticeLabel->text(), QString::fromUtf8(kSaveNotice.c_str()));
        EXPECT_TRUE(form->ExtensionCodePanel->isVisible());
        EXPECT_EQ(form->ExtensionNewlinePanel->isVisible(), c.mode == Mode::Save);
        EXPECT_TRUE(form->ExtensionNewlineLabel->isVisible()) << "the label stays in both modes";
        EXPECT_EQ(form->focusWidget(), form->OkButton);
        EXPECT_EQ(form->GetKanjiCode(), c.presetCode);
        EXPECT_EQ(form->GetNewlineType(), c.presetType);
        if (c.choose) {
            c.choose(form);
        }
        End(form, c.ending);
    });
    EXPECT_EQ(RunSelector(selector, c.mode, kSaveNotice), c.confirmed);
    EXPECT_TRUE(shown);
    EXPECT_EQ(selector.GetKanjiCode(), c.code);
    EXPECT_EQ(selector.GetNewlineType(), c.type);
}

void ChooseEucCr(TZuvExtensionSelectForm* form) {
    form->ExtensionEUCButton->click();
    form->ExtensionCRButton->click();
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ExtensionSelectorCaseTest,
    ::testing::Values(
        SelectorCase{"SaveJisLfUnchanged", Mode::Save, KanjiCode::JIS, NewlineType::LF, nullptr,
                     Ending::Ok, true, KanjiCode::JIS, NewlineType::LF},
        SelectorCase{"SaveEucCrUnchanged", Mode::Save, KanjiCode::EUC, NewlineType::CR, nullptr,
                     Ending::Ok, true, KanjiCode::EUC, NewlineType::CR},
        SelectorCase{"SaveChosen", Mode::Save, KanjiCode::SJIS, NewlineType::CR_LF, ChooseEucCr,
                     Ending::Ok, true, KanjiCode::EUC, NewlineType::CR},
        SelectorCase{"SaveCancelled", Mode::Save, KanjiCode::SJIS, NewlineType::CR_LF, ChooseEucCr,
                     Ending::Cancel, false, KanjiCode::SJIS, NewlineType::CR_LF},
        SelectorCase{"SaveClosed", Mode::Save, KanjiCode::SJIS, NewlineType::CR_LF, ChooseEucCr,
                     Ending::CloseBox, false, KanjiCode::SJIS, NewlineType::CR_LF},
        SelectorCase{"OpenChosen", Mode::Open, KanjiCode::EUC, NewlineType::CR_LF,
                     [](TZuvExtensionSelectForm* f) { f->ExtensionJISButton->click(); }, Ending::Ok,
                     true, KanjiCode::JIS, NewlineType::CR_LF},
        // The hidden newline panel is read back too.
        SelectorCase{"OpenKeepsHiddenNewline", Mode::Open, KanjiCode::SJIS, NewlineType::LF,
                     nullptr, Ending::Ok, true, KanjiCode::SJIS, NewlineType::LF},
        SelectorCase{"OpenClosed", Mode::Open, KanjiCode::JIS, NewlineType::CR,
                     [](TZuvExtensionSelectForm* f) { f->ExtensionEUCButton->click(); },
                     Ending::CloseBox, false, KanjiCode::JIS, NewlineType::CR}),
    [](const auto& info) { return std::string(info.param.name); });

class ExtensionSelectorTest : public ::testing::Test {
protected:
    // Runs once, checks what the form shows and ends it.
    bool RunChecked(Mode mode, std::function<void(TZuvExtensionSelectForm*)> check, Ending ending) {
        driver.When<TZuvExtensionSelectForm>([=](TZuvExtensionSelectForm* form) {
            check(form);
            End(form, ending);
        });
        return RunSelector(selector, mode, "notice");
    }

    ZuvExtensionSelector selector{nullptr};
    zuvtest::ModalDriver driver;
};

TEST_F(ExtensionSelectorTest, StartsWithSjisAndCrLf) {
    EXPECT_EQ(selector.GetKanjiCode(), KanjiCode::SJIS);
    EXPECT_EQ(selector.GetNewlineType(), NewlineType::CR_LF);
    EXPECT_TRUE(RunChecked(
        Mode::Save,
        [](TZuvExtensionSelectForm* form) {
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Z.U.V.Editorちゃん コード確認"));
            EXPECT_EQ(form->size(), QSize(324, 144));
            EXPECT_TRUE(form->ExtensionSJISButton->isChecked());
            EXPECT_TRUE(form->ExtensionCRLFButton->isChecked());
        },
        Ending::Ok));
}

TEST_F(ExtensionSelectorTest, CancelledChoiceIsResetByTheNextRun) {
    selector.SetKanjiCode(KanjiCode::SJIS);
    selector.SetNewlineType(NewlineType::CR_LF);
    EXPECT_FALSE(RunChecked(Mode::Save, ChooseEucCr, Ending::Cancel));
    EXPECT_TRUE(RunChecked(
        Mode::Save,
        [](TZuvExtensionSelectForm* form) {
            EXPECT_TRUE(form->ExtensionSJISButton->isChecked());
            EXPECT_TRUE(form->ExtensionCRLFButton->isChecked());
        },
        Ending::Ok));
    EXPECT_EQ(selector.GetKanjiCode(), KanjiCode::SJIS);
    EXPECT_EQ(selector.GetNewlineType(), NewlineType::CR_LF);
}

TEST_F(ExtensionSelectorTest, UnknownPresetKeepsTheButtonsOfThePreviousRun) {
    selector.SetKanjiCode(KanjiCode::JIS);
    selector.SetNewlineType(NewlineType::LF);
    ASSERT_TRUE(RunChecked(
        Mode::Save, [](TZuvExtensionSelectForm*) {}, Ending::Ok));

    selector.SetKanjiCode(KanjiCode::UNKNOWN);
    selector.SetNewlineType(NewlineType::UNKNOWN);
    EXPECT_EQ(selector.GetKanjiCode(), KanjiCode::UNKNOWN);
    EXPECT_EQ(selector.GetNewlineType(), NewlineType::UNKNOWN);
    auto showsPrevious = [](TZuvExtensionSelectForm* form) {
        EXPECT_TRUE(form->ExtensionJISButton->isChecked());
        EXPECT_TRUE(form->ExtensionLFButton->isChecked());
    };
    EXPECT_FALSE(RunChecked(Mode::Save, showsPrevious, Ending::Cancel));
    EXPECT_EQ(selector.GetKanjiCode(), KanjiCode::UNKNOWN) << "0 until a run is confirmed";

    EXPECT_TRUE(RunChecked(Mode::Save, showsPrevious, Ending::Ok));
    EXPECT_EQ(selector.GetKanjiCode(), KanjiCode::JIS);
    EXPECT_EQ(selector.GetNewlineType(), NewlineType::LF);
}

TEST_F(ExtensionSelectorTest, ModesHideAndShowTheNewlinePanelAnew) {
    auto newlineShown = [](bool shown) {
        return [shown](TZuvExtensionSelectForm* form) {
            EXPECT_EQ(form->ExtensionNewlinePanel->isVisible(), shown);
            EXPECT_TRUE(form->ExtensionCodePanel->isVisible());
        };
    };
    EXPECT_TRUE(RunChecked(Mode::Save, newlineShown(true), Ending::Ok));
    EXPECT_TRUE(RunChecked(Mode::Open, newlineShown(false), Ending::Ok));
    EXPECT_TRUE(RunChecked(Mode::Save, newlineShown(true), Ending::Ok));
}

TEST_F(ExtensionSelectorTest, RadioButtonsOfAPanelExcludeEachOther) {
    EXPECT_TRUE(RunChecked(
        Mode::Save,
        [](TZuvExtensionSelectForm* form) {
            const std::vector<std::vector<QRadioButton*>> panels = {
                {form->ExtensionSJISButton, form->ExtensionJISButton, form->ExtensionEUCButton},
                {form->ExtensionCRLFButton, form->ExtensionCRButton, form->ExtensionLFButton}};
            for (const auto& panel : panels) {
                for (QRadioButton* chosen : panel) {
                    chosen->click();
                    for (const QRadioButton* button : panel) {
                        EXPECT_EQ(button->isChecked(), button == chosen);
                    }
                }
            }
            EXPECT_EQ(form->GetKanjiCode(), KanjiCode::EUC);
            EXPECT_EQ(form->GetNewlineType(), NewlineType::LF);
        },
        Ending::Ok));
    EXPECT_EQ(selector.GetKanjiCode(), KanjiCode::EUC);
    EXPECT_EQ(selector.GetNewlineType(), NewlineType::LF);
}

} // namespace
