// Parsing, rounding and plane-geometry helpers shared by every part of the drawing.
#include "geom/helpers.h"
#include "geom/trig.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "geom/cp932.h"

namespace tesra {
namespace {

std::string_view SkipLeadingSpaces(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    return text.substr(i);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Decimal digits, or hexadecimal ones after "$", "x" or "0x"; no sign.
bool ParseMagnitude(std::string_view text, std::uint64_t& value, bool& hex) {
    hex = false;
    if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X')) {
        text.remove_prefix(1);
        hex = true;
    } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        hex = true;
    }
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, hex ? 16 : 10);
    return ec == std::errc() && ptr == end;
}

// Optional sign, digits with at most one ".", at least one digit, then an
// optional exponent. Nothing else: no "inf", "nan" or hexadecimal reals.
bool IsPlainDecimalReal(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < t.size() && IsDigit(t[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == t.size();
}

// ASCII and double-byte (ａ..ｚ) letters to upper case.
std::string UpperCase(std::string text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto b = static_cast<unsigned char>(text[i]);
        if (cp932::IsLeadByte(b) && i + 1 < text.size()) {
            auto trail = static_cast<unsigned char>(text[i + 1]);
            if (b == 0x82 && trail >= 0x81 && trail <= 0x9A)
                text[i + 1] = static_cast<char>(trail - 0x21);
            ++i;
        } else if (b >= 'a' && b <= 'z') {
            text[i] = static_cast<char>(b - 'a' + 'A');
        }
    }
    return text;
}

// A difference counts as zero when v / e + 0.5, truncated, is 0.
bool IsZeroDifference(double v) { return std::trunc(v / kSameEps + 0.5) == 0.0; }

}  // namespace

std::int32_t ParseInt(std::string_view text) { return TolerantInt(text).value_or(0); }

