#include "ui/ZuvAboutBox.h"

ZuvAboutBox::ZuvAboutBox(ZuvEditor* editor)
    : editor(editor), form(Application->CreateForm<TZuvAboutBoxForm>()) {}

ZuvAboutBox::~ZuvAboutBox() {
    delete form.data();
}

void ZuvAboutBox::Show() {
    form->Show();
}
