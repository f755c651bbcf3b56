#pragma once
// Sine and cosine that give the same bits on every platform the program is
// built for. The drawing goes through these rather than std::sin/std::cos:
// the Windows C runtime reduces the argument with a 66-bit pi, so near every
// multiple of pi/2 (axis-parallel spans) its results are mostly reduction
// error. These reduce by pi/2 with a 160-bit pi/2 and evaluate with IEEE
// additions and multiplications only; the result is correctly rounded.

namespace tesra {

// Beyond this |x| (far above any angle the program makes) the C library's
// values are used.
inline constexpr double kTrigExactLimit = 0x1p19;

struct SinCosPair {
    double sin, cos;
};

// A pure function of x. GCC still evaluates Sin(a) and Cos(a) side by side
// twice (it does not merge calls that return a pair), so code that needs both
// calls SinCos once.
[[gnu::const]] SinCosPair SinCos(double x);

inline double Sin(double x) { return SinCos(x).sin; }
inline double Cos(double x) { return SinCos(x).cos; }

}  // namespace tesra
