#pragma once
// The area below the preview band: the settings of a row that have no column
// among the twelve rows (arrangement, slope ticks, a second figure, own
// figures). One set of controls serves the row the band shows; the form grows
// downward for it and nothing above it moves.

#include <string>
#include <string_view>
#include <vector>

#include "figures/pattern.h"
#include "settings/dialog/form_layout.h"

namespace tesra {

inline constexpr int kSettingsAreaTop = kRowsAreaHeight + kPreviewBandHeight;

// The second figure's list shows pictures like the rows' figure lists.
inline constexpr std::string_view kSecondFigureList = "ComboBoxZB";
// The buttons that fill the row from a symbol and save it as one.
inline constexpr std::string_view kSymbolFromButton = "ButtonSymbolFrom";
inline constexpr std::string_view kRegisterSymbolButton = "ButtonRegisterSymbol";

// The area's controls and their labels, as entries of the form table. Each
// control that is not a label shows the row setting of kRowSettings that
// names it.
std::vector<ControlEntry> SettingsAreaControls();

}  // namespace tesra
