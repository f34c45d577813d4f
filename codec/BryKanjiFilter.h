// Kanji code detection and line-by-line conversion between Shift_JIS, JIS and EUC-JP.
#pragma once

#include "platform/AnsiString.h"
#include "platform/TStringList.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Values above EUC can occur (they come from stored numbers); they count as UNKNOWN.
enum class KanjiCode : std::uint8_t { UNKNOWN = 0, SJIS = 1, JIS = 2, EUC = 3 };

class BryKanjiFilter {
public:
    static AnsiString CodeToName(KanjiCode code);
    // Case-insensitive; any other text gives UNKNOWN.
    static KanjiCode NameToCode(const AnsiString& name);

    void SetSourceCode(KanjiCode code);
    void SetTargetCode(KanjiCode code);
    KanjiCode GetSourceCode() const { return sourceCode; }
    KanjiCode GetTargetCode() const { return targetCode; }

    // Detects the code of one line, makes it the source code and resets the JIS shift state.
    KanjiCode DetectSourceCode(const AnsiString& line);
    // Scans up to the first NUL; UNKNOWN when no byte decides.
    static KanjiCode DetectCode(const char* text);

    // Converts every line from the source to the target code; the JIS shift state
    // carries from one line to the next.
    std::unique_ptr<TStringList> ConvertLines(const TStringList& lines);
    AnsiString ConvertLine(const AnsiString& line);
    // The same, appended to out: lets callers convert into a buffer they reuse.
    void ConvertLineTo(const AnsiString& line, AnsiString& out);

    AnsiString SjisToEuc(const AnsiString& line);
    AnsiString EucToSjis(const AnsiString& line);
    AnsiString JisToEuc(const AnsiString& line);
    AnsiString EucToJis(const AnsiString& line);
    AnsiString SjisToJis(const AnsiString& line);
    AnsiString JisToSjis(const AnsiString& line);

private:
    void AppendConverted(const AnsiString& line, KanjiCode from, KanjiCode to, AnsiString& out);
    AnsiString Converted(const AnsiString& line, KanjiCode from, KanjiCode to);

    // Each step writes at out, which has room for the worst case, and returns the end of
    // what it wrote.
    static unsigned char* SjisToEucInto(const unsigned char* in, std::size_t length,
                                        unsigned char* out);
    static unsigned char* EucToSjisInto(const unsigned char* in, std::size_t length,
                                        unsigned char* out);
    unsigned char* JisToEucInto(const unsigned char* in, std::size_t length, unsigned char* out);
    unsigned char* EucToJisInto(const unsigned char* in, std::size_t length, unsigned char* out);

    enum JisMode : std::uint8_t { JisAscii = 0, JisKatakana = 1, JisKanji = 2 };

    KanjiCode sourceCode = KanjiCode::UNKNOWN;
    KanjiCode targetCode = KanjiCode::UNKNOWN;
    std::uint8_t jisMode = JisAscii;
    std::vector<unsigned char> intermediate; // EUC between the two steps of SJIS <-> JIS
};
