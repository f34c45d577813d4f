#include "codec/BryKanjiFilter.h"
#include "tests/codec/ConvertOnce.h"
#include "tests/codec/Hex.h"

#include <gtest/gtest.h>

#include <map>

using zuvtest::Hex;

namespace {

using zuvtest::Convert;

TStringList ListOf(std::initializer_list<std::string> lines) {
    TStringList list;
    for (const std::string& line : lines)
        list.Add(line);
    return list;
}

TEST(KanjiCodeNames, CodeToNameAndBack) {
    EXPECT_EQ(BryKanjiFilter::CodeToName(KanjiCode::SJIS), "SJIS");
    EXPECT_EQ(BryKanjiFilter::CodeToName(KanjiCode::JIS), "JIS");
    EXPECT_EQ(BryKanjiFilter::CodeToName(KanjiCode::EUC), "EUC");
    EXPECT_EQ(BryKanjiFilter::CodeToName(KanjiCode::UNKNOWN), "UNKNOWN");
    EXPECT_EQ(BryKanjiFilter::CodeToName(static_cast<KanjiCode>(7)), "UNKNOWN");
    EXPECT_EQ(BryKanjiFilter::NameToCode("sjis"), KanjiCode::SJIS);
    EXPECT_EQ(BryKanjiFilter::NameToCode("Jis"), KanjiCode::JIS);
    EXPECT_EQ(BryKanjiFilter::NameToCode("EUC"), KanjiCode::EUC);
    for (const char* other : {"S JIS", " SJIS", "UNKNOWN", "", "EUC-JP"})
        EXPECT_EQ(BryKanjiFilter::NameToCode(other), KanjiCode::UNKNOWN) << other;
}

struct DetectCase {
    const char* bytes;
    KanjiCode expected;
};

class Detection : public testing::TestWithParam<DetectCase> {};

TEST_P(Detection, FirstDecisiveByteWins) {
    const std::string line = Hex(GetParam().bytes);
    EXPECT_EQ(BryKanjiFilter::DetectCode(line.c_str()), GetParam().expected);
    BryKanjiFilter filter;
    EXPECT_EQ(filter.DetectSourceCode(line), GetParam().expected);
    EXPECT_EQ(filter.GetSourceCode(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Detection,
    testing::Values(
        DetectCase{"61 62 63", KanjiCode::UNKNOWN}, DetectCase{"82 A0", KanjiCode::SJIS},
        DetectCase{"A4 A2", KanjiCode::EUC}, DetectCase{"B1", KanjiCode::EUC},
        DetectCase{"8E B1", KanjiCode::SJIS}, DetectCase{"E0 80", KanjiCode::SJIS},
        DetectCase{"E0 A1 82", KanjiCode::SJIS}, DetectCase{"E0 41", KanjiCode::UNKNOWN},
        DetectCase{"E0 20", KanjiCode::UNKNOWN}, DetectCase{"E0 7F 82", KanjiCode::UNKNOWN},
        DetectCase{"1B 24 42", KanjiCode::JIS}, DetectCase{"1B 28 42", KanjiCode::JIS},
        DetectCase{"1B 4B 82", KanjiCode::UNKNOWN}, DetectCase{"61 1B", KanjiCode::UNKNOWN},
        DetectCase{"E0", KanjiCode::UNKNOWN}, DetectCase{"", KanjiCode::UNKNOWN},
        // detection stops at the first NUL
        DetectCase{"61 00 82 A0", KanjiCode::UNKNOWN}));

TEST(Detection, ResetsJisShiftState) {
    BryKanjiFilter filter;
    filter.SetSourceCode(KanjiCode::JIS);
    filter.SetTargetCode(KanjiCode::EUC);
    filter.ConvertLine(Hex("1B 24 42 24 22"));
    filter.DetectSourceCode(Hex("1B 24 42"));
    EXPECT_EQ(filter.ConvertLine(Hex("24 24")), Hex("24 24"));
}

struct ConversionCase {
    KanjiCode from;
    KanjiCode to;
    const char* input;
    const char* output;
};

class Conversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, ProducesExpectedBytes) {
    const ConversionCase& c = GetParam();
    EXPECT_EQ(Convert(c.from, c.to, Hex(c.input)), Hex(c.output));
}

constexpr KanjiCode S = KanjiCode::SJIS;
constexpr KanjiCode J = KanjiCode::JIS;
constexpr KanjiCode E = KanjiCode::EUC;

INSTANTIATE_TEST_SUITE_P(
    EveryPair, Conversion,
    testing::Values(
        // hiragana a, and its neighbours across the odd/even row boundary
        ConversionCase{S, E, "82 A0", "A4 A2"}, ConversionCase{E, S, "A4 A2", "82 A0"},
        ConversionCase{S, J, "82 A0", "1B 24 42 24 22 1B 28 4A"},
        ConversionCase{J, S, "1B 24 42 24 22 1B 28 4A", "82 A0"},
        ConversionCase{E, J, "A4 A2", "1B 24 42 24 22 1B 28 4A"},
        ConversionCase{J, E, "1B 24 42 24 22 1B 28 4A", "A4 A2"},
        ConversionCase{S, E, "88 9F", "B0 A1"}, ConversionCase{E, S, "B0 A1", "88 9F"},
        ConversionCase{S, E, "EA A4", "F4 A6"}, ConversionCase{E, S, "F4 A6", "EA A4"},
        ConversionCase{S, E, "81 40", "A1 A1"}, ConversionCase{E, S, "A1 A1", "81 40"},
        ConversionCase{S, E, "81 7E", "A1 DF"}, ConversionCase{E, S, "A1 DF", "81 7E"},
        ConversionCase{S, E, "81 80", "A1 E0"}, ConversionCase{E, S, "A1 E0", "81 80"},
        // ASCII inside a line returns with ESC ( B, the line's end with ESC ( J
        ConversionCase{S, J, "61 82 A0 62", "61 1B 24 42 24 22 1B 28 42 62"},
        // half-width katakana
        ConversionCase{S, E, "B1", "8E B1"}, ConversionCase{E, S, "8E B1", "B1"},
        ConversionCase{S, J, "B1", "0E 31 0F"}, ConversionCase{J, S, "0E 31 0F", "B1"},
        ConversionCase{E, J, "8E B1", "0E 31 0F"}, ConversionCase{J, E, "0E 31 0F", "8E B1"},
        ConversionCase{S, J, "82 A0 B1", "1B 24 42 24 22 1B 28 42 0E 31 0F"},
        ConversionCase{S, J, "B1 82 A0", "0E 31 0F 1B 24 42 24 22 1B 28 4A"},
        ConversionCase{S, J, "B1 61", "0E 31 0F 61"},
        // ESC $ @ and ESC ( J are read like ESC $ B and ESC ( B
        ConversionCase{J, S, "1B 24 40 24 22 1B 28 4A 61", "82 A0 61"},
        ConversionCase{J, S, "1B 28 49 31", "31"},
        // an ESC that starts no sequence is data
        ConversionCase{J, E, "1B 41 1B", "1B 41 1B"},
        // NUL is data in every direction
        ConversionCase{S, E, "61 00 82 A0", "61 00 A4 A2"},
        ConversionCase{E, S, "00 A4 A2 00", "00 82 A0 00"},
        ConversionCase{S, J, "82 A0 00 62", "1B 24 42 24 22 1B 28 42 00 62"},
        ConversionCase{J, S, "00 1B 24 42 24 22", "00 82 A0"},
        // a character cut off at the end of the line: its lone first byte is copied
        ConversionCase{S, E, "61 82", "61 82"}, ConversionCase{E, S, "61 A4", "61 A4"},
        ConversionCase{E, S, "8E", "8E"},
        ConversionCase{S, J, "82 A0 82", "1B 24 42 24 22 1B 28 42 82"},
        ConversionCase{E, J, "8E", "8E"}, ConversionCase{J, E, "1B 24 42 24", "24"},
        ConversionCase{J, E, "1B 24", ""},
        // malformed pairs run through the same arithmetic, even where it yields 0x00
        ConversionCase{E, S, "80 80", "71 7E"}, ConversionCase{S, E, "80 40", "9F A1"},
        ConversionCase{E, S, "81 E1 FF 80", "71 81 F0 1F"},
        // empty lines hold no escape sequence
        ConversionCase{S, J, "", ""}, ConversionCase{J, S, "", ""}, ConversionCase{E, S, "", ""},
        ConversionCase{S, E, "", ""}, ConversionCase{E, J, "", ""}, ConversionCase{J, E, "", ""}));

TEST(Conversion, ArithmeticThatYieldsNulKeepsTheRestOfTheLine) {
    // In katakana mode 0x80 + 0x80 wraps to 0x00.
    EXPECT_EQ(Convert(J, E, Hex("0E 80 61 0F 62")), Hex("8E 00 8E E1 62"));
    EXPECT_EQ(Convert(J, S, Hex("0E 80 61 0F 62")), Hex("00 E1 62"));
}

TEST(Conversion, EqualOrUnknownCodesLeaveLineUnchanged) {
    const std::string line = Hex("82 A0 1B 24 42 00 8E B1 FF");
    const KanjiCode codes[] = {S, J, E, KanjiCode::UNKNOWN, static_cast<KanjiCode>(9)};
    for (KanjiCode from : codes) {
        for (KanjiCode to : codes) {
            const bool convertible = from != to && from != KanjiCode::UNKNOWN &&
                                     to != KanjiCode::UNKNOWN && static_cast<int>(from) <= 3 &&
                                     static_cast<int>(to) <= 3;
            if (!convertible) {
                EXPECT_EQ(Convert(from, to, line), line);
            }
        }
    }
}

TEST(Conversion, JisShiftStateCarriesToTheNextLine) {
    BryKanjiFilter filter;
    filter.SetSourceCode(J);
    filter.SetTargetCode(S);
    const auto sjis = filter.ConvertLines(ListOf({Hex("1B 24 42 24 22"), Hex("24 24")}));
    EXPECT_EQ(*sjis, ListOf({Hex("82 A0"), Hex("82 A2")}));
    filter.SetSourceCode(J); // a new list starts in ASCII
    EXPECT_EQ(*filter.ConvertLines(ListOf({Hex("24 24")})), ListOf({Hex("24 24")}));
    filter.SetSourceCode(J);
    filter.SetTargetCode(E);
    const auto euc = filter.ConvertLines(ListOf({Hex("0E 31"), Hex("32 0F 33")}));
    EXPECT_EQ(*euc, ListOf({Hex("8E B1"), Hex("8E B2 33")}));
}

TEST(Conversion, WrittenJisLinesAreSelfContained) {
    BryKanjiFilter filter;
    filter.SetSourceCode(S);
    filter.SetTargetCode(J);
    const auto jis = filter.ConvertLines(ListOf({Hex("82 A0"), Hex("B1"), Hex("61")}));
    EXPECT_EQ(*jis, ListOf({Hex("1B 24 42 24 22 1B 28 4A"), Hex("0E 31 0F"), Hex("61")}));
}

TEST(Conversion, ConvertLinesLeavesInputAlone) {
    BryKanjiFilter filter;
    filter.SetSourceCode(S);
    filter.SetTargetCode(E);
    const TStringList input = ListOf({Hex("82 A0"), "", Hex("B1")});
    const TStringList copy = input;
    const auto output = filter.ConvertLines(input);
    EXPECT_EQ(input, copy);
    EXPECT_EQ(*output, ListOf({Hex("A4 A2"), "", Hex("8E B1")}));
}

// Worst-case growth: kanji and ASCII alternating, and a long line of kanji.
TEST(Conversion, LongLinesKeepEveryByte) {
    std::string sjis, jis;
    for (int i = 0; i < 20000; ++i) {
        sjis += Hex("82 A0 61");
        jis += Hex("1B 24 42 24 22 1B 28 42 61");
    }
    EXPECT_EQ(Convert(S, J, sjis), jis);
    EXPECT_EQ(Convert(J, S, jis), sjis);
    std::string kanji(300000, '\0');
    for (std::size_t i = 0; i < kanji.size(); i += 2) {
        kanji[i] = static_cast<char>(0x88);
        kanji[i + 1] = static_cast<char>(0x9F);
    }
    EXPECT_EQ(Convert(E, S, Convert(S, E, kanji)), kanji);
    EXPECT_EQ(Convert(J, S, Convert(S, J, kanji)), kanji);
}

// Runs of ASCII and kanji of every length up to past two eight-byte words, at every offset,
// in every direction: the same bytes as one character at a time.
TEST(Conversion, RunsOfAnyLengthConvertWhole) {
    const auto repeat = [](const std::string& unit, int times) {
        std::string text;
        for (int i = 0; i < times; ++i)
            text += unit;
        return text;
    };
    for (int ascii = 0; ascii <= 17; ++ascii) {
        for (int kanji = 0; kanji <= 17; ++kanji) {
            const std::string before = repeat("a", ascii);
            const std::string after = repeat("b", ascii);
            std::string jisKanji;
            if (kanji > 0)
                jisKanji = Hex("1B 24 42") + repeat(Hex("24 22"), kanji) +
                           Hex(ascii > 0 ? "1B 28 42" : "");
            const std::map<KanjiCode, std::string> forms = {
                {S, before + repeat(Hex("82 A0"), kanji) + after},
                {E, before + repeat(Hex("A4 A2"), kanji) + after},
                {J, before + jisKanji + after + Hex(kanji > 0 && ascii == 0 ? "1B 28 4A" : "")}};
            for (const auto& [from, input] : forms) {
                for (const auto& [to, output] : forms) {
                    EXPECT_EQ(Convert(from, to, input), output)
                        << static_cast<int>(from) << "->" << static_cast<int>(to) << " ascii "
                        << ascii << " kanji " << kanji;
                }
            }
        }
    }
}

TEST(Conversion, ConvertLineToAppendsWithTheSameState) {
    BryKanjiFilter filter;
    filter.SetSourceCode(J);
    filter.SetTargetCode(S);
    std::string out = "x";
    filter.ConvertLineTo(Hex("1B 24 42 24 22"), out);
    filter.ConvertLineTo(Hex("24 24"), out);
    EXPECT_EQ(out, "x" + Hex("82 A0 82 A2"));
    filter.SetSourceCode(S);
    filter.SetTargetCode(S);
    filter.ConvertLineTo(Hex("82 A0"), out);
    EXPECT_EQ(out, "x" + Hex("82 A0 82 A2 82 A0"));
}

} // namespace
