// The editor's document load and save steps, shared by the editor and zuvconv.
#pragma once

#include "codec/BryKanjiFilter.h"
#include "codec/BryNewlineFilter.h"

#include <memory>

struct LoadedDocument {
    std::unique_ptr<TStringList> lines; // Shift_JIS
    KanjiCode detectedCode;             // UNKNOWN when no line decided
    KanjiCode kanjiCode;                // as recorded: SJIS for an undecided file
    NewlineType newlineType;
};

// stated UNKNOWN detects the code. Throws BryNewlineFilterIOException.
LoadedDocument ReadDocument(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter,
                            const AnsiString& path, KanjiCode stated);
LoadedDocument ReadDocumentFrom(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter,
                                int fd, KanjiCode stated);

// lines are Shift_JIS. Throws BryNewlineFilterIOException.
void WriteDocument(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter,
                   const AnsiString& path, const TStringList& lines, KanjiCode kanjiCode,
                   NewlineType newlineType);
void WriteDocumentTo(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter, int fd,
                     const TStringList& lines, KanjiCode kanjiCode, NewlineType newlineType);
