#pragma once
// The figure families, one source each, behind DrawFigure. Each is called
// only with kinds of its own range.

#include <cstdint>

#include "exchange/draw_target.h"
#include "figures/figure_cell.h"

namespace tesra {

void DrawLineMark(std::int32_t kind, const FigureCell& cell, DrawTarget& out);  // 0..19
void DrawPolygonKind(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                     DrawTarget& out);  // 20..48
void DrawCircleKind(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                    DrawTarget& out);                                              // 49..62
void DrawOutlineMark(std::int32_t kind, const FigureCell& cell, DrawTarget& out);  // 63..86
void DrawClosedOrFilled(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                        DrawTarget& out);  // 87..106

}  // namespace tesra
