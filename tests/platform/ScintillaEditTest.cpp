#include "platform/Cp932Unicode.h"
#include "platform/TScintillaEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace {

TStringList Lines(std::initializer_list<std::string> lines) {
    TStringList list;
    for (const std::string& line : lines) {
        list.Add(line);
    }
    return list;
}

std::string ControlText(const TScintillaEdit& edit) {
    const QByteArray utf8 = edit.text().toUtf8();
    return std::string(utf8.constData(), size_t(utf8.size()));
}

long LineStart(TScintillaEdit& edit, int line) {
    return edit.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                              static_cast<unsigned long>(line));
}

// Inserts at position as code does, without the checks on user input.
void InsertAt(TScintillaEdit& edit, long position, const std::string& utf8) {
    edit.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(position));
    edit.SendScintilla(QsciScintillaBase::SCI_ADDTEXT, utf8.size(), utf8.data());
}

void DeleteLine(TScintillaEdit& edit, int line) {
    const long start = LineStart(edit, line);
    edit.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, static_cast<unsigned long>(start),
                       LineStart(edit, line + 1) - start);
}

// NEC-selected IBM extension: the same character as the preferred 0xFA5C.
const std::string kDuplicateCode = "\xed\x40";
const std::string kPreferredCode = "\xfa\x5c";

TEST(ScintillaEditTest, EveryOneByteValueComesBack) {
    TStringList lines;
    for (int b = 0; b < 256; ++b) {
        lines.Add(std::string(1, char(b)));
        lines.Add(std::string(1, char(b)) + "a" + std::string(1, char(b)));
    }
    TScintillaEdit edit;
    edit.SetLines(lines);
    EXPECT_EQ(*edit.GetLines(), lines);
}

TEST(ScintillaEditTest, EveryTwoByteValueComesBack) {
    TStringList lines;
    for (int code = 0; code < 0x10000; ++code) {
        lines.Add(std::string{char(code >> 8), char(code & 0xFF)});
    }
    TScintillaEdit edit;
    edit.SetLines(lines);
    const auto back = edit.GetLines();
    ASSERT_EQ(back->Count(), lines.Count());
    for (int i = 0; i < lines.Count(); ++i) {
        ASSERT_EQ(back->Strings(i), lines.Strings(i)) << "code " << std::hex << i;
    }
}

TEST(ScintillaEditTest, RandomByteStringsComeBack) {
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 60);
    TStringList lines;
    for (int i = 0; i < 2000; ++i) {
        std::string line;
        for (int n = length(random); n > 0; --n) {
            line.push_back(char(byte(random)));
        }
        lines.Add(line);
    }
    TScintillaEdit edit;
    edit.SetLines(lines);
    EXPECT_EQ(*edit.GetLines(), lines);
}

TEST(ScintillaEditTest, InvalidBytesAreSeparateCharactersShownAsBlobs) {
    TScintillaEdit edit;
    // EB 80 A0 would be one character if the bytes went into the UTF-8 text raw.
    edit.SetLines(Lines({"\xeb\x80\xa0"}));
    EXPECT_EQ(ControlText(edit), cp932::RawByteCharacter(0xEB) + cp932::RawByteCharacter(0x80) +
                                     cp932::RawByteCharacter(0xA0) + "\n");
    char blob[8] = {};
    edit.SendScintilla(QsciScintillaBase::SCI_GETREPRESENTATION,
                       cp932::RawByteCharacter(0xA0).c_str(), blob);
    EXPECT_STREQ(blob, "xA0");
}

TEST(ScintillaEditTest, UnchangedLinesSurviveInsertedAndDeletedLines) {
    const std::string invalid = "\x80\xa0\xfd";
    const std::string withNul = std::string("a\0b", 3);
    TScintillaEdit edit;
    edit.SetLines(Lines({kDuplicateCode, "x" + kDuplicateCode, invalid, withNul, "last"}));
    InsertAt(edit, LineStart(edit, 1), "新しい行\n");
    DeleteLine(edit, 3); // invalid
    InsertAt(edit, LineStart(edit, 0), "top\n");
    EXPECT_EQ(*edit.GetLines(), Lines({"top", kDuplicateCode, "\x90\x56\x82\xb5\x82\xa2\x8d\x73",
                                       "x" + kDuplicateCode, withNul, "last"}));
}

TEST(ScintillaEditTest, ChangedLineTakesThePreferredCodes) {
    TScintillaEdit edit;
    edit.SetLines(Lines({kDuplicateCode, kDuplicateCode + kDuplicateCode}));
    // Splitting the second line changes both halves.
    InsertAt(edit, LineStart(edit, 1) + 3, "\n");
    InsertAt(edit, LineStart(edit, 0) + 3, "a");
    EXPECT_EQ(*edit.GetLines(), Lines({kPreferredCode + "a", kPreferredCode, kPreferredCode}));
}

