// The toe search's grid against asking every element, over lines that cross
// the whole drawing, short ones, lines along cell sides, and arcs.
#include "figures/ray_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "geom/helpers.h"

namespace tesra {
namespace {

std::optional<double> EveryElement(const std::vector<PathElement>& elements, Point from,
                                   Point unit) {
    std::optional<double> best;
    for (const PathElement& e : elements)
        if (const auto t = RayHit(e, from, unit); t && (!best || *t < *best)) best = t;
    return best;
}

PathElement Circle(Point centre, double radius) {
    PathElement e;
    e.shape = PathElement::Shape::Arc;
    e.centre = centre;
    e.radius = radius;
    e.sweepRad = kTwoPi;
    e.a = e.b = centre + Point{radius, 0};
    return e;
}

TEST(RayGrid, FirstHitAsEveryElementWouldSayIt) {
    std::mt19937 rng(25);
    std::uniform_real_distribution<double> u(0, 1);
    const auto randomPoint = [&](double size) { return Point{size * u(rng), size * u(rng)}; };
    struct Case {
        const char* what;
        int lines;
        double longest;  // share of the drawing
        bool onCellSides, withArcs;
    } const cases[] = {
        {"long crossing lines", 2000, 1.0, false, false},
        {"short lines", 2000, 0.02, false, false},
        {"lines on a lattice", 400, 0.5, true, false},
        {"lines and circles", 500, 0.3, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<PathElement> elements;
        for (int i = 0; i < c.lines; ++i) {
            Point a = randomPoint(100);
            Point b =
                a + (c.longest * 100 * u(rng)) * Point{std::cos(7 * u(rng)), std::sin(7 * u(rng))};
            if (c.onCellSides) {  // axis-parallel, on whole numbers
                a = {std::round(a.x), std::round(a.y)};
                b = i % 2 ? Point{std::round(b.x), a.y} : Point{a.x, std::round(b.y)};
            }
            if (!SamePoint(a, b)) elements.push_back(LineElement(a, b));
            if (c.withArcs && i % 5 == 0)
                elements.push_back(Circle(randomPoint(100), 1 + 5 * u(rng)));
        }
        std::vector<const PathElement*> pointers;
        for (const PathElement& e : elements) pointers.push_back(&e);
        const RayGrid grid(pointers);
        for (int ray = 0; ray < 2000; ++ray) {
            // Starts inside and outside the drawing, along the axes too.
            const Point from = randomPoint(140) - Point{20, 20};
            const Point axes[] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
            const double angle = kTwoPi * u(rng);
            const Point unit =
                ray % 4 == 0 ? axes[ray / 4 % 4] : Point{std::cos(angle), std::sin(angle)};
            const std::optional<double> expected = EveryElement(elements, from, unit);
            const std::optional<double> found = grid.FirstHit(from, unit);
            ASSERT_EQ(found.has_value(), expected.has_value()) << ray;
            if (expected) {
                EXPECT_DOUBLE_EQ(*found, *expected) << ray;
            }
        }
    }
}

// Lines spread wider than any cell size, or nearly upright over a huge
// spread, still answer as every element would.
TEST(RayGrid, ExtremeSpreads) {
    struct Case {
        std::vector<PathElement> elements;
        Point from, unit;
    } const cases[] = {
        {{LineElement({-1e308, 0}, {1e308, 0}), LineElement({0, -1}, {0, 1})}, {0, 5}, {0, -1}},
        {{LineElement({0, 0}, {1e-300, 1e300}), LineElement({5, -1e300}, {5, 1e300})},
         {-3, 7},
         {1, 0}},
        {{LineElement({-1e300, -1e300}, {1e300, 1e300})}, {1, -1}, {-1, 0}},
    };
    for (const Case& c : cases) {
        std::vector<const PathElement*> pointers;
        for (const PathElement& e : c.elements) pointers.push_back(&e);
        EXPECT_EQ(RayGrid(pointers).FirstHit(c.from, c.unit),
                  EveryElement(c.elements, c.from, c.unit));
    }
}

}  // namespace
}  // namespace tesra
