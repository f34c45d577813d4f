// Building blocks shared by the dialog forms: the form font and frame, controls
// at fixed pixel positions, and the two radio-button panels for the codes.
#pragma once

#include "codec/BryKanjiFilter.h"
#include "codec/BryNewlineFilter.h"
#include "platform/AnsiString.h"

#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

QString ToQString(const AnsiString& text);
AnsiString ToAnsiString(const QString& text);

// "ＭＳ Ｐゴシック", 12 pixels high, as every dialog uses.
void SetFormFont(QWidget* form);
// A fixed-size dialog frame: title bar with a close box only.
void SetDialogFrame(QWidget* form, int clientWidth, int clientHeight);
// Moves a top-level form to the centre of the screen it is on.
void CenterOnScreen(QWidget* form);

QLabel* AddLabel(QWidget* parent, const QString& caption, int left, int top);
// A fixed-size label whose text starts at the top, centred line by line.
QLabel* AddCenteredLabel(QWidget* parent, int left, int top, int width, int height);
QPushButton* AddButton(QWidget* parent, const QString& caption, int left, int top, int width,
                       int height);
// A panel without bevel; the radio buttons on one panel exclude each other.
QFrame* AddPanel(QWidget* parent, int left, int top, int width, int height);
QRadioButton* AddRadioButton(QWidget* parent, const QString& caption, int left, int top, int width,
                             int height);

// The three buttons of a kanji code panel and of a newline panel.
struct KanjiCodeButtons {
    QRadioButton* sjis;
    QRadioButton* jis;
    QRadioButton* euc;
};
struct NewlineTypeButtons {
    QRadioButton* crlf;
    QRadioButton* cr;
    QRadioButton* lf;
};

// Checks the button of a code from 1 to 3; any other value changes nothing.
void CheckKanjiCode(const KanjiCodeButtons& buttons, KanjiCode code);
void CheckNewlineType(const NewlineTypeButtons& buttons, NewlineType type);
// The code of the checked button, UNKNOWN when none is checked.
KanjiCode CheckedKanjiCode(const KanjiCodeButtons& buttons);
NewlineType CheckedNewlineType(const NewlineTypeButtons& buttons);
