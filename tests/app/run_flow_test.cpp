// Run flow in memory: chain length and attribute lines. The mode argument,
// the file names and the figure bound are checked on the real executable
// (run_golden_test.cpp, hostile_input_test.cpp).
#include "app/run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geom/point.h"
#include "notices_cp932.h"

namespace tesra {
namespace {

// Kind 2 ("＿") on the band's lower edge with the band standing on the span:
// each span of length 10 or more draws exactly one line per figure, from
// where it can be told which spans were drawn.
RunContext ContextWithPoints(const std::vector<std::pair<int, Point>>& points) {
    RunContext run;
    run.store.rows[0].figureKind = 2;
    run.store.rows[0].basePoint = 2;
    for (auto [index, p] : points) {
        IndicatedPoint& ip = run.exchange.points[static_cast<std::size_t>(index)];
        ip.present = true;
        ip.x = p.x;
        ip.y = p.y;
    }
    return run;
}

std::vector<std::string> Draw(const RunContext& run, RunMode mode) {
    VectorSink sink;
    DrawPattern(run, mode, sink);
    return sink.lines;
}

using Lines = std::vector<std::string>;
const Lines kAttributes = {"lg0", "ly0", "lc1", "lt1"};
// Without a selection a notice alone loses nothing.
const Lines kTooFewForAChain = {std::string(kTooFewPointsChain)};

Lines With(Lines tail) {
    Lines all = kAttributes;
    all.insert(all.end(), tail.begin(), tail.end());
    return all;
}

TEST(RunFlow, ChainStopsAtTheFirstAbsentPointAndSkipsEqualNeighbours) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, Point>> points;
        Lines expected;
    } cases[] = {
        // clang-format off
        {"four points", {{1, {0, 0}}, {2, {10, 0}}, {3, {20, 0}}, {4, {30, 0}}},
         With({"0 0 10 0", "10 0 20 0", "20 0 30 0"})},
        {"point 3 equals point 2", {{1, {0, 0}}, {2, {10, 0}}, {3, {10 + 5e-9, 0}}, {4, {20 + 5e-9, 0}}},
         With({"0 0 10 0", "10.000000005 0 20.000000005 0"})},
        {"point 3 absent", {{1, {0, 0}}, {2, {10, 0}}, {4, {20, 0}}}, With({"0 0 10 0"})},
        {"one point", {{1, {0, 0}}}, kTooFewForAChain},
        {"no points", {}, kTooFewForAChain},
        {"point 1 absent", {{2, {0, 0}}, {3, {10, 0}}}, kTooFewForAChain},
        // clang-format on
    };
    for (const Case& c : cases) {
        RunContext run = ContextWithPoints(c.points);
        EXPECT_EQ(Draw(run, RunMode::Chain), c.expected) << c.what;
    }
}

TEST(RunFlow, TwoPointModeDrawsOneSpanWhateverThePoints) {
    RunContext run = ContextWithPoints({{1, {0, 0}}, {2, {10, 0}}, {3, {20, 0}}});
    EXPECT_EQ(Draw(run, RunMode::TwoPoints), With({"0 0 10 0"}));
    // Regression: a missing point was taken as the origin.
    const Lines tooFew = {std::string(kTooFewPointsTwo)};
    for (const auto& points : {std::vector<std::pair<int, Point>>{}, {{1, {5, 5}}}, {{2, {5, 5}}}})
        EXPECT_EQ(Draw(ContextWithPoints(points), RunMode::TwoPoints), tooFew);
}

TEST(RunFlow, BzFirstThenInitialAttributesAndLineWidthOnlyWhenRead) {
    RunContext run = ContextWithPoints({{1, {0, 0}}, {2, {0, 0}}});  // nothing to draw
    run.exchange.bz = true;
    run.exchange.initial.layerGroup = 11;
    run.exchange.initial.layer = 3;
    run.exchange.initial.lineColor = 5;
    run.exchange.initial.lineType = 2;
    run.exchange.initial.lineWidth = 40;
    EXPECT_EQ(Draw(run, RunMode::Chain), (Lines{"bz", "lgB", "ly3", "lc5", "lt2"}));
    run.exchange.lwSeen = true;
    EXPECT_EQ(Draw(run, RunMode::Chain), (Lines{"bz", "lgB", "ly3", "lc5", "lt2", "lw40"}));
}

}  // namespace
}  // namespace tesra
