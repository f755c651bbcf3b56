// The user's own figures drawn into a cell: every element lands where the
// cell's map puts it, whole, turned, stretched, mirrored or fitted.
#include "figures/own_figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "geom/helpers.h"
#include "test_support.h"

namespace tesra {
namespace {

using Shape = OwnElement::Shape;
using test::Calls;
using test::MakeCell;

constexpr double kPiD = std::numbers::pi;
constexpr int kSamples = 8;

OwnElement El(Shape shape, std::int32_t color, std::vector<double> v) {
    OwnElement el{shape, color, static_cast<std::int32_t>(v.size()), {}};
    for (std::size_t i = 0; i < v.size(); ++i) el.values[i] = v[i];
    return el;
}

// Every shape, arcs tilted and flattened, in a box of 20 x 8 from (0, 0).
OwnFigureSet SampleSet() {
    OwnFigure f{107, "sample", 20, 8, {}};
    f.elements = {
        El(Shape::Line, 3, {0, 0, 20, 8}),
        El(Shape::Arc, 4, {10, 4, 4, 0, 360, 1, 0}),
        El(Shape::Arc, 5, {6, 3, 3, 20, 250, 0.5, 30}),
        El(Shape::Arc, 5, {14, 3, 2, 300, 45, 1, 0}),
        El(Shape::SolidPolygon, 0x0000FF, {0, 0, 4, 0, 2, 3}),
        El(Shape::SolidPolygon, 0x00FF00, {16, 0, 20, 0, 20, 2, 16, 2}),
        El(Shape::Line, 10, {0, 8, 20, 0}),
        El(Shape::SolidEllipse, 0xFF0000, {10, 6, 2, 0.5, 0.3, 0, 2 * kPiD, 100}),
        El(Shape::SolidEllipse, 0xFF0000, {5, 6, 1.5, 1, 0.2, 0.5, kPiD, 5}),
        El(Shape::SolidRing, 0x123456, {15, 6, 1.5, 0.8, 1.0, 0, 2 * kPiD, 0.75}),
    };
    return {{f}, 108};
}

// A shape as a draw call would give it, from either side: the element in
// the figure's units or what was drawn.
struct Curve {
    std::vector<Point> points;  // in order along the shape
    bool whole = false;         // a whole ellipse: its points may start anywhere on it
    Point centre;
    double r = 0, flatness = 1, tilt = 0;  // of a whole ellipse
};

double SweepDeg(double s, double e) {
    const double sweep = std::fmod(e - s, 360.0);
    return sweep <= 0 ? sweep + 360 : sweep;
}

Curve Ellipse(Point c, double r, double f, double tilt, double start, double sweep, bool whole) {
    Curve curve{{}, whole, c, r, f, tilt};
    for (int k = 0; k <= kSamples; ++k)
        curve.points.push_back(EllipsePoint(c.x, c.y, r, f, tilt, start + sweep * k / kSamples));
    return curve;
}

std::vector<Curve> CurvesOf(const test::RecordingTarget::Call& c) {
    const auto& v = c.values;
    const double deg = kPiD / 180;
    const auto corners = [&v](std::size_t n) {
        Curve curve;
        for (std::size_t i = 0; i < n; ++i) curve.points.push_back({v[2 * i], v[2 * i + 1]});
        return std::vector<Curve>{curve};
    };
    if (c.op == "line") return corners(2);
    if (c.op == "tri") return corners(3);
    if (c.op == "quad") return corners(4);
    if (c.op == "arc") {
        const double sweep = SweepDeg(v[3], v[4]);
        return {
            Ellipse({v[0], v[1]}, v[2], v[5], v[6] * deg, v[3] * deg, sweep * deg, sweep == 360)};
    }
    if (c.op == "sc") {
        const bool whole = v[0] == 100;
        return {Ellipse({v[1], v[2]}, v[3], v[4], v[5], whole ? 0 : v[6], whole ? 2 * kPiD : v[7],
                        whole)};
    }
    if (c.op == "so")
        return {Ellipse({v[0], v[1]}, v[2], v[3], v[4], 0, 2 * kPiD, true),
                Ellipse({v[0], v[1]}, v[7], v[3], v[4], 0, 2 * kPiD, true)};
    return {};
}

// The element as the call it would be in its own units.
test::RecordingTarget::Call CallOf(const OwnElement& el) {
    std::vector<double> v(el.values.begin(), el.values.begin() + el.count);
    switch (el.shape) {
        case Shape::Line: return {"line", v};
        case Shape::Arc: return {"arc", v};
        case Shape::SolidPolygon: return {el.count == 6 ? "tri" : "quad", v};
        case Shape::SolidEllipse: {
            const double code = v.back();
            v.pop_back();
            v.insert(v.begin(), code);
            return {"sc", v};
        }
        case Shape::SolidRing: return {"so", v};
    }
    return {};
}

double OffEllipse(const Curve& e, Point p) {
    const double dx = p.x - e.centre.x, dy = p.y - e.centre.y;
    const double c = std::cos(e.tilt), s = std::sin(e.tilt);
    const double x = (dx * c + dy * s) / e.r, y = (-dx * s + dy * c) / (e.r * e.flatness);
    return std::fabs(std::hypot(x, y) - 1) * e.r;
}

struct Map {
    FigureCell cell;
    double sx, sy, u0, v0;
    Point operator()(Point p) const { return cell.At(u0 + p.x * sx, v0 + p.y * sy); }
};

// Every drawn shape is the element's shape under the map, to 1e-9 of the
// drawing's size: ordered points for lines, solids and parts of ellipses
// (reversed when the map mirrors), points on the ellipse for whole ones.
void ExpectDrawnUnder(const Map& map, const Calls& drawn, double size) {
    const OwnFigureSet set = SampleSet();
    const OwnFigure& f = set.figures[0];
    std::vector<test::RecordingTarget::Call> shapes;
    for (const auto& c : drawn)
        if (c.op != "linecolor" && c.op != "solidcolor") shapes.push_back(c);
    ASSERT_EQ(shapes.size(), f.elements.size());
    const bool mirrored = map.sx * map.sy < 0;
    const double tol = 1e-9 * size;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        SCOPED_TRACE(i);
        const std::vector<Curve> want = CurvesOf(CallOf(f.elements[i]));
        const std::vector<Curve> got = CurvesOf(shapes[i]);
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t j = 0; j < want.size(); ++j) {
            const auto& w = want[j].points;
            const auto& g = got[j].points;
            ASSERT_EQ(g.size(), w.size());
            for (std::size_t k = 0; k < w.size(); ++k) {
                const Point expected = map(w[k]);
                if (got[j].whole) {
                    EXPECT_LT(OffEllipse(got[j], expected), tol) << k;
                    continue;
                }
                const bool arc = shapes[i].op == "arc" || shapes[i].op == "sc";
                const Point p = g[arc && mirrored ? w.size() - 1 - k : k];
                EXPECT_NEAR(p.x, expected.x, tol) << k;
                EXPECT_NEAR(p.y, expected.y, tol) << k;
            }
        }
    }
}

