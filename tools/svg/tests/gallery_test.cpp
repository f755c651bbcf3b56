// The gallery: every kind present, labels readable.
#include "tools/svg/gallery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "figures/figures.h"
#include "tools/svg/svg_render.h"

namespace tesra::svg {
namespace {

constexpr double kSlack = 1e-9;

bool InsideVertically(const Bounds& inner, const FrameShape& frame) {
    return inner.minY >= frame.low.y - kSlack && inner.maxY <= frame.high.y + kSlack;
}

bool InsideHorizontally(const Bounds& inner, const FrameShape& frame) {
    return inner.minX >= frame.low.x - kSlack && inner.maxX <= frame.high.x + kSlack;
}

// The "2" waves are circular arcs through stretched points: with H above W/2,
// as in the gallery, they are more than half circles and bulge sideways.
bool MayBulgeSideways(std::int32_t kind) { return kind == 77 || kind == 78; }

// A tile is its frame (beneath), then the figure's shapes, then its label.
TEST(Gallery, EveryKindDrawsInsideItsOwnFramedAndNamedBox) {
    const Scene scene = BuildGallery();
    std::size_t at = 0;
    for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind) {
        ASSERT_LT(at, scene.shapes.size()) << kind;
        ASSERT_TRUE(std::holds_alternative<FrameShape>(scene.shapes[at].geometry)) << kind;
        const auto& frame = std::get<FrameShape>(scene.shapes[at++].geometry);
        Scene figure;
        while (at < scene.shapes.size() &&
               !std::holds_alternative<LabelShape>(scene.shapes[at].geometry))
            figure.shapes.push_back(scene.shapes[at++]);
        ASSERT_LT(at, scene.shapes.size()) << kind;
        const auto& label = std::get<LabelShape>(scene.shapes[at++].geometry);

        const Point origin = GalleryCellOrigin(kind);
        EXPECT_EQ(frame.low.x, origin.x) << kind;
        EXPECT_EQ(frame.low.y, origin.y) << kind;
        EXPECT_EQ(frame.high.x - frame.low.x, kGalleryCellW) << kind;
        EXPECT_EQ(frame.high.y - frame.low.y, kGalleryCellH) << kind;
        EXPECT_EQ(label.text, TileLabel(kind));
        EXPECT_TRUE(
            label.text.starts_with(std::to_string(kind) + " " + std::string(FigureName(kind))));
        EXPECT_LT(label.at.y, frame.low.y) << kind;  // under its box
        // Readable at the SVG's own size.
        EXPECT_GE(label.height * scene.pixelsPerUnit, 9.0) << kind;

        const Bounds drawn = SceneBounds(figure);
        ASSERT_FALSE(drawn.empty) << "kind " << kind << " drew nothing";
        EXPECT_TRUE(InsideVertically(drawn, frame)) << "kind " << kind << " leaves its box";
        EXPECT_EQ(InsideHorizontally(drawn, frame), !MayBulgeSideways(kind)) << "kind " << kind;
    }
}

// Kinds 12 and 71, 13 and 72 share their names and their drawing; the labels
// say so, and no other label does.
TEST(Gallery, TwinKindsNameEachOther) {
    const struct {
        std::int32_t kind;
        const char* label;
    } cases[] = {{12, "12 ／／ (=71)"}, {71, "71 ／／ (=12)"}, {13, "13 ＼＼ (=72)"},
                 {72, "72 ＼＼ (=13)"}, {10, "10 ／(右斜線)"}, {105, "105 ／／(塗)"}};
    for (const auto& c : cases) EXPECT_EQ(TileLabel(c.kind), c.label);
    int twins = 0;
    for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind)
        twins += TileLabel(kind).find("(=") != std::string::npos ? 1 : 0;
    EXPECT_EQ(twins, 4);
}

TEST(Gallery, PatternsFollowUnderTheGridWithTheSolidColor) {
    const Scene scene = BuildGallery();
    const double gridBottom = GalleryCellOrigin(kFigureKindCount - 1).y - kGalleryCellH;
    std::size_t tileLabels = 0, titles = 0, below = 0, filledInSolidColor = 0;
    for (const Shape& shape : scene.shapes) {
        if (std::holds_alternative<LabelShape>(shape.geometry)) {
            (tileLabels < static_cast<std::size_t>(kFigureKindCount) ? tileLabels : titles) += 1;
            continue;
        }
        if (tileLabels < static_cast<std::size_t>(kFigureKindCount)) continue;
        Scene one;
        one.shapes.push_back(shape);
        if (SceneBounds(one).maxY < gridBottom) ++below;
        // The demo's color 0x2050E0 is written as 0x00BBGGRR.
        if (std::holds_alternative<PolygonShape>(shape.geometry) && shape.color == 0xE05020)
            ++filledInSolidColor;
    }
    // The patterns, the page along a selection and its four, the comparison of
    // arrangements and its three columns.
    EXPECT_EQ(titles, 4u + 1u + 4u + 1u + 3u);
    EXPECT_GT(below, 0u);
    EXPECT_GT(filledInSolidColor, 0u);
}

// Guide lines follow the circular bed (radius 6) as whole circles about its
// centre: 3.6 and 4 inside, 8.5 outside; the bed itself is written back.
TEST(Gallery, PatternsAlongASelectionFollowTheCircleAsCircles) {
    const Scene scene = BuildGallery();
    std::vector<Ellipse> circles;
    for (const Shape& shape : scene.shapes) {
        const auto* arc = std::get_if<ArcShape>(&shape.geometry);
        if (arc != nullptr && std::fabs(arc->sweep) >= 2 * 3.14159265358979)
            circles.push_back(arc->ellipse);
    }
    std::vector<Point> beds;
    for (const Ellipse& e : circles) {
        const bool known = std::any_of(beds.begin(), beds.end(), [&](Point p) {
            return p.x == e.centre.x && p.y == e.centre.y;
        });
        if (std::fabs(e.r - 6.0) < 1e-9 && !known) beds.push_back(e.centre);
    }
    std::vector<double> guides;
    for (const Ellipse& e : circles)
        for (Point bed : beds)
            if (std::hypot(e.centre.x - bed.x, e.centre.y - bed.y) < 1e-9 &&
                std::fabs(e.r - 6.0) > 1e-9)
                guides.push_back(e.r);
    std::sort(guides.begin(), guides.end());
    EXPECT_EQ(beds.size(), 4u);
    ASSERT_EQ(guides.size(), 3u);
    EXPECT_NEAR(guides[0], 3.6, 1e-9);
    EXPECT_NEAR(guides[1], 4.0, 1e-9);
    EXPECT_NEAR(guides[2], 8.5, 1e-9);
}

TEST(Gallery, RendersToACompleteDocument) {
    const std::string svg = RenderSvg(BuildGallery());
    EXPECT_EQ(svg.find("nan"), std::string::npos);
    EXPECT_EQ(svg.rfind("</svg>\n"), svg.size() - 7);
    EXPECT_NE(svg.find("＼＼(塗)"), std::string::npos);
    // The SVG's own size follows the gallery's scale, not a fixed width.
    const double width = std::stod(svg.substr(svg.find(" width=\"") + 8));
    const Bounds box = SceneBounds(BuildGallery());
    EXPECT_GT(width, box.Width() * kGalleryPixelsPerUnit);
}

}  // namespace
}  // namespace tesra::svg
