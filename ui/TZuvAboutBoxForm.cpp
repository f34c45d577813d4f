#include "ui/TZuvAboutBoxForm.h"

#include "ui/FormControls.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

// The picture lives in a static library, whose resources are linked in only
// when something refers to them.
static void InitAboutResources() {
    Q_INIT_RESOURCE(zuvedit);
}

TZuvAboutBoxForm::TZuvAboutBoxForm(QWidget* parent) : TForm(parent) {
    InitAboutResources();
    setObjectName(QStringLiteral("ZuvAboutBoxForm"));
    SetCaption("Z.U.V.Editorちゃん ﾊﾞｰｼﾞｮﾝ情報");
    SetDialogFrame(this, 298, 195);
    SetFormFont(this);

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);
    Panel1->setGeometry(8, 8, 281, 145);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setGeometry(8, 8, 65, 57);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/zuvedit/icons/zuvedit-about.png")));

    ProductName = AddLabel(Panel1, QStringLiteral("Z.U.V.Editorちゃん"), 88, 16);
    Version = AddLabel(Panel1, QStringLiteral("Version β7"), 88, 40);
    Copyright = AddLabel(Panel1, QStringLiteral("Copyright (C) The ZuvEdit developers"), 8, 80);
    Copyright->resize(249, Copyright->height());
    Comments = new QLabel(QStringLiteral("このプログラムは Z.U.V.Editorちゃん のβバージョンです。"),
                          Panel1);
    Comments->setTextFormat(Qt::PlainText);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Comments->setWordWrap(true);
    Comments->setGeometry(8, 104, 257, 33);

    OKButton = AddButton(this, QStringLiteral("OK"), 111, 164, 75, 25);
    OKButton->setDefault(true);
    ConnectHandler(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });

    CenterOnScreen(this);
}

void TZuvAboutBoxForm::OKButtonClick() {
    Close();
}
