#pragma once
// Path elements binned in a uniform grid, for the two questions the slope
// ticks ask thousands of times over selections of up to 10^5 elements: where
// a ray first meets them, and whether any comes nearer than a distance to a
// point. Elements whose box spans many cells are kept aside and asked always.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "geom/path.h"
#include "geom/point.h"

namespace tesra {

struct GridBounds {
    Point min{0, 0}, max{0, 0};
};

// The box holding every element (an arc's box from its ends and the extreme
// points it passes); a point's box when there is none.
GridBounds BoundsOf(std::span<const PathElement* const> elements);

// Distance from `p` to the element as drawn (an arc only where it sweeps).
double ElementDistance(const PathElement& e, Point p);

// The least t >= 0 at which `from + t * unit` meets the element; a ray lying
// along a line meets it where it first touches it.
std::optional<double> RayHit(const PathElement& e, Point from, Point unit);

class ElementGrid {
public:
    // The elements must outlive the grid; queries outside `bounds` still see
    // every element.
    ElementGrid(std::span<const PathElement* const> elements, GridBounds bounds);

    std::optional<double> FirstHit(Point from, Point unit) const;
    bool AnyNearerThan(Point p, double distance) const;

private:
    struct CellRange {
        std::size_t x0, y0, x1, y1;
    };
    CellRange CellsOf(Point lo, Point hi) const;
    std::size_t CellX(double x) const;
    std::size_t CellY(double y) const;
    const std::vector<const PathElement*>& Cell(std::size_t x, std::size_t y) const {
        return cells_[y * side_ + x];
    }
    std::optional<double> HitIn(const std::vector<const PathElement*>& cell, Point from, Point unit,
                                std::optional<double> best) const;

    std::span<const PathElement* const> elements_;
    GridBounds bounds_;
    std::size_t side_ = 1;
    double cellW_ = 1, cellH_ = 1;
    std::vector<std::vector<const PathElement*>> cells_;
    std::vector<const PathElement*> wide_;
};

}  // namespace tesra
