// The About window: the program's picture, name, version, maker and a comment.
// Shown without a modal run; OK and the close box only hide it.
#pragma once

#include "platform/TForm.h"

class QFrame;
class QLabel;
class QPushButton;

class TZuvAboutBoxForm : public TForm {
public:
    explicit TZuvAboutBoxForm(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* Comments;
    QPushButton* OKButton;

    void OKButtonClick();
};