void Drop(TScintillaEdit& edit, QMimeData& mime) {
    edit.show();
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit.viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit.viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit.viewport(), &drop);
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The ways text enters the control from the user.
const std::vector<std::pair<const char*, std::function<void(TScintillaEdit&, const std::string&)>>>
    kEntries = {
        {"typed",
         [](TScintillaEdit& edit, const std::string& text) {
             for (const char32_t c : FromUtf8(text).toUcs4()) {
                 QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                               QString::fromUcs4(&c, 1));
                 QApplication::sendEvent(&edit, &key);
             }
         }},
        {"composed",
         [](TScintillaEdit& edit, const std::string& text) {
             QInputMethodEvent composed;
             composed.setCommitString(FromUtf8(text));
             QApplication::sendEvent(&edit, &composed);
         }},
        {"pasted",
         [](TScintillaEdit& edit, const std::string& text) {
             QApplication::clipboard()->setText(FromUtf8(text));
             edit.PasteFromClipboard();
         }},
        {"dropped",
         [](TScintillaEdit& edit, const std::string& text) {
             QMimeData mime;
             mime.setText(FromUtf8(text));
             Drop(edit, mime);
         }},
};

struct InsertionCase {
    const char* name;
    std::string entered;
    std::string shown;
    std::string saved;
};

class InsertionTest : public ::testing::TestWithParam<InsertionCase> {};

