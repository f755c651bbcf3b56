// Kinds 20 to 48: triangles, squares, polygons and stars.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "figures/figures.h"
#include "geom/helpers.h"
#include "test_support.h"

namespace tesra {
namespace {

struct UV {
    double u, v;
};

// One expected call: its op and its points, in cell coordinates.
struct Element {
    std::string op;
    std::vector<UV> points;
};

struct KindCase {
    std::int32_t kind;
    std::vector<Element> elements;
};

std::vector<double> QuarterTurnValues(const std::vector<UV>& points) {
    std::vector<double> values;
    for (const UV& p : points) {
        values.push_back(100 - p.v);
        values.push_back(50 + p.u);
    }
    return values;
}

std::vector<Element> Outline(const std::vector<UV>& corners) {
    std::vector<Element> lines;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        lines.push_back({"line", {corners[i], corners[(i + 1) % corners.size()]}});
    }
    return lines;
}

std::vector<Element> Concat(std::vector<Element> a, const std::vector<Element>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// W = 10, H = 6.
const std::vector<UV> kSquare = {{0, 0}, {10, 0}, {10, 6}, {0, 6}};
const std::vector<UV> kDiamond = {{0, 3}, {5, 6}, {10, 3}, {5, 0}};
const std::vector<Element> kPlus = {{"line", {{0, 3}, {10, 3}}}, {"line", {{5, 0}, {5, 6}}}};
const std::vector<Element> kCross = {{"line", {{0, 0}, {10, 6}}}, {"line", {{0, 6}, {10, 0}}}};

const std::vector<KindCase> kStraightCases = {
    {20, Outline({{0, 0}, {5, 6}, {10, 0}})},
    {21, Outline({{0, 6}, {5, 0}, {10, 6}})},
    {22, Outline({{0, 0}, {10, 6}, {10, 0}})},
    {23, Outline({{0, 6}, {10, 0}, {10, 6}})},
    {24, Outline({{0, 0}, {0, 6}, {10, 0}})},
    {25, Outline({{0, 6}, {0, 0}, {10, 6}})},
    {26, {{"tri", {{0, 0}, {5, 6}, {10, 0}}}}},
    {27, {{"tri", {{0, 6}, {5, 0}, {10, 6}}}}},
    {28, {{"tri", {{0, 0}, {10, 6}, {10, 0}}}}},
    {29, {{"tri", {{0, 6}, {10, 0}, {10, 6}}}}},
    {30, {{"tri", {{0, 0}, {0, 6}, {10, 0}}}}},
    {31, {{"tri", {{0, 6}, {0, 0}, {10, 6}}}}},
    {32, Outline(kSquare)},
    {33, kPlus},
    {34, kCross},
    {35, Concat(Outline(kSquare), kPlus)},
    {36, Concat(Outline(kSquare), kCross)},
    {37, {{"quad", kSquare}}},
    {38, Outline(kDiamond)},
    {39, Concat(Outline(kDiamond), {{"line", {{0, 3}, {10, 3}}}, {"line", {{5, 6}, {5, 0}}}})},
    {40, {{"quad", kDiamond}}},
};

TEST(PolygonKinds, StraightKindsEmitTheirElementsInOrder) {
    for (const KindCase& c : kStraightCases) {
        SCOPED_TRACE(c.kind);
        const Calls out = Draw(c.kind, QuarterTurnCell());
        ASSERT_EQ(out.size(), c.elements.size());
        for (std::size_t i = 0; i < c.elements.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(out[i].op, c.elements[i].op);
            EXPECT_EQ(out[i].values, QuarterTurnValues(c.elements[i].points));
        }
    }
}

// Points of the ellipse kinds for O = (0, 0), eu along x, W = 10, H = 6,
// given to four decimals.
const std::vector<UV> kPentagon = {
    {5, 6}, {0.2447, 3.9271}, {2.0611, 0.5729}, {7.9389, 0.5729}, {9.7553, 3.9271}};
const std::vector<UV> kUprightHexagon = {{5, 6}, {0.6699, 4.5}, {0.6699, 1.5},
                                         {5, 0}, {9.3301, 1.5}, {9.3301, 4.5}};
const std::vector<UV> kLevelHexagon = {{10, 3}, {7.5, 5.5981}, {2.5, 5.5981},
                                       {0, 3},  {2.5, 0.4019}, {7.5, 0.4019}};
const std::vector<UV> kStarInner = {
    {3.5305, 4.2135}, {2.6224, 2.5365}, {5, 1.5}, {7.3776, 2.5365}, {6.4695, 4.2135}};

std::vector<UV> StarOutline() {
    std::vector<UV> points;
    for (std::size_t k = 0; k < 5; ++k) {
        points.push_back(kPentagon[k]);
        points.push_back(kStarInner[k]);
    }
    return points;
}

std::vector<Element> StarQuads() {
    std::vector<Element> quads;
    for (std::size_t k = 0; k < 5; ++k) {
        quads.push_back({"quad", {kPentagon[k], kStarInner[k], kPentagon[(k + 1) % 5], {5, 3}}});
    }
    return quads;
}

std::vector<Element> TwoQuads(const std::vector<UV>& v) {
    return {{"quad", {v[0], v[1], v[2], v[3]}}, {"quad", {v[3], v[4], v[5], v[0]}}};
}

const std::vector<KindCase> kEllipseCases = {
    {41, Outline(kPentagon)},
    {42,
     {{"quad", {kPentagon[0], kPentagon[1], kPentagon[2], kPentagon[3]}},
      {"tri", {kPentagon[3], kPentagon[4], kPentagon[0]}}}},
    {43, Outline(kUprightHexagon)},
    {44, Outline(kLevelHexagon)},
    {45, TwoQuads(kUprightHexagon)},
    {46, TwoQuads(kLevelHexagon)},
    {47, Outline(StarOutline())},
    {48, StarQuads()},
};

TEST(PolygonKinds, EllipseKindsPlaceTheirCornersOnTheInscribedEllipse) {
    for (const KindCase& c : kEllipseCases) {
        SCOPED_TRACE(c.kind);
        const Calls out = Draw(c.kind, MakeCell(10, 6, 0, {0, 0}));
        ASSERT_EQ(out.size(), c.elements.size());
        for (std::size_t i = 0; i < c.elements.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(out[i].op, c.elements[i].op);
            const std::vector<UV>& points = c.elements[i].points;
            ASSERT_EQ(out[i].values.size(), 2 * points.size());
            for (std::size_t p = 0; p < points.size(); ++p) {
                EXPECT_NEAR(out[i].values[2 * p], points[p].u, 1e-4);
                EXPECT_NEAR(out[i].values[2 * p + 1], points[p].v, 1e-4);
            }
        }
    }
}

// W = 4, H = 9 against W = 10, H = 6: u scales by 0.4, v by 1.5, so the
// figures stretch with the box rather than staying regular.
TEST(PolygonKinds, EveryKindStretchesWithItsBox) {
    for (std::int32_t kind = 20; kind <= 48; ++kind) {
        SCOPED_TRACE(kind);
        const Calls wide = Draw(kind, MakeCell(10, 6, 0, {0, 0}));
        const Calls tall = Draw(kind, MakeCell(4, 9, 0, {0, 0}));
        ASSERT_EQ(tall.size(), wide.size());
        for (std::size_t i = 0; i < wide.size(); ++i) {
            const std::vector<double>& w = wide[i].values;
            const std::vector<double>& t = tall[i].values;
            ASSERT_EQ(t.size(), w.size());
            for (std::size_t p = 0; p + 1 < w.size(); p += 2) {
                EXPECT_NEAR(t[p], 0.4 * w[p], 1e-12);
                EXPECT_NEAR(t[p + 1], 1.5 * w[p + 1], 1e-12);
            }
        }
    }
}

// The ellipse points take the span angle as their tilt: a figure on a
// slanted span is the level figure turned about the cell origin.
TEST(PolygonKinds, EveryKindTurnsWithItsSpan) {
    const Point origin{7, -4};
    for (const double angle : {37.0, 123.0, 270.0}) {
        for (std::int32_t kind = 20; kind <= 48; ++kind) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " angle " << angle);
            const Calls level = Draw(kind, MakeCell(10, 6, 0, {0, 0}));
            const Calls turned = Draw(kind, MakeCell(10, 6, angle, origin));
            ASSERT_EQ(turned.size(), level.size());
            for (std::size_t i = 0; i < level.size(); ++i) {
                const std::vector<double>& l = level[i].values;
                const std::vector<double>& t = turned[i].values;
                for (std::size_t p = 0; p + 1 < l.size(); p += 2) {
                    const Point expected =
                        origin + RotatePoint(l[p], l[p + 1], 0, 0, Radians(angle));
                    EXPECT_NEAR(t[p], expected.x, 1e-9);
                    EXPECT_NEAR(t[p + 1], expected.y, 1e-9);
                }
            }
        }
    }
}

