#pragma once
// 法面 ticks: from a top edge (法肩) towards a toe (法尻), long and short in
// the row's rhythm, perpendicular to the top edge where they start.
//
// Stations: every run of the top edge (cut at sharp corners, geom/path.h) of
// length L gets n = ceil(L / pitch) equal intervals, so the spacing is the
// largest one not above the pitch; a tick stands at both ends and at every
// interval between (a closed run has no ends: n ticks round it). The rhythm
// runs on along the stations of a run through smooth joints and starts again
// with its first letter at the start of every run.
//
// Length: with a toe, a long tick ends where its perpendicular first meets
// any toe path; where it meets none, or meets it where it starts, no tick
// stands there. The ticks go to the side of the top edge on which more
// perpendiculars meet the toe (the right on a tie). Without a toe a long tick
// is the row's tick length, on the right of the top edge's direction, or
// outward on a closed one. A short tick has shortRatio of the long one.
//
// Crossing: a tick is drawn only where its far end is no nearer to any part
// of the top edges than to its own start. Then no point of the tick is nearer
// to another part of a top edge either, so two ticks can meet only at a
// point equally near both starts: they never cross. This one rule drops the
// ticks that converge at an inner corner (those that would reach the
// corner's bisector before their end, the corner's own ticks among them), on
// an arc curving towards the toe beyond its centre, and between two top
// edges facing each other; outer corners keep all their ticks.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "exchange/draw_target.h"
#include "figures/pattern.h"
#include "geom/path.h"
#include "geom/point.h"

namespace tesra {

// The rhythm in use: the row's when it is 1 to 8 letters of L and S, else "LS".
std::string RhythmInUse(const PatternRow& row);
// The short-tick ratio in use: the row's when in (0, 1], else 0.5.
double ShortRatioInUse(const PatternRow& row);

struct SlopeTick {
    Point from;  // on the top edge
    Point to;    // on the toe for a long tick with a toe
    bool isLong = true;
    double localLength = 0;  // the long tick's length at this station
};

// Stations the tops carry: what a run bounds before it draws. Saturates near
// INT64_MAX for a pitch of zero, below zero or not a number.
std::int64_t SlopeStationCount(const PatternRow& row, std::span<const ElementPath> tops);

// The ticks of every top towards the toes (none: the no-toe rule for each
// top), with no tick crossing another of any top.
std::vector<SlopeTick> SlopeTicks(const PatternRow& row, std::span<const ElementPath> tops,
                                  std::span<const ElementPath> toes);

// The ticks as lines, and the top edges before them when the row says so and
// they are not already elements of the drawing.
void DrawSlope(const PatternRow& row, std::span<const ElementPath> tops,
               std::span<const ElementPath> toes, bool topsAreDrawn, DrawTarget& out);

// The path nearest to `p` (the first of equals); none when there is no path
// with an element.
std::optional<std::size_t> NearestPath(std::span<const ElementPath> paths, Point p);

// Distance from `p` to the element, as drawn.
double DistanceToElement(const PathElement& e, Point p);

}  // namespace tesra
