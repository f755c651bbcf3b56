// Chaining and drawing along many selected elements.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench/bench_pattern.h"
#include "figures/along_elements.h"
#include "figures/layout.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

// Counts the calls, so that the figures' own arithmetic is measured and not
// the writing of commands.
class CountingTarget final : public DrawTarget {
public:
    void EmitLine(Point, Point) override { ++calls; }
    void EmitArc(Point, double, double, double, double, double) override { ++calls; }
    void EmitSolidTriangle(Point, Point, Point) override { ++calls; }
    void EmitSolidQuad(Point, Point, Point, Point) override { ++calls; }
    void EmitSolidArc(std::int32_t, Point, double, double, double, double, double) override {
        ++calls;
    }
    void EmitSolidRing(Point, double, double, double, double, double, double) override { ++calls; }
    void WriteSolidColor(std::int32_t) override {}
    void WriteLineColor(std::int32_t, std::int32_t) override {}
    long calls = 0;
};

void AddLine(ElementStore& store, Point a, Point b) {
    store.lines.push_back({{}, 0, a.x, a.y, b.x, b.y});
    store.order.push_back({ElementKind::Line, static_cast<std::int32_t>(store.lines.size() - 1)});
}

// Short lines that touch nothing, on a grid.
ElementStore SeparateLines(int count) {
    ElementStore store;
    for (int i = 0; i < count; ++i) {
        const Point a{(i % 400) * 30.0, (i / 400) * 30.0};
        AddLine(store, a, {a.x + 20, a.y + 5});
    }
    return store;
}

// One spiral-like chain, every other line drawn backwards.
ElementStore OneChain(int count) {
    ElementStore store;
    auto at = [](int i) {
        const double t = i * 0.001;
        return Point{1e4 * std::cos(t) + i * 0.1, 1e4 * std::sin(t)};
    };
    for (int i = 0; i < count; ++i)
        i % 2 ? AddLine(store, at(i + 1), at(i)) : AddLine(store, at(i), at(i + 1));
    return store;
}

// Quarter arcs in a row of touching S bends.
ElementStore ArcChain(int count) {
    ElementStore store;
    for (int i = 0; i < count; ++i) {
        const double cx = i * 20.0;
        store.arcs.push_back({{}, {cx, 0, 10, i % 2 ? 0.0 : 180.0, i % 2 ? 180.0 : 360.0, 1, 0}});
        store.order.push_back({ElementKind::Arc, i});
    }
    return store;
}

LayoutInputs Pattern() { return {bench::TriangleWithGuides(), {}, 1}; }

template <ElementStore (*kSelection)(int)>
void BM_Chain(benchmark::State& state) {
    const ElementStore store = kSelection(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(PathsFromSelection(store));
}
BENCHMARK(BM_Chain<SeparateLines>)
    ->Name("BM_ChainSeparateLines")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chain<OneChain>)
    ->Name("BM_ChainOneLongChain")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

template <ElementStore (*kSelection)(int)>
void BM_ChainAndDraw(benchmark::State& state) {
    const ElementStore store = kSelection(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CountingTarget out;
        LayOutPaths(Pattern(), PathsFromSelection(store).paths, out);
        benchmark::DoNotOptimize(out.calls);
    }
}
BENCHMARK(BM_ChainAndDraw<SeparateLines>)
    ->Name("BM_ChainAndDrawLines")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChainAndDraw<ArcChain>)
    ->Name("BM_ChainAndDrawArcs")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// The layout alone, per side against through, on one long chain of short
// lines (a curve converted to lines, 14 long: two figures each way, so that
// both draw as many) and on the heavy run's closed 98-gon.
ElementPath CurveAsLines(int count) {
    std::vector<Point> points = {{}};
    for (int i = 0; i <= count; ++i) points.push_back(Along({0, 0}, 1e4, i * 14e-4));
    return ChainPath(points, count + 1);
}

ElementPath HeavyChain() {
    std::vector<Point> points = {{}};
    for (int i = 0; i < 99; ++i) points.push_back(Along({0, 0}, 1e4, (i % 98) * kTwoPi / 98));
    return ChainPath(points, 99);
}

// The heavy run's pattern: "□＆×" 2 by 1.5, 0.5 apart, with the triangle's guides.
LayoutInputs HeavyPattern() {
    LayoutInputs in = Pattern();
    in.row.figureKind = 36;
    in.row.width = 2;
    in.row.height = 1.5;
    in.row.interval = 0.5;
    return in;
}

// A chain of sides 14 long turning left and right by 60° in turn: a sharp
// corner at every point, where 通し and 角に合わせる search for clearances.
ElementPath Zigzag(int count) {
    std::vector<Point> points = {{}, {}};
    for (int i = 0; i < count; ++i)
        points.push_back(Along(points.back(), 14, (i % 2 ? 30 : -30) * kDegToRad));
    return ChainPath(points, count + 1);
}

ElementPath LongChain(const benchmark::State& state) {
    return CurveAsLines(static_cast<int>(state.range(0)));
}
ElementPath ZigzagOf(const benchmark::State& state) {
    return Zigzag(static_cast<int>(state.range(0)));
}
ElementPath HeavyChainOf(const benchmark::State&) { return HeavyChain(); }

template <ElementPath (*kPath)(const benchmark::State&), LayoutInputs (*kPattern)(),
          std::int32_t kArrangement>
void BM_LayOut(benchmark::State& state) {
    const ElementPath paths[] = {kPath(state)};
    LayoutInputs in = kPattern();
    in.row.arrangement = kArrangement;
    for (auto _ : state) {
        CountingTarget out;
        LayOutPaths(in, paths, out);
        benchmark::DoNotOptimize(out.calls);
    }
}
BENCHMARK(BM_LayOut<LongChain, Pattern, kArrangePerSide>)
    ->Name("BM_LayOutLongChainPerSide")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOut<LongChain, Pattern, kArrangeThrough>)
    ->Name("BM_LayOutLongChainThrough")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOut<LongChain, Pattern, kArrangeCorners>)
    ->Name("BM_LayOutLongChainCorners")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOut<ZigzagOf, Pattern, kArrangePerSide>)
    ->Name("BM_LayOutZigzagPerSide")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOut<ZigzagOf, Pattern, kArrangeThrough>)
    ->Name("BM_LayOutZigzagThrough")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOut<ZigzagOf, Pattern, kArrangeCorners>)
    ->Name("BM_LayOutZigzagCorners")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOut<HeavyChainOf, HeavyPattern, kArrangePerSide>)
    ->Name("BM_LayOutHeavyChainPerSide")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOut<HeavyChainOf, HeavyPattern, kArrangeThrough>)
    ->Name("BM_LayOutHeavyChainThrough")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesra
