// Mode "4" over a dense selection: 10^5 long lines crossing at random, the
// point on one of them, so that every tick's ray meets a toe line a short way
// off among thousands whose boxes hold its start. Against chaining the same
// selection, which every run over a selection does first.

#include <benchmark/benchmark.h>

#include <random>

#include "app/run_along.h"
#include "bench/bench_pattern.h"
#include "exchange/reader.h"
#include "figures/along_elements.h"

namespace tesra {
namespace {

// Lines of 3 to 10 m in every direction from points of a 10 m square, in mm.
RunContext CrossingLines(int count) {
    RunContext run;
    ResetExchangeState(run.exchange);
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> u(0, 1);
    ElementStore& store = run.exchange.elements;
    for (int i = 0; i < count; ++i) {
        const double x = 1e4 * u(rng), y = 1e4 * u(rng);
        const double angle = 6.283185307179586 * u(rng), length = 3000 + 7000 * u(rng);
        store.lines.push_back(
            {{}, 0, x, y, x + length * std::cos(angle), y + length * std::sin(angle)});
        store.order.push_back({ElementKind::Line, i});
    }
    const JwwEntLine& first = store.lines.front();
    run.exchange.points[1] = {true, (first.x1 + first.x2) / 2, (first.y1 + first.y2) / 2};
    PatternRow& row = run.store.rows[0];
    row.rowKind = kRowSlope;
    row.pitch = 2;  // about 3000 ticks on the top edge
    run.store.selectedRow = 1;
    return run;
}

void BM_SlopeOverCrossingLines(benchmark::State& state) {
    const RunContext run = CrossingLines(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        bench::CountingSink out;
        WriteSelectionPlan(run.exchange, PlanAlongSelection(run, RunMode::SlopeBetween), out);
        bytes = out.bytes;
    }
    state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_SlopeOverCrossingLines)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ChainCrossingLines(benchmark::State& state) {
    const RunContext run = CrossingLines(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(PathsFromSelection(run.exchange.elements));
}
BENCHMARK(BM_ChainCrossingLines)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesra
