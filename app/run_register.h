#pragma once
// Mode "5": the selected lines, arcs, circles and solids become one of the
// user's own figures, named by a selected text if there is one. The drawing
// stays as it was: the host erases the selection when it reads the file
// back, so every selected element is written back, followed by a notice of
// what was registered or why nothing was. When the selection cannot be
// written back whole, the host's file is left exactly as it was.

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/run_context.h"
#include "settings/figure_library.h"

namespace tesra {

enum class RegisterOutcome {
    Registered,
    CannotKeepSelection,  // an element that cannot be written back: nothing is written
    NothingDrawable,      // no line, arc, circle or solid (a text alone, say)
    NoExtent,             // no width or no height
    TooManyElements,      // more than kMaxOwnFigureElements
    NotFinite,            // a size or a coordinate beyond a double once the box is taken
    LibraryFull,          // kMaxOwnFigures figures, or every number given
    LibraryUnreadable,    // not a library of this version, a read error, a dangling link
    LibraryNotSaved,      // the write failed or was refused; the old file is as it was
};

struct Registration {
    RegisterOutcome outcome = RegisterOutcome::NothingDrawable;
    std::int32_t kind = 0;
    std::string name;           // CP932
    std::int32_t notTaken = 0;  // points, texts after the first, solids of other forms
    std::int32_t damaged = 0;   // library entries that did not read (kept)
    LibraryProblem problem = LibraryProblem::kNone;  // why LibraryUnreadable
    SaveFault saveFault = SaveFault::kNone;          // why LibraryNotSaved
};

// Adds the selection to the library as its next figure, or says why not.
// Saves nothing.
Registration RegisterSelection(const ExchangeState& exchange, FigureLibrary& library);

// "bz", the selection written back, the initial attributes and the notice.
// Writes nothing for CannotKeepSelection.
void WriteRegistration(const ExchangeState& exchange, const Registration& r, LineSink& out);

// The planner of mode "5" (run_context.h): the library read, the figure
// added and the library saved, then the notice of what was done; a refusal
// when the selection cannot be written back whole.
SelectionPlan PlanRegistration(const ExchangeState& exchange,
                               const std::filesystem::path& libraryPath);

}  // namespace tesra
