// A uniform grid over path elements: see element_grid.h.
#include "figures/element_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geom/helpers.h"

namespace tesra {
namespace {

constexpr std::size_t kMaxSide = 1024;
// An element whose box covers more cells than this is asked on every query:
// cheaper than listing it in every cell (a long toe line crosses them all).
constexpr std::size_t kWideCells = 64;
// Angles this close past an arc's ends still fall on it: rounding of atan2.
constexpr double kAngleSlack = 1e-12;

double Cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }
double Dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }

bool AngleOnArc(const PathElement& e, double angle) {
    if (IsFullCircle(e)) return true;
    double d = std::fmod((angle - e.startRad) * (e.sweepRad < 0 ? -1.0 : 1.0), kTwoPi);
    if (d < 0) d += kTwoPi;
    return d <= std::fabs(e.sweepRad) + kAngleSlack || d >= kTwoPi - kAngleSlack;
}

void Include(GridBounds& b, Point p) {
    b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y)};
    b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y)};
}

GridBounds BoxOf(const PathElement& e) {
    GridBounds b{e.a, e.a};
    Include(b, e.b);
    if (e.shape == PathElement::Shape::Arc) {
        const Point extremes[] = {{e.radius, 0}, {0, e.radius}, {-e.radius, 0}, {0, -e.radius}};
        for (int k = 0; k < 4; ++k)
            if (AngleOnArc(e, k * kPi / 2)) Include(b, e.centre + extremes[k]);
    }
    b.min = b.min - Point{kSameEps, kSameEps};
    b.max = b.max + Point{kSameEps, kSameEps};
    return b;
}

std::optional<double> LineHit(const PathElement& e, Point from, Point unit) {
    const Point d = e.b - e.a;
    const double denom = Cross(unit, d);
    const Point w = e.a - from;
    if (std::fabs(denom) <= kTinyEps * std::sqrt(Dot(d, d))) {
        // Parallel: a hit only when the ray runs along the line itself.
        if (std::fabs(Cross(w, unit)) > kSameEps) return std::nullopt;
        const double ta = Dot(w, unit), tb = Dot(e.b - from, unit);
        if (std::max(ta, tb) < 0) return std::nullopt;
        return std::max(0.0, std::min(ta, tb));
    }
    const double t = Cross(w, d) / denom;
    const double s = Cross(w, unit) / denom;
    if (t < -kSameEps || s < -kTinyEps || s > 1 + kTinyEps) return std::nullopt;
    return std::max(0.0, t);
}

std::optional<double> ArcHit(const PathElement& e, Point from, Point unit) {
    const Point f = from - e.centre;
    const double b = Dot(f, unit);
    const double c = Dot(f, f) - e.radius * e.radius;
    const double disc = b * b - c;
    if (disc < 0) return std::nullopt;
    // The root without cancellation first, the other from the product c.
    const double q = -b - std::copysign(std::sqrt(disc), b);
    double t1 = q, t2 = q != 0 ? c / q : 0;
    if (t1 > t2) std::swap(t1, t2);
    for (const double t : {t1, t2}) {
        if (t < -kSameEps) continue;
        const Point at = f + t * unit;
        if (AngleOnArc(e, std::atan2(at.y, at.x))) return std::max(0.0, t);
    }
    return std::nullopt;
}

std::optional<double> Nearer(std::optional<double> a, std::optional<double> b) {
    if (!a) return b;
    if (!b) return a;
    return std::min(*a, *b);
}

}  // namespace

GridBounds BoundsOf(std::span<const PathElement* const> elements) {
    if (elements.empty()) return {};
    GridBounds b = BoxOf(*elements.front());
    for (const PathElement* e : elements) {
        const GridBounds box = BoxOf(*e);
        Include(b, box.min);
        Include(b, box.max);
    }
    return b;
}

double ElementDistance(const PathElement& e, Point p) {
    if (e.shape == PathElement::Shape::Line) {
        const Point d = e.b - e.a;
        const double len2 = Dot(d, d);
        const double s = len2 > 0 ? std::clamp(Dot(p - e.a, d) / len2, 0.0, 1.0) : 0.0;
        return Distance(p, e.a + s * d);
    }
    const Point f = p - e.centre;
    if (AngleOnArc(e, std::atan2(f.y, f.x)))
        return std::fabs(std::sqrt(Dot(f, f)) - e.radius);
    return std::min(Distance(p, e.a), Distance(p, e.b));
}

std::optional<double> RayHit(const PathElement& e, Point from, Point unit) {
    return e.shape == PathElement::Shape::Line ? LineHit(e, from, unit) : ArcHit(e, from, unit);
}

