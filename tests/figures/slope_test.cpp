// 法面 ticks: properties over random top edges and toes, and a few exact cases.
#include "figures/slope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "geom/helpers.h"

namespace tesra {
namespace {

constexpr double kDeg = kPi / 180;

PathElement Arc(Point a, double heading, double radius, double sweep) {
    const Point left{-std::sin(heading), std::cos(heading)};
    PathElement e;
    e.shape = PathElement::Shape::Arc;
    e.a = a;
    e.radius = radius;
    e.centre = a + (sweep > 0 ? radius : -radius) * left;
    e.startRad = std::atan2(a.y - e.centre.y, a.x - e.centre.x);
    e.sweepRad = sweep;
    e.b = {e.centre.x + radius * std::cos(e.startRad + sweep),
           e.centre.y + radius * std::sin(e.startRad + sweep)};
    return e;
}

// A chain of lines and arcs from `start` heading east, with smooth joints and
// sharp corners of either hand.
ElementPath RandomChain(std::mt19937& rng, Point start, int elements) {
    std::uniform_real_distribution<double> u(0, 1);
    ElementPath path;
    Point at = start;
    double heading = (u(rng) - 0.5) * 0.4;
    for (int i = 0; i < elements; ++i) {
        if (i > 0 && u(rng) < 0.3) heading += (u(rng) < 0.5 ? -1 : 1) * (30 + 60 * u(rng)) * kDeg;
        PathElement e;
        if (u(rng) < 0.5) {
            const double len = 2 + 6 * u(rng);
            e = LineElement(at, at + len * Point{std::cos(heading), std::sin(heading)});
        } else {
            const double sweep = (u(rng) < 0.5 ? -1 : 1) * (10 + 50 * u(rng)) * kDeg;
            e = Arc(at, heading, 3 + 12 * u(rng), sweep);
            heading += sweep;
        }
        at = e.b;
        path.elements.push_back(e);
    }
    return path;
}

ElementPath Maybe(bool reverse, const ElementPath& p) { return reverse ? Reversed(p) : p; }

// Written apart from the code under test, so that it is no oracle of itself.
bool OnArc(const PathElement& e, Point p) {
    const double turn = std::atan2(p.y - e.centre.y, p.x - e.centre.x) - e.startRad;
    const double along = std::remainder(e.sweepRad > 0 ? turn : -turn, kTwoPi);
    const double swept = std::fabs(e.sweepRad);
    return std::fabs(e.sweepRad) >= kTwoPi || (along >= -1e-12 && along <= swept + 1e-12) ||
           (along + kTwoPi >= -1e-12 && along + kTwoPi <= swept + 1e-12);
}

double DistanceTo(const PathElement& e, Point p) {
    if (e.shape == PathElement::Shape::Arc && OnArc(e, p))
        return std::fabs(Distance(p, e.centre) - e.radius);
    if (e.shape == PathElement::Shape::Arc) return std::min(Distance(p, e.a), Distance(p, e.b));
    const Point d = e.b - e.a;
    const double s = std::clamp(Dot(p - e.a, d) / Dot(d, d), 0.0, 1.0);
    return Distance(p, e.a + s * d);
}

// Whether the tick passes through the element before its last millionth.
bool CrossesBeforeItsEnd(const SlopeTick& t, const PathElement& e) {
    const Point r = t.to - t.from;
    if (e.shape == PathElement::Shape::Line) {
        const Point d = e.b - e.a, w = e.a - t.from;
        const double denom = Cross(r, d);
        if (std::fabs(denom) < 1e-15) return false;
        const double u = Cross(w, d) / denom, v = Cross(w, r) / denom;
        return u > 1e-9 && u < 1 - 1e-6 && v >= 0 && v <= 1;
    }
    // Where |from + u·r - centre| = radius, the tick passing through the
    // circle (not touching it) on the arc.
    const Point w = t.from - e.centre;
    const double a = Dot(r, r), half = Dot(w, r), c = Dot(w, w) - e.radius * e.radius;
    const double disc = half * half - a * c;
    if (disc <= 0) return false;
    for (double u : {(-half - std::sqrt(disc)) / a, (-half + std::sqrt(disc)) / a})
        if (u > 1e-9 && u < 1 - 1e-6 && OnArc(e, t.from + u * r)) return true;
    return false;
}

Point TangentAt(const PathElement& e, Point p) {
    if (e.shape == PathElement::Shape::Line) return Unit(e.b - e.a);
    const Point r = Unit(p - e.centre);
    return {-r.y, r.x};
}

// Whether the tick starts on an element of the top (within rounding),
// square to it there.
bool SquareToTheTop(const ElementPath& top, const SlopeTick& t) {
    const Point dir = Unit(t.to - t.from);
    for (const PathElement& e : top.elements)
        if (DistanceTo(e, t.from) < 1e-9 &&
            std::fabs(Dot(dir, TangentAt(e, t.from))) <= std::sin(0.1 * kDeg))
            return true;
    return false;
}

// The direction the path runs at p.
Point Heading(const PathElement& e, Point p) {
    const bool clockwise = e.shape == PathElement::Shape::Arc && e.sweepRad < 0;
    return (clockwise ? -1.0 : 1.0) * TangentAt(e, p);
}

// A fan tick starts on a corner of the top and points strictly between the
// perpendiculars of the two sides meeting there, on one side of the top.
bool RadiatesWithinAWedge(const ElementPath& top, const SlopeTick& t) {
    const Point dir = Unit(t.to - t.from);
    const std::size_t n = top.elements.size();
    for (std::size_t j = 0; j < n; ++j) {
        const PathElement& before = top.elements[j];
        const PathElement& after = top.elements[(j + 1) % n];
        if ((j + 1 == n && !top.closed) || Distance(before.b, t.from) > 1e-9) continue;
        for (const double side : {1.0, -1.0}) {
            const Point t0 = Heading(before, before.b), t1 = Heading(after, after.a);
            const Point n0 = side * Point{t0.y, -t0.x}, n1 = side * Point{t1.y, -t1.x};
            const double span = Cross(n0, n1);
            if (span * Cross(n0, dir) > 0 && span * Cross(dir, n1) > 0) return true;
        }
    }
    return false;
}

// Where a tick stands on either end of an open top, it is a long one.
bool EndsLongWhereDrawn(const ElementPath& top, const std::vector<SlopeTick>& ticks) {
    if (top.closed || ticks.empty()) return true;
    const Point start = top.elements.front().a, end = top.elements.back().b;
    for (const SlopeTick& t : ticks)
        if ((Distance(t.from, start) < 1e-9 || Distance(t.from, end) < 1e-9) && !t.inFan &&
            !t.isLong)
            return false;
    return true;
}

double DistanceToPath(const ElementPath& path, Point p) {
    double d = INFINITY;
    for (const PathElement& e : path.elements) d = std::min(d, DistanceTo(e, p));
    return d;
}

// Interiors cross; ticks that only touch (a shared start at a corner, ends
// meeting on the bisector) do not.
bool Cross(const SlopeTick& a, const SlopeTick& b) {
    const Point r = a.to - a.from, s = b.to - b.from, w = b.from - a.from;
    const double denom = Cross(r, s);
    if (std::fabs(denom) < 1e-12) return false;
    const double t = Cross(w, s) / denom, v = Cross(w, r) / denom;
    constexpr double kEnds = 1e-6;
    return t > kEnds && t < 1 - kEnds && v > kEnds && v < 1 - kEnds;
}

PatternRow Row(double pitch, std::string rhythm = "LS", double ratio = 0.5) {
    return {.rowKind = kRowSlope, .pitch = pitch, .rhythm = std::move(rhythm), .shortRatio = ratio};
}

// Every property at once over top edges and toes of lines and arcs, in both
// orientations, toes crossing the top included.
TEST(SlopeTicks, PropertiesOverRandomTopsAndToes) {
    std::mt19937 rng(16);
    std::uniform_real_distribution<double> u(0, 1);
    int longTicks = 0, shortTicks = 0, fanTicks = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const std::vector<ElementPath> tops{
            Maybe(u(rng) < 0.5, RandomChain(rng, {0, 0}, 1 + trial % 5))};
        const std::vector<ElementPath> toes{Maybe(
            u(rng) < 0.5, RandomChain(rng, {-5, (u(rng) < 0.5 ? -1 : 1) * (3 + 6 * u(rng))}, 6))};
        const PatternRow row = Row(0.3 + 2 * u(rng), trial % 3 ? "LS" : "LSS", 0.2 + 0.8 * u(rng));
        const std::vector<SlopeTick> ticks = SlopeTicks(row, tops, toes);
        EXPECT_TRUE(EndsLongWhereDrawn(tops[0], ticks));
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            const SlopeTick& t = ticks[i];
            const double length = Distance(t.from, t.to);
            SCOPED_TRACE("trial " + std::to_string(trial) + " tick " + std::to_string(i));
            EXPECT_TRUE(t.inFan ? RadiatesWithinAWedge(tops[0], t) : SquareToTheTop(tops[0], t));
            fanTicks += t.inFan;
            if (t.isLong) {
                ++longTicks;
                EXPECT_NEAR(length, t.localLength, 1e-9 * t.localLength);
                EXPECT_LE(DistanceToPath(toes[0], t.to), 1e-6);
            } else {
                ++shortTicks;
                EXPECT_NEAR(length, ShortRatioInUse(row) * t.localLength, 1e-9 * t.localLength);
            }
            // The toe is met first at the long tick's end, never before.
            for (const PathElement& e : toes[0].elements) EXPECT_FALSE(CrossesBeforeItsEnd(t, e));
            for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(Cross(t, ticks[j])) << "tick " << j;
        }
    }
    EXPECT_GT(longTicks, 1000);  // the properties were tried on many ticks
    EXPECT_GT(shortTicks, 1000);
    EXPECT_GT(fanTicks, 100);
}