TEST_P(InsertionTest, TextIsCutToWhatCp932HoldsAsItEnters) {
    for (const auto& [how, enter] : kEntries) {
        SCOPED_TRACE(how);
        TScintillaEdit edit;
        enter(edit, GetParam().entered);
        EXPECT_EQ(ControlText(edit), GetParam().shown);
        EXPECT_EQ(*edit.GetLines(), Lines({GetParam().saved}));
        edit.Undo();
        EXPECT_EQ(ControlText(edit), "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    ScintillaEditTest, InsertionTest,
    ::testing::Values(InsertionCase{"Japanese", "日本語ｶﾅ", "日本語ｶﾅ",
                                    "\x93\xfa\x96\x7b\x8c\xea\xb6\xc5"},
                      InsertionCase{"WaveDash", "\xe3\x80\x9c", "\xef\xbd\x9e", "\x81\x60"},
                      InsertionCase{"EmDash", "\xe2\x80\x94", "\xe2\x80\x95", "\x81\x5c"},
                      InsertionCase{"Emoji",
                                    "a\xf0\x9f\x98\x80"
                                    "b",
                                    "a?b", "a?b"},
                      InsertionCase{"BrokenBar", "\xc2\xa6", "?", "?"},
                      InsertionCase{"RawBytePrivateUse", "\xef\x9e\xa0", "?", "?"},
                      InsertionCase{"LowPrivateUse", "\xef\x9c\x8a", "?", "?"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScintillaEditTest, PastedLineEndsBecomeLf) {
    TScintillaEdit edit;
    QApplication::clipboard()->setText(QStringLiteral("a\r\nb\rc\n"));
    edit.PasteFromClipboard();
    EXPECT_EQ(ControlText(edit), "a\nb\nc\n");
    EXPECT_EQ(*edit.GetLines(), Lines({"a", "b", "c"}));
}

TEST(ScintillaEditTest, SetLinesPlacesCaretAtStartWithoutUndoAndWithWrap) {
    TScintillaEdit edit;
    edit.SetWordWrap(false);
    InsertAt(edit, 0, "old");
    edit.SetLines(Lines({"one", "two"}));
    EXPECT_EQ(edit.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS), 0);
    EXPECT_EQ(edit.SelLength(), 0);
    EXPECT_EQ(edit.SendScintilla(QsciScintillaBase::SCI_CANUNDO), 0);
    EXPECT_TRUE(edit.WordWrap());
}

TEST(ScintillaEditTest, LongLineIsOneEntryAndGetLinesKeepsWrap) {
    TScintillaEdit edit;
    edit.resize(200, 200);
    const std::string longLine(5000, 'w');
    edit.SetLines(Lines({longLine, "b"}));
    EXPECT_EQ(*edit.GetLines(), Lines({longLine, "b"}));
    EXPECT_TRUE(edit.WordWrap());
}

TEST(ScintillaEditTest, ModifiedFlagFollowsEditsAndIsKeptBySetLines) {
    TScintillaEdit edit;
    EXPECT_FALSE(edit.Modified());
    InsertAt(edit, 0, "x");
    EXPECT_TRUE(edit.Modified());
    edit.SetLines(Lines({"a"}));
    EXPECT_TRUE(edit.Modified());
    edit.SetModified(false);
    EXPECT_FALSE(edit.Modified());
    edit.SetLines(Lines({"b"}));
    EXPECT_FALSE(edit.Modified());
    edit.SetModified(true);
    EXPECT_TRUE(edit.Modified());
}

TEST(ScintillaEditTest, EditingCommandsActOnTheSelection) {
    TScintillaEdit edit;
    edit.SetLines(Lines({"abc"}));
    edit.SelectAll();
    EXPECT_EQ(edit.SelLength(), 4);
    edit.CopyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("abc\n"));
    edit.ClearSelection();
    EXPECT_EQ(edit.GetLines()->Count(), 0);
    edit.Undo();
    EXPECT_EQ(*edit.GetLines(), Lines({"abc"}));
    edit.SelectAll();
    edit.CutToClipboard();
    EXPECT_EQ(edit.GetLines()->Count(), 0);
    edit.PasteFromClipboard();
    EXPECT_EQ(*edit.GetLines(), Lines({"abc"}));
}

TEST(ScintillaEditTest, FontReachesTheTextAndStrikeOutIsAnIndicator) {
    TScintillaEdit edit;
    edit.SetLines(Lines({"abc"}));
    edit.SetFont(TFont{.Name = "ＭＳ Ｐゴシック",
                       .Size = 14,
                       .Color = 0x000000FF,
                       .Bold = true,
                       .Italic = true,
                       .Underline = true,
                       .StrikeOut = true});
    using Sci = QsciScintillaBase;
    EXPECT_EQ(edit.SendScintilla(Sci::SCI_STYLEGETSIZE, 0UL), 14);
    EXPECT_NE(edit.SendScintilla(Sci::SCI_STYLEGETBOLD, 0UL), 0);
    EXPECT_NE(edit.SendScintilla(Sci::SCI_STYLEGETITALIC, 0UL), 0);
    EXPECT_NE(edit.SendScintilla(Sci::SCI_STYLEGETUNDERLINE, 0UL), 0);
    EXPECT_EQ(edit.SendScintilla(Sci::SCI_STYLEGETFORE, 0UL), 0x0000FF);
    InsertAt(edit, 4, "typed");
    const unsigned long strike = Sci::INDIC_CONTAINER;
    EXPECT_NE(edit.SendScintilla(Sci::SCI_INDICATORVALUEAT, strike, 1L), 0);
    EXPECT_NE(edit.SendScintilla(Sci::SCI_INDICATORVALUEAT, strike, 6L), 0);
    edit.SetFont(TFont{.Name = "ＭＳ ゴシック"});
    EXPECT_EQ(edit.SendScintilla(Sci::SCI_INDICATORVALUEAT, strike, 1L), 0);
    EXPECT_EQ(edit.Font(), TFont{.Name = "ＭＳ ゴシック"});
}

struct FaceCase {
    const char* name;
    const char* face;
    bool fixedPitch;
};

class FaceTest : public ::testing::TestWithParam<FaceCase> {};

long TextWidth(TScintillaEdit& edit, const char* text) {
    return edit.SendScintilla(QsciScintillaBase::SCI_TEXTWIDTH,
                              static_cast<unsigned long>(QsciScintillaBase::STYLE_DEFAULT), text);
}

// What Scintilla itself draws with: the substitute IPAGothic gives narrow and
// wide Latin letters one width, IPAPGothic does not.
TEST_P(FaceTest, JapaneseFaceReachesScintillaThroughItsSubstitute) {
    TScintillaEdit edit;
    edit.SetFont(TFont{.Name = GetParam().face});
    char face[64] = {};
    edit.SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT,
                       static_cast<unsigned long>(QsciScintillaBase::STYLE_DEFAULT), face);
    EXPECT_STREQ(face, GetParam().face);
    EXPECT_EQ(TextWidth(edit, "iiii") == TextWidth(edit, "WWWW"), GetParam().fixedPitch);
}

INSTANTIATE_TEST_SUITE_P(ScintillaEditTest, FaceTest,
                         ::testing::Values(FaceCase{"Gothic", "ＭＳ ゴシック", true},
                                           FaceCase{"PGothic", "ＭＳ Ｐゴシック", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScintillaEditTest, DroppedFilesGoToTheHookAsBytesNotIntoTheText) {
    TScintillaEdit edit;
    TStringList dropped;
    edit.OnDropFiles = [&](const TStringList& paths) { dropped = paths; };
    QMimeData mime;
    mime.setUrls({QUrl(QStringLiteral("file:///tmp/a%20b.txt")),
                  QUrl(QStringLiteral("https://example.org/x")),
                  QUrl::fromEncoded("file:///tmp/%FF%E3%81%82")});
    Drop(edit, mime);
    EXPECT_EQ(dropped, Lines({"/tmp/a b.txt", "/tmp/\xff\xe3\x81\x82"}));
    EXPECT_EQ(edit.GetLines()->Count(), 0);
}

} // namespace
