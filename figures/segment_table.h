#pragma once
// Figures made of straight lines are tables of (u, v) segments in fractions
// of W and H, walked by one loop. A fraction is kept as (num, den) so that two
// thirds of H is computed as (H * 2) / 3, the same bits every time.

#include <span>

#include "exchange/draw_target.h"
#include "figures/figure_cell.h"

namespace tesra {

struct Frac {
    int num;
    int den;
};

inline constexpr Frac k0{0, 1};
inline constexpr Frac k1{1, 1};
inline constexpr Frac kHalf{1, 2};
inline constexpr Frac kThird{1, 3};
inline constexpr Frac kTwoThirds{2, 3};
inline constexpr Frac kQuarter{1, 4};
inline constexpr Frac kThreeQuarters{3, 4};

struct CellUV {
    Frac u;
    Frac v;
};

// The corners and edge middles of the box.
inline constexpr CellUV kBottomLeft{k0, k0};
inline constexpr CellUV kBottomMiddle{kHalf, k0};
inline constexpr CellUV kBottomRight{k1, k0};
inline constexpr CellUV kMiddleLeft{k0, kHalf};
inline constexpr CellUV kMiddleRight{k1, kHalf};
inline constexpr CellUV kTopLeft{k0, k1};
inline constexpr CellUV kTopMiddle{kHalf, k1};
inline constexpr CellUV kTopRight{k1, k1};

struct CellSegment {
    CellUV from;
    CellUV to;
};

inline double Scale(double length, Frac f) { return (length * f.num) / f.den; }

inline Point CellPoint(const FigureCell& cell, CellUV p) {
    return cell.At(Scale(cell.W, p.u), Scale(cell.H, p.v));
}

inline void EmitSegments(const FigureCell& cell, std::span<const CellSegment> segments,
                         DrawTarget& out) {
    for (const CellSegment& s : segments)
        out.EmitLine(CellPoint(cell, s.from), CellPoint(cell, s.to));
}

}  // namespace tesra
