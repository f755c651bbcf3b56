// The preview: it fits its box, follows every value, and draws what a run draws.
#include "settings/dialog/preview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "figures/figures.h"
#include "figures/layout.h"
#include "geom/helpers.h"
#include "painted_points.h"
#include "test_support.h"

namespace tesra {
namespace {

using Shape = PreviewPrimitive::Shape;

constexpr PreviewBox kBand{108.0, 320.0, 663.0, 88.0};  // beside the caption
constexpr PreviewBox kItem{3.0, 2.0, 24.0, 13.0};
// Triangles between a gap line above and a full-length line below.
constexpr PatternRow kRow{20, 10, 6, kPlaceByInterval, 3, kBaseMiddle, 1, 0, 2};

std::string Describe(const PreviewDrawing& drawing, std::size_t from = 0) {
    std::string text;
    for (std::size_t i = from; i < drawing.size(); ++i) {
        const PreviewPrimitive& p = drawing[i];
        text += std::to_string(static_cast<int>(p.shape)) + "/" +
                std::to_string(static_cast<int>(p.ink)) + "/" + std::to_string(p.bgr) + ":";
        for (const auto& loop : Flatten(p, 0.05).loops)
            for (Point q : loop) text += std::to_string(q.x) + "," + std::to_string(q.y) + " ";
        text += "\n";
    }
    return text;
}

// The figure's points, flattened, moved and scaled uniformly so that its
// extent is centred in a square of side 1000: equal for drawings of one shape.
std::vector<Point> Normalised(const PreviewDrawing& figure) {
    Point low, high;
    std::vector<Point> out;
    if (!DrawingExtent(figure, low, high)) return out;
    const PreviewFit fit = PreviewFit::Into(low, high, {0, 0, 1000, 1000}, 0);
    for (const PreviewPrimitive& p : figure)
        for (const auto& loop : Flatten(fit.Apply(p), 0.05).loops)
            for (Point q : loop) out.push_back(q);
    return out;
}

PreviewDrawing WithoutInk(const PreviewDrawing& drawing, PreviewInk ink) {
    PreviewDrawing out;
    for (const PreviewPrimitive& p : drawing)
        if (p.ink != ink) out.push_back(p);
    return out;
}

// A picture is its frame, then what the span code draws for a span of
// exactly one figure in a square cell (base point "下" puts the cell's lower
// edge on the span), scaled uniformly into the box.
TEST(FigurePicture, EveryKindIsItsFramedOneFigureSpanInsideItsBox) {
    for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind) {
        SCOPED_TRACE(kind);
        const PreviewDrawing picture = FigurePicture(kind, kItem);
        ASSERT_GT(picture.size(), 4u);
        // The frame comes first, so the figure is painted over it.
        for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(picture[i].ink, PreviewInk::Guide);
        EXPECT_EQ(CountInk(picture, PreviewInk::Guide), 4u);
        EXPECT_EQ(PaintedPointsOutside(picture, kItem), 0u);

        const PatternRow row{kind, 7.0, 7.0, 0, 0, kBaseBottom};
        PreviewDrawing drawn;
        PreviewRecorder recorder(drawn);
        const std::vector<Point> span = {{}, {0.0, 0.0}, {row.width, 0.0}};
        LayOutSpan(LayoutInputs{row, {}, 1}, ChainPath(span, 2), 0, recorder);
        Point low, high;
        ASSERT_TRUE(DrawingExtent(drawn, low, high));
        const PreviewFit fit = PreviewFit::Into(low, high, kItem, 1.5);  // into the box's y down
        for (PreviewPrimitive& p : drawn) p = fit.Apply(p);
        const std::vector<Point> expected = Normalised(drawn);
        const std::vector<Point> shown = Normalised(WithoutInk(picture, PreviewInk::Guide));
        ASSERT_EQ(shown.size(), expected.size());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_NEAR(shown[i].x, expected[i].x, 1e-6) << i;
            EXPECT_NEAR(shown[i].y, expected[i].y, 1e-6) << i;
        }
    }
}

// The smallest distance from a painted point of the figure to the frame's
// rectangle, in pixels: the frame never touches a figure, so that an open
// side stays open (［ is not □).
double FrameClearance(const PreviewDrawing& picture) {
    Point low, high;
    DrawingExtent(WithoutInk(WithoutInk(picture, PreviewInk::Pen), PreviewInk::Solid), low, high);
    double least = 1e300;
    for (const PreviewPrimitive& p : WithoutInk(picture, PreviewInk::Guide))
        for (const auto& loop : Flatten(p, 0.01).loops)
            for (Point q : loop)
                least = std::min({least, q.x - low.x, high.x - q.x, q.y - low.y, high.y - q.y});
    return least;
}

