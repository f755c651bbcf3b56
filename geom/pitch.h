#pragma once
// Cutting a length into equal intervals of at most a pitch: the figures
// between a run's corners and the slope's ticks share this one rule.

#include <cmath>

namespace tesra {

// A length may exceed a whole number of pitches by this share and still be
// that many intervals, so that 20 m at a pitch of 1 m is 20 intervals however
// the lengths were rounded. Far below any drawn size, far above rounding.
inline constexpr double kPitchSlack = 1e-12;

// The least number of equal intervals, none longer than `most`, that cover
// `length`: the largest pitch not above `most`. Not finite where the pitch is
// not positive, or the length not finite; the callers bound it.
inline double IntervalsNotAbove(double length, double most) {
    return std::ceil(length / most * (1 - kPitchSlack));
}

}  // namespace tesra
