#include "ui/TZuvFileSelectorDialogsForm.h"

#include "ui/FormControls.h"

TZuvFileSelectorDialogsForm::TZuvFileSelectorDialogsForm(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("ZuvFileSelectorDialogsForm"));
    SetCaption("ZuvFileSelectorDialogsForm");
    SetClientSize(209, 180);
    SetFormFont(this);
}
