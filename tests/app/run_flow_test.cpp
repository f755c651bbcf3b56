// Run flow: mode argument, paths, chain length, attribute lines and the figure bound.
#include "app/run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geom/point.h"

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
        {"four points", {{1, {0, 0}}, {2, {10, 0}}, {3, {20, 0}}, {4, {30, 0}}},
         With({"0 0 10 0", "10 0 20 0", "20 0 30 0"})},
        {"point 3 equals point 2", {{1, {0, 0}}, {2, {10, 0}}, {3, {10 + 5e-9, 0}}, {4, {20 + 5e-9, 0}}},
         With({"0 0 10 0", "10.000000005 0 20.000000005 0"})},
        {"point 3 absent", {{1, {0, 0}}, {2, {10, 0}}, {4, {20, 0}}}, With({"0 0 10 0"})},
        {"one point", {{1, {0, 0}}}, kAttributes},
        {"no points", {}, kAttributes},
    };
    for (const Case& c : cases) {
        RunContext run = ContextWithPoints(c.points);
        EXPECT_EQ(Draw(run, RunMode::Chain), c.expected) << c.what;
    }
}

TEST(RunFlow, TwoPointModeDrawsOneSpanWhateverThePoints) {
    RunContext run = ContextWithPoints({{1, {0, 0}}, {2, {10, 0}}, {3, {20, 0}}});
    EXPECT_EQ(Draw(run, RunMode::TwoPoints), With({"0 0 10 0"}));
    RunContext none = ContextWithPoints({});
    EXPECT_EQ(Draw(none, RunMode::TwoPoints), kAttributes);
}

TEST(RunFlow, BzFirstThenInitialAttributesAndLineWidthOnlyWhenRead) {
    RunContext run = ContextWithPoints({});
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

TEST(RunFlow, MoreThanAMillionFiguresDrawNothingButTheMessage) {
    RunContext run = ContextWithPoints({{1, {0, 0}}, {2, {1'000'000, 0}}});
    run.store.rows[0].figureKind = -1;  // laid out, but nothing to write per figure
    run.store.rows[0].lowerLine = 2;
    run.store.rows[0].width = 1.0;  // exactly a million figures: drawn
    EXPECT_EQ(Draw(run, RunMode::TwoPoints), With({"0 0 1000000 0"}));
    run.store.rows[0].width = 0.999999;
    const Lines lines = Draw(run, RunMode::TwoPoints);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 2), "he");
}

TEST(RunFlow, ModeArgument) {
    EXPECT_EQ(ModeFromArgument("1"), RunMode::TwoPoints);
    EXPECT_EQ(ModeFromArgument("2"), RunMode::Chain);
    EXPECT_EQ(ModeFromArgument("3"), RunMode::AlongSelection);
    EXPECT_EQ(ModeFromArgument("4"), RunMode::SlopeBetween);
    for (const char* other : {"01", "1 ", "one", "", "03", "3 ", "4 ", "5", "-1"})
        EXPECT_EQ(ModeFromArgument(other), RunMode::Dialog) << other;
    EXPECT_EQ(ModeFromArgument(std::nullopt), RunMode::Dialog);
}

TEST(RunFlow, FilesBesideTheExecutable) {
    const RunPaths paths = RunPaths::ForExecutable("/opt/jw/addins/飾り/tesra.exe");
    EXPECT_EQ(paths.exchangeFile, std::filesystem::path("/opt/jw/addins/飾り/JWC_TEMP.TXT"));
    EXPECT_EQ(paths.storeFile, std::filesystem::path("/opt/jw/addins/飾り/tesra.dat"));
    EXPECT_EQ(RunPaths::ForExecutable("/x/tesra").storeFile, std::filesystem::path("/x/tesra.dat"));
}

}  // namespace
}  // namespace tesra