// Boxes wide, tall and square, at the sizes the lists and the chooser give:
// figures as wide as tall in their cell stay so (○ is round, □ square)
// whatever the box's shape, and a pixel at least lies between every figure
// and its frame.
TEST(FigurePicture, SquareCellsAndFramesClearOfTheFigure) {
    const PreviewBox boxes[] = {{3, 2, 24, 13}, {0, 0, 13, 13}, {5, 5, 18, 30}, {0, 0, 26, 18}};
    for (const PreviewBox& box : boxes) {
        SCOPED_TRACE(std::to_string(box.width) + "x" + std::to_string(box.height));
        for (const std::int32_t kind : {32, 38, 49, 51}) {  // □ ◇ ○ ●
            Point low, high;
            ASSERT_TRUE(
                DrawingExtent(WithoutInk(FigurePicture(kind, box), PreviewInk::Guide), low, high));
            EXPECT_NEAR(high.x - low.x, high.y - low.y, 1e-9) << kind;
        }
        for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind)
            EXPECT_GE(FrameClearance(FigurePicture(kind, box)), 1.0) << kind;
    }
}

// The primitives of a band drawing that lie well before the corner (the
// offset lines and figures of the rising side reach back past it): the
// figures and lines of the first side. The first primitive is that side itself.
PreviewDrawing FirstSide(const PreviewDrawing& drawing, PreviewBox box) {
    const Point start = drawing.at(0).points.at(0);
    const double corner =
        drawing[0].points.at(1).x - std::min(box.height, (drawing[0].points[1].x - start.x) / 3);
    PreviewDrawing out;
    for (const PreviewPrimitive& p : drawing) {
        bool before = p.ink != PreviewInk::Guide;
        for (const auto& loop : Flatten(p, 0.01).loops)
            for (Point q : loop) before = before && q.x < corner;
        if (before) out.push_back(p);
    }
    return out;
}

// Rows of every shape in boxes of every shape: the corner and the figures
// before it inside the box, and those figures as tall as the box allows or,
// when two of them and the corner take the whole width, as wide.
// Circles with every third a square four times as tall: the band must fit B.
PatternRow TallSecondFigure() {
    PatternRow r{49, 10, 10, 0, 3, 1, 0, 0, 0};
    r.sequence = "AAB";
    r.figureB = 32;
    r.heightB = 40;
    return r;
}

TEST(PatternPreview, FirstSideFillsTheHeightOrTheWidth) {
    const PatternRow rows[] = {
        TallSecondFigure(),
        // kind, W, H, placement, interval, base point, upper, middle, lower line
        kRow,
        {40, 5, 2, 0, 3, 1, 0, 0, 0},      // ◆, small
        {47, 10, 10, 0, 100, 1, 0, 0, 0},  // ☆ far apart
        {79, 100, 5, 0, 0, 1, 0, 0, 0},    // a long flat bow
        {77, 10, 40, 0, 3, 1, 1, 0, 2},    // waves bulge sideways
        {20, 1e-7, 6, 0, 3, 1, 1, 0, 2},
        {20, 10, 1e6, 0, 3, kBaseTop, 1, 0, 2},
        {20, 10, 6, kPlaceEvenly, 500, 1, 1, 2, 2},
        {54, 10, 6, 0, 3, kBaseBottom, 1, 0, 2},
    };
    for (const PreviewBox box : {kBand, PreviewBox{0, 0, 1133, 138}, PreviewBox{0, 0, 200, 200},
                                 PreviewBox{0, 0, 60, 60}}) {
        for (const PatternRow& row : rows) {
            SCOPED_TRACE(std::to_string(row.figureKind) + " W " + std::to_string(row.width) +
                         " box " + std::to_string(box.width));
            const PreviewDrawing drawing = PatternPreview(row, {}, box);
            ASSERT_GE(CountInk(drawing, PreviewInk::Guide), 3u);  // the sample path
            const Point corner = drawing[0].points[1];
            EXPECT_TRUE(corner.x > box.left && corner.x < box.left + box.width &&
                        corner.y > box.top && corner.y < box.top + box.height);
            const PreviewDrawing first = FirstSide(drawing, box);
            EXPECT_EQ(PaintedPointsOutside(first, box), 0u) << box.height;
            Point low, high;
            ASSERT_TRUE(DrawingExtent(first, low, high));
            const double usedH = (high.y - low.y) / box.height;
            const double usedW = (corner.x - box.left) / box.width;
            EXPECT_TRUE(usedH > 0.9 || usedW > 0.5) << usedH << " " << usedW;
        }
    }
}

