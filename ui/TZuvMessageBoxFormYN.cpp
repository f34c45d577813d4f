#include "ui/TZuvMessageBoxFormYN.h"

#include "ui/FormControls.h"

#include <QLabel>
#include <QPushButton>

TZuvMessageBoxFormYN::TZuvMessageBoxFormYN(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("ZuvMessageBoxFormYN"));
    SetCaption("Z.U.V.Editorちゃん MessageBox");
    SetDialogFrame(this, 307, 77);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    SetFormFont(this);

    // The label reaches down behind the buttons; its text starts at the top.
    NoticeLabel = AddCenteredLabel(this, 0, 8, 305, 65);
    NoticeLabel->setText(QStringLiteral("message"));
    YesButton = AddButton(this, QStringLiteral("うん"), 72, 48, 75, 25);
    NoButton = AddButton(this, QStringLiteral("ううん"), 160, 48, 75, 25);

    OnShow = [this] { FormShow(); };
    ConnectHandler(YesButton, &QPushButton::clicked, this, [this] { YesButtonClick(); });
    ConnectHandler(NoButton, &QPushButton::clicked, this, [this] { NoButtonClick(); });

    CenterOnScreen(this);
}

void TZuvMessageBoxFormYN::FormShow() {
    SetActiveControl(YesButton);
}

void TZuvMessageBoxFormYN::YesButtonClick() {
    SetModalResult(mrYes);
}

void TZuvMessageBoxFormYN::NoButtonClick() {
    SetModalResult(mrNo);
}
