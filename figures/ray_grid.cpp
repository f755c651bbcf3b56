// Lines in a uniform grid, walked along a ray: see ray_grid.h.
#include "figures/ray_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geom/helpers.h"

namespace tesra {
namespace {

// Filings of lines in cells, per line on average, the grid is sized for: a
// finer grid asks fewer lines per cell, at this much memory at most.
constexpr double kFilingsPerLine = 30;
// Cells along a side at most, whatever the spread of the lines.
constexpr double kMostCellsPerSide = 4096;

bool IsFiniteLine(const PathElement& e) {
    return e.shape == PathElement::Shape::Line && AllFinite({e.a.x, e.a.y, e.b.x, e.b.y}) &&
           std::isfinite(e.b.x - e.a.x) && std::isfinite(e.b.y - e.a.y);
}

std::optional<double> Nearer(std::optional<double> a, std::optional<double> b) {
    if (!a) return b;
    if (!b) return a;
    return std::min(*a, *b);
}

// The part [t0, t1] of the ray inside the box, if any.
std::optional<std::pair<double, double>> Clip(Point lo, Point hi, Point from, Point unit) {
    double t0 = 0, t1 = std::numeric_limits<double>::infinity();
    const double o[2] = {from.x, from.y}, d[2] = {unit.x, unit.y};
    const double l[2] = {lo.x, lo.y}, h[2] = {hi.x, hi.y};
    for (int k = 0; k < 2; ++k) {
        if (d[k] == 0) {
            if (o[k] < l[k] || o[k] > h[k]) return std::nullopt;
            continue;
        }
        double a = (l[k] - o[k]) / d[k], b = (h[k] - o[k]) / d[k];
        if (a > b) std::swap(a, b);
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
    }
    if (t0 > t1) return std::nullopt;
    return std::pair{t0, t1};
}

}  // namespace

RayGrid::RayGrid(std::span<const PathElement* const> elements) {
    double spread = 0;
    min_ = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    max_ = -1 * min_;
    for (const PathElement* e : elements) {
        if (!IsFiniteLine(*e)) {
            others_.push_back(e);
            continue;
        }
        lines_.push_back(e);
        for (Point p : {e->a, e->b}) {
            min_ = {std::min(min_.x, p.x), std::min(min_.y, p.y)};
            max_ = {std::max(max_.x, p.x), std::max(max_.y, p.y)};
        }
        spread += std::fabs(e->b.x - e->a.x) + std::fabs(e->b.y - e->a.y);
    }
    const double w = max_.x - min_.x, h = max_.y - min_.y, side = std::max(w, h);
    if (!std::isfinite(side)) {  // no cell size spans that: the tree takes them all
        others_.insert(others_.end(), lines_.begin(), lines_.end());
        lines_.clear();
    }
    if (!others_.empty()) tree_.emplace(others_);
    if (lines_.empty()) return;
    const double n = static_cast<double>(lines_.size());
    const double even = w > 0 && h > 0 ? std::sqrt(w * h / n) : side / n;
    cell_ = std::max({even, spread / (kFilingsPerLine * n), side / kMostCellsPerSide});
    if (!(cell_ > 0)) cell_ = std::max(1.0, side);
    columns_ = static_cast<std::int64_t>(std::floor(w / cell_)) + 1;
    rows_ = static_cast<std::int64_t>(std::floor(h / cell_)) + 1;
    // Counted first, then filed: one array for every cell's lines.
    std::vector<std::uint32_t> count(static_cast<std::size_t>(columns_ * rows_) + 1, 0);
    for (const PathElement* e : lines_) ForEachCellOf(*e, [&](std::size_t c) { ++count[c + 1]; });
    for (std::size_t c = 1; c < count.size(); ++c) count[c] += count[c - 1];
    cellStart_ = count;
    std::vector<const PathElement*> filed(count.back());
    for (const PathElement* e : lines_)
        ForEachCellOf(*e, [&](std::size_t c) { filed[count[c]++] = e; });
    lines_ = std::move(filed);
}

namespace {

// The cell index of a place, within [0, count); a place that is not a number
// falls in the first.
std::int64_t CellIndex(double offset, double cell, std::int64_t count) {
    const double i = std::floor(offset / cell);
    if (!(i > 0)) return 0;
    return i >= static_cast<double>(count - 1) ? count - 1 : static_cast<std::int64_t>(i);
}

}  // namespace

std::int64_t RayGrid::Column(double x) const { return CellIndex(x - min_.x, cell_, columns_); }

std::int64_t RayGrid::Row(double y) const { return CellIndex(y - min_.y, cell_, rows_); }

// Column by column, the rows between the line's heights at the column's
// sides, widened by a margin far above rounding so that a line along a cell
// side is filed on both sides of it.
template <class Visit>
void RayGrid::ForEachCellOf(const PathElement& line, const Visit& visit) const {
    const double margin = 1e-9 * cell_ + kSameEps;
    const Point a = line.a.x <= line.b.x ? line.a : line.b;
    const Point b = line.a.x <= line.b.x ? line.b : line.a;
    const std::int64_t first = Column(a.x - margin), last = Column(b.x + margin);
    for (std::int64_t col = first; col <= last; ++col) {
        const double x0 = std::max(a.x, min_.x + static_cast<double>(col) * cell_);
        const double x1 = std::min(b.x, min_.x + static_cast<double>(col + 1) * cell_);
        double y0 = a.y, y1 = b.y;
        if (b.x > a.x) {
            const double slope = (b.y - a.y) / (b.x - a.x);
            y0 = a.y + slope * (std::clamp(x0, a.x, b.x) - a.x);
            y1 = a.y + slope * (std::clamp(x1, a.x, b.x) - a.x);
            if (!std::isfinite(y0) || !std::isfinite(y1)) y0 = a.y, y1 = b.y;  // nearly upright
        }
        const std::int64_t r0 = Row(std::min(y0, y1) - margin);
        const std::int64_t r1 = Row(std::max(y0, y1) + margin);
        for (std::int64_t row = r0; row <= r1; ++row)
            visit(static_cast<std::size_t>(row * columns_ + col));
    }
}

// Cell after cell along the ray (a digital differential analyser); the
// search ends in the first cell where a hit lies before the ray leaves it.
std::optional<double> RayGrid::WalkCells(Point from, Point unit) const {
    if (lines_.empty()) return std::nullopt;
    const Point hi =
        min_ + Point{static_cast<double>(columns_) * cell_, static_cast<double>(rows_) * cell_};
    const auto inside = Clip(min_, hi, from, unit);
    if (!inside) return std::nullopt;
    const Point start = from + inside->first * unit;
    std::int64_t col = Column(start.x), row = Row(start.y);
    const std::int64_t stepX = unit.x > 0 ? 1 : -1, stepY = unit.y > 0 ? 1 : -1;
    const auto nextSide = [&](double o, double d, std::int64_t i, double base) {
        if (d == 0) return std::numeric_limits<double>::infinity();
        const double side = base + static_cast<double>(d > 0 ? i + 1 : i) * cell_;
        return (side - o) / d;
    };
    const double stepTx = unit.x != 0 ? cell_ / std::fabs(unit.x) : 0;
    const double stepTy = unit.y != 0 ? cell_ / std::fabs(unit.y) : 0;
    double tx = nextSide(from.x, unit.x, col, min_.x), ty = nextSide(from.y, unit.y, row, min_.y);
    std::optional<double> best;
    while (col >= 0 && col < columns_ && row >= 0 && row < rows_) {
        const auto c = static_cast<std::size_t>(row * columns_ + col);
        for (std::uint32_t i = cellStart_[c]; i < cellStart_[c + 1]; ++i)
            best = Nearer(best, RayHit(*lines_[i], from, unit));
        const double leave = std::min(tx, ty);
        if (best && *best <= leave + kSameEps) return best;
        if (leave > inside->second + cell_) break;
        if (tx < ty) {
            col += stepX;
            tx += stepTx;
        } else {
            row += stepY;
            ty += stepTy;
        }
    }
    return best;
}

std::optional<double> RayGrid::FirstHit(Point from, Point unit) const {
    const std::optional<double> line = WalkCells(from, unit);
    return tree_ ? Nearer(line, tree_->FirstHit(from, unit)) : line;
}

}  // namespace tesra
