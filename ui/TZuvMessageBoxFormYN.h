// The yes/no question: "うん" and "ううん" under the question text, always on top.
#pragma once

#include "platform/TForm.h"

#include <cstdint>

class QLabel;
class QPushButton;

// The outcome of a question: AnswerNo for "ううん" and for every other way of closing.
enum ZuvAnswer : std::uint8_t { AnswerYes = 1, AnswerNo = 2 };

class TZuvMessageBoxFormYN : public TForm {
public:
    explicit TZuvMessageBoxFormYN(QWidget* parent = nullptr);

    QLabel* NoticeLabel;
    QPushButton* YesButton;
    QPushButton* NoButton;

    // Yes has the focus when the question comes up, so Enter answers yes.
    void FormShow();
    void YesButtonClick();
    void NoButtonClick();
};
