// Kinds 20..48: triangles, the square, cross and diamond family, the pentagon,
// the two hexagons and the five-pointed star, outlined or filled. Outlines
// walk their corners as a closed chain; the corner order and the split of a
// filled shape into solids are what the host receives, so both are fixed.

#include <array>
#include <cstddef>
#include <span>

#include "figures/families.h"
#include "figures/segment_table.h"
#include "figures/shape_tables.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

// Kinds 20..25 outlined and 26..31 filled, corners P1, P2, P3.
constexpr std::array<std::array<CellUV, 3>, 6> kTriangles = {{
    {kBottomLeft, kTopMiddle, kBottomRight},  // △
    {kTopLeft, kBottomMiddle, kTopRight},     // ▽
    {kBottomLeft, kTopRight, kBottomRight},   // △(右)
    {kTopLeft, kBottomRight, kTopRight},      // ▽(右)
    {kBottomLeft, kTopLeft, kBottomRight},    // △(左)
    {kTopLeft, kBottomLeft, kTopRight},       // ▽(左)
}};

constexpr std::array<CellUV, 4> kSquare{kBottomLeft, kBottomRight, kTopRight, kTopLeft};
constexpr std::array<CellUV, 4> kDiamond{kMiddleLeft, kTopMiddle, kMiddleRight, kBottomMiddle};

constexpr CellSegment kPlus[] = {{kMiddleLeft, kMiddleRight}, {kBottomMiddle, kTopMiddle}};
constexpr CellSegment kCross[] = {{kBottomLeft, kTopRight}, {kTopLeft, kBottomRight}};
// Unlike kPlus, the diamond's upright runs top to bottom.
constexpr CellSegment kDiamondPlus[] = {{kMiddleLeft, kMiddleRight}, {kTopMiddle, kBottomMiddle}};

// Corner angles in degrees. The last pentagon and hexagon angles are passed
// above 360 as they stand: reducing them would change the corner's last bits.
constexpr std::array<double, 5> kPentagonAngles{90, 162, 234, 306, 378};
constexpr std::array<double, 6> kUprightHexagonAngles{90, 150, 210, 270, 330, 390};
constexpr std::array<double, 6> kLevelHexagonAngles{0, 60, 120, 180, 240, 300};
constexpr std::array<double, 5> kStarInnerAngles{126, 198, 270, 342, 414};
// Half the outer size, not the 0.382 of a regular star.
constexpr double kStarInnerSize = 0.5;

// Every shape has a fixed number of corners, so they live on the stack.
template <std::size_t N>
using Corners = std::array<Point, N>;

template <std::size_t N>
Corners<N> CellCorners(const FigureCell& cell, const std::array<CellUV, N>& corners) {
    Corners<N> points;
    for (std::size_t i = 0; i < N; ++i) points[i] = CellPoint(cell, corners[i]);
    return points;
}

// Corners on the ellipse inscribed in the box, scaled by size about its
// centre; tilt is SinCosDeg(cell.thetaDeg), angles SinCosDeg of the corners'.
template <std::size_t N>
Corners<N> EllipseCorners(const FigureCell& cell, SinCosPair tilt, double size,
                          const std::array<SinCosPair, N>& angles) {
    Corners<N> points;
    for (std::size_t i = 0; i < N; ++i) {
        points[i] =
            EllipsePoint(cell.C.x, cell.C.y, size * cell.W / 2, cell.H / cell.W, tilt, angles[i]);
    }
    return points;
}

// The whole shape at full size, its corner angles one of the tables above.
template <const auto& kAnglesDeg>
auto EllipseCorners(const FigureCell& cell) {
    return EllipseCorners(cell, SinCosDeg(cell.thetaDeg), 1, CachedSinCosDeg<kAnglesDeg>());
}

void EmitClosedOutline(std::span<const Point> corners, DrawTarget& out) {
    for (std::size_t i = 0; i < corners.size(); ++i) {
        out.EmitLine(corners[i], corners[(i + 1) % corners.size()]);
    }
}

void DrawFilledTriangle(const FigureCell& cell, std::span<const CellUV> corners,
                        const SolidStyle& solid, DrawTarget& out) {
    ApplySolidColor(solid, out);
    out.EmitSolidTriangle(CellPoint(cell, corners[0]), CellPoint(cell, corners[1]),
                          CellPoint(cell, corners[2]));
}

