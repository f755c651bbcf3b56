// Kinds 63 to 86: hashes, asterisks, brackets, chevrons, waves and bows.
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
using test::ExpectCalls;

struct LinesCase {
    std::int32_t kind;
    std::vector<std::vector<double>> lines;  // x1, y1, x2, y2 with W = 10, H = 6
};

TEST(OutlineMarks, LineKindsDrawEachLineInOrderAndDirection) {
    const LinesCase cases[] = {
        {63, {{0, 1.5, 10, 1.5}, {0, 4.5, 10, 4.5}, {2.5, 6, 2.5, 0}, {7.5, 6, 7.5, 0}}},
        {65, {{10, 6, 0, 6}, {0, 6, 0, 0}, {0, 0, 10, 0}}},
        {66, {{0, 6, 10, 6}, {10, 6, 10, 0}, {10, 0, 0, 0}}},
        {67, {{10, 6, 0, 3}, {0, 3, 10, 0}}},
        {68, {{0, 6, 10, 3}, {10, 3, 0, 0}}},
        {69, {{5, 6, 0, 3}, {0, 3, 5, 0}, {10, 6, 5, 3}, {5, 3, 10, 0}}},
        {70, {{0, 6, 5, 3}, {5, 3, 0, 0}, {5, 6, 10, 3}, {10, 3, 5, 0}}},
        {71, {{5, 6, 0, 0}, {10, 6, 5, 0}}},
        {72, {{0, 6, 5, 0}, {5, 6, 10, 0}}},
        {73, {{0, 3, 2.5, 6}, {2.5, 6, 7.5, 0}, {7.5, 0, 10, 3}}},
        {74, {{0, 3, 2.5, 0}, {2.5, 0, 7.5, 6}, {7.5, 6, 10, 3}}},
    };
    for (const LinesCase& c : cases) {
        SCOPED_TRACE(c.kind);
        ExpectCalls(Draw(c.kind, MakeCell(10, 6)), "line", c.lines, 0.0);
    }
}

TEST(OutlineMarks, AsteriskJoinsOppositePointsOfTheInscribedEllipse) {
    ExpectCalls(Draw(64, MakeCell(10, 6)), "line",
                {{5, 6, 5, 0}, {0.6699, 4.5, 9.3301, 1.5}, {0.6699, 1.5, 9.3301, 4.5}}, 5e-5);
}

// The writer drops the collapsed upright line; the slanting ones lie on the
// base line and must still reach it.
TEST(OutlineMarks, FlatAsteriskKeepsItsSlantingLinesOnTheBase) {
    const Calls calls = Draw(64, MakeCell(10, 0));
    ASSERT_EQ(calls.size(), 3u);
    const std::vector<double>& upright = calls[0].values;
    EXPECT_TRUE(SamePoint(upright[0], upright[1], upright[2], upright[3]));
    for (std::size_t c = 1; c < 3; ++c) {
        EXPECT_NEAR(calls[c].values[1], 0, 1e-12);
        EXPECT_NEAR(calls[c].values[3], 0, 1e-12);
        EXPECT_GT(std::fabs(calls[c].values[2] - calls[c].values[0]), 8);
    }
}

TEST(OutlineMarks, EllipticWavesSpanHalfTheHeight) {
    ExpectCalls(Draw(75, MakeCell(10, 6)), "arc",
                {{2.5, 3, 2.5, 0, 180, 0.6, 0}, {7.5, 3, 2.5, 180, 0, 0.6, 0}}, 1e-12);
    ExpectCalls(Draw(76, MakeCell(10, 6)), "arc",
                {{2.5, 3, 2.5, 180, 0, 0.6, 0}, {7.5, 3, 2.5, 0, 180, 0.6, 0}}, 1e-12);
}

struct CircleWaveCase {
    std::int32_t kind;
    double w, h;
    std::vector<std::vector<double>> arcs;  // centre, radius, start, end, flatness, tilt
};

TEST(OutlineMarks, CircularWavesPassThroughThreeStretchedPoints) {
    const CircleWaveCase cases[] = {
        // clang-format off
        {77, 10, 6,
         {{2.5, 3.4583, 2.5417, 349.6111, 190.3889, 1, 0},
          {7.5, 2.5417, 2.5417, 169.6111, 10.3889, 1, 0}}},
        {78, 10, 6,
         {{2.5, 2.5417, 2.5417, 169.6111, 10.3889, 1, 0},
          {7.5, 3.4583, 2.5417, 349.6111, 190.3889, 1, 0}}},
        // Taller than half the width: each arc is more than a half circle.
        {77, 4, 9,
         {{1, 6.6389, 2.3611, 295.0576, 244.9424, 1, 0},
          {3, 2.3611, 2.3611, 115.0576, 64.9424, 1, 0}}},
        // clang-format on
    };
    for (const CircleWaveCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " " << c.w << "x" << c.h);
        ExpectCalls(Draw(c.kind, MakeCell(c.w, c.h)), "arc", c.arcs, 5e-5);
    }
}

