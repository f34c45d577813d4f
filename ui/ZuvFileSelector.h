// Asks for the name of a file to open or to save; "" when the user cancels.
#pragma once

#include "platform/AnsiString.h"
#include "ui/TZuvFileSelectorDialogsForm.h"

#include <QPointer>

class ZuvEditor;

class ZuvFileSelector {
public:
    explicit ZuvFileSelector(ZuvEditor* editor);
    ~ZuvFileSelector();
    ZuvFileSelector(const ZuvFileSelector&) = delete;
    ZuvFileSelector& operator=(const ZuvFileSelector&) = delete;

    AnsiString SelectOpenFileName();
    AnsiString SelectSaveFileName();

private:
    ZuvEditor* editor;
    // The application owns the form too and may delete it first.
    QPointer<TZuvFileSelectorDialogsForm> form;
};