// The example of the slope's definition: 20 m, pitch 1 m, the toe converging
// from 3 m to 1 m away. Long ticks end on it, short ones at half the width.
TEST(SlopeTicks, ConvergingToeOfTwentyMetres) {
    const std::vector<ElementPath> top{{{LineElement({0, 0}, {20000, 0})}, false}};
    const std::vector<ElementPath> toe{{{LineElement({0, -3000}, {20000, -1000})}, false}};
    const std::vector<SlopeTick> ticks = SlopeTicks(Row(1000), top, toe);
    ASSERT_EQ(ticks.size(), 21u);
    for (std::size_t k = 0; k < ticks.size(); ++k) {
        const double x = 1000.0 * static_cast<double>(k);
        const double width = 3000 - x / 10;
        EXPECT_EQ(ticks[k].isLong, k % 2 == 0);
        EXPECT_NEAR(ticks[k].from.x, x, 1e-9);
        EXPECT_NEAR(ticks[k].to.x, x, 1e-9);
        EXPECT_NEAR(ticks[k].to.y, k % 2 == 0 ? -width : -width / 2, 1e-6);
    }
}

// Ticks at both ends and evenly between at the largest spacing not above the
// pitch that puts a long tick at both ends; the rhythm from its first L.
TEST(SlopeTicks, StationsAndRhythmWithoutToe) {
    struct Case {
        double side, pitch;
        std::string rhythm;
        std::string expected;
    };
    const Case cases[] = {
        {10, 1, "LS", "LSLSLSLSLSL"},
        {9, 1, "LS", "LSLSLSLSLSL"},  // 10 intervals of 0.9: an odd count would end short
        {10, 3, "LSS", "LSSLSSL"},    // 6 intervals of 1.67
        {10, 10, "L", "LL"},
        {9.5, 1, "SLL", "LLSLLSLLSLL"},       // from the first L
        {10, 1, "SS", "SSSSSSSSSSS"},         // no long letter to end on
        {10, 1, "LX", "LSLSLSLSLSL"},         // not a rhythm: 長短
        {10, 1, "LSLSLSLSL", "LSLSLSLSLSL"},  // more than 8 letters: 長短
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rhythm + " " + std::to_string(c.side));
        PatternRow row = Row(c.pitch, c.rhythm);
        row.tickLength = 2;
        const std::vector<ElementPath> top{{{LineElement({0, 0}, {c.side, 0})}, false}};
        const std::vector<SlopeTick> ticks = SlopeTicks(row, top, {});
        std::string letters;
        for (const SlopeTick& t : ticks) letters += t.isLong ? 'L' : 'S';
        EXPECT_EQ(letters, c.expected);
        const double spacing = c.side / static_cast<double>(c.expected.size() - 1);
        for (std::size_t k = 0; k < ticks.size(); ++k)
            EXPECT_NEAR(ticks[k].from.x, spacing * static_cast<double>(k), 1e-9);
        EXPECT_GE(SlopeStationCount(row, top), static_cast<std::int64_t>(ticks.size()));
    }
}

