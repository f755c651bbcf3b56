#pragma once

#include <cmath>

namespace tesra {

// A point or a vector of the drawing plane.
struct Point {
    double x = 0.0;
    double y = 0.0;
};

inline Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
inline Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
inline Point operator*(double k, Point a) { return {k * a.x, k * a.y}; }

inline double Dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }
// Positive when b lies to the left of a.
inline double Cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }
inline double Norm(Point a) { return std::hypot(a.x, a.y); }
// The vector turned a quarter turn counter-clockwise: the left of a direction.
inline Point LeftNormal(Point t) { return {-t.y, t.x}; }
// The vector of length one along p; a vector of no length gives the x axis,
// so that a direction is always defined.
inline Point Unit(Point p) {
    const double n = Norm(p);
    return n > 0 ? (1 / n) * p : Point{1, 0};
}

}  // namespace tesra
