// The preview: it fits its box, follows every value, and draws what a run draws.
#include "figures/preview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>

#include "figures/figures.h"
#include "figures/span_placement.h"

namespace tesra {
namespace {

using Shape = PreviewPrimitive::Shape;

constexpr PreviewBox kBand{8.0, 320.0, 755.0, 92.0};
constexpr PreviewBox kItem{3.0, 2.0, 24.0, 13.0};
constexpr double kSlack = 1e-6;

bool Inside(Point p, PreviewBox box) {
    return p.x >= box.left - kSlack && p.x <= box.left + box.width + kSlack &&
           p.y >= box.top - kSlack && p.y <= box.top + box.height + kSlack;
}

// Every point a painter would draw, curves flattened finely.
std::vector<Point> PaintedPoints(const PreviewDrawing& drawing) {
    std::vector<Point> points;
    for (const PreviewPrimitive& p : drawing)
        for (const auto& loop : Flatten(p, 0.01).loops)
            points.insert(points.end(), loop.begin(), loop.end());
    return points;
}

std::string Describe(const PreviewDrawing& drawing) {
    std::string text;
    for (const PreviewPrimitive& p : drawing) {
        text += std::to_string(static_cast<int>(p.shape)) + "/" +
                std::to_string(static_cast<int>(p.ink)) + "/" + std::to_string(p.bgr) + ":";
        for (const auto& loop : Flatten(p, 0.05).loops)
            for (Point q : loop) text += std::to_string(q.x) + "," + std::to_string(q.y) + " ";
        text += "\n";
    }
    return text;
}

std::size_t Count(const PreviewDrawing& drawing, PreviewInk ink) {
    return static_cast<std::size_t>(std::count_if(drawing.begin(), drawing.end(),
                                                  [ink](const auto& p) { return p.ink == ink; }));
}

PatternRow Row(std::function<void(PatternRow&)> edit = {}) {
    PatternRow row;
    row.figureKind = 20;
    row.width = 10;
    row.height = 6;
    row.interval = 3;
    row.upperLine = 1;
    row.lowerLine = 2;
    if (edit) edit(row);
    return row;
}

TEST(FigurePicture, EveryKindDrawsInsideItsBoxOverItsFrame) {
    for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind) {
        SCOPED_TRACE(kind);
        const PreviewDrawing picture = FigurePicture(kind, kItem);
        ASSERT_GT(picture.size(), 4u);
        // The frame comes first, so the figure is painted over it.
        for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(picture[i].ink, PreviewInk::Guide);
        EXPECT_EQ(Count(picture, PreviewInk::Guide), 4u);
        for (Point p : PaintedPoints(picture)) EXPECT_TRUE(Inside(p, kItem)) << p.x << "," << p.y;
    }
}

// Kinds 0, 1 and 2 are one line at the top, middle and bottom of the cell: the
// picture keeps the cell as its frame, not the line's own extent.
TEST(FigurePicture, KeepsWhereInTheCellALineStands) {
    const double top = FigurePicture(0, kItem)[4].points[0].y;
    const double middle = FigurePicture(1, kItem)[4].points[0].y;
    const double bottom = FigurePicture(2, kItem)[4].points[0].y;
    EXPECT_LT(top, middle);
    EXPECT_LT(middle, bottom);
    EXPECT_NEAR(bottom - top, kItem.height - 3.0, 1e-9);
}

TEST(FigurePicture, IsWhatASpanOfExactlyOneFigureDraws) {
    for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind) {
        SCOPED_TRACE(kind);
        // The picture's cell placed by the span code: base point "下" puts the
        // cell's lower edge on the span, which is exactly one width long.
        PatternRow row;
        row.figureKind = kind;
        row.width = kItem.width - 3.0;
        row.height = kItem.height - 3.0;
        row.basePoint = 2;
        const std::vector<Point> points = {{}, {0.0, 0.0}, {row.width, 0.0}};
        PreviewDrawing drawn;
        PreviewRecorder recorder(drawn);
        recorder.EmitLine({0, 0},
                          {row.width, row.height});  // the cell's extent, as the frame has it
        SpanPlacement({row, points, {}, 1}, 1, 2, recorder);
        Point low, high;
        ASSERT_TRUE(DrawingExtent(drawn, low, high));
        const PreviewFit fit = PreviewFit::Into(low, high, kItem, 1.5);

        const PreviewDrawing picture = FigurePicture(kind, kItem);
        ASSERT_EQ(picture.size(), drawn.size() + 3);  // four frame sides for the one diagonal
        for (std::size_t i = 1; i < drawn.size(); ++i) {
            const PreviewPrimitive& expected = fit.Apply(drawn[i]);
            const PreviewPrimitive& got = picture[i + 3];
            EXPECT_EQ(got.shape, expected.shape) << i;
            const auto a = Flatten(got, 0.05).loops, b = Flatten(expected, 0.05).loops;
            ASSERT_EQ(a.size(), b.size()) << i;
            for (std::size_t l = 0; l < a.size(); ++l) {
                ASSERT_EQ(a[l].size(), b[l].size()) << i;
                for (std::size_t k = 0; k < a[l].size(); ++k) {
                    EXPECT_NEAR(a[l][k].x, b[l][k].x, 1e-9);
                    EXPECT_NEAR(a[l][k].y, b[l][k].y, 1e-9);
                }
            }
        }
    }
}

