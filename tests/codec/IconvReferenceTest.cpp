// Checks the conversion arithmetic against glibc's published iconv tables.
#include "codec/BryKanjiFilter.h"
#include "tests/codec/ConvertOnce.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <optional>

namespace {

using zuvtest::Convert;

// One conversion with glibc's iconv; nullopt when iconv refuses the bytes.
std::optional<std::string> Iconv(const char* to, const char* from, const std::string& in) {
    iconv_t cd = iconv_open(to, from);
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << from << " -> " << to;
    std::string input = in;
    std::string output(64, '\0');
    char* inPtr = input.data();
    char* outPtr = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) &&
                    iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok || inLeft != 0)
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

constexpr KanjiCode S = KanjiCode::SJIS;
constexpr KanjiCode J = KanjiCode::JIS;
constexpr KanjiCode E = KanjiCode::EUC;

TEST(IconvReference, EveryJisX0208CharacterInAllThreeCodes) {
    int characters = 0;
    for (int row = 1; row <= 94; ++row) {
        for (int cell = 1; cell <= 94; ++cell) {
            const std::string euc{static_cast<char>(row + 0xA0), static_cast<char>(cell + 0xA0)};
            const auto sjis = Iconv("SHIFT_JIS", "EUC-JP", euc);
            if (!sjis)
                continue; // not assigned in JIS X 0208
            ++characters;
            ASSERT_EQ(Convert(E, S, euc), *sjis) << row << "-" << cell;
            ASSERT_EQ(Convert(S, E, *sjis), euc) << row << "-" << cell;
            const std::string jis = Convert(S, J, *sjis);
            ASSERT_EQ(Iconv("EUC-JP", "ISO-2022-JP", jis), euc) << row << "-" << cell;
            ASSERT_EQ(Iconv("ISO-2022-JP", "EUC-JP", euc)->substr(0, 5), jis.substr(0, 5));
            ASSERT_EQ(Convert(J, S, jis), *sjis);
            ASSERT_EQ(Convert(J, E, jis), euc);
        }
    }
    EXPECT_EQ(characters, 6879);
}

TEST(IconvReference, EveryHalfWidthKatakana) {
    for (int byte = 0xA1; byte <= 0xDF; ++byte) {
        const std::string sjis{static_cast<char>(byte)};
        const auto euc = Iconv("EUC-JP", "SHIFT_JIS", sjis);
        ASSERT_TRUE(euc) << byte;
        EXPECT_EQ(Iconv("EUC-JP", "CP932", sjis), euc);
        EXPECT_EQ(Convert(S, E, sjis), *euc) << byte;
        EXPECT_EQ(Convert(E, S, *euc), sjis) << byte;
        const std::string jis = Convert(S, J, sjis);
        const std::string shifted{'\x0E', static_cast<char>(byte - 0x80), '\x0F'};
        EXPECT_EQ(jis, shifted);
        EXPECT_EQ(Convert(J, S, jis), sjis);
        EXPECT_EQ(Convert(J, E, jis), *euc);
    }
}

} // namespace
