// The symbol chooser's contents, built from the symbol library.
#include "settings/dialog/symbol_grid.h"

namespace tesra {

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
    return content;
}

}  // namespace tesra
