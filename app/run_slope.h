#pragma once
// 法面 ticks in the runs. Argument "4": the user gives a point on or near
// the top edge (法肩) and range-selects it with the toe (法尻); the ticks run
// from the selected path nearest the point towards the other selected paths.
// A slope row in modes "1", "2" and "3" draws ticks of its tick length on the
// low side of the span, the chain or each selected path. A decorative row
// under "4" draws as mode "3" does (run.cpp sends it there).
//
// Over a selection this is a planner of the selection pipeline
// (run_context.h): when the run cannot draw (nothing with length selected,
// no point to tell the top edge by, a toe no perpendicular meets, too many
// ticks), the selection goes back with an "h#" notice saying what to change.

#include <vector>

#include "app/run_context.h"
#include "figures/slope.h"

namespace tesra {

bool SlopeRowInUse(const PatternStore& store);

// Everything decided before a byte is written, for modes "3" and "4".
SelectionPlan PlanSlopeSelection(const RunContext& run, RunMode mode);

// Modes "1" and "2" along `tops`: "bz", the initial attributes, the top edge
// when the row says so, the ticks; an "he" message alone when there would be
// too many. False for that refusal.
bool DrawSlopeSpans(const RunContext& run, const std::vector<ElementPath>& tops, LineSink& out);

}  // namespace tesra
