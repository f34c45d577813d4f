#include "ui/ZuvAboutBox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

std::vector<TZuvAboutBoxForm*> AboutForms() {
    std::vector<TZuvAboutBoxForm*> forms;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form = dynamic_cast<TZuvAboutBoxForm*>(widget)) {
            forms.push_back(form);
        }
    }
    return forms;
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(AboutForms().size(), 1u);
        form = AboutForms().front();
    }
    ZuvAboutBox aboutBox{nullptr};
    TZuvAboutBoxForm* form = nullptr;
};

TEST_F(AboutBoxTest, ShowsModelesslyWithItsTexts) {
    EXPECT_FALSE(form->isVisible());
    aboutBox.Show();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Z.U.V.Editorちゃん ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(form->size(), QSize(298, 195));
    EXPECT_EQ(form->ProductName->text(), QStringLiteral("Z.U.V.Editorちゃん"));
    EXPECT_EQ(form->Version->text(), QStringLiteral("Version β7"));
    EXPECT_EQ(form->Comments->text(),
              QStringLiteral("このプログラムは Z.U.V.Editorちゃん のβバージョンです。"));
    EXPECT_FALSE(form->Copyright->text().isEmpty());
    EXPECT_EQ(form->ProgramIcon->pixmap().size(), QSize(64, 56)) << "the picture must load";
    EXPECT_EQ(form->ProgramIcon->size(), QSize(65, 57));
    EXPECT_TRUE(form->ProgramIcon->hasScaledContents());
    form->OKButton->click();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(AboutBoxTest, ShowingAgainKeepsOneForm) {
    aboutBox.Show();
    aboutBox.Show();
    EXPECT_EQ(AboutForms().size(), 1u);
    EXPECT_TRUE(form->isVisible());
    form->close();
    EXPECT_FALSE(form->isVisible());
    aboutBox.Show();
    EXPECT_TRUE(form->isVisible()) << "the close box only hides it";
    EXPECT_EQ(AboutForms().size(), 1u);
    form->close();
}

TEST_F(AboutBoxTest, EnterClosesAndEscapeDoesNothing) {
    aboutBox.Show();
    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    QTest::keyClick(form, Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
}

} // namespace
