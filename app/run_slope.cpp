// 法面 ticks in the runs: see run_slope.h.
#include "app/run_slope.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string>

#include "app/selection_output.h"
#include "figures/along_elements.h"
#include "figures/layout.h"
#include "figures/pen_target.h"
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

struct TopAndToes {
    std::vector<ElementPath> tops, toes;
};

// Mode "3": every path is a top edge of its own. Mode "4": the one path, or
// the one nearest the first indicated point with the others as the toe.
std::optional<TopAndToes> SplitTopAndToes(std::vector<ElementPath> paths, RunMode mode,
                                          const IndicatedPoint& point) {
    if (mode != RunMode::SlopeBetween || paths.size() == 1) return TopAndToes{std::move(paths), {}};
    if (!point.present) return std::nullopt;
    // The reader gives finite points; none nearer than another is still no top.
    const std::optional<std::size_t> nearest = NearestPath(paths, {point.x, point.y});
    if (!nearest) return std::nullopt;
    const std::size_t top = *nearest;
    TopAndToes split;
    split.tops.push_back(std::move(paths[top]));
    paths.erase(paths.begin() + static_cast<std::ptrdiff_t>(top));
    split.toes = std::move(paths);
    return split;
}

SlopePlan Notice(SlopePlan plan, std::string_view notice) {
    plan.outcome = SlopeOutcome::Notice;
    plan.notice = notice;
    return plan;
}

SlopePlan PlanTicks(SlopePlan plan, const PatternRow& row, const TopAndToes& split) {
    if (SlopeStationCount(row, split.tops) > kMaxFiguresPerRun)
        return Notice(plan, kSlopeTooManyTicks);
    plan.ticks = SlopeTicks(row, split.tops, split.toes);
    if (plan.ticks.empty() && !split.toes.empty()) return Notice(plan, kSlopeToeNotMet);
    plan.outcome = SlopeOutcome::Draw;
    return plan;
}

}  // namespace

bool SlopeRowInUse(const PatternStore& store) { return store.RowInUse().rowKind == kRowSlope; }

SlopePlan PlanSlopeSelection(const RunContext& run, RunMode mode) {
    SlopePlan plan;
    plan.refusal = FirstRefusal(run.exchange.elements);
    if (plan.refusal != WriteBackRefusal::None) {
        plan.outcome = SlopeOutcome::CannotKeepSelection;
        return plan;
    }
    AlongSelection selection = PathsFromSelection(run.exchange.elements);
    plan.notFollowed = selection.notFollowed;
    std::vector<ElementPath> paths = PathsWithLength(std::move(selection));
    if (paths.empty()) return Notice(plan, kNothingToFollow);
    const std::optional<TopAndToes> split =
        SplitTopAndToes(std::move(paths), mode, run.exchange.points[1]);
    if (!split) return Notice(plan, kSlopeNoPoint);
    return PlanTicks(std::move(plan), run.store.RowInUse(), *split);
}

void DrawSlopeSelection(const RunContext& run, const SlopePlan& plan, LineSink& out) {
    const ExchangeState& ex = run.exchange;
    Writer writer(ex, out);
    if (plan.outcome == SlopeOutcome::Notice)
        return WriteSelectionWithNotice(ex, writer, plan.notice);
    if (plan.outcome != SlopeOutcome::Draw) return;
    WriteSelectionBack(ex, writer);
    writer.WriteInitialAttributes();
    // The top edge is a selected element, back in the drawing already.
    PenTarget pens(writer, run.store.RowInUse(), ex.initial);
    pens.BeginPart(RowPart::Figures);  // the ticks are the row's figures
    for (const SlopeTick& t : plan.ticks) pens.Target().EmitLine(t.from, t.to);
    if (plan.notFollowed > 0) writer.AppendOutputLine(NotFollowedNotice(plan.notFollowed));
}

void DrawSlopeSpans(const RunContext& run, RunMode mode, LineSink& out) {
    const ExchangeState& ex = run.exchange;
    Writer writer(ex, out);
    const PatternRow row = run.store.RowInUse();
    const std::vector<ElementPath> tops = IndicatedPaths(mode, ex);
    if (SlopeStationCount(row, tops) > kMaxFiguresPerRun) {
        return writer.AppendOutputLine(kSlopeTooManyTicksSpan);
    }
    if (ex.bz) writer.AppendOutputLine("bz");
    writer.WriteInitialAttributes();
    PenTarget pens(writer, row, ex.initial);
    pens.BeginPart(RowPart::Figures);
    DrawSlope(row, tops, {}, false, pens.Target());
}

int ReplaceWithSlopeSelection(const RunContext& run, RunMode mode, const RunPaths& paths,
                              const WriteFaults& faults) {
    const SlopePlan plan = PlanSlopeSelection(run, mode);
    if (plan.outcome == SlopeOutcome::CannotKeepSelection) return 1;
    const auto draw = [&](LineSink& out) { DrawSlopeSelection(run, plan, out); };
    return ReplaceExchangeFile(paths, faults, draw) ? 0 : 1;
}

}  // namespace tesra
