// The user's own figures drawn into a cell: every element lands where the
// cell's map puts it, whole, turned, stretched, mirrored or fitted.
#include "figures/own_figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "figures/own_figure_checks.h"
#include "test_support.h"

namespace tesra {
namespace {

using Shape = OwnElement::Shape;
using test::Calls;
using test::MakeCell;
using test::OwnFigureMap;

constexpr double kPiD = std::numbers::pi;

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

std::vector<test::OwnShape> SampleShapes() {
    const OwnFigureSet set = SampleSet();
    std::vector<test::OwnShape> shapes;
    for (const OwnElement& el : set.figures[0].elements) shapes.push_back(test::ShapeOf(el));
    return shapes;
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
        test::ExpectShapesUnder({cell}, SampleShapes(), test::ShapesOf(DrawSample(cell)),
                                1e-9 * std::max(20.0, std::hypot(s.origin.x, s.origin.y)));
    }
}

TEST(OwnFigures, AtTheOriginTheElementsComeBackToTheBit) {
    const std::vector<test::OwnShape> drawn = test::ShapesOf(DrawSample(MakeCell(20, 8)));
    const std::vector<test::OwnShape> want = SampleShapes();
    ASSERT_EQ(drawn.size(), want.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) EXPECT_EQ(drawn[i].values, want[i].values) << i;
}

TEST(OwnFigures, StretchedMirroredAndFittedShapesFollowTheCellsMap) {
    PatternRow uniform;
    uniform.fit = kFitUniform;
    const struct {
        const char* name;
        double w, h, thetaDeg;
        PatternRow row;
        OwnFigureMap map;  // cell filled in below
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
        OwnFigureMap map = c.map;
        map.cell = MakeCell(c.w, c.h, c.thetaDeg, {12, -5});
        test::ExpectShapesUnder(map, SampleShapes(), test::ShapesOf(DrawSample(map.cell, c.row)),
                                1e-7);
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
