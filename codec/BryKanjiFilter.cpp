#include "codec/BryKanjiFilter.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned char ESC = 0x1B;
constexpr unsigned char SO = 0x0E;
constexpr unsigned char SI = 0x0F;
constexpr unsigned char SS2 = 0x8E; // EUC prefix of a half-width katakana

unsigned char* Put(unsigned char* out, unsigned char byte) {
    *out = byte;
    return out + 1;
}

unsigned char* PutEscape(unsigned char* out, unsigned char first, unsigned char second) {
    out[0] = ESC;
    out[1] = first;
    out[2] = second;
    return out + 3;
}

const unsigned char* BytesOf(const AnsiString& line) {
    return reinterpret_cast<const unsigned char*>(line.data());
}

// Gives step room for bound bytes at the end of out and keeps what it wrote.
template <typename Step> void AppendWithin(AnsiString& out, std::size_t bound, Step step) {
    const std::size_t start = out.size();
    out.resize(start + bound);
    unsigned char* const begin = reinterpret_cast<unsigned char*>(out.data()) + start;
    out.resize(start + static_cast<std::size_t>(step(begin) - begin));
}

// Runs of bytes that need no decision (most of a real text) go eight at a time.
using Word = std::uint64_t;
constexpr Word EveryByte = 0x0101010101010101;
constexpr Word HighBits = 0x8080808080808080;

// Exact for any limit up to 0x80.
constexpr bool AnyByteBelow(Word word, unsigned limit) {
    return ((word - EveryByte * limit) & ~word & HighBits) != 0;
}

constexpr bool AllAscii(Word word) {
    return (word & HighBits) == 0;
}

// No SO, SI or ESC, nor any other control byte.
constexpr bool NoControlByte(Word word) {
    return !AnyByteBelow(word, 0x20);
}

// Every byte 0xA0 or above: EUC kanji pairs, no SS2.
constexpr bool AllEucKanji(Word word) {
    return (~word & HighBits) == 0 && !AnyByteBelow(word & ~HighBits, 0x20);
}

constexpr Word Same(Word word) {
    return word;
}
constexpr Word SetHighBits(Word word) {
    return word | HighBits;
}
constexpr Word ClearHighBits(Word word) {
    return word & ~HighBits;
}

// Maps whole words from in + i on while plain holds for them; returns the new position.
template <typename Plain, typename Map>
std::size_t MapWords(const unsigned char* in, std::size_t i, std::size_t length,
                     unsigned char*& out, Plain plain, Map map) {
    for (; i + sizeof(Word) <= length; i += sizeof(Word)) {
        Word word;
        std::memcpy(&word, in + i, sizeof word);
        if (!plain(word))
            break;
        word = map(word);
        std::memcpy(out, &word, sizeof word);
        out += sizeof word;
    }
    return i;
}

std::size_t CopyAscii(const unsigned char* in, std::size_t i, std::size_t length,
                      unsigned char*& out) {
    return MapWords(in, i, length, out, AllAscii, Same);
}

// The pair arithmetic, done once per byte value. A Shift_JIS trail byte decides both
// output bytes: whether the pair falls in the odd or the even JIS row, and the second byte.
struct SjisToEucTables {
    unsigned char lead[2][256]; // [evenRow[trail]][lead]
    unsigned char evenRow[256];
    unsigned char trail[256];
};

constexpr SjisToEucTables MakeSjisToEucTables() {
    SjisToEucTables t{};
    for (int c = 0; c < 256; ++c) {
        auto h = static_cast<unsigned char>(c < 0xA0 ? c + 0x90 : c + 0x50);
        h = static_cast<unsigned char>(h * 2);
        t.lead[0][c] = static_cast<unsigned char>((h - 1) | 0x80);
        t.lead[1][c] = static_cast<unsigned char>(h | 0x80);
        auto l = static_cast<unsigned char>(c >= 0x80 ? c - 1 : c);
        t.evenRow[c] = l >= 0x9E;
        if (l >= 0x9E)
            l = static_cast<unsigned char>(l + 0xA2);
        t.trail[c] = static_cast<unsigned char>((l + 0xE1) | 0x80);
    }
    return t;
}

struct EucToSjisTables {
    unsigned char lead[256];
    unsigned char trail[2][256]; // [lead & 1][trail]
};

constexpr EucToSjisTables MakeEucToSjisTables() {
    EucToSjisTables t{};
    for (int c = 0; c < 256; ++c) {
        const int j = c & 0x7F;
        t.lead[c] = static_cast<unsigned char>((j - 1) / 2 + (j <= 0x5E ? 0x71 : 0xB1));
        t.trail[0][c] = static_cast<unsigned char>(j + 0x7E);
        t.trail[1][c] = static_cast<unsigned char>(j + 0x1F >= 0x7F ? j + 0x20 : j + 0x1F);
    }
    return t;
}

constexpr SjisToEucTables SjisToEucPairs = MakeSjisToEucTables();
constexpr EucToSjisTables EucToSjisPairs = MakeEucToSjisTables();

} // namespace

