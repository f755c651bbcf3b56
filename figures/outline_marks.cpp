// Hash, asterisk, brackets, chevrons, waves and outlined bows (kinds 63..86).
// All are outlines: lines and arcs only, never a solid or a color.

#include <array>
#include <span>

#include "figures/families.h"
#include "figures/shape_tables.h"

namespace tesra {
namespace {

// Level lines left to right, upright lines top to bottom.
constexpr std::array<CellSegment, 4> kHash{{
    {{k0, kQuarter}, {k1, kQuarter}},
    {{k0, kThreeQuarters}, {k1, kThreeQuarters}},
    {{kQuarter, k1}, {kQuarter, k0}},
    {{kThreeQuarters, k1}, {kThreeQuarters, k0}},
}};
constexpr std::array<CellSegment, 3> kBracketLeft{{
    {{k1, k1}, {k0, k1}},
    {{k0, k1}, {k0, k0}},
    {{k0, k0}, {k1, k0}},
}};
constexpr std::array<CellSegment, 3> kBracketRight{{
    {{k0, k1}, {k1, k1}},
    {{k1, k1}, {k1, k0}},
    {{k1, k0}, {k0, k0}},
}};
constexpr std::array<CellSegment, 3> kZigzagUpFirst{{
    {{k0, kHalf}, {kQuarter, k1}},
    {{kQuarter, k1}, {kThreeQuarters, k0}},
    {{kThreeQuarters, k0}, {k1, kHalf}},
}};
constexpr std::array<CellSegment, 3> kZigzagDownFirst{{
    {{k0, kHalf}, {kQuarter, k0}},
    {{kQuarter, k0}, {kThreeQuarters, k1}},
    {{kThreeQuarters, k1}, {k1, kHalf}},
}};

// The kinds 63..74 that are plain lines; the asterisk (64) is not.
std::span<const CellSegment> LineTable(std::int32_t kind) {
    // clang-format off
    switch (kind) {
    case 63: return kHash;
    case 65: return kBracketLeft;
    case 66: return kBracketRight;
    case 67: return kChevronLeft;
    case 68: return kChevronRight;
    case 69: return kDoubleChevronLeft;
    case 70: return kDoubleChevronRight;
    case 71: return kSlashPair;
    case 72: return kBackslashPair;
    case 73: return kZigzagUpFirst;
    case 74: return kZigzagDownFirst;
    default: return {};
    }
    // clang-format on
}

// The asterisk's points on the inscribed ellipse. The last angle stays 390
// rather than 30: the point is computed from that parameter.
constexpr std::array<double, 6> kAsteriskAnglesDeg{90, 150, 210, 270, 330, 390};

// Three lines through the centre joining opposite points of the inscribed
// ellipse.
void DrawAsterisk(const FigureCell& cell, DrawTarget& out) {
    const auto& angles = CachedSinCosDeg<kAsteriskAnglesDeg>();
    const SinCosPair tilt = SinCosDeg(cell.thetaDeg);
    const Point centre = CellPoint(cell, {kHalf, kHalf});
    const double radius = Scale(cell.W, kHalf);
    const double flatness = cell.H / cell.W;
    std::array<Point, 6> v{};
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = EllipsePoint(centre.x, centre.y, radius, flatness, tilt, angles[i]);
    for (std::size_t i = 0; i < 3; ++i) out.EmitLine(v[i], v[i + 3]);
}

// "∩∪1" and "∪∩1": half-ellipses of a quarter box each, over the middle half
// of the height.
constexpr std::array<CellArc, 2> kArcWaveUpFirst{{
    {{kQuarter, kHalf}, kQuarter, k1, 0, 180},
    {{kThreeQuarters, kHalf}, kQuarter, k1, 180, 0},
}};
constexpr std::array<CellArc, 2> kArcWaveDownFirst{{
    {{kQuarter, kHalf}, kQuarter, k1, 180, 0},
    {{kThreeQuarters, kHalf}, kQuarter, k1, 0, 180},
}};

void DrawArcWave(const FigureCell& cell, std::span<const CellArc> arcs, DrawTarget& out) {
    for (const CellArc& arc : arcs) EmitCellArc(cell, arc, out);
}

// "∩∪2" and "∪∩2": circular arcs through three stretched points that touch
// the top and the bottom of the box.
using ThreePoints = std::array<CellUV, 3>;
constexpr std::array<ThreePoints, 2> kCircleWaveUpFirst{{
    {{{k0, kHalf}, {kQuarter, k1}, {kHalf, kHalf}}},
    {{{kHalf, kHalf}, {kThreeQuarters, k0}, {k1, kHalf}}},
}};
constexpr std::array<ThreePoints, 2> kCircleWaveDownFirst{{
    {{{k0, kHalf}, {kQuarter, k0}, {kHalf, kHalf}}},
    {{{kHalf, kHalf}, {kThreeQuarters, k1}, {k1, kHalf}}},
}};

// The circle operation answers in drawing-frame degrees, so the arc goes out
// untilted. When it fails (H = 0) its radius is 0 and the writer drops it.
void EmitThreePointArc(const FigureCell& cell, const ThreePoints& uv, DrawTarget& out) {
    const Point a = CellPoint(cell, uv[0]);
    const Point b = CellPoint(cell, uv[1]);
    const Point c = CellPoint(cell, uv[2]);
    CircleArc arc;
    CircleThrough3PointsDeg(arc, a.x, a.y, b.x, b.y, c.x, c.y);
    out.EmitArc({arc.cx, arc.cy}, arc.r, arc.start, arc.end, 1.0, 0.0);
}

void DrawCircleWave(const FigureCell& cell, std::span<const ThreePoints> arcs, DrawTarget& out) {
    for (const ThreePoints& uv : arcs) EmitThreePointArc(cell, uv, out);
}

void DrawBow(const FigureCell& cell, const Bow& bow, DrawTarget& out) {
    EmitCellArc(cell, bow.arc, out);
    EmitSegments(cell, std::span(&bow.chord, 1), out);
}

}  // namespace

void DrawOutlineMark(std::int32_t kind, const FigureCell& cell, DrawTarget& out) {
    // clang-format off
    switch (kind) {
    case 64: DrawAsterisk(cell, out); return;
    case 75: DrawArcWave(cell, kArcWaveUpFirst, out); return;
    case 76: DrawArcWave(cell, kArcWaveDownFirst, out); return;
    case 77: DrawCircleWave(cell, kCircleWaveUpFirst, out); return;
    case 78: DrawCircleWave(cell, kCircleWaveDownFirst, out); return;
    default:
        if (kind >= 79 && kind <= 86)
            DrawBow(cell, kBows[kind - 79], out);
        else
            EmitSegments(cell, LineTable(kind), out);
        return;
    }
    // clang-format on
}

}  // namespace tesra
