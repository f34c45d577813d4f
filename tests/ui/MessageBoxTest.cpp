#include "ui/ZuvMessageBox.h"

#include "tests/ui/ModalDriver.h"

#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

namespace {

const AnsiString kQuestion = "更新されてるよ。\n保存する？";

void ExpectCentred(const QWidget* form) {
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    const QPoint formCentre = form->frameGeometry().center();
    EXPECT_LE((screenCentre - formCentre).manhattanLength(), 4);
}

struct QuestionCase {
    const char* name;
    std::function<void(TZuvMessageBoxFormYN*)> answer;
    ZuvAnswer expected;
};

void PrintTo(const QuestionCase& c, std::ostream* os) {
    *os << c.name;
}

class QuestionTest : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(QuestionTest, GivesTheAnswerOfEachWayOfClosing) {
    ZuvMessageBox messageBox(nullptr);
    zuvtest::ModalDriver driver;
    bool asked = false;
    driver.When<TZuvMessageBoxFormYN>([&](TZuvMessageBoxFormYN* form) {
        asked = true;
        EXPECT_EQ(form->NoticeLabel->text(), QString::fromUtf8(kQuestion.c_str()));
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Z.U.V.Editorちゃん MessageBox"));
        EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(form->focusWidget(), form->YesButton);
        ExpectCentred(form);
        GetParam().answer(form);
    });
    EXPECT_EQ(messageBox.AskYesNo(kQuestion), GetParam().expected);
    EXPECT_TRUE(asked);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, QuestionTest,
    ::testing::Values(
        QuestionCase{"Yes", [](TZuvMessageBoxFormYN* f) { f->YesButton->click(); }, AnswerYes},
        QuestionCase{"No", [](TZuvMessageBoxFormYN* f) { f->NoButton->click(); }, AnswerNo},
        QuestionCase{"CloseBox", [](TZuvMessageBoxFormYN* f) { f->close(); }, AnswerNo},
        QuestionCase{"Enter",
                     [](TZuvMessageBoxFormYN* form) {
                         QTest::keyClick(form->focusWidget(), Qt::Key_Return);
                     },
                     AnswerYes},
        QuestionCase{"Escape",
                     [](TZuvMessageBoxFormYN* f) {
                         QTest::keyClick(f, Qt::Key_Escape);
                         EXPECT_TRUE(f->isVisible());
                         f->NoButton->click();
                     },
                     AnswerNo}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Question, IsReusedAndFocusesYesEachTime) {
    ZuvMessageBox messageBox(nullptr);
    zuvtest::ModalDriver driver;
    TZuvMessageBoxFormYN* first = nullptr;
    driver.When<TZuvMessageBoxFormYN>([&](TZuvMessageBoxFormYN* form) {
        first = form;
        form->NoButton->setFocus();
        form->NoButton->click();
    });
    EXPECT_EQ(messageBox.AskYesNo("一つめ"), AnswerNo);
    driver.When<TZuvMessageBoxFormYN>([&](TZuvMessageBoxFormYN* form) {
        EXPECT_EQ(form, first);
        EXPECT_EQ(form->NoticeLabel->text(), QStringLiteral("二つめ"));
        QTest::keyClick(form->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(messageBox.AskYesNo("二つめ"), AnswerYes);
}

// Records the text the notice had each time its label was painted.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QLabel* label) : label(label) { label->installEventFilter(this); }
    QStringList painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label && event->type() == QEvent::Paint) {
            painted << label->text();
        }
        return false;
    }

private:
    QLabel* label;
};

TZuvMessageBoxForm* NoticeForm() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form = dynamic_cast<TZuvMessageBoxForm*>(widget)) {
            return form;
        }
    }
    return nullptr;
}

class NoticeTest : public ::testing::Test {
protected:
    ZuvMessageBox messageBox{nullptr};
    TZuvMessageBoxForm* form = NoticeForm();
};

TEST_F(NoticeTest, IsABorderlessTopmostCentredPanel) {
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isVisible());
    messageBox.ShowNotice("a.txt\nを、読み込み中で～す");
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form->size(), QSize(485, 67));
    EXPECT_EQ(form->MessageGroupBox->title(), QStringLiteral(" Z.U.V.Editorちゃん "));
    EXPECT_EQ(form->NoticeLabel->text(), QStringLiteral("a.txt\nを、読み込み中で～す"));
    EXPECT_EQ(form->NoticeLabel->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    ExpectCentred(form);
    messageBox.HideNotice();
}

TEST_F(NoticeTest, IsPaintedBeforeShowNoticeReturns) {
    ASSERT_NE(form, nullptr);
    PaintRecorder recorder(form->NoticeLabel);
    messageBox.ShowNotice("一つめ");
    EXPECT_TRUE(recorder.painted.contains(QStringLiteral("一つめ")));
    messageBox.ShowNotice("二つめ");
    EXPECT_EQ(form->NoticeLabel->text(), QStringLiteral("二つめ"));
    EXPECT_TRUE(recorder.painted.contains(QStringLiteral("二つめ")));
    EXPECT_TRUE(form->isVisible());
    messageBox.HideNotice();
}

TEST_F(NoticeTest, HideNoticeHidesAndDoesNothingWhenHidden) {
    ASSERT_NE(form, nullptr);
    messageBox.HideNotice();
    EXPECT_FALSE(form->isVisible());
    messageBox.ShowNotice("読み込み中");
    messageBox.HideNotice();
    EXPECT_FALSE(form->isVisible());
    messageBox.HideNotice();
    EXPECT_FALSE(form->isVisible());
    messageBox.ShowNotice("もう一度");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->NoticeLabel->text(), QStringLiteral("もう一度"));
    messageBox.HideNotice();
}

} // namespace
