// The symbol chooser's cells: a picture above a name of up to two lines, at
// every scaling; the shipped symbols' pictures fitted into their cells.
#include "settings/dialog/symbol_grid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "test_support.h"

namespace tesra {
namespace {

bool Inside(const PixelRect& inner, const PixelRect& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

TEST(SymbolGrid, EachCellHoldsAPictureAboveItsName) {
    SymbolLibrary library;
    library.symbols.resize(9);
    const SymbolGridContent content = SymbolGridOf(
        library, {}, [](void*, std::string_view s) { return std::string(s); }, nullptr, true);
    for (const unsigned dpi : {96u, 120u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        const FigureGridLayout layout = LayOutFigureGrid(content.grid, dpi, 10000);
        ASSERT_EQ(layout.cells.size(), 9u);
        EXPECT_EQ(layout.cells[kSymbolGridShape.columns].top, layout.cells[0].bottom);
        for (const PixelRect& cell : layout.cells) {
            const SymbolCellParts parts = LayOutSymbolCell(cell, dpi);
            const PreviewBox& p = parts.picture;
            const PixelRect picture{static_cast<int>(p.left), static_cast<int>(p.top),
                                    static_cast<int>(p.left + p.width),
                                    static_cast<int>(p.top + p.height)};
            EXPECT_TRUE(Inside(picture, cell));
            EXPECT_TRUE(Inside(parts.name, cell));
            EXPECT_LE(picture.bottom, parts.name.top);
        }
    }
}

SymbolGridContent ShippedSymbolsGrid(SymbolLibrary& library) {
    library = ParseSymbolLibrary(test::ReadBytes(TESRA_SHIPPED_SYMBOLS));
    return SymbolGridOf(
        library, {}, [](void*, std::string_view s) { return std::string(s); }, nullptr, true);
}

// On a 1024 x 768 screen at 100 %, and as much larger as the scaling, the
// shipped symbols show at once, whether the chooser opens above or below.
TEST(SymbolGrid, TheShippedSymbolsShowWithoutScrolling) {
    SymbolLibrary library;
    const SymbolGridContent content = ShippedSymbolsGrid(library);
    ASSERT_GE(library.symbols.size(), 12u);
    for (const unsigned dpi : {96u, 120u, 144u}) {
        SCOPED_TRACE(dpi);
        const FigureGridLayout layout = LayOutFigureGrid(content.grid, dpi, Scaled(384, dpi));
        EXPECT_LE(layout.contentHeight, layout.viewHeight);
        EXPECT_LE(layout.width, Scaled(800, dpi));
    }
}

// Every shipped symbol's picture: inside its box, as large as the box allows
// (it reaches across the box or from its top to its bottom), and along one
// straight stretch: the guides beneath it are level, with no corner turned.
TEST(SymbolGrid, EveryShippedPictureFillsItsBoxAlongAStraightStretch) {
    SymbolLibrary library;
    const SymbolGridContent content = ShippedSymbolsGrid(library);
    for (const PreviewBox box :
         {PreviewBox{3, 3, 106, 43}, PreviewBox{50, 20, 133, 54}, PreviewBox{0, 0, 160, 65}}) {
        for (std::size_t i = 0; i < content.rows.size(); ++i) {
            SCOPED_TRACE(::testing::Message() << "symbol " << i << " box " << box.width);
            const PreviewDrawing picture = SymbolPicture(content.rows[i], box);
            Point low, high;
            ASSERT_TRUE(DrawingExtent(picture, low, high));
            EXPECT_GE(low.x, box.left);
            EXPECT_GE(low.y, box.top);
            EXPECT_LE(high.x, box.left + box.width);
            EXPECT_LE(high.y, box.top + box.height);
            const bool fillsWidth = high.x - low.x > box.width - 2 * 4.0;
            const bool fillsHeight = high.y - low.y > box.height - 2 * 4.0;
            EXPECT_TRUE(fillsWidth || fillsHeight);
            for (const PreviewPrimitive& p : picture) {
                if (p.ink == PreviewInk::Guide && p.shape == PreviewPrimitive::Shape::Segment) {
                    EXPECT_NEAR(p.points[0].y, p.points[1].y, 1e-9);
                }
            }
        }
    }
}

// Names measured as 12 pixels a character, in a cell 8 characters wide.
TEST(SymbolGrid, NamesTakeAtMostTwoLines) {
    const TextWidth widthOf = [](std::string_view t) {
        int characters = 0;
        for (const char c : t) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return 12 * characters;
    };
    struct Case {
        const char* name;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"柵（例）", {"柵（例）"}},
        {"境界（一点鎖線）", {"境界（一点鎖線）"}},
        {"敷地境界（二点鎖線）", {"敷地境界", "（二点鎖線）"}},
        // The part in brackets is too long for a line of its own.
        {"被覆（コンクリート被覆）", {"被覆（コンクリー", "ト被覆）"}},
        {"ブロック・石積被覆", {"ブロック・", "石積被覆"}},
        {"fence of posts", {"fence of", "posts"}},
        {"fence of many posts", {"fence of", "m… posts"}},
        {"あいうえおかきくけこさしすせそたちつ", {"あいうえおかきく", "け…すせそたちつ"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> lines = SymbolNameLines(c.name, 96, widthOf);
        EXPECT_EQ(lines, c.lines);
        for (const std::string& line : lines) EXPECT_LE(widthOf(line), 96);
    }
}

}  // namespace
}  // namespace tesra
