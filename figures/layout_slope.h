#pragma once
// Slope rows in the one layout: the entry of figures/layout.h sends them here.

#include <cstdint>
#include <span>

#include "exchange/draw_target.h"
#include "figures/layout.h"

namespace tesra {

inline bool IsSlopeRow(const PatternRow& row) { return row.rowKind == kRowSlope; }

namespace layout {

// The stations the paths carry as top edges: the bound a run checks.
std::int64_t SlopeFigureCount(const LayoutInputs& in, std::span<const ElementPath> tops);

// The top edges when the row draws them, then the ticks towards in.toes.
void LayOutSlope(const LayoutInputs& in, std::span<const ElementPath> tops, DrawTarget& out);

}  // namespace layout
}  // namespace tesra
