// Circles and semicircles (kinds 49..62). Every one is stretched to its box,
// so with W != H they become ellipses of flatness H/W, never circles of the
// smaller size.

#include "exchange/host_codes.h"
#include "figures/families.h"
#include "figures/shape_tables.h"

namespace tesra {
namespace {

// The ellipse inscribed in the box, and the one of half its size.
constexpr CellArc kCircle{{kHalf, kHalf}, kHalf, k1, 0, 360};
constexpr CellArc kSmallCircle{{kHalf, kHalf}, kQuarter, k1, 0, 360};

void EmitDisc(const FigureCell& cell, const CellArc& ellipse, const SolidStyle& solid,
              DrawTarget& out) {
    ApplySolidColor(solid, out);
    out.EmitSolidArc(kFullEllipseCode, CellPoint(cell, ellipse.centre),
                     CellArcRadius(cell, ellipse), CellArcFlatness(cell, ellipse), cell.theta, 0.0,
                     kTwoPi);
}

// Fills only the band between the outer and the inner ellipse of "◎".
void EmitRing(const FigureCell& cell, const SolidStyle& solid, DrawTarget& out) {
    ApplySolidColor(solid, out);
    out.EmitSolidRing(CellPoint(cell, kCircle.centre), CellArcRadius(cell, kCircle),
                      CellArcFlatness(cell, kCircle), cell.theta, 0.0, kTwoPi,
                      CellArcRadius(cell, kSmallCircle));
}

}  // namespace

void DrawCircleKind(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                    DrawTarget& out) {
    // clang-format off
    switch (kind) {
    case 49: EmitCellArc(cell, kCircle, out); return;
    case 50: EmitCellArc(cell, kSmallCircle, out); return;
    case 51: EmitDisc(cell, kCircle, solid, out); return;
    case 52: EmitDisc(cell, kSmallCircle, solid, out); return;
    case 53:
        EmitCellArc(cell, kCircle, out);
        EmitCellArc(cell, kSmallCircle, out);
        return;
    case 54: EmitRing(cell, solid, out); return;
    default:
        // A semicircle is the arc of the bow in the same position, without
        // its chord: "半円1(上)" .. "半円2(右)" run as "弓形1(上)" .. "弓形2(右)".
        if (kind >= 55 && kind <= 62) EmitCellArc(cell, kBows[kind - 55].arc, out);
        return;
    }
    // clang-format on
}

}  // namespace tesra
