#include "ModalDriver.h"

#include "platform/TFont.h"
#include "platform/TForm.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A dialog in the way the forms are written: a button whose handler sets
// the modal result.
class TwoButtonForm : public TForm {
public:
    TwoButtonForm() : OkButton(new QPushButton("OK", this)), NoButton(new QPushButton("No", this)) {
        NoButton->move(0, 30);
        ConnectHandler(OkButton, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
        ConnectHandler(NoButton, &QPushButton::clicked, this, [this] { SetModalResult(mrNo); });
    }
    QPushButton* OkButton;
    QPushButton* NoButton;
};

TEST(FormTest, HandlerSettingModalResultEndsTheRun) {
    TwoButtonForm form;
    WhenModal<QDialog>([&](QDialog*) { form.NoButton->click(); });
    EXPECT_EQ(form.ShowModal(), mrNo);
    EXPECT_FALSE(form.isVisible());
    WhenModal<QDialog>([&](QDialog*) { form.OkButton->click(); });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(form.ModalResult(), mrOk);
}

TEST(FormTest, CloseBoxGivesCancelAndEscapeDoesNothing) {
    TwoButtonForm form;
    bool stillShownAfterEscape = false;
    WhenModal<QDialog>([&](QDialog* dialog) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(dialog, &escape);
        stillShownAfterEscape = dialog->isVisible();
        dialog->close();
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_TRUE(stillShownAfterEscape);
}

TEST(FormTest, ModalResultNoneAndResultsOutsideARunDoNotEndIt) {
    TwoButtonForm form;
    form.SetModalResult(mrOk); // not running: no effect on the next run
    WhenModal<QDialog>([&](QDialog*) {
        form.SetModalResult(mrNone);
        EXPECT_TRUE(form.isVisible());
        form.SetModalResult(mrYes);
    });
    EXPECT_EQ(form.ShowModal(), mrYes);
}

TEST(FormTest, ActiveControlHasTheFocusWhenShown) {
    TwoButtonForm form;
    form.SetActiveControl(form.NoButton);
    QWidget* focused = nullptr;
    WhenModal<QDialog>([&](QDialog* dialog) {
        focused = dialog->focusWidget();
        form.SetModalResult(mrOk);
    });
    form.ShowModal();
    EXPECT_EQ(focused, form.NoButton);
}

TEST(FormTest, OnShowRunsWhenShown) {
    TForm form;
    int shown = 0;
    form.OnShow = [&] { ++shown; };
    form.Show();
    form.Close();
    form.Show();
    EXPECT_EQ(shown, 2);
}

TEST(FormTest, CloseQueryCanKeepTheFormOpen) {
    TMainForm form;
    bool allow = false;
    form.OnCloseQuery = [&](bool& canClose) { canClose = allow; };
    form.Show();
    form.Close();
    EXPECT_TRUE(form.isVisible());
    allow = true;
    form.Close();
    EXPECT_FALSE(form.isVisible());
}

TEST(FormTest, CaptionAndClientSize) {
    TForm form;
    form.SetCaption("Z.U.V.Editorちゃん コード確認");
    form.SetClientSize(324, 144);
    EXPECT_EQ(form.Caption(), "Z.U.V.Editorちゃん コード確認");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Z.U.V.Editorちゃん コード確認"));
    EXPECT_EQ(form.ClientWidth(), 324);
    EXPECT_EQ(form.ClientHeight(), 144);
}

// The frame is known only once a window is shown (here the offscreen
// platform's two pixels each side); an outer size set before must still hold.
TEST(FormTest, OuterSizeSetBeforeShowHoldsOnceTheFrameIsKnown) {
    TMainForm form;
    form.SetSize(524, 560);
    EXPECT_EQ(form.Width(), 524);
    EXPECT_EQ(form.Height(), 560);
    form.Show();
    ASSERT_NE(form.frameGeometry().size(), form.size()) << "the platform shows no frame";
    EXPECT_EQ(form.Width(), 524);
    EXPECT_EQ(form.Height(), 560);
    form.SetWidth(600);
    form.SetHeight(450);
    EXPECT_EQ(form.Width(), 600);
    EXPECT_EQ(form.Height(), 450);
}

TEST(FormTest, ResizingAfterShowIsNotUndone) {
    TMainForm form;
    form.SetSize(524, 560);
    form.Show();
    form.resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(form.size(), QSize(300, 200));
}

struct ThrownCase {
    const char* name;
    std::function<void()> handler;
    QString shown;
};

class GuardedTest : public ::testing::TestWithParam<ThrownCase> {};

TEST_P(GuardedTest, ExceptionFromAHandlerIsShownAndStopsThere) {
    TwoButtonForm form;
    ConnectHandler(form.OkButton, &QPushButton::clicked, &form, GetParam().handler);
    QString shown;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        shown = box->text();
        box->close();
    });
    form.Show();
    form.OkButton->click();
    EXPECT_EQ(shown, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    FormTest, GuardedTest,
    ::testing::Values(ThrownCase{"Exception", [] { throw Exception("壊れた"); }, "壊れた"},
                      ThrownCase{"StdException", [] { throw std::runtime_error("broken"); },
                                 "broken"},
                      ThrownCase{"Other", [] { throw 42; }, "不明なエラーが発生しました。"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormTest, CloseQueryThatThrowsKeepsTheFormOpen) {
    TMainForm form;
    form.OnCloseQuery = [](bool&) { throw Exception("no"); };
    WhenModal<QMessageBox>([](QMessageBox* box) { box->close(); });
    form.Show();
    form.Close();
    EXPECT_TRUE(form.isVisible());
}

TEST(ApplicationTest, RunEndsWhenTheMainFormClosesAndDeletesTheForms) {
    Application->DestroyForms();
    QPointer<TMainForm> mainForm = Application->CreateForm<TMainForm>();
    QPointer<TForm> other = Application->CreateForm<TForm>();
    ASSERT_EQ(Application->MainForm(), mainForm.data());
    QTimer::singleShot(0, [&] {
        other->Show();
        other->Close(); // a form that is not the main form ends nothing
        mainForm->Show();
        mainForm->Close();
    });
    Application->Run();
    EXPECT_TRUE(mainForm.isNull());
    EXPECT_TRUE(other.isNull());
}

TEST(FontTest, JapaneseFacesAreSubstituted) {
    EXPECT_EQ(QFontInfo(FontToQFont(TFont{.Name = "ＭＳ ゴシック"})).family(),
              QStringLiteral("IPAGothic"));
    EXPECT_EQ(QFontInfo(FontToQFont(TFont{.Name = "ＭＳ Ｐゴシック"})).family(),
              QStringLiteral("IPAPGothic"));
}

TEST(FontTest, ColorValuesAreBgrOrSystemColors) {
    EXPECT_EQ(ColorToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(QColorToColor(QColor(0x99, 0x66, 0x33)), 0x00336699u);
    EXPECT_EQ(ColorToQColor(clWindowText), QApplication::palette().color(QPalette::WindowText));
}

} // namespace
