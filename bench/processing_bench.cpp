// Throughput of the two passes and of the whole headless run, beside a plain copy of the file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "bench/allocation_tracker.h"
#include "bench/generated_source.h"
#include "files/file_system.h"
#include "processing/comment_passes.h"
#include "tests/fake_host.h"
#include "processing/processing_run.h"

namespace fs = std::filesystem;

namespace {

const std::string& Source(size_t megabytes) {
    static std::string one = GenerateSource(1 << 20);
    static std::string sixtyFour = GenerateSource(64 << 20);
    return megabytes == 1 ? one : sixtyFour;
}

// The source written to a file once per size, in a folder that the run saves into as well.
struct SourceFile {
    explicit SourceFile(size_t megabytes) {
        folder = fs::temp_directory_path() / ("orvandel-bench-" + std::to_string(megabytes));
        fs::create_directories(folder / "out");
        path = (folder / "source.cpp").string();
        std::ofstream(path, std::ios::binary) << Source(megabytes);
    }
    ~SourceFile() { fs::remove_all(folder); }
    fs::path folder;
    std::string path;
    // Backslash separated, as the window hands paths over.
    Path Wide() const { return Widen(folder.string() + "\\source.cpp"); }
    Path OutFolder() const { return Widen(folder.string() + "\\out\\"); }
    static Path Widen(const std::string& ascii) { return Path(ascii.begin(), ascii.end()); }
};

void SetBytes(benchmark::State& state, size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["input_MB"] = static_cast<double>(bytes) / (1 << 20);
}

// Each pass works in place, on a fresh copy of its input made outside the timing.
void TimePass(benchmark::State& state, const std::string& input, void (*pass)(AnsiText&)) {
    AnsiText text;
    for (auto _ : state) {
        state.PauseTiming();
        text.assign(input);
        state.ResumeTiming();
        pass(text);
        benchmark::DoNotOptimize(text.data());
    }
    SetBytes(state, Source(state.range(0)).size());
}

void BM_StripLineComments(benchmark::State& state) {
    TimePass(state, Source(state.range(0)), StripLineCommentsInPlace);
}

void BM_StripBlockComments(benchmark::State& state) {
    // The second pass sees what the first pass left; throughput is counted on the source.
    TimePass(state, StripLineCommentsFromText(Source(state.range(0))), StripBlockCommentsInPlace);
}

// The literal-aware passes, on the same file as the plain ones.
void BM_StripLineCommentsLiteral(benchmark::State& state) {
    TimePass(state, Source(state.range(0)), [](AnsiText& text) {
        StripLineCommentsInPlace(text, StripOptions{.literals = true});
    });
}

void BM_StripBlockCommentsLiteral(benchmark::State& state) {
    const auto pass = [](AnsiText& text) {
        StripBlockCommentsInPlace(text, StripOptions{.literals = true});
    };
    AnsiText afterFirst = Source(state.range(0));
    StripLineCommentsInPlace(afterFirst, StripOptions{.literals = true});
    TimePass(state, afterFirst, pass);
}

// Both kinds in one sweep, as orvandel-cli removes them (LF line ends kept, as it keeps a
// source's).
void BM_StripBothLiteral(benchmark::State& state) {
    TimePass(state, Source(state.range(0)), [](AnsiText& text) {
        StripCommentsInPlace(text, StripOptions{.literals = true, .lineEnd = "\n"});
    });
}

// The shortest lines there are, one character each: the cost per line of both literal-aware passes.
// Arg 0: LF source and result (as orvandel-cli keeps a source's line ends); 1: CR LF source and
// result; 2: LF source, CR LF result (as the window writes), where the result grows.
void BM_ShortLinesLiteral(benchmark::State& state) {
    const bool crLf = state.range(0) == 1;
    const std::string input = crLf ? std::string(3 << 22, '\n') : std::string(2 << 22, '\n');
    std::string source = input;
    for (size_t k = 0; k < source.size(); k += crLf ? 3 : 2) {
        source[k] = 'x';
        if (crLf) {
            source[k + 1] = '\r';
        }
    }
    const StripOptions options{.literals = true,
                               .lineEnd = state.range(0) == 0 ? std::string_view("\n") : "\r\n"};
    AnsiText text;
    for (auto _ : state) {
        state.PauseTiming();
        text.assign(source);
        state.ResumeTiming();
        StripLineCommentsInPlace(text, options);
        StripBlockCommentsInPlace(text, options);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
    state.counters["time_per_line"] =
        benchmark::Counter(static_cast<double>(state.iterations() * (1 << 22)),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Reading the file and writing it back the way a save writes: the floor for a whole run.
void BM_CopyFile(benchmark::State& state) {
    const SourceFile file(state.range(0));
    const Path target = file.OutFolder() + L"copy.cpp";
    for (auto _ : state) {
        AnsiText bytes;
        ReadWholeFile(file.Wide(), bytes);
        ReplaceFileContents(target, bytes);
    }
    SetBytes(state, Source(state.range(0)).size());
}

void BM_WholeRun(benchmark::State& state) {
    const SourceFile file(state.range(0));
    FakeHost host(file.Wide(), file.OutFolder());
    host.KeepOnlyCounts();
    size_t peak = 0;
    for (auto _ : state) {
        allocation_tracker::ResetPeak();
        ProcessingRun(host);
        peak = std::max(peak, allocation_tracker::PeakSinceReset());
    }
    if (!fs::exists(file.folder / "out" / "source.cpp")) {
        state.SkipWithError("the run saved nothing");
    }
    SetBytes(state, Source(state.range(0)).size());
    state.counters["peak_heap_x_file"] =
        static_cast<double>(peak) / static_cast<double>(Source(state.range(0)).size());
}

BENCHMARK(BM_StripLineComments)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripBlockComments)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripLineCommentsLiteral)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripBlockCommentsLiteral)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripBothLiteral)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShortLinesLiteral)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyFile)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeRun)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
