// The layout core's rules as properties over random paths: boxes clear of
// each other and of every sharp corner's bisector, an unbroken pitch along
// smooth runs, closed runs without a seam, the corner arrangement's pitch,
// the band's side whatever the path's direction, upright figures, sequences
// and guide lines where an offset arc vanishes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "figures/layout.h"
#include "figures/layout_checks.h"
#include "geom/helpers.h"
#include "geom/path.h"
#include "test_support.h"

namespace tesra {
namespace {

using namespace layout_checks;

// A convex polygon inscribed in a circle, its corners spread so that every
// one turns by more than 25°, either way round.
std::vector<Point> SharpConvexPolygon(std::mt19937& rng, bool clockwise) {
    const int n = std::uniform_int_distribution<int>(3, 7)(rng);
    std::uniform_real_distribution<double> jitter(-0.25, 0.25), radius(30, 60);
    const double r = radius(rng), step = kTwoPi / n;
    std::vector<Point> points;
    for (int i = 0; i < n; ++i) points.push_back(Along({0, 0}, r, (i + jitter(rng)) * step));
    if (clockwise)
        for (Point& p : points) p.y = -p.y;
    return points;
}

// No box reaches across a sharp corner's bisector within the band: the
// bisector there runs between the points where the band's edges meet.
void ExpectClearOfBisectors(const ElementPath& path, const PatternRow& row,
                            const std::vector<Box>& boxes) {
    const double off = row.basePoint == kBaseTop      ? row.height
                       : row.basePoint == kBaseMiddle ? row.height / 2
                                                      : 0;
    const std::size_t n = path.elements.size();
    for (std::size_t k = 0; k < n; ++k) {
        if (!path.closed && k == 0) continue;
        const PathElement& before = path.elements[(k + n - 1) % n];
        const PathElement& after = path.elements[k];
        if (!IsSharpJoint(before, after)) continue;
        const Point t0 = EndTangent(before), t1 = StartTangent(after);
        const Point normals = Point{-t0.y, t0.x} + Point{-t1.y, t1.x};
        const double denom = 1 + Dot(t0, t1);
        auto meet = [&](double v) { return after.a + (v / denom) * normals; };
        const Point bisector[] = {meet(-off), meet(row.height - off)};
        for (const Box& b : boxes)
            EXPECT_FALSE(Meet(bisector, b)) << "a box crosses the bisector at corner " << k;
    }
}

TEST(Layout, BoxesStayClearAcrossSharpCorners) {
    std::mt19937 rng(15);
    std::uniform_real_distribution<double> size(0.5, 9), gap(0, 6);
    for (int trial = 0; trial < 300; ++trial) {
        const bool clockwise = trial % 2;
        const bool closed = trial % 3 != 0;
        std::vector<Point> points = SharpConvexPolygon(rng, clockwise);
        const ElementPath path = Polyline(points, closed);
        const std::int32_t base = trial % 3;
        for (std::int32_t arrangement : {kArrangeThrough, kArrangeCorners}) {
            const double w = size(rng);
            // The corner arrangement rounds its count up: its pitch stays
            // above W only with an interval of W or more.
            const double interval = arrangement == kArrangeCorners ? w + gap(rng) : gap(rng);
            const PatternRow row = Row(arrangement, base, w, size(rng), interval);
            const Drawn drawn = Lay(row, path);
            SCOPED_TRACE(testing::Message() << "trial " << trial << " arrangement " << arrangement);
            ASSERT_FALSE(drawn.boxes.empty());
            for (std::size_t i = 0; i < drawn.boxes.size(); ++i)
                for (std::size_t j = i + 1; j < drawn.boxes.size(); ++j)
                    ASSERT_FALSE(Meet(drawn.boxes[i], drawn.boxes[j])) << i << " and " << j;
            if (arrangement == kArrangeThrough) ExpectClearOfBisectors(path, row, drawn.boxes);
        }
    }
}

// Where a box's middle lies along a path whose middle line is the path itself
// (base point 中): the station of its nearest point.
double StationOf(const ElementPath& path, Point p) {
    double best = 1e300, station = 0, start = 0;
    for (const PathElement& e : path.elements) {
        const double len = ElementLength(e);
        double s = 0;
        if (e.shape == PathElement::Shape::Line) {
            s = std::clamp(Dot(p - e.a, e.b - e.a) / (len * len), 0.0, 1.0) * len;
        } else {
            const double phi = std::atan2(p.y - e.centre.y, p.x - e.centre.x);
            double turned = std::fmod((e.sweepRad < 0 ? -1 : 1) * (phi - e.startRad), kTwoPi);
            if (turned < 0) turned += kTwoPi;
            s = std::min(turned * e.radius, len);
        }
        const double dist = Distance(PointAt(e, s).at, p);
        if (dist < best) best = dist, station = start + s;
        start += len;
    }
    return station;
}

PathElement ArcDeg(Point centre, double r, double fromDeg, double sweepDeg) {
    return ArcElement(centre, r, fromDeg * kDegToRad, sweepDeg * kDegToRad);
}

// Smooth paths: a polygonised arc with 10° steps, and a line, a tangent arc
// and a line, each either way round.
std::vector<ElementPath> SmoothPaths() {
    std::vector<Point> steps;
    for (int i = 0; i <= 12; ++i) steps.push_back(Along({0, 0}, 40, i * 10 * kDegToRad));
    ElementPath rounded;
    rounded.elements = {LineElement({-30, 0}, {0, 0}), ArcDeg({0, 25}, 25, -90, 90),
                        LineElement({25, 25}, {25, 60})};
    std::vector<ElementPath> paths = {Polyline(steps, false), rounded};
    paths.push_back(Reversed(paths[0]));
    paths.push_back(Reversed(paths[1]));
    return paths;
}

// One pitch along smooth runs, through their joints and, on closed ones,
// across the seam, which then holds as many figures as the length does.
TEST(Layout, SmoothRunsKeepOnePitchClosedOnesWithoutASeam) {
    std::vector<Point> gon;
    for (int i = 0; i < 36; ++i) gon.push_back(Along({5, 5}, 30, i * 10 * kDegToRad));
    ElementPath circle;
    circle.elements = {ArcDeg({0, 0}, 20, 0, 360)};
    circle.closed = true;
    std::vector<ElementPath> paths = SmoothPaths();
    paths.insert(paths.end(), {circle, Polyline(gon, true), Reversed(circle)});
    for (std::int32_t arrangement : {kArrangePerSide, kArrangeThrough, kArrangeCorners})
        for (const ElementPath& path : paths)
            for (std::int32_t placement : {kPlaceByInterval, kPlaceEvenly}) {
                if (arrangement == kArrangePerSide && path.elements.size() > 1) continue;
                PatternRow row = Row(arrangement, kBaseMiddle, 4, 2, 3);
                row.placement = placement;
                const Drawn drawn = Lay(row, path);
                double length = 0;
                for (const PathElement& e : path.elements) length += ElementLength(e);
                if (path.closed) {
                    ASSERT_EQ(drawn.boxes.size(), static_cast<std::size_t>(length / 7));
                }
                ASSERT_GE(drawn.boxes.size(), 10u);
                std::vector<double> at;
                for (const Box& b : drawn.boxes) at.push_back(StationOf(path, Centre(b)));
                std::sort(at.begin(), at.end());
                if (path.closed) at.push_back(at.front() + length);  // across the seam
                for (std::size_t i = 1; i < at.size(); ++i)
                    EXPECT_NEAR(at[i] - at[i - 1], at[1] - at[0], 1e-9 * (at[1] - at[0]));
            }
}

TEST(Layout, CornerArrangementTakesTheLargestPitchNotAboveWidthAndInterval) {
    // Sides 10.0, 7.3 and 4.1 between figure middles, meeting at right
    // angles, W + I = 1; the end figures stand inside the path's ends.
    const ElementPath path = Polyline({{-0.05, 0}, {10, 0}, {10, 7.3}, {5.85, 7.3}}, false);
    const Drawn drawn = Lay(Row(kArrangeCorners, kBaseMiddle, 0.1, 0.1, 0.9), path);
    std::vector<Point> centres;
    for (const Box& b : drawn.boxes) centres.push_back(Centre(b));
    ASSERT_EQ(centres.size(), 11u + 8u + 5u);
    for (Point vertex : {Point{0, 0}, Point{10, 0}, Point{10, 7.3}, Point{5.9, 7.3}})
        EXPECT_EQ(std::count_if(centres.begin(), centres.end(),
                                [&](Point c) { return Distance(c, vertex) < 1e-9; }),
                  1);
    const std::array<double, 3> pitches = {1.0, 0.9125, 0.82};
    const std::array<std::size_t, 4> firsts = {0, 10, 18, 23};
    for (std::size_t side = 0; side < 3; ++side)
        for (std::size_t i = firsts[side]; i < firsts[side + 1]; ++i)
            EXPECT_NEAR(Distance(centres[i], centres[i + 1]), pitches[side], 1e-9) << i;
}

// The points as the host numbers a chain of them, from 1.
ElementPath Chain(std::vector<Point> points) {
    const int npts = static_cast<int>(points.size());
    points.insert(points.begin(), Point{});
    return ChainPath(points, npts);
}

TEST(Layout, InsideAndOutsideDoNotDependOnTheDirectionOfTheClicks) {
    std::mt19937 rng(16);
    for (int trial = 0; trial < 40; ++trial) {
        std::vector<Point> ccw = SharpConvexPolygon(rng, false);
        ccw.push_back(ccw.front());
        const std::vector<Point> cw(ccw.rbegin(), ccw.rend());
        for (std::int32_t side : {kSideInside, kSideOutside})
            for (std::int32_t arrangement : {kArrangePerSide, kArrangeThrough, kArrangeCorners})
                for (std::int32_t base : {kBaseTop, kBaseMiddle, kBaseBottom}) {
                    PatternRow row = Row(arrangement, base, 3, 2, 2);
                    row.side = side;
                    row.upperLine = kGuideFull;
                    row.lowerLine = kGuideGap;
                    const Drawn one = Lay(row, Chain(ccw)), other = Lay(row, Chain(cw));
                    ASSERT_EQ(one.calls.size(), other.calls.size());
                    for (std::size_t i = 0; i < one.calls.size(); ++i)
                        EXPECT_EQ(one.calls[i].values, other.calls[i].values);
                    if (base != kBaseBottom) continue;
                    // The band's middle falls on the side asked for: left of
                    // every side of the convex polygon run counter-clockwise.
                    for (const Box& box : one.boxes) {
                        const Point c = Centre(box);
                        bool inside = true;
                        for (std::size_t k = 0; k + 1 < ccw.size(); ++k)
                            inside = inside && Cross(ccw[k + 1] - ccw[k], c - ccw[k]) > 0;
                        EXPECT_EQ(inside, side == kSideInside);
                    }
                }
    }
}

TEST(Layout, UprightFiguresAreTheUnturnedFigureMovedIntoPlace) {
    for (const ElementPath& path : SmoothPaths())
        for (std::int32_t arrangement : {kArrangePerSide, kArrangeThrough, kArrangeCorners}) {
            PatternRow row = Row(arrangement, kBaseBottom, 3, 2, 1.5);
            const Drawn along = Lay(row, path);
            row.orientation = kOrientUpright;
            const Drawn upright = Lay(row, path);
            ASSERT_EQ(along.boxes.size(), upright.boxes.size());
            for (std::size_t i = 0; i < along.boxes.size(); ++i) {
                const Point c = Centre(along.boxes[i]);
                const Box& up = upright.boxes[i];
                EXPECT_NEAR(Distance(Centre(up), c), 0, 1e-9);
                const Point lowLeft = {c.x - 1.5, c.y - 1};
                EXPECT_NEAR(Distance(up[0], lowLeft), 0, 1e-9);
                EXPECT_NEAR(Distance(up[2], lowLeft + Point{3, 2}), 0, 1e-9);
            }
        }
}

TEST(Layout, SequencesKeepTheirPhaseThroughAndRestartPerSide) {
    const ElementPath square = Polyline({{0, 0}, {20, 0}, {20, 20}, {0, 20}}, true);
    for (std::int32_t arrangement : {kArrangePerSide, kArrangeThrough}) {
        PatternRow row = Row(arrangement, kBaseBottom, 2, 2, 1);
        row.figureB = 32;  // "□": outlines, told apart from the filled A
        row.widthB = 1;
        row.heightB = 3;
        row.sequence = "AAB";
        const Drawn drawn = Lay(row, square);
        std::string seen;
        for (std::size_t i = 0; i < drawn.calls.size(); ++i) {
            if (drawn.calls[i].op == "quad") seen += 'A';
            if (drawn.calls[i].op == "line" && (i == 0 || drawn.calls[i - 1].op != "line"))
                seen += 'B';
        }
        // Seven fit a side of 20: widths 2 2 1 2 2 1 2 and six gaps of 1.
        const std::string side = "AABAABA";
        if (arrangement == kArrangePerSide) {
            EXPECT_EQ(seen, side + side + side + side);
        } else {
            ASSERT_GE(seen.size(), 9u);
            for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], "AAB"[i % 3]) << i;
        }
    }
}

