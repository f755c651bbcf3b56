#pragma once
// What the window code would paint of a preview drawing, counted in tests.

#include <algorithm>
#include <cstddef>

#include "settings/dialog/preview.h"

namespace tesra::test {

// How many of the points a painter draws, curves flattened finely, fall
// outside the box.
inline std::size_t PaintedPointsOutside(const PreviewDrawing& drawing, PreviewBox box) {
    constexpr double kSlack = 1e-6;
    std::size_t outside = 0;
    for (const PreviewPrimitive& p : drawing)
        for (const auto& loop : Flatten(p, 0.01).loops)
            for (Point q : loop)
                outside += q.x < box.left - kSlack || q.x > box.left + box.width + kSlack ||
                           q.y < box.top - kSlack || q.y > box.top + box.height + kSlack;
    return outside;
}

// How many primitives of the drawing are painted in ink.
inline std::size_t CountInk(const PreviewDrawing& drawing, PreviewInk ink) {
    return static_cast<std::size_t>(
        std::ranges::count_if(drawing, [ink](const PreviewPrimitive& p) { return p.ink == ink; }));
}

}  // namespace tesra::test

namespace tesra {
using test::CountInk;
using test::PaintedPointsOutside;
}  // namespace tesra
