#pragma once
// The area below the preview band: the settings of a row that have no column
// among the twelve rows (arrangement, slope ticks, a second figure, own
// figures). One set of controls serves the row the band shows; the form grows
// downward for it and nothing above it moves.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "figures/pattern.h"
#include "settings/dialog/form_layout.h"

namespace tesra {

inline constexpr int kSettingsAreaTop = kRowsAreaHeight + kPreviewBandHeight;

// The second figure's list shows pictures like the rows' figure lists.
inline constexpr std::string_view kSecondFigureList = "ComboBoxZB";

// One control of the area and the row setting it shows. A drop-down shows a
// code as its item index, a check box shows 0 and 1, an edit box a number or
// a text, read back through the check that OK applies. Where the setting lives
// in the row is taken from the store's key of the same place.
struct AreaField {
    std::string_view control;
    std::int32_t PatternRow::*integer = nullptr;
    double PatternRow::*real = nullptr;
    double (*validate)(std::string_view) = nullptr;
    std::string PatternRow::*text = nullptr;
    std::string (*validateText)(std::string_view) = nullptr;
};

std::span<const AreaField> AreaFields();
// Whether the field's control is a check box (or else a drop-down list).
bool IsCheckBox(const AreaField& field);

// The area's controls and their labels, as entries of the form table.
std::vector<ControlEntry> SettingsAreaControls();

// The checks OK applies to what the user typed in the area.
double ValidatedRatio(std::string_view text);          // (0, 1], else 0.5
std::string ValidatedRhythm(std::string_view text);    // 1 to 8 of L and S, else "LS"
std::string ValidatedSequence(std::string_view text);  // up to 8 of A and B, else ""

}  // namespace tesra
