// The owner-drawn figure lists: which picture each item gets, and where.
#include "settings/dialog/owner_draw.h"

#include <gtest/gtest.h>

#include "figures/figures.h"
#include "settings/dialog/form_layout.h"
#include "settings/dialog/row_settings_area.h"
#include "settings/pattern_store.h"
#include "test_support.h"

namespace tesra {
namespace {

PreviewBox Box(PixelRect r) {
    return {static_cast<double>(r.left), static_cast<double>(r.top),
            static_cast<double>(r.right - r.left), static_cast<double>(r.bottom - r.top)};
}

TEST(OwnerDraw, TheFigureListsAndNothingElseShowPictures) {
    int lists = 0;
    for (const ControlEntry& c : FormControls()) {
        if (!ShowsFigurePictures(c.name)) continue;
        ++lists;
        EXPECT_EQ(c.kind, ControlKind::DropDown) << c.name;
        EXPECT_TRUE(c.items.empty()) << c.name;  // filled with the figure names
    }
    EXPECT_EQ(lists, kPatternRows + 1);  // and the second figure's below the band
    EXPECT_TRUE(ShowsFigurePictures(kSecondFigureList));
}

// An open-list row and the closed box (narrower and lower), at 100, 125 and
// 150 %: drawn at the monitor's DPI, not stretched, so picture and pen grow.
TEST(OwnerDraw, ItemPictureAndNameShareTheItemAtEveryScaling) {
    const FigureItemLayout at96 = LayoutFigureItem({0, 0, kFigureListWidth, kFigureItemHeight}, 96);
    EXPECT_EQ(PenWidth(192), 2);
    for (const auto& [dpi, pen] : {std::pair{96u, 1}, {120u, 1}, {144u, 2}}) {
        EXPECT_EQ(PenWidth(dpi), pen) << dpi;
        const int s = static_cast<int>(dpi);
        const PixelRect items[] = {{0, 0, kFigureListWidth * s / 96, kFigureItemHeight * s / 96},
                                   {3, 40, 3 + 60 * s / 96, 40 + 15 * s / 96}};
        const PreviewBox open = LayoutFigureItem(items[0], dpi).picture;
        EXPECT_NEAR(open.width, s / 96.0 * at96.picture.width, 1.0) << dpi;
        EXPECT_NEAR(open.height, s / 96.0 * at96.picture.height, 1.0) << dpi;
        for (const PixelRect& item : items) {
            SCOPED_TRACE(std::to_string(dpi) + " dpi, item " +
                         std::to_string(item.right - item.left));
            const FigureItemLayout layout = LayoutFigureItem(item, dpi);
            const PreviewBox& picture = layout.picture;
            EXPECT_TRUE(picture.left >= item.left &&
                        picture.left + picture.width <= layout.text.left);
            EXPECT_TRUE(picture.top >= item.top && picture.top + picture.height <= item.bottom);
            EXPECT_EQ(layout.text.right, item.right);
            // Centred: equal room above and below, to the pixel.
            const double above = picture.top - item.top;
            EXPECT_LE(std::abs(above - (item.bottom - picture.top - picture.height)), 1.0);
            // Every figure stays left of its name; an item without figure has no picture.
            const PreviewBox pictureSide =
                Box({item.left, item.top, layout.text.left, item.bottom});
            for (std::int32_t kind = -1; kind < kFigureKindCount; ++kind) {
                const PreviewDrawing drawn = FigureItemPicture(kind, item, dpi);
                EXPECT_EQ(drawn.empty(), kind < 0) << kind;
                EXPECT_EQ(PaintedPointsOutside(drawn, pictureSide), 0u) << kind;
            }
        }
    }
}

TEST(OwnerDraw, BandDrawingStaysInsideTheBandsFrame) {
    const PatternRow row{48, 10, 10, 0, 0, 1, 2, 0, 1};
    for (unsigned dpi : {96u, 144u}) {
        const int s = static_cast<int>(dpi);
        const PixelRect band{0, 0, 755 * s / 96, 92 * s / 96};
        const PreviewBox area = PreviewArea(band, dpi);
        EXPECT_GT(area.left, band.left);
        const PreviewDrawing drawing = PreviewBandDrawing(row, {true, 0xFF}, band, dpi);
        EXPECT_FALSE(drawing.empty());
        EXPECT_EQ(PaintedPointsOutside(drawing, area), 0u) << dpi;
    }
}

}  // namespace
}  // namespace tesra
