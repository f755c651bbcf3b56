#pragma once
// The symbol chooser's contents: every symbol of the library as a cell of the
// figure grid's kind (the grid's window, layout and keys serve it as they
// are), a cell's number being the symbol's place in the library. A symbol
// that draws an own figure the figure library lacks says so in its name.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "figures/own_figures.h"
#include "settings/dialog/figure_grid.h"
#include "settings/dialog/preview.h"
#include "settings/symbol_library.h"

namespace tesra {

inline constexpr std::string_view kSymbolsTitle = "記号";
// Cells of about the figure grid's shape, five to a row: the shipped
// symbols show without scrolling. A symbol's picture is a short band, its
// name beneath on up to two lines.
inline constexpr GridShape kSymbolGridShape{5, 112, 84, 40};
inline constexpr int kSymbolNameLines = 2;

// Where a symbol cell's picture and name go, inside its highlight.
struct SymbolCellParts {
    PreviewBox picture;
    PixelRect name;
};
SymbolCellParts LayOutSymbolCell(PixelRect cell, unsigned dpi);

// A symbol's name on at most kSymbolNameLines lines of width pixels. Japanese
// breaks between any two characters, but a name breaks before its "（" when
// both parts then fit; a name still too long is shortened on its last line
// with "…", as the figure lists shorten names.
std::vector<std::string> SymbolNameLines(std::string_view name, int width,
                                         const TextWidth& widthOf);

struct SymbolGridContent {
    FigureGridContent grid;
    // The row each cell's picture draws, in cell order.
    std::vector<PatternRow> rows;
};

// fromCp932: the platform's conversion of the library's names to UTF-8.
// editable: the file may be written (rename and delete are offered).
SymbolGridContent SymbolGridOf(const SymbolLibrary& library, const OwnFigureSet& ownFigures,
                               std::string (*fromCp932)(void* context, std::string_view cp932),
                               void* context, bool editable);

// The cell's name: the symbol's, then what it needs and the figure library lacks.
std::string SymbolCellName(const Symbol& symbol, const OwnFigureSet& ownFigures,
                           std::string_view nameUtf8);

}  // namespace tesra
