#pragma once
// Ready-made symbols: whole pattern rows under a name, kept beside the
// executable in a text file that an office copies between colleagues (CP932,
// CR LF; the format is described at the top of symbol_library.cpp). Like the
// figure library it loses nothing: an entry that does not read is skipped but
// kept byte for byte when the file is saved again, and a file that is not a
// symbol library of this version is never overwritten.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/atomic_file.h"
#include "figures/pattern.h"

namespace tesra {

struct OwnFigureSet;

// An own figure that a symbol draws: the symbol is only whole where the
// figure library holds a figure of this number.
struct NeededFigure {
    std::int32_t kind = 0;
    std::string name;  // CP932, as it was when the symbol was registered

    bool operator==(const NeededFigure&) const = default;
};

struct Symbol {
    std::string name;         // CP932
    std::string description;  // CP932, one line
    PatternRow row;
    std::vector<NeededFigure> needs;
    // `key=value` lines whose key this version does not know (a later
    // version's settings), saved back inside the symbol.
    std::vector<std::string> laterKeys;

    bool operator==(const Symbol&) const = default;
};

struct SymbolLibrary {
    std::vector<Symbol> symbols;  // in the file's order
    std::vector<std::string> unknownLines;
    std::vector<std::string> damagedLines;
    std::int32_t damagedEntries = 0;
    bool writable = true;  // false: another format or version, or a read error
};

// More symbols than this are kept aside as damaged entries.
inline constexpr std::size_t kMaxSymbols = 4096;
// A symbol with more settings this version does not know is kept aside as damaged.
inline constexpr std::size_t kMaxLaterKeys = 64;

inline constexpr std::string_view kSymbolFileName = "tesra_symbols.txt";

SymbolLibrary ParseSymbolLibrary(std::string_view bytes);
std::string SerializeSymbolLibrary(const SymbolLibrary& library);  // lines with CR LF

// A missing file is an empty library.
SymbolLibrary LoadSymbolLibrary(const std::filesystem::path& path);
// Replaces the file as a whole or leaves the old one exactly as it was.
bool SaveSymbolLibrary(const SymbolLibrary& library, const std::filesystem::path& path,
                       const WriteFaults& faults = {});

// A row saved as a symbol: the own figures it draws are named from the set.
Symbol SymbolOfRow(const PatternRow& row, std::string_view name, std::string_view description,
                   const OwnFigureSet* ownFigures);

// A change the dialog makes: a new symbol, a new name, or a removal. A symbol
// is found by its place and its name as the dialog saw them, so that an edit
// never lands on another symbol when the file changed meanwhile.
struct SymbolEdit {
    enum class Action { Add, Rename, Remove };
    Action action = Action::Add;
    std::size_t index = 0;
    std::string oldName;  // CP932
    Symbol symbol;        // Add: the symbol; Rename: its new name
};
// False when the edit finds no such symbol or the library is full.
bool ApplySymbolEdit(SymbolLibrary& library, const SymbolEdit& edit);
// Reads the file as it is now, applies the edits and saves it whole; or
// leaves it as it was.
bool SaveSymbolEdits(const std::filesystem::path& path, std::span<const SymbolEdit> edits,
                     const WriteFaults& faults = {});

}  // namespace tesra
