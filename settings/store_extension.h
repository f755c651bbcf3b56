#pragma once
// The row settings that came after the 113-line layout, kept in an
// [extension] section after it (see store_extension.cpp for the form).

#include <array>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "figures/pattern.h"

namespace tesra {

inline constexpr int kPatternRows = 12;
using PatternRows = std::array<PatternRow, kPatternRows>;

inline constexpr std::string_view kExtensionHeader = "[extension]";
// The section's lines kept as they stood, at most; a section may hold a line
// for every key of every row on top of them, and no more is read.
inline constexpr int kExtensionKeptLines = 1024;

// One setting of a row, spelled `rowN.name=value` in the section.
struct ExtensionKey {
    std::string_view name;
    std::int32_t PatternRow::*integer = nullptr;  // any 32-bit integer…
    double PatternRow::*real = nullptr;           // …a real that passes isValid…
    bool (*isValid)(double) = nullptr;
    std::string PatternRow::*text = nullptr;  // …or a text that readText accepts
    std::optional<std::string> (*readText)(std::string_view) = nullptr;
};

// "LS", " lss", "L": 1 to 8 of L and S in either case, upper-cased, blanks
// around them ignored.
std::optional<std::string> ReadRhythm(std::string_view text);
// "AAB", "": up to 8 of A and B in either case, upper-cased.
std::optional<std::string> ReadSequence(std::string_view text);
bool IsValidSize(double v);  // pitch, tick length, the second figure's W and H

// In the order a row's new lines are written; the dialog's settings area
// shows them in this order too and takes each one's place in the row from here.
// clang-format off
inline constexpr ExtensionKey kExtensionKeys[] = {
    //  name              integer                       real / text                 check
    {"arrangement",    &PatternRow::arrangement},
    {"side",           &PatternRow::side},
    {"orientation",    &PatternRow::orientation},
    {"kind",           &PatternRow::rowKind},
    {"pitch",          nullptr,                      &PatternRow::pitch,         IsValidSize},
    {"rhythm",         nullptr, nullptr, nullptr,    &PatternRow::rhythm,        ReadRhythm},
    {"short_ratio",    nullptr,                      &PatternRow::shortRatio,    IsValidRatio},
    {"tick_length",    nullptr,                      &PatternRow::tickLength,    IsValidSize},
    {"draw_top",       &PatternRow::drawTop},
    {"figure_b",       &PatternRow::figureB},
    {"width_b",        nullptr,                      &PatternRow::widthB,        IsValidSize},
    {"height_b",       nullptr,                      &PatternRow::heightB,       IsValidSize},
    {"sequence",       nullptr, nullptr, nullptr,    &PatternRow::sequence,      ReadSequence},
    {"fit",            &PatternRow::fit},
    {"element_colors", &PatternRow::elementColors},
    {"figure_color",    &PatternRow::figureColor},
    {"figure_linetype", &PatternRow::figureLineType},
    {"upper_color",     &PatternRow::upperColor},
    {"upper_linetype",  &PatternRow::upperLineType},
    {"middle_color",    &PatternRow::middleColor},
    {"middle_linetype", &PatternRow::middleLineType},
    {"lower_color",     &PatternRow::lowerColor},
    {"lower_linetype",  &PatternRow::lowerLineType},
};
// clang-format on

inline constexpr int kExtensionReadLines =
    kExtensionKeptLines + static_cast<int>(std::size(kExtensionKeys)) * kPatternRows;

// One key's value: read from its text into the row (false, and the row as it
// was, for text that is not a value), written as the section writes it, and
// whether the row holds the default. The symbol library spells a row the same way.
bool ReadExtensionValue(const ExtensionKey& key, std::string_view text, PatternRow& row);
std::string ExtensionValueText(const ExtensionKey& key, const PatternRow& row);
bool IsExtensionDefault(const ExtensionKey& key, const PatternRow& row);

// "[extension]", blanks around it ignored.
bool IsExtensionHeader(std::string_view line);
// Reads the lines after the section's header into the rows and returns the
// lines to keep.
std::vector<std::string> ReadExtension(const std::vector<std::string_view>& lines,
                                       PatternRows& rows);
// The section's lines as saved after the header (none: no section at all).
std::vector<std::string> ExtensionLines(const std::vector<std::string>& kept,
                                        const PatternRows& rows);

}  // namespace tesra