struct FilledCase {
    std::int32_t kind;
    std::size_t solids;
};

const std::vector<FilledCase> kFilledCases = {
    {26, 1}, {27, 1}, {28, 1}, {29, 1}, {30, 1}, {31, 1},
    {37, 1}, {40, 1}, {42, 2}, {45, 2}, {46, 2}, {48, 5},
};

bool IsSolid(const RecordingTarget::Call& call) { return call.op == "tri" || call.op == "quad"; }

TEST(PolygonKinds, FilledKindsSwitchToTheSolidColorOnceBeforeTheirSolids) {
    const FigureCell cell = MakeCell(10, 6, 20, {3, 2});
    for (const FilledCase& c : kFilledCases) {
        SCOPED_TRACE(c.kind);
        const Calls on = Draw(c.kind, cell, {true, 0x123456});
        ASSERT_EQ(on.size(), c.solids + 1);
        EXPECT_EQ(on[0].op, "solidcolor");
        EXPECT_EQ(on[0].values, std::vector<double>{0x123456});
        for (std::size_t i = 1; i < on.size(); ++i) EXPECT_TRUE(IsSolid(on[i])) << i;

        const Calls off = Draw(c.kind, cell, {false, 0x123456});
        ASSERT_EQ(off.size(), c.solids);
        for (std::size_t i = 0; i < off.size(); ++i) {
            EXPECT_EQ(off[i].op, on[i + 1].op);
            EXPECT_EQ(off[i].values, on[i + 1].values);
        }
    }
}

