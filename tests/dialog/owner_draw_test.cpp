// The owner-drawn figure lists: which picture each item gets, and where.
#include "settings/dialog/owner_draw.h"

#include <gtest/gtest.h>

#include "figures/figures.h"
#include "painted_points.h"
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
                FigurePictures pictures;
                const PreviewDrawing drawn = FigureItemPicture(kind, item, dpi, pictures);
                EXPECT_EQ(drawn.empty(), kind < 0) << kind;
                EXPECT_EQ(PaintedPointsOutside(drawn, pictureSide), 0u) << kind;
            }
        }
    }
}

// The caption and the drawing side by side inside the frame, the corner of
// the sample path in the drawing's part.
TEST(OwnerDraw, BandCaptionAndDrawingShareTheFrame) {
    const PatternRow row{48, 10, 10, 0, 0, 1, 2, 0, 1};
    for (unsigned dpi : {96u, 120u, 144u}) {
        const int s = static_cast<int>(dpi);
        const PixelRect band{0, 0, 767 * s / 96, 92 * s / 96};
        const PixelRect caption = PreviewCaptionArea(band, dpi);
        const PreviewBox area = PreviewArea(band, dpi);
        EXPECT_GT(caption.left, band.left);
        EXPECT_GT(area.left, caption.right);
        EXPECT_LT(area.left + area.width, band.right);
        EXPECT_LT(area.top + area.height, band.bottom);
        const PreviewDrawing drawing = PreviewBandDrawing(row, {true, 0xFF}, band, dpi);
        ASSERT_FALSE(drawing.empty());
        const Point corner = drawing[0].points[1];
        PreviewPrimitive dot;
        dot.points = {corner};
        EXPECT_EQ(PaintedPointsOutside({dot}, area), 0u) << dpi;
    }
}

// Half-width characters 7 pixels wide, the others 13, as the dialog's font
// draws them at 100 %.
int FontWidth(std::string_view utf8) {
    int width = 0;
    for (const char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            width += 7;
        else if (b >= 0xC0)
            width += 13;
    }
    return width;
}

// The names the closed box used to cut inside a character, and the room it has.
TEST(OwnerDraw, FittedNamesKeepWholeCharactersAndTheirDistinguishingEnd) {
    const struct {
        std::string_view name;
        int room;
        std::string_view shown;
    } cases[] = {
        {"弓形2(上)", 60, "弓形2(上)"},
        {"弓形2(上)", 59, "弓…(上)"},
        {"弓形2(上)", 40, "弓…)"},
        {"◇＆＋", 39, "◇＆＋"},
        {"◇＆＋", 38, "…＋"},
        {"＼＼(塗)", 53, "＼＼(塗)"},
        {"＼＼(塗)", 46, "＼…塗)"},
        {"∠(左右反転)", 60, "∠…反転)"},
        {"六角形1(塗)", 60, "六…1(塗)"},
        {"六角形1(塗)", 50, "六…塗)"},
        {"六角形1(塗)", 20, "…)"},
        {"六角形1(塗)", 19, "六"},
        {"六角形1(塗)", 5, ""},
    };
    for (const auto& c : cases) {
        const std::string shown = FittedName(c.name, c.room, FontWidth);
        EXPECT_EQ(shown, c.shown) << c.name << " in " << c.room;
        EXPECT_LE(FontWidth(shown), c.room);
    }
}

// Captions and the chooser's status line break between words, never inside
// one; what still does not fit shows "…" and keeps its end.
TEST(OwnerDraw, LinesBreakOnlyBetweenWords) {
    const struct {
        std::string_view text;
        int width;
        std::vector<std::string> lines;
    } cases[] = {
        {"図形108(登録番号 108)", 300, {"図形108(登録番号 108)"}},
        {"図形108(登録番号 108)", 100, {"図形108", "(登録番号 108)"}},
        {"図形108(登録番号 108)", 80, {"図形108", "(登録番号", "108)"}},
        {"行3を表示中\nA: 植栽記号", 80, {"行3を表示中", "A: 植栽記号"}},
        {"行3を表示中\nA: 植栽記号", 60, {"行…示中", "A:", "植栽記号"}},
        {"植栽記号と高木", 60, {"植…高木"}},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> lines = UnbrokenLines(c.text, c.width, FontWidth);
        EXPECT_EQ(lines, c.lines) << c.text << " in " << c.width;
        for (const std::string& line : lines) EXPECT_LE(FontWidth(line), c.width) << line;
    }
}

// The closed box shows every figure's picture at every scaling, the name
// beside it drawn narrower as far as it must be and, past that, cut keeping
// its end, which tells a figure from its neighbours.
TEST(OwnerDraw, ClosedBoxShowsThePictureAndTheNamesEnd) {
    for (unsigned dpi : {96u, 120u, 144u}) {
        const int s = static_cast<int>(dpi);
        const PixelRect box{0, 0, 61 * s / 96, 17 * s / 96};  // the box less its arrow
        const PixelRect beside = LayoutFigureItem(box, dpi).text;
        auto scaled = [s](std::string_view t) { return FontWidth(t) * s / 96; };
        for (std::int32_t kind = 0; kind < kFigureKindCount; ++kind) {
            const std::string_view whole = FigureName(kind);
            const ClosedBoxItem item = LayoutClosedBoxItem(box, dpi, whole, scaled);
            SCOPED_TRACE(std::string(whole) + " at " + std::to_string(dpi));
            EXPECT_LE(scaled(item.name) * item.widthShare, beside.right - beside.left);
            EXPECT_GE(item.widthShare, kNarrowestName);
            EXPECT_TRUE(item.name == whole || item.widthShare == kNarrowestName);
            EXPECT_EQ(item.name.back(), whole.back());
            FigurePictures pictures;
            EXPECT_FALSE(FigureItemPicture(kind, box, dpi, pictures).empty());
        }
    }
}

}  // namespace
}  // namespace tesra