void DrawFilledQuad(const Corners<4>& v, const SolidStyle& solid, DrawTarget& out) {
    ApplySolidColor(solid, out);
    out.EmitSolidQuad(v[0], v[1], v[2], v[3]);
}

void DrawOutlineWith(const FigureCell& cell, const std::array<CellUV, 4>& corners,
                     std::span<const CellSegment> extra, DrawTarget& out) {
    EmitClosedOutline(CellCorners(cell, corners), out);
    EmitSegments(cell, extra, out);
}

void DrawFilledPentagon(const Corners<5>& v, const SolidStyle& solid, DrawTarget& out) {
    ApplySolidColor(solid, out);
    out.EmitSolidQuad(v[0], v[1], v[2], v[3]);
    out.EmitSolidTriangle(v[3], v[4], v[0]);
}

void DrawFilledHexagon(const Corners<6>& v, const SolidStyle& solid, DrawTarget& out) {
    ApplySolidColor(solid, out);
    out.EmitSolidQuad(v[0], v[1], v[2], v[3]);
    out.EmitSolidQuad(v[3], v[4], v[5], v[0]);
}

// Outer and inner points alternate, starting with the top point.
Corners<10> StarOutline(const FigureCell& cell) {
    const SinCosPair tilt = SinCosDeg(cell.thetaDeg);
    const Corners<5> outer = EllipseCorners(cell, tilt, 1, CachedSinCosDeg<kPentagonAngles>());
    const Corners<5> inner =
        EllipseCorners(cell, tilt, kStarInnerSize, CachedSinCosDeg<kStarInnerAngles>());
    Corners<10> points;
    for (std::size_t k = 0; k < outer.size(); ++k) {
        points[2 * k] = outer[k];
        points[2 * k + 1] = inner[k];
    }
    return points;
}

// One quad per point of the star, closed at the centre.
void DrawFilledStar(const FigureCell& cell, const SolidStyle& solid, DrawTarget& out) {
    const Corners<10> p = StarOutline(cell);
    ApplySolidColor(solid, out);
    for (std::size_t i = 0; i < p.size(); i += 2) {
        out.EmitSolidQuad(p[i], p[i + 1], p[(i + 2) % p.size()], cell.C);
    }
}

void DrawShape(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
               DrawTarget& out) {
    switch (kind) {
        case 32: return EmitClosedOutline(CellCorners(cell, kSquare), out);
        case 33: return EmitSegments(cell, kPlus, out);
        case 34: return EmitSegments(cell, kCross, out);
        case 35: return DrawOutlineWith(cell, kSquare, kPlus, out);
        case 36: return DrawOutlineWith(cell, kSquare, kCross, out);
        case 37: return DrawFilledQuad(CellCorners(cell, kSquare), solid, out);
        case 38: return EmitClosedOutline(CellCorners(cell, kDiamond), out);
        case 39: return DrawOutlineWith(cell, kDiamond, kDiamondPlus, out);
        case 40: return DrawFilledQuad(CellCorners(cell, kDiamond), solid, out);
        default: return;
    }
}

void DrawEllipseShape(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                      DrawTarget& out) {
    switch (kind) {
        case 41: return EmitClosedOutline(EllipseCorners<kPentagonAngles>(cell), out);
        case 42: return DrawFilledPentagon(EllipseCorners<kPentagonAngles>(cell), solid, out);
        case 43: return EmitClosedOutline(EllipseCorners<kUprightHexagonAngles>(cell), out);
        case 44: return EmitClosedOutline(EllipseCorners<kLevelHexagonAngles>(cell), out);
        case 45: return DrawFilledHexagon(EllipseCorners<kUprightHexagonAngles>(cell), solid, out);
        case 46: return DrawFilledHexagon(EllipseCorners<kLevelHexagonAngles>(cell), solid, out);
        case 47: return EmitClosedOutline(StarOutline(cell), out);
        case 48: return DrawFilledStar(cell, solid, out);
        default: return;
    }
}

}  // namespace

void DrawPolygonKind(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                     DrawTarget& out) {
    if (kind >= 20 && kind <= 25) {
        EmitClosedOutline(CellCorners(cell, kTriangles[kind - 20]), out);
    } else if (kind >= 26 && kind <= 31) {
        DrawFilledTriangle(cell, kTriangles[kind - 26], solid, out);
    } else if (kind <= 40) {
        DrawShape(kind, cell, solid, out);
    } else {
        DrawEllipseShape(kind, cell, solid, out);
    }
}

}  // namespace tesra
