#pragma once
// Shapes shared by the outline kinds and their closed and filled forms: the
// chevrons and double slashes (67..72, closed 87..92), the bows (79..86,
// filled 93..100, and without their chords the semicircles 55..62), and the
// cell arc that circles, waves and bows are drawn with. One table per shape
// means a closed or filled form can never drift from the outline it completes.

#include <array>
#include <cstdint>

#include "exchange/draw_target.h"
#include "figures/figure_cell.h"
#include "figures/segment_table.h"
#include "geom/helpers.h"

namespace tesra {

// Part of the ellipse with centre `centre`, semi-axis radius·W along eu and
// flatness·(H/W) times that along ev, counter-clockwise from startDeg to
// endDeg in the ellipse's own frame (0 along eu, 90 along ev).
struct CellArc {
    CellUV centre;
    Frac radius;    // of W
    Frac flatness;  // of H/W
    double startDeg;
    double endDeg;
};

inline double CellArcRadius(const FigureCell& cell, const CellArc& arc) {
    return Scale(cell.W, arc.radius);
}

// 2H/W is (H * 2) / W and H/(2W) is (H * 1 / 2) / W: both only scale H/W by
// a power of two, so they carry the same bits as the written forms.
inline double CellArcFlatness(const FigureCell& cell, const CellArc& arc) {
    return Scale(cell.H, arc.flatness) / cell.W;
}

// The tilt is the span angle, so the arc's angles stay cell angles.
inline void EmitCellArc(const FigureCell& cell, const CellArc& arc, DrawTarget& out) {
    out.EmitArc(CellPoint(cell, arc.centre), CellArcRadius(cell, arc), arc.startDeg, arc.endDeg,
                CellArcFlatness(cell, arc), cell.thetaDeg);
}

// Filled kinds switch to the user's color once, before their first solid.
inline void ApplySolidColor(const SolidStyle& solid, DrawTarget& out) {
    if (solid.enabled) out.WriteSolidColor(solid.color);
}

inline constexpr Frac kTwice{2, 1};

// Chevrons and double slashes, each line as the outline kind draws it.
inline constexpr std::array<CellSegment, 2> kChevronLeft{{
    {{k1, k1}, {k0, kHalf}},
    {{k0, kHalf}, {k1, k0}},
}};
inline constexpr std::array<CellSegment, 2> kChevronRight{{
    {{k0, k1}, {k1, kHalf}},
    {{k1, kHalf}, {k0, k0}},
}};
inline constexpr std::array<CellSegment, 4> kDoubleChevronLeft{{
    {{kHalf, k1}, {k0, kHalf}},
    {{k0, kHalf}, {kHalf, k0}},
    {{k1, k1}, {kHalf, kHalf}},
    {{kHalf, kHalf}, {k1, k0}},
}};
inline constexpr std::array<CellSegment, 4> kDoubleChevronRight{{
    {{k0, k1}, {kHalf, kHalf}},
    {{kHalf, kHalf}, {k0, k0}},
    {{kHalf, k1}, {k1, kHalf}},
    {{k1, kHalf}, {kHalf, k0}},
}};
// Drawn from the upper end of each slash.
inline constexpr std::array<CellSegment, 2> kSlashPair{{
    {{kHalf, k1}, {k0, k0}},
    {{k1, k1}, {kHalf, k0}},
}};
inline constexpr std::array<CellSegment, 2> kBackslashPair{{
    {{k0, k1}, {kHalf, k0}},
    {{kHalf, k1}, {k1, k0}},
}};

// A bow is a half-ellipse closed by its chord. "1" bows fill the box with
// the chord on one edge; "2" bows are halves of the inscribed ellipse.
struct Bow {
    CellArc arc;
    CellSegment chord;
};

// Order 上, 下, 左, 右 for "1", then the same for "2".
inline constexpr std::array<Bow, 8> kBows{{
    {{{kHalf, k0}, kHalf, kTwice, 0, 180}, {{k0, k0}, {k1, k0}}},
    {{{kHalf, k1}, kHalf, kTwice, 180, 0}, {{k0, k1}, {k1, k1}}},
    {{{k1, kHalf}, k1, kHalf, 90, 270}, {{k1, k1}, {k1, k0}}},
    {{{k0, kHalf}, k1, kHalf, 270, 90}, {{k0, k1}, {k0, k0}}},
    {{{kHalf, kHalf}, kHalf, k1, 0, 180}, {{k0, kHalf}, {k1, kHalf}}},
    {{{kHalf, kHalf}, kHalf, k1, 180, 0}, {{k0, kHalf}, {k1, kHalf}}},
    {{{kHalf, kHalf}, kHalf, k1, 90, 270}, {{kHalf, k1}, {kHalf, k0}}},
    {{{kHalf, kHalf}, kHalf, k1, 270, 90}, {{kHalf, k1}, {kHalf, k0}}},
}};

}  // namespace tesra