TEST(PatternPreview, FitsTheBandForRowsOfEveryShape) {
    const PatternRow rows[] = {
        Row(),
        Row([](PatternRow& r) {
            r.figureKind = 77;
            r.height = 40;
        }),  // waves bulge sideways
        Row([](PatternRow& r) { r.width = 1e-7; }),
        Row([](PatternRow& r) {
            r.height = 1e6;
            r.basePoint = 0;
        }),
        Row([](PatternRow& r) {
            r.interval = 500;
            r.placement = 1;
            r.middleLine = 2;
        }),
        Row([](PatternRow& r) {
            r.figureKind = 54;
            r.basePoint = 2;
        }),
        Row([](PatternRow& r) {
            r.figureKind = -1;
            r.upperLine = 0;
            r.lowerLine = 0;
        }),
    };
    for (const PreviewBox box : {kBand, PreviewBox{0, 0, 1133, 138}, PreviewBox{0, 0, 60, 60}}) {
        for (const PatternRow& row : rows) {
            SCOPED_TRACE(std::to_string(row.figureKind) + " W " + std::to_string(row.width) +
                         " box " + std::to_string(box.width));
            const PreviewDrawing drawing = PatternPreview(row, {}, box);
            ASSERT_GE(Count(drawing, PreviewInk::Guide), 2u);  // the sample path
            for (Point p : PaintedPoints(drawing)) ASSERT_TRUE(Inside(p, box)) << p.x << "," << p.y;
        }
    }
}

// The first span grows with the band's width: a wide band is filled both ways.
TEST(PatternPreview, FillsTheBand) {
    const struct {
        PreviewBox box;
        double leastShareOfTheOtherSide;
    } cases[] = {{kBand, 0.6}, {{0, 0, 1133, 138}, 0.6}, {{0, 0, 200, 200}, 0.2}};
    for (const auto& c : cases) {
        const PreviewDrawing drawing = PatternPreview(Row(), {}, c.box);
        Point low, high;
        ASSERT_TRUE(DrawingExtent(drawing, low, high));
        const double usedW = (high.x - low.x) / c.box.width,
                     usedH = (high.y - low.y) / c.box.height;
        EXPECT_GT(std::max(usedW, usedH), 0.8) << c.box.width;
        EXPECT_GT(std::min(usedW, usedH), c.leastShareOfTheOtherSide) << c.box.width;
    }
}

TEST(PatternPreview, FollowsEveryValueOfTheRow) {
    const PreviewDrawing base = PatternPreview(Row(), {}, kBand);
    const struct {
        const char* what;
        std::function<void(PatternRow&)> edit;
    } edits[] = {
        {"figure", [](PatternRow& r) { r.figureKind = 21; }},
        {"width", [](PatternRow& r) { r.width = 12; }},
        {"height", [](PatternRow& r) { r.height = 5; }},
        {"placement", [](PatternRow& r) { r.placement = 1; }},
        {"interval", [](PatternRow& r) { r.interval = 2; }},
        {"base point", [](PatternRow& r) { r.basePoint = 0; }},
        {"upper line", [](PatternRow& r) { r.upperLine = 2; }},
        {"middle line", [](PatternRow& r) { r.middleLine = 1; }},
        {"lower line", [](PatternRow& r) { r.lowerLine = 0; }},
    };
    for (const auto& e : edits)
        EXPECT_NE(Describe(PatternPreview(Row(e.edit), {}, kBand)), Describe(base)) << e.what;
    EXPECT_EQ(Describe(PatternPreview(Row(), {}, kBand)), Describe(base));  // and nothing else
}

