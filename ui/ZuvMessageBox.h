// The editor's own message windows: the loading notice and the yes/no question.
// Both forms are made once and reused.
#pragma once

#include "platform/AnsiString.h"
#include "ui/TZuvMessageBoxForm.h"
#include "ui/TZuvMessageBoxFormYN.h"

#include <QPointer>

class ZuvEditor;

class ZuvMessageBox {
public:
    explicit ZuvMessageBox(ZuvEditor* editor);
    ~ZuvMessageBox();
    ZuvMessageBox(const ZuvMessageBox&) = delete;
    ZuvMessageBox& operator=(const ZuvMessageBox&) = delete;

    // Shows the notice, painted before this returns, and returns at once.
    void ShowNotice(const AnsiString& text);
    void HideNotice();
    // Asks modally; closing the question counts as no.
    ZuvAnswer AskYesNo(const AnsiString& question);

private:
    ZuvEditor* editor;
    ZuvAnswer lastAnswer = AnswerNo;
    // The application owns the forms too and may delete them first.
    QPointer<TZuvMessageBoxForm> noticeForm;
    QPointer<TZuvMessageBoxFormYN> questionForm;
};
