#include "platform/TFileDialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

class FileDialog : public QFileDialog {
public:
    FileDialog(QWidget* parent, AcceptMode mode) : QFileDialog(parent) {
        setOption(DontUseNativeDialog);
        setOption(DontConfirmOverwrite);
        setAcceptMode(mode);
        setFileMode(AnyFile);
        // Shown as its name only; "*" is every file here, where "*.*" would
        // miss the names without a dot.
        setOption(HideNameFilterDetails);
        setNameFilter(QStringLiteral("すべてのファイル (*)"));
        setWindowTitle(mode == AcceptOpen ? QStringLiteral("開く")
                                          : QStringLiteral("名前を付けて保存"));
    }

protected:
    void accept() override {
        if (acceptMode() == AcceptOpen && !ConfirmMissingFile()) {
            return;
        }
        QFileDialog::accept();
    }

private:
    // A name that does not exist is returned only when the user agrees.
    bool ConfirmMissingFile() {
        const QStringList files = selectedFiles();
        if (files.isEmpty() || QFileInfo::exists(files.first())) {
            return true;
        }
        QMessageBox question(QMessageBox::Question, windowTitle(),
                             files.first() + QStringLiteral("\nこのファイルは存在しません。\n"
                                                            "ファイルを作成しますか?"),
                             QMessageBox::NoButton, this);
        const QPushButton* yes = question.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
        question.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
        question.exec();
        return question.clickedButton() == static_cast<const QAbstractButton*>(yes);
    }
};

} // namespace

bool TFileDialog::Execute() {
    FileDialog dialog(QApplication::activeWindow(), mode);
    if (!fileName.empty()) {
        dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(fileName)));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    fileName = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
    return true;
}
