// Confirms the kanji code (reading) or the kanji code and newline type (writing)
// before a file is read or written. Holds the pre-set and the confirmed codes.
#pragma once

#include "codec/BryKanjiFilter.h"
#include "codec/BryNewlineFilter.h"
#include "platform/AnsiString.h"
#include "ui/TZuvExtensionSelectForm.h"

#include <QPointer>

class ZuvEditor;

class ZuvExtensionSelector {
public:
    explicit ZuvExtensionSelector(ZuvEditor* editor);
    ~ZuvExtensionSelector();
    ZuvExtensionSelector(const ZuvExtensionSelector&) = delete;
    ZuvExtensionSelector& operator=(const ZuvExtensionSelector&) = delete;

    void SetKanjiCode(KanjiCode code);
    void SetNewlineType(NewlineType type);
    KanjiCode GetKanjiCode() const { return kanjiCode; }
    NewlineType GetNewlineType() const { return newlineType; }

    // Kanji code only; the newline panel is hidden.
    bool ExecuteForOpen(const AnsiString& notice);
    // Kanji code and newline type.
    bool ExecuteForSave(const AnsiString& notice);

private:
    bool Execute(const AnsiString& notice);

    ZuvEditor* editor;
    // The application owns the form too and may delete it first.
    QPointer<TZuvExtensionSelectForm> form;
    bool confirmed = false;
    KanjiCode kanjiCode = KanjiCode::SJIS;
    NewlineType newlineType = NewlineType::CR_LF;
};
