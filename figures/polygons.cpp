// Kinds 20..48: triangles, the square, cross and diamond family, the pentagon,
// the two hexagons and the five-pointed star, outlined or filled. Outlines
// walk their corners as a closed chain; the corner order and the split of a
// filled shape into solids are what the host receives, so both are fixed.

#include <array>
#include <cstddef>
#include <span>
#include <vector>

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

constexpr CellUV kSquare[] = {kBottomLeft, kBottomRight, kTopRight, kTopLeft};
constexpr CellUV kDiamond[] = {kMiddleLeft, kTopMiddle, kMiddleRight, kBottomMiddle};

constexpr CellSegment kPlus[] = {{kMiddleLeft, kMiddleRight}, {kBottomMiddle, kTopMiddle}};
constexpr CellSegment kCross[] = {{kBottomLeft, kTopRight}, {kTopLeft, kBottomRight}};
// Unlike kPlus, the diamond's upright runs top to bottom.
constexpr CellSegment kDiamondPlus[] = {{kMiddleLeft, kMiddleRight}, {kTopMiddle, kBottomMiddle}};

// Corner angles in degrees. The last pentagon and hexagon angles are passed
// above 360 as they stand: reducing them would change the corner's last bits.
constexpr double kPentagonAngles[] = {90, 162, 234, 306, 378};
constexpr double kUprightHexagonAngles[] = {90, 150, 210, 270, 330, 390};
constexpr double kLevelHexagonAngles[] = {0, 60, 120, 180, 240, 300};
constexpr double kStarInnerAngles[] = {126, 198, 270, 342, 414};
// Half the outer size, not the 0.382 of a regular star.
constexpr double kStarInnerSize = 0.5;

using Corners = std::vector<Point>;

Corners CellCorners(const FigureCell& cell, std::span<const CellUV> corners) {
    Corners points;
    for (const CellUV& c : corners) points.push_back(CellPoint(cell, c));
    return points;
}

// Corners on the ellipse inscribed in the box, scaled by size about its centre.
Corners EllipseCorners(const FigureCell& cell, double size, std::span<const double> anglesDeg) {
    Corners points;
    for (const double a : anglesDeg) {
        points.push_back(EllipsePointDeg(cell.C.x, cell.C.y, size * cell.W / 2, cell.H / cell.W,
                                         cell.thetaDeg, a));
    }
    return points;
}

void EmitClosedOutline(const Corners& corners, DrawTarget& out) {
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

void DrawFilledQuad(const Corners& v, const SolidStyle& solid, DrawTarget& out) {
    ApplySolidColor(solid, out);
    out.EmitSolidQuad(v[0], v[1], v[2], v[3]);
}

void DrawOutlineWith(const FigureCell& cell, std::span<const CellUV> corners,
                     std::span<const CellSegment> extra, DrawTarget& out) {
    EmitClosedOutline(CellCorners(cell, corners), out);
    EmitSegments(cell, extra, out);
}

void DrawFilledPentagon(const Corners& v, const SolidStyle& solid, DrawTarget& out) {
    ApplySolidColor(solid, out);
    out.EmitSolidQuad(v[0], v[1], v[2], v[3]);
    out.EmitSolidTriangle(v[3], v[4], v[0]);
}

void DrawFilledHexagon(const Corners& v, const SolidStyle& solid, DrawTarget& out) {
    ApplySolidColor(solid, out);
    out.EmitSolidQuad(v[0], v[1], v[2], v[3]);
    out.EmitSolidQuad(v[3], v[4], v[5], v[0]);
}

// Outer and inner points alternate, starting with the top point.
Corners StarOutline(const FigureCell& cell) {
    const Corners outer = EllipseCorners(cell, 1, kPentagonAngles);
    const Corners inner = EllipseCorners(cell, kStarInnerSize, kStarInnerAngles);
    Corners points;
    for (std::size_t k = 0; k < outer.size(); ++k) {
        points.push_back(outer[k]);
        points.push_back(inner[k]);
    }
    return points;
}

// One quad per point of the star, closed at the centre.
void DrawFilledStar(const FigureCell& cell, const SolidStyle& solid, DrawTarget& out) {
    const Corners p = StarOutline(cell);
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
        case 41: return EmitClosedOutline(EllipseCorners(cell, 1, kPentagonAngles), out);
        case 42: return DrawFilledPentagon(EllipseCorners(cell, 1, kPentagonAngles), solid, out);
        case 43: return EmitClosedOutline(EllipseCorners(cell, 1, kUprightHexagonAngles), out);
        case 44: return EmitClosedOutline(EllipseCorners(cell, 1, kLevelHexagonAngles), out);
        case 45:
            return DrawFilledHexagon(EllipseCorners(cell, 1, kUprightHexagonAngles), solid, out);
        case 46:
            return DrawFilledHexagon(EllipseCorners(cell, 1, kLevelHexagonAngles), solid, out);
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
