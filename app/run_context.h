#pragma once
// What every run shares: the mode, the files beside the executable, the
// state one run holds, what preparing it found damaged or missing, and the
// one path by which a run over a range selection answers the host.
//
// A run over a selection ("3", "4", "5") is a planner and this pipeline. The
// planner decides everything before a byte is written and returns a plan:
//   refusal  an element cannot be written back: the host's file stays as the
//            host wrote it (it then erases nothing and shows 未実行);
//   notice   the selection goes back with one "h#" line saying why nothing
//            was drawn (or what was registered) and what to change;
//   drawing  the selection goes back, then the drawing, then at most one
//            "h#" line: damaged settings, or elliptic arcs not followed.
// The host erases what was selected when it reads the file back, so whatever
// a run draws or says, the selection goes back first; any write fault leaves
// the host's file as it was.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "exchange/atomic_file.h"
#include "exchange/exchange_state.h"
#include "exchange/line_sink.h"
#include "exchange/write_back.h"
#include "exchange/writer.h"
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

struct RunPaths {
    std::filesystem::path exchangeFile;  // <exe folder>/JWC_TEMP.TXT
    std::filesystem::path storeFile;     // the executable's path with ".dat"
    // The user's own figures: the executable's stem and "_figures.txt"
    // (tesra_figures.txt), a file a person can read beside the store.
    std::filesystem::path figureLibrary;

    static RunPaths ForExecutable(const std::filesystem::path& exePath);
};

// Why a run draws otherwise than the row in use says. Only the most useful
// cause is kept: a damaged store may be why a figure seems missing.
enum class SettingsDamage {
    None,
    StoreUnreadable,    // tesra.dat is there but could not be read
    StoreDamaged,       // lines missing or not numbers: they read as 0
    LibraryUnreadable,  // the row draws an own figure from a library not of this version
    OwnFigureMissing,   // the row draws an own figure the library does not hold
};

// Everything one run holds, passed explicitly so a whole run can be tested
// in-process.
struct RunContext {
    ExchangeState exchange;
    PatternStore store;
    // Read only when the row in use names one of them.
    OwnFigureSet ownFigures;
    SettingsDamage damage = SettingsDamage::None;
    std::int32_t missingKind = 0;  // the own figure for OwnFigureMissing
};

// Steps every mode shares: reset and read the exchange file, load the store
// and, when the row in use draws an own figure, the figure library; note
// what was damaged or missing.
void PrepareRun(RunContext& run, const RunPaths& paths);

// The "h#" line (CP932) that names the damage and what to do; "" for none.
std::string DamageNotice(const RunContext& run);

struct SelectionPlan {
    enum class Outcome { Refusal, Notice, Drawing };
    Outcome outcome = Outcome::Drawing;
    WriteBackRefusal refusal = WriteBackRefusal::None;  // for Refusal
    // Notice: the whole "h#" line. Drawing: one after it, or none.
    std::string notice;
    std::int32_t notFollowed = 0;  // elliptic arcs left as they were
    // Drawing: what goes after the selection and the initial attributes.
    std::function<void(Writer&)> draw;
};

// The common start of every planner: a plan that refuses when an element
// cannot be written back, otherwise a drawing plan without a drawing yet.
SelectionPlan PlanWriteBack(const ExchangeState& ex);
// The selection back with only this notice.
SelectionPlan NoticePlan(SelectionPlan plan, std::string notice);
// A drawing run tells of damaged settings rather than of elliptic arcs.
SelectionPlan NoteDamage(SelectionPlan plan, const RunContext& run);

// "bz", the selection back, the initial attributes, then the drawing and its
// notice, or the notice alone. Writes nothing for a refusal.
void WriteSelectionPlan(const ExchangeState& ex, const SelectionPlan& plan, LineSink& out);

// A planned run over the selection written into the exchange file. 0 when it
// was replaced; otherwise non-zero, and the file is as the host wrote it.
int ReplaceWithSelection(const ExchangeState& ex, const SelectionPlan& plan, const RunPaths& paths,
                         const WriteFaults& faults = {});

// Writes through `draw` into a temporary file renamed over the exchange file
// once complete. False on any write fault or when memory runs out; the
// host's file is then untouched.
bool ReplaceExchangeFile(const RunPaths& paths, const WriteFaults& faults,
                         const std::function<void(LineSink&)>& draw);

// The notice about elliptic arcs left as they were: 楕円弧 <n> 個には沿わせず、そのまま残しました。
std::string NotFollowedNotice(std::int32_t count);

}  // namespace tesra
