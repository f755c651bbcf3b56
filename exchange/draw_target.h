#pragma once
// What the figure generator draws with. The command writer implements it;
// tests may record the raw calls instead.

#include <cstdint>

#include "geom/point.h"

namespace tesra {

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
};

}  // namespace tesra
