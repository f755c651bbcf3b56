// The user's own figures drawn into a cell: every element lands where the
// cell's map puts it, whole, turned, stretched, mirrored or fitted.
#include "figures/own_figures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <sstream>
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

constexpr auto El = MakeOwnElement;

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

TEST(OwnFigures, AtTheOriginTheElementsComeBackToTheBit) {
    const std::vector<test::OwnShape> drawn = test::ShapesOf(DrawSample(MakeCell(20, 8)));
    const std::vector<test::OwnShape> want = SampleShapes();
    ASSERT_EQ(drawn.size(), want.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) EXPECT_EQ(drawn[i].values, want[i].values) << i;
}

// In its own box, stretched, mirrored or fitted, at any turn of the span and
// far from the origin.
TEST(OwnFigures, EveryElementFollowsTheCellsMap) {
    PatternRow uniform;
    uniform.fit = kFitUniform;
    const struct {
        const char* name;
        double w, h;
        PatternRow row;
        OwnFigureMap map;  // cell filled in below
    } cases[] = {
        {"in its own box", 20, 8, {}, {{}, 1, 1, 0, 0}},
        {"wider", 40, 8, {}, {{}, 2, 1, 0, 0}},
        {"stretched", 10, 24, {}, {{}, 0.5, 3, 0, 0}},
        {"mirrored along u", -20, 8, {}, {{}, -1, 1, 0, 0}},
        {"mirrored along v", 20, -16, {}, {{}, 1, -2, 0, 0}},
        {"fitted in a wide box", 60, 8, uniform, {{}, 1, 1, 20, 0}},
        {"fitted in a tall box", 10, 40, uniform, {{}, 0.5, 0.5, 0, 18}},
        {"stretched in a box at equal scale", 40, 16, {}, {{}, 2, 2, 0, 0}},
    };
    std::mt19937 rng(107);
    std::uniform_real_distribution<double> turn(-180, 180), place(-1e5, 1e5);
    for (const auto& c : cases)
        for (int trial = 0; trial < 6; ++trial) {
            const Point origin = trial == 0 ? Point{12, -5} : Point{place(rng), place(rng)};
            OwnFigureMap map = c.map;
            map.cell = MakeCell(c.w, c.h, turn(rng), origin);
            SCOPED_TRACE(testing::Message() << c.name << " at " << map.cell.thetaDeg << "°");
            test::ExpectShapesUnder(map, SampleShapes(),
                                    test::ShapesOf(DrawSample(map.cell, c.row)),
                                    1e-9 * std::max(60.0, std::hypot(origin.x, origin.y)));
        }
}

// The pens ("p") and solid colors ("s", in hex) a figure writes, in order.
std::string Colors(const Calls& calls) {
    std::ostringstream out;
    for (const auto& c : calls) {
        if (c.op == "linecolor") out << " p" << c.values[0];
        if (c.op == "solidcolor")
            out << " s" << std::hex << static_cast<int>(c.values[0]) << std::dec;
    }
    return out.str();
}

TEST(OwnFigures, PensAndSolidColors) {
    PatternRow own;
    own.elementColors = 1;
    const struct {
        const char* name;
        PatternRow row;
        SolidStyle solid;
        const char* colors;
    } cases[] = {
        // clang-format off
        // The pen in force, taken up again only after a solid; pen 10 is the pen in force.
        {"current pen", {}, {}, " sff sff00 p1 sff0000 sff0000 s123456 p1"},
        {"row's solid", {}, {true, 0xABCDEF}, " sabcdef sabcdef p1 sabcdef sabcdef sabcdef p1"},
        {"each element's pen", own, {}, " p3 p4 p5 p5 sff sff00 p1 sff0000 sff0000 s123456 p1"},
        // clang-format on
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
        // clang-format off
        {"circle",           El(Shape::Arc, 1, {1, 2, 3, 0, 360, 1, 0}),    {{-2, -1}, {4, 5}}},
        {"upper half",       El(Shape::Arc, 1, {0, 0, 2, 0, 180, 1, 0}),    {{-2, 0}, {2, 2}}},
        {"across 0 degrees", El(Shape::Arc, 1, {0, 0, 2, 270, 90, 1, 0}),   {{0, -2}, {2, 2}}},
        {"flat, turned 90",  El(Shape::Arc, 1, {0, 0, 4, 0, 360, 0.5, 90}), {{-2, -4}, {2, 4}}},
        {"solid half", El(Shape::SolidEllipse, 1, {0, 0, 2, 1, 0, 0, kPiD, 5}), {{-2, 0}, {2, 2}}},
        {"ring", El(Shape::SolidRing, 1, {0, 0, 2, 0.5, 0, 0, 2 * kPiD, 1}), {{-2, -1}, {2, 1}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        Extent e;
        ASSERT_TRUE(ElementsExtent({c.el}, e)) << c.name;
        for (const auto& [got, want] : {std::pair{e.low, c.box.low}, {e.high, c.box.high}}) {
            EXPECT_NEAR(got.x, want.x, 1e-12) << c.name;
            EXPECT_NEAR(got.y, want.y, 1e-12) << c.name;
        }
    }
    Extent none;
    EXPECT_FALSE(ElementsExtent({El(Shape::Line, 1, {0, 0, NAN, 1})}, none));
}

// The bound on a run's elements counts the figures the row's sequence draws:
// a large B that the sequence never places costs nothing, one it does, all.
TEST(OwnFigures, TheElementBoundCountsOnlyFiguresTheSequenceDraws) {
    OwnFigure large{108, "large", 1, 1, {}};
    large.elements.assign(2000, MakeOwnElement(OwnElement::Shape::Line, 3, {0, 0, 1, 1}));
    OwnFigureSet set = SampleSet();  // 107: ten elements
    set.figures.push_back(large);
    const struct {
        const char* sequence;
        std::int64_t most;
    } cases[] = {{"", 10},     {"A", 10},    {"AAA", 10}, {"B", 2000},
                 {"BB", 2000}, {"AB", 2000}, {"AC", 10}};  // not a sequence: A alone
    for (const auto& c : cases) {
        const PatternRow row{.figureKind = 107, .figureB = 108, .sequence = c.sequence};
        EXPECT_EQ(MostOwnElements(set, row), c.most) << c.sequence;
    }
}

}  // namespace
}  // namespace tesra
