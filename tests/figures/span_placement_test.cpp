// Span placement: counts, spacing, gap lines and mitres, hairpins included.
#include "figures/span_placement.h"
#include "figures/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "geom/helpers.h"
#include "test_support.h"

namespace tesra {
namespace {

constexpr double kEps = 1e-9;

// A row drawing kind 2 ("＿", one line on the cell's lower edge) so that each
// figure shows up as one line from its origin to its end.
PatternRow BarRow(double w, double interval, int placement) {
    PatternRow row;
    row.figureKind = 2;
    row.width = w;
    row.height = 10;
    row.interval = interval;
    row.placement = placement;
    row.basePoint = 2;
    return row;
}

struct SpanRun {
    std::vector<Point> points;
    RecordingTarget out;

    SpanRun(std::vector<Point> chain) {
        points.push_back({});  // index 0 unused
        points.insert(points.end(), chain.begin(), chain.end());
    }
    void Place(const PatternRow& row, int j, int npts) {
        LayoutInputs in{row, {}, 1};
        in.keepsZeroLengthSpan = true;
        LayOutSpan(in, ChainPath(points, npts), static_cast<std::size_t>(j - 1), out);
    }
    std::vector<std::vector<double>> Lines() const {
        std::vector<std::vector<double>> lines;
        for (const auto& c : out.calls)
            if (c.op == "line") lines.push_back(c.values);
        return lines;
    }
};

void ExpectLine(const std::vector<double>& got, double x1, double y1, double x2, double y2) {
    ASSERT_EQ(got.size(), 4u);
    EXPECT_NEAR(got[0], x1, kEps);
    EXPECT_NEAR(got[1], y1, kEps);
    EXPECT_NEAR(got[2], x2, kEps);
    EXPECT_NEAR(got[3], y2, kEps);
}

TEST(SpanPlacement, FigureStartsForBothPlacements) {
    struct Case {
        double interval;
        int placement;
        std::vector<double> starts;
    } cases[] = {
        {4, 0, {3, 17, 31, 45, 59, 73, 87}},  // interval given: leftover at both ends
        {4, 1, {0, 15, 30, 45, 60, 75, 90}},  // evenly spread: leftover in the gaps
        {5, 0, {0, 15, 30, 45, 60, 75, 90}},  // exact fit
        {0, 0, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90}},
    };
    for (const Case& c : cases) {
        SpanRun run({{0, 0}, {100, 0}});
        run.Place(BarRow(10, c.interval, c.placement), 1, 2);
        const auto lines = run.Lines();
        ASSERT_EQ(lines.size(), c.starts.size()) << c.interval << " " << c.placement;
        for (std::size_t i = 0; i < lines.size(); ++i)
            ExpectLine(lines[i], c.starts[i], 0, c.starts[i] + 10, 0);
    }
}

TEST(SpanPlacement, ColorRestoredAfterEveryFigure) {
    SpanRun run({{0, 0}, {100, 0}});
    run.Place(BarRow(10, 4, 0), 1, 2);
    ASSERT_EQ(run.out.calls.size(), 14u);
    for (std::size_t i = 0; i < run.out.calls.size(); i += 2) {
        EXPECT_EQ(run.out.calls[i].op, "line");
        EXPECT_EQ(run.out.calls[i + 1].op, "linecolor");
        EXPECT_EQ(run.out.calls[i + 1].values[0], 1);
    }
}

TEST(SpanPlacement, GapLinesLeadingInnerTrailingUpperFirst) {
    PatternRow row = BarRow(10, 4, 0);
    row.figureKind = -1;  // no figure: only the layout shows
    row.upperLine = 1;
    row.lowerLine = 1;
    row.basePoint = 1;  // band from y = -5 to y = 5
    SpanRun run({{0, 0}, {100, 0}});
    run.Place(row, 1, 2);
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 16u);  // 2 leading, 6 x 2 inner, 2 trailing
    ExpectLine(lines[0], 0, 5, 3, 5);
    ExpectLine(lines[1], 0, -5, 3, -5);
    ExpectLine(lines[2], 13, 5, 17, 5);
    ExpectLine(lines[3], 13, -5, 17, -5);
    ExpectLine(lines[14], 97, 5, 100, 5);
    ExpectLine(lines[15], 97, -5, 100, -5);
}

TEST(SpanPlacement, NoGapLinesWhereGapsVanish) {
    PatternRow exact = BarRow(10, 5, 0);
    exact.figureKind = -1;
    exact.middleLine = 1;
    SpanRun fit({{0, 0}, {100, 0}});
    fit.Place(exact, 1, 2);
    EXPECT_EQ(fit.Lines().size(), 6u);  // inner gaps only

    PatternRow edgeToEdge = BarRow(10, 0, 0);
    edgeToEdge.figureKind = -1;
    edgeToEdge.middleLine = 1;
    SpanRun ends({{0, 0}, {95, 0}});
    ends.Place(edgeToEdge, 1, 2);
    const auto lines = ends.Lines();
    ASSERT_EQ(lines.size(), 2u);  // leading and trailing only
    ExpectLine(lines[0], 0, 5, 2.5, 5);
    ExpectLine(lines[1], 92.5, 5, 95, 5);
}

