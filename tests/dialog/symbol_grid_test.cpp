// The symbol chooser's cells: wide enough for a band, its picture above its
// name, at every scaling.
#include "settings/dialog/symbol_grid.h"

#include <gtest/gtest.h>

namespace tesra {
namespace {

bool Inside(const PixelRect& inner, const PixelRect& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

TEST(SymbolGrid, EachCellHoldsABandAboveItsName) {
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
            EXPECT_GT(p.width, 3 * p.height);  // a band, not a figure's square
        }
    }
}

}  // namespace
}  // namespace tesra
