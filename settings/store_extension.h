#pragma once
// The row settings that came after the 113-line layout, kept in an
// [extension] section after it (see store_extension.cpp for the form).

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "figures/pattern.h"
#include "settings/row_settings.h"

namespace tesra {

using PatternRows = std::array<PatternRow, kPatternRows>;

inline constexpr std::string_view kExtensionHeader = "[extension]";

// One key's value read from its text into the row as the section reads it;
// false for text that is not a value. The symbol library spells a row's
// settings the same way.
bool ReadKeyValue(const RowSetting& key, std::string_view text, PatternRow& row);

// "[extension]", blanks around it ignored.
bool IsExtensionHeader(std::string_view line);
// Reads the lines after line 113 into the rows and returns the lines to keep:
// every line but the header on line 114.
std::vector<std::string> ReadExtension(const std::vector<std::string_view>& lines,
                                       PatternRows& rows);
// The section's lines as saved after the header (none: no section at all).
std::vector<std::string> ExtensionLines(const std::vector<std::string>& kept,
                                        const PatternRows& rows);

}  // namespace tesra
