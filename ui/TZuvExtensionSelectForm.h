// The code confirmation: a notice above a kanji code panel and a newline panel,
// answered with "うん" or "ううん".
#pragma once

#include "codec/BryKanjiFilter.h"
#include "codec/BryNewlineFilter.h"
#include "platform/AnsiString.h"
#include "platform/TForm.h"

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class ZuvExtensionSelector;

class TZuvExtensionSelectForm : public TForm {
public:
    explicit TZuvExtensionSelectForm(QWidget* parent = nullptr);

    QFrame* ExtensionNewlinePanel;
    QRadioButton* ExtensionCRLFButton;
    QRadioButton* ExtensionCRButton;
    QRadioButton* ExtensionLFButton;
    QFrame* ExtensionCodePanel;
    QRadioButton* ExtensionSJISButton;
    QRadioButton* ExtensionJISButton;
    QRadioButton* ExtensionEUCButton;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QLabel* NoticeLabel;
    QLabel* ExtensionKanjiLabel;
    QLabel* ExtensionNewlineLabel;

    void SetSelector(ZuvExtensionSelector* selector) { Selector = selector; }

    // A value outside 1 to 3 leaves the buttons as they are.
    void SetKanjiCode(KanjiCode code);
    void SetNewlineType(NewlineType type);
    KanjiCode GetKanjiCode() const;
    NewlineType GetNewlineType() const;

    // One modal run; true when the user answered "うん".
    bool Execute(const AnsiString& notice);

    void OkButtonClick();
    void CancelButtonClick();

private:
    ZuvExtensionSelector* Selector = nullptr;
};
