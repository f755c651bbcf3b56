// The owner-drawn figure lists: which picture each item gets, and where.
#include "settings/dialog/owner_draw.h"

#include <gtest/gtest.h>

#include "figures/figures.h"
#include "settings/dialog/form_layout.h"
#include "settings/pattern_store.h"

namespace tesra {
namespace {

bool Inside(Point p, PixelRect r) {
    constexpr double kSlack = 1e-6;
    return p.x >= r.left - kSlack && p.x <= r.right + kSlack && p.y >= r.top - kSlack &&
           p.y <= r.bottom + kSlack;
}

std::size_t PaintedPointsOutside(const PreviewDrawing& drawing, PixelRect r) {
    std::size_t outside = 0;
    for (const PreviewPrimitive& p : drawing)
        for (const auto& loop : Flatten(p, kCurveTolerance).loops)
            for (Point q : loop) outside += Inside(q, r) ? 0 : 1;
    return outside;
}

TEST(OwnerDraw, TheTwelveFigureListsAndNothingElseShowPictures) {
    int lists = 0;
    for (const ControlEntry& c : FormControls()) {
        if (!ShowsFigurePictures(c.name)) continue;
        ++lists;
        EXPECT_EQ(c.kind, ControlKind::DropDown) << c.name;
        EXPECT_TRUE(c.items.empty()) << c.name;  // filled with the figure names
    }
    EXPECT_EQ(lists, kPatternRows);
}

// An open-list row and the closed box (narrower and lower), at 100, 125 and 150 %.
TEST(OwnerDraw, ItemPictureAndNameShareTheItemAtEveryScaling) {
    for (unsigned dpi : {96u, 120u, 144u}) {
        const int s = static_cast<int>(dpi);
        const PixelRect items[] = {{0, 0, kFigureListWidth * s / 96, kFigureItemHeight * s / 96},
                                   {3, 40, 3 + 60 * s / 96, 40 + 15 * s / 96}};
        for (const PixelRect& item : items) {
            SCOPED_TRACE(std::to_string(dpi) + " dpi, item " +
                         std::to_string(item.right - item.left));
            const FigureItemLayout layout = LayoutFigureItem(item, dpi);
            EXPECT_TRUE(Inside({layout.picture.left, layout.picture.top}, item));
            EXPECT_TRUE(Inside({layout.picture.left + layout.picture.width,
                                layout.picture.top + layout.picture.height},
                               item));
            EXPECT_GE(layout.text.left, layout.picture.left + layout.picture.width);
            EXPECT_EQ(layout.text.right, item.right);
            // Centred: equal room above and below, to the pixel.
            const double above = layout.picture.top - item.top;
            const double below = item.bottom - (layout.picture.top + layout.picture.height);
            EXPECT_LE(std::abs(above - below), 1.0);
            // Every figure stays left of its name.
            const PixelRect pictureSide{item.left, item.top, layout.text.left, item.bottom};
            for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind)
                EXPECT_EQ(PaintedPointsOutside(FigureItemPicture(kind, item, dpi), pictureSide), 0u)
                    << kind;
        }
    }
}

// Drawn at the monitor's DPI, not stretched: the picture grows with the scaling.
TEST(OwnerDraw, PicturesAndPenGrowWithTheScaling) {
    const PixelRect row96{0, 0, kFigureListWidth, kFigureItemHeight};
    const PixelRect row144{0, 0, kFigureListWidth * 3 / 2, kFigureItemHeight * 3 / 2};
    const FigureItemLayout at96 = LayoutFigureItem(row96, 96),
                           at144 = LayoutFigureItem(row144, 144);
    EXPECT_NEAR(at144.picture.width, 1.5 * at96.picture.width, 1.0);
    EXPECT_NEAR(at144.picture.height, 1.5 * at96.picture.height, 1.0);
    EXPECT_EQ(PenWidth(96), 1);
    EXPECT_EQ(PenWidth(144), 2);
    EXPECT_EQ(PenWidth(192), 2);
}

TEST(OwnerDraw, AnItemWithoutFigureHasNoPicture) {
    EXPECT_TRUE(FigureItemPicture(-1, {0, 0, 100, 18}, 96).empty());
    EXPECT_FALSE(FigureItemPicture(0, {0, 0, 100, 18}, 96).empty());
}

TEST(OwnerDraw, BandDrawingStaysInsideTheBandsFrame) {
    PatternRow row;
    row.figureKind = 48;
    row.upperLine = 2;
    row.lowerLine = 1;
    for (unsigned dpi : {96u, 144u}) {
        const int s = static_cast<int>(dpi);
        const PixelRect band{0, 0, 755 * s / 96, 92 * s / 96};
        const PreviewBox area = PreviewArea(band, dpi);
        const PixelRect inside{static_cast<int>(area.left), static_cast<int>(area.top),
                               static_cast<int>(area.left + area.width),
                               static_cast<int>(area.top + area.height)};
        EXPECT_GT(area.left, band.left);
        const PreviewDrawing drawing = PreviewBandDrawing(row, {true, 0xFF}, band, dpi);
        EXPECT_FALSE(drawing.empty());
        EXPECT_EQ(PaintedPointsOutside(drawing, inside), 0u) << dpi;
    }
}

}  // namespace
}  // namespace tesra
