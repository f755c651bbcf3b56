#pragma once
// What the figure generator draws with. The command writer implements it;
// tests may record the raw calls instead.

#include <cstdint>

#include "geom/point.h"

namespace tesra {

// The parts of a pattern row that may each have a pen of their own.
enum class RowPart { Figures, Upper, Middle, Lower };
inline constexpr int kRowPartCount = 4;

// A part's pen: the host's `lc` and `lt` numbers, kCurrentPen for the pen the
// host passed in.
inline constexpr std::int32_t kCurrentPen = 0;  // "現在の線色", "現在の線種"
struct RowPen {
    std::int32_t color = kCurrentPen;
    std::int32_t lineType = kCurrentPen;

    bool operator==(const RowPen&) const = default;
};

class DrawTarget {
public:
    virtual ~DrawTarget() = default;
    virtual void EmitLine(Point a, Point b) = 0;
    // Angles and tilt in degrees.
    virtual void EmitArc(Point centre, double r, double startDeg, double endDeg, double flatness,
                         double tiltDeg) = 0;
    virtual void EmitSolidTriangle(Point a, Point b, Point c) = 0;
    virtual void EmitSolidQuad(Point a, Point b, Point c, Point d) = 0;
    // Tilt and angles in radians; code 100 full ellipse, 5 half (angle2 = swept).
    virtual void EmitSolidArc(std::int32_t code, Point centre, double r, double flatness,
                              double tilt, double angle1, double angle2) = 0;
    virtual void EmitSolidRing(Point centre, double rOuter, double flatness, double tilt,
                               double angle1, double angle2, double rInner) = 0;
    virtual void WriteSolidColor(std::int32_t rgb) = 0;
    virtual void WriteLineColor(std::int32_t color, std::int32_t mode) = 0;
    // The elements that follow belong to this part of the row: a target that
    // gives parts their own pens takes it up; others need not care.
    virtual void BeginPart(RowPart /*part*/) {}
};

}  // namespace tesra
