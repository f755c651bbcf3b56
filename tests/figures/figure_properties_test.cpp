// Properties that every one of the 107 figure kinds must have.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "figures/figures.h"
#include "geom/helpers.h"
#include "test_support.h"

namespace tesra {
namespace {

// The filled kinds switch to a solid color here.
Calls DrawSolid(int kind, const FigureCell& cell) { return Draw(kind, cell, {true, 255}); }

// Cell coordinates of a drawing point.
Point ToCell(const FigureCell& cell, Point p) {
    const Point d = p - cell.O;
    return {d.x * cell.eu.x + d.y * cell.eu.y, d.x * cell.ev.x + d.y * cell.ev.y};
}

// Points along an ellipse arc: centre, semi-axis r along the tilted axis,
// flatness, running counter-clockwise from a1 to a2 (radians).
std::vector<Point> ArcPoints(Point c, double r, double f, double tilt, double a1, double a2) {
    while (a2 <= a1) a2 += kTwoPi;
    std::vector<Point> pts;
    for (int i = 0; i <= 64; ++i) {
        const double t = a1 + (a2 - a1) * i / 64;
        pts.push_back(EllipsePoint(c.x, c.y, r, f, tilt, t));
    }
    return pts;
}

// Every point a call puts on paper (arcs and solid arcs sampled).
std::vector<Point> PointsOf(const RecordingTarget::Call& call) {
    const auto& v = call.values;
    if (call.op == "line" || call.op == "tri" || call.op == "quad") {
        std::vector<Point> pts;
        for (std::size_t i = 0; i + 1 < v.size(); i += 2) pts.push_back({v[i], v[i + 1]});
        return pts;
    }
    if (call.op == "arc")
        return ArcPoints({v[0], v[1]}, v[2], v[5], v[6] * kDegToRad, v[3] * kDegToRad,
                         v[4] * kDegToRad);
    if (call.op == "sc") {
        const double end = v[0] == 100 ? v[7] : v[6] + v[7];  // code 5 sweeps angle2
        return ArcPoints({v[1], v[2]}, v[3], v[4], v[5], v[6], end);
    }
    if (call.op == "so") return ArcPoints({v[0], v[1]}, v[2], v[3], v[4], v[5], v[6]);
    return {};
}

class EveryKind : public ::testing::TestWithParam<int> {};

TEST_P(EveryKind, StaysInsideItsBoxWithFiniteNumbers) {
    // H below W / 2 keeps the three-point waves to less than half circles.
    const FigureCell cell = MakeCell(10, 4, 33, {7, -3});
    const Calls calls = DrawSolid(GetParam(), cell);
    EXPECT_FALSE(calls.empty());
    for (const auto& call : calls) {
        for (double x : call.values) EXPECT_TRUE(std::isfinite(x)) << call.op;
        for (Point p : PointsOf(call)) {
            const Point uv = ToCell(cell, p);
            EXPECT_GE(uv.x, -1e-9) << call.op;
            EXPECT_LE(uv.x, 10 + 1e-9) << call.op;
            EXPECT_GE(uv.y, -1e-9) << call.op;
            EXPECT_LE(uv.y, 4 + 1e-9) << call.op;
        }
    }
}

TEST_P(EveryKind, IsDeterministic) {
    const FigureCell cell = MakeCell(7.3, 2.9, 211.7, {-1e4, 3e3});
    const Calls a = DrawSolid(GetParam(), cell), b = DrawSolid(GetParam(), cell);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].op, b[i].op);
        EXPECT_EQ(a[i].values, b[i].values);
    }
}

// Every kind but 77 and 78, whose true circular arcs do not stretch.
class StretchingKind : public EveryKind {};

// Stretching the box along the span stretches u and nothing else.
TEST_P(StretchingKind, DoublingWidthDoublesU) {
    const int kind = GetParam();
    const FigureCell narrow = MakeCell(10, 4), wide = MakeCell(20, 4);
    const Calls a = DrawSolid(kind, narrow), b = DrawSolid(kind, wide);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto pa = PointsOf(a[i]), pb = PointsOf(b[i]);
        ASSERT_EQ(pa.size(), pb.size());
        for (std::size_t k = 0; k < pa.size(); ++k) {
            EXPECT_NEAR(2 * pa[k].x, pb[k].x, 1e-9) << a[i].op;
            EXPECT_NEAR(pa[k].y, pb[k].y, 1e-9) << a[i].op;
        }
    }
}