AnsiString BryKanjiFilter::CodeToName(KanjiCode code) {
    switch (code) {
    case KanjiCode::SJIS:
        return "SJIS";
    case KanjiCode::JIS:
        return "JIS";
    case KanjiCode::EUC:
        return "EUC";
    default:
        return "UNKNOWN";
    }
}

KanjiCode BryKanjiFilter::NameToCode(const AnsiString& name) {
    const AnsiString upper = AnsiUpperCase(name);
    if (upper == "SJIS")
        return KanjiCode::SJIS;
    if (upper == "JIS")
        return KanjiCode::JIS;
    if (upper == "EUC")
        return KanjiCode::EUC;
    return KanjiCode::UNKNOWN;
}

void BryKanjiFilter::SetSourceCode(KanjiCode code) {
    sourceCode = code;
    jisMode = JisAscii;
}

void BryKanjiFilter::SetTargetCode(KanjiCode code) {
    targetCode = code;
}

KanjiCode BryKanjiFilter::DetectSourceCode(const AnsiString& line) {
    SetSourceCode(DetectCode(line.c_str()));
    return sourceCode;
}

KanjiCode BryKanjiFilter::DetectCode(const char* text) {
    bool leadSeen = false; // previous byte was 0xE0-0xFF, a lead in both codes
    for (auto p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        const unsigned char c = *p;
        if (leadSeen) {
            if (c >= 0x80 && c <= 0xA0)
                return KanjiCode::SJIS;
            if (c <= 0x20 || c == 0x7F)
                return KanjiCode::UNKNOWN;
            leadSeen = false;
            continue;
        }
        if (c == ESC)
            return p[1] == 0x24 || p[1] == 0x28 ? KanjiCode::JIS : KanjiCode::UNKNOWN;
        if (c >= 0x80 && c <= 0x9F)
            return KanjiCode::SJIS;
        if (c >= 0xA0 && c <= 0xDF)
            return KanjiCode::EUC;
        leadSeen = c >= 0xE0;
    }
    return KanjiCode::UNKNOWN;
}

std::unique_ptr<TStringList> BryKanjiFilter::ConvertLines(const TStringList& lines) {
    auto result = std::make_unique<TStringList>();
    result->Reserve(lines.Count());
    for (const AnsiString& line : lines)
        result->Add(ConvertLine(line));
    return result;
}

AnsiString BryKanjiFilter::ConvertLine(const AnsiString& line) {
    return Converted(line, sourceCode, targetCode);
}

void BryKanjiFilter::ConvertLineTo(const AnsiString& line, AnsiString& out) {
    AppendConverted(line, sourceCode, targetCode, out);
}

AnsiString BryKanjiFilter::SjisToEuc(const AnsiString& line) {
    return Converted(line, KanjiCode::SJIS, KanjiCode::EUC);
}

AnsiString BryKanjiFilter::EucToSjis(const AnsiString& line) {
    return Converted(line, KanjiCode::EUC, KanjiCode::SJIS);
}

AnsiString BryKanjiFilter::JisToEuc(const AnsiString& line) {
    return Converted(line, KanjiCode::JIS, KanjiCode::EUC);
}

AnsiString BryKanjiFilter::EucToJis(const AnsiString& line) {
    return Converted(line, KanjiCode::EUC, KanjiCode::JIS);
}

AnsiString BryKanjiFilter::SjisToJis(const AnsiString& line) {
    return Converted(line, KanjiCode::SJIS, KanjiCode::JIS);
}

AnsiString BryKanjiFilter::JisToSjis(const AnsiString& line) {
    return Converted(line, KanjiCode::JIS, KanjiCode::SJIS);
}

AnsiString BryKanjiFilter::Converted(const AnsiString& line, KanjiCode from, KanjiCode to) {
    AnsiString result;
    AppendConverted(line, from, to, result);
    return result;
}

// Bounds: a half-width katakana doubles from Shift_JIS or JIS to EUC; towards JIS, kanji
// and ASCII alternating triple the length, plus a return from a carried mode and ESC ( J.
void BryKanjiFilter::AppendConverted(const AnsiString& line, KanjiCode from, KanjiCode to,
                                     AnsiString& out) {
    using enum KanjiCode;
    const unsigned char* const in = BytesOf(line);
    const std::size_t length = line.size();
    if (from == SJIS && to == EUC) {
        AppendWithin(out, 2 * length,
                     [&](unsigned char* p) { return SjisToEucInto(in, length, p); });
    } else if (from == EUC && to == SJIS) {
        AppendWithin(out, length, [&](unsigned char* p) { return EucToSjisInto(in, length, p); });
    } else if (from == JIS && to == EUC) {
        AppendWithin(out, 2 * length,
                     [&](unsigned char* p) { return JisToEucInto(in, length, p); });
    } else if (from == EUC && to == JIS) {
        AppendWithin(out, 3 * length + 8,
                     [&](unsigned char* p) { return EucToJisInto(in, length, p); });
    } else if (from == SJIS && to == JIS) {
        intermediate.resize(std::max(intermediate.size(), 2 * length));
        const unsigned char* const euc = intermediate.data();
        const auto eucLength =
            static_cast<std::size_t>(SjisToEucInto(in, length, intermediate.data()) - euc);
        AppendWithin(out, 3 * eucLength + 8,
                     [&](unsigned char* p) { return EucToJisInto(euc, eucLength, p); });
    } else if (from == JIS && to == SJIS) {
        intermediate.resize(std::max(intermediate.size(), 2 * length));
        const unsigned char* const euc = intermediate.data();
        const auto eucLength =
            static_cast<std::size_t>(JisToEucInto(in, length, intermediate.data()) - euc);
        AppendWithin(out, eucLength,
                     [&](unsigned char* p) { return EucToSjisInto(euc, eucLength, p); });
    } else {
        out.append(line);
    }
}

