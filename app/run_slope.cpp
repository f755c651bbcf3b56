// 法面 ticks in the runs: see run_slope.h.
#include "app/run_slope.h"

#include <memory>
#include <string>
#include <utility>

#include "figures/along_elements.h"
#include "figures/layout.h"
#include "figures/pen_target.h"
#include "notices_cp932.h"

namespace tesra {
namespace {

// Paths that can carry ticks or stop them; the others are still written back.
std::vector<ElementPath> PathsWithLength(AlongSelection selection) {
    std::vector<ElementPath> paths;
    for (ElementPath& p : selection.paths)
        if (PathHasLength(p)) paths.push_back(std::move(p));
    return paths;
}

// Mode "3": every path is a top edge of its own. Mode "4": the one path, or
// the top edge nearest the first indicated point and the rest as the toe.
SlopeSplit SplitForMode(std::vector<ElementPath> paths, RunMode mode, const IndicatedPoint& point) {
    if (mode != RunMode::SlopeBetween || (paths.size() == 1 && !point.present))
        return {std::move(paths), {}, SlopeRefusal::None};
    if (!point.present) return {{}, {}, SlopeRefusal::NoTopEdge};
    return SplitTopAndToe(std::move(paths), {point.x, point.y});
}

// The notice that names why the slope draws nothing.
std::string_view NoticeFor(SlopeRefusal refusal) {
    switch (refusal) {
        case SlopeRefusal::PointFarFromTop: return kSlopePointFar;
        case SlopeRefusal::TooManyTicks: return kSlopeTooManyTicks;
        case SlopeRefusal::ToeNotMet: return kSlopeToeNotMet;
        case SlopeRefusal::TicksWouldCross: return kSlopeTicksCross;
        case SlopeRefusal::NoTopEdge:
        case SlopeRefusal::None: break;
    }
    return kSlopeNoPoint;
}

SelectionPlan RefusalNotice(SelectionPlan plan, SlopeRefusal refusal) {
    return NoticePlan(std::move(plan), std::string(NoticeFor(refusal)));
}

}  // namespace

bool SlopeRowInUse(const PatternStore& store) { return store.RowInUse().rowKind == kRowSlope; }

SelectionPlan PlanSlopeSelection(const RunContext& run, RunMode mode) {
    SelectionPlan plan = PlanWriteBack(run.exchange);
    if (plan.outcome == SelectionPlan::Outcome::Refusal) return plan;
    AlongSelection selection = PathsFromSelection(run.exchange.elements);
    plan.notFollowed = selection.notFollowed;
    std::vector<ElementPath> paths = PathsWithLength(std::move(selection));
    if (paths.empty()) return NoticePlan(std::move(plan), std::string(kNothingToFollow));
    SlopeSplit split = SplitForMode(std::move(paths), mode, run.exchange.points[1]);
    if (split.refusal != SlopeRefusal::None) return RefusalNotice(std::move(plan), split.refusal);
    const PatternRow row = run.store.RowInUse();
    auto ticks = std::make_shared<SlopePlan>(PlanSlope(row, split.tops, split.toes));
    if (ticks->refusal != SlopeRefusal::None) return RefusalNotice(std::move(plan), ticks->refusal);
    // The top edge is a selected element, back in the drawing already.
    plan.draw = [row, ticks, host = run.exchange.initial,
                 tops = std::move(split.tops)](Writer& writer) {
        LayoutInputs in;
        in.row = row;
        in.pathIsDrawn = true;
        in.slopePlan = ticks.get();
        PenTarget pens(writer, row, host);
        LayOutPaths(in, tops, pens.Target());
    };
    return plan;
}

}  // namespace tesra
