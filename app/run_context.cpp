// The run's shared state and the one pipeline of the runs over a selection.
#include "app/run_context.h"

#include <algorithm>
#include <new>
#include <utility>

#include "exchange/block_formatter.h"
#include "exchange/host_codes.h"
#include "exchange/number_format.h"
#include "exchange/reader.h"
#include "figures/layout.h"
#include "notices_cp932.h"
#include "settings/figure_library.h"

namespace tesra {
namespace {

SettingsDamage DamageOf(StoreCondition condition) {
    switch (condition) {
        case StoreCondition::Unreadable: return SettingsDamage::StoreUnreadable;
        case StoreCondition::Damaged: return SettingsDamage::StoreDamaged;
        default: return SettingsDamage::None;
    }
}

bool IsOwnKind(std::int32_t kind) { return kind >= kFirstOwnFigureKind; }

// The kinds a rule row really places: A unless its sequence names only B.
// A sequence the layout would not take is drawn as A alone.
bool PlacesA(const PatternRow& row) {
    return !IsSequence(row.sequence) || row.sequence.empty() ||
           row.sequence.find('A') != std::string::npos;
}
bool PlacesB(const PatternRow& row) {
    return IsSequence(row.sequence) && row.sequence.find('B') != std::string::npos;
}

// The first own figure the row places that the set lacks; 0 for none.
std::int32_t MissingOwnKind(const OwnFigureSet& set, const PatternRow& row) {
    if (row.rowKind == kRowSlope) return 0;
    for (const auto& [kind, placed] :
         {std::pair{row.figureKind, PlacesA(row)}, std::pair{row.figureB, PlacesB(row)}})
        if (placed && IsOwnKind(kind) && !set.Find(kind)) return kind;
    return 0;
}

}  // namespace

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
    LoadedStore loaded = LoadPatternStoreChecked(paths.storeFile);
    run.store = std::move(loaded.store);
    run.damage = DamageOf(loaded.condition);
    // A library of a thousand figures costs more to read than a whole
    // ordinary run: only a row that draws one reads it.
    const PatternRow row = run.store.RowInUse();
    if (!IsOwnKind(row.figureKind) && !IsOwnKind(row.figureB)) return;
    FigureLibrary library = LoadFigureLibrary(paths.figureLibrary);
    run.ownFigures = std::move(library.set);
    const std::int32_t missing = MissingOwnKind(run.ownFigures, row);
    if (missing == 0 || run.damage != SettingsDamage::None) return;
    const bool readable =
        library.problem == LibraryProblem::kNone || library.problem == LibraryProblem::kMissing;
    run.damage = readable ? SettingsDamage::OwnFigureMissing : SettingsDamage::LibraryUnreadable;
    run.missingKind = missing;
}

std::string DamageNotice(const RunContext& run) {
    switch (run.damage) {
        case SettingsDamage::StoreUnreadable: return std::string(kStoreUnreadable);
        case SettingsDamage::StoreDamaged: return std::string(kStoreDamaged);
        case SettingsDamage::LibraryUnreadable: return std::string(kLibraryUnreadableForDrawing);
        case SettingsDamage::OwnFigureMissing: {
            std::string line(kOwnFigureMissingBefore);
            line += ' ';
            AppendInt(line, run.missingKind);
            line += ' ';
            line += kOwnFigureMissingAfter;
            return line;
        }
        default: return {};
    }
}

static_assert(kStoreUnreadable.size() <= kMaxOutputLine && kStoreDamaged.size() <= kMaxOutputLine &&
              kLibraryUnreadableForDrawing.size() <= kMaxOutputLine &&
              kOwnFigureMissingBefore.size() + 13 + kOwnFigureMissingAfter.size() <=
                  kMaxOutputLine);

SelectionPlan PlanWriteBack(const ExchangeState& ex) {
    SelectionPlan plan;
    plan.refusal = FirstRefusal(ex.elements);
    if (plan.refusal != WriteBackRefusal::None) plan.outcome = SelectionPlan::Outcome::Refusal;
    return plan;
}

SelectionPlan NoticePlan(SelectionPlan plan, std::string notice) {
    plan.outcome = SelectionPlan::Outcome::Notice;
    plan.notice = std::move(notice);
    plan.draw = nullptr;
    return plan;
}

SelectionPlan NoteDamage(SelectionPlan plan, const RunContext& run) {
    if (plan.outcome == SelectionPlan::Outcome::Drawing && run.damage != SettingsDamage::None)
        plan.notice = DamageNotice(run);
    return plan;
}

void WriteSelectionPlan(const ExchangeState& ex, const SelectionPlan& plan, LineSink& out) {
    if (plan.outcome == SelectionPlan::Outcome::Refusal) return;
    Writer writer(ex, out);
    if (ex.bz) writer.AppendOutputLine("bz");
    WriteBackSelection(ex.elements, writer);
    writer.WriteInitialAttributes();
    if (plan.outcome == SelectionPlan::Outcome::Drawing && plan.draw) plan.draw(writer);
    if (!plan.notice.empty()) {
        writer.AppendOutputLine(plan.notice);
    } else if (plan.notFollowed > 0) {
        writer.AppendOutputLine(NotFollowedNotice(plan.notFollowed));
    }
}

int ReplaceWithSelection(const ExchangeState& ex, const SelectionPlan& plan, const RunPaths& paths,
                         const WriteFaults& faults) {
    if (plan.outcome == SelectionPlan::Outcome::Refusal) return 1;
    const auto write = [&](LineSink& out) { WriteSelectionPlan(ex, plan, out); };
    return ReplaceExchangeFile(paths, faults, write) ? 0 : 1;
}

bool ReplaceExchangeFile(const RunPaths& paths, const WriteFaults& faults,
                         const std::function<void(LineSink&)>& draw) {
    try {
        AtomicFile out(paths.exchangeFile, faults);
        BlockFormatter formatter(out);
        draw(formatter);
        formatter.Finish();
        return out.Commit();
    } catch (const std::bad_alloc&) {
        // The temporary file is gone with its AtomicFile.
        return false;
    }
}

std::string NotFollowedNotice(std::int32_t count) {
    std::string line(kNotFollowedBefore);
    AppendInt(line, count);
    line += kNotFollowedAfter;
    return line;
}

}  // namespace tesra
