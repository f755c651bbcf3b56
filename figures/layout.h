#pragma once
// The one layout of a pattern row along paths, used by every mode and by the
// dialog's preview: figures, gap lines and full-length guide lines.
//
// A path is cut at its sharp corners into runs (geom/path.h). The row's
// arrangement decides how figures stand on it:
//   辺ごと        every element is a span of its own, laid out between its ends;
//   通し          every run is one span measured by arc length, the pitch
//                 unbroken across smooth joints, run ends drawn back from
//                 sharp corners so that no figure crosses into the other side;
//   角に合わせる  a figure on every sharp corner (and at the ends of an open
//                 path), whole numbers of figures evenly between.
// A slope row (法面) lays ticks from the paths as top edges towards the toe
// instead (figures/slope.h).

#include <cstdint>
#include <span>

#include "exchange/draw_target.h"
#include "figures/figure_cell.h"
#include "figures/pattern.h"
#include "geom/path.h"

namespace tesra {

// More figures than this in one run would make a drawing no host can handle;
// the run then draws nothing and says why.
inline constexpr std::int64_t kMaxFiguresPerRun = 1'000'000;

// The user's own figures (kinds from 107 on), defined beside their drawing.
struct OwnFigureSet;
// A slope's ticks as planned (figures/slope.h).
struct SlopePlan;

struct LayoutInputs {
    PatternRow row;              // the pattern in use
    SolidStyle solid;            // for the filled kinds
    std::int32_t lineColor = 1;  // restored after every figure
    // The paths are elements already in the drawing (the selection modes): a
    // guide line lying on them is not drawn a second time.
    bool pathIsDrawn = false;
    // Two indicated points that coincide still make a span: its guide lines
    // have always been written (the host drops those of no length).
    bool keepsZeroLengthSpan = false;
    // Registered figures; without them a kind from 107 on draws nothing.
    const OwnFigureSet* ownFigures = nullptr;
    // Slope rows: the toe the ticks run to; none: ticks of the tick length.
    std::span<const ElementPath> toes = {};
    // Slope rows: the ticks already planned over these paths and toes (a run
    // that has to know beforehand whether they can be drawn); none: planned here.
    const SlopePlan* slopePlan = nullptr;
};

// Which side of a closed path is inside: the left where it runs
// counter-clockwise; a path enclosing no area counts as counter-clockwise.
bool InsideIsLeft(const ElementPath& closed);

// The path run the way that puts the row's band 内側 or 外側 as the row asks,
// its inside lying on its left or not; a row that keeps its base point's side
// gets the path as it is. The one rule of the band's side, for the layout, the
// preview's open sample and the slopes.
ElementPath SidedPath(const PatternRow& row, const ElementPath& path, bool insideLeft);

// Figures LayOutPaths places over all paths, read off the same plan it draws;
// INT32_MAX or more for a count that does not fit, which a run refuses to draw.
std::int64_t LayoutFigureCount(const LayoutInputs& in, std::span<const ElementPath> paths);

void LayOutPaths(const LayoutInputs& in, std::span<const ElementPath> paths, DrawTarget& out);

// Element k of the path alone as the arrangement 辺ごと lays it out: its
// figures and gap lines as a span of its own, and its full-length guides met
// with its neighbours'.
void LayOutSpan(const LayoutInputs& in, const ElementPath& path, std::size_t k, DrawTarget& out);

// The path through indicated points 1..npts (index 0 unused), one line element
// per side, repeated points kept as zero-length sides; closed when the last
// point is the first.
ElementPath ChainPath(std::span<const Point> points, int npts);

}  // namespace tesra
