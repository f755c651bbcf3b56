#pragma once
// One run of the program: the mode from the argument, then either the
// settings dialog or a drawing mode that reads the exchange file and the
// pattern store from the executable's folder and replaces the exchange file.
// Modes "1" and "2" draw along the indicated points; "3", "4" and "5" go
// through the selection pipeline of run_context.h with their own planner.

#include <optional>
#include <string_view>
#include <vector>

#include "app/run_context.h"
#include "geom/path.h"

namespace tesra {

// "1" to "5" exactly pick the drawing modes; anything else is the dialog.
RunMode ModeFromArgument(std::optional<std::string_view> firstArgument);

// The whole output of a drawing mode into any sink (file, memory, checker).
// Modes "1" and "2": "bz", the initial attributes, the pattern along the span
// or the chain and a notice of damaged settings; a notice alone when the
// points are too few; an "he" message alone when there would be too many
// figures. Modes "3" and "4": the selection plan written out. Call after
// PrepareRun, or on a context filled in memory.
void DrawPattern(const RunContext& run, RunMode mode, LineSink& out);

// What modes "1" and "2" draw along: the span from point 1 to point 2, or the
// chain through every point given; nothing for other modes, nor when the
// points are too few.
std::vector<ElementPath> IndicatedPaths(RunMode mode, const ExchangeState& ex);

// A whole drawing run. Returns the exit status: 0 when the exchange file was
// replaced; non-zero when it could not be, and the file is then exactly as
// the host wrote it (the host shows 未実行 and erases nothing).
int RunDrawingMode(RunMode mode, const RunPaths& paths, const WriteFaults& faults = {});

}  // namespace tesra
