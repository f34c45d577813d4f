// The loading notice: a borderless, always-on-top panel with one or two centred
// lines; no buttons, it does not wait for the user.
#pragma once

#include "platform/TForm.h"

class QFrame;
class QGroupBox;
class QLabel;

class TZuvMessageBoxForm : public TForm {
public:
    explicit TZuvMessageBoxForm(QWidget* parent = nullptr);

    QFrame* BasePanel;
    QGroupBox* MessageGroupBox;
    QLabel* NoticeLabel;
};
