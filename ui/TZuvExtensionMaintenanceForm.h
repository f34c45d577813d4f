// The extension settings dialog. Its rows are the working copy of the settings:
// Set and Delete rebuild a list from the rows, change it and refill the rows,
// so they always come out sorted with one row per extension.
#pragma once

#include "platform/TForm.h"
#include "settings/ZuvExtensionList.h"

#include <memory>

class QEvent;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

class TZuvExtensionMaintenanceForm : public TForm {
public:
    explicit TZuvExtensionMaintenanceForm(QWidget* parent = nullptr);

    QTreeWidget* ExtensionListView;
    QPushButton* ExtensionOKButton;
    QPushButton* ExtensionCancelButton;
    QGroupBox* ExtensionGroupBox;
    QLabel* ExtensionEditLabel;
    QLineEdit* ExtensionEdit;
    QLabel* ExtensionCodeLabel;
    QLabel* ExtensionNewlineLabel;
    QFrame* ExtensionCodePanel;
    QRadioButton* ExtensionSJISButton;
    QRadioButton* ExtensionJISButton;
    QRadioButton* ExtensionEUCButton;
    QFrame* ExtensionNewlinePanel;
    QRadioButton* ExtensionCRLFButton;
    QRadioButton* ExtensionCRButton;
    QRadioButton* ExtensionLFButton;
    QFrame* ExtensionSettingPanel;
    QPushButton* ExtensionSetButton;
    QPushButton* ExtensionDeleteButton;

    // Fills the rows in list order and resets the input fields; the list stays the caller's.
    void SetExtensionList(const ZuvExtensionList* list);
    // Sorted, one entry per extension; of several rows for one extension the last wins.
    std::unique_ptr<ZuvExtensionList> GetExtensionList() const;
    // Copies the selected row into the edit field and the radio buttons.
    void ShowSelectedItem();

    void ExtensionListViewClick();
    void ExtensionListViewKeyUp(int key, Qt::KeyboardModifiers shift);
    void ExtensionSetButtonClick();
    void ExtensionDeleteButtonClick();
    void ExtensionOKButtonClick();
    void ExtensionCancelButtonClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // No button is the default one: Enter presses only a focused button, so Enter in the
    // edit field cannot end the dialog and drop a setting that was not Set.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateListView();
    void CreateInputFields();
    void ResetInputFields();
};
