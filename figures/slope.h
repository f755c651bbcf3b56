#pragma once
// 法面 ticks: from a top edge (法肩) towards a toe (法尻), long and short in
// the row's rhythm, perpendicular to the top edge where they start.
//
// Top and toe: the top edge is the selected chain nearest the indicated
// point; every other chain is the toe. A chain that turns back on itself by
// more than a right angle is a toe running out onto its top edge there (the
// ends of a cutting or an embankment), so the top edge ends at such a joint
// and the rest of that chain joins the toe.
//
// Stations: every run of the top edge (cut at sharp corners, geom/path.h) of
// length L gets n equal intervals, n the least count not below L / pitch that
// ends the run on a long tick: the spacing is the largest one not above the
// pitch with a long tick at both ends (for 長短, n is even). The rhythm
// starts at its first L at the start of the top edge and after an inner
// corner, and runs on through smooth joints and round outer corners. A
// closed run has no ends: ceil(L / pitch) ticks round it.
//
// Outer corners: where the top edge turns away from the ticks, a fan of ticks
// radiating from the corner fills the wedge between the last tick of one run
// and the first of the next, spaced at the pitch along the arc whose radius
// is the slope's width at the corner (the tick length without a toe), the
// rhythm continuing and the count again chosen so that the next run starts
// long. Inner corners get no fan: the ticks that would cross are left out.
//
// Length: with a toe, a long tick ends where its ray first meets any toe
// path; where it meets none, or meets it where it starts, no tick stands
// there. The ticks go to the side of the top edge on which more of its
// perpendiculars meet the toe (the right on a tie). Without a toe a long tick
// is the row's tick length, on the right of the top edge's direction, or
// outward on a closed one. A short tick has shortRatio of the long one.
//
// Crossing: a tick is drawn only where its far end is no nearer to any part
// of the top edges than to its own start. Then no point of the tick is nearer
// to another part of a top edge either, so two ticks can meet only at a
// point equally near both starts: they never cross. This one rule drops the
// ticks that converge at an inner corner, on an arc curving towards the toe
// beyond its centre, and between two top edges facing each other; a fan's
// ticks start on their corner, the nearest point of the top to all of them.

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
    bool inFan = false;      // radiating from an outer corner
};

// Why a slope draws nothing.
enum class SlopeRefusal {
    None,
    NoTopEdge,        // no chain with length, or no point to pick the top by
    PointFarFromTop,  // the point is farther from the top than the toe is
    TooManyTicks,
    ToeNotMet,        // no tick's ray meets the toe
    TicksWouldCross,  // rays meet the toe, but every such tick would cross another
};

struct SlopeSplit {
    std::vector<ElementPath> tops, toes;
    SlopeRefusal refusal = SlopeRefusal::None;
};

// The chain nearest `point` as the top edge, ended where it turns back by
// more than a right angle, and every other chain or piece as the toe. Refused
// when no chain has an element, or when the point lies farther from the top
// edge than the toe lies from the top edge's point nearest it: the point was
// meant for another chain, or for none.
SlopeSplit SplitTopAndToe(std::vector<ElementPath> chains, Point point);

struct SlopePlan {
    std::vector<SlopeTick> ticks;
    SlopeRefusal refusal = SlopeRefusal::None;
};

// Stations the tops' runs carry, fans left out: the bound a run checks before
// it plans. Saturates near INT64_MAX for a pitch of zero, below zero or not a
// number.
std::int64_t SlopeStationCount(const PatternRow& row, std::span<const ElementPath> tops);

// The ticks of every top towards the toes (none: the no-toe rule for each
// top), with no tick crossing another of any top, or why there are none.
SlopePlan PlanSlope(const PatternRow& row, std::span<const ElementPath> tops,
                    std::span<const ElementPath> toes);

// The ticks alone, as PlanSlope lays them.
std::vector<SlopeTick> SlopeTicks(const PatternRow& row, std::span<const ElementPath> tops,
                                  std::span<const ElementPath> toes);

// The ticks as lines, and the top edges before them when the row says so and
// they are not already elements of the drawing.
void DrawSlopePlan(const PatternRow& row, const SlopePlan& plan, std::span<const ElementPath> tops,
                   bool topsAreDrawn, DrawTarget& out);

}  // namespace tesra
