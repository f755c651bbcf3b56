#pragma once
// 法面 ticks in the runs. Argument "4": the user gives a point on or near
// the top edge (法肩) and range-selects it with the toe (法尻); the ticks run
// from the selected path nearest the point towards the other selected paths.
// A slope row in mode "3" draws ticks of its tick length on the low side of
// each selected path (in modes "1" and "2" the layout draws them along the
// span or the chain). A decorative row
// under "4" draws as mode "3" does (run.cpp sends it there).
//
// Selection safety as in mode "3": every selected element is written back
// first. When the run cannot draw (nothing with length selected, no point to
// tell the top edge by, a toe no perpendicular meets, too many ticks), the
// selection goes back with an "h#" notice naming the reason and what to change; when the
// selection cannot be written back whole, or on a write fault, the host's
// file stays as it was.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "app/run.h"
#include "exchange/write_back.h"
#include "figures/slope.h"

namespace tesra {

bool SlopeRowInUse(const PatternStore& store);

enum class SlopeOutcome {
    Draw,
    Notice,               // the selection back with a notice, nothing drawn
    CannotKeepSelection,  // an element the run could not write back
};

struct SlopeSelectionPlan {
    SlopeOutcome outcome = SlopeOutcome::Draw;
    WriteBackRefusal refusal = WriteBackRefusal::None;
    std::string_view notice;  // the whole "h#" line, CP932
    std::int32_t notFollowed = 0;
    std::vector<ElementPath> tops;
    SlopePlan ticks;  // planned over the tops and the toe
};

// Everything decided before a byte is written, for modes "3" and "4".
SlopeSelectionPlan PlanSlopeSelection(const RunContext& run, RunMode mode);

// The selection back, then the ticks or the notice. Writes nothing for the
// outcomes that leave the host's file alone.
void DrawSlopeSelection(const RunContext& run, const SlopeSelectionPlan& plan, LineSink& out);

// A prepared run of a slope row over a selection ("3" or "4") written into
// the exchange file. 0 when it was replaced; otherwise non-zero, and the file
// is as the host wrote it.
int ReplaceWithSlopeSelection(const RunContext& run, RunMode mode, const RunPaths& paths,
                              const WriteFaults& faults = {});

}  // namespace tesra
