#include "ui/TZuvExtensionSelectForm.h"

#include "ui/FormControls.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

TZuvExtensionSelectForm::TZuvExtensionSelectForm(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("ZuvExtensionSelectForm"));
    SetCaption("Z.U.V.Editorちゃん コード確認");
    SetDialogFrame(this, 324, 144);
    SetFormFont(this);

    NoticeLabel = AddCenteredLabel(this, 16, 8, 289, 41);
    ExtensionKanjiLabel = AddLabel(this, QStringLiteral("漢字コード："), 48, 56);
    ExtensionNewlineLabel = AddLabel(this, QStringLiteral("改行コード："), 48, 86);

    // Created in tab order: the newline panel first, then the code panel, then the buttons.
    ExtensionNewlinePanel = AddPanel(this, 112, 80, 161, 25);
    ExtensionCRLFButton =
        AddRadioButton(ExtensionNewlinePanel, QStringLiteral("CRLF"), 0, 4, 49, 17);
    ExtensionCRButton = AddRadioButton(ExtensionNewlinePanel, QStringLiteral("CR"), 56, 4, 49, 17);
    ExtensionLFButton = AddRadioButton(ExtensionNewlinePanel, QStringLiteral("LF"), 112, 4, 49, 17);
    ExtensionCRLFButton->setChecked(true);

    ExtensionCodePanel = AddPanel(this, 112, 52, 161, 25);
    ExtensionSJISButton = AddRadioButton(ExtensionCodePanel, QStringLiteral("SJIS"), 0, 0, 49, 21);
    ExtensionJISButton = AddRadioButton(ExtensionCodePanel, QStringLiteral("JIS"), 56, 4, 49, 17);
    ExtensionEUCButton = AddRadioButton(ExtensionCodePanel, QStringLiteral("EUC"), 112, 4, 49, 17);
    ExtensionSJISButton->setChecked(true);

    OkButton = AddButton(this, QStringLiteral("うん"), 88, 112, 75, 25);
    CancelButton = AddButton(this, QStringLiteral("ううん"), 176, 112, 75, 25);
    ConnectHandler(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    ConnectHandler(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });

    CenterOnScreen(this);
}

void TZuvExtensionSelectForm::SetKanjiCode(KanjiCode code) {
    CheckKanjiCode({ExtensionSJISButton, ExtensionJISButton, ExtensionEUCButton}, code);
}

void TZuvExtensionSelectForm::SetNewlineType(NewlineType type) {
    CheckNewlineType({ExtensionCRLFButton, ExtensionCRButton, ExtensionLFButton}, type);
}

KanjiCode TZuvExtensionSelectForm::GetKanjiCode() const {
    return CheckedKanjiCode({ExtensionSJISButton, ExtensionJISButton, ExtensionEUCButton});
}

NewlineType TZuvExtensionSelectForm::GetNewlineType() const {
    return CheckedNewlineType({ExtensionCRLFButton, ExtensionCRButton, ExtensionLFButton});
}

bool TZuvExtensionSelectForm::Execute(const AnsiString& notice) {
    NoticeLabel->setText(ToQString(notice));
    SetActiveControl(OkButton);
    return ShowModal() == mrOk;
}

void TZuvExtensionSelectForm::OkButtonClick() {
    SetModalResult(mrOk);
}

void TZuvExtensionSelectForm::CancelButtonClick() {
    SetModalResult(mrCancel);
}
