#pragma once
// Where a ray first meets a set of path elements, for the toe search of the
// slope ticks over selections of up to 10^5 elements. Long lines that cross
// the whole drawing defeat a tree of boxes (every box holds the ray's start),
// so lines are filed in a uniform grid of cells they pass through, and a ray
// walks the cells in order from its start: the first cell in which a hit lies
// ends the search. Arcs, and lines too large for the grid, stay in an
// ElementTree beside it.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "figures/element_tree.h"
#include "geom/path.h"
#include "geom/point.h"

namespace tesra {

class RayGrid {
public:
    // The elements must outlive the grid.
    explicit RayGrid(std::span<const PathElement* const> elements);

    // The least t >= 0 at which `from + t * unit` meets an element, as RayHit
    // measures it.
    std::optional<double> FirstHit(Point from, Point unit) const;

private:
    struct CellRange {
        std::int64_t x0, x1, y0, y1;
    };
    std::int64_t Column(double x) const;
    std::int64_t Row(double y) const;
    // The cells a line may touch, column by column, within `margin`.
    template <class Visit>
    void ForEachCellOf(const PathElement& line, const Visit& visit) const;
    std::optional<double> WalkCells(Point from, Point unit) const;

    Point min_, max_;
    double cell_ = 1;
    std::int64_t columns_ = 0, rows_ = 0;
    std::vector<std::uint32_t> cellStart_;  // lines_ of cell c: [cellStart_[c], cellStart_[c + 1])
    std::vector<const PathElement*> lines_;
    std::vector<const PathElement*> others_;
    std::optional<ElementTree> tree_;  // over others_
};

}  // namespace tesra
