// Throughput of the kanji conversions and of the newline filter's file reading and writing.
#include "bench/BenchCorpus.h"
#include "codec/BryKanjiFilter.h"
#include "codec/BryNewlineFilter.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

namespace {

constexpr std::size_t kCorpusBytes = 8 * 1024 * 1024;

const TStringList& SjisCorpus() {
    static const TStringList lines = MakeSjisCorpus(kCorpusBytes);
    return lines;
}

// The corpus in any code, converted once by the filter under test.
const TStringList& CorpusIn(KanjiCode code) {
    static std::map<KanjiCode, TStringList> cache;
    auto found = cache.find(code);
    if (found == cache.end()) {
        BryKanjiFilter filter;
        filter.SetSourceCode(KanjiCode::SJIS);
        filter.SetTargetCode(code);
        found = cache.emplace(code, *filter.ConvertLines(SjisCorpus())).first;
    }
    return found->second;
}

// A folder for the benchmark files, removed at exit.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zuvbench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a folder from " + pattern);
        }
        path = pattern;
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string File(const char* name) const { return (path / name).string(); }

private:
    std::filesystem::path path;
};

const ScratchFolder& Scratch() {
    static const ScratchFolder folder;
    return folder;
}

std::int64_t FileBytes(const std::string& path) {
    return static_cast<std::int64_t>(std::filesystem::file_size(path));
}

void BM_ConvertLines(benchmark::State& state, KanjiCode from, KanjiCode to) {
    const TStringList& lines = CorpusIn(from);
    BryKanjiFilter filter;
    for (auto _ : state) {
        filter.SetSourceCode(from);
        filter.SetTargetCode(to);
        auto converted = filter.ConvertLines(lines);
        benchmark::DoNotOptimize(converted);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(ByteCount(lines)));
}
BENCHMARK_CAPTURE(BM_ConvertLines, SjisToEuc, KanjiCode::SJIS, KanjiCode::EUC);
BENCHMARK_CAPTURE(BM_ConvertLines, EucToSjis, KanjiCode::EUC, KanjiCode::SJIS);
BENCHMARK_CAPTURE(BM_ConvertLines, SjisToJis, KanjiCode::SJIS, KanjiCode::JIS);
BENCHMARK_CAPTURE(BM_ConvertLines, JisToSjis, KanjiCode::JIS, KanjiCode::SJIS);
BENCHMARK_CAPTURE(BM_ConvertLines, EucToJis, KanjiCode::EUC, KanjiCode::JIS);
BENCHMARK_CAPTURE(BM_ConvertLines, JisToEuc, KanjiCode::JIS, KanjiCode::EUC);

// Reading is timed per line end type, since a CR needs a look at the byte after it.
void BM_ReadFile(benchmark::State& state, NewlineType type) {
    const std::string path = Scratch().File("read.txt");
    BryNewlineFilter filter;
    filter.SetNewlineType(type);
    filter.WriteFile(path, SjisCorpus());
    for (auto _ : state) {
        auto lines = filter.ReadFile(path);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
}
BENCHMARK_CAPTURE(BM_ReadFile, CrLf, NewlineType::CR_LF)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadFile, Lf, NewlineType::LF)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadFile, Cr, NewlineType::CR)->Unit(benchmark::kMillisecond);

// A file replaced as the editor saves it: temporary file, fsync, rename.
void BM_WriteFile(benchmark::State& state) {
    const std::string path = Scratch().File("write.txt");
    BryNewlineFilter filter;
    filter.SetNewlineType(NewlineType::CR_LF);
    for (auto _ : state) {
        filter.WriteFile(path, SjisCorpus());
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
}
BENCHMARK(BM_WriteFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same lines written to a descriptor, without a file to replace: the cost of
// gathering lines and line ends apart from the disk.
void BM_WriteToDevNull(benchmark::State& state) {
    const int fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        state.SkipWithError("cannot open /dev/null");
        return;
    }
    BryNewlineFilter filter;
    filter.SetNewlineType(NewlineType::CR_LF);
    for (auto _ : state) {
        filter.WriteTo(fd, SjisCorpus());
    }
    close(fd);
    const auto lineEnds = static_cast<std::int64_t>(SjisCorpus().Count()) * 2;
    state.SetBytesProcessed(state.iterations() *
                            (static_cast<std::int64_t>(ByteCount(SjisCorpus())) + lineEnds));
}
BENCHMARK(BM_WriteToDevNull)->Unit(benchmark::kMillisecond);

} // namespace
