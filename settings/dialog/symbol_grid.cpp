// The symbol chooser's contents, built from the symbol library.
#include "settings/dialog/symbol_grid.h"

#include <algorithm>

namespace tesra {
namespace {

// At 96 dpi: the margin inside the highlight, and a line of the form's font.
constexpr int kCellPadding = 3;
constexpr int kNameLineHeight = 16;

std::size_t CharLength(std::string_view s, std::size_t at) {
    const auto lead = static_cast<unsigned char>(s[at]);
    const std::size_t n = lead < 0x80    ? 1
                          : lead >= 0xF0 ? 4
                          : lead >= 0xE0 ? 3
                          : lead >= 0xC0 ? 2
                                         : 1;
    return std::min(n, s.size() - at);
}

// The longest head of text, in whole characters, that fits width (one
// character at least, so that every line takes something).
std::size_t FittingHead(std::string_view text, int width, const TextWidth& widthOf) {
    std::size_t end = CharLength(text, 0);
    while (end < text.size()) {
        const std::size_t next = end + CharLength(text, end);
        if (widthOf(text.substr(0, next)) > width) break;
        end = next;
    }
    return end;
}

std::string_view WithoutLeadingSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

// Before a space or "（", after "・": where a name reads well when broken.
bool BreaksWell(std::string_view text, std::size_t at) {
    constexpr std::string_view kOpen = "（", kDot = "・";
    return text[at] == ' ' || text.substr(at).starts_with(kOpen) ||
           text.substr(0, at).ends_with(kDot);
}

// Where the next line ends: the last place within the line's room that
// breaks well and leaves a rest that fits the last line, else as many
// characters as fit.
std::size_t LineBreak(std::string_view text, int width, const TextWidth& widthOf) {
    const std::size_t head = FittingHead(text, width, widthOf);
    std::size_t cut = head;
    for (std::size_t at = CharLength(text, 0); at <= head && at < text.size();
         at += CharLength(text, at))
        if (BreaksWell(text, at) && widthOf(WithoutLeadingSpaces(text.substr(at))) <= width)
            cut = at;
    return cut;
}

}  // namespace

std::vector<std::string> SymbolNameLines(std::string_view name, int width,
                                         const TextWidth& widthOf) {
    std::vector<std::string> lines;
    std::string_view rest = name;
    while (!rest.empty() && widthOf(rest) > width &&
           static_cast<int>(lines.size()) + 1 < kSymbolNameLines) {
        const std::size_t cut = LineBreak(rest, width, widthOf);
        lines.emplace_back(rest.substr(0, cut));
        rest = WithoutLeadingSpaces(rest.substr(cut));
    }
    if (!rest.empty()) lines.push_back(FittedName(rest, width, widthOf));
    return lines;
}

SymbolCellParts LayOutSymbolCell(PixelRect cell, unsigned dpi) {
    const int pad = Scaled(kCellPadding, dpi);
    const int nameTop = cell.bottom - pad - kSymbolNameLines * Scaled(kNameLineHeight, dpi);
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
