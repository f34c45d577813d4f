// The controller: creates every part at start-up, holds the document's file
// name and codes, and runs the load and save pipelines.
#pragma once

#include "codec/BryKanjiFilter.h"
#include "codec/BryNewlineFilter.h"
#include "platform/TStringList.h"

class ZuvView;
class ZuvAboutBox;
class ZuvMessageBox;
class ZuvFileSelector;
class ZuvExtensionSelector;

class ZuvEditor {
public:
    // arguments: the command line after the program name, as bytes; the first
    // one, if any, is the file to open.
    explicit ZuvEditor(const TStringList& arguments);
    ~ZuvEditor();
    ZuvEditor(const ZuvEditor&) = delete;
    ZuvEditor& operator=(const ZuvEditor&) = delete;

    // kanjiCode UNKNOWN detects the code from the content.
    bool LoadFile(const AnsiString& path, KanjiCode kanjiCode);
    bool SaveFile(const AnsiString& path, KanjiCode kanjiCode, NewlineType newlineType);
    static AnsiString ExpandLongPath(const AnsiString& path);
    void UpdateStatus();

    // The user's commands. Open, OpenAs, Save, SaveAs and DropFiles refresh the
    // title and status bar afterwards, whatever their outcome; the bool results
    // say whether a file was read or written.
    bool Open();
    bool OpenAs();
    bool Save();
    bool SaveAs();
    void DropFiles(const TStringList& paths);
    void EditExtensions();
    void SaveDefaults();
    void ShowAbout();
    // Whether the main window may close.
    bool CanClose();

    const AnsiString& FileName() const { return fileName; }
    KanjiCode GetKanjiCode() const { return kanjiCode; }
    NewlineType GetNewlineType() const { return newlineType; }
    ZuvView* View() const { return view; }

private:
    // True when the caller may replace the document.
    bool QuerySave();
    bool OpenFile(bool askKanjiCode);
    bool ReadInto(const AnsiString& path, KanjiCode code);
    bool WriteChecked(const AnsiString& path);
    bool WriteAs(const AnsiString& path);
    bool SettleCodesForExtension(const AnsiString& path);
    bool ConfirmSaveCodes(const AnsiString& path);
    template <class Command> bool Refreshed(Command command);

    ZuvView* view;
    ZuvAboutBox* aboutBox;
    ZuvMessageBox* messageBox;
    ZuvFileSelector* fileSelector;
    ZuvExtensionSelector* extensionSelector;
    BryNewlineFilter* newlineFilter;
    BryKanjiFilter* kanjiFilter;
    NewlineType newlineType;
    KanjiCode kanjiCode;
    AnsiString fileName;
};
