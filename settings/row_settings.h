#pragma once
// Every setting of a pattern row in one table: where the store keeps it, the
// control that shows it, the kind of value it holds and what a value that does
// not read becomes. The store's reader, the dialog's fill and read-back and
// the form all go through this table, so the file and the dialog turn the same
// text into the same value. A new setting is one line here.

#include <cstdint>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "figures/pattern.h"

namespace tesra {

// The largest size a row takes (a figure's width and height, the interval,
// the slope's pitch and tick length), in the drawing's millimetres: 100 km,
// paper or real. Every value the earlier 8-character boxes could store
// (99999999 at most) stays as it was; far beyond it nothing useful is drawn
// and the geometry loses its digits. Larger values are cut to it.
inline constexpr double kLargestSize = 1e8;

enum class ValueKind {
    Code,      // a drop-down list's item index; a stored integer is kept as it is
    Figure,    // a figure list: a built-in kind or an own figure's number
    Switch,    // a check box: 0 off, 1 on
    Size,      // above 1e-8, at most kLargestSize
    Gap,       // 0 or more, at most kLargestSize
    Ratio,     // above 0, at most 1
    Rhythm,    // 1 to 8 of L and S
    Sequence,  // up to 8 of A and B
};

struct RowSetting {
    std::string_view key;      // the `rowN.key=` name in [extension]; empty: a line of the 113
    std::string_view control;  // a row column's name prefix, or the settings area's control
    ValueKind kind;
    std::int32_t PatternRow::*integer = nullptr;
    double PatternRow::*real = nullptr;
    std::string PatternRow::*text = nullptr;
    double fallback = 0;  // a real's value for text it does not take; texts fall back to
                          // their defaults (PatternRow{}, where every default is given)
};

// clang-format off
// The 113-line layout's nine fields first, in the order of their lines; then
// the [extension] keys in the order new lines are written and the settings
// area lists them. The sizes fall back to the values users' files have always
// been given: the defaults for the slope and the second figure, the section's
// fallback; 1 for the first figure's width and height, which OK has always
// stored for what it could not read.
inline constexpr RowSetting kRowSettings[] = {
    //  key               control                  kind                 member                             fallback
    {"",               "ComboBoxZ",             ValueKind::Figure,   &PatternRow::figureKind},
    {"",               "EditW",                 ValueKind::Size,     nullptr, &PatternRow::width,       nullptr, 1.0},
    {"",               "EditH",                 ValueKind::Size,     nullptr, &PatternRow::height,      nullptr, 1.0},
    {"",               "ComboBoxA",             ValueKind::Code,     &PatternRow::placement},
    {"",               "EditD",                 ValueKind::Gap,      nullptr, &PatternRow::interval,    nullptr, 0.0},
    {"",               "ComboBoxB",             ValueKind::Code,     &PatternRow::basePoint},
    {"",               "ComboBoxU",             ValueKind::Code,     &PatternRow::upperLine},
    {"",               "ComboBoxC",             ValueKind::Code,     &PatternRow::middleLine},
    {"",               "ComboBoxD",             ValueKind::Code,     &PatternRow::lowerLine},
    {"arrangement",    "ComboBoxArrange",       ValueKind::Code,     &PatternRow::arrangement},
    {"side",           "ComboBoxSide",          ValueKind::Code,     &PatternRow::side},
    {"orientation",    "ComboBoxOrient",        ValueKind::Code,     &PatternRow::orientation},
    {"bend",           "CheckBoxBend",          ValueKind::Switch,   &PatternRow::bend},
    {"kind",           "ComboBoxKind",          ValueKind::Code,     &PatternRow::rowKind},
    {"pitch",          "EditPitch",             ValueKind::Size,     nullptr, &PatternRow::pitch,       nullptr, 2.0},
    {"rhythm",         "EditRhythm",            ValueKind::Rhythm,   nullptr, nullptr,                  &PatternRow::rhythm},
    {"short_ratio",    "EditShortRatio",        ValueKind::Ratio,    nullptr, &PatternRow::shortRatio,  nullptr, 0.5},
    {"tick_length",    "EditTickLength",        ValueKind::Size,     nullptr, &PatternRow::tickLength,  nullptr, 5.0},
    {"draw_top",       "CheckBoxDrawTop",       ValueKind::Switch,   &PatternRow::drawTop},
    {"figure_b",       "ComboBoxZB",            ValueKind::Figure,   &PatternRow::figureB},
    {"width_b",        "EditWB",                ValueKind::Size,     nullptr, &PatternRow::widthB,      nullptr, 10.0},
    {"height_b",       "EditHB",                ValueKind::Size,     nullptr, &PatternRow::heightB,     nullptr, 10.0},
    {"sequence",       "EditSequence",          ValueKind::Sequence, nullptr, nullptr,                  &PatternRow::sequence},
    {"fit",            "CheckBoxFit",           ValueKind::Switch,   &PatternRow::fit},
    {"element_colors", "CheckBoxElementColors", ValueKind::Switch,   &PatternRow::elementColors},
    {"figure_color",    "ComboBoxFigureColor",    ValueKind::Code, &PatternRow::figureColor},
    {"figure_linetype", "ComboBoxFigureLineType", ValueKind::Code, &PatternRow::figureLineType},
    {"upper_color",     "ComboBoxUpperColor",     ValueKind::Code, &PatternRow::upperColor},
    {"upper_linetype",  "ComboBoxUpperLineType",  ValueKind::Code, &PatternRow::upperLineType},
    {"middle_color",    "ComboBoxMiddleColor",    ValueKind::Code, &PatternRow::middleColor},
    {"middle_linetype", "ComboBoxMiddleLineType", ValueKind::Code, &PatternRow::middleLineType},
    {"lower_color",     "ComboBoxLowerColor",     ValueKind::Code, &PatternRow::lowerColor},
    {"lower_linetype",  "ComboBoxLowerLineType",  ValueKind::Code, &PatternRow::lowerLineType},
};
// clang-format on

inline constexpr std::size_t kRowLineCount = 9;  // the settings of the 113-line layout
inline constexpr int kPatternRows = 12;

// The nine fields of the 113-line layout, and the [extension] keys.
inline constexpr std::span<const RowSetting> kLineSettings{kRowSettings, kRowLineCount};
inline constexpr std::span<const RowSetting> kKeySettings =
    std::span<const RowSetting>(kRowSettings).subspan(kRowLineCount);

constexpr bool IsTyped(ValueKind k) {  // shown in an edit box
    return k == ValueKind::Size || k == ValueKind::Gap || k == ValueKind::Ratio ||
           k == ValueKind::Rhythm || k == ValueKind::Sequence;
}

constexpr bool TableIsWellFormed() {
    for (std::size_t i = 0; i < std::size(kRowSettings); ++i) {
        const RowSetting& s = kRowSettings[i];
        const bool real =
            s.kind == ValueKind::Size || s.kind == ValueKind::Gap || s.kind == ValueKind::Ratio;
        const bool text = s.kind == ValueKind::Rhythm || s.kind == ValueKind::Sequence;
        const int members = (s.integer != nullptr) + (s.real != nullptr) + (s.text != nullptr);
        if (members != 1 || real != (s.real != nullptr) || text != (s.text != nullptr))
            return false;
        if ((i < kRowLineCount) != s.key.empty()) return false;
    }
    return true;
}
static_assert(TableIsWellFormed(), "one member of the value's kind; keys only after the nine");

// What a typed or stored text gives for a setting, and why it is not what
// the text says when it is not.
enum class ReadProblem {
    None,
    Unreadable,  // not a number, or letters the setting does not take
    OutOfRange,  // a number the setting does not take (too small, a ratio above 1)
    TooLarge,    // above kLargestSize: cut to it
};
struct Reading {
    double real = 0;
    std::string text;
    ReadProblem problem = ReadProblem::None;
};

// Full-width digits, letters, signs and points read as their ASCII twins,
// in UTF-8 (the dialog) or CP932 (the store); blanks around the text are
// dropped.
std::string HalfWidth(std::string_view text);
// A number as a user writes it: full-width digits, "1,5" with a decimal
// comma, "1,000.5" with thousands grouped; nothing for anything else.
std::optional<double> ReadUserNumber(std::string_view text);

// "LS", " lss", "Ｌ": 1 to 8 of L and S in either case, upper-cased.
std::optional<std::string> ReadRhythm(std::string_view text);
// "AAB", "": up to 8 of A and B in either case, upper-cased.
std::optional<std::string> ReadSequence(std::string_view text);

// A typed kind's reading of text (a real or a text setting).
Reading ReadTyped(const RowSetting& s, std::string_view text);
// The reading as the store writes it and the dialog shows it.
std::string ReadingText(const RowSetting& s, const Reading& r);

// "LS", " lss", "Ｌ": 1 to 8 of L and S in either case, upper-cased.
std::optional<std::string> ReadRhythm(std::string_view text);
// "AAB", "": up to 8 of A and B in either case, upper-cased.
std::optional<std::string> ReadSequence(std::string_view text);

// A typed kind's reading put in the row.
void SetReading(const RowSetting& s, PatternRow& row, const Reading& r);
// The setting's value in the row as the store writes it (any kind).
std::string ValueText(const RowSetting& s, const PatternRow& row);
bool IsDefault(const RowSetting& s, const PatternRow& row);

}  // namespace tesra
