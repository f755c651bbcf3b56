#pragma once
// A path the pattern is laid along: lines and circular arcs joined end to
// end, in the direction the path runs. A straight span between two indicated
// points is the simplest path; a chain of points, a chain of selected
// elements and a circle are the others.

#include <cstdint>
#include <vector>

#include "geom/helpers.h"
#include "geom/point.h"

namespace tesra {

inline constexpr double kTwoPi = 2 * kPi;

// One element of a path, oriented in the direction its path runs.
struct PathElement {
    enum class Shape { Line, Arc };
    Shape shape = Shape::Line;
    Point a, b;              // start and end as the path runs (equal for a full circle)
    Point centre;            // arcs only
    double radius = 0;       // arcs only
    double startRad = 0;     // arcs only: angle of a about the centre
    double sweepRad = 0;     // arcs only: signed, positive counter-clockwise; ±2π for a circle
    std::int32_t order = 0;  // index in the selection's input order, for stable output
};

struct ElementPath {
    std::vector<PathElement> elements;
    bool closed = false;
};

PathElement LineElement(Point a, Point b);

// Length along the element: the chord of a line, R·|sweep| on an arc.
double ElementLength(const PathElement& e);

// Lines whose ends coincide and arcs shorter than the point tolerance: they
// carry nothing and join no path.
bool IsDegenerate(const PathElement& e);

bool IsFullCircle(const PathElement& e);

// The element run the other way.
PathElement Reversed(const PathElement& e);

// The path run the other way.
ElementPath Reversed(const ElementPath& path);

// A place on an element, `station` along it from its start.
struct PathPoint {
    Point at;
    Point tangent;  // unit, in the direction the path runs
};
PathPoint PointAt(const PathElement& e, double station);

// Unit tangents where the element starts and ends, as the path runs.
Point StartTangent(const PathElement& e);
Point EndTangent(const PathElement& e);

// Twice the signed area a closed path encloses: positive when it runs
// counter-clockwise.
double TwiceArea(const std::vector<PathElement>& elements);

}  // namespace tesra
