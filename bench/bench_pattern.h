#pragma once
// What the selection benchmarks share: a sink that only counts, and the
// pattern they draw, a triangle (three lines) with a full-length upper line
// and gap lines below, so chaining, figures and guide lines all take part.

#include <cstddef>
#include <string_view>

#include "exchange/line_sink.h"
#include "figures/pattern.h"

namespace tesra::bench {

// Counts what a run would write (CR LF included) instead of keeping it, so
// that the selection benchmarks measure the work and not the memory.
class CountingSink final : public LineSink {
public:
    void Append(std::string_view line) override { bytes += line.size() + 2; }
    std::size_t bytes = 0;
};

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
