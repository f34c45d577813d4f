#include "ui/ZuvFileSelector.h"

namespace {
AnsiString Run(TFileDialog& dialog) {
    return dialog.Execute() ? dialog.FileName() : AnsiString();
}
} // namespace

ZuvFileSelector::ZuvFileSelector(ZuvEditor* editor)
    : editor(editor), form(Application->CreateForm<TZuvFileSelectorDialogsForm>()) {}

ZuvFileSelector::~ZuvFileSelector() {
    delete form.data();
}

AnsiString ZuvFileSelector::SelectOpenFileName() {
    return Run(form->OpenDialog);
}

AnsiString ZuvFileSelector::SelectSaveFileName() {
    return Run(form->SaveDialog);
}
