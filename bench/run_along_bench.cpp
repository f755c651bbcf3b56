// A whole run along a selection in memory: read the host's file, decide,
// write every selected element back and draw along them. Only the disk is
// left out.

#include <benchmark/benchmark.h>

#include <string>

#include "app/run_along.h"
#include "bench/bench_pattern.h"
#include "exchange/number_format.h"
#include "exchange/reader.h"

namespace tesra {
namespace {

// A boundary of `count` lines joined end to end into one closed zigzag, as
// the host lists them: a header, then one line per element.
std::string ClosedBoundary(int count) {
    std::string file = "hq\r\nbz\r\nlg0\r\nly0\r\nlc2\r\nlt1\r\n#\r\nlc5\r\n";
    const int half = count / 2;
    auto at = [&](int i) {
        if (i < half) return Point{i * 10.0, (i % 2) * 3.0};
        return Point{(count - i) * 10.0, 500.0 + (i % 2) * 3.0};
    };
    for (int i = 0; i < count; ++i) {
        const Point a = at(i), b = at((i + 1) % count);
        for (double v : {a.x, a.y, b.x, b.y}) {
            AppendReal(file, v);
            file += ' ';
        }
        file.back() = '\r';
        file += '\n';
    }
    return file;
}

RunContext Context(const std::string& file) {
    RunContext run;
    ResetExchangeState(run.exchange);
    ReadExchangeBytes(run.exchange, file);
    run.store.rows[0] = bench::TriangleWithGuides();
    run.store.selectedRow = 1;
    return run;
}

void BM_WholeRunAlongSelection(benchmark::State& state) {
    const std::string file = ClosedBoundary(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const RunContext run = Context(file);
        bench::CountingSink out;
        WriteSelectionPlan(run.exchange, PlanAlongSelection(run), out);
        bytes = out.bytes;
    }
    state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_WholeRunAlongSelection)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesra
