// The open and save dialogs: Qt's own file dialog with one filter for every
// file. Each starts with the name it returned last; names are bytes
// (QFile::encodeName), so a name that is not valid UTF-8 still works.
#pragma once

#include "platform/AnsiString.h"

#include <QFileDialog>

class TFileDialog {
public:
    // Modal; true and FileName set when the user confirmed a name.
    bool Execute();
    const AnsiString& FileName() const { return fileName; }

protected:
    explicit TFileDialog(QFileDialog::AcceptMode mode) : mode(mode) {}

private:
    QFileDialog::AcceptMode mode;
    AnsiString fileName;
};

// Asks before returning a file that does not exist; refusing keeps it open.
class TOpenDialog : public TFileDialog {
public:
    TOpenDialog() : TFileDialog(QFileDialog::AcceptOpen) {}
};

// Returns an existing file's name without asking about overwriting it.
class TSaveDialog : public TFileDialog {
public:
    TSaveDialog() : TFileDialog(QFileDialog::AcceptSave) {}
};
