#pragma once
// Drawing of one figure kind in its cell. Kinds are the item indexes of the
// settings dialog's figure list.

#include <cstdint>
#include <string_view>

#include "exchange/draw_target.h"
#include "figures/figure_cell.h"

namespace tesra {

inline constexpr std::int32_t kFigureKindCount = 107;

// A kind outside 0..106 draws nothing.
void DrawFigure(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                DrawTarget& out);

// The name of a kind as the figure list shows it (UTF-8); empty outside 0..106.
std::string_view FigureName(std::int32_t kind);

// Kinds whose shape divides by the width (a flatness H/W and the like): with
// W = 0 they draw nothing at all.
bool DividesByWidth(std::int32_t kind);

}  // namespace tesra
