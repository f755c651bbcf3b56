#pragma once
// Mode "3": the pattern along the lines, arcs and circles the user selected
// in the host. The host erases what was selected when it reads the file back,
// so the run writes every selected element back before the new drawing. When
// it cannot draw (nothing to follow, too many figures), it writes the
// selection back alone and says why in the host's message line. When it
// cannot write every element back, it leaves the host's file exactly as it
// was, which the host treats as not run.

#include <cstdint>

#include "app/run.h"
#include "exchange/write_back.h"
#include "figures/along_elements.h"

namespace tesra {

enum class AlongOutcome {
    Draw,
    NothingToFollow,      // no line, arc or circle in the selection
    CannotKeepSelection,  // an element the run could not write back
    TooManyFigures,       // more than a run may draw
};

struct AlongPlan {
    AlongOutcome outcome = AlongOutcome::NothingToFollow;
    WriteBackRefusal refusal = WriteBackRefusal::None;
    AlongSelection selection;
    std::int64_t figures = 0;
};

// Everything decided before a byte is written.
AlongPlan PlanAlongSelection(const RunContext& run);

// Whether the run replaces the host's file: always, unless an element could
// not be written back.
bool KeepsSelection(const AlongPlan& plan);

// "bz", the selection written back, the initial attributes, then either the
// pattern along every path and a notice about elements not followed, or the
// reason nothing was drawn. Writes nothing unless KeepsSelection(plan).
void DrawAlongSelection(const RunContext& run, const AlongPlan& plan, LineSink& out);

// A prepared run along the selection written into the exchange file. 0 when
// it was replaced; otherwise non-zero, and the file is as the host wrote it
// (a file that still starts with "hq" is the one state in which the host
// erases nothing).
int ReplaceWithAlongSelection(const RunContext& run, const RunPaths& paths,
                              const WriteFaults& faults = {});

}  // namespace tesra
