#pragma once
// Cutting a length into equal intervals of at most a pitch: the figures
// between a run's corners and the slope's ticks share this one rule.

#include <cmath>

#include "geom/helpers.h"

namespace tesra {

// The least number of equal intervals, none longer than `most`, that cover
// `length`: the largest pitch not above `most`. A length may exceed a whole
// number of pitches by kWholeShare and still be that many intervals, so that
// 20 m at a pitch of 1 m is 20 intervals however the lengths were rounded.
// Not finite where the pitch is
// not positive, or the length not finite; the callers bound it.
inline double IntervalsNotAbove(double length, double most) {
    return std::ceil(length / most * (1 - kWholeShare));
}

}  // namespace tesra
