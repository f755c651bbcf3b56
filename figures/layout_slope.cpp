// Slope rows in the one layout: see layout_slope.h.
#include "figures/layout_slope.h"

namespace tesra::layout {
namespace {

LayoutRefusal RefusalOf(SlopeRefusal refusal) {
    switch (refusal) {
        case SlopeRefusal::None: return LayoutRefusal::None;
        case SlopeRefusal::NoTopEdge: return LayoutRefusal::NoTopEdge;
        case SlopeRefusal::PointFarFromTop: return LayoutRefusal::PointFarFromTop;
        case SlopeRefusal::TooManyTicks: return LayoutRefusal::TooManyTicks;
        case SlopeRefusal::ToeNotMet: return LayoutRefusal::ToeNotMet;
        case SlopeRefusal::TicksWouldCross: return LayoutRefusal::TicksWouldCross;
    }
    return LayoutRefusal::None;
}

// The chains that can be a top edge or stop a tick: the nearest chain to the
// point must be one with length.
std::vector<ElementPath> ChainsWithLength(std::span<const ElementPath> paths) {
    std::vector<ElementPath> chains;
    for (const ElementPath& p : paths)
        if (PathHasLength(p)) chains.push_back(p);
    return chains;
}

SlopeSplit TopAndToe(const LayoutInputs& in, std::span<const ElementPath> paths) {
    std::vector<ElementPath> chains = ChainsWithLength(paths);
    if (chains.size() == 1 && !in.topPoint) return {std::move(chains), {}, SlopeRefusal::None};
    if (!in.topPoint) return {{}, {}, SlopeRefusal::NoTopEdge};
    return SplitTopAndToe(std::move(chains), *in.topPoint);
}

}  // namespace

SlopeLayout::SlopeLayout(const LayoutInputs& in, std::span<const ElementPath> paths)
    : in_(in), tops_(paths) {
    if (in.splitsTopAndToe) {
        split_ = TopAndToe(in, paths);
        tops_ = split_.tops;
        refusal_ = RefusalOf(split_.refusal);
        if (refusal_ != LayoutRefusal::None) return;
    }
    plan_ = PlanSlope(in.row, tops_, split_.toes);
    refusal_ = RefusalOf(plan_.refusal);
}

void SlopeLayout::Draw(DrawTarget& out) const {
    // A slope row's top edge and ticks are its figures: they take the figures' pen.
    out.BeginPart(RowPart::Figures);
    DrawSlopePlan(in_.row, plan_, tops_, in_.pathIsDrawn, out);
}

}  // namespace tesra::layout
