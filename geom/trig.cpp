// Sine and cosine that give the same bits on every platform: our own reduction and tables.
#include "geom/trig.h"

#include <array>
#include <cmath>
#include <cstdint>

// Every step below relies on exact IEEE rounding of each operation; the build
// keeps the compiler from fusing a*b+c (-ffp-contract=off).

namespace tesra {
namespace {

// hi + lo, |lo| at most half an ulp of hi.
struct Wide {
    double hi = 0.0, lo = 0.0;
};

constexpr Wide QuickTwoSum(double a, double b) {  // |a| >= |b| or a == 0
    const double s = a + b;
    return {s, b - (s - a)};
}

constexpr Wide TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// Veltkamp's split: hi holds the upper 26 bits, so products of halves are exact.
constexpr Wide Split(double a) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    const double hi = c - (c - a);
    return {hi, a - hi};
}

constexpr Wide TwoProduct(double a, double b) {
    const double p = a * b;
    const Wide sa = Split(a), sb = Split(b);
    return {p, ((sa.hi * sb.hi - p) + sa.hi * sb.lo + sa.lo * sb.hi) + sa.lo * sb.lo};
}

constexpr Wide Add(Wide a, Wide b) {
    Wide s = TwoSum(a.hi, b.hi);
    const Wide t = TwoSum(a.lo, b.lo);
    s = QuickTwoSum(s.hi, s.lo + t.hi);
    return QuickTwoSum(s.hi, s.lo + t.lo);
}

constexpr Wide Multiply(Wide a, Wide b) {
    const Wide p = TwoProduct(a.hi, b.hi);
    return QuickTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

constexpr Wide Divide(Wide a, double d) {
    const double q = a.hi / d;
    const Wide p = TwoProduct(q, d);
    return QuickTwoSum(q, (((a.hi - p.hi) - p.lo) + a.lo) / d);
}

// Taylor series of sin (first = a, firstIndex 1) or cos (first = 1, firstIndex
// 0) in double-double; |a| < 1, so 30 terms reach far below 2^-106.
constexpr Wide TaylorSeries(double a, Wide first, int firstIndex) {
    const Wide a2 = TwoProduct(a, a);
    Wide term = first, sum = first;
    for (int n = firstIndex; n < firstIndex + 60; n += 2) {
        term = Divide(Multiply(term, a2), double((n + 1) * (n + 2)));
        term = {-term.hi, -term.lo};
        sum = Add(sum, term);
    }
    return sum;
}

// sin and cos at the grid points i/kGridSteps covering [0, pi/4] and a little
// beyond, computed by the compiler.
constexpr int kGridSteps = 512;
constexpr int kGridSize = 404;  // ceil(pi/4 * 512) + 1 and a margin

struct GridPoint {
    Wide sin, cos;
};

constexpr std::array<GridPoint, kGridSize> MakeGrid() {
    std::array<GridPoint, kGridSize> grid{};
    for (int i = 0; i < kGridSize; ++i) {
        const double a = double(i) / kGridSteps;
        grid[std::size_t(i)] = {TaylorSeries(a, {a, 0.0}, 1), TaylorSeries(a, {1.0, 0.0}, 0)};
    }
    return grid;
}

constexpr std::array<GridPoint, kGridSize> kGrid = MakeGrid();

// pi/2 in four parts; the first three have 33 bits, so k times each is exact
// for |k| < 2^20.
constexpr double kHalfPi1 = 0x1.921fb544p+0;
constexpr double kHalfPi2 = 0x1.0b4611a6p-34;
constexpr double kHalfPi3 = 0x1.3198a2ep-69;
constexpr double kHalfPi4 = 0x1.b839a252049c1p-104;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
constexpr double kRoundingShift = 0x1.8p52;  // adding it rounds to an integer

struct Reduced {
    Wide r;        // x - k pi/2, |r| <= pi/4 (plus rounding)
    int quadrant;  // k mod 4
};

[[gnu::always_inline]] inline Reduced ReduceByHalfPi(double x) {
    if (std::fabs(x) <= 0x1.921fb54442d18p-1) return {{x, 0.0}, 0};  // below pi/4
    const double k = (x * kTwoOverPi + kRoundingShift) - kRoundingShift;
    const double a = x - k * kHalfPi1;  // exact: x and k pi/2 lie within a factor 2
    Wide r = TwoSum(a, -k * kHalfPi2);
    const Wide next = TwoSum(r.hi, -k * kHalfPi3);
    // Left unnormalised (|lo| may reach an ulp of hi): nothing below needs more.
    r = {next.hi, (r.lo + next.lo) - k * kHalfPi4};
    return {r, int(static_cast<std::int64_t>(k) & 3)};
}

// The reduced angle split as grid point g + t, |t| <= 2^-10, with
// u = t^2 and s = sin t - t in plain double.
struct Local {
    const GridPoint* grid;
    bool atZero;  // g = 0: sin g = 0 and cos g = 1 exactly
    double tHi, tLo, u, s;
};

// r is in [0, pi/4 + rounding].
[[gnu::always_inline]] inline Local Localise(Wide r) {
    const int i = int(r.hi * kGridSteps + 0.5);
    Local l{&kGrid[std::size_t(i)], i == 0, r.hi - double(i) / kGridSteps, r.lo, 0.0, 0.0};
    // t is exact: Sterbenz's lemma, since r.hi and the grid point lie within a factor 2.
    l.u = l.tHi * l.tHi;
    const double u = l.u;
    // Terms past t^7 stay below 2^-108.
    l.s = l.tHi * u * (-1.0 / 6 + u * (1.0 / 120 - u * (1.0 / 5040))) - 0.5 * u * l.tLo;
    return l;
}

// 1 - cos t to about 2^-69 (t^6/720 left out).
double OneMinusCos(const Local& l) { return l.u * (0.5 - l.u * (1.0 / 24)) + l.tHi * l.tLo; }

// The same to about 2^-100, as hi + lo.
Wide OneMinusCosWide(const Local& l) {
    Wide t2 = TwoProduct(l.tHi, l.tHi);
    t2.lo += 2.0 * l.tHi * l.tLo;
    const double u = t2.hi;
    return {0.5 * u, 0.5 * t2.lo + u * u * (-1.0 / 24 + u * (1.0 / 720 - u * (1.0 / 40320)))};
}

// hi + lo rounded, when every value within err of lo gives the same double.
bool RoundsSafely(double hi, double lo, double err, double& out) {
    out = hi + (lo + err);
    return out == hi + (lo - err);
}

// Most results come from plain double arithmetic with a generous bound on its
// error (about 2^-64 of the result); only where that bound leaves the rounding
// open is the result computed again in double-double (about one in 40).

// sin(g + t) = sin g - sin g (1 - cos t) + cos g sin t
[[gnu::noinline]] double SinNearWide(const Local& l) {
    const Wide& sg = l.grid->sin;
    const Wide& cg = l.grid->cos;
    const Wide c = OneMinusCosWide(l);
    const Wide p = TwoProduct(cg.hi, l.tHi);
    const Wide q = TwoProduct(sg.hi, c.hi);
    const Wide s1 = TwoSum(sg.hi, p.hi);
    const Wide s2 = TwoSum(s1.hi, -q.hi);
    const double low = s1.lo + s2.lo + p.lo - q.lo + sg.lo + cg.hi * (l.tLo + l.s) + cg.lo * l.tHi -
                       sg.hi * c.lo - sg.lo * c.hi;
    return s2.hi + low;
}

[[gnu::always_inline]] inline double SinNear(const Local& l) {
    const Wide& sg = l.grid->sin;
    const Wide& cg = l.grid->cos;
    const double linear = cg.hi * l.tHi;  // exact when g = 0
    const Wide y = TwoSum(sg.hi, linear);
    const double rest = sg.lo + cg.hi * (l.tLo + l.s) + cg.lo * l.tHi - sg.hi * OneMinusCos(l);
    // At g = 0 the result is t + (tLo + s): the bound follows t down to the smallest angles.
    const double err = l.atZero ? 0x1p-50 * (std::fabs(l.s) + std::fabs(l.tLo)) + 0x1p-1070
                                : 0x1p-51 * std::fabs(linear) + 0x1p-50 * std::fabs(rest) + 0x1p-66;
    double out = 0.0;
    return RoundsSafely(y.hi, y.lo + rest, err, out) ? out : SinNearWide(l);
}

// cos(g + t) = cos g - cos g (1 - cos t) - sin g sin t
[[gnu::noinline]] double CosNearWide(const Local& l) {
    const Wide& sg = l.grid->sin;
    const Wide& cg = l.grid->cos;
    const Wide c = OneMinusCosWide(l);
    const Wide p = TwoProduct(cg.hi, c.hi);
    const Wide q = TwoProduct(sg.hi, l.tHi);
    const Wide s1 = TwoSum(cg.hi, -p.hi);
    const Wide s2 = TwoSum(s1.hi, -q.hi);
    const double low = s1.lo + s2.lo - p.lo - q.lo + cg.lo - cg.hi * c.lo - cg.lo * c.hi -
                       sg.hi * (l.tLo + l.s) - sg.lo * l.tHi;
    return s2.hi + low;
}

[[gnu::always_inline]] inline double CosNear(const Local& l) {
    const Wide& sg = l.grid->sin;
    const Wide& cg = l.grid->cos;
    const double linear = sg.hi * l.tHi;  // 0 when g = 0
    const Wide y = TwoSum(cg.hi, -linear);
    const double rest = cg.lo - cg.hi * OneMinusCos(l) - sg.hi * (l.tLo + l.s) - sg.lo * l.tHi;
    const double err = 0x1p-51 * std::fabs(linear) + 0x1p-50 * std::fabs(rest) + 0x1p-66;
    double out = 0.0;
    return RoundsSafely(y.hi, y.lo + rest, err, out) ? out : CosNearWide(l);
}

bool OutsideExactRange(double x) { return !(std::fabs(x) < kTrigExactLimit); }  // NaN too

}  // namespace

SinCosPair SinCos(double x) {
    if (x == 0.0) return {x, 1.0};  // keeps the sign of zero
    if (OutsideExactRange(x)) return {std::sin(x), std::cos(x)};
    const Reduced red = ReduceByHalfPi(x);
    // sin is odd and cos even: work on |r|.
    const bool negative = red.r.hi < 0;
    const Local l = Localise(negative ? Wide{-red.r.hi, -red.r.lo} : red.r);
    const double s = negative ? -SinNear(l) : SinNear(l);
    const double c = CosNear(l);
    switch (red.quadrant) {
        case 0: return {s, c};
        case 1: return {c, -s};
        case 2: return {-s, -c};
        default: return {-c, s};
    }
}

}  // namespace tesra
