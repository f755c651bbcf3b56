#pragma once
// What the layout tests draw and look at: the probe figure's boxes, the lines
// drawn beside them, and whether two convex shapes meet.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <span>
#include <utility>
#include <vector>

#include "figures/layout.h"
#include "geom/helpers.h"
#include "geom/path.h"
#include "test_support.h"

namespace tesra::layout_checks {

inline constexpr std::int32_t kFilledSquare = 37;  // "■": one solid quad on the cell's corners

using Box = std::array<Point, 4>;
using Segment = std::array<Point, 2>;

struct Drawn {
    test::Calls calls;
    std::vector<Box> boxes;  // the quads, corners in the cell's order (0,0) (W,0) (W,H) (0,H)
    std::vector<Segment> lines;
};

// The row laid along one path. Where every figure is the probe's one quad,
// the count the layout gives is the number of quads drawn.
inline Drawn Lay(const PatternRow& row, const ElementPath& path) {
    test::RecordingTarget out;
    const ElementPath paths[] = {path};
    LayOutPaths(LayoutInputs{row, {}, 1}, paths, out);
    Drawn d{out.calls, {}, {}};
    for (const auto& c : out.calls) {
        const auto& v = c.values;
        if (c.op == "quad")
            d.boxes.push_back({Point{v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]}, {v[6], v[7]}});
        if (c.op == "line") d.lines.push_back({Point{v[0], v[1]}, {v[2], v[3]}});
    }
    const bool allQuads =
        row.figureKind == kFilledSquare && (!DrawsFigureB(row) || row.figureB == kFilledSquare);
    if (allQuads) {
        EXPECT_EQ(static_cast<std::int64_t>(d.boxes.size()),
                  LayoutFigureCount(LayoutInputs{row, {}, 1}, paths))
            << "the count and the drawing disagree";
    }
    return d;
}

inline PatternRow Row(std::int32_t arrangement, std::int32_t base, double w, double h,
                      double interval) {
    return {.figureKind = kFilledSquare,
            .width = w,
            .height = h,
            .interval = interval,
            .basePoint = base,
            .arrangement = arrangement};
}

inline ElementPath Polyline(const std::vector<Point>& points, bool closed) {
    ElementPath path;
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        path.elements.push_back(LineElement(points[i], points[i + 1]));
    if (closed) path.elements.push_back(LineElement(points.back(), points.front()));
    path.closed = closed;
    return path;
}

inline Point Centre(const Box& b) { return 0.25 * (b[0] + b[1] + b[2] + b[3]); }

// Whether the insides of two convex shapes meet (a segment is a shape of two
// points), by separating axes over both shapes' edges: touching is not
// meeting.
inline bool Meet(std::span<const Point> p, std::span<const Point> q) {
    auto range = [](std::span<const Point> shape, Point axis) {
        double lo = 1e300, hi = -1e300;
        for (Point c : shape) lo = std::min(lo, Dot(c, axis)), hi = std::max(hi, Dot(c, axis));
        return std::pair{lo, hi};
    };
    for (std::span<const Point> shape : {p, q})
        for (std::size_t i = 0; i < shape.size(); ++i) {
            const Point axis = Unit(LeftNormal(shape[(i + 1) % shape.size()] - shape[i]));
            const auto [plo, phi] = range(p, axis);
            const auto [qlo, qhi] = range(q, axis);
            constexpr double kSlack = 1e-8;
            if (phi <= qlo + kSlack || qhi <= plo + kSlack) return false;
        }
    return true;
}

}  // namespace tesra::layout_checks