// The figures the issue of scale was found with stand far taller than the
// 4 to 26 pixels they had in the band.
TEST(PatternPreview, TypicalRowsStandTallInTheBand) {
    for (const PatternRow& row :
         {PatternRow{40, 5, 2, 0, 3, 1, 0, 0, 0}, PatternRow{47, 10, 10, 0, 100, 1, 0, 0, 0},
          PatternRow{79, 100, 5, 0, 0, 1, 0, 0, 0}}) {
        Point low, high;
        ASSERT_TRUE(DrawingExtent(FirstSide(PatternPreview(row, {}, kBand), kBand), low, high));
        EXPECT_GT(high.y - low.y, row.width > 50 ? 10.0 : 40.0) << row.figureKind;
    }
}

TEST(PatternPreview, FollowsEveryValueOfTheRow) {
    const std::string base = Describe(PatternPreview(kRow, {}, kBand));
    EXPECT_EQ(Describe(PatternPreview(kRow, {}, kBand)), base);  // and nothing else
    const struct {
        const char* what;
        void (*edit)(PatternRow&);
    } edits[] = {
        {"figure", [](PatternRow& r) { r.figureKind = 21; }},
        {"width", [](PatternRow& r) { r.width = 12; }},
        {"height", [](PatternRow& r) { r.height = 5; }},
        {"placement", [](PatternRow& r) { r.placement = kPlaceEvenly; }},
        {"interval", [](PatternRow& r) { r.interval = 2; }},
        {"base point", [](PatternRow& r) { r.basePoint = kBaseTop; }},
        {"upper line", [](PatternRow& r) { r.upperLine = 2; }},
        {"middle line", [](PatternRow& r) { r.middleLine = 1; }},
        {"lower line", [](PatternRow& r) { r.lowerLine = 0; }},
        // The sample path's corner and bend show every arrangement and the
        // figures' orientation.
        {"through", [](PatternRow& r) { r.arrangement = kArrangeThrough; }},
        {"corners", [](PatternRow& r) { r.arrangement = kArrangeCorners; }},
        {"upright", [](PatternRow& r) { r.orientation = kOrientUpright; }},
        // The sample path stands for the top side of a boundary.
        {"inside", [](PatternRow& r) { r.side = kSideInside, r.basePoint = kBaseBottom; }},
        {"sequence", [](PatternRow& r) { r.sequence = "AAB", r.figureB = 32; }},
        {"slope", [](PatternRow& r) { r.rowKind = kRowSlope; }},
    };
    for (const auto& e : edits) {
        PatternRow row = kRow;
        e.edit(row);
        EXPECT_NE(Describe(PatternPreview(row, {}, kBand)), base) << e.what;
    }
}

// A slope row shows its ticks on the sample every row is drawn on, its first
// side within the band as a rule row's is, and follows the slope's own settings.
TEST(PatternPreview, SlopeRowsFollowTheirSettings) {
    PatternRow slope = kRow;
    slope.rowKind = kRowSlope;
    const PreviewDrawing drawing = PatternPreview(slope, {}, kBand);
    EXPECT_GT(CountInk(FirstSide(drawing, kBand), PreviewInk::Pen), 8u);
    EXPECT_EQ(PaintedPointsOutside(FirstSide(drawing, kBand), kBand), 0u);
    const std::string base = Describe(drawing);
    for (void (*edit)(PatternRow&) :
         {+[](PatternRow& r) { r.pitch = 3; }, +[](PatternRow& r) { r.rhythm = "LSS"; },
          +[](PatternRow& r) { r.shortRatio = 0.3; }}) {
        PatternRow row = slope;
        edit(row);
        EXPECT_NE(Describe(PatternPreview(row, {}, kBand)), base);
    }
}

// Only the figures take the solid color, and only when it is switched on.
TEST(PatternPreview, FilledFiguresTakeTheSolidColorOnlyWhenSwitchedOn) {
    const PatternRow filled{26, 10, 6, 0, 3, 1, 1, 0, 2};
    const PreviewDrawing on = PatternPreview(filled, {true, 0x2050E0}, kBand);
    EXPECT_EQ(CountInk(PatternPreview(filled, {false, 0x2050E0}, kBand), PreviewInk::Solid), 0u);
    EXPECT_EQ(CountInk(PatternPreview(kRow, {true, 0x2050E0}, kBand), PreviewInk::Solid), 0u);
    ASSERT_GT(CountInk(on, PreviewInk::Solid), 0u);
    for (const auto& p : on) {
        EXPECT_TRUE(p.ink != PreviewInk::Solid || p.bgr == 0x2050E0);
        EXPECT_TRUE(p.shape != Shape::Segment || p.ink != PreviewInk::Solid);
    }
    EXPECT_NE(Describe(on), Describe(PatternPreview(filled, {true, 0x00FF00}, kBand)));
}