Calls DrawSample(const FigureCell& cell, PatternRow row = {}, SolidStyle solid = {}) {
    test::RecordingTarget out;
    DrawOwnFigure(SampleSet(), 107, cell, row, solid, 1, out);
    return out.calls;
}

TEST(OwnFigures, DrawnInItsOwnBoxReproducesEveryElementWhereTheCellIs) {
    const struct {
        double thetaDeg;
        Point origin;
    } spans[] = {
        {0, {0, 0}}, {0, {-3000.5, 1200.25}}, {33, {500, -200}}, {90, {1e5, 1e5}}, {-145, {-7, 3}}};
    for (const auto& s : spans) {
        SCOPED_TRACE(s.thetaDeg);
        const FigureCell cell = MakeCell(20, 8, s.thetaDeg, s.origin);
        ExpectDrawnUnder({cell, 1, 1, 0, 0}, DrawSample(cell),
                         std::max(20.0, std::hypot(s.origin.x, s.origin.y)));
    }
}

TEST(OwnFigures, AtTheOriginTheElementsComeBackToTheBit) {
    const Calls calls = DrawSample(MakeCell(20, 8));
    const OwnFigureSet set = SampleSet();
    const OwnFigure& f = set.figures[0];
    std::size_t i = 0;
    for (const auto& c : calls) {
        if (c.op == "linecolor" || c.op == "solidcolor") continue;
        EXPECT_EQ(c.values, CallOf(f.elements[i]).values) << i;
        ++i;
    }
}

