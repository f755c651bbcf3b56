// How many figures fit a span, where they stand, and where the band lies.
#include "figures/span_placement.h"

#include <cmath>
#include <limits>

#include "geom/helpers.h"

namespace tesra {

Spacing SpacingFor(const PatternRow& row, double length, std::int32_t n) {
    return SpacingFor(row.placement, row.width, row.interval, length, n);
}

Spacing SpacingFor(std::int32_t placement, double width, double interval, double length,
                   std::int32_t n) {
    const double w = width, gap = interval;
    const double figures = n;  // in doubles: n - 1 must not overflow for any count
    const double left = length - (figures * w + (figures - 1) * gap);
    if (placement == kPlaceByInterval) return {left * 0.5, gap};
    // Evenly spread: a single figure stands at A with no gap after it.
    if (n == 1) return {0.0, 0.0};
    return {0.0, left / (figures - 1) + gap};
}

double BandOffset(std::int32_t basePoint, double h) {
    if (basePoint == kBaseTop) return h;
    if (basePoint == kBaseMiddle) return h / 2;
    return 0.0;
}

std::optional<std::int32_t> FigureCount(double length, double width, double interval) {
    const double divisor = interval + width;
    if (divisor == 0) return std::nullopt;
    const double count = std::trunc((length + interval) / divisor);
    if (!std::isfinite(count) || count < std::numeric_limits<std::int32_t>::min() ||
        count > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(count);
}

}  // namespace tesra