bool IsFilledKind(std::int32_t kind) {
    for (const FilledCase& c : kFilledCases) {
        if (c.kind == kind) return true;
    }
    return false;
}

TEST(PolygonKinds, OutlinedKindsDrawOnlyLinesEvenWithTheSolidColorOn) {
    for (std::int32_t kind = 20; kind <= 48; ++kind) {
        if (IsFilledKind(kind)) continue;
        const Calls out = Draw(kind, MakeCell(10, 6, 0, {0, 0}), {true, 255});
        ASSERT_FALSE(out.empty()) << kind;
        for (const RecordingTarget::Call& call : out) EXPECT_EQ(call.op, "line") << kind;
    }
}

// The last pentagon and upright-hexagon corners are asked for at 378 and 390
// degrees, whose bits differ from 18 and 30 on this span.
TEST(PolygonKinds, LastCornerAnglesArePassedUnreduced) {
    const FigureCell cell = MakeCell(10, 6, 33, {1, 1});
    const struct {
        std::int32_t kind;
        double lastAngle;
        std::size_t lastSide;
    } cases[] = {{41, 378, 4}, {43, 390, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const Point unreduced =
            EllipsePointDeg(cell.C.x, cell.C.y, 5, 0.6, cell.thetaDeg, c.lastAngle);
        const Point reduced =
            EllipsePointDeg(cell.C.x, cell.C.y, 5, 0.6, cell.thetaDeg, c.lastAngle - 360);
        ASSERT_TRUE(unreduced.x != reduced.x || unreduced.y != reduced.y);
        const Calls out = Draw(c.kind, cell);
        ASSERT_GT(out.size(), c.lastSide);
        const std::vector<double>& side = out[c.lastSide].values;
        EXPECT_EQ(side[0], unreduced.x);
        EXPECT_EQ(side[1], unreduced.y);
    }
}

}  // namespace
}  // namespace tesra
