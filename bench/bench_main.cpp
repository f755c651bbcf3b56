// Runs every benchmark, each repeated in random interleaving so that a busy
// machine slows a run and its floor alike, then prints each ratio to its
// floor (medians) and exits 1 when one is over its limit, or a heavy run
// used more memory than allowed.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Limit {
    const char* what;
    const char* measured;
    const char* floor;
    double most;
};

// A typical run is held to the file work that every safe run must do (read,
// write a temporary file, replace atomically): that floor moves with the file
// system, where a program that does nothing does not.
constexpr Limit kLimits[] = {
    {"heavy run / copy of its output", "BM_HeavyRun", "BM_CopyOfHeavyOutput", 3.0},
    {"typical run / its file work alone", "BM_TypicalRun", "BM_TrivialReplace", 1.25},
    // One rhythm along a whole run against each side on its own, on the same paths.
    {"through / per side, long curve of lines", "BM_LayOutLongChainThrough",
     "BM_LayOutLongChainPerSide", 1.5},
    {"through / per side, heavy chain", "BM_LayOutHeavyChainThrough", "BM_LayOutHeavyChainPerSide",
     1.5},
    // Mode 4's toe search over 10^5 crossing lines, against chaining them: a
    // tree of boxes alone took about 10 times the chaining, the grid about 1.5.
    {"slope / chaining, 10^5 crossing lines", "BM_SlopeOverCrossingLines", "BM_ChainCrossingLines",
     3.0},
    {"corners / per side, long curve of lines", "BM_LayOutLongChainCorners",
     "BM_LayOutLongChainPerSide", 1.5},
    // A paint of the chooser with 100 own figures of 2000 lines: its pictures
    // are kept, so it costs little more than flattening them for the painter.
    {"grid paint, kept pictures / flattening", "BM_GridPaintKept", "BM_GridFlattenOnly", 2.0},
    // The symbol chooser opens over an office's whole list: parsing and the
    // grid's cells cost little beside reading the file.
    {"symbol grid of 1,000 / reading its file", "BM_SymbolGridOfAThousand",
     "BM_ReadThousandSymbolsBytes", 200.0},
    // The pictures of a screenful of cells (about 90 bands) on top of the grid:
    // about 4 times the grid alone.
    {"symbol grid, pictures in view / grid alone", "BM_SymbolGridWithPicturesInView",
     "BM_SymbolGridOfAThousand", 8.0},
};

// Waits a user sees, held to what feels immediate.
struct Deadline {
    const char* what;
    const char* measured;
    double mostSeconds;
};
constexpr Deadline kDeadlines[] = {
    {"symbol grid of 1,000 symbols, seconds", "BM_SymbolGridOfAThousand", 0.3},
    {"symbol grid with its pictures, seconds", "BM_SymbolGridWithPicturesInView", 0.3},
};

// Shown beside the limits: how far start-up and the file system alone are
// from a program that does nothing.
constexpr Limit kShown[] = {
    {"grid pictures built / flattening", "BM_GridPicturesBuilt", "BM_GridFlattenOnly", 0},
    {"typical run / trivial static program", "BM_TypicalRun", "BM_TrivialStaticProgram", 0},
    {"file work alone / trivial static program", "BM_TrivialReplace", "BM_TrivialStaticProgram", 0},
    // A sharp corner at every point, where each run's ends search for their
    // clearance: far above the plain sides (see docs/arrangements.md).
    {"through / per side, zigzag", "BM_LayOutZigzagThrough", "BM_LayOutZigzagPerSide", 0},
    {"corners / per side, zigzag", "BM_LayOutZigzagCorners", "BM_LayOutZigzagPerSide", 0},
};
constexpr double kMostPeakMiB = 16;

// Keeps the median of each benchmark (or its only run) beside the usual output.
class MedianKeeper : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred || r.iterations == 0) continue;
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            const std::string& name = r.run_name.function_name;
            if (!median && (r.run_type != Run::RT_Iteration || r.repetitions > 1)) continue;
            perIteration[name] = r.GetAdjustedRealTime();  // in the run's own unit
            units[name] = r.time_unit;
            if (auto peak = r.counters.find("peak_MiB"); peak != r.counters.end())
                peakMiB[name] = peak->second.value;
        }
    }
    std::map<std::string, double> perIteration;
    std::map<std::string, benchmark::TimeUnit> units;
    std::map<std::string, double> peakMiB;
};

double Seconds(const MedianKeeper& kept, const std::string& name) {
    return kept.perIteration.at(name) / benchmark::GetTimeUnitMultiplier(kept.units.at(name));
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    std::string interleaving = "--benchmark_enable_random_interleaving=true";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {repetitions.data(), interleaving.data(), aggregates.data()});
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    MedianKeeper kept;
    benchmark::RunSpecifiedBenchmarks(&kept);
    benchmark::Shutdown();

    bool within = true;
    for (const Limit& l : kLimits) {
        if (!kept.perIteration.contains(l.measured) || !kept.perIteration.contains(l.floor))
            continue;
        const double ratio = Seconds(kept, l.measured) / Seconds(kept, l.floor);
        within = within && ratio <= l.most;
        std::printf("%-40s %6.2f  (at most %.2f) %s\n", l.what, ratio, l.most,
                    ratio <= l.most ? "ok" : "OVER");
    }
    for (const Deadline& d : kDeadlines) {
        if (!kept.perIteration.contains(d.measured)) continue;
        const double seconds = Seconds(kept, d.measured);
        within = within && seconds <= d.mostSeconds;
        std::printf("%-40s %6.4f  (at most %.2f) %s\n", d.what, seconds, d.mostSeconds,
                    seconds <= d.mostSeconds ? "ok" : "OVER");
    }
    for (const Limit& l : kShown) {
        if (kept.perIteration.contains(l.measured) && kept.perIteration.contains(l.floor))
            std::printf("%-40s %6.2f  (shown only)\n", l.what,
                        Seconds(kept, l.measured) / Seconds(kept, l.floor));
    }
    for (const auto& [name, peak] : kept.peakMiB) {
        within = within && peak < kMostPeakMiB;
        std::printf("%-40s %6.1f MiB (under %.0f) %s\n", (name + " peak memory").c_str(), peak,
                    kMostPeakMiB, peak < kMostPeakMiB ? "ok" : "OVER");
    }
    return within ? 0 : 1;
}
