#include "platform/TApplication.h"

#include "platform/TFont.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>

namespace {
TApplication applicationObject;
}

TApplication* Application = &applicationObject;

void TApplication::Initialize() {
    // Only the main form ends the run, not the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterFontSubstitutes();
}

void TApplication::AddForm(QWidget* form) {
    std::erase_if(forms, [](const QPointer<QWidget>& f) { return f.isNull(); });
    forms.emplace_back(form);
    if (mainForm.isNull()) {
        mainForm = form;
    }
}

void TApplication::Run() {
    running = true;
    QApplication::exec();
    running = false;
    DestroyForms();
}

void TApplication::DestroyForms() {
    for (const QPointer<QWidget>& form : forms) {
        delete form.data();
    }
    forms.clear();
}

void TApplication::ShowException(const Exception& exception) {
    QMessageBox::critical(
        QApplication::activeWindow(), QStringLiteral("ZuvEdit"),
        QString::fromUtf8(exception.Message().data(), qsizetype(exception.Message().size())));
}

void TApplication::FormClosed(const QWidget* form) {
    if (running && form == mainForm) {
        QApplication::exit(0);
    }
}
