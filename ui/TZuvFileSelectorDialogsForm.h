// Never shown: it only carries the open and save dialogs, which live as long as
// it does and so keep the name each returned last.
#pragma once

#include "platform/TFileDialogs.h"
#include "platform/TForm.h"

class TZuvFileSelectorDialogsForm : public TForm {
public:
    explicit TZuvFileSelectorDialogsForm(QWidget* parent = nullptr);

    TSaveDialog SaveDialog;
    TOpenDialog OpenDialog;
};
