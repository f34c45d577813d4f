#include "ui/ZuvMessageBox.h"

#include "ui/FormControls.h"

#include <QLabel>

ZuvMessageBox::ZuvMessageBox(ZuvEditor* editor)
    : editor(editor), noticeForm(Application->CreateForm<TZuvMessageBoxForm>()),
      questionForm(Application->CreateForm<TZuvMessageBoxFormYN>()) {}

ZuvMessageBox::~ZuvMessageBox() {
    delete noticeForm.data();
    delete questionForm.data();
}

void ZuvMessageBox::ShowNotice(const AnsiString& text) {
    noticeForm->NoticeLabel->setText(ToQString(text));
    noticeForm->Show();
    noticeForm->Update();
}

void ZuvMessageBox::HideNotice() {
    noticeForm->Close();
}

ZuvAnswer ZuvMessageBox::AskYesNo(const AnsiString& question) {
    questionForm->NoticeLabel->setText(ToQString(question));
    lastAnswer = questionForm->ShowModal() == mrYes ? AnswerYes : AnswerNo;
    return lastAnswer;
}