std::optional<std::int32_t> TolerantInt(std::string_view text) {
    text = SkipLeadingSpaces(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    std::uint64_t magnitude = 0;
    bool hex = false;
    if (!ParseMagnitude(text, magnitude, hex)) return std::nullopt;
    if (hex) {
        // Hexadecimal spells the 32-bit pattern: $FFFFFFFF is -1.
        if (magnitude > 0xFFFFFFFFull) return std::nullopt;
        auto bits = static_cast<std::uint32_t>(magnitude);
        if (negative) bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    if (magnitude > limit) return std::nullopt;
    const auto wide = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(negative ? -wide : wide);
}

double NormalisedDeg(double deg) {
    double d = std::fmod(deg, kFullTurnDeg);
    if (d < 0) d += kFullTurnDeg;
    return d >= kFullTurnDeg ? 0.0 : d;  // a tiny negative angle rounds up to a whole turn
}

double SweepDeg(double startDeg, double endDeg) {
    const double sweep = std::fmod(endDeg - startDeg, kFullTurnDeg);
    return sweep <= 0.0 ? sweep + kFullTurnDeg : sweep;
}

std::optional<std::int32_t> WholeInt(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::optional<double> WholeFiniteReal(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

double ParseFloat(std::string_view text) { return TolerantReal(text).value_or(0.0); }

std::optional<double> TolerantReal(std::string_view text) {
    text = SkipLeadingSpaces(text);
    if (!IsPlainDecimalReal(text)) return std::nullopt;
    if (text[0] == '+') text.remove_prefix(1);  // from_chars takes no plus sign
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    return value;
}

bool ParseBool(std::string_view text) {
    const std::string word = UpperCase(CleanText(text));
    static constexpr std::string_view kTrueWords[] = {
        "T",  "TR",         "TRU",      "TRUE", "1", cp932::kFullWidthOne, cp932::kWhiteCircle,
        "ON", cp932::kShin, cp932::kSei};
    return std::find(std::begin(kTrueWords), std::end(kTrueWords), word) != std::end(kTrueWords);
}

std::string BoolText(bool b) { return b ? "1" : "0"; }

std::string CleanText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto b = static_cast<unsigned char>(text[i]);
        if (cp932::IsLeadByte(b) && i + 1 < text.size()) {
            std::string_view ch = text.substr(i, 2);
            if (ch != cp932::kIdeographicSpace) out += ch;
            ++i;
        } else if (b > 0x20) {
            out += static_cast<char>(b);
        }
    }
    return out;
}

double RoundTiny(double x) {
    const double magnitude = std::trunc(std::fabs(x) / kTinyEps + 0.5) * kTinyEps;
    return x < 0 ? -magnitude : magnitude;
}

double Distance(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

double VectorAngle(double dx, double dy) {
    if (std::fabs(dx) < kTinyEps && std::fabs(dy) < kTinyEps) return 0.0;
    double a = std::atan2(dy, dx);
    if (a < 0) a += kTwoPi;
    return a;
}

Point Along(Point p, double distance, double angle) {
    const SinCosPair turn = SinCos(angle);
    return {p.x + distance * turn.cos, p.y + distance * turn.sin};
}

bool SameValue(double a, double b) { return std::fabs(a - b) <= kSameEps; }

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool SamePoint(double x1, double y1, double x2, double y2) {
    return std::fabs(x1 - x2) <= kSameEps && std::fabs(y1 - y2) <= kSameEps;
}

Point RotatePoint(double x, double y, double cx, double cy, double a) {
    return RotatePoint(x, y, cx, cy, SinCos(a));
}

Point RotatePoint(double x, double y, double cx, double cy, SinCosPair a) {
    const double c = a.cos;
    const double s = a.sin;
    return {cx + c * (x - cx) - s * (y - cy), cy + s * (x - cx) + c * (y - cy)};
}

double RotatedY(double x, double y, double cx, double cy, double a) {
    return RotatePoint(x, y, cx, cy, a).y;
}

Point EllipsePoint(double cx, double cy, double r, double flatness, double tilt, double t) {
    return EllipsePoint(cx, cy, r, flatness, SinCos(tilt), SinCos(t));
}

Point EllipsePoint(double cx, double cy, double r, double flatness, SinCosPair tilt, SinCosPair t) {
    const Point local = RotatePoint(r * t.cos, flatness * r * t.sin, 0.0, 0.0, tilt);
    return {local.x + cx, local.y + cy};
}

Point EllipsePointDeg(double cx, double cy, double r, double flatness, double tiltDeg,
                      double tDeg) {
    return EllipsePoint(cx, cy, r, flatness, SinCosDeg(tiltDeg), SinCosDeg(tDeg));
}

double PointLineDistance(double x1, double y1, double x2, double y2, double px, double py) {
    const double theta = VectorAngle(x2 - x1, y2 - y1);
    return std::fabs(RotatedY(px, py, x1, y1, -theta) - y1);
}

std::optional<CircleArc> CircleThrough3Points(Point a, Point b, Point c) {
    const double x1 = a.x, y1 = a.y, x2 = b.x, y2 = b.y, x3 = c.x, y3 = c.y;
    if (PointLineDistance(x1, y1, x2, y2, x3, y3) < kSameEps) return std::nullopt;
    const double ax = x1 - x2, ay = y1 - y2;
    const double cx = x3 - x2, cy = y3 - y2;
    const double b2 = x2 * x2 + y2 * y2;
    const double kA = (x1 * x1 + y1 * y1 - b2) / 2;
    const double kC = (x3 * x3 + y3 * y3 - b2) / 2;
    const double d1 = ay * cx - ax * cy;
    if (std::fabs(d1) < kSameEps) return std::nullopt;
    const double centreY = (kA * cx - kC * ax) / d1;
    const double d2 = ax * cy - cx * ay;
    if (std::fabs(d2) < kSameEps) return std::nullopt;
    const double centreX = (kA * cy - kC * ay) / d2;
    const double r = Distance(centreX, centreY, x1, y1);
    if (r < kSameEps) return std::nullopt;

    const double angleA = VectorAngle(x1 - centreX, y1 - centreY);
    const double angleB = VectorAngle(x2 - centreX, y2 - centreY);
    const double angleC = VectorAngle(x3 - centreX, y3 - centreY);
    const double lo = std::min(angleA, angleC);
    const double hi = std::max(angleA, angleC);
    CircleArc arc{centreX, centreY, r};
    if (angleB < lo || angleB > hi) {
        arc.start = hi;
        arc.end = lo;
        arc.dir = angleC < angleA;
    } else {
        arc.start = lo;
        arc.end = hi;
        arc.dir = !(angleC < angleA);
    }
    return arc;
}

std::optional<CircleArc> CircleThrough3PointsDeg(Point a, Point b, Point c) {
    std::optional<CircleArc> arc = CircleThrough3Points(a, b, c);
    if (arc) {
        arc->start = RoundTiny(Degrees(arc->start));
        arc->end = RoundTiny(Degrees(arc->end));
    }
    return arc;
}

std::optional<LineMeeting> LineIntersection(Point p1, Point p2, Point p3, Point p4) {
    const double x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y;
    const double x3 = p3.x, y3 = p3.y, x4 = p4.x, y4 = p4.y;
    const bool firstVertical = IsZeroDifference(x1 - x2);
    const bool secondVertical = IsZeroDifference(x3 - x4);
    double x = 0.0, y = 0.0;
    if (firstVertical && secondVertical) return std::nullopt;
    if (firstVertical) {
        x = x1;
        y = (x1 - x3) * (y4 - y3) / (x4 - x3) + y3;
    } else if (secondVertical) {
        x = x3;
        y = (x3 - x1) * (y2 - y1) / (x2 - x1) + y1;
    } else {
        const double s1 = (y2 - y1) / (x2 - x1);
        const double b1 = y1 - s1 * x1;
        const double s2 = (y4 - y3) / (x4 - x3);
        const double b2 = y3 - s2 * x3;
        if (IsZeroDifference(s1 - s2)) return std::nullopt;
        x = (b2 - b1) / (s1 - s2);
        y = s1 * x + b1;
    }
    auto inBox = [x, y](double ax, double ay, double bx, double by) {
        return x >= std::min(ax, bx) - kSameEps && x <= std::max(ax, bx) + kSameEps &&
               y >= std::min(ay, by) - kSameEps && y <= std::max(ay, by) + kSameEps;
    };
    return LineMeeting{{x, y}, inBox(x1, y1, x2, y2) && inBox(x3, y3, x4, y4)};
}

}  // namespace tesra
