// The run flow: the mode from the argument, the drawing or the selection plan
// written into a sink, the file replaced or left as the host wrote it.
#include "app/run.h"

#include <new>
#include <vector>

#include "app/run_along.h"
#include "app/run_register.h"
#include "exchange/writer.h"
#include "figures/layout.h"
#include "figures/pen_target.h"
#include "notices_cp932.h"

namespace tesra {
namespace {

// Number of present points from index 1 on, stopping at the first gap.
int ChainLength(const ExchangeState& ex) {
    int n = 0;
    while (n + 1 < kIndicatedPointSlots && ex.points[static_cast<std::size_t>(n + 1)].present) ++n;
    return n;
}

std::vector<Point> PointsOf(const ExchangeState& ex) {
    std::vector<Point> points;
    points.reserve(ex.points.size());
    for (const IndicatedPoint& p : ex.points) points.push_back({p.x, p.y});
    return points;
}

// Mode "1" needs both of its points, mode "2" two points of a chain.
bool EnoughPoints(RunMode mode, const ExchangeState& ex) {
    if (mode == RunMode::TwoPoints) return ex.points[1].present && ex.points[2].present;
    return ChainLength(ex) >= 2;
}

bool OverSelection(RunMode mode) {
    return mode == RunMode::AlongSelection || mode == RunMode::SlopeBetween;
}

// Modes "3" and "4": one planner; the layout tells the row kinds apart.
SelectionPlan PlanSelectionRun(const RunContext& run, RunMode mode) {
    return NoteDamage(PlanAlongSelection(run, mode), run);
}

// The host's error line when the span or chain would take too many figures
// or ticks: nothing else can refuse a span.
std::string_view SpanNotice(LayoutRefusal refusal) {
    return refusal == LayoutRefusal::TooManyTicks ? kSlopeTooManyTicksSpan : kTooManyFigures;
}

// Either row kind through the one layout. False when the layout refuses (too
// many figures or ticks): the "he" line is then all.
bool DrawSpans(const RunContext& run, RunMode mode, LineSink& out) {
    const ExchangeState& ex = run.exchange;
    Writer writer(ex, out);
    LayoutInputs inputs{run.store.RowInUse(),
                        SolidStyle{run.store.solidColorSwitch, run.store.solidColor},
                        ex.initial.lineColor};
    inputs.keepsZeroLengthSpan = mode == RunMode::TwoPoints;
    inputs.ownFigures = &run.ownFigures;
    const std::vector<ElementPath> paths = IndicatedPaths(mode, ex);
    const LayoutPlan plan = PlanLayout(inputs, paths);
    if (plan.Refusal() != LayoutRefusal::None) {
        writer.AppendOutputLine(SpanNotice(plan.Refusal()));
        return false;
    }
    if (ex.bz) writer.AppendOutputLine("bz");
    writer.WriteInitialAttributes();
    PenTarget pens(writer, inputs.row, ex.initial);
    plan.Draw(pens.Target());
    return true;
}

// Modes "1" and "2". Without a selection a file holding only a notice loses
// nothing, and the host shows the notice where 未実行 would say nothing.
void DrawIndicated(const RunContext& run, RunMode mode, LineSink& out) {
    Writer writer(run.exchange, out);
    if (!EnoughPoints(mode, run.exchange))
        return writer.AppendOutputLine(mode == RunMode::TwoPoints ? kTooFewPointsTwo
                                                                  : kTooFewPointsChain);
    if (DrawSpans(run, mode, out) && run.damage != SettingsDamage::None)
        writer.AppendOutputLine(DamageNotice(run));
}

static_assert(kTooFewPointsTwo.size() <= kMaxOutputLine &&
              kTooFewPointsChain.size() <= kMaxOutputLine);

}  // namespace

std::vector<ElementPath> IndicatedPaths(RunMode mode, const ExchangeState& ex) {
    if (!EnoughPoints(mode, ex)) return {};
    if (mode == RunMode::TwoPoints) return {ChainPath(PointsOf(ex), 2)};
    if (mode != RunMode::Chain) return {};
    return {ChainPath(PointsOf(ex), ChainLength(ex))};
}

RunMode ModeFromArgument(std::optional<std::string_view> firstArgument) {
    if (firstArgument == "1") return RunMode::TwoPoints;
    if (firstArgument == "2") return RunMode::Chain;
    if (firstArgument == "3") return RunMode::AlongSelection;
    if (firstArgument == "4") return RunMode::SlopeBetween;
    if (firstArgument == "5") return RunMode::RegisterFigure;
    return RunMode::Dialog;
}

void DrawPattern(const RunContext& run, RunMode mode, LineSink& out) {
    if (OverSelection(mode))
        return WriteSelectionPlan(run.exchange, PlanSelectionRun(run, mode), out);
    DrawIndicated(run, mode, out);
}

int RunDrawingMode(RunMode mode, const RunPaths& paths, const WriteFaults& faults) {
    try {
        RunContext run;
        PrepareRun(run, paths);
        if (mode == RunMode::RegisterFigure)
            return ReplaceWithSelection(
                run.exchange, PlanRegistration(run.exchange, paths.figureLibrary), paths, faults);
        if (OverSelection(mode))
            return ReplaceWithSelection(run.exchange, PlanSelectionRun(run, mode), paths, faults);
        const auto draw = [&](LineSink& out) { DrawPattern(run, mode, out); };
        return ReplaceExchangeFile(paths, faults, draw) ? 0 : 1;
    } catch (const std::bad_alloc&) {
        // Out of memory before the output began (an exchange file or a store
        // too large to hold): the host's file stays as it wrote it.
        return 1;
    }
}

}  // namespace tesra
