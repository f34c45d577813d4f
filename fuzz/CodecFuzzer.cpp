// Arbitrary bytes through every conversion pair and through the line reader.
#include "codec/BryKanjiFilter.h"
#include "codec/BryNewlineFilter.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr KanjiCode codes[] = {KanjiCode::SJIS, KanjiCode::JIS, KanjiCode::EUC};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

TStringList SplitAtLf(const AnsiString& bytes) {
    TStringList lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != AnsiString::npos; start = end + 1)
        lines.Add(bytes.substr(start, end - start));
    lines.Add(bytes.substr(start));
    return lines;
}

void ConvertEveryPair(const TStringList& lines) {
    BryKanjiFilter filter;
    for (KanjiCode source : codes) {
        for (KanjiCode target : codes) {
            filter.SetSourceCode(source);
            filter.SetTargetCode(target);
            const auto converted = filter.ConvertLines(lines);
            Check(converted->Count() == lines.Count());
            if (source == target)
                Check(*converted == lines);
        }
    }
}

// Every byte read is either in a line or part of a line end.
void ReadBack(const AnsiString& bytes) {
    const int fd = memfd_create("zuv-fuzz", 0);
    Check(fd >= 0);
    Check(write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    Check(lseek(fd, 0, SEEK_SET) == 0);
    BryNewlineFilter filter;
    const auto lines = filter.ReadFrom(fd);
    close(fd);
    std::size_t total = 0;
    for (const AnsiString& line : *lines) {
        Check(line.find_first_of("\r\n") == AnsiString::npos);
        total += line.size();
    }
    std::size_t ends = 0;
    std::size_t pairs = 0; // CR LF counts once, with two bytes
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++pairs;
            ++ends;
            ++i;
        } else if (bytes[i] == '\r' || bytes[i] == '\n') {
            ++ends;
        }
    }
    Check(total + ends + pairs == bytes.size());
    const bool openLast = !bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n';
    Check(static_cast<std::size_t>(lines->Count()) == ends + (openLast ? 1 : 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const AnsiString bytes(reinterpret_cast<const char*>(data), size);
    ConvertEveryPair(SplitAtLf(bytes));
    ReadBack(bytes);
    return 0;
}
