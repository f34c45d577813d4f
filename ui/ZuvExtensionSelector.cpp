#include "ui/ZuvExtensionSelector.h"

#include <QFrame>

ZuvExtensionSelector::ZuvExtensionSelector(ZuvEditor* editor)
    : editor(editor), form(Application->CreateForm<TZuvExtensionSelectForm>()) {
    form->SetSelector(this);
}

ZuvExtensionSelector::~ZuvExtensionSelector() {
    delete form.data();
}

void ZuvExtensionSelector::SetKanjiCode(KanjiCode code) {
    kanjiCode = code;
    form->SetKanjiCode(code);
}

void ZuvExtensionSelector::SetNewlineType(NewlineType type) {
    newlineType = type;
    form->SetNewlineType(type);
}

bool ZuvExtensionSelector::ExecuteForOpen(const AnsiString& notice) {
    form->ExtensionCodePanel->setVisible(true);
    form->ExtensionNewlinePanel->setVisible(false);
    return Execute(notice);
}

bool ZuvExtensionSelector::ExecuteForSave(const AnsiString& notice) {
    form->ExtensionCodePanel->setVisible(true);
    form->ExtensionNewlinePanel->setVisible(true);
    return Execute(notice);
}

bool ZuvExtensionSelector::Execute(const AnsiString& notice) {
    form->SetKanjiCode(kanjiCode);
    form->SetNewlineType(newlineType);
    confirmed = form->Execute(notice);
    if (confirmed) {
        kanjiCode = form->GetKanjiCode();
        newlineType = form->GetNewlineType();
    }
    return confirmed;
}
