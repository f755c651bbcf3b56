#pragma once
// 法面 ticks in the runs. Argument "4": the user gives a point on or near
// the top edge (法肩) and range-selects it with the toe (法尻); the ticks run
// from the selected path nearest the point towards the other selected paths.
// A slope row in mode "3" draws ticks of its tick length on the low side of
// each selected path (in modes "1" and "2" the layout draws them along the
// span or the chain). A decorative row under "4" draws as mode "3" does
// (run.cpp sends it there).
//
// Over a selection this is a planner of the selection pipeline
// (run_context.h): when the run cannot draw (nothing with length selected,
// no point to tell the top edge by, a point far from every chain, a toe no
// perpendicular meets, ticks that would all cross, too many ticks), the
// selection goes back with an "h#" notice naming the reason and what to change.

#include <vector>

#include "app/run_context.h"
#include "figures/slope.h"

namespace tesra {

bool SlopeRowInUse(const PatternStore& store);

// Everything decided before a byte is written, for modes "3" and "4".
SelectionPlan PlanSlopeSelection(const RunContext& run, RunMode mode);

}  // namespace tesra
