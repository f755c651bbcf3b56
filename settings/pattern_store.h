#pragma once
// The twelve patterns, the row in use, the dialog's position and the solid
// colour, kept beside the executable in a 113-line text file.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/atomic_file.h"
#include "figures/pattern.h"

namespace tesra {

inline constexpr int kPatternRows = 12;
inline constexpr int kStoreLines = 5 + 9 * kPatternRows;

struct PatternStore {
    std::int32_t formLeft = 0;
    std::int32_t formTop = 0;
    std::int32_t selectedRow = 1;
    bool solidColorSwitch = false;
    std::int32_t solidColor = 0;  // 0x00BBGGRR
    std::array<PatternRow, kPatternRows> rows{};

    // The selected row, or the default row when SelectedRow is not 1..12.
    PatternRow RowInUse() const;
};

// Defaults, then whatever the file holds (missing file: defaults).
PatternStore LoadPatternStore(const std::filesystem::path& path);
// Defaults, then the lines of bytes; lines past the end read as empty.
PatternStore ParsePatternStore(std::string_view bytes);
std::vector<std::string> PatternStoreLines(const PatternStore& store);
std::string SerializePatternStore(const PatternStore& store);  // lines with CR LF
// Replaces the file as a whole or leaves the old one exactly as it was.
bool SavePatternStore(const PatternStore& store, const std::filesystem::path& path,
                      const WriteFaults& faults = {});

// The checks OK applies to what the user typed.
double ValidatedSize(std::string_view text);      // width, height: not above 1e-8 -> 1.0
double ValidatedInterval(std::string_view text);  // not above 0 -> 0.0

}  // namespace tesra
