#pragma once
// A scene as a standalone SVG document. The drawing's y axis grows upwards,
// SVG's downwards: every y is negated on the way out, so angles that turn
// counter-clockwise in the drawing still look counter-clockwise.

#include <string>

#include "tools/svg/scene.h"

namespace tesra::svg {

struct Bounds {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    bool empty = true;

    void Add(Point p);
    double Width() const { return maxX - minX; }
    double Height() const { return maxY - minY; }
};

// Drawing coordinates covered by the shapes (arcs by their true extremes,
// labels by an estimate of their width).
Bounds SceneBounds(const Scene& scene);

std::string RenderSvg(const Scene& scene);

}  // namespace tesra::svg
