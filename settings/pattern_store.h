#pragma once
// The twelve patterns, the row in use, the dialog's position and the solid
// color, kept beside the executable in a 113-line text file and the
// [extension] section after it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/atomic_file.h"
#include "figures/pattern.h"
#include "settings/store_extension.h"

namespace tesra {

// The checks OK applies to what the user typed.
double ValidatedSize(std::string_view text);      // width, height: not above 1e-8 -> 1.0
double ValidatedInterval(std::string_view text);  // not above 0 -> 0.0

// One field of a pattern row, wherever a row is stored, shown or read back.
struct RowField {
    std::int32_t PatternRow::*integer = nullptr;     // a list index…
    double PatternRow::*real = nullptr;              // …or a number typed in an edit box
    double (*validate)(std::string_view) = nullptr;  // the check OK applies to the typed text
};

// The store's line order within a row, which is also the dialog's column order.
// clang-format off
inline constexpr RowField kRowFields[] = {
    //  integer                  real                    validate
    {&PatternRow::figureKind},
    {nullptr,                    &PatternRow::width,     ValidatedSize},
    {nullptr,                    &PatternRow::height,    ValidatedSize},
    {&PatternRow::placement},
    {nullptr,                    &PatternRow::interval,  ValidatedInterval},
    {&PatternRow::basePoint},
    {&PatternRow::upperLine},
    {&PatternRow::middleLine},
    {&PatternRow::lowerLine},
};
// clang-format on

inline constexpr int kStoreLines = 5 + static_cast<int>(std::size(kRowFields)) * kPatternRows;
// The 113 lines, the section's header and the section: no more is read.
inline constexpr int kStoreMostLines = kStoreLines + 1 + kExtensionReadLines;

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

    // The selected row, or the default row when SelectedRow is not 1..12.
    PatternRow RowInUse() const;

    bool operator==(const PatternStore&) const = default;
};

// Defaults, then whatever the file holds (missing file: defaults). A file of
// 113 lines or fewer has no [extension] section: its new settings are the
// defaults.
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
