#pragma once
// The frame of one placed figure. Figure geometry is given in cell
// coordinates (u, v): u along the span, v towards its "上" side.

#include <cstdint>

#include "geom/point.h"

namespace tesra {

struct FigureCell {
    Point O;   // box corner on its lower edge (u = 0, v = 0)
    Point eu;  // unit vector along the span
    Point ev;  // eu turned +90 degrees
    double W = 0.0;
    double H = 0.0;
    Point C;                // O + (W/2) eu + (H/2) ev
    double theta = 0.0;     // span angle, radians
    double thetaDeg = 0.0;  // span angle, degrees

    // Every cell point goes through here, so that all kinds round alike.
    Point At(double u, double v) const {
        return {O.x + u * eu.x + v * ev.x, O.y + u * eu.y + v * ev.y};
    }
};

// What the filled kinds need: whether to switch to the user's solid color.
struct SolidStyle {
    bool enabled = false;
    std::int32_t color = 0;
};

}  // namespace tesra
