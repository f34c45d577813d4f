// The font dialog of the main window: Qt's font choice (face, style, size,
// underline, strike-out) with a colour choice added, as the editor font holds
// a colour too.
#pragma once

#include "platform/TFont.h"

#include <QDialog>

class QComboBox;
class QFontDialog;

class TZuvFontDialog : public QDialog {
public:
    explicit TZuvFontDialog(QWidget* parent = nullptr);

    // Modal; true when the user confirmed, Font then holds the choice.
    bool Execute();
    const TFont& Font() const { return font; }
    void SetFont(const TFont& newFont);

    QFontDialog* FontChooser;
    QComboBox* ColorBox;

private:
    void TakeChoice();

    TFont font;
};
