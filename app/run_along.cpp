// Mode "3": plan the run along the selection.
#include "app/run_along.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "exchange/host_codes.h"
#include "figures/along_elements.h"
#include "figures/layout.h"
#include "figures/pen_target.h"
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
bool AnythingToFollow(const AlongSelection& selection) {
    return std::any_of(selection.paths.begin(), selection.paths.end(), PathHasLength);
}

static_assert(kNothingToFollow.size() <= kMaxOutputLine &&
              kTooManyFiguresAlong.size() <= kMaxOutputLine);

}  // namespace

SelectionPlan PlanAlongSelection(const RunContext& run) {
    SelectionPlan plan = PlanWriteBack(run.exchange);
    if (plan.outcome == SelectionPlan::Outcome::Refusal) return plan;
    AlongSelection selection = PathsFromSelection(run.exchange.elements);
    if (!AnythingToFollow(selection))
        return NoticePlan(std::move(plan), std::string(kNothingToFollow));
    if (OverFigureBound(run, LayoutFigureCount(InputsOf(run), selection.paths)))
        return NoticePlan(std::move(plan), std::string(kTooManyFiguresAlong));
    plan.notFollowed = selection.notFollowed;
    plan.draw = [&run, paths = std::move(selection.paths)](Writer& writer) {
        const LayoutInputs inputs = InputsOf(run);
        PenTarget pens(writer, inputs.row, run.exchange.initial);
        LayOutPaths(inputs, paths, pens.Target());
    };
    return plan;
}

}  // namespace tesra
