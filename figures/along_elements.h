#pragma once
// The pattern drawn along elements the user selected in the host: lines,
// circular arcs and circles joined into paths where their ends meet, each
// element one span, guide lines following arcs as arcs.

#include <cstdint>
#include <vector>

#include "exchange/draw_target.h"
#include "exchange/element_store.h"
#include "figures/figure_cell.h"
#include "figures/pattern.h"
#include "geom/path.h"

namespace tesra {

struct AlongSelection {
    std::vector<ElementPath> paths;
    // Elliptic arcs and ellipses (flatness other than 1) in the selection: no
    // path follows them; the run tells the user about them.
    std::int32_t notFollowed = 0;
};

// Paths from the selected lines, arcs and circles, chained through shared ends.
// Ends meet when both coordinates agree within 1e-8. A path passes only where
// exactly two ends meet; where three or more meet, each element there ends its
// path. Closed paths run counter-clockwise from the element first in the file;
// open paths from the free end of whichever end element comes first in the
// file. Circles, elements shorter than 1e-8 and elements that touch nothing
// are paths of their own; elliptic arcs are counted in notFollowed instead.
AlongSelection PathsFromSelection(const ElementStore& store);

struct AlongInputs {
    PatternRow row;               // the pattern in use
    SolidStyle solid;             // for the filled kinds
    std::int32_t lineColor = 1;  // restored after every figure
};

// Figures DrawAlongPaths would place over all paths; INT32_MAX or more for a
// count that does not fit, which the run refuses to draw.
std::int64_t AlongFigureCount(const AlongInputs& in, const AlongSelection& selection);

// Each element is one span. On an arc a figure's cell is square to the arc
// at the figure's middle; gap and full-length lines are concentric arcs, and
// full-length curves of neighbouring elements meet where they cross near the
// joint (within ten times their shift), else end at the joint.
void DrawAlongPaths(const AlongInputs& in, const AlongSelection& selection, DrawTarget& out);

}  // namespace tesra
