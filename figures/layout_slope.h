#pragma once
// Slope rows in the one layout: PlanLayout (figures/layout.h) sends them here.

#include <cstdint>
#include <span>
#include <vector>

#include "exchange/draw_target.h"
#include "figures/layout.h"
#include "figures/slope.h"

namespace tesra {

inline bool IsSlopeRow(const PatternRow& row) { return row.rowKind == kRowSlope; }

namespace layout {

// A slope row over the paths: every path a top edge, or the top edge and
// the toe told apart as the inputs ask; then the ticks, planned once.
class SlopeLayout {
public:
    // `in` and `paths` must outlive the layout.
    SlopeLayout(const LayoutInputs& in, std::span<const ElementPath> paths);
    SlopeLayout(const SlopeLayout&) = delete;  // tops_ may refer to split_
    SlopeLayout& operator=(const SlopeLayout&) = delete;
    std::int64_t FigureCount() const { return static_cast<std::int64_t>(plan_.ticks.size()); }
    LayoutRefusal Refusal() const { return refusal_; }
    // The top edges when the row draws them, then the ticks.
    void Draw(DrawTarget& out) const;

private:
    const LayoutInputs& in_;
    std::span<const ElementPath> tops_;
    SlopeSplit split_;  // the top edges and toes, when told apart
    SlopePlan plan_;
    LayoutRefusal refusal_ = LayoutRefusal::None;
};

}  // namespace layout
}  // namespace tesra
