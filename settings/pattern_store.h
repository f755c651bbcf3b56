#pragma once
// The twelve patterns, the row in use, the dialog's position and the solid
// color, kept beside the executable in a 113-line text file and the
// [extension] section after it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/atomic_file.h"
#include "figures/pattern.h"
#include "settings/store_extension.h"

namespace tesra {

inline constexpr int kStoreLines = 5 + static_cast<int>(kRowLineCount) * kPatternRows;
// The most of a store file that is read: far above any store the program
// writes (about 8 KB with every setting of every row), low enough that a
// damaged file (one of gigabytes, or without a line feed) costs no memory
// worth speaking of. A longer file is read as far as its last whole line
// within the bound, and the dialog does not save over it.
inline constexpr std::size_t kStoreMostBytes = std::size_t{1} << 20;

// Whether the store holds everything its file held.
enum class StoreRead {
    kWhole,      // the whole file, or no file at all
    kReadError,  // the system failed while reading: the lines before stand
    kOverBound,  // the file is longer than kStoreMostBytes
};

struct PatternStore {
    std::int32_t formLeft = 0;
    std::int32_t formTop = 0;
    std::int32_t selectedRow = 1;
    bool solidColorSwitch = false;
    std::int32_t solidColor = 0;  // 0x00BBGGRR
    PatternRows rows{};
    // The [extension] section as read, so that lines this version does not
    // know are saved where they stood.
    std::vector<std::string> extensionLines;
    // Not whole: the rest of the file was never seen, and saving would lose it.
    StoreRead read = StoreRead::kWhole;

    // The selected row, or the default row when SelectedRow is not 1..12.
    PatternRow RowInUse() const;

    bool operator==(const PatternStore&) const = default;
};

// Defaults, then whatever the file holds (missing file: defaults), at most
// kStoreMostBytes of it. A file of 113 lines or fewer has no [extension]
// section: its new settings are the defaults.
PatternStore LoadPatternStore(const std::filesystem::path& path);

// How much of the file a load could take as the user's settings.
enum class StoreCondition {
    Whole,       // every one of the 113 lines read as a value
    Missing,     // no file: the defaults, as on the first run
    Unreadable,  // a file that could not be opened or read to its end
    Damaged,     // a line missing or no number: read as 0
};
struct LoadedStore {
    PatternStore store;
    StoreCondition condition = StoreCondition::Whole;
};
// LoadPatternStore, and what it found.
LoadedStore LoadPatternStoreChecked(const std::filesystem::path& path);
// Whole or Damaged, for the bytes of a file read to its end.
StoreCondition StoreBytesCondition(std::string_view bytes);
// Defaults, then the lines of bytes; lines past the end read as empty.
PatternStore ParsePatternStore(std::string_view bytes);
// Defaults, then the stream's lines; a read error keeps the defaults of
// everything after the last whole line read.
PatternStore ReadPatternStore(std::istream& in);
std::vector<std::string> PatternStoreLines(const PatternStore& store);
std::string SerializePatternStore(const PatternStore& store);  // lines with CR LF
// Replaces the file as a whole or leaves the old one exactly as it was.
bool SavePatternStore(const PatternStore& store, const std::filesystem::path& path,
                      const WriteFaults& faults = {});

}  // namespace tesra
