#pragma once
// Where an own figure's elements land under a cell's map, and the check that
// drawn shapes are those elements there: one model for the figure drawn into
// a cell and for a registered selection drawn back along a span. Shapes are
// compared as the points they draw, so that an ellipse found again under a
// stretch with other axes still compares; what the map must leave alone (a
// solid's code, angles at an equal scale) compares as it is, and at an equal
// scale the tilt turns with the span.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "figures/figure_cell.h"
#include "figures/own_figures.h"
#include "geom/helpers.h"
#include "test_support.h"

namespace tesra::test {

// An element as the host writes it: kind "line", "arc", "sl", "sc" or "so",
// values in the host's order, which is the order OwnElement keeps.
struct OwnShape {
    std::string kind;
    std::vector<double> values;
};

inline OwnShape ShapeOf(const OwnElement& el) {
    static constexpr const char* kKinds[] = {"line", "arc", "sl", "sc", "so"};  // Shape's order
    return {kKinds[static_cast<int>(el.shape)], {el.values.begin(), el.values.begin() + el.count}};
}

// The shapes among draw calls, pens and solid colors left out. A solid
// ellipse's call takes its code first; the host writes it last.
inline std::vector<OwnShape> ShapesOf(const Calls& calls) {
    std::vector<OwnShape> out;
    for (const auto& c : calls) {
        if (c.op == "linecolor" || c.op == "solidcolor") continue;
        OwnShape s{c.op == "tri" || c.op == "quad" ? "sl" : c.op, c.values};
        if (s.kind == "sc") std::rotate(s.values.begin(), s.values.begin() + 1, s.values.end());
        out.push_back(s);
    }
    return out;
}

// Where the figure's own units land: u = u0 + x·sx, v = v0 + y·sy in the cell.
struct OwnFigureMap {
    FigureCell cell;
    double sx = 1, sy = 1, u0 = 0, v0 = 0;

    Point operator()(Point p) const { return cell.At(u0 + p.x * sx, v0 + p.y * sy); }
    bool Mirrors() const { return sx * sy < 0; }
    // Alike both ways, the map only turns and scales an ellipse: its angles
    // along it stay the element's own.
    bool KeepsAngles() const { return sx == sy && sx > 0; }
};

// A shape as points in order along it; a whole ellipse's points may start
// anywhere on it, so for one of those its own centre, radius and axes count.
struct Curve {
    std::vector<Point> points;
    bool whole = false;
    Point centre;
    double r = 0, flatness = 1, tilt = 0;
};

inline constexpr int kCurveSamples = 8;

inline Curve EllipseCurve(Point c, double r, double flatness, double tilt, double start,
                          double sweep, bool whole) {
    Curve curve{{}, whole, c, r, flatness, tilt};
    for (int k = 0; k <= kCurveSamples; ++k)
        curve.points.push_back(
            EllipsePoint(c.x, c.y, r, flatness, tilt, start + sweep * k / kCurveSamples));
    return curve;
}

inline std::vector<Curve> CurvesOf(const OwnShape& s) {
    const auto& v = s.values;
    if (s.kind == "line" || s.kind == "sl") {
        Curve corners;
        for (std::size_t i = 0; i + 1 < v.size(); i += 2)
            corners.points.push_back({v[i], v[i + 1]});
        return {corners};
    }
    if (s.kind == "arc") {
        const double sweep = SweepDeg(v[3], v[4]);
        return {EllipseCurve({v[0], v[1]}, v[2], v[5], v[6] * kDegToRad, v[3] * kDegToRad,
                             sweep * kDegToRad, sweep == 360)};
    }
    if (s.kind == "sc") {
        const bool whole = v[7] == 100;
        return {EllipseCurve({v[0], v[1]}, v[2], v[3], v[4], whole ? 0 : v[5],
                             whole ? kTwoPi : v[6], whole)};
    }
    if (s.kind == "so")
        return {EllipseCurve({v[0], v[1]}, v[2], v[3], v[4], 0, kTwoPi, true),
                EllipseCurve({v[0], v[1]}, v[7], v[3], v[4], 0, kTwoPi, true)};
    return {};
}

// How far p lies off the whole ellipse, in the drawing's units.
inline double OffEllipse(const Curve& e, Point p) {
    const double dx = p.x - e.centre.x, dy = p.y - e.centre.y;
    const double c = std::cos(e.tilt), s = std::sin(e.tilt);
    const double x = (dx * c + dy * s) / e.r, y = (-dx * s + dy * c) / (e.r * e.flatness);
    return std::fabs(std::hypot(x, y) - 1) * e.r;
}

// Parts of ellipses run the other way under a mirroring map.
inline void ExpectCurveUnder(const OwnFigureMap& map, const Curve& want, const Curve& got,
                             bool reversed, double tol) {
    const auto& w = want.points;
    ASSERT_EQ(got.points.size(), w.size());
    for (std::size_t k = 0; k < w.size(); ++k) {
        const Point expected = map(w[k]);
        if (got.whole) {
            EXPECT_LT(OffEllipse(got, expected), tol) << k;
            continue;
        }
        const Point p = got.points[reversed ? w.size() - 1 - k : k];
        EXPECT_NEAR(p.x, expected.x, tol) << k;
        EXPECT_NEAR(p.y, expected.y, tol) << k;
    }
}

// The values of a shape that the map must leave as they are.
inline void ExpectKeptValues(const OwnFigureMap& map, const OwnShape& want, const OwnShape& got,
                             double tol) {
    if (want.kind == "sc") {
        EXPECT_EQ(got.values[7], want.values[7]) << "code";
    }
    if (!map.KeepsAngles() || want.kind == "line" || want.kind == "sl") return;
    const bool arc = want.kind == "arc";
    const std::size_t first = arc ? 3 : 5, tilt = arc ? 6 : 4;
    for (std::size_t k : {first, first + 1}) EXPECT_NEAR(got.values[k], want.values[k], tol) << k;
    // The tilt turns with the span, whichever way round its angle comes;
    // even a circle's, whose points would not show it.
    const double turn = arc ? kFullTurnDeg : kTwoPi;
    const double turned =
        got.values[tilt] - want.values[tilt] - (arc ? map.cell.thetaDeg : map.cell.theta);
    EXPECT_NEAR(std::remainder(turned, turn), 0, tol) << "tilt";
}

// Every drawn shape is the wanted one, in the figure's units, under the map,
// to tol: ordered points for lines, solids and parts of ellipses, points on
// the ellipse for whole ones.
inline void ExpectShapesUnder(const OwnFigureMap& map, const std::vector<OwnShape>& want,
                              const std::vector<OwnShape>& got, double tol) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(got[i].kind, want[i].kind);
        ASSERT_EQ(got[i].values.size(), want[i].values.size());
        const std::vector<Curve> wanted = CurvesOf(want[i]), drawn = CurvesOf(got[i]);
        ASSERT_EQ(drawn.size(), wanted.size());
        const bool reversed = map.Mirrors() && (want[i].kind == "arc" || want[i].kind == "sc");
        for (std::size_t j = 0; j < wanted.size(); ++j)
            ExpectCurveUnder(map, wanted[j], drawn[j], reversed, tol);
        ExpectKeptValues(map, want[i], got[i], tol);
    }
}

}  // namespace tesra::test
