// Closed and filled forms (kinds 87..106) of the chevrons, double slashes and
// bows. A closed kind draws its outline kind's lines unchanged and then the
// lines that close it; a filled kind covers the same region with solids and
// draws no outline.

#include <array>
#include <span>

#include "exchange/host_codes.h"
#include "figures/families.h"
#include "figures/shape_tables.h"

namespace tesra {
namespace {

struct ClosedShape {
    std::span<const CellSegment> outline;
    std::span<const CellSegment> closing;
};

// The upright side at the open end of a chevron.
constexpr std::array<CellSegment, 1> kCloseChevronLeft{{{{k1, k0}, {k1, k1}}}};
constexpr std::array<CellSegment, 1> kCloseChevronRight{{{{k0, k0}, {k0, k1}}}};
// Top and bottom edges joining the two chevrons into one thick chevron.
constexpr std::array<CellSegment, 2> kCloseDoubleChevronLeft{{
    {{kHalf, k1}, {k1, k1}},
    {{kHalf, k0}, {k1, k0}},
}};
constexpr std::array<CellSegment, 2> kCloseDoubleChevronRight{{
    {{k0, k1}, {kHalf, k1}},
    {{k0, k0}, {kHalf, k0}},
}};
// Top and bottom edges turning the two slashes into a parallelogram.
constexpr std::array<CellSegment, 2> kCloseSlashPair{{
    {{kHalf, k1}, {k1, k1}},
    {{k0, k0}, {kHalf, k0}},
}};
constexpr std::array<CellSegment, 2> kCloseBackslashPair{{
    {{k0, k1}, {kHalf, k1}},
    {{kHalf, k0}, {k1, k0}},
}};

// Kinds 87..92.
const std::array<ClosedShape, 6> kClosedShapes{{
    {kChevronLeft, kCloseChevronLeft},
    {kChevronRight, kCloseChevronRight},
    {kDoubleChevronLeft, kCloseDoubleChevronLeft},
    {kDoubleChevronRight, kCloseDoubleChevronRight},
    {kSlashPair, kCloseSlashPair},
    {kBackslashPair, kCloseBackslashPair},
}};

void DrawClosed(const FigureCell& cell, const ClosedShape& shape, DrawTarget& out) {
    EmitSegments(cell, shape.outline, out);
    EmitSegments(cell, shape.closing, out);
}

// The half of the bow's ellipse from its start angle through π (a swept
// angle, not an end angle), closed by the chord: the region the outlined
// bow encloses. Solid arcs take radians.
void DrawFilledBow(const FigureCell& cell, const Bow& bow, const SolidStyle& solid,
                   DrawTarget& out) {
    ApplySolidColor(solid, out);
    out.EmitSolidArc(kHalfEllipseCode, CellPoint(cell, bow.arc.centre),
                     CellArcRadius(cell, bow.arc), CellArcFlatness(cell, bow.arc), cell.theta,
                     Radians(bow.arc.startDeg), kPi);
}

// A triangle when cornerCount is 3, otherwise a quad; corners in the order
// the host receives them.
struct CellSolid {
    int cornerCount;
    std::array<CellUV, 4> corners;
};

void EmitCellSolid(const FigureCell& cell, const CellSolid& solid, DrawTarget& out) {
    const auto at = [&](std::size_t i) { return CellPoint(cell, solid.corners[i]); };
    if (solid.cornerCount == 3)
        out.EmitSolidTriangle(at(0), at(1), at(2));
    else
        out.EmitSolidQuad(at(0), at(1), at(2), at(3));
}

// Each covers the outline of the closed kind 14 places before it; the thick
// chevrons as an upper and a lower quad meeting along v = H/2.
constexpr std::array<CellSolid, 1> kFilledChevronLeft{{{3, {{{k1, k1}, {k0, kHalf}, {k1, k0}}}}}};
constexpr std::array<CellSolid, 1> kFilledChevronRight{{{3, {{{k0, k1}, {k1, kHalf}, {k0, k0}}}}}};
constexpr std::array<CellSolid, 2> kFilledDoubleChevronLeft{{
    {4, {{{kHalf, k1}, {k0, kHalf}, {kHalf, kHalf}, {k1, k1}}}},
    {4, {{{k0, kHalf}, {kHalf, k0}, {k1, k0}, {kHalf, kHalf}}}},
}};
constexpr std::array<CellSolid, 2> kFilledDoubleChevronRight{{
    {4, {{{k0, k1}, {kHalf, kHalf}, {k1, kHalf}, {kHalf, k1}}}},
    {4, {{{kHalf, kHalf}, {k0, k0}, {kHalf, k0}, {k1, kHalf}}}},
}};
constexpr std::array<CellSolid, 1> kFilledSlashPair{{
    {4, {{{kHalf, k1}, {k0, k0}, {kHalf, k0}, {k1, k1}}}},
}};
constexpr std::array<CellSolid, 1> kFilledBackslashPair{{
    {4, {{{k0, k1}, {kHalf, k0}, {k1, k0}, {kHalf, k1}}}},
}};

// Kinds 101..106.
const std::array<std::span<const CellSolid>, 6> kFilledShapes{
    kFilledChevronLeft,        kFilledChevronRight, kFilledDoubleChevronLeft,
    kFilledDoubleChevronRight, kFilledSlashPair,    kFilledBackslashPair,
};

void DrawFilled(const FigureCell& cell, std::span<const CellSolid> solids, const SolidStyle& solid,
                DrawTarget& out) {
    ApplySolidColor(solid, out);
    for (const CellSolid& s : solids) EmitCellSolid(cell, s, out);
}

}  // namespace

void DrawClosedOrFilled(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                        DrawTarget& out) {
    if (kind >= 87 && kind <= 92)
        DrawClosed(cell, kClosedShapes[kind - 87], out);
    else if (kind >= 93 && kind <= 100)
        DrawFilledBow(cell, kBows[kind - 93], solid, out);
    else if (kind >= 101 && kind <= 106)
        DrawFilled(cell, kFilledShapes[kind - 101], solid, out);
}

}  // namespace tesra
