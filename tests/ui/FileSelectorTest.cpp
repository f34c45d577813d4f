#include "ui/ZuvFileSelector.h"

#include "tests/support/TempDir.h"
#include "tests/ui/ModalDriver.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// As the dialog's Open or Save button does.
void Accept(QFileDialog* dialog) {
    QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
}

QString TypedName(QFileDialog* dialog) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return edit ? edit->text() : QString();
}

class FileSelectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        zuvtest::WriteBytes(existing, "text\r\n");
        zuvtest::WriteBytes(other, "other\r\n");
    }

    // Queues a run that picks path and confirms.
    void Choose(const std::string& path) {
        driver.When<QFileDialog>([path](QFileDialog* dialog) {
            dialog->selectFile(Q(path));
            Accept(dialog);
        });
    }
    void Cancel() {
        driver.When<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    }

    zuvtest::TempDir dir;
    std::string existing = dir.File("a.txt");
    std::string other = dir.File("b.txt");
    zuvtest::ModalDriver driver;
    ZuvFileSelector selector{nullptr};
};

TEST_F(FileSelectorTest, CancelGivesEmptyName) {
    Cancel();
    EXPECT_EQ(selector.SelectOpenFileName(), "");
    Cancel();
    EXPECT_EQ(selector.SelectSaveFileName(), "");
}

TEST_F(FileSelectorTest, ConfirmedNameIsTheFullPath) {
    Choose(existing);
    EXPECT_EQ(selector.SelectOpenFileName(), existing);
    Choose(other);
    EXPECT_EQ(selector.SelectSaveFileName(), other);
}

TEST_F(FileSelectorTest, DialogsOfferTheirOwnLastNameAndKeepItOnCancel) {
    Choose(existing);
    ASSERT_EQ(selector.SelectOpenFileName(), existing);

    driver.When<QFileDialog>([](QFileDialog* dialog) {
        EXPECT_EQ(TypedName(dialog), QString()) << "the save dialog must not take the open name";
        dialog->reject();
    });
    EXPECT_EQ(selector.SelectSaveFileName(), "");

    for (int run = 0; run < 2; ++run) {
        driver.When<QFileDialog>([this](QFileDialog* dialog) {
            EXPECT_EQ(dialog->directory().absolutePath(), Q(dir.Path().string()));
            EXPECT_EQ(TypedName(dialog), QStringLiteral("a.txt"));
            dialog->reject();
        });
        EXPECT_EQ(selector.SelectOpenFileName(), "") << "cancel gives \"\" even after a name";
    }
}

TEST_F(FileSelectorTest, SaveDialogReturnsAnExistingFileWithoutAsking) {
    driver.When<QFileDialog>([this](QFileDialog* dialog) {
        dialog->selectFile(Q(existing));
        Accept(dialog);
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_EQ(selector.SelectSaveFileName(), existing);
}

TEST_F(FileSelectorTest, OpenDialogAsksBeforeReturningAMissingFile) {
    const std::string missing = dir.File("new.txt");
    auto answer = [this](const char* button) {
        driver.When<QMessageBox>([button](QMessageBox* question) {
            for (QAbstractButton* candidate : question->buttons()) {
                if (candidate->text() == QString::fromUtf8(button)) {
                    candidate->click();
                    return;
                }
            }
            ADD_FAILURE() << "no button " << button;
        });
    };
    driver.When<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectFile(Q(missing));
        answer("いいえ");
        Accept(dialog);
        EXPECT_TRUE(dialog->isVisible()) << "refusing keeps the dialog open";
        answer("はい");
        Accept(dialog);
    });
    EXPECT_EQ(selector.SelectOpenFileName(), missing);
}

} // namespace