// Outer corners fill with a fan from the corner, at the pitch along the arc
// of the tick's radius, the rhythm running on into the next side; inner
// corners get none.
TEST(SlopeTicks, FanAtOuterCornersOnly) {
    struct Case {
        Point second;     // end of the second side, from the corner (10, 0)
        std::string fan;  // letters of the fan's ticks
    };
    const Case cases[] = {
        {{10, 10}, "SLS"},   // left turn of 90°: arc π, 4 intervals
        {{0, 10}, "SLSLS"},  // 135°: arc 4.71, 6 intervals
        {{20, 3}, "S"},      // 16.7°: smooth, one run, no corner at all
        {{10, -10}, ""},     // right turn: inner corner
    };
    for (const Case& c : cases) {
        PatternRow row = Row(1, "LS");
        row.tickLength = 2;
        const std::vector<ElementPath> top{
            {{LineElement({0, 0}, {10, 0}), LineElement({10, 0}, c.second)}, false}};
        std::string fan;
        for (const SlopeTick& t : SlopeTicks(row, top, {})) {
            if (!t.inFan) continue;
            fan += t.isLong ? 'L' : 'S';
            EXPECT_NEAR(Distance(t.from, {10, 0}), 0, 1e-12);
            EXPECT_NEAR(Distance(t.from, t.to), t.isLong ? 2 : 1, 1e-12);
        }
        EXPECT_EQ(fan, c.fan == "S" ? "" : c.fan) << c.second.x << " " << c.second.y;
    }
}

