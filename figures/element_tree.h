#pragma once
// Path elements in a bounding-box tree, for the two questions the slope ticks
// ask up to a million times over selections of up to 10^5 elements: where a
// ray first meets them, and whether any comes nearer than a distance to a
// point. Both prune whole subtrees by their boxes, so a long tick from a
// finely cut top edge asks only the few boxes round its own start.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "geom/path.h"
#include "geom/point.h"

namespace tesra {

// Distance from `p` to the element as drawn (an arc only where it sweeps).
double ElementDistance(const PathElement& e, Point p);

// The least t >= 0 at which `from + t * unit` meets the element; a ray lying
// along a line meets it where it first touches it.
std::optional<double> RayHit(const PathElement& e, Point from, Point unit);

class ElementTree {
public:
    // The elements must outlive the tree.
    explicit ElementTree(std::span<const PathElement* const> elements);

    std::optional<double> FirstHit(Point from, Point unit) const;
    bool AnyNearerThan(Point p, double distance) const;

    struct Box {
        Point min, max;
    };

private:
    struct Node {
        Box box;
        std::uint32_t first = 0, count = 0;  // a leaf's elements in order_
        std::uint32_t left = 0, right = 0;   // an inner node's children
    };
    std::uint32_t Build(std::uint32_t first, std::uint32_t count);
    // Depth first, the left child first, into the nodes whose box `enter`
    // accepts; `visit` sees every element there and returns true to stop.
    // True when stopped.
    template <class Enter, class Visit>
    bool Walk(const Enter& enter, const Visit& visit) const;

    std::vector<const PathElement*> order_;
    std::vector<Box> boxes_;  // of order_, alike
    std::vector<Node> nodes_;
    // Elements whose box is not finite: asked on every query.
    std::vector<const PathElement*> unbounded_;
};

}  // namespace tesra
