// The symbol library. One symbol is one entry, every line `key value`:
//
//   tesra-symbols 1                   the format and its version
//   symbol 人工斜面                   the name
//   note 長短交互 (長さは例)          a description, at most one line, may be left out
//   row 0 10 10 0 0 1 0 0 0           the nine fields in the store's order
//   kind=1                            a setting of the row, spelled as the store's
//   pitch=1                           [extension] spells it (without `rowN.`)
//   needs 107 樹木                    an own figure it draws: number, name
//   end
//
// Numbers are the shortest text that reads back to the same double; a setting
// at its default has no line. An entry with a line that does not read (a bad
// number, a known key with a value it cannot take, a second `row`, no `row`,
// no `end`, more symbols than kMaxSymbols) is skipped and kept as it was; so
// is any line outside an entry. A `key=value` line whose key this version
// does not know is a later version's setting: the symbol reads without it and
// keeps the line (up to kMaxLaterKeys of them). Blank lines are ignored. Saving writes unknown
// lines before the symbols and damaged entries after them, so a saved file reads back as the same
// library.

#include "settings/symbol_library.h"

#include <algorithm>
#include <optional>

#include "exchange/line_tokens.h"
#include "figures/own_figures.h"
#include "geom/helpers.h"
#include "settings/figure_library.h"
#include "settings/library_text.h"
#include "settings/pattern_store.h"
#include "settings/row_settings.h"
#include "settings/store_extension.h"

namespace tesra {
namespace {

constexpr std::string_view kHeader = "tesra-symbols 1";
constexpr std::string_view kSymbolKey = "symbol";
constexpr std::string_view kEndKey = "end";

// The next space-separated field, removed from text.
std::string_view TakeField(std::string_view& text) {
    const std::size_t end = text.find(' ');
    const std::string_view field = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return field;
}

bool ReadNote(std::string_view rest, Symbol& s) {
    if (!s.description.empty()) return false;
    s.description = rest;
    return true;
}

bool ReadRow(std::string_view rest, Symbol& s) {
    PatternRow row = s.row;
    for (const RowSetting& field : kLineSettings) {
        const std::string_view text = TakeField(rest);
        if (field.integer) {
            const auto v = WholeInt(text);
            if (!v) return false;
            row.*field.integer = *v;
        } else {
            const auto v = WholeFiniteReal(text);
            if (!v) return false;
            row.*field.real = *v;
        }
    }
    if (!rest.empty()) return false;
    s.row = row;
    return true;
}

bool ReadNeeds(std::string_view rest, Symbol& s) {
    const auto kind = WholeInt(TakeField(rest));
    if (!kind || *kind < kFirstOwnFigureKind || *kind > kLastOwnFigureKind) return false;
    s.needs.push_back({*kind, std::string(rest)});
    return true;
}

// The lines of an entry between `symbol` and `end`, tried in this order.
struct EntryRule {
    std::string_view key;
    bool (*read)(std::string_view rest, Symbol& s);
};
constexpr EntryRule kEntryRules[] = {
    {"note", ReadNote},
    {"row", ReadRow},
    {"needs", ReadNeeds},
};

// `key=value`: a known key must read; an unknown one is kept for a later version.
bool ReadSetting(std::string_view line, Symbol& s) {
    const std::size_t equals = line.find('=');
    const std::string_view name = line.substr(0, equals);
    for (const RowSetting& key : kKeySettings)
        if (key.key == name) return ReadKeyValue(key, line.substr(equals + 1), s.row);
    const bool plausible = !name.empty() && name.find_first_of(" \t") == std::string_view::npos &&
                           s.laterKeys.size() < kMaxLaterKeys;
    if (plausible) s.laterKeys.emplace_back(line);
    return plausible;
}

class LibraryReader {
public:
    SymbolLibrary Read(std::string_view bytes) {
        if (ReadAfterHeader(bytes, kHeader, [this](std::string_view line) { Take(line); }))
            return NotOurs();
        if (entry_.IsOpen()) CloseEntry(false);
        return std::move(lib_);
    }

private:
    static SymbolLibrary NotOurs() {
        SymbolLibrary lib;
        lib.writable = false;
        return lib;
    }

    void Take(std::string_view line) {
        std::string_view rest = line;
        const std::string_view key = TakeField(rest);
        if (key == kSymbolKey) {
            if (entry_.IsOpen()) CloseEntry(false);
            return OpenEntry(line, rest);
        }
        if (!entry_.IsOpen()) {
            if (!line.empty()) lib_.unknownLines.emplace_back(line);
            return;
        }
        entry_.Add(line);
        if (line == kEndKey) return CloseEntry(true);
        if (line.empty() || !entry_.Good()) return;
        if (!ReadEntryLine(line, key, rest)) entry_.Spoil();
    }

    bool ReadEntryLine(std::string_view line, std::string_view key, std::string_view rest) {
        if (line.find('\0') != std::string_view::npos) return false;
        for (const EntryRule& rule : kEntryRules)
            if (key == rule.key) {
                if (key == "row") {
                    if (hasRow_) return false;
                    hasRow_ = true;
                }
                return rule.read(rest, symbol_);
            }
        if (line.find('=') == std::string_view::npos) return false;
        return ReadSetting(line, symbol_);
    }

    void OpenEntry(std::string_view line, std::string_view name) {
        hasRow_ = false;
        entry_.Open(line, name.find('\0') == std::string_view::npos);
        symbol_ = {};
        symbol_.name = name;
    }

