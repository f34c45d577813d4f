#include "codec/DocumentPipeline.h"

#include <utility>

namespace {

// Detects the code unless one was stated and converts the raw lines to Shift_JIS.
LoadedDocument Decode(const BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter,
                      std::unique_ptr<TStringList> raw, KanjiCode stated) {
    KanjiCode code = stated;
    if (code == KanjiCode::UNKNOWN) {
        for (const AnsiString& line : *raw) {
            code = kanjiFilter.DetectSourceCode(line);
            if (code != KanjiCode::UNKNOWN)
                break;
        }
    }
    kanjiFilter.SetSourceCode(code == KanjiCode::UNKNOWN ? KanjiCode::SJIS : code);
    kanjiFilter.SetTargetCode(KanjiCode::SJIS);
    if (kanjiFilter.GetSourceCode() != KanjiCode::SJIS)
        raw = kanjiFilter.ConvertLines(*raw);
    return {std::move(raw), code, kanjiFilter.GetSourceCode(), newlineFilter.GetNewlineType()};
}

// The lines in the target code: null when they are already in it.
std::unique_ptr<TStringList> Encode(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter,
                                    const TStringList& lines, KanjiCode kanjiCode,
                                    NewlineType newlineType) {
    newlineFilter.SetNewlineType(newlineType);
    kanjiFilter.SetSourceCode(KanjiCode::SJIS);
    kanjiFilter.SetTargetCode(kanjiCode);
    if (kanjiCode == KanjiCode::SJIS)
        return nullptr;
    return kanjiFilter.ConvertLines(lines);
}

} // namespace

LoadedDocument ReadDocument(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter,
                            const AnsiString& path, KanjiCode stated) {
    kanjiFilter.SetSourceCode(stated);
    return Decode(newlineFilter, kanjiFilter, newlineFilter.ReadFile(path), stated);
}

LoadedDocument ReadDocumentFrom(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter,
                                int fd, KanjiCode stated) {
    kanjiFilter.SetSourceCode(stated);
    return Decode(newlineFilter, kanjiFilter, newlineFilter.ReadFrom(fd), stated);
}

void WriteDocument(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter,
                   const AnsiString& path, const TStringList& lines, KanjiCode kanjiCode,
                   NewlineType newlineType) {
    const auto converted = Encode(newlineFilter, kanjiFilter, lines, kanjiCode, newlineType);
    newlineFilter.WriteFile(path, converted ? *converted : lines);
}

void WriteDocumentTo(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter, int fd,
                     const TStringList& lines, KanjiCode kanjiCode, NewlineType newlineType) {
    const auto converted = Encode(newlineFilter, kanjiFilter, lines, kanjiCode, newlineType);
    newlineFilter.WriteTo(fd, converted ? *converted : lines);
}
