// The mitred corners of full-length guide lines.

#include "figures/mitre.h"

#include <cmath>

#include "geom/helpers.h"
#include "geom/trig.h"

namespace tesra {

Side ShiftedSide(Point q1, Point q2, double d) {
    const double phi = VectorAngle(q2.x - q1.x, q2.y - q1.y);
    if (d == 0) return {q1, q2};
    const double dir = d > 0 ? phi + kPi / 2 : phi - kPi / 2;
    const double dist = std::fabs(d);
    const SinCosPair turn = SinCos(dir);
    const Point step = {dist * turn.cos, dist * turn.sin};
    return {{q1.x + step.x, q1.y + step.y}, {q2.x + step.x, q2.y + step.y}};
}

bool WithinMitreLimit(Point meet, Point vertex, double d) {
    return Distance(meet, vertex) <= kMitreLimit * std::fabs(d) + kSameEps;
}

Point Mitred(Point end, Point s, Point e, Side side, Point vertex, double d) {
    const auto meet = LineIntersection(s, e, side.q1, side.q2);
    return meet && WithinMitreLimit(meet->at, vertex, d) ? meet->at : end;
}

}  // namespace tesra
