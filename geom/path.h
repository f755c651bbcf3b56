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
// The arc of radius r about centre from startRad, sweeping sweepRad (signed,
// positive counter-clockwise; ±2π for a circle), its ends worked out.
PathElement ArcElement(Point centre, double r, double startRad, double sweepRad);

// Length along the element: the chord of a line, R·|sweep| on an arc.
double ElementLength(const PathElement& e);

// Lines whose ends coincide and arcs shorter than the point tolerance: they
// carry nothing and join no path.
bool IsDegenerate(const PathElement& e);

// Whether anything can be laid along the path: a path of only zero-length
// lines and zero-radius arcs has nothing to follow.
bool PathHasLength(const ElementPath& path);

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

// A joint is smooth when the path turns there by at most this angle: a line
// meeting a tangent arc, or a 36-gon's 10° steps, run on without a break; a
// rectangle's corners are sharp. Curves converted to lines in drawing programs
// step by well under 15°; site corners turn by far more than 20°.
inline constexpr double kSmoothTurnDeg = 20.0;
// A turn is compared with the threshold this loosely (radians, about 6e-4
// degrees), so that one equal to it is smooth at every joint rather than at
// some: a regular 18-gon's corners, worked out from coordinates rounded to a
// millionth, differ from 20° by far less, and no drawing tells the two apart.
inline constexpr double kSmoothTurnSlackRad = 1e-5;

// The signed angle by which the path turns where `before` ends and `after`
// starts: positive to the left (counter-clockwise), in (-π, π].
double TurnAngle(const PathElement& before, const PathElement& after);
bool IsSharpJoint(const PathElement& before, const PathElement& after);
// The same from the unit tangents where the path arrives and leaves.
bool IsSharpTurn(Point t0, Point t1);

// The unit vector across a corner's bisector, pointing the way the path
// leaves: the sum of the unit tangents arriving (t0) and leaving (t1). Where
// the path doubles back it is the normal on the side it turns to (turn > 0
// to the left).
Point AcrossBisector(Point t0, Point t1, double turn);

// A stretch of a path between sharp corners (or its ends): `count` elements
// from `first`, indexes taken modulo the path's size, since on a closed path
// a run may pass its first element. A closed run is a closed path with no
// sharp corner: it has no ends.
struct PathRun {
    std::size_t first = 0;
    std::size_t count = 0;
    bool closed = false;
};

// The runs of a path in the order it runs. Degenerate elements (zero length)
// belong to the run they stand in and never make a corner themselves.
std::vector<PathRun> RunsOf(const ElementPath& path);
// The runs of a path of n = sharpBefore.size() elements whose joint before
// element k is sharp where sharpBefore[k] is set.
std::vector<PathRun> RunsAt(const std::vector<char>& sharpBefore, bool closed);

}  // namespace tesra