    void CloseEntry(bool ended) {
        const bool good = ended && entry_.Good() && hasRow_ && lib_.symbols.size() < kMaxSymbols;
        if (good) lib_.symbols.push_back(std::move(symbol_));
        entry_.Close(good, {lib_.damagedEntries, lib_.damagedLines});
    }

    SymbolLibrary lib_;
    EntryLines entry_;
    bool hasRow_ = false;
    Symbol symbol_;
};

std::string RowLine(const PatternRow& row) {
    std::string line = "row";
    for (const RowSetting& field : kLineSettings) {
        line += ' ';
        if (field.integer)
            AppendWhole(line, row.*field.integer);
        else
            AppendShortest(line, row.*field.real);
    }
    return line;
}

void AppendSymbol(std::string& out, const Symbol& s) {
    AppendLine(out, std::string(kSymbolKey) + ' ' + s.name);
    if (!s.description.empty()) AppendLine(out, "note " + s.description);
    AppendLine(out, RowLine(s.row));
    for (const RowSetting& key : kKeySettings) {
        if (IsDefault(key, s.row)) continue;
        std::string line = std::string(key.key) + '=';
        // The store writes the host's 15 digits; a symbol keeps every bit.
        if (key.real)
            AppendShortest(line, s.row.*key.real);
        else
            line += ValueText(key, s.row);
        AppendLine(out, line);
    }
    for (const std::string& line : s.laterKeys) AppendLine(out, line);
    for (const NeededFigure& need : s.needs) {
        std::string line = "needs ";
        AppendWhole(line, need.kind);
        AppendLine(out, line + ' ' + need.name);
    }
    AppendLine(out, kEndKey);
}

void AddNeed(Symbol& s, std::int32_t kind, const OwnFigureSet* ownFigures) {
    if (kind < kFirstOwnFigureKind) return;
    for (const NeededFigure& need : s.needs)
        if (need.kind == kind) return;
    const OwnFigure* figure = ownFigures ? ownFigures->Find(kind) : nullptr;
    s.needs.push_back({kind, figure ? figure->name : std::string()});
}

std::vector<Symbol>::iterator FindEdited(SymbolLibrary& library, const SymbolEdit& edit) {
    auto& symbols = library.symbols;
    if (edit.index < symbols.size() && symbols[edit.index].name == edit.oldName)
        return symbols.begin() + static_cast<std::ptrdiff_t>(edit.index);
    // The file changed since the dialog read it: the first of that name.
    return std::find_if(symbols.begin(), symbols.end(),
                        [&](const Symbol& s) { return s.name == edit.oldName; });
}

}  // namespace

SymbolLibrary ParseSymbolLibrary(std::string_view bytes) { return LibraryReader().Read(bytes); }

std::string SerializeSymbolLibrary(const SymbolLibrary& library) {
    std::string out;
    AppendLine(out, kHeader);
    for (const std::string& line : library.unknownLines) AppendLine(out, line);
    for (const Symbol& s : library.symbols) AppendSymbol(out, s);
    for (const std::string& line : library.damagedLines) AppendLine(out, line);
    return out;
}

SymbolLibrary LoadSymbolLibrary(const std::filesystem::path& path) {
    std::string bytes;
    const ReadOutcome outcome = ReadFileBytes(path, bytes);
    std::error_code ec;
    if (outcome == ReadOutcome::kCannotOpen && !std::filesystem::exists(path, ec) && !ec)
        return SymbolLibrary{};
    SymbolLibrary library = ParseSymbolLibrary(bytes);
    // What could not be read whole must not be written over.
    if (outcome != ReadOutcome::kRead) library.writable = false;
    return library;
}

bool SaveSymbolLibrary(const SymbolLibrary& library, const std::filesystem::path& path,
                       const WriteFaults& faults) {
    if (!library.writable) return false;
    AtomicFile file(path, faults);
    file.AppendLines(SerializeSymbolLibrary(library));
    return file.Commit();
}

Symbol SymbolOfRow(const PatternRow& row, std::string_view name, std::string_view description,
                   const OwnFigureSet* ownFigures) {
    Symbol s;
    s.name = CleanFigureName(name);
    s.description = CleanFigureName(description);
    s.row = row;
    AddNeed(s, row.figureKind, ownFigures);
    AddNeed(s, row.figureB, ownFigures);
    return s;
}

bool ApplySymbolEdit(SymbolLibrary& library, const SymbolEdit& edit) {
    if (edit.action == SymbolEdit::Action::Add) {
        if (library.symbols.size() >= kMaxSymbols) return false;
        library.symbols.push_back(edit.symbol);
        return true;
    }
    const auto at = FindEdited(library, edit);
    if (at == library.symbols.end()) return false;
    if (edit.action == SymbolEdit::Action::Remove)
        library.symbols.erase(at);
    else
        at->name = CleanFigureName(edit.symbol.name);
    return true;
}

bool SaveSymbolEdits(const std::filesystem::path& path, std::span<const SymbolEdit> edits,
                     const WriteFaults& faults) {
    // Two dialogs saving at once must not lose each other's symbols.
    const FileLock lock(path);
    SymbolLibrary library = LoadSymbolLibrary(path);
    for (const SymbolEdit& edit : edits) ApplySymbolEdit(library, edit);
    if (lock.Fault() != SaveFault::kNone) return false;
    return SaveSymbolLibrary(library, path, faults);
}

}  // namespace tesra
