#pragma once
// Where consecutive guide lines meet at a corner of a chain or a path: the
// neighbouring side moved across itself, and the meeting point kept within a
// mitre limit.

#include "geom/point.h"

namespace tesra {

// Where the sides of a chain nearly double back, their guide lines meet
// arbitrarily far away; like the mitre limit of drawing programs, a meeting
// point farther than this many times the line's shift from the chain's corner
// leaves the end as if the sides were parallel.
inline constexpr double kMitreLimit = 10;

// A side of the chain, from q1 to q2.
struct Side {
    Point q1, q2;
};

// The side moved across itself by d: towards its "上" (+90 degrees) when
// d > 0, away when d < 0.
Side ShiftedSide(Point q1, Point q2, double d);

// Whether a guide line shifted by d may end at `meet` at the corner `vertex`.
bool WithinMitreLimit(Point meet, Point vertex, double d);

// Where the line through s and e meets `side`, when the lines meet at all and
// within the mitre limit; otherwise `end` as it was.
Point Mitred(Point end, Point s, Point e, Side side, Point vertex, double d);

}  // namespace tesra