// Their angles are drawing-frame angles: a turned span turns them too.
TEST(OutlineMarks, CircularWaveAnglesTurnWithTheSpan) {
    const FigureCell cell = MakeCell(10, 6, 30, {7, -3});
    const Point centre = cell.At(2.5, 3.4583333333333333);
    const Calls calls = Draw(77, cell);
    ASSERT_EQ(calls.size(), 2u);
    const std::vector<double>& a = calls[0].values;
    EXPECT_NEAR(a[0], centre.x, 1e-9);
    EXPECT_NEAR(a[1], centre.y, 1e-9);
    EXPECT_NEAR(a[2], 2.5416666666666667, 1e-9);
    EXPECT_NEAR(a[3], 19.6111, 5e-5);
    EXPECT_NEAR(a[4], 220.3889, 5e-5);
    EXPECT_EQ(a[5], 1);
    EXPECT_EQ(a[6], 0);
}

TEST(OutlineMarks, FlatCircularWavesHandOverNoRadius) {
    for (std::int32_t kind : {77, 78}) {
        for (const auto& call : Draw(kind, MakeCell(10, 0))) {
            EXPECT_EQ(call.op, "arc");
            EXPECT_LE(call.values[2], 1e-8) << kind;
        }
    }
}

TEST(OutlineMarks, BowsDrawTheirArcThenTheChord) {
    const Calls left = Draw(81, MakeCell(10, 6));
    ASSERT_EQ(left.size(), 2u);
    ExpectCall(left[0], "arc", {10, 3, 10, 90, 270, 0.3, 0}, 1e-12);
    ExpectCall(left[1], "line", {10, 6, 10, 0}, 0.0);

    const Calls up = Draw(79, MakeCell(10, 6));
    ASSERT_EQ(up.size(), 2u);
    ExpectCall(up[0], "arc", {5, 0, 5, 0, 180, 1.2, 0}, 1e-12);
    ExpectCall(up[1], "line", {0, 0, 10, 0}, 0.0);
}

// Every bow is closed (its arc ends where its chord ends) and bulges to the
// side its name gives, as far as the box allows: catches a wrong centre,
// flatness, direction or chord even in a turned, tall cell.
struct BowCase {
    std::int32_t kind;
    double peakU, peakV;  // in units of W and H
};

TEST(OutlineMarks, BowsAreClosedAndBulgeToTheirSide) {
    const BowCase cases[] = {
        // clang-format off
        {79, 0.5, 1}, {80, 0.5, 0}, {81, 0, 0.5},   {82, 1, 0.5},
        {83, 0.5, 1}, {84, 0.5, 0}, {85, 0, 0.5},   {86, 1, 0.5},
        // clang-format on
    };
    const FigureCell cell = MakeCell(4, 9, 30, {3, -2});
    for (const BowCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const Calls calls = Draw(c.kind, cell);
        ASSERT_EQ(calls.size(), 2u);
        const std::vector<double>& chord = calls[1].values;
        const test::ArcWay arc = test::ArcWayOf(calls[0].values);
        const Point from = arc.start, to = arc.end;
        const bool forwards = SamePoint(from.x, from.y, chord[2], chord[3]) &&
                              SamePoint(to.x, to.y, chord[0], chord[1]);
        const bool backwards = SamePoint(from.x, from.y, chord[0], chord[1]) &&
                               SamePoint(to.x, to.y, chord[2], chord[3]);
        EXPECT_TRUE(forwards || backwards);
        const Point peak = arc.middle;
        const Point want = cell.At(c.peakU * 4, c.peakV * 9);
        EXPECT_NEAR(peak.x, want.x, 1e-9);
        EXPECT_NEAR(peak.y, want.y, 1e-9);
    }
}

// Lines and cell arcs keep their cell coordinates on a turned span; only the
// arcs' tilt follows the span angle.
TEST(OutlineMarks, TurnedSpanKeepsCellCoordinates) {
    const FigureCell level = MakeCell(10, 6);
    const FigureCell turned = MakeCell(10, 6, 30, {7, -3});
    for (std::int32_t kind = 63; kind <= 86; ++kind) {
        if (kind == 77 || kind == 78) continue;  // drawing-frame arcs
        SCOPED_TRACE(kind);
        const Calls flat = Draw(kind, level);
        const Calls calls = Draw(kind, turned);
        ASSERT_EQ(calls.size(), flat.size());
        for (std::size_t c = 0; c < calls.size(); ++c) {
            const std::vector<double>& f = flat[c].values;
            const std::vector<double>& t = calls[c].values;
            ASSERT_EQ(calls[c].op, flat[c].op);
            const Point p = turned.At(f[0], f[1]);
            EXPECT_NEAR(t[0], p.x, 1e-9);
            EXPECT_NEAR(t[1], p.y, 1e-9);
            if (calls[c].op == "line") {
                const Point q = turned.At(f[2], f[3]);
                EXPECT_NEAR(t[2], q.x, 1e-9);
                EXPECT_NEAR(t[3], q.y, 1e-9);
            } else {
                EXPECT_EQ((std::vector<double>{t[2], t[3], t[4], t[5]}),
                          (std::vector<double>{f[2], f[3], f[4], f[5]}));
                EXPECT_EQ(t[6], 30);
            }
        }
    }
}

}  // namespace
}  // namespace tesra
