// Modes "3" and "4": plan the run along the selection.
#include "app/run_along.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "figures/along_elements.h"
#include "figures/layout.h"
#include "figures/pen_target.h"
#include "notices_cp932.h"

namespace tesra {
namespace {

// The selected elements are in the drawing already: guides on them are not
// drawn again. Under "4" the first indicated point tells the top edge.
LayoutInputs InputsOf(const RunContext& run, RunMode mode) {
    LayoutInputs in{run.store.RowInUse(),
                    SolidStyle{run.store.solidColorSwitch, run.store.solidColor},
                    run.exchange.initial.lineColor};
    in.pathIsDrawn = true;
    in.ownFigures = &run.ownFigures;
    in.splitsTopAndToe = mode == RunMode::SlopeBetween;
    const IndicatedPoint& point = run.exchange.points[1];
    if (in.splitsTopAndToe && point.present) in.topPoint = Point{point.x, point.y};
    return in;
}

// Zero-length lines and zero-radius arcs become paths too, but nothing can be
// drawn along them: a selection of only those has nothing to follow.
bool AnythingToFollow(const AlongSelection& selection) {
    return std::any_of(selection.paths.begin(), selection.paths.end(), PathHasLength);
}

// The notice that names why the layout draws nothing and what to change.
std::string_view NoticeFor(LayoutRefusal refusal) {
    switch (refusal) {
        case LayoutRefusal::TooManyFigures: return kTooManyFiguresAlong;
        case LayoutRefusal::TooManyTicks: return kSlopeTooManyTicks;
        case LayoutRefusal::PointFarFromTop: return kSlopePointFar;
        case LayoutRefusal::ToeNotMet: return kSlopeToeNotMet;
        case LayoutRefusal::TicksWouldCross: return kSlopeTicksCross;
        case LayoutRefusal::NoTopEdge:
        case LayoutRefusal::None: break;
    }
    return kSlopeNoPoint;
}

// The paths and the plan laid over them, kept together for the drawing.
struct LaidSelection {
    std::vector<ElementPath> paths;
    std::optional<LayoutPlan> plan;
};

static_assert(kNothingToFollow.size() <= kMaxOutputLine &&
              kTooManyFiguresAlong.size() <= kMaxOutputLine);

}  // namespace

SelectionPlan PlanAlongSelection(const RunContext& run, RunMode mode) {
    SelectionPlan plan = PlanWriteBack(run.exchange);
    if (plan.outcome == SelectionPlan::Outcome::Refusal) return plan;
    AlongSelection selection = PathsFromSelection(run.exchange.elements);
    if (!AnythingToFollow(selection))
        return NoticePlan(std::move(plan), std::string(kNothingToFollow));
    const LayoutInputs inputs = InputsOf(run, mode);
    auto laid = std::make_shared<LaidSelection>();
    laid->paths = std::move(selection.paths);
    const LayoutPlan& layout = laid->plan.emplace(PlanLayout(inputs, laid->paths));
    if (layout.Refusal() != LayoutRefusal::None)
        return NoticePlan(std::move(plan), std::string(NoticeFor(layout.Refusal())));
    plan.notFollowed = selection.notFollowed;
    plan.draw = [&run, row = inputs.row, laid](Writer& writer) {
        PenTarget pens(writer, row, run.exchange.initial);
        laid->plan->Draw(pens.Target());
    };
    return plan;
}

}  // namespace tesra
