#include "codec/BryKanjiFilter.h"

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

unsigned char* Reserve(std::vector<unsigned char>& buffer, std::size_t bound) {
    if (buffer.size() < bound)
        buffer.resize(bound);
    return buffer.data();
}

const unsigned char* BytesOf(const AnsiString& line) {
    return reinterpret_cast<const unsigned char*>(line.data());
}

AnsiString ToString(const std::vector<unsigned char>& buffer, std::size_t length) {
    return AnsiString(reinterpret_cast<const char*>(buffer.data()), length);
}

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
    using enum KanjiCode;
    if (sourceCode == SJIS && targetCode == JIS)
        return SjisToJis(line);
    if (sourceCode == SJIS && targetCode == EUC)
        return SjisToEuc(line);
    if (sourceCode == JIS && targetCode == SJIS)
        return JisToSjis(line);
    if (sourceCode == JIS && targetCode == EUC)
        return JisToEuc(line);
    if (sourceCode == EUC && targetCode == SJIS)
        return EucToSjis(line);
    if (sourceCode == EUC && targetCode == JIS)
        return EucToJis(line);
    return line;
}

AnsiString BryKanjiFilter::SjisToEuc(const AnsiString& line) {
    return ToString(scratch, SjisToEucInto(BytesOf(line), line.size(), scratch));
}

AnsiString BryKanjiFilter::EucToSjis(const AnsiString& line) {
    return ToString(scratch, EucToSjisInto(BytesOf(line), line.size(), scratch));
}

AnsiString BryKanjiFilter::JisToEuc(const AnsiString& line) {
    return ToString(scratch, JisToEucInto(BytesOf(line), line.size(), scratch));
}

AnsiString BryKanjiFilter::EucToJis(const AnsiString& line) {
    return ToString(scratch, EucToJisInto(BytesOf(line), line.size(), scratch));
}

AnsiString BryKanjiFilter::SjisToJis(const AnsiString& line) {
    const std::size_t eucLength = SjisToEucInto(BytesOf(line), line.size(), intermediate);
    return ToString(scratch, EucToJisInto(intermediate.data(), eucLength, scratch));
}

AnsiString BryKanjiFilter::JisToSjis(const AnsiString& line) {
    const std::size_t eucLength = JisToEucInto(BytesOf(line), line.size(), intermediate);
    return ToString(scratch, EucToSjisInto(intermediate.data(), eucLength, scratch));
}

// A lead byte whose trail would lie past the end of the line is copied as it is.
std::size_t BryKanjiFilter::SjisToEucInto(const unsigned char* in, std::size_t length, Bytes& out) {
    unsigned char* const begin = Reserve(out, 2 * length);
    unsigned char* p = begin;
    for (std::size_t i = 0; i < length;) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            p = Put(p, c);
            ++i;
        } else if (c >= 0xA0 && c <= 0xDF) {
            p = Put(Put(p, SS2), c);
            ++i;
        } else if (i + 1 == length) {
            p = Put(p, c);
            ++i;
        } else {
            const unsigned char t = in[i + 1];
            unsigned char h = static_cast<unsigned char>(c < 0xA0 ? c + 0x90 : c + 0x50);
            h = static_cast<unsigned char>(h * 2);
            unsigned char l = t >= 0x80 ? static_cast<unsigned char>(t - 1) : t;
            if (l < 0x9E)
                --h;
            else
                l = static_cast<unsigned char>(l + 0xA2);
            l = static_cast<unsigned char>(l + 0xE1);
            p = Put(Put(p, h | 0x80), l | 0x80);
            i += 2;
        }
    }
    return static_cast<std::size_t>(p - begin);
}

std::size_t BryKanjiFilter::EucToSjisInto(const unsigned char* in, std::size_t length, Bytes& out) {
    unsigned char* const begin = Reserve(out, length);
    unsigned char* p = begin;
    for (std::size_t i = 0; i < length;) {
        const unsigned char c = in[i];
        if (c < 0x80 || i + 1 == length) {
            p = Put(p, c);
            ++i;
        } else if (c == SS2) {
            p = Put(p, in[i + 1]);
            i += 2;
        } else {
            const int j1 = c & 0x7F;
            const int j2 = in[i + 1] & 0x7F;
            const int first = (j1 - 1) / 2 + (j1 <= 0x5E ? 0x71 : 0xB1);
            int second = j2 + 0x7E;
            if (j1 % 2 == 1) {
                second = j2 + 0x1F;
                if (second >= 0x7F)
                    ++second;
            }
            p = Put(Put(p, static_cast<unsigned char>(first)), static_cast<unsigned char>(second));
            i += 2;
        }
    }
    return static_cast<std::size_t>(p - begin);
}

std::size_t BryKanjiFilter::JisToEucInto(const unsigned char* in, std::size_t length, Bytes& out) {
    unsigned char* const begin = Reserve(out, 2 * length);
    unsigned char* p = begin;
    for (std::size_t i = 0; i < length;) {
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
    return static_cast<std::size_t>(p - begin);
}

// A lead byte cut off at the end of the line is written like a single byte, in ASCII mode.
std::size_t BryKanjiFilter::EucToJisInto(const unsigned char* in, std::size_t length, Bytes& out) {
    // Worst case: a kanji and an ASCII byte alternating triple the length, plus a
    // return from a carried mode and the final ESC ( J.
    unsigned char* const begin = Reserve(out, 3 * length + 8);
    unsigned char* p = begin;
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
            i += 2;
        } else {
            if (jisMode == JisKanji)
                p = PutEscape(p, 0x28, 0x42);
            else if (jisMode == JisKatakana)
                p = Put(p, SI);
            jisMode = JisAscii;
            p = Put(p, c);
            ++i;
        }
    }
    if (jisMode == JisKanji)
        p = PutEscape(p, 0x28, 0x4A);
    else if (jisMode == JisKatakana)
        p = Put(p, SI);
    jisMode = JisAscii;
    return static_cast<std::size_t>(p - begin);
}