// Spans with room for one figure or none: the lines that are left.
TEST(SpanPlacement, ShortSpansGiveOneFigureOrNone) {
    const struct {
        const char* name;
        double length;
        int placement, upperLine;
        std::vector<std::vector<double>> lines;
    } cases[] = {
        // s0 = (L + I) / 2; G is still A'
        {"too short, by interval", 6, 0, 0, {{0, 0, 5, 0}, {0, 0, 6, 0}}},
        {"too short, evenly: the full-length line only", 6, 1, 2, {{0, 10, 6, 10}}},
        {"one figure evenly spread stands at the start", 18, 1, 0, {{0, 0, 10, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PatternRow row = BarRow(10, 4, c.placement);
        row.upperLine = c.upperLine;
        row.lowerLine = 1;
        SpanRun run({{0, 0}, {c.length, 0}});
        run.Place(row, 1, 2);
        const auto lines = run.Lines();
        ASSERT_EQ(lines.size(), c.lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto& l = c.lines[i];
            ExpectLine(lines[i], l[0], l[1], l[2], l[3]);
        }
    }
}

TEST(SpanPlacement, UndefinedCountDrawsNothing) {
    for (auto [w, interval] : {std::pair{10.0, -10.0}, std::pair{1e-300, 0.0}}) {
        PatternRow row = BarRow(w, interval, 0);
        row.upperLine = 2;
        row.lowerLine = 1;
        SpanRun run({{0, 0}, {100, 0}});
        run.Place(row, 1, 2);
        EXPECT_TRUE(run.out.calls.empty()) << w;
    }
    EXPECT_FALSE(FigureCount(100, 10, -10));
    EXPECT_FALSE(FigureCount(1e300, 1e-300, 0));
    EXPECT_EQ(FigureCount(100, 10, 4), 7);
}

TEST(SpanPlacement, BasePointPutsTheSpanOnTopMiddleOrBottom) {
    const double expectedY[] = {-10, -5, 0, 0};  // bottom edge of the band
    for (int base = 0; base < 4; ++base) {
        PatternRow row = BarRow(10, 0, 0);
        row.basePoint = base;
        SpanRun run({{0, 0}, {10, 0}});
        run.Place(row, 1, 2);
        ExpectLine(run.Lines().at(0), 0, expectedY[base], 10, expectedY[base]);
    }
}

TEST(SpanPlacement, RotatedSpanRotatesTheLayout) {
    PatternRow row = BarRow(10, 4, 0);
    row.upperLine = 2;
    SpanRun run({{5, 5}, {5, 105}});  // pointing up: eu = +y, ev = -x
    run.Place(row, 1, 2);
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 8u);
    ExpectLine(lines[0], 5, 8, 5, 18);
    ExpectLine(lines[7], -5, 5, -5, 105);
}

// The mitred chain: an L of two sides, guide lines on the band's top and
// bottom, band standing on the span ("下").
TEST(SpanPlacement, FullLengthLinesMeetInMitres) {
    PatternRow row = BarRow(10, 0, 0);
    row.figureKind = -1;
    row.upperLine = 2;
    row.lowerLine = 2;
    SpanRun run({{0, 0}, {100, 0}, {100, 100}});
    run.Place(row, 1, 3);
    run.Place(row, 2, 3);
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 4u);
    ExpectLine(lines[0], 0, 10, 90, 10);
    ExpectLine(lines[1], 0, 0, 100, 0);
    ExpectLine(lines[2], 90, 10, 90, 100);
    ExpectLine(lines[3], 100, 0, 100, 100);
}

TEST(SpanPlacement, ClosedChainMitresItsFirstAndLastCorner) {
    PatternRow row = BarRow(10, 0, 0);
    row.figureKind = -1;
    row.basePoint = 1;
    row.lowerLine = 2;  // 5 outside a counter-clockwise square
    SpanRun run({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}});
    for (int j = 1; j <= 4; ++j) run.Place(row, j, 5);
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 4u);
    ExpectLine(lines[0], -5, -5, 105, -5);
    ExpectLine(lines[1], 105, -5, 105, 105);
    ExpectLine(lines[2], 105, 105, -5, 105);
    ExpectLine(lines[3], -5, 105, -5, -5);

    SpanRun open({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    for (int j = 1; j <= 3; ++j) open.Place(row, j, 4);
    ExpectLine(open.Lines().at(0), 0, -5, 105, -5);
    ExpectLine(open.Lines().at(2), 105, 105, 0, 105);
}

TEST(SpanPlacement, CollinearSidesKeepTheirEnds) {
    PatternRow row = BarRow(10, 0, 0);
    row.figureKind = -1;
    row.upperLine = 2;
    SpanRun run({{0, 0}, {50, 0}, {100, 0}});
    run.Place(row, 1, 3);
    ExpectLine(run.Lines().at(0), 0, 10, 50, 10);
}

double DistanceToSegment(Point p, Point a, Point b) {
    const Point ab = b - a, ap = p - a;
    const double len2 = ab.x * ab.x + ab.y * ab.y;
    const double t = len2 > 0 ? std::clamp((ap.x * ab.x + ap.y * ab.y) / len2, 0.0, 1.0) : 0.0;
    return Distance(p, a + t * ab);
}

double DistanceToChain(Point p, const std::vector<Point>& chain) {
    double best = INFINITY;
    for (std::size_t k = 2; k < chain.size(); ++k)
        best = std::min(best, DistanceToSegment(p, chain[k - 1], chain[k]));
    return best;
}

// Two sides of 100 meeting at `apexDeg` in P[2]; closed, the chain returns to P[1].
std::vector<Point> Hairpin(double apexDeg, bool closed) {
    const double a = apexDeg * std::numbers::pi / 180;
    std::vector<Point> chain = {{0, 0}, {100, 0}, {100 - 100 * std::cos(a), 100 * std::sin(a)}};
    if (closed) chain.push_back(chain[0]);
    return chain;
}

// Nearly parallel offset lines meet arbitrarily far away; such a corner keeps
// its ends, as drawing programs bound their mitres at 10 times the offset.
TEST(SpanPlacement, HairpinMitresStayNearTheChain) {
    constexpr double kH = 10;
    for (double apex : {20.0, 1.0, 1e-3, 1e-6}) {
        for (bool closed : {false, true}) {
            for (int base = 0; base <= 2; ++base) {
                PatternRow row = BarRow(7, 1, 0);
                row.figureKind = 3;
                row.basePoint = base;
                row.upperLine = row.middleLine = row.lowerLine = 2;
                SpanRun run(Hairpin(apex, closed));
                const int npts = static_cast<int>(run.points.size()) - 1;
                for (int j = 1; j < npts; ++j) run.Place(row, j, npts);
                for (const auto& line : run.Lines())
                    for (Point p : {Point{line[0], line[1]}, Point{line[2], line[3]}})
                        EXPECT_LE(DistanceToChain(p, run.points), 10 * kH + 1e-8)
                            << apex << "° closed " << closed << " base " << base;
            }
        }
    }
}

// Random chains, open and closed, with sharp and shallow corners alike: every
// full-length line ends within the mitre limit of the chain.
TEST(SpanPlacement, RandomChainsKeepTheirGuideLinesNearTheChain) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(-500, 500), height(0.5, 30);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<Point> chain(2 + random() % 6);
        for (Point& p : chain) p = {coordinate(random), coordinate(random)};
        if (trial % 2) chain.push_back(chain[0]);
        PatternRow row = BarRow(10, 0, 0);
        row.figureKind = -1;
        row.height = height(random);
        row.basePoint = static_cast<std::int32_t>(random() % 3);
        row.upperLine = row.middleLine = row.lowerLine = kGuideFull;
        SpanRun run(chain);
        const int npts = static_cast<int>(chain.size());
        for (int j = 1; j < npts; ++j) run.Place(row, j, npts);
        for (const auto& line : run.Lines())
            for (Point p : {Point{line[0], line[1]}, Point{line[2], line[3]}})
                ASSERT_LE(DistanceToChain(p, run.points), 10 * row.height + 1e-8) << trial;
    }
}

