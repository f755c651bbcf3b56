// A bounding-box tree over path elements: see element_tree.h.
#include "figures/element_tree.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geom/helpers.h"

namespace tesra {
namespace {

// Elements per leaf: past a few, testing them costs less than another level.
constexpr std::uint32_t kLeafSize = 4;
// Angles this close past an arc's ends still fall on it: rounding of atan2.
constexpr double kAngleSlack = 1e-12;

bool AngleOnArc(const PathElement& e, double angle) {
    if (IsFullCircle(e)) return true;
    double d = std::fmod((angle - e.startRad) * (e.sweepRad < 0 ? -1.0 : 1.0), kTwoPi);
    if (d < 0) d += kTwoPi;
    return d <= std::fabs(e.sweepRad) + kAngleSlack || d >= kTwoPi - kAngleSlack;
}

void Include(ElementTree::Box& b, Point p) {
    b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y)};
    b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y)};
}

ElementTree::Box BoxOf(const PathElement& e) {
    ElementTree::Box b{e.a, e.a};
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

double BoxDistance(const ElementTree::Box& b, Point p) {
    const double dx = std::max({b.min.x - p.x, 0.0, p.x - b.max.x});
    const double dy = std::max({b.min.y - p.y, 0.0, p.y - b.max.y});
    return std::sqrt(dx * dx + dy * dy);
}

// Where the ray enters the box, or none when it passes it by.
std::optional<double> RayEntry(const ElementTree::Box& b, Point from, Point unit) {
    double t0 = 0, t1 = std::numeric_limits<double>::infinity();
    const double o[2] = {from.x, from.y}, d[2] = {unit.x, unit.y};
    const double lo[2] = {b.min.x, b.min.y}, hi[2] = {b.max.x, b.max.y};
    for (int k = 0; k < 2; ++k) {
        if (d[k] == 0) {
            if (o[k] < lo[k] || o[k] > hi[k]) return std::nullopt;
            continue;
        }
        double a = (lo[k] - o[k]) / d[k], c = (hi[k] - o[k]) / d[k];
        if (a > c) std::swap(a, c);
        t0 = std::max(t0, a);
        t1 = std::min(t1, c);
    }
    if (t0 > t1) return std::nullopt;
    return t0;
}

bool Finite(const ElementTree::Box& b) {
    return AllFinite({b.min.x, b.min.y, b.max.x, b.max.y}) && std::isfinite(b.max.x - b.min.x) &&
           std::isfinite(b.max.y - b.min.y);
}

Point Centre(const ElementTree::Box& b) { return 0.5 * b.min + 0.5 * b.max; }

}  // namespace

double ElementDistance(const PathElement& e, Point p) {
    if (e.shape == PathElement::Shape::Line) {
        const Point d = e.b - e.a;
        const double len2 = Dot(d, d);
        const double s = len2 > 0 ? std::clamp(Dot(p - e.a, d) / len2, 0.0, 1.0) : 0.0;
        return Distance(p, e.a + s * d);
    }
    const Point f = p - e.centre;
    if (AngleOnArc(e, std::atan2(f.y, f.x))) return std::fabs(std::sqrt(Dot(f, f)) - e.radius);
    return std::min(Distance(p, e.a), Distance(p, e.b));
}

std::optional<double> RayHit(const PathElement& e, Point from, Point unit) {
    return e.shape == PathElement::Shape::Line ? LineHit(e, from, unit) : ArcHit(e, from, unit);
}

ElementTree::ElementTree(std::span<const PathElement* const> elements) {
    for (const PathElement* e : elements) {
        const Box box = BoxOf(*e);
        if (!Finite(box)) {
            unbounded_.push_back(e);
            continue;
        }
        order_.push_back(e);
        boxes_.push_back(box);
    }
    if (!order_.empty()) Build(0, static_cast<std::uint32_t>(order_.size()));
}

// Splits at the median of the box centres along the longer side.
std::uint32_t ElementTree::Build(std::uint32_t first, std::uint32_t count) {
    Box box = boxes_[first];
    for (std::uint32_t i = first; i < first + count; ++i) {
        Include(box, boxes_[i].min);
        Include(box, boxes_[i].max);
    }
    const auto index = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back({box, first, count, 0, 0});
    if (count <= kLeafSize) return index;
    const bool alongX = box.max.x - box.min.x >= box.max.y - box.min.y;
    std::vector<std::uint32_t> ids(count);
    for (std::uint32_t i = 0; i < count; ++i) ids[i] = first + i;
    const std::uint32_t half = count / 2;
    std::nth_element(ids.begin(), ids.begin() + half, ids.end(), [&](auto a, auto b) {
        const Point ca = Centre(boxes_[a]), cb = Centre(boxes_[b]);
        return alongX ? ca.x < cb.x : ca.y < cb.y;
    });
    std::vector<const PathElement*> elements(count);
    std::vector<Box> boxes(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        elements[i] = order_[ids[i]];
        boxes[i] = boxes_[ids[i]];
    }
    std::copy(elements.begin(), elements.end(), order_.begin() + first);
    std::copy(boxes.begin(), boxes.end(), boxes_.begin() + first);
    const std::uint32_t left = Build(first, half);
    const std::uint32_t right = Build(first + half, count - half);
    nodes_[index].count = 0;
    nodes_[index].left = left;
    nodes_[index].right = right;
    return index;
}

template <class Enter, class Visit>
bool ElementTree::Walk(const Enter& enter, const Visit& visit) const {
    if (nodes_.empty()) return false;
    std::vector<std::uint32_t> stack{0};
    while (!stack.empty()) {
        const Node& n = nodes_[stack.back()];
        stack.pop_back();
        if (!enter(n.box)) continue;
        if (n.count == 0) {
            stack.push_back(n.right);
            stack.push_back(n.left);
            continue;
        }
        for (std::uint32_t i = n.first; i < n.first + n.count; ++i)
            if (visit(order_[i])) return true;
    }
    return false;
}

std::optional<double> ElementTree::FirstHit(Point from, Point unit) const {
    std::optional<double> best;
    for (const PathElement* e : unbounded_) best = Nearer(best, RayHit(*e, from, unit));
    const auto enter = [&](const Box& box) {
        const std::optional<double> entry = RayEntry(box, from, unit);
        return entry && !(best && *entry > *best);
    };
    Walk(enter, [&](const PathElement* e) {
        best = Nearer(best, RayHit(*e, from, unit));
        return false;
    });
    return best;
}

bool ElementTree::AnyNearerThan(Point p, double distance) const {
    if (!(distance > 0)) return false;
    const auto nearer = [&](const PathElement* e) { return ElementDistance(*e, p) < distance; };
    if (std::any_of(unbounded_.begin(), unbounded_.end(), nearer)) return true;
    return Walk([&](const Box& box) { return BoxDistance(box, p) < distance; }, nearer);
}

}  // namespace tesra
