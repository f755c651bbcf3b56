#pragma once
// Numeric, text and plane-geometry helpers shared by the exchange reader, the
// pattern store and the figure generator. No state but the sines and cosines
// of fixed angle tables, kept once computed; angles are radians unless the
// name ends in Deg.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>

#include "geom/point.h"
#include "geom/trig.h"

namespace tesra {

// Two lengths or points closer than this are the same.
inline constexpr double kSameEps = 1e-8;
// Below this a vector has no direction, and RoundTiny rounds to its multiples.
inline constexpr double kTinyEps = 1e-10;
// Where a result found by rounding arithmetic is compared with a bound (a box
// against a line, two boxes), the share of the sizes involved by which it may
// stray: far above the few ulps a dozen operations lose, far below any
// distance a drawing shows.
inline constexpr double kRoundingShare = 1e-9;
// The share by which a quotient that should be a whole number (a length over
// its pitch) may miss it through rounding.
inline constexpr double kWholeShare = 1e-12;

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTwoPi = 2 * kPi;  // a whole turn
inline constexpr double kDegToRad = kPi / 180;
inline constexpr double kFullTurnDeg = 360;

// Conversions in the order of operations the drawing's numbers were first
// computed in: x * 180 / π is not always x * (180 / π) to the last bit.
inline double Degrees(double rad) { return rad * 180 / kPi; }
inline double Radians(double deg) { return deg / 180 * kPi; }
// An angle in degrees brought into [0, 360).
double NormalisedDeg(double deg);
// The host's arcs run counter-clockwise from start to end: the sweep in
// degrees, in (0, 360], equal angles being the whole turn.
double SweepDeg(double startDeg, double endDeg);

// Tolerant parses: text that is not entirely a number gives 0.
std::int32_t ParseInt(std::string_view text);
double ParseFloat(std::string_view text);
// The same, saying so when the text is no number at all.
std::optional<std::int32_t> TolerantInt(std::string_view text);
std::optional<double> TolerantReal(std::string_view text);
bool ParseBool(std::string_view text);  // CP932 bytes
// Strict parses: the whole text is one number (no blanks, no plus sign), or nothing.
std::optional<std::int32_t> WholeInt(std::string_view text);
std::optional<double> WholeFiniteReal(std::string_view text);
std::string BoolText(bool b);
// Drops half- and full-width spaces and control bytes; CP932 aware.
std::string CleanText(std::string_view text);

double RoundTiny(double x);
double Distance(double x1, double y1, double x2, double y2);
inline double Distance(Point a, Point b) { return Distance(a.x, a.y, b.x, b.y); }
double VectorAngle(double dx, double dy);  // in [0, 2pi)
// The point distance away from p in the direction angle (radians): along a
// span, or on a circle about p.
Point Along(Point p, double distance, double angle);
bool SameValue(double a, double b);
// No infinity and no NaN among them: the test every element takes before it is used.
bool AllFinite(std::initializer_list<double> values);
bool SamePoint(double x1, double y1, double x2, double y2);
inline bool SamePoint(Point a, Point b) { return SamePoint(a.x, a.y, b.x, b.y); }

// (x, y) turned counter-clockwise by a about (cx, cy).
Point RotatePoint(double x, double y, double cx, double cy, double a);
// The same with a's sine and cosine given: a figure turns all its points by
// one angle, and its sine and cosine cost far more than the turn itself.
Point RotatePoint(double x, double y, double cx, double cy, SinCosPair a);
double RotatedY(double x, double y, double cx, double cy, double a);
// Point at parameter t of the ellipse with semi-axes r and flatness*r, its
// first axis turned by tilt.
Point EllipsePoint(double cx, double cy, double r, double flatness, double tilt, double t);
// The same from the sines and cosines of tilt and t; equal to the bit.
Point EllipsePoint(double cx, double cy, double r, double flatness, SinCosPair tilt, SinCosPair t);
Point EllipsePointDeg(double cx, double cy, double r, double flatness, double tiltDeg, double tDeg);

// Sine and cosine of an angle in degrees, converted to radians exactly as
// EllipsePointDeg converts its angles.
inline SinCosPair SinCosDeg(double deg) { return SinCos(Radians(deg)); }

template <std::size_t N>
std::array<SinCosPair, N> SinCosDeg(const std::array<double, N>& anglesDeg) {
    std::array<SinCosPair, N> out{};
    for (std::size_t i = 0; i < N; ++i) out[i] = SinCosDeg(anglesDeg[i]);
    return out;
}

// SinCosDeg of a fixed table of angles (corners of a pentagon, say),
// evaluated on first use and kept for the run: every figure needs the same
// values, and each evaluation costs as much as the rest of a corner.
template <const auto& kAnglesDeg>
const auto& CachedSinCosDeg() {
    static const auto table = SinCosDeg(kAnglesDeg);
    return table;
}

double PointLineDistance(double x1, double y1, double x2, double y2, double px, double py);

struct CircleArc {
    double cx = 0.0, cy = 0.0, r = 0.0;
    double start = 0.0, end = 0.0;  // counter-clockwise from start to end passes B
    bool dir = false;               // true when start is A's angle
};
// Circle through A, B, C and its arc from A through B to C; nothing when the
// three points are (nearly) on one line or together.
std::optional<CircleArc> CircleThrough3Points(Point a, Point b, Point c);
// The same with start and end in degrees, each through RoundTiny.
std::optional<CircleArc> CircleThrough3PointsDeg(Point a, Point b, Point c);

struct LineMeeting {
    Point at;
    bool withinBoth = false;  // inside both segments' boxes (within the point tolerance)
};
// Where line P1P2 meets line P3P4; nothing when they are parallel.
std::optional<LineMeeting> LineIntersection(Point p1, Point p2, Point p3, Point p4);

}  // namespace tesra
