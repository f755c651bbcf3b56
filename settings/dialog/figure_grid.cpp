// The figure chooser's contents, layout and keyboard.
#include "settings/dialog/figure_grid.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

#include "figures/figures.h"

namespace tesra {
namespace {

// clang-format off
constexpr std::int32_t kLines[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 63};
constexpr std::int32_t kAngles[] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 67, 68, 69, 70,
                                    71, 72, 87, 88, 89, 90, 91, 92, 101, 102, 103, 104, 105, 106};
constexpr std::int32_t kTriangles[] = {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31};
constexpr std::int32_t kPolygons[] = {32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46};
constexpr std::int32_t kStars[] = {47, 48, 64};
constexpr std::int32_t kCircles[] = {49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62};
constexpr std::int32_t kBrackets[] = {65, 66};
constexpr std::int32_t kWaves[] = {73, 74, 75, 76, 77, 78};
constexpr std::int32_t kBows[] = {79, 80, 81, 82, 83, 84, 85, 86, 93, 94, 95, 96, 97, 98, 99, 100};

constexpr FigureFamily kFamilies[] = {
    {"線", kLines},         {"斜線・山形", kAngles}, {"三角形", kTriangles},
    {"多角形", kPolygons},  {"星", kStars},          {"円", kCircles},
    {"括弧", kBrackets},    {"波", kWaves},          {"弓形", kBows},
};
// clang-format on

constexpr bool EveryBuiltInKindOnce() {
    std::array<int, kFigureKindCount> seen{};
    for (const FigureFamily& family : kFamilies)
        for (const std::int32_t kind : family.kinds) {
            if (kind < 0 || kind >= kFigureKindCount) return false;
            ++seen[static_cast<std::size_t>(kind)];
        }
    return std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; });
}
static_assert(EveryBuiltInKindOnce());

// At 96 dpi.
constexpr int kInset = 4;
constexpr int kSectionGap = 5;  // a rule between families
// Two lines for the whole name (an own figure's name may be 40 full-width
// characters), one for the keys.
constexpr int kStatusHeight = 56;
constexpr int kPicturePadding = 4;

int FamilyOf(std::int32_t kind) {
    for (std::size_t f = 0; f < std::size(kFamilies); ++f)
        if (std::ranges::find(kFamilies[f].kinds, kind) != kFamilies[f].kinds.end())
            return static_cast<int>(f);
    return static_cast<int>(std::size(kFamilies));  // own and deleted figures
}

int CentreX(const PixelRect& r) { return (r.left + r.right) / 2; }

// The first cell of each section, and one past the last section.
std::vector<int> SectionStarts(const FigureGridContent& content) {
    std::vector<int> starts{0};
    for (const GridSection& section : content.sections)
        starts.push_back(starts.back() + static_cast<int>(section.cells.size()));
    return starts;
}

// The nearest cell, by its centre, in the row of cells above (step -1) or
// below (+1) the row of from; from itself when there is none.
int CellInNextRow(const FigureGridLayout& layout, int from, int step) {
    const PixelRect& at = layout.cells[static_cast<std::size_t>(from)];
    int rowTop = step < 0 ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    for (const PixelRect& r : layout.cells) {
        const bool beyond = step < 0 ? r.top < at.top : r.top > at.top;
        if (beyond) rowTop = step < 0 ? std::max(rowTop, r.top) : std::min(rowTop, r.top);
    }
    int best = from;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < layout.cells.size(); ++i) {
        if (layout.cells[i].top != rowTop) continue;
        const int distance = std::abs(CentreX(layout.cells[i]) - CentreX(at));
        if (distance < bestDistance) best = static_cast<int>(i), bestDistance = distance;
    }
    return best;
}

}  // namespace

std::span<const FigureFamily> BuiltInFigureFamilies() { return kFamilies; }

std::vector<const GridCell*> FigureGridContent::Cells() const {
    std::vector<const GridCell*> cells;
    for (const GridSection& section : sections)
        for (const GridCell& cell : section.cells) cells.push_back(&cell);
    return cells;
}

FigureGridContent GroupFigures(std::span<const GridCell> items, std::int32_t current) {
    std::vector<GridSection> sections(std::size(kFamilies) + 1);
    for (std::size_t f = 0; f < std::size(kFamilies); ++f) sections[f].title = kFamilies[f].title;
    sections.back().title = kOwnFiguresTitle;
    for (const GridCell& item : items)
        sections[static_cast<std::size_t>(FamilyOf(item.kind))].cells.push_back(item);
    // Within a family, in the order of the family's table.
    for (std::size_t f = 0; f < std::size(kFamilies); ++f) {
        auto rank = [&](const GridCell& c) {
            return std::ranges::find(kFamilies[f].kinds, c.kind) - kFamilies[f].kinds.begin();
        };
        std::ranges::stable_sort(sections[f].cells, {}, rank);
    }
    std::erase_if(sections, [](const GridSection& s) { return s.cells.empty(); });
    return {std::move(sections), current, true, {}};
}

int OpenedCell(const FigureGridContent& content, std::int32_t focusKind) {
    const std::vector<const GridCell*> cells = content.Cells();
    for (const std::int32_t kind : {focusKind, content.current}) {
        const auto at =
            std::ranges::find_if(cells, [kind](const GridCell* c) { return c->kind == kind; });
        if (at != cells.end()) return static_cast<int>(at - cells.begin());
    }
    return 0;
}

