#include "platform/TForm.h"

TForm::TForm(QWidget* parent) : TFormAdapter<QDialog>(parent) {}

TModalResult TForm::ShowModal() {
    modalResult = mrNone;
    inModalRun = true;
    exec();
    inModalRun = false;
    if (modalResult == mrNone) {
        modalResult = mrCancel;
    }
    return modalResult;
}

void TForm::SetModalResult(TModalResult result) {
    modalResult = result;
    if (inModalRun && result != mrNone) {
        done(result);
    }
}

void TForm::reject() {
    modalResult = mrCancel;
    QDialog::reject();
}

void TForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
