// Number formatting alone: the coordinates of a drawing far from the origin,
// through the fast path, through std::to_chars, and through the former formatter.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "exchange/number_format.h"
#include "exchange/number_format_reference.h"

namespace tesra {
namespace {

std::vector<double> Coordinates() {
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> along(-1e5, 1e5);
    std::vector<double> values(1 << 16);
    for (double& v : values) v = along(rng);
    return values;
}

// The reals of a polyline's lines as the writer gives them (x1 y1 x2 y2, each
// line starting where the last ended).
std::vector<double> PolylineReals() {
    const std::vector<double> points = Coordinates();
    std::vector<double> reals;
    for (std::size_t i = 0; i + 3 < points.size(); i += 2)
        reals.insert(reals.end(), {points[i], points[i + 1], points[i + 2], points[i + 3]});
    return reals;
}

template <char* (*kWrite)(char*, double), std::vector<double> (*kValues)() = Coordinates>
void BM_Format(benchmark::State& state) {
    const std::vector<double> values = kValues();
    char buf[kMaxNumberText];
    for (auto _ : state)
        for (double v : values) benchmark::DoNotOptimize(kWrite(buf, v));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_Format<WriteReal>)->Name("FormatReal/fast");
BENCHMARK(BM_Format<WriteRealByToChars>)->Name("FormatReal/to_chars");

void BM_FormerFormatter(benchmark::State& state) {
    const std::vector<double> values = Coordinates();
    for (auto _ : state)
        for (double v : values) benchmark::DoNotOptimize(reference::FormatReal(v));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_FormerFormatter)->Name("FormatReal/former");

BENCHMARK(BM_Format<WriteReal, PolylineReals>)->Name("FormatReal/polyline");

// The same reals through one cache of recent texts, as a formatting thread has.
char* WriteCached(char* out, double x) {
    static RealTextCache cache;
    return cache.Write(out, x);
}
BENCHMARK(BM_Format<WriteCached, PolylineReals>)->Name("FormatReal/polyline_cached");

}  // namespace
}  // namespace tesra
