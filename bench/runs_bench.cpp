// Whole runs of the real executable against their floors, each started as
// the host starts it:
//  - a heavy run (a closed chain of 99 points around a 98-gon of radius
//    100,000; stars, W 2, H 1.5, interval 0.5, all three guide lines with
//    gaps: about 2.26 million lines, 150 MB) against copying its own output
//    with cp;
//  - the example (a closed chain, a few hundred lines) against a static
//    program that does nothing, and beside one that does only the run's file
//    work (bench/trivial_replace.c).
// bench_main.cpp prints the ratios and holds them to their limits.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "bench_process.h"

namespace tesra::bench {
namespace {

namespace fs = std::filesystem;

struct RunFolder {
    fs::path dir;
    fs::path exe;
    std::string input;
};

// A folder holding a copy of the executable, named tesra so that it finds
// the store beside it.
RunFolder MakeFolder(const std::string& name, const fs::path& exe, std::string input,
                     const std::string& store) {
    RunFolder f{fs::path(BENCH_WORK_DIR) / name, {}, std::move(input)};
    fs::remove_all(f.dir);
    fs::create_directories(f.dir);
    f.exe = f.dir / "tesra";
    fs::copy_file(exe, f.exe);
    WriteFile(f.dir / "tesra.dat", store);
    WriteFile(f.dir / "JWC_TEMP.TXT", f.input);
    return f;
}

std::string HeavyExchange() {
    std::string text;
    char line[96];
    for (int i = 0; i < 99; ++i) {
        const double angle = 2 * std::numbers::pi * (i % 98) / 98;
        std::snprintf(line, sizeof line, "hp%d %.17g %.17g\r\n", i + 1, 1e5 * std::cos(angle),
                      1e5 * std::sin(angle));
        text += line;
    }
    return text;
}

// Row 1 in use: kind 36, W 2, H 1.5, by interval 0.5, base in the middle,
// upper, middle and lower guide lines with gaps.
const std::string kHeavyStore =
    "0\r\n0\r\n0\r\n255\r\n1\r\n36\r\n2\r\n1.5\r\n0\r\n0.5\r\n1\r\n1\r\n1\r\n1\r\n";

const RunFolder& HeavyFolder() {
    static const RunFolder folder = MakeFolder("heavy", TESRA_EXE, HeavyExchange(), kHeavyStore);
    return folder;
}

const RunFolder& TypicalFolder() {
    const fs::path example = fs::path(TESRA_SOURCE_DIR) / "examples/site-border";
    static const RunFolder folder = MakeFolder(
        "typical", TESRA_EXE, ReadFile(example / "JWC_TEMP.TXT"), ReadFile(example / "tesra.dat"));
    return folder;
}

const RunFolder& TrivialFolder() {
    static const RunFolder folder = MakeFolder("trivial", TRIVIAL_EXE, TypicalFolder().input, "");
    return folder;
}

const RunFolder& TrivialReplaceFolder() {
    static const RunFolder folder =
        MakeFolder("trivial-replace", TRIVIAL_REPLACE_EXE, TypicalFolder().input, "");
    return folder;
}

// Each iteration restores the host's input (untimed), then times one run;
// one more run after them measures the peak memory.
void TimeRuns(benchmark::State& state, const RunFolder& folder) {
    const std::vector<std::string> run = {folder.exe.string(), "2"};
    for (auto _ : state) {
        state.PauseTiming();
        WriteFile(folder.dir / "JWC_TEMP.TXT", folder.input);
        state.ResumeTiming();
        if (RunProcess(run).status != 0) state.SkipWithError("the run failed");
    }
    const auto bytes = static_cast<std::int64_t>(fs::file_size(folder.dir / "JWC_TEMP.TXT"));
    state.SetBytesProcessed(state.iterations() * bytes);
    WriteFile(folder.dir / "JWC_TEMP.TXT", folder.input);
    state.counters["peak_MiB"] = static_cast<double>(PeakKiB(run, folder.dir / "peak.txt")) / 1024;
}

void BM_HeavyRun(benchmark::State& state) { TimeRuns(state, HeavyFolder()); }
BENCHMARK(BM_HeavyRun)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same bytes copied to a new file, as the run writes a new file.
void BM_CopyOfHeavyOutput(benchmark::State& state) {
    const RunFolder& heavy = HeavyFolder();
    const fs::path output = heavy.dir / "output.TXT";
    const fs::path copy = heavy.dir / "copy.TXT";
    if (!fs::exists(output)) {
        WriteFile(heavy.dir / "JWC_TEMP.TXT", heavy.input);
        RunProcess({heavy.exe.string(), "2"});
        fs::rename(heavy.dir / "JWC_TEMP.TXT", output);
    }
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(copy);
        state.ResumeTiming();
        if (RunProcess({"/bin/cp", output.string(), copy.string()}).status != 0)
            state.SkipWithError("cp failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(output)));
}
BENCHMARK(BM_CopyOfHeavyOutput)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TypicalRun(benchmark::State& state) { TimeRuns(state, TypicalFolder()); }
BENCHMARK(BM_TypicalRun)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TrivialStaticProgram(benchmark::State& state) { TimeRuns(state, TrivialFolder()); }
BENCHMARK(BM_TrivialStaticProgram)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TrivialReplace(benchmark::State& state) { TimeRuns(state, TrivialReplaceFolder()); }
BENCHMARK(BM_TrivialReplace)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace tesra::bench
