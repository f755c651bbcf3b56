// The pens as the dialog shows them: each host number its own look, every
// colour visible on the band's white, and the preview giving each part its pen.
#include "settings/dialog/pen_look.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "figures/pen_target.h"
#include "settings/dialog/preview.h"

namespace tesra {
namespace {

constexpr PreviewBox kBand{108.0, 320.0, 663.0, 88.0};

// Numbers the host does not have read as the current pen, as in the output.
TEST(PenLook, OnlyTheHostsNumbersHaveALookOfTheirOwn) {
    for (const std::int32_t n : {-1, 0, 1, 2, kMostPenColor, kMostPenColor + 1, 255}) {
        SCOPED_TRACE(n);
        const bool known = n >= 1 && n <= kMostPenColor;
        EXPECT_EQ(LookOfPen({n, kCurrentPen}).bgr.has_value(), known);
        const bool dashed = n >= 2 && n <= kMostPenLineType;  // 1 is 実線
        EXPECT_EQ(!LookOfPen({kCurrentPen, n}).dashes.empty(), dashed);
    }
}

TEST(PenLook, EveryColourStandsApartAndShowsOnWhite) {
    std::set<std::int32_t> seen;
    for (std::int32_t lc = 1; lc <= kMostPenColor; ++lc) {
        SCOPED_TRACE(lc);
        const std::int32_t bgr = *LookOfPen({lc, kCurrentPen}).bgr;
        EXPECT_TRUE(seen.insert(bgr).second);
        const int r = bgr & 0xFF, g = (bgr >> 8) & 0xFF, b = (bgr >> 16) & 0xFF;
        EXPECT_LT(299 * r + 587 * g + 114 * b, 200 * 1000);  // luma well below white
    }
}

// A pattern is whole dash-gap pairs of visible lengths; no two types alike;
// the chains have their dots.
TEST(PenLook, EveryLineTypeIsADistinctWholePattern) {
    std::set<std::vector<int>> seen;
    for (std::int32_t lt = 2; lt <= kMostPenLineType; ++lt) {
        SCOPED_TRACE(lt);
        const auto dashes = LookOfPen({kCurrentPen, lt}).dashes;
        EXPECT_EQ(dashes.size() % 2, 0u);
        for (const int d : dashes) EXPECT_GE(d, 1);
        EXPECT_TRUE(seen.insert({dashes.begin(), dashes.end()}).second);
        const bool chain = lt >= 5 && lt <= 8;  // 一点鎖, 二点鎖
        EXPECT_EQ(dashes.size() > 2, chain);
    }
}

// The band draws each part in the pen its row sets; the sample path beneath
// and a row without pens of its own keep the current pen.
TEST(PenLook, ThePreviewGivesEachPartItsPen) {
    PatternRow row{.figureKind = 49, .width = 3, .height = 2, .upperLine = 1, .lowerLine = 1};
    const RowPen figures{3, 2}, upper{8, 5};
    row.figureColor = figures.color, row.figureLineType = figures.lineType;
    row.upperColor = upper.color, row.upperLineType = upper.lineType;
    struct Case {
        const char* what;
        PatternRow row;
        std::set<std::pair<int, int>> pens;  // of the primitives drawn in the pen ink
    };
    const Case cases[] = {
        {"own pens", row, {{3, 2}, {8, 5}, {0, 0}}},  // the lower line keeps the current pen
        {"no pens",
         PatternRow{.figureKind = 49, .width = 3, .height = 2, .upperLine = 1},
         {{0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::set<std::pair<int, int>> pens;
        for (const PreviewPrimitive& p : PatternPreview(c.row, {}, kBand)) {
            if (p.ink == PreviewInk::Pen)
                pens.insert({p.pen.color, p.pen.lineType});
            else
                EXPECT_EQ(p.pen, RowPen{});
        }
        EXPECT_EQ(pens, c.pens);
    }
}

}  // namespace
}  // namespace tesra
