// Measures of the elements of a path.
#include "geom/path.h"

#include <algorithm>
#include <cmath>

#include "geom/trig.h"

namespace tesra {

PathElement LineElement(Point a, Point b) {
    PathElement e;
    e.a = a;
    e.b = b;
    return e;
}

double ElementLength(const PathElement& e) {
    if (e.shape == PathElement::Shape::Line) return Distance(e.a, e.b);
    return e.radius * std::fabs(e.sweepRad);
}

bool IsDegenerate(const PathElement& e) {
    if (e.shape == PathElement::Shape::Line) return SamePoint(e.a, e.b);
    return e.radius <= kSameEps || ElementLength(e) <= kSameEps;
}

bool IsFullCircle(const PathElement& e) {
    return e.shape == PathElement::Shape::Arc && std::fabs(e.sweepRad) == kTwoPi;
}

PathElement Reversed(const PathElement& e) {
    PathElement r = e;
    r.a = e.b;
    r.b = e.a;
    if (e.shape == PathElement::Shape::Arc) {
        r.startRad = e.startRad + e.sweepRad;
        r.sweepRad = -e.sweepRad;
    }
    return r;
}

ElementPath Reversed(const ElementPath& path) {
    ElementPath r{{path.elements.rbegin(), path.elements.rend()}, path.closed};
    for (PathElement& e : r.elements) e = Reversed(e);
    return r;
}

PathPoint PointAt(const PathElement& e, double station) {
    if (e.shape == PathElement::Shape::Line) {
        const double len = Distance(e.a, e.b);
        const Point u = len > 0 ? (1 / len) * (e.b - e.a) : Point{1, 0};
        return {e.a + station * u, u};
    }
    const double sigma = e.sweepRad < 0 ? -1.0 : 1.0;
    const double phi = e.startRad + sigma * station / e.radius;
    const SinCosPair sc = SinCos(phi);
    return {{e.centre.x + e.radius * sc.cos, e.centre.y + e.radius * sc.sin},
            {-sigma * sc.sin, sigma * sc.cos}};
}

Point StartTangent(const PathElement& e) { return PointAt(e, 0).tangent; }
Point EndTangent(const PathElement& e) { return PointAt(e, ElementLength(e)).tangent; }

double TwiceArea(const std::vector<PathElement>& elements) {
    if (elements.empty()) return 0;
    const Point ref = elements.front().a;
    double sum = 0;
    for (const PathElement& e : elements) {
        const Point a = e.a - ref, b = e.b - ref;
        if (e.shape == PathElement::Shape::Line) {
            sum += a.x * b.y - a.y * b.x;
        } else {
            const Point c = e.centre - ref;
            sum += e.radius * e.radius * e.sweepRad + c.x * (b.y - a.y) - c.y * (b.x - a.x);
        }
    }
    return sum;
}

}  // namespace tesra
