// 法面 ticks in the runs: see run_slope.h.
#include "app/run_slope.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string>

#include "app/selection_output.h"
#include "figures/along_elements.h"
#include "figures/layout.h"
#include "notices_cp932.h"

namespace tesra {
namespace {

bool HasLength(const ElementPath& path) {
    return std::any_of(path.elements.begin(), path.elements.end(),
                       [](const PathElement& e) { return !IsDegenerate(e); });
}

// Paths that can carry ticks or stop them; the others are still written back.
std::vector<ElementPath> PathsWithLength(AlongSelection selection) {
    std::vector<ElementPath> paths;
    for (ElementPath& p : selection.paths)
        if (HasLength(p)) paths.push_back(std::move(p));
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

SlopeSelectionPlan Notice(SlopeSelectionPlan plan, std::string_view notice) {
    plan.outcome = SlopeOutcome::Notice;
    plan.notice = notice;
    return plan;
}

}  // namespace

bool SlopeRowInUse(const PatternStore& store) { return store.RowInUse().rowKind == kRowSlope; }

SlopeSelectionPlan PlanSlopeSelection(const RunContext& run, RunMode mode) {
    SlopeSelectionPlan plan;
    plan.refusal = FirstRefusal(run.exchange.elements);
    if (plan.refusal != WriteBackRefusal::None) {
        plan.outcome = SlopeOutcome::CannotKeepSelection;
        return plan;
    }
    AlongSelection selection = PathsFromSelection(run.exchange.elements);
    plan.notFollowed = selection.notFollowed;
    std::vector<ElementPath> paths = PathsWithLength(std::move(selection));
    if (paths.empty()) return Notice(plan, kNothingToFollow);
    SlopeSplit split = SplitForMode(std::move(paths), mode, run.exchange.points[1]);
    if (split.refusal != SlopeRefusal::None) return Notice(plan, NoticeFor(split.refusal));
    plan.ticks = PlanSlope(run.store.RowInUse(), split.tops, split.toes);
    if (plan.ticks.refusal != SlopeRefusal::None)
        return Notice(plan, NoticeFor(plan.ticks.refusal));
    plan.tops = std::move(split.tops);
    plan.outcome = SlopeOutcome::Draw;
    return plan;
}

void DrawSlopeSelection(const RunContext& run, const SlopeSelectionPlan& plan, LineSink& out) {
    const ExchangeState& ex = run.exchange;
    Writer writer(ex, out);
    if (plan.outcome == SlopeOutcome::Notice)
        return WriteSelectionWithNotice(ex, writer, plan.notice);
    if (plan.outcome != SlopeOutcome::Draw) return;
    WriteSelectionBack(ex, writer);
    writer.WriteInitialAttributes();
    // The top edge is a selected element, back in the drawing already.
    LayoutInputs in;
    in.row = run.store.RowInUse();
    in.pathIsDrawn = true;
    in.slopePlan = &plan.ticks;
    LayOutPaths(in, plan.tops, writer);
    if (plan.notFollowed > 0) writer.AppendOutputLine(NotFollowedNotice(plan.notFollowed));
}

int ReplaceWithSlopeSelection(const RunContext& run, RunMode mode, const RunPaths& paths,
                              const WriteFaults& faults) {
    const SlopeSelectionPlan plan = PlanSlopeSelection(run, mode);
    if (plan.outcome == SlopeOutcome::CannotKeepSelection) return 1;
    const auto draw = [&](LineSink& out) { DrawSlopeSelection(run, plan, out); };
    return ReplaceExchangeFile(paths, faults, draw) ? 0 : 1;
}

}  // namespace tesra
