// Between the controller and the main window: the document text as lines,
// the modified flag, the title and status bar, and the stored window settings.
#pragma once

#include "codec/BryKanjiFilter.h"
#include "codec/BryNewlineFilter.h"
#include "ui/TZuvViewForm.h"

#include <QPointer>

#include <memory>

class ZuvEditor;

class ZuvView {
public:
    explicit ZuvView(ZuvEditor* editor);
    ~ZuvView();
    ZuvView(const ZuvView&) = delete;
    ZuvView& operator=(const ZuvView&) = delete;

    void Show();
    bool IsModified() const;
    void SetModified(bool modified);
    std::unique_ptr<TStringList> GetLines() const;
    void SetLines(const TStringList& lines);
    void ShowStatus(const AnsiString& fileName, KanjiCode kanjiCode, NewlineType newlineType);
    void LoadWindowSettings();
    void SaveWindowSettings();

    // The main window's commands, passed on to the controller.
    bool CanClose();
    void ShowAbout();
    bool Open();
    bool OpenAs();
    bool Save();
    bool SaveAs();
    void EditExtensions();
    void DropFiles(const TStringList& paths);
    void SaveDefaults();

    // The main window, for the controller's dialogs and for tests.
    TZuvViewForm* Form() const { return form; }

private:
    ZuvEditor* editor;
    // The application deletes its forms when the run ends; the pointer notices.
    QPointer<TZuvViewForm> form;
};
