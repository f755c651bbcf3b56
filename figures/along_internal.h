#pragma once
// Pieces shared by the files that draw along selected elements: measures of
// a followed element and the geometry of its guide arcs and joints.

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "exchange/draw_target.h"
#include "figures/along_elements.h"
#include "geom/helpers.h"
#include "geom/point.h"

namespace tesra::along {

// The guide lines' settings and heights in the band: upper, middle, lower.
std::array<std::pair<std::int32_t, double>, 3> Guides(const PatternRow& row);

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

// Figures and gap lines along one arc element.
void ArcFiguresAndGaps(const AlongInputs& in, const PathElement& e, std::int32_t count,
                       DrawTarget& out);

}  // namespace tesra::along