// A turned span gives the same figure turned with it.
TEST_P(EveryKind, TurnsWithTheSpan) {
    const FigureCell level = MakeCell(10, 6), turned = MakeCell(10, 6, 57, {40, -25});
    const Calls a = DrawSolid(GetParam(), level), b = DrawSolid(GetParam(), turned);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].op, b[i].op);
        const auto pa = PointsOf(a[i]), pb = PointsOf(b[i]);
        ASSERT_EQ(pa.size(), pb.size());
        for (std::size_t k = 0; k < pa.size(); ++k) {
            const Point expected = RotatePoint(pa[k].x, pa[k].y, 0, 0, 57 * kDegToRad) + turned.O;
            EXPECT_NEAR(expected.x, pb[k].x, 1e-9) << a[i].op;
            EXPECT_NEAR(expected.y, pb[k].y, 1e-9) << a[i].op;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, EveryKind, ::testing::Range(0, kFigureKindCount));
INSTANTIATE_TEST_SUITE_P(AllKinds, StretchingKind, ::testing::ValuesIn([] {
                             std::vector<int> kinds;
                             for (int kind = 0; kind < kFigureKindCount; ++kind)
                                 if (kind != 77 && kind != 78) kinds.push_back(kind);
                             return kinds;
                         }()),
                         ::testing::PrintToStringParamName());

using Segment = std::pair<std::pair<double, double>, std::pair<double, double>>;

std::set<Segment> SegmentSet(const Calls& calls) {
    std::set<Segment> set;
    for (const auto& c : calls) {
        std::pair<double, double> a{c.values[0], c.values[1]}, b{c.values[2], c.values[3]};
        set.insert(std::minmax(a, b));
    }
    return set;
}

TEST(FigureKinds, RepeatedDoubleSlashesDrawTheSameSegments) {
    const FigureCell cell = MakeCell(10, 6, 20, {1, 2});
    EXPECT_EQ(SegmentSet(DrawSolid(71, cell)), SegmentSet(DrawSolid(12, cell)));
    EXPECT_EQ(SegmentSet(DrawSolid(72, cell)), SegmentSet(DrawSolid(13, cell)));
    EXPECT_EQ(FigureName(71), FigureName(12));
    EXPECT_EQ(FigureName(72), FigureName(13));
}

TEST(FigureKinds, OutsideTheListDrawNothing) {
    for (int kind : {-5, -1, kFigureKindCount, 1000}) {
        EXPECT_TRUE(DrawSolid(kind, MakeCell(10, 6)).empty()) << kind;
        EXPECT_EQ(FigureName(kind), "");
    }
}

TEST(FigureKinds, ZeroWidthDrawsNothingWhereTheShapeDividesByIt) {
    for (int kind = 0; kind < kFigureKindCount; ++kind) {
        const Calls calls = DrawSolid(kind, MakeCell(0, 6));
        if (DividesByWidth(kind)) {
            EXPECT_TRUE(calls.empty()) << kind;
        }
        for (const auto& c : calls)
            for (double x : c.values) EXPECT_TRUE(std::isfinite(x)) << kind;
    }
}

TEST(FigureKinds, NamesMatchTheFigureList) {
    EXPECT_EQ(FigureName(0), "￣(上線)");
    EXPECT_EQ(FigureName(7), " ｜ ");
    EXPECT_EQ(FigureName(8), "|　|");
    EXPECT_EQ(FigureName(54), "◎(塗)");
    EXPECT_EQ(FigureName(kFigureKindCount - 1), "＼＼(塗)");
    std::set<std::string_view> distinct;
    for (int k = 0; k < kFigureKindCount; ++k) distinct.insert(FigureName(k));
    EXPECT_EQ(distinct.size(), 105u);
}

}  // namespace
}  // namespace tesra
