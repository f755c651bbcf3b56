// 法面 rows in the runs: which path is the top, the slope row in modes "1" to
// "3", and what a failed write leaves. What goes back to the host on every
// outcome is in hostile_input_test.cpp, through the executable.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "app/run.h"
#include "app/run_along.h"
#include "exchange/atomic_file.h"
#include "settings/pattern_store.h"
#include "test_support.h"

namespace tesra {
namespace {

const std::string kHeader = CrLf({"hq", "bz", "lg0", "ly3", "lc2", "lt1", "cn2", "#"});
const std::string kTopAndToe = "lc5\r\n0 0 20 0\r\n0 -3 20 -1\r\n";

PatternRow SlopeRow(double pitch = 1, double tickLength = 2) {
    PatternRow row;
    row.rowKind = kRowSlope;
    row.pitch = pitch;
    row.tickLength = tickLength;
    return row;
}

RunContext Context(const std::string& points, const std::string& selection, PatternRow row) {
    RunContext run;
    const std::string header = kHeader.substr(0, 4) + points + kHeader.substr(4);
    run.exchange = ReadExchange(header + selection);
    run.store.rows[0] = row;
    run.store.selectedRow = 1;
    return run;
}

std::string Output(const RunContext& run, RunMode mode) {
    VectorSink sink;
    DrawPattern(run, mode, sink);
    return sink.lines.empty() ? "" : CrLf(sink.lines);
}

// The lines drawn after the selection written back.
std::vector<JwwEntLine> DrawnLines(const std::string& out, std::size_t selected) {
    const ExchangeState read = ReadExchange(kHeader.substr(0, 4) + out);
    std::vector<JwwEntLine> lines;
    for (std::size_t i = selected; i < read.elements.lines.size(); ++i)
        lines.push_back(read.elements.lines[i]);
    return lines;
}

// The point picks the top edge; the long ticks go from it to the other path.
TEST(SlopeRun, ThePointPicksTheTopEdge) {
    const auto onFlat = [](double x, double y) { return std::fabs(y) < 1e-9 && x >= 0; };
    const auto onSloped = [](double x, double y) { return std::fabs(y - (-3 + x / 10)) < 1e-9; };
    const struct {
        std::string point;
        bool flatIsTop;
    } cases[] = {{"hp1 10 0.2\r\n", true}, {"hp1 10 -2.5\r\n", false}};
    for (const auto& c : cases) {
        const std::string out =
            Output(Context(c.point, kTopAndToe, SlopeRow()), RunMode::SlopeBetween);
        const std::vector<JwwEntLine> ticks = DrawnLines(out, 2);
        ASSERT_GE(ticks.size(), 20u) << c.point;
        for (const JwwEntLine& t : ticks) {
            // A long tick ends on the other path, a short one half way there.
            const double x2 = 2 * t.x2 - t.x1, y2 = 2 * t.y2 - t.y1;
            EXPECT_TRUE(c.flatIsTop ? onFlat(t.x1, t.y1) : onSloped(t.x1, t.y1));
            EXPECT_TRUE(c.flatIsTop ? onSloped(t.x2, t.y2) || onSloped(x2, y2)
                                    : onFlat(t.x2, t.y2) || onFlat(x2, y2));
        }
    }
}

double DistanceToSegment(Point p, Point a, Point b) {
    const Point d = b - a, w = p - a;
    const double s = std::clamp((w.x * d.x + w.y * d.y) / (d.x * d.x + d.y * d.y), 0.0, 1.0);
    return Distance(p, a + s * d);
}

// A toe that meets its top edge at one or both ends is a toe, not part of one
// long top; a point far from both lines tells no top edge.
TEST(SlopeRun, ToeMeetingItsTopEdge) {
    const PatternRow row = [] {
        PatternRow r = SlopeRow(7, 6);
        r.shortRatio = 0.5;
        return r;
    }();
    struct Case {
        const char* what;
        std::string point;
        std::vector<std::pair<Point, Point>> toe;
        bool draws, firstLong;
    } const cases[] = {
        {"runs out at one end", "hp1 50 1\r\n", {{{0, -20}, {100, 0}}}, true, true},
        {"stops short of the top", "hp1 50 1\r\n", {{{0, -20}, {99.99, 0}}}, true, true},
        {"round a pond", "hp1 50 1\r\n", {{{0, 0}, {50, -20}}, {{50, -20}, {100, 0}}}, true, false},
        {"point far from both", "hp1 500 500\r\n", {{{0, -20}, {100, 0}}}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string selection = "lc5\r\n0 0 100 0\r\n";
        for (const auto& [a, b] : c.toe) {
            std::ostringstream line;
            line << a.x << ' ' << a.y << ' ' << b.x << ' ' << b.y << "\r\n";
            selection += line.str();
        }
        const std::string out = Output(Context(c.point, selection, row), RunMode::SlopeBetween);
        const std::vector<JwwEntLine> ticks = DrawnLines(out, 1 + c.toe.size());
        EXPECT_EQ(out.find("h#") != std::string::npos, !c.draws);
        if (!c.draws) {
            EXPECT_TRUE(ticks.empty());
            EXPECT_NE(out.find(test::Sjis("法肩の上か近く")), std::string::npos);
            continue;
        }
        ASSERT_GE(ticks.size(), 14u);
        const auto toToe = [&](double x, double y) {
            double d = INFINITY;
            for (const auto& [a, b] : c.toe) d = std::min(d, DistanceToSegment({x, y}, a, b));
            return d;
        };
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            const JwwEntLine& t = ticks[i];
            EXPECT_NEAR(t.y1, 0, 1e-9) << i;  // from the top edge, none on the toe
            EXPECT_LT(t.y2, -1e-3) << i;      // towards the toe
            // A long tick ends on the toe, a short one half way there.
            EXPECT_LT(std::min(toToe(t.x2, t.y2), toToe(2 * t.x2 - t.x1, 2 * t.y2 - t.y1)), 1e-6);
        }
        // Where the toe leaves the top edge's start, the first tick is long.
        if (c.firstLong) {
            EXPECT_NEAR(ticks.front().x1, 0, 1e-9);
            EXPECT_LT(toToe(ticks.front().x2, ticks.front().y2), 1e-6);
        }
    }
}

// Modes "1" to "3" with a slope row: ticks of the tick length on the right.
// (A decorative row under "4" draws as under "3": golden/slope_run_rule_row.)
TEST(SlopeRun, SlopeRowInEveryMode) {
    const std::string span = "hp1 0 0\r\nhp2 10 0\r\n";
    for (const RunMode mode : {RunMode::TwoPoints, RunMode::Chain, RunMode::AlongSelection}) {
        const RunContext run = Context(span, "0 0 10 0\r\n", SlopeRow(1, 2));
        const std::string out = Output(run, mode);
        const std::size_t selected = mode == RunMode::AlongSelection ? 1 : 0;
        const std::vector<JwwEntLine> ticks = DrawnLines(out, selected);
        ASSERT_EQ(ticks.size(), 11u) << static_cast<int>(mode);
        for (std::size_t i = 0; i < ticks.size(); ++i)
            EXPECT_NEAR(ticks[i].y2, i % 2 == 0 ? -2 : -1, 1e-12);  // long, short
    }
    const std::string tooMany = Output(Context(span, "", SlopeRow(1e-9)), RunMode::TwoPoints);
    EXPECT_TRUE(tooMany.starts_with("he" + test::Sjis("目盛りの数")));
}

// A write that fails at any byte leaves the host's file as it was, for the
// drawing and for the notice alike. (Every seventh byte: each run is two
// files written, and the suite also runs under valgrind.)
TEST(SlopeRun, WriteFaultAtEveryByteLeavesTheHostsFile) {
    for (const std::string points : {"hp1 5 0\r\n", ""}) {
        const std::string input = kHeader.substr(0, 4) + points + kHeader.substr(4) + kTopAndToe;
        ScratchDir scratch;
        const RunPaths paths = RunPaths::ForExecutable(scratch / "tesra");
        PatternStore store;
        store.rows[0] = SlopeRow();
        ASSERT_TRUE(SavePatternStore(store, paths.storeFile));
        WriteBytes(paths.exchangeFile, input);
        ASSERT_EQ(RunDrawingMode(RunMode::SlopeBetween, paths), 0);
        const std::string full = ReadBytes(paths.exchangeFile);
        const auto size = static_cast<std::int64_t>(full.size());
        for (std::int64_t n = 0; n <= size + 1; n += 7) {
            WriteBytes(paths.exchangeFile, input);
            const int status = RunDrawingMode(RunMode::SlopeBetween, paths, WriteFaults{n});
            EXPECT_EQ(status == 0, n >= size) << n;
            EXPECT_EQ(ReadBytes(paths.exchangeFile), n >= size ? full : input) << n;
            EXPECT_FALSE(std::filesystem::exists(AtomicFile::TempPathFor(paths.exchangeFile))) << n;
        }
    }
}

}  // namespace
}  // namespace tesra