TEST(OwnFigures, StretchedMirroredAndFittedShapesFollowTheCellsMap) {
    PatternRow uniform;
    uniform.fit = kFitUniform;
    const struct {
        const char* name;
        double w, h, thetaDeg;
        PatternRow row;
        Map map;  // cell filled in below
    } cases[] = {
        {"wider", 40, 8, 0, {}, {{}, 2, 1, 0, 0}},
        {"stretched and turned", 10, 24, 120, {}, {{}, 0.5, 3, 0, 0}},
        {"mirrored along u", -20, 8, 30, {}, {{}, -1, 1, 0, 0}},
        {"mirrored along v", 20, -16, 200, {}, {{}, 1, -2, 0, 0}},
        {"fitted in a wide box", 60, 8, 15, uniform, {{}, 1, 1, 20, 0}},
        {"fitted in a tall box", 10, 40, 0, uniform, {{}, 0.5, 0.5, 0, 18}},
        {"stretched in a box at equal scale", 40, 16, 70, {}, {{}, 2, 2, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Map map = c.map;
        map.cell = MakeCell(c.w, c.h, c.thetaDeg, {12, -5});
        ExpectDrawnUnder(map, DrawSample(map.cell, c.row), 100);
    }
}

// Which pens and solid colors a figure writes, as (op, value) in order.
std::vector<std::pair<std::string, double>> Colors(const Calls& calls) {
    std::vector<std::pair<std::string, double>> out;
    for (const auto& c : calls)
        if (c.op == "linecolor" || c.op == "solidcolor") out.push_back({c.op, c.values[0]});
    return out;
}

TEST(OwnFigures, PensAndSolidColors) {
    using C = std::vector<std::pair<std::string, double>>;
    PatternRow own;
    own.elementColors = 1;
    const SolidStyle rowSolid{true, 0xABCDEF};
    const struct {
        const char* name;
        PatternRow row;
        SolidStyle solid;
        C colors;
    } cases[] = {
        // The pen in force, taken up again only after a solid.
        {"current pen",
         {},
         {},
         C{{"solidcolor", 0x0000FF},
           {"solidcolor", 0x00FF00},
           {"linecolor", 1},
           {"solidcolor", 0xFF0000},
           {"solidcolor", 0xFF0000},
           {"solidcolor", 0x123456},
           {"linecolor", 1}}},
        {"row's solid color",
         {},
         rowSolid,
         C{{"solidcolor", 0xABCDEF},
           {"solidcolor", 0xABCDEF},
           {"linecolor", 1},
           {"solidcolor", 0xABCDEF},
           {"solidcolor", 0xABCDEF},
           {"solidcolor", 0xABCDEF},
           {"linecolor", 1}}},
        {"each element's pen",
         own,
         {},
         C{{"linecolor", 3},
           {"linecolor", 4},
           {"linecolor", 5},
           {"linecolor", 5},
           {"solidcolor", 0x0000FF},
           {"solidcolor", 0x00FF00},
           {"linecolor", 1},  // pen 10: the pen in force
           {"solidcolor", 0xFF0000},
           {"solidcolor", 0xFF0000},
           {"solidcolor", 0x123456},
           {"linecolor", 1}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Colors(DrawSample(MakeCell(20, 8), c.row, c.solid)), c.colors) << c.name;
}

TEST(OwnFigures, UnknownKindsDrawNothing) {
    for (std::int32_t kind : {0, 106, 108, -1, kLastOwnFigureKind}) {
        test::RecordingTarget out;
        DrawOwnFigure(SampleSet(), kind, MakeCell(20, 8), {}, {true, 5}, 1, out);
        EXPECT_TRUE(out.calls.empty()) << kind;
    }
}

// The box is where the elements reach, arcs by their true extent.
TEST(OwnFigures, ExtentTakesArcsByTheirReach) {
    const struct {
        const char* name;
        OwnElement el;
        Extent box;
    } cases[] = {
        {"circle", El(Shape::Arc, 1, {1, 2, 3, 0, 360, 1, 0}), {{-2, -1}, {4, 5}}},
        {"upper half", El(Shape::Arc, 1, {0, 0, 2, 0, 180, 1, 0}), {{-2, 0}, {2, 2}}},
        {"across 0 degrees", El(Shape::Arc, 1, {0, 0, 2, 270, 90, 1, 0}), {{0, -2}, {2, 2}}},
        {"flat ellipse turned 90",
         El(Shape::Arc, 1, {0, 0, 4, 0, 360, 0.5, 90}),
         {{-2, -4}, {2, 4}}},
        {"solid half ellipse",
         El(Shape::SolidEllipse, 1, {0, 0, 2, 1, 0, 0, kPiD, 5}),
         {{-2, 0}, {2, 2}}},
        {"ring", El(Shape::SolidRing, 1, {0, 0, 2, 0.5, 0, 0, 2 * kPiD, 1}), {{-2, -1}, {2, 1}}},
    };
    for (const auto& c : cases) {
        Extent e;
        ASSERT_TRUE(ElementsExtent({c.el}, e)) << c.name;
        EXPECT_NEAR(e.low.x, c.box.low.x, 1e-12) << c.name;
        EXPECT_NEAR(e.low.y, c.box.low.y, 1e-12) << c.name;
        EXPECT_NEAR(e.high.x, c.box.high.x, 1e-12) << c.name;
        EXPECT_NEAR(e.high.y, c.box.high.y, 1e-12) << c.name;
    }
    Extent none;
    EXPECT_FALSE(ElementsExtent({El(Shape::Line, 1, {0, 0, NAN, 1})}, none));
}

}  // namespace
}  // namespace tesra
