// Kinds 49 to 62: circles and semicircles.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "figures/call_checks.h"
#include "figures/figures.h"
#include "geom/helpers.h"
#include "test_support.h"

namespace tesra {
namespace {

using test::ExpectCall;

struct ArcCase {
    std::int32_t kind;
    double w, h;
    double cx, cy, r, start, end, flatness;
};

TEST(CircleKinds, OutlinesStretchToTheBox) {
    const ArcCase cases[] = {
        {49, 10, 6, 5, 3, 5, 0, 360, 0.6},   {50, 10, 6, 5, 3, 2.5, 0, 360, 0.6},
        {55, 10, 6, 5, 0, 5, 0, 180, 1.2},   {57, 10, 6, 10, 3, 10, 90, 270, 0.3},
        {49, 4, 9, 2, 4.5, 2, 0, 360, 2.25}, {57, 4, 9, 4, 4.5, 4, 90, 270, 1.125},
    };
    for (const ArcCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const Calls calls = Draw(c.kind, MakeCell(c.w, c.h));
        ASSERT_EQ(calls.size(), 1u);
        ExpectCall(calls[0], "arc", {c.cx, c.cy, c.r, c.start, c.end, c.flatness, 0}, 1e-12);
    }
}

TEST(CircleKinds, DoubleCircleDrawsOuterThenInner) {
    const Calls calls = Draw(53, MakeCell(10, 6));
    ASSERT_EQ(calls.size(), 2u);
    ExpectCall(calls[0], "arc", {5, 3, 5, 0, 360, 0.6, 0}, 1e-12);
    ExpectCall(calls[1], "arc", {5, 3, 2.5, 0, 360, 0.6, 0}, 1e-12);
}

struct SolidCase {
    std::int32_t kind;
    const char* op;
    std::vector<double> values;
};

TEST(CircleKinds, FilledKindsTakeTheSolidColorOnlyWhenSwitchedOn) {
    const double turn = kTwoPi;
    const SolidCase cases[] = {
        {51, "sc", {100, 5, 3, 5, 0.6, 0, 0, turn}},
        {52, "sc", {100, 5, 3, 2.5, 0.6, 0, 0, turn}},
        {54, "so", {5, 3, 5, 0.6, 0, 0, turn, 2.5}},
    };
    for (const SolidCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const Calls plain = Draw(c.kind, MakeCell(10, 6), {false, 0x123456});
        ASSERT_EQ(plain.size(), 1u);
        ExpectCall(plain[0], c.op, c.values, 1e-12);

        const Calls colored = Draw(c.kind, MakeCell(10, 6), {true, 0x123456});
        ASSERT_EQ(colored.size(), 2u);
        ExpectCall(colored[0], "solidcolor", {0x123456}, 1e-12);
        ExpectCall(colored[1], c.op, c.values, 1e-12);
    }
}

// Arcs take the span angle in degrees, solids in radians; the centres keep
// their cell coordinates whatever the angle.
TEST(CircleKinds, SpanAngleTiltsEveryElementInItsOwnUnit) {
    const FigureCell cell = MakeCell(10, 6, 30, {7, -3});
    const Point centre = cell.At(5, 3);
    int solids = 0;
    for (std::int32_t kind = 49; kind <= 62; ++kind) {
        SCOPED_TRACE(kind);
        for (const auto& call : Draw(kind, cell, {true, 1})) {
            if (call.op == "arc") {
                EXPECT_NEAR(call.values[6], 30, 1e-12);
            } else if (call.op == "sc") {
                ++solids;
                EXPECT_NEAR(call.values[5], 0.5236, 5e-5);
                EXPECT_NEAR(call.values[1], centre.x, 1e-12);
                EXPECT_NEAR(call.values[2], centre.y, 1e-12);
            } else if (call.op == "so") {
                ++solids;
                EXPECT_NEAR(call.values[4], 0.5236, 5e-5);
                EXPECT_NEAR(call.values[0], centre.x, 1e-12);
                EXPECT_NEAR(call.values[1], centre.y, 1e-12);
            }
        }
    }
    EXPECT_EQ(solids, 3);
}

// Where each semicircle begins, peaks and ends in the box, traced on the
// emitted ellipse: catches a swapped start and end or a wrong flatness even
// in a tilted, tall cell.
struct CurveCase {
    std::int32_t kind;
    double u[3], v[3];  // in units of W and H: start, middle, end
};

TEST(CircleKinds, SemicirclesRunThroughTheirBoxPoints) {
    const CurveCase cases[] = {
        {55, {1, 0.5, 0}, {0, 1, 0}},     {56, {0, 0.5, 1}, {1, 0, 1}},
        {57, {1, 0, 1}, {1, 0.5, 0}},     {58, {0, 1, 0}, {0, 0.5, 1}},
        {59, {1, 0.5, 0}, {0.5, 1, 0.5}}, {60, {0, 0.5, 1}, {0.5, 0, 0.5}},
        {61, {0.5, 0, 0.5}, {1, 0.5, 0}}, {62, {0.5, 1, 0.5}, {0, 0.5, 1}},
    };
    const FigureCell cell = MakeCell(4, 9, 30, {3, -2});
    for (const CurveCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const Calls calls = Draw(c.kind, cell);
        ASSERT_EQ(calls.size(), 1u);
        const test::ArcWay way = test::ArcWayOf(calls[0].values);
        const Point drawn[3] = {way.start, way.middle, way.end};
        for (int i = 0; i < 3; ++i) {
            const Point want = cell.At(c.u[i] * 4, c.v[i] * 9);
            EXPECT_NEAR(drawn[i].x, want.x, 1e-9) << "point " << i;
            EXPECT_NEAR(drawn[i].y, want.y, 1e-9) << "point " << i;
        }
    }
}

}  // namespace
}  // namespace tesra
