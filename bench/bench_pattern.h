#pragma once
// The pattern the selection benchmarks draw: a triangle (three lines) with a
// full-length upper line and gap lines below, so chaining, figures and guide
// lines all take part.

#include "figures/pattern.h"

namespace tesra::bench {

inline PatternRow TriangleWithGuides() {
    PatternRow row;
    row.figureKind = 20;
    row.width = 5;
    row.height = 3;
    row.interval = 2;
    row.upperLine = 2;
    row.lowerLine = 1;
    return row;
}

}  // namespace tesra::bench