TEST(PatternPreview, FilledFiguresTakeTheSolidColorOnlyWhenSwitchedOn) {
    const PatternRow filled = Row([](PatternRow& r) { r.figureKind = 26; });
    const PreviewDrawing off = PatternPreview(filled, {false, 0x2050E0}, kBand);
    const PreviewDrawing on = PatternPreview(filled, {true, 0x2050E0}, kBand);
    const PreviewDrawing other = PatternPreview(filled, {true, 0x00FF00}, kBand);
    EXPECT_EQ(Count(off, PreviewInk::Solid), 0u);
    ASSERT_GT(Count(on, PreviewInk::Solid), 0u);
    for (const auto& p : on) {
        if (p.ink == PreviewInk::Solid) {
            EXPECT_EQ(p.bgr, 0x2050E0);
        }
        // Only the figures change color; the guide lines stay in the pen.
        if (p.shape == Shape::Segment && p.ink != PreviewInk::Guide) {
            EXPECT_EQ(p.ink, PreviewInk::Pen);
        }
    }
    EXPECT_NE(Describe(on), Describe(other));
    EXPECT_EQ(Count(PatternPreview(Row(), {true, 0x2050E0}, kBand), PreviewInk::Solid), 0u);
}

// Full-length guide lines meet in a mitre at the corner of the sample path.
TEST(PatternPreview, FullLengthLinesMeetAtTheCorner) {
    const PatternRow row = Row([](PatternRow& r) {
        r.figureKind = -1;
        r.upperLine = 2;
        r.lowerLine = 0;
    });
    const PreviewDrawing drawing = PatternPreview(row, {}, kBand);
    std::vector<PreviewPrimitive> lines;
    for (const auto& p : drawing)
        if (p.ink == PreviewInk::Pen) lines.push_back(p);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NEAR(lines[0].points[1].x, lines[1].points[0].x, 1e-9);
    EXPECT_NEAR(lines[0].points[1].y, lines[1].points[0].y, 1e-9);
}

TEST(SamplePath, IsAStraightSpanThenACornerLongerForWiderBoxes) {
    const auto narrow = SamplePath(Row(), 2.0), wide = SamplePath(Row(), 8.0);
    ASSERT_EQ(narrow.size(), 3u);
    EXPECT_EQ(narrow[1].y, 0.0);
    EXPECT_GT(narrow[2].y, 0.0);  // the corner turns
    EXPECT_GT(wide[1].x, narrow[1].x);
    for (double aspect : {0.0, -1.0, std::nan(""), 1e300}) {
        const auto path = SamplePath(Row(), aspect);
        EXPECT_TRUE(std::isfinite(path[2].x) && std::isfinite(path[2].y)) << aspect;
    }
}

TEST(Flatten, CurvesStayWithinTheToleranceAndEndWhereTheArcEnds) {
    const PreviewArc arc{{10.0, 20.0}, 30.0, 0.5, 0.3, 0.2, 2.0};
    for (double tolerance : {0.25, 0.01}) {
        PreviewPrimitive p;
        p.shape = Shape::Arc;
        p.arc = arc;
        const PaintShape shape = Flatten(p, tolerance);
        ASSERT_EQ(shape.loops.size(), 1u);
        const auto& points = shape.loops[0];
        EXPECT_FALSE(shape.closed);
        const Point end = points.back();
        const double t = arc.start + arc.sweep;
        const double u = arc.r * std::cos(t), v = arc.flatness * arc.r * std::sin(t);
        EXPECT_NEAR(end.x, arc.centre.x + u * std::cos(arc.tilt) - v * std::sin(arc.tilt), 1e-9);
        EXPECT_NEAR(end.y, arc.centre.y + u * std::sin(arc.tilt) + v * std::cos(arc.tilt), 1e-9);
        // A chord's midpoint lies off the curve by at most the tolerance, so no
        // two neighbours are further apart than the chord that allows it.
        const double chord = 2.0 * std::sqrt(2.0 * arc.r * tolerance);
        for (std::size_t i = 1; i < points.size(); ++i)
            EXPECT_LE(std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y),
                      chord + 1e-9);
    }
    PreviewPrimitive ring;
    ring.shape = Shape::FilledRing;
    ring.arc = {{0, 0}, 4.0, 1.0, 0.0, 0.0, 2 * std::numbers::pi};
    ring.innerR = 2.0;
    const PaintShape rings = Flatten(ring, 0.1);
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