// A lead byte whose trail would lie past the end of the line is copied as it is.
unsigned char* BryKanjiFilter::SjisToEucInto(const unsigned char* in, std::size_t length,
                                             unsigned char* p) {
    for (std::size_t i = 0; i < length;) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            p = Put(p, c);
            i = CopyAscii(in, i + 1, length, p);
        } else if (c >= 0xA0 && c <= 0xDF) {
            p = Put(Put(p, SS2), c);
            ++i;
        } else if (i + 1 == length) {
            p = Put(p, c);
            ++i;
        } else {
            const unsigned char t = in[i + 1];
            const auto& pairs = SjisToEucPairs;
            p = Put(Put(p, pairs.lead[pairs.evenRow[t]][c]), pairs.trail[t]);
            i += 2;
        }
    }
    return p;
}

unsigned char* BryKanjiFilter::EucToSjisInto(const unsigned char* in, std::size_t length,
                                             unsigned char* p) {
    for (std::size_t i = 0; i < length;) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            p = Put(p, c);
            i = CopyAscii(in, i + 1, length, p);
        } else if (i + 1 == length) {
            p = Put(p, c);
            ++i;
        } else if (c == SS2) {
            p = Put(p, in[i + 1]);
            i += 2;
        } else {
            const auto& pairs = EucToSjisPairs;
            p = Put(Put(p, pairs.lead[c]), pairs.trail[c & 1][in[i + 1]]);
            i += 2;
        }
    }
    return p;
}

unsigned char* BryKanjiFilter::JisToEucInto(const unsigned char* in, std::size_t length,
                                            unsigned char* p) {
    for (std::size_t i = 0; i < length;) {
        if (jisMode == JisAscii)
            i = MapWords(in, i, length, p, NoControlByte, Same);
        else if (jisMode == JisKanji)
            i = MapWords(in, i, length, p, NoControlByte, SetHighBits);
        if (i == length)
            break;
        const unsigned char c = in[i];
        const bool hasNext = i + 1 < length;
        if (c == SO) {
            jisMode = JisKatakana;
            ++i;
        } else if (c == SI) {
            jisMode = JisAscii;
            ++i;
        } else if (c == ESC && hasNext && (in[i + 1] == 0x24 || in[i + 1] == 0x28)) {
            jisMode = in[i + 1] == 0x24 ? JisKanji : JisAscii;
            i += 3;
        } else if (c != ESC && jisMode == JisKatakana) {
            p = Put(Put(p, SS2), static_cast<unsigned char>(c + 0x80));
            ++i;
        } else if (c != ESC && jisMode == JisKanji && hasNext) {
            p = Put(Put(p, c | 0x80), in[i + 1] | 0x80);
            i += 2;
        } else {
            p = Put(p, c);
            ++i;
        }
    }
    return p;
}

// A lead byte cut off at the end of the line is written like a single byte, in ASCII mode.
unsigned char* BryKanjiFilter::EucToJisInto(const unsigned char* in, std::size_t length,
                                            unsigned char* p) {
    for (std::size_t i = 0; i < length;) {
        const unsigned char c = in[i];
        const bool pair = c > 0x80 && i + 1 < length;
        if (pair && c == SS2) {
            if (jisMode == JisKanji)
                p = PutEscape(p, 0x28, 0x42);
            if (jisMode != JisKatakana)
                p = Put(p, SO);
            jisMode = JisKatakana;
            p = Put(p, static_cast<unsigned char>(in[i + 1] - 0x80));
            i += 2;
        } else if (pair) {
            if (jisMode == JisKatakana)
                p = Put(p, SI);
            if (jisMode != JisKanji)
                p = PutEscape(p, 0x24, 0x42);
            jisMode = JisKanji;
            p = Put(Put(p, c & 0x7F), in[i + 1] & 0x7F);
            i = MapWords(in, i + 2, length, p, AllEucKanji, ClearHighBits);
        } else {
            if (jisMode == JisKanji)
                p = PutEscape(p, 0x28, 0x42);
            else if (jisMode == JisKatakana)
                p = Put(p, SI);
            jisMode = JisAscii;
            p = Put(p, c);
            i = CopyAscii(in, i + 1, length, p);
        }
    }
    if (jisMode == JisKanji)
        p = PutEscape(p, 0x28, 0x4A);
    else if (jisMode == JisKatakana)
        p = Put(p, SI);
    jisMode = JisAscii;
    return p;
}
