// Mode "3": plan the run along the selection, write the selection back, draw along it.
#include "app/run_along.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/selection_output.h"
#include "exchange/writer.h"
#include "figures/layout.h"
#include "figures/pen_target.h"
#include "geom/helpers.h"
#include "notices_cp932.h"

namespace tesra {
namespace {

// The selected elements are in the drawing already: guides on them are not drawn again.
LayoutInputs InputsOf(const RunContext& run) {
    LayoutInputs in{run.store.RowInUse(),
                    SolidStyle{run.store.solidColorSwitch, run.store.solidColor},
                    run.exchange.initial.lineColor};
    in.pathIsDrawn = true;
    in.ownFigures = &run.ownFigures;
    return in;
}

// Zero-length lines and zero-radius arcs become paths too, but nothing can be
// drawn along them: a selection of only those has nothing to follow.
bool HasLength(const PathElement& e) {
    if (e.shape == PathElement::Shape::Line) return !SamePoint(e.a, e.b);
    return e.radius > kSameEps && std::fabs(e.sweepRad) * e.radius > kSameEps;
}

bool AnythingToFollow(const AlongSelection& selection) {
    for (const ElementPath& path : selection.paths)
        if (std::any_of(path.elements.begin(), path.elements.end(), HasLength)) return true;
    return false;
}

// The host's message line is all the user learns of a run that drew nothing.
std::string_view WhyNothingDrawn(const AlongPlan& plan) {
    return plan.outcome == AlongOutcome::TooManyFigures ? kTooManyFiguresAlong : kNothingToFollow;
}

static_assert(kNothingToFollow.size() <= kMaxOutputLine &&
              kTooManyFiguresAlong.size() <= kMaxOutputLine);

}  // namespace

AlongPlan PlanAlongSelection(const RunContext& run) {
    AlongPlan plan;
    plan.refusal = FirstRefusal(run.exchange.elements);
    if (plan.refusal != WriteBackRefusal::None) {
        plan.outcome = AlongOutcome::CannotKeepSelection;
        return plan;
    }
    plan.selection = PathsFromSelection(run.exchange.elements);
    if (!AnythingToFollow(plan.selection)) {
        plan.outcome = AlongOutcome::NothingToFollow;
        return plan;
    }
    plan.figures = LayoutFigureCount(InputsOf(run), plan.selection.paths);
    const bool tooMany = plan.figures > kMaxFiguresPerRun ||
                         OwnElementsOverBound(run.ownFigures, run.store.RowInUse(), plan.figures);
    plan.outcome = tooMany ? AlongOutcome::TooManyFigures : AlongOutcome::Draw;
    return plan;
}

bool KeepsSelection(const AlongPlan& plan) {
    return plan.outcome != AlongOutcome::CannotKeepSelection;
}

void DrawAlongSelection(const RunContext& run, const AlongPlan& plan, LineSink& out) {
    if (!KeepsSelection(plan)) return;
    const ExchangeState& ex = run.exchange;
    Writer writer(ex, out);
    WriteSelectionBack(ex, writer);
    writer.WriteInitialAttributes();
    if (plan.outcome != AlongOutcome::Draw) {
        writer.AppendOutputLine(WhyNothingDrawn(plan));
        return;
    }
    const LayoutInputs inputs = InputsOf(run);
    PenTarget pens(writer, inputs.row, ex.initial);
    LayOutPaths(inputs, plan.selection.paths, pens.Target());
    if (plan.selection.notFollowed > 0)
        writer.AppendOutputLine(NotFollowedNotice(plan.selection.notFollowed));
}

int ReplaceWithAlongSelection(const RunContext& run, const RunPaths& paths,
                              const WriteFaults& faults) {
    const AlongPlan plan = PlanAlongSelection(run);
    if (!KeepsSelection(plan)) return 1;
    const auto draw = [&](LineSink& out) { DrawAlongSelection(run, plan, out); };
    return ReplaceExchangeFile(paths, faults, draw) ? 0 : 1;
}

}  // namespace tesra
