#pragma once
// Lays the figures of a pattern along one span, from point j to point j + 1,
// and draws the guide lines above, through and below the row of figures.

#include <cstdint>
#include <optional>
#include <span>

#include "exchange/draw_target.h"
#include "figures/figure_cell.h"
#include "figures/pattern.h"
#include "geom/point.h"

namespace tesra {

struct SpanInputs {
    PatternRow row;                // the pattern in use
    std::span<const Point> points; // the chain, numbered from 1 (index 0 unused)
    SolidStyle solid;              // for the filled kinds
    std::int32_t lineColor = 1;   // restored after every figure
};

// Number of figures on a span of length L, or nothing when it is not defined
// (I + W = 0, or a count that does not fit a 32-bit integer).
std::optional<std::int32_t> FigureCount(double length, double width, double interval);

struct Spacing {
    double s0 = 0;  // from A to the first figure, and after the last
    double g = 0;   // between figures
};

// Where n figures stand on a span of the given length, as the row's placement asks.
Spacing SpacingFor(const PatternRow& row, double length, std::int32_t n);

// How far the band's lower edge lies below the span line.
double BandOffset(std::int32_t basePoint, double h);

// How many figures SpanPlacement(j, …) would place: 0 when I + W = 0, and
// INT32_MAX for a count beyond 32 bits, which SpanPlacement refuses to draw.
std::int64_t SpanFigureCount(const SpanInputs& in, int j);

// npts is the number of points of the whole chain (2 for a single span).
void SpanPlacement(const SpanInputs& in, int j, int npts, DrawTarget& out);

}  // namespace tesra
