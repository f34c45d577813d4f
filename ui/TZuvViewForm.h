// The main window: the menu bar, the edit control filling the client area and
// the status bar with the document's kanji code and newline type. The menu
// commands go to the controller through the view; editing and the font act
// on the edit control directly.
#pragma once

#include "platform/TForm.h"
#include "platform/TScintillaEdit.h"
#include "ui/TZuvFontDialog.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <array>
#include <memory>

class ZuvView;

// The file name as the title shows it: UTF-8, with each byte that is not part of
// a valid UTF-8 sequence shown as \xNN.
AnsiString DisplayFileName(const AnsiString& fileName);

class TZuvViewForm : public TMainForm {
public:
    TZuvViewForm();

    QMenuBar* MainMenu;
    QMenu* MainMenu_File;
    QAction* MainMenu_File_Exit;
    QMenu* MainMenu_Help;
    QAction* MainMenu_Help_About;
    QStatusBar* ViewStatusBar;
    TScintillaEdit* ViewEdit;
    QAction* N1;
    QAction* MainMenu_File_Open;
    QAction* MainMenu_File_Save;
    QAction* MainMenu_File_SaveAs;
    QAction* MainMenu_File_OpenAs;
    QMenu* MainMenu_Option;
    QAction* MainMenu_Option_Extension;
    QMenu* MainMenu_Show;
    QAction* MainMenu_Show_Font;
    TZuvFontDialog* ViewFontDialog;
    QMenu* MainMenu_Edit;
    QAction* MainMenu_Edit_Undo;
    QAction* MainMenu_Edit_Cut;
    QAction* N2;
    QAction* MainMenu_Edit_Copy;
    QAction* MainMenu_Edit_Paste;
    QAction* MainMenu_Edit_Delete;
    QAction* MainMenu_Edit_SelectAll;
    QAction* MainMenu_Option_Defaults;
    QAction* N3;
    QMenu* MainMenu_Find;
    QAction* MainMenu_Find_Find;
    QAction* MainMenu_Find_Replace;

    void FormCloseQuery(bool& canClose);
    void MainMenu_File_ExitClick();
    void MainMenu_Help_AboutClick();
    void MainMenu_File_OpenClick();
    void MainMenu_File_OpenAsClick();
    void MainMenu_File_SaveClick();
    void MainMenu_File_SaveAsClick();
    void MainMenu_Option_ExtensionClick();
    void MainMenu_Show_FontClick();
    void MainMenu_Edit_UndoClick();
    void MainMenu_Edit_CutClick();
    void MainMenu_Edit_CopyClick();
    void MainMenu_Edit_PasteClick();
    void MainMenu_Edit_DeleteClick();
    void MainMenu_Edit_SelectAllClick();
    void MainMenu_EditClick();
    void MainMenu_Option_DefaultsClick();

    void SetView(ZuvView* view) { View = view; }
    bool IsModified() const;
    void SetModified(bool modified);
    std::unique_ptr<TStringList> GetLines() const;
    void SetLines(const TStringList& lines);
    void ShowStatus(const AnsiString& fileName, const AnsiString& kanjiCodeName,
                    const AnsiString& newlineTypeName);
    AnsiString StatusText(int panel) const;

protected:
    // Files dropped outside the edit control (on the menu or status bar).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateMenus();
    QAction* AddCommand(QMenu* menu, const char* caption, void (TZuvViewForm::*handler)());
    void CreateStatusBar();
    void DropFiles(const TStringList& paths);

    std::array<QLabel*, 3> statusPanels{};
    ZuvView* View = nullptr;
};
