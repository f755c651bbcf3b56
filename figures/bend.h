#pragma once
// 曲げる: a figure that follows the path's curvature instead of standing
// rigid on it. A point of the figure at u along its cell and at height v in
// the band lands at station start + u along the run, at height v from it: on a
// line element that is the rigid placement itself, on an arc the point at the
// arc's angle for that station and at the radius for that height.
//
// Where two elements of a run meet at a smooth joint that still turns (up to
// the smooth threshold), the band's offset lines of the two sides do not meet
// at one station; such a figure gets a shear that grows across it and closes
// the step at every joint, zero at its own two ends, so that the figure is
// continuous and its neighbours still meet it edge to edge; a figure that
// ends on such a joint ends on its mitre, as does the one beyond it.
//
// What comes out: a figure wholly on one line element is drawn exactly as a
// rigid one; a figure line of constant height becomes a concentric arc (or a
// line on a line element); every other line or arc becomes chords that stray
// from the mapped curve by at most kBendTolerance; a solid triangle or quad
// is cut across the path into strips, each a solid that follows the curve
// within the same tolerance. Filled ellipses and rings keep their shape and
// stand at the place and direction of their centre.

#include <cstdint>
#include <span>

#include "exchange/draw_target.h"
#include "figures/layout_internal.h"

namespace tesra::layout {

// How far a chord of a bent figure may stray from the curve it stands for:
// 0.01 mm in the drawing's units, which with #bz are paper millimetres (and
// without it real ones, so finer still): below what a plotter draws.
inline constexpr double kBendTolerance = 0.01;
// The most chords (or strips of a solid) one element of a figure becomes,
// whatever the tolerance asks: a figure far larger than the radius it bends
// on then strays by more, but the output stays bounded.
inline constexpr int kMostBendSteps = 32;
// A strip of a solid is at most a six-cornered piece, written as two solids.
inline constexpr std::int64_t kMostBendPiecesPerElement = 2 * kMostBendSteps;

// The elements of a run that a bent figure follows, with the station where
// each starts; an element that carries nothing starts where the next does.
struct BendTrack {
    std::span<const ElementFrame> frames;
    std::span<const double> starts;
    double length = 0;
};

// How many figures a figure on this path counts as for the bounds of a run:
// as many as the pieces one of its elements can become where the row bends
// it along a curve or a turning joint, else one.
std::int64_t BendWeight(const PatternRow& row, const ElementPath& path);

}  // namespace tesra::layout
