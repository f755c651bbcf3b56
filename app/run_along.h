#pragma once
// Modes "3" and "4": the row in use along the lines, arcs and circles the user
// selected in the host. The selection pipeline (run_context.h) writes every
// selected element back before the new drawing; this planner decides what is
// drawn, or why nothing is.
//
// A rule row draws its pattern along every selected path under both. A slope
// row (法面) under "3" draws ticks of its tick length on the low side of each
// path; under "4" the user gives a point on or near the top edge (法肩) and
// range-selects it with the toe (法尻): the ticks run from the selected path
// nearest the point towards the others. Which of these applies is the
// layout's to know (figures/layout.h); when it cannot draw, its refusal
// names the notice: too many figures or ticks, no point to tell the top edge
// by, a point far from every chain, a toe no perpendicular meets, ticks that
// would all cross.

#include "app/run_context.h"

namespace tesra {

// Everything decided before a byte is written: a refusal when an element
// cannot be written back, a notice when nothing can be drawn, otherwise the
// row along every path and the count of elliptic arcs not followed.
SelectionPlan PlanAlongSelection(const RunContext& run, RunMode mode = RunMode::AlongSelection);

}  // namespace tesra
