#include "codec/DocumentPipeline.h"
#include "tests/codec/Hex.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using zuvtest::Hex;
using zuvtest::ReadBytes;
using zuvtest::TempDir;
using zuvtest::WriteBytes;

namespace {

struct LoadCase {
    std::string bytes;
    KanjiCode stated;
    std::vector<std::string> sjisLines;
    KanjiCode detected;
    KanjiCode recorded;
    NewlineType type;
};

class Loading : public testing::TestWithParam<LoadCase> {};

TEST_P(Loading, DetectsConvertsAndRecords) {
    const LoadCase& c = GetParam();
    TempDir dir;
    WriteBytes(dir.File("in.txt"), c.bytes);
    BryNewlineFilter newlineFilter;
    newlineFilter.SetNewlineType(NewlineType::CR_LF);
    BryKanjiFilter kanjiFilter;
    const LoadedDocument doc =
        ReadDocument(newlineFilter, kanjiFilter, dir.File("in.txt"), c.stated);
    EXPECT_EQ(std::vector<std::string>(doc.lines->begin(), doc.lines->end()), c.sjisLines);
    EXPECT_EQ(doc.detectedCode, c.detected);
    EXPECT_EQ(doc.kanjiCode, c.recorded);
    EXPECT_EQ(doc.newlineType, c.type);
}

constexpr KanjiCode U = KanjiCode::UNKNOWN;
constexpr KanjiCode S = KanjiCode::SJIS;
constexpr KanjiCode J = KanjiCode::JIS;
constexpr KanjiCode E = KanjiCode::EUC;

INSTANTIATE_TEST_SUITE_P(
    Files, Loading,
    testing::Values(LoadCase{"", U, {}, U, S, NewlineType::CR_LF},
                    LoadCase{"abc\n", U, {"abc"}, U, S, NewlineType::LF},
                    // the first deciding line gives the code of the whole file
                    LoadCase{"x\n" + Hex("A4 A2 0A 82 A0 0A"),
                             U,
                             {"x", Hex("82 A0"), Hex("71 9E")},
                             E,
                             E,
                             NewlineType::LF},
                    LoadCase{Hex("1B 24 42 24 22 0D 24 24 1B 28 42 0D"),
                             U,
                             {Hex("82 A0"), Hex("82 A2")},
                             J,
                             J,
                             NewlineType::CR},
                    LoadCase{Hex("82 A0 0D 0A"), U, {Hex("82 A0")}, S, S, NewlineType::CR_LF},
                    // a stated code is used whatever the content says
                    LoadCase{Hex("A4 A2 0A"), S, {Hex("A4 A2")}, S, S, NewlineType::LF},
                    LoadCase{Hex("82 A0 0A"), E, {Hex("71 9E")}, E, E, NewlineType::LF}));

struct SaveCase {
    KanjiCode code;
    NewlineType type;
    std::string bytes;
};

class Saving : public testing::TestWithParam<SaveCase> {};

TEST_P(Saving, ConvertsAndWrites) {
    TempDir dir;
    TStringList lines;
    lines.Add(Hex("82 A0"));
    lines.Add("a");
    BryNewlineFilter newlineFilter;
    BryKanjiFilter kanjiFilter;
    WriteDocument(newlineFilter, kanjiFilter, dir.File("out.txt"), lines, GetParam().code,
                  GetParam().type);
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Saving,
    testing::Values(SaveCase{S, NewlineType::CR_LF, Hex("82 A0 0D 0A 61 0D 0A")},
                    SaveCase{E, NewlineType::LF, Hex("A4 A2 0A 61 0A")},
                    SaveCase{J, NewlineType::CR, Hex("1B 24 42 24 22 1B 28 4A 0D 61 0D")},
                    SaveCase{U, NewlineType::UNKNOWN, Hex("82 A0 0D 0A 61 0D 0A")}));

TEST(Pipeline, StandardStreamsWorkOnDescriptors) {
    TempDir dir;
    WriteBytes(dir.File("in.txt"), Hex("A4 A2 0A"));
    const int in = ::open(dir.File("in.txt").c_str(), O_RDONLY);
    const int out = ::open(dir.File("out.txt").c_str(), O_WRONLY | O_CREAT, 0644);
    BryNewlineFilter newlineFilter;
    BryKanjiFilter kanjiFilter;
    const LoadedDocument doc = ReadDocumentFrom(newlineFilter, kanjiFilter, in, U);
    WriteDocumentTo(newlineFilter, kanjiFilter, out, *doc.lines, J, doc.newlineType);
    EXPECT_EQ(fcntl(in, F_GETFD), 0) << "the caller's descriptors stay open";
    ::close(in);
    ::close(out);
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), Hex("1B 24 42 24 22 1B 28 4A 0A"));
}

} // namespace
