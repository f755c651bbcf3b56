// Slope rows in the one layout: see layout_slope.h.
#include "figures/layout_slope.h"

#include "figures/slope.h"

namespace tesra::layout {

std::int64_t SlopeFigureCount(const LayoutInputs& in, std::span<const ElementPath> tops) {
    return SlopeStationCount(in.row, tops);
}

void LayOutSlope(const LayoutInputs& in, std::span<const ElementPath> tops, DrawTarget& out) {
    // A slope row's top edge and ticks are its figures: they take the figures' pen.
    out.BeginPart(RowPart::Figures);
    if (in.slopePlan != nullptr)
        return DrawSlopePlan(in.row, *in.slopePlan, tops, in.pathIsDrawn, out);
    DrawSlopePlan(in.row, PlanSlope(in.row, tops, in.toes), tops, in.pathIsDrawn, out);
}

}  // namespace tesra::layout
