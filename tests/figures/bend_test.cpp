// Figures bent along the path (曲げる), through the one layout entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "figures/bend.h"
#include "figures/layout.h"
#include "figures/span_placement.h"
#include "geom/helpers.h"
#include "geom/path.h"
#include "layout_checks.h"
#include "test_support.h"

namespace tesra {
namespace {

using layout::kBendTolerance;
using layout_checks::kFilledSquare;
using layout_checks::Meet;
using Polygon = std::vector<Point>;

constexpr std::int32_t kBoxAndCross = 36;  // "□＆×": the cell's edges and both diagonals
constexpr std::int32_t kTripleLine = 4;    // "三重線": three lines of constant height
constexpr std::int32_t kCircle = 49;       // "○"
constexpr std::int32_t kDisc = 51;         // "●"
constexpr std::int32_t kFilledRing = 54;   // "◎(塗)": the band between two circles
constexpr std::int32_t kFilledBow = 93;    // "弓塗1(上)": a solid half ellipse

PatternRow BentRow(std::int32_t kind, std::int32_t arrangement, std::int32_t base, double w,
                   double h, double interval) {
    PatternRow row = layout_checks::Row(arrangement, base, w, h, interval);
    row.figureKind = kind;
    row.bend = kBendAlong;
    return row;
}

test::Calls Calls(const PatternRow& row, const ElementPath& path) {
    test::RecordingTarget out;
    const ElementPath paths[] = {path};
    LayOutPaths(LayoutInputs{row, {}, 1}, paths, out);
    return out.calls;
}

std::vector<Polygon> Solids(const test::Calls& calls) {
    std::vector<Polygon> solids;
    for (const auto& c : calls) {
        if (c.op != "quad" && c.op != "tri") continue;
        Polygon p;
        for (std::size_t i = 0; i + 1 < c.values.size(); i += 2)
            p.push_back({c.values[i], c.values[i + 1]});
        solids.push_back(p);
    }
    return solids;
}

double Area(const Polygon& p) {
    double twice = 0;
    for (std::size_t i = 0; i < p.size(); ++i) twice += Cross(p[i], p[(i + 1) % p.size()]);
    return twice / 2;
}

// How far a point lies from the path: from the nearest line or arc.
double DistanceToPath(const ElementPath& path, Point p) {
    double best = 1e300;
    for (const PathElement& e : path.elements) {
        double d = std::min(Distance(p, e.a), Distance(p, e.b));
        if (e.shape == PathElement::Shape::Line) {
            const Point t = e.b - e.a;
            const double k = Dot(p - e.a, t) / Dot(t, t);
            if (k > 0 && k < 1) d = std::fabs(Cross(Unit(t), p - e.a));
        } else {
            const double turned = VectorAngle(p.x - e.centre.x, p.y - e.centre.y) - e.startRad;
            const double into = e.sweepRad > 0 ? std::remainder(turned - kPi, kTwoPi) + kPi
                                               : std::remainder(-turned - kPi, kTwoPi) + kPi;
            if (into < std::fabs(e.sweepRad)) d = std::fabs(Distance(p, e.centre) - e.radius);
        }
        best = std::min(best, d);
    }
    return best;
}

ElementPath LineArcLine() {
    // 30 straight, a tangent arc of radius 20 turning left by 1.5 rad, 30.5 straight.
    ElementPath path;
    path.elements.push_back(LineElement({-30, 0}, {0, 0}));
    path.elements.push_back(ArcElement({0, 20}, 20, -kPi / 2, 1.5));
    const Point end = path.elements.back().b, t = EndTangent(path.elements.back());
    path.elements.push_back(LineElement(end, end + 30.5 * t));
    return path;
}

// Sides of 12 turning left by 10° at every joint: one smooth run.
ElementPath TurningSides() {
    std::vector<Point> points{{0, 0}};
    for (int k = 0; k < 6; ++k)
        points.push_back(points.back() +
                         12 * Point{std::cos(Radians(10.0 * k)), std::sin(Radians(10.0 * k))});
    return layout_checks::Polyline(points, false);
}

ElementPath OnlyArc(double r, double sweep) {
    return {{ArcElement({5, -3}, r, 0.25, sweep)}, false};
}

// Bent boxes laid with interval 0 tile the band: no two pieces overlap, every
// corner stays at the band's lower or upper height from the path, every edge
// along the band strays from it by at most the tolerance, and the
// only edges across the band that no neighbour shares are the two ends: the
// boxes meet edge to edge, across the line–arc joints too.
TEST(Bend, BoxesWithIntervalZeroTileTheBandEdgeToEdge) {
    struct Case {
        const char* name;
        ElementPath path;
        std::int32_t arrangement, base;
        double w, h;
        bool sheared = false;  // a path of joints turning by 10°
    };
    const Case cases[] = {
        {"line, tangent arc, line; 通し", LineArcLine(), kArrangeThrough, kBaseBottom, 10, 4},
        {"the same, band below the path", LineArcLine(), kArrangeThrough, kBaseTop, 10, 6},
        {"a clockwise arc; 辺ごと", OnlyArc(25, -1.2), kArrangePerSide, kBaseTop, 7, 5},
        {"a tight arc; 通し", OnlyArc(6, 2.5), kArrangeThrough, kBaseBottom, 3, 2.5},
        {"sides turning 10° at each joint; 通し", TurningSides(), kArrangeThrough, kBaseBottom, 5,
         3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PatternRow row = BentRow(kFilledSquare, c.arrangement, c.base, c.w, c.h, 0);
        const std::vector<Polygon> pieces = Solids(Calls(row, c.path));
        ASSERT_FALSE(pieces.empty());
        const double off = BandOffset(c.base, c.h);
        std::map<std::pair<double, double>, int> across;  // edges across the band, by middle
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            for (std::size_t j = i + 1; j < pieces.size(); ++j)
                EXPECT_FALSE(Meet(pieces[i], pieces[j])) << "pieces " << i << " and " << j;
            const Polygon& p = pieces[i];
            EXPECT_GT(Area(p), 0) << "piece " << i << " keeps its turn";
            for (std::size_t k = 0; k < p.size(); ++k) {
                const double d = DistanceToPath(c.path, p[k]);
                // Across a joint turning by τ the shear moves a point mostly along the
                // path: off its height by at most the step's part across it, h·(1 − cos τ).
                const double slack = c.sheared ? c.h * (1 - std::cos(Radians(10))) : 1e-9;
                EXPECT_TRUE(std::fabs(d - off) < slack ||
                            std::fabs(d - std::fabs(c.h - off)) < slack)
                    << "corner " << k << " of piece " << i << " at " << d;
                const Point q = p[(k + 1) % p.size()];
                const Point mid = 0.5 * (p[k] + q);
                if (std::fabs(DistanceToPath(c.path, q) - d) < slack) {
                    if (c.sheared) continue;
                    EXPECT_LE(std::fabs(DistanceToPath(c.path, mid) - d), kBendTolerance)
                        << "an edge along the band follows it";
                    continue;
                }
                ++across[{std::round(mid.x * 1e6), std::round(mid.y * 1e6)}];
            }
        }
        const auto unshared = std::count_if(across.begin(), across.end(),
                                            [](const auto& edge) { return edge.second == 1; });
        EXPECT_EQ(unshared, 2) << "only the band's two ends stand alone";
        // The bound of a run counts every piece a bent figure may become.
        const ElementPath paths[] = {c.path};
        EXPECT_LE(static_cast<std::int64_t>(pieces.size()),
                  LayoutFigureCount(LayoutInputs{row, {}, 1}, paths));
    }
}

// On an arc of radius R a point at height v of the band lands at R − (v − off)
// from the centre (counter-clockwise; R + (v − off) clockwise): a line of
// constant height becomes a concentric arc, any other line chords that stray
// from their curve (r linear in the angle) by at most the tolerance.
TEST(Bend, OnAnArcEveryPointKeepsItsHeightWithinTheTolerance) {
    struct Case {
        double r, sweep;
        std::int32_t kind, base;
        double w, h;
    };
    const Case cases[] = {
        {40, 2.0, kBoxAndCross, kBaseBottom, 10, 5},
        {40, -2.0, kBoxAndCross, kBaseTop, 10, 5},
        {8, 4.0, kBoxAndCross, kBaseMiddle, 6, 4},
        {8, -4.0, kTripleLine, kBaseMiddle, 6, 4},
        {300, 0.5, kBoxAndCross, kBaseBottom, 30, 12},
        {5, 5.0, 18, kBaseBottom, 4, 3},
        {6, 4.0, kDisc, kBaseMiddle, 4, 4},
        {6, -4.0, kFilledRing, kBaseBottom, 4, 4},
        {30, 2.0, kFilledBow, kBaseTop, 12, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "R " << c.r << " sweep " << c.sweep << " kind " << c.kind);
        const ElementPath path = OnlyArc(c.r, c.sweep);
        const Point centre = path.elements[0].centre;
        const double off = BandOffset(c.base, c.h), sigma = c.sweep > 0 ? 1 : -1;
        const double inner = c.r - sigma * (0 - off), outer = c.r - sigma * (c.h - off);
        const double lo = std::min(inner, outer) - kBendTolerance;
        const double hi = std::max(inner, outer) + kBendTolerance;
        const test::Calls calls =
            Calls(BentRow(c.kind, kArrangeThrough, c.base, c.w, c.h, 1), path);
        int checked = 0;
        for (const auto& call : calls) {
            const auto& v = call.values;
            checked += call.op == "arc" || call.op == "line" || call.op == "quad";
            // Filled figures are bent as solids within the band, never
            // placed whole as an ellipse or a ring.
            EXPECT_TRUE(call.op != "sc" && call.op != "so") << call.op;
            if (call.op == "tri" || call.op == "quad")
                for (std::size_t i = 0; i + 1 < v.size(); i += 2) {
                    const double r = Distance({v[i], v[i + 1]}, centre);
                    EXPECT_TRUE(r >= lo && r <= hi) << call.op << " corner at " << r;
                }
            if (call.op == "arc") {
                EXPECT_LT(Distance({v[0], v[1]}, centre), 1e-9) << "concentric";
                EXPECT_TRUE(std::fabs(v[2] - inner) < 1e-9 || std::fabs(v[2] - outer) < 1e-9 ||
                            std::fabs(v[2] - (inner + outer) / 2) < 1e-9)
                    << v[2];
            }
            if (call.op != "line") continue;
            const Point a{v[0], v[1]}, b{v[2], v[3]};
            const double ra = Distance(a, centre), rb = Distance(b, centre);
            EXPECT_TRUE(ra >= lo && ra <= hi && rb >= lo && rb <= hi) << ra << " " << rb;
            const double fa = VectorAngle(a.x - centre.x, a.y - centre.y);
            const double turn =
                std::remainder(VectorAngle(b.x - centre.x, b.y - centre.y) - fa, kTwoPi);
            if (std::fabs(turn) < 1e-12) continue;  // radial: straight in the band too
            const double slope = (rb - ra) / ((ra + rb) / 2 * turn);
            for (double t : {0.25, 0.5, 0.75}) {
                const Point p = a + t * (b - a);
                const double f =
                    std::remainder(VectorAngle(p.x - centre.x, p.y - centre.y) - fa, kTwoPi);
                const double onCurve = ra + (rb - ra) * f / turn;
                EXPECT_LE(std::fabs(Distance(p, centre) - onCurve) / std::hypot(1, slope),
                          kBendTolerance);
            }
        }
        EXPECT_GT(checked, 0);
    }
}

// A figure wholly on one line element is drawn as a rigid one, to the bit,
// in every arrangement; straight paths count as many figures as before.
TEST(Bend, OnLinesBentIsRigidByteForByte) {
    const ElementPath paths[] = {
        layout_checks::Polyline({{0, 0}, {100, 0}, {100, 60}, {20, 90}}, false),
        layout_checks::Polyline({{0, 0}, {80, 0}, {80, 50}, {0, 50}}, true),
    };
    for (std::int32_t arrangement : {kArrangePerSide, kArrangeThrough, kArrangeCorners})
        for (std::int32_t kind : {kBoxAndCross, kFilledSquare, kCircle, kDisc, kFilledBow})
            for (const ElementPath& path : paths) {
                SCOPED_TRACE(testing::Message()
                             << "arrangement " << arrangement << " kind " << kind);
                PatternRow row = BentRow(kind, arrangement, kBaseMiddle, 7, 4, 2);
                row.upperLine = kGuideFull;
                const ElementPath one[] = {path};
                const test::Calls bent = Calls(row, path);
                const std::int64_t bentCount = LayoutFigureCount(LayoutInputs{row, {}, 1}, one);
                row.bend = kBendRigid;
                const test::Calls rigid = Calls(row, path);
                ASSERT_EQ(bent.size(), rigid.size());
                for (std::size_t i = 0; i < bent.size(); ++i) {
                    EXPECT_EQ(bent[i].op, rigid[i].op);
                    EXPECT_EQ(bent[i].values, rigid[i].values) << "call " << i;
                }
                EXPECT_EQ(bentCount, LayoutFigureCount(LayoutInputs{row, {}, 1}, one));
            }
}

}  // namespace
}  // namespace tesra
