#pragma once
// The rules of one span shared by every arrangement: how many figures fit,
// where they stand, and where the band lies.

#include <cstdint>
#include <optional>

#include "figures/pattern.h"

namespace tesra {

// Number of figures on a span of length L, or nothing when it is not defined
// (I + W = 0, or a count that does not fit a 32-bit integer).
std::optional<std::int32_t> FigureCount(double length, double width, double interval);

struct Spacing {
    double s0 = 0;  // from A to the first figure, and after the last
    double g = 0;   // between figures
};

// Where n figures stand on a span of the given length, as the row's placement asks.
Spacing SpacingFor(const PatternRow& row, double length, std::int32_t n);
// The same for figures of another width than the row's (a row drawing B alone).
Spacing SpacingFor(std::int32_t placement, double width, double interval, double length,
                   std::int32_t n);

// How far the band's lower edge lies below the span line.
double BandOffset(std::int32_t basePoint, double h);

}  // namespace tesra
