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
    // Line by line in place: the same result as ConvertLines without a second list, and
    // without a new string for a line whose converted form fits where it was.
    if (kanjiFilter.GetSourceCode() != KanjiCode::SJIS) {
        AnsiString converted;
        for (int i = 0; i < raw->Count(); ++i) {
            AnsiString& line = raw->Strings(i);
            converted.clear();
            kanjiFilter.ConvertLineTo(line, converted);
            line.assign(converted);
        }
    }
    return {std::move(raw), code, kanjiFilter.GetSourceCode(), newlineFilter.GetNewlineType()};
}

// Sets both filters up for writing; the transform converts each line as it is written,
// in order, as ConvertLines would, and is empty when the lines are already in the code.
BryNewlineFilter::LineTransform Encode(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter,
                                       KanjiCode kanjiCode, NewlineType newlineType) {
    newlineFilter.SetNewlineType(newlineType);
    kanjiFilter.SetSourceCode(KanjiCode::SJIS);
    kanjiFilter.SetTargetCode(kanjiCode);
    if (kanjiCode == KanjiCode::SJIS)
        return {};
    return [&kanjiFilter](const AnsiString& line, AnsiString& out) {
        kanjiFilter.ConvertLineTo(line, out);
    };
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
    newlineFilter.WriteFile(path, lines,
                            Encode(newlineFilter, kanjiFilter, kanjiCode, newlineType));
}

void WriteDocumentTo(BryNewlineFilter& newlineFilter, BryKanjiFilter& kanjiFilter, int fd,
                     const TStringList& lines, KanjiCode kanjiCode, NewlineType newlineType) {
    newlineFilter.WriteTo(fd, lines, Encode(newlineFilter, kanjiFilter, kanjiCode, newlineType));
}