TEST(SpanPlacement, CornerWithinTheLimitStillMeets) {
    PatternRow row = BarRow(10, 0, 0);
    row.figureKind = -1;
    row.basePoint = 0;
    row.lowerLine = 2;  // 10 inside a 20° apex: the mitre lies 57.6 from it
    SpanRun run(Hairpin(20, false));
    run.Place(row, 1, 3);
    run.Place(row, 2, 3);
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 2u);
    ExpectLine(lines[1], lines[0][2], lines[0][3], lines[1][2], lines[1][3]);
    EXPECT_NEAR(Distance({lines[0][2], lines[0][3]}, {100, 0}),
                10 / std::sin(10 * std::numbers::pi / 180), kEps);
}

TEST(SpanPlacement, EqualPointsDrawOnlyHalfIntervalLeadingLines) {
    PatternRow row = BarRow(10, 4, 0);
    row.upperLine = 1;
    row.middleLine = 2;
    SpanRun run({{3, 3}, {3, 3}});
    run.Place(row, 1, 2);
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 3u);
    ExpectLine(lines[0], 3, 13, 5, 13);  // leading, I / 2 long
    ExpectLine(lines[1], 3, 13, 3, 13);  // trailing: the writer drops it
    ExpectLine(lines[2], 3, 8, 3, 8);    // full length: dropped too
}

}  // namespace
}  // namespace tesra
