// The symbol chooser's contents, built from the symbol library.
#include "settings/dialog/symbol_grid.h"

#include <algorithm>

namespace tesra {
namespace {

// At 96 dpi: the margin inside the highlight, and a line of the form's font.
constexpr int kCellPadding = 3;
constexpr int kNameHeight = 16;

}  // namespace

SymbolCellParts LayOutSymbolCell(PixelRect cell, unsigned dpi) {
    const int pad = Scaled(kCellPadding, dpi);
    const int nameTop = cell.bottom - pad - Scaled(kNameHeight, dpi);
    const int pictureBottom = std::max(nameTop - pad, cell.top + pad + 1);
    const double width = std::max(cell.right - cell.left - 2 * pad, 1);
    return {{static_cast<double>(cell.left + pad), static_cast<double>(cell.top + pad), width,
             static_cast<double>(pictureBottom - cell.top - pad)},
            {cell.left + pad, nameTop, cell.right - pad, cell.bottom - pad}};
}

std::string SymbolCellName(const Symbol& symbol, const OwnFigureSet& ownFigures,
                           std::string_view nameUtf8) {
    std::string name(nameUtf8);
    for (const NeededFigure& need : symbol.needs)
        if (!ownFigures.Find(need.kind))
            name += "（要: 登録図形 " + std::to_string(need.kind) + "）";
    return name;
}

SymbolGridContent SymbolGridOf(const SymbolLibrary& library, const OwnFigureSet& ownFigures,
                               std::string (*fromCp932)(void* context, std::string_view cp932),
                               void* context, bool editable) {
    SymbolGridContent content;
    GridSection section{std::string(kSymbolsTitle), {}};
    section.cells.reserve(library.symbols.size());
    content.rows.reserve(library.symbols.size());
    for (std::size_t i = 0; i < library.symbols.size(); ++i) {
        const Symbol& s = library.symbols[i];
        const std::string name = SymbolCellName(s, ownFigures, fromCp932(context, s.name));
        section.cells.push_back({static_cast<std::int32_t>(i), name, editable, true});
        content.rows.push_back(s.row);
    }
    if (!section.cells.empty()) content.grid.sections.push_back(std::move(section));
    content.grid.ownEditable = editable;
    content.grid.shape = kSymbolGridShape;
    content.grid.numbersOwn = false;
    return content;
}

}  // namespace tesra
