// 法面 ticks in the runs: see run_slope.h.
#include "app/run_slope.h"

#include <optional>
#include <string>
#include <utility>

#include "figures/along_elements.h"
#include "figures/layout.h"
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

SelectionPlan PlanTicks(SelectionPlan plan, const RunContext& run, const TopAndToes& split) {
    const PatternRow row = run.store.RowInUse();
    if (OverFigureBound(run, SlopeStationCount(row, split.tops)))
        return NoticePlan(std::move(plan), std::string(kSlopeTooManyTicks));
    std::vector<SlopeTick> ticks = SlopeTicks(row, split.tops, split.toes);
    if (ticks.empty() && !split.toes.empty())
        return NoticePlan(std::move(plan), std::string(kSlopeToeNotMet));
    // The top edge is a selected element, back in the drawing already.
    plan.draw = [ticks = std::move(ticks)](Writer& writer) {
        for (const SlopeTick& t : ticks) writer.EmitLine(t.from, t.to);
    };
    return plan;
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
    const std::optional<TopAndToes> split =
        SplitTopAndToes(std::move(paths), mode, run.exchange.points[1]);
    if (!split) return NoticePlan(std::move(plan), std::string(kSlopeNoPoint));
    return PlanTicks(std::move(plan), run, *split);
}

bool DrawSlopeSpans(const RunContext& run, const std::vector<ElementPath>& tops, LineSink& out) {
    const ExchangeState& ex = run.exchange;
    Writer writer(ex, out);
    const PatternRow row = run.store.RowInUse();
    if (OverFigureBound(run, SlopeStationCount(row, tops))) {
        writer.AppendOutputLine(kSlopeTooManyTicksSpan);
        return false;
    }
    if (ex.bz) writer.AppendOutputLine("bz");
    writer.WriteInitialAttributes();
    DrawSlope(row, tops, {}, false, writer);
    return true;
}

}  // namespace tesra
