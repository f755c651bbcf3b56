#pragma once
// Mode "3": the pattern along the lines, arcs and circles the user selected
// in the host. The selection pipeline (run_context.h) writes every selected
// element back before the new drawing; this planner decides what is drawn,
// or why nothing is (nothing to follow, too many figures).

#include "app/run_context.h"

namespace tesra {

// Everything decided before a byte is written: a refusal when an element
// cannot be written back, a notice when nothing can be drawn, otherwise the
// pattern along every path and the count of elliptic arcs not followed.
SelectionPlan PlanAlongSelection(const RunContext& run);

}  // namespace tesra