// Full-length guide lines meet in a mitre at the corner of the sample path.
TEST(PatternPreview, FullLengthLinesMeetAtTheCorner) {
    const PreviewDrawing drawing = PatternPreview({-1, 10, 6, 0, 3, 1, 2, 0, 0}, {}, kBand);
    std::vector<PreviewPrimitive> lines;
    for (const auto& p : drawing)
        if (p.ink == PreviewInk::Pen && p.shape == Shape::Segment) lines.push_back(p);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NEAR(lines[0].points[1].x, lines[1].points[0].x, 1e-9);
    EXPECT_NEAR(lines[0].points[1].y, lines[1].points[0].y, 1e-9);
}

TEST(SamplePath, StraightThenASharpCornerThenAGentleBendBackToTheFirstDirection) {
    for (const PatternRow& row : {kRow, PatternRow{20, 1e-7, 6, 0, 0, 1, 0, 0, 0},
                                  PatternRow{20, std::nan(""), 6, 0, -5, 1, 0, 0, 0}}) {
        const ElementPath two = SamplePath(row, 2), five = SamplePath(row, 5);
        ASSERT_EQ(two.elements.size(), 3u);
        EXPECT_EQ(two.elements[0].b.y, 0.0);
        EXPECT_GT(five.elements[0].b.x, two.elements[0].b.x);
        EXPECT_TRUE(IsSharpJoint(two.elements[0], two.elements[1]));
        EXPECT_FALSE(IsSharpJoint(two.elements[1], two.elements[2]));
        EXPECT_NEAR(EndTangent(two.elements[2]).x, 1.0, 1e-12);
        EXPECT_TRUE(SamePoint(two.elements[1].b, two.elements[2].a));
        EXPECT_TRUE(std::isfinite(two.elements[2].b.x) && std::isfinite(two.elements[2].b.y));
    }
}

TEST(Flatten, CurvesStayWithinTheToleranceAndEndWhereTheArcEnds) {
    PreviewPrimitive p;
    p.shape = Shape::Arc;
    p.arc = {{10.0, 20.0}, 30.0, 0.5, 0.3, 0.2, 2.0};
    const PreviewArc& arc = p.arc;
    for (double tolerance : {0.25, 0.01}) {
        const PaintShape shape = Flatten(p, tolerance);
        ASSERT_EQ(shape.loops.size(), 1u);
        EXPECT_FALSE(shape.closed);
        const auto& points = shape.loops[0];
        const double t = arc.start + arc.sweep;
        const double u = arc.r * std::cos(t), v = arc.flatness * arc.r * std::sin(t);
        EXPECT_NEAR(points.back().x, arc.centre.x + u * std::cos(arc.tilt) - v * std::sin(arc.tilt),
                    1e-9);
        EXPECT_NEAR(points.back().y, arc.centre.y + u * std::sin(arc.tilt) + v * std::cos(arc.tilt),
                    1e-9);
        // A chord's midpoint lies off the curve by at most the tolerance, so no
        // two neighbours are further apart than the chord that allows it.
        const double chord = 2.0 * std::sqrt(2.0 * arc.r * tolerance);
        for (std::size_t i = 1; i < points.size(); ++i)
            EXPECT_LE(std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y),
                      chord + 1e-9);
    }
    p.shape = Shape::FilledRing;
    p.arc = {{0, 0}, 4.0, 1.0, 0.0, 0.0, kTwoPi};
    p.innerR = 2.0;
    const PaintShape rings = Flatten(p, 0.1);
    EXPECT_EQ(rings.loops.size(), 2u);
    EXPECT_TRUE(rings.filled && rings.closed);
}

// Turning y downwards mirrors arcs; the mirrored arc must pass through the
// mirrored points of the original.
TEST(PreviewFit, MirrorsArcsWithTheirPoints) {
    PreviewDrawing drawing;
    PreviewRecorder recorder(drawing);
    recorder.EmitArc({5.0, 5.0}, 4.0, 10.0, 100.0, 0.6, 25.0);
    const PreviewFit fit = PreviewFit::Into({0, 0}, {10, 10}, {0, 0, 100, 50}, 0);
    const PaintShape before = Flatten(drawing[0], 0.001);
    const PaintShape after = Flatten(fit.Apply(drawing[0]), 0.001 * fit.scale);
    ASSERT_EQ(before.loops[0].size(), after.loops[0].size());
    for (std::size_t i = 0; i < before.loops[0].size(); ++i) {
        const Point expected = fit.Apply(before.loops[0][i]);
        EXPECT_NEAR(after.loops[0][i].x, expected.x, 1e-9);
        EXPECT_NEAR(after.loops[0][i].y, expected.y, 1e-9);
    }
}

}  // namespace
}  // namespace tesra
