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

// The families, one source each. Each is called only with kinds of its range.
void DrawLineMark(std::int32_t kind, const FigureCell& cell, DrawTarget& out);  // 0..19
void DrawPolygonKind(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                     DrawTarget& out);  // 20..48
void DrawCircleKind(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                    DrawTarget& out);  // 49..62
void DrawOutlineMark(std::int32_t kind, const FigureCell& cell, DrawTarget& out);  // 63..86
void DrawClosedOrFilled(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                        DrawTarget& out);  // 87..106

}  // namespace tesra