// Why nothing is drawn, named for what it is.
TEST(SlopeTicks, RefusalNamesItsReason) {
    const ElementPath line{{LineElement({0, 0}, {10, 0})}, false};
    const ElementPath u{{LineElement({0, 10}, {0, 0}), LineElement({0, 0}, {10, 0}),
                         LineElement({10, 0}, {10, 10})},
                        false};
    struct Case {
        ElementPath top, toe;
        SlopeRefusal expected;
    } const cases[] = {
        {line, {{LineElement({20, -5}, {30, -5})}, false}, SlopeRefusal::ToeNotMet},
        {line, line, SlopeRefusal::ToeNotMet},  // identical chains
        // Up from the U's floor to a far toe every tick would pass the arms' ends.
        {u, {{LineElement({-1e4, 1000}, {1e4, 1000})}, false}, SlopeRefusal::TicksWouldCross},
        {line, {{LineElement({0, -5}, {10, -5})}, false}, SlopeRefusal::None},
    };
    for (const Case& c : cases) {
        const SlopePlan plan = PlanSlope(Row(1), std::vector{c.top}, std::vector{c.toe});
        EXPECT_EQ(plan.refusal, c.expected);
        EXPECT_EQ(plan.ticks.empty(), c.expected != SlopeRefusal::None);
    }
    EXPECT_EQ(PlanSlope(Row(1e-9), std::vector{line}, {}).refusal, SlopeRefusal::TooManyTicks);
}

// Without a toe: the right of the direction, outward on a closed edge however
// it runs; an arc's ticks along its radius through smooth joints.
TEST(SlopeTicks, LowSideWithoutToe) {
    PatternRow row = Row(1, "L");
    row.tickLength = 2;
    const ElementPath circleCcw{{Arc({10, 0}, kPi / 2, 10, kTwoPi)}, true};
    for (const ElementPath& top : {circleCcw, Reversed(circleCcw)}) {
        const std::vector<SlopeTick> ticks = SlopeTicks(row, std::vector{top}, {});
        ASSERT_EQ(ticks.size(), 63u);  // ceil(20π) ticks, no seam
        for (const SlopeTick& t : ticks) EXPECT_NEAR(Distance({0, 0}, t.to), 12, 1e-9);
    }
    const std::vector<SlopeTick> east =
        SlopeTicks(row, std::vector<ElementPath>{{{LineElement({0, 0}, {5, 0})}, false}}, {});
    for (const SlopeTick& t : east) EXPECT_NEAR(t.to.y, -2, 1e-12);
}

// Inner corners: the ticks that would converge are dropped, the rest kept.
TEST(SlopeTicks, InnerCornerDropsConvergingTicks) {
    PatternRow row = Row(1, "L");
    row.tickLength = 3;
    // Turning right, ticks on the right: the corner is inner.
    const std::vector<ElementPath> top{
        {{LineElement({0, 0}, {10, 0}), LineElement({10, 0}, {10, -10})}, false}};
    const std::vector<SlopeTick> ticks = SlopeTicks(row, top, {});
    // A tick is kept where its end is no nearer the other side than its
    // length: stations at least 3 from the corner, 8 of 11 on each side.
    for (const SlopeTick& t : ticks) EXPECT_GE(Distance(t.from, {10, 0}), 3 - 1e-9);
    EXPECT_EQ(ticks.size(), 16u);
}

}  // namespace
}  // namespace tesra
