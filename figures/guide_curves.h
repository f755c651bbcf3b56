#pragma once
// Guide lines that follow a path: straight or concentric with an arc, and
// where those of two consecutive elements meet.

#include <cstdint>
#include <optional>

#include "exchange/draw_target.h"
#include "geom/helpers.h"
#include "geom/path.h"
#include "geom/point.h"

namespace tesra::guide {

// A guide line, straight or concentric with an arc, in the direction the path runs.
struct GuideCurve {
    bool arc = false;
    Point s, e;    // straight
    Point centre;  // arc
    double radius = 0, startRad = 0, sweepRad = 0;
    bool drawn = true;  // false for an arc of radius 0 or less
};

// Where the guide curves of two consecutive elements meet near their shared
// vertex, or nothing when they cannot meet there.
std::optional<Point> JointPoint(const GuideCurve& before, const GuideCurve& after, Point vertex,
                                double d);

// Moves the end (atEnd) or the start of a guide curve to `meet`.
void MoveCurveEnd(GuideCurve& curve, Point meet, bool atEnd);

// Emits the arc of `radius` about `centre` between two angles taken in the
// order the path runs; the host draws it counter-clockwise.
void EmitGuideArc(Point centre, double radius, double fromRad, double toRad, DrawTarget& out);

}  // namespace tesra::guide
