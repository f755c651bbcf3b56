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

PathElement ArcElement(Point centre, double r, double startRad, double sweepRad) {
    PathElement e;
    e.shape = PathElement::Shape::Arc;
    e.centre = centre;
    e.radius = r;
    e.startRad = startRad;
    e.sweepRad = sweepRad;
    e.a = Along(centre, r, startRad);
    e.b = IsFullCircle(e) ? e.a : Along(centre, r, startRad + sweepRad);
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

bool PathHasLength(const ElementPath& path) {
    return !std::all_of(path.elements.begin(), path.elements.end(), IsDegenerate);
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

double TurnAngle(const PathElement& before, const PathElement& after) {
    const Point t0 = EndTangent(before), t1 = StartTangent(after);
    return std::atan2(t0.x * t1.y - t0.y * t1.x, t0.x * t1.x + t0.y * t1.y);
}

bool IsSharpTurn(Point t0, Point t1) {
    // By the cosine of the turn: no angle needs to be measured.
    static const double kSmoothCos = std::cos(kSmoothTurnDeg * kDegToRad + kSmoothTurnSlackRad);
    return Dot(t0, t1) < kSmoothCos;
}

bool IsSharpJoint(const PathElement& before, const PathElement& after) {
    return IsSharpTurn(EndTangent(before), StartTangent(after));
}

Point AcrossBisector(Point t0, Point t1, double turn) {
    const Point sum = t0 + t1;
    if (Norm(sum) < kRoundingShare) return (turn > 0 ? 1.0 : -1.0) * LeftNormal(t0);
    return Unit(sum);
}

namespace {

// Joint k lies before element k. Zero-length elements are looked through, so
// that a repeated point between two sides is not a corner of its own.
std::vector<char> SharpJointsBefore(const ElementPath& path) {
    const auto& els = path.elements;
    const std::size_t n = els.size();
    std::vector<char> sharp(n, 0);
    std::size_t last = n;  // the last element with length so far
    std::size_t firstReal = n;
    for (std::size_t k = 0; k < n; ++k) {
        if (IsDegenerate(els[k])) continue;
        if (firstReal == n) firstReal = k;
        if (last != n) sharp[k] = IsSharpJoint(els[last], els[k]);
        last = k;
    }
    if (path.closed && firstReal != n && last != firstReal)
        sharp[firstReal] = IsSharpJoint(els[last], els[firstReal]);
    return sharp;
}

}  // namespace

std::vector<PathRun> RunsOf(const ElementPath& path) {
    return RunsAt(SharpJointsBefore(path), path.closed);
}

std::vector<PathRun> RunsAt(const std::vector<char>& sharp, bool closed) {
    const std::size_t n = sharp.size();
    if (n == 0) return {};
    std::vector<std::size_t> starts;
    for (std::size_t k = 0; k < n; ++k)
        if (sharp[k]) starts.push_back(k);
    if (!closed) {
        if (starts.empty() || starts.front() != 0) starts.insert(starts.begin(), 0);
    } else if (starts.empty()) {
        return {{0, n, true}};
    }
    std::vector<PathRun> runs;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t next = i + 1 < starts.size() ? starts[i + 1]
                                 : closed              ? starts.front() + n
                                                       : n;
        runs.push_back({starts[i], next - starts[i], false});
    }
    return runs;
}

}  // namespace tesra
