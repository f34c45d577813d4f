#include "bench/BenchCorpus.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

// Words as they occur in Japanese man pages; the source is UTF-8, the corpus CP932.
constexpr std::string_view kWords[] = {
    ".TH ",       ".SH ",         ".TP ",  "\\fB",  "\\fP",       "\\fI",
    "\\-o ",      "--help ",      "file ", "FILE ", "0x1B ",      "(",
    ")",          "、",           "。",    "「",    "」",         "ファイル",
    "オプション", "ディレクトリ", "を",    "は",    "が",         "に",
    "の",         "指定する",     "場合",  "出力",  "入力",       "標準",
    "文字コード", "変換",         "改行",  "漢字",  "表示される", "ｶﾀｶﾅ",
    "ﾃﾞｰﾀ",       "全角",         "半角",  "エラー"};

class Utf8ToCp932 {
public:
    Utf8ToCp932() : descriptor(iconv_open("CP932", "UTF-8")) {
        if (descriptor == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv_open CP932: ") + std::strerror(errno));
        }
    }
    ~Utf8ToCp932() { iconv_close(descriptor); }
    Utf8ToCp932(const Utf8ToCp932&) = delete;
    Utf8ToCp932& operator=(const Utf8ToCp932&) = delete;

    AnsiString operator()(std::string_view utf8) {
        std::string in(utf8);
        std::string out(in.size() * 2, '\0');
        char* inPointer = in.data();
        char* outPointer = out.data();
        std::size_t inLeft = in.size();
        std::size_t outLeft = out.size();
        if (iconv(descriptor, &inPointer, &inLeft, &outPointer, &outLeft) ==
            static_cast<size_t>(-1)) {
            throw std::runtime_error("iconv to CP932 failed on \"" + in + "\"");
        }
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t descriptor;
};

std::vector<AnsiString> SjisWords() {
    Utf8ToCp932 convert;
    std::vector<AnsiString> words;
    for (std::string_view word : kWords) {
        words.push_back(convert(word));
    }
    return words;
}

} // namespace

TStringList MakeSjisCorpus(std::size_t totalBytes) {
    const std::vector<AnsiString> words = SjisWords();
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pickWord(0, words.size() - 1);
    std::uniform_int_distribution<int> wordsPerLine(0, 16);
    TStringList lines;
    std::size_t total = 0;
    while (total < totalBytes) {
        AnsiString line;
        for (int count = wordsPerLine(random); count > 0; --count) {
            line += words[pickWord(random)];
        }
        total += line.size() + 2;
        lines.Add(std::move(line));
    }
    return lines;
}

std::size_t ByteCount(const TStringList& lines) {
    std::size_t bytes = 0;
    for (const AnsiString& line : lines) {
        bytes += line.size();
    }
    return bytes;
}