TEST(Layout, GuidesBesideAVanishingFilletMeetAsAtASharpCorner) {
    // A line, an arc of radius 1 and a line; the band of height 3 lies inside.
    ElementPath path;
    path.elements = {LineElement({0, 0}, {20, 0}), ArcDeg({20, 1}, 1, -90, 90),
                     LineElement({21, 1}, {21, 20})};
    PatternRow row = Row(kArrangePerSide, kBaseBottom, 100, 3, 0);
    row.upperLine = kGuideFull;
    row.lowerLine = kGuideFull;
    for (std::int32_t arrangement : {kArrangePerSide, kArrangeThrough, kArrangeCorners}) {
        row.arrangement = arrangement;
        std::vector<std::vector<double>> inner;
        for (const auto& c : Lay(row, path).calls)
            if (c.op == "line" && (c.values[1] == 3 || c.values[0] == 18))
                inner.push_back(c.values);
        ASSERT_EQ(inner.size(), 2u);
        EXPECT_EQ((std::vector<double>{inner[0][2], inner[0][3]}), (std::vector<double>{18, 3}));
        EXPECT_EQ((std::vector<double>{inner[1][0], inner[1][1]}), (std::vector<double>{18, 3}));
    }
}

}  // namespace
}  // namespace tesra

namespace tesra {
namespace {

// One plan for either row kind: what it counts is what it draws, and when it
// cannot draw it draws nothing and names the reason a run's notice gives.
TEST(Layout, OnePlanCountsWhatItDrawsOrNamesWhyItRefuses) {
    PatternRow slope;
    slope.rowKind = kRowSlope;
    PatternRow denseSlope = slope;
    denseSlope.pitch = 1e-7;
    const PatternRow rule = Row(kArrangeThrough, kBaseBottom, 4, 3, 1);
    PatternRow denseRule = rule;
    denseRule.width = 1e-5;
    denseRule.interval = 0;
    const ElementPath top = Polyline({{0, 0}, {40, 0}, {70, 20}}, false);
    const ElementPath toe = Polyline({{0, -10}, {80, -10}}, false);
    const std::vector<ElementPath> both = {top, toe};
    const struct {
        const char* what;
        PatternRow row;
        bool splits;
        std::optional<Point> point;
        LayoutRefusal refusal;
    } cases[] = {
        {"rule", rule, false, std::nullopt, LayoutRefusal::None},
        {"rule between top and toe draws along both", rule, true, Point{1, 1}, LayoutRefusal::None},
        {"rule, too many", denseRule, false, std::nullopt, LayoutRefusal::TooManyFigures},
        {"slope, every path a top edge", slope, false, std::nullopt, LayoutRefusal::None},
        {"slope towards the toe", slope, true, Point{10, 1}, LayoutRefusal::None},
        {"slope, too many", denseSlope, false, std::nullopt, LayoutRefusal::TooManyTicks},
        {"slope, no point", slope, true, std::nullopt, LayoutRefusal::NoTopEdge},
        {"slope, point far off", slope, true, Point{10, 60}, LayoutRefusal::PointFarFromTop},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LayoutInputs in{c.row, {}, 1};
        in.splitsTopAndToe = c.splits;
        in.topPoint = c.point;
        const LayoutPlan plan = PlanLayout(in, both);
        EXPECT_EQ(plan.Refusal(), c.refusal);
        test::RecordingTarget out;
        plan.Draw(out);
        std::int64_t drawn = 0;
        for (const auto& call : out.calls)
            drawn += call.op == (c.row.rowKind == kRowSlope ? "line" : "quad");
        EXPECT_EQ(drawn, c.refusal == LayoutRefusal::None ? plan.FigureCount() : 0);
        EXPECT_EQ(drawn > 0, c.refusal == LayoutRefusal::None);
    }
}

}  // namespace
}  // namespace tesra