ElementGrid::ElementGrid(std::span<const PathElement* const> elements, GridBounds bounds)
    : elements_(elements), bounds_(bounds) {
    const double w = bounds.max.x - bounds.min.x, h = bounds.max.y - bounds.min.y;
    if (std::isfinite(w) && std::isfinite(h)) {
        const auto root = static_cast<std::size_t>(std::ceil(std::sqrt(elements.size())));
        side_ = std::clamp<std::size_t>(root, 1, kMaxSide);
        cellW_ = w > 0 ? w / static_cast<double>(side_) : 1;
        cellH_ = h > 0 ? h / static_cast<double>(side_) : 1;
    }
    cells_.resize(side_ * side_);
    for (const PathElement* e : elements) {
        const GridBounds box = BoxOf(*e);
        const CellRange r = CellsOf(box.min, box.max);
        if ((r.x1 - r.x0 + 1) * (r.y1 - r.y0 + 1) > kWideCells) {
            wide_.push_back(e);
            continue;
        }
        for (std::size_t y = r.y0; y <= r.y1; ++y)
            for (std::size_t x = r.x0; x <= r.x1; ++x) cells_[y * side_ + x].push_back(e);
    }
}

std::size_t ElementGrid::CellX(double x) const {
    const double v = std::floor((x - bounds_.min.x) / cellW_);
    if (!(v > 0)) return 0;
    return std::min(side_ - 1, static_cast<std::size_t>(std::min(v, double(kMaxSide))));
}

std::size_t ElementGrid::CellY(double y) const {
    const double v = std::floor((y - bounds_.min.y) / cellH_);
    if (!(v > 0)) return 0;
    return std::min(side_ - 1, static_cast<std::size_t>(std::min(v, double(kMaxSide))));
}

ElementGrid::CellRange ElementGrid::CellsOf(Point lo, Point hi) const {
    return {CellX(lo.x), CellY(lo.y), CellX(hi.x), CellY(hi.y)};
}

std::optional<double> ElementGrid::HitIn(const std::vector<const PathElement*>& cell, Point from,
                                         Point unit, std::optional<double> best) const {
    for (const PathElement* e : cell) best = Nearer(best, RayHit(*e, from, unit));
    return best;
}

std::optional<double> ElementGrid::FirstHit(Point from, Point unit) const {
    std::optional<double> best = HitIn(wide_, from, unit, std::nullopt);
    const bool inside = from.x >= bounds_.min.x && from.x <= bounds_.max.x &&
                        from.y >= bounds_.min.y && from.y <= bounds_.max.y;
    if (side_ == 1 || !inside) {
        for (const PathElement* e : elements_) best = Nearer(best, RayHit(*e, from, unit));
        return best;
    }
    // Walk the cells the ray passes, nearest first, until a hit lies within
    // the cell being left.
    std::size_t x = CellX(from.x), y = CellY(from.y);
    const double inf = std::numeric_limits<double>::infinity();
    const double edgeX = bounds_.min.x + static_cast<double>(x + (unit.x > 0)) * cellW_;
    const double edgeY = bounds_.min.y + static_cast<double>(y + (unit.y > 0)) * cellH_;
    double nextX = unit.x != 0 ? (edgeX - from.x) / unit.x : inf;
    double nextY = unit.y != 0 ? (edgeY - from.y) / unit.y : inf;
    const double stepX = unit.x != 0 ? cellW_ / std::fabs(unit.x) : inf;
    const double stepY = unit.y != 0 ? cellH_ / std::fabs(unit.y) : inf;
    for (std::size_t steps = 0; steps <= 2 * side_; ++steps) {
        best = HitIn(Cell(x, y), from, unit, best);
        if (best && *best <= std::min(nextX, nextY)) return best;
        if (nextX < nextY) {
            if (unit.x > 0 ? x + 1 == side_ : x == 0) break;
            x = unit.x > 0 ? x + 1 : x - 1;
            nextX += stepX;
        } else {
            if (!(nextY < inf) || (unit.y > 0 ? y + 1 == side_ : y == 0)) break;
            y = unit.y > 0 ? y + 1 : y - 1;
            nextY += stepY;
        }
    }
    return best;
}

bool ElementGrid::AnyNearerThan(Point p, double distance) const {
    if (!(distance > 0)) return false;
    const auto nearer = [&](const PathElement* e) { return ElementDistance(*e, p) < distance; };
    if (std::any_of(wide_.begin(), wide_.end(), nearer)) return true;
    const Point reach{distance, distance};
    const CellRange r = CellsOf(p - reach, p + reach);
    const double cells = double(r.x1 - r.x0 + 1) * double(r.y1 - r.y0 + 1);
    if (side_ == 1 || cells >= double(elements_.size()))
        return std::any_of(elements_.begin(), elements_.end(), nearer);
    for (std::size_t y = r.y0; y <= r.y1; ++y)
        for (std::size_t x = r.x0; x <= r.x1; ++x)
            if (std::any_of(Cell(x, y).begin(), Cell(x, y).end(), nearer)) return true;
    return false;
}

}  // namespace tesra
