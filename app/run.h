#pragma once
// One run of the program: read the exchange file and the pattern store from
// the executable's folder, then either hand over to the settings dialog or
// draw the pattern in use and replace the exchange file.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "exchange/atomic_file.h"
#include "exchange/exchange_state.h"
#include "exchange/line_sink.h"
#include "figures/own_figures.h"
#include "geom/path.h"
#include "settings/pattern_store.h"

namespace tesra {

enum class RunMode {
    Dialog = 0,
    TwoPoints = 1,
    Chain = 2,
    AlongSelection = 3,
    SlopeBetween = 4,    // slope ticks from a top edge towards a toe
    RegisterFigure = 5,  // the selection becomes an own figure
};

// "1" to "5" exactly pick the drawing modes; anything else is the dialog.
RunMode ModeFromArgument(std::optional<std::string_view> firstArgument);

struct RunPaths {
    std::filesystem::path exchangeFile;  // <exe folder>/JWC_TEMP.TXT
    std::filesystem::path storeFile;     // the executable's path with ".dat"
    // The user's own figures: the executable's stem and "_figures.txt"
    // (tesra_figures.txt), a file a person can read beside the store.
    std::filesystem::path figureLibrary;

    static RunPaths ForExecutable(const std::filesystem::path& exePath);
};

// Everything one run holds, passed explicitly so a whole run can be tested
// in-process.
struct RunContext {
    ExchangeState exchange;
    PatternStore store;
    // Read only when the row in use names one of them.
    OwnFigureSet ownFigures;
};

// Steps every mode shares: reset and read the exchange file, load the store
// and, when the row in use draws an own figure, the figure library.
void PrepareRun(RunContext& run, const RunPaths& paths);

// The whole drawing into any sink (file, memory, checker): "bz", the initial
// attributes, then the pattern along the span or the chain. Call after
// PrepareRun, or on a context filled in memory.
void DrawPattern(const RunContext& run, RunMode mode, LineSink& out);

// What modes "1" and "2" draw along: the span from point 1 to point 2, or the
// chain through every point given; nothing for other modes.
std::vector<ElementPath> IndicatedPaths(RunMode mode, const ExchangeState& ex);

// A whole drawing run. Returns the exit status: 0 when the exchange file was
// replaced, non-zero when it could not be (the file is then removed).
int RunDrawingMode(RunMode mode, const RunPaths& paths, const WriteFaults& faults = {});

}  // namespace tesra