FigureGridLayout LayOutFigureGrid(const FigureGridContent& content, unsigned dpi, int maxHeight) {
    FigureGridLayout layout;
    const int inset = Scaled(kInset, dpi);
    const GridShape& shape = content.shape;
    const int columns = std::max(shape.columns, 1);
    const int cellW = Scaled(shape.cellWidth, dpi);
    const int cellH = Scaled(shape.cellHeight, dpi);
    const int cellsLeft = inset + Scaled(shape.titleWidth, dpi);
    layout.width = cellsLeft + columns * cellW + inset;
    int top = inset;
    for (std::size_t s = 0; s < content.sections.size(); ++s) {
        if (s > 0) {
            const int gap = Scaled(kSectionGap, dpi);
            layout.rules.push_back(top + gap / 2);
            top += gap;
        }
        layout.titles.push_back({inset, top, cellsLeft, top + cellH});
        const int count = static_cast<int>(content.sections[s].cells.size());
        for (int i = 0; i < count; ++i) {
            const int left = cellsLeft + (i % columns) * cellW;
            const int cellTop = top + (i / columns) * cellH;
            layout.cells.push_back({left, cellTop, left + cellW, cellTop + cellH});
        }
        top += (count + columns - 1) / columns * cellH;
    }
    layout.contentHeight = top + inset;
    const int statusHeight = Scaled(kStatusHeight, dpi);
    // At least two rows of cells stay in view however little room there is.
    const int leastView = std::min(layout.contentHeight, 2 * cellH + 2 * inset);
    layout.viewHeight =
        std::clamp(maxHeight - statusHeight, leastView, std::max(layout.contentHeight, leastView));
    layout.status = {inset, layout.viewHeight, layout.width - inset,
                     layout.viewHeight + statusHeight};
    return layout;
}

int MoveInGrid(const FigureGridContent& content, const FigureGridLayout& layout, int from,
               GridKey key) {
    const int count = static_cast<int>(layout.cells.size());
    if (count == 0) return -1;
    from = std::clamp(from, 0, count - 1);
    const std::vector<int> starts = SectionStarts(content);
    // The section from lies in: the last start not after it.
    const auto section = std::ranges::upper_bound(starts, from) - starts.begin() - 1;
    switch (key) {
        case GridKey::Left: return std::max(from - 1, 0);
        case GridKey::Right: return std::min(from + 1, count - 1);
        case GridKey::Up: return CellInNextRow(layout, from, -1);
        case GridKey::Down: return CellInNextRow(layout, from, +1);
        case GridKey::Home: return 0;
        case GridKey::End: return count - 1;
        case GridKey::PageUp:
            // In a family's first cell, to the previous family's; else to its own first.
            if (starts[static_cast<std::size_t>(section)] == from && section > 0)
                return starts[static_cast<std::size_t>(section - 1)];
            return starts[static_cast<std::size_t>(section)];
        case GridKey::PageDown:
            return section + 2 < static_cast<std::ptrdiff_t>(starts.size())
                       ? starts[static_cast<std::size_t>(section + 1)]
                       : count - 1;
    }
    return from;
}

// Square, centred in the cell: the picture's own shape.
PreviewBox GridPictureBox(PixelRect cell, unsigned dpi) {
    const int pad = Scaled(kPicturePadding, dpi);
    const int side =
        std::max(std::min(cell.right - cell.left, cell.bottom - cell.top) - 2 * pad, 1);
    return {(cell.left + cell.right - side) / 2.0, (cell.top + cell.bottom - side) / 2.0,
            static_cast<double>(side), static_cast<double>(side)};
}

int CellAt(const FigureGridLayout& layout, int x, int y) {
    for (std::size_t i = 0; i < layout.cells.size(); ++i) {
        const PixelRect& r = layout.cells[i];
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return static_cast<int>(i);
    }
    return -1;
}

int ClampScroll(const FigureGridLayout& layout, int scrollTop) {
    return std::clamp(scrollTop, 0, std::max(layout.contentHeight - layout.viewHeight, 0));
}

int ScrollToShow(const FigureGridLayout& layout, int cell, int scrollTop) {
    if (cell < 0 || cell >= static_cast<int>(layout.cells.size()))
        return ClampScroll(layout, scrollTop);
    const PixelRect& r = layout.cells[static_cast<std::size_t>(cell)];
    // The first row scrolls to the very top, with the margin above it.
    if (r.top < scrollTop) scrollTop = r.top == layout.cells.front().top ? 0 : r.top;
    if (r.bottom > scrollTop + layout.viewHeight) scrollTop = r.bottom - layout.viewHeight;
    return ClampScroll(layout, scrollTop);
}

std::string GridStatusName(const GridCell& cell, bool numbersOwn) {
    if (!cell.own || !numbersOwn) return cell.name;
    return cell.name + "(登録番号 " + std::to_string(cell.kind) + ")";
}

std::string GridStatusKeys(const GridCell& cell, bool ownEditable) {
    std::string keys = "Enter: 選ぶ　Esc: 閉じる";
    if (!cell.own || !cell.drawn) return keys;
    if (!ownEditable) return keys + "　(図形ファイルが書けないため名前の変更と削除はできません)";
    return keys + "　F2: 名前の変更　Delete: 削除";
}

}  // namespace tesra
