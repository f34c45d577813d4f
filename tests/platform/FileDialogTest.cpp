#include "ModalDriver.h"

#include "platform/TFileDialogs.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QString Name(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// Types the name into the dialog's name field and presses Enter, as a user does.
void TypeAndAccept(QFileDialog* dialog, const std::string& path) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(Name(path));
    QMetaObject::invokeMethod(dialog, "accept");
}

class FileDialogTest : public ::testing::Test {
protected:
    zuvtest::TempDir dir;
};

TEST_F(FileDialogTest, OpenReturnsTheChosenFileAndStartsWithItNextTime) {
    const std::string path = dir.File("\xe3\x81\x82.txt");
    zuvtest::WriteBytes(path, "x");
    TOpenDialog open;
    QStringList filters;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; types && i < types->count(); ++i) {
            filters << types->itemText(i);
        }
        TypeAndAccept(dialog, path);
    });
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName(), path);
    EXPECT_EQ(filters, QStringList{QStringLiteral("すべてのファイル")});

    QStringList offered;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        offered = dialog->selectedFiles();
        dialog->reject();
    });
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(offered, QStringList{Name(path)});
    EXPECT_EQ(open.FileName(), path);
}

TEST_F(FileDialogTest, OpenAsksBeforeReturningAMissingFileAndRefusingKeepsItOpen) {
    const std::string missing = dir.File("new.txt");
    TOpenDialog open;
    int questions = 0;
    bool openAfterRefusal = false;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        WhenModal<QMessageBox>(
            [&, dialog](QMessageBox* box) {
                ++questions;
                box->buttons().at(1)->click(); // いいえ
                openAfterRefusal = dialog->isVisible();
                WhenModal<QMessageBox>(
                    [&](QMessageBox* again) {
                        ++questions;
                        again->buttons().at(0)->click(); // はい
                    },
                    dialog);
                TypeAndAccept(dialog, missing);
            },
            dialog);
        TypeAndAccept(dialog, missing);
    });
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName(), missing);
    EXPECT_EQ(questions, 2);
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_FALSE(QFile::exists(Name(missing)));
}

TEST_F(FileDialogTest, SaveReturnsAnExistingFileWithoutAsking) {
    const std::string path = dir.File("old.txt");
    zuvtest::WriteBytes(path, "x");
    TSaveDialog save;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        TypeAndAccept(dialog, path);
        // An overwrite question would be modal above the dialog now.
        EXPECT_EQ(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()), nullptr);
    });
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), path);
}

TEST_F(FileDialogTest, CancelReturnsFalseAndTheDialogsDoNotShareTheName) {
    const std::string path = dir.File("a.txt");
    zuvtest::WriteBytes(path, "x");
    TOpenDialog open;
    TSaveDialog save;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) { TypeAndAccept(dialog, path); });
    ASSERT_TRUE(open.Execute());
    WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(save.Execute());
    EXPECT_EQ(save.FileName(), "");
}

} // namespace
