// The run flow: the mode from the argument, the drawing into a sink, the file replaced or removed.
#include "app/run.h"

#include <new>
#include <vector>

#include "app/run_along.h"
#include "app/run_register.h"
#include "app/run_slope.h"
#include "app/selection_output.h"
#include "exchange/reader.h"
#include "exchange/writer.h"
#include "figures/layout.h"
#include "figures/pen_target.h"
#include "geom/helpers.h"
#include "notices_cp932.h"
#include "settings/figure_library.h"

namespace tesra {
namespace {

// Number of present points from index 1 on, stopping at the first gap.
int ChainLength(const ExchangeState& ex) {
    int n = 0;
    while (n + 1 < kIndicatedPointSlots && ex.points[static_cast<std::size_t>(n + 1)].present) ++n;
    return n;
}

std::vector<Point> PointsOf(const ExchangeState& ex) {
    std::vector<Point> points;
    points.reserve(ex.points.size());
    for (const IndicatedPoint& p : ex.points) points.push_back({p.x, p.y});
    return points;
}

}  // namespace

std::vector<ElementPath> IndicatedPaths(RunMode mode, const ExchangeState& ex) {
    if (mode == RunMode::TwoPoints) return {ChainPath(PointsOf(ex), 2)};
    const int chainLength = ChainLength(ex);
    if (mode != RunMode::Chain || chainLength < 2) return {};
    return {ChainPath(PointsOf(ex), chainLength)};
}

RunMode ModeFromArgument(std::optional<std::string_view> firstArgument) {
    if (firstArgument == "1") return RunMode::TwoPoints;
    if (firstArgument == "2") return RunMode::Chain;
    if (firstArgument == "3") return RunMode::AlongSelection;
    if (firstArgument == "4") return RunMode::SlopeBetween;
    if (firstArgument == "5") return RunMode::RegisterFigure;
    return RunMode::Dialog;
}

RunPaths RunPaths::ForExecutable(const std::filesystem::path& exePath) {
    RunPaths paths;
    paths.exchangeFile = exePath.parent_path() / "JWC_TEMP.TXT";
    paths.storeFile = exePath;
    paths.storeFile.replace_extension(".dat");
    paths.figureLibrary = exePath.parent_path() / exePath.stem();
    paths.figureLibrary += "_figures.txt";
    return paths;
}

void PrepareRun(RunContext& run, const RunPaths& paths) {
    ResetExchangeState(run.exchange);
    ReadExchangeFile(run.exchange, paths.exchangeFile);
    run.store = LoadPatternStore(paths.storeFile);
    // A library of a thousand figures costs more to read than a whole
    // ordinary run: only a row that draws one reads it.
    const PatternRow row = run.store.RowInUse();
    if (row.figureKind >= kFirstOwnFigureKind || row.figureB >= kFirstOwnFigureKind)
        run.ownFigures = LoadFigureLibrary(paths.figureLibrary).set;
}

void DrawPattern(const RunContext& run, RunMode mode, LineSink& out) {
    // 法面 rows in every mode, and argument "4", drawn apart (run_slope.h).
    const bool selection = mode == RunMode::AlongSelection || mode == RunMode::SlopeBetween;
    if (SlopeRowInUse(run.store))
        return selection ? DrawSlopeSelection(run, PlanSlopeSelection(run, mode), out)
                         : DrawSlopeSpans(run, mode, out);
    if (selection) return DrawAlongSelection(run, PlanAlongSelection(run), out);
    const ExchangeState& ex = run.exchange;
    Writer writer(ex, out);
    LayoutInputs inputs{run.store.RowInUse(),
                        SolidStyle{run.store.solidColorSwitch, run.store.solidColor},
                        ex.initial.lineColor};
    inputs.keepsZeroLengthSpan = mode == RunMode::TwoPoints;
    inputs.ownFigures = &run.ownFigures;
    const std::vector<ElementPath> paths = IndicatedPaths(mode, ex);
    const std::int64_t figures = LayoutFigureCount(inputs, paths);
    if (figures > kMaxFiguresPerRun || OwnElementsOverBound(run.ownFigures, inputs.row, figures))
        return writer.AppendOutputLine(kTooManyFigures);

    if (ex.bz) writer.AppendOutputLine("bz");
    writer.WriteInitialAttributes();
    PenTarget pens(writer, inputs.row, ex.initial);
    LayOutPaths(inputs, paths, pens.Target());
}

namespace {

bool DrawAndReplace(RunMode mode, const RunPaths& paths, const WriteFaults& faults) {
    RunContext run;
    PrepareRun(run, paths);
    return ReplaceExchangeFile(paths, faults, [&](LineSink& out) { DrawPattern(run, mode, out); });
}

// Modes "3" and "4", read once: a slope row runs apart (run_slope.h), a
// decorative row under "4" draws as under "3". Running out of memory before
// a byte is written leaves the host's file as it was.
int RunOverSelection(RunMode mode, const RunPaths& paths, const WriteFaults& faults) {
    try {
        RunContext run;
        PrepareRun(run, paths);
        if (SlopeRowInUse(run.store)) return ReplaceWithSlopeSelection(run, mode, paths, faults);
        return ReplaceWithAlongSelection(run, paths, faults);
    } catch (const std::bad_alloc&) {
        return 1;
    }
}

}  // namespace

int RunDrawingMode(RunMode mode, const RunPaths& paths, const WriteFaults& faults) {
    if (mode == RunMode::AlongSelection || mode == RunMode::SlopeBetween)
        return RunOverSelection(mode, paths, faults);
    if (mode == RunMode::RegisterFigure) return RunRegisterFigureMode(paths, faults);
    try {
        if (DrawAndReplace(mode, paths, faults)) return 0;
    } catch (const std::bad_alloc&) {
        // An exchange file too large to hold in memory fails the run like a
        // failed write, instead of ending it with the input left in place.
    }
    // The host must never read a half-written file, nor its own input back.
    std::error_code ec;
    std::filesystem::remove(paths.exchangeFile, ec);
    return 1;
}

}  // namespace tesra
