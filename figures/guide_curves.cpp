// Guide arcs and where guide curves of consecutive elements meet.
//
// A height v in the band lies on the circle of radius R − σ·(v − off), σ being
// +1 where the path runs counter-clockwise (its "上" side faces the centre)
// and −1 where it runs clockwise.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "figures/guide_curves.h"
#include "figures/mitre.h"
#include "geom/helpers.h"
#include "geom/trig.h"

namespace tesra::guide {
namespace {

// Below this sweep (radians) a guide arc is written as its chord: the two
// differ by R·sweep²/8, under 2e-5 even at R = 1e12, and the host might read
// an arc whose printed ends agree as a full circle.
constexpr double kChordSweep = 1e-8;
// A sweep this close to a whole turn is one.
constexpr double kFullTurnSlack = 1e-12;
// How far from zero the discriminant of a tangent meeting may stray through
// rounding, relative to the squared radius; within it the curves touch once.
constexpr double kTangentSlack = 1e-12;

// The length as sqrt of the dot product, not hypot: the guide meetings have
// always been worked out this way, to the last bit.
double Length(Point a) { return std::sqrt(Dot(a, a)); }

using Candidates = std::vector<Point>;

// Meeting points of the line through p1, p2 with a circle, all relative to the vertex.
Candidates LineCircle(Point p1, Point p2, Point c, double r) {
    const Point d = p2 - p1;
    const double len = Length(d);
    if (len < kTinyEps) return {};
    const Point u = (1 / len) * d;
    const Point w = p1 - c;
    const double b = Dot(w, u);
    double disc = b * b - (Dot(w, w) - r * r);
    if (std::fabs(disc) <= kTangentSlack * r * r) disc = 0;  // tangent: one point
    if (disc < 0) return {};
    const double s = std::sqrt(disc);
    return {p1 + (-b - s) * u, p1 + (-b + s) * u};
}

Candidates CircleCircle(Point c1, double r1, Point c2, double r2) {
    const Point dc = c2 - c1;
    const double dist = Length(dc);
    if (dist < kTinyEps) return {};  // concentric: no single meeting point
    const double along = (r1 * r1 - r2 * r2 + dist * dist) / (2 * dist);
    double h2 = r1 * r1 - along * along;
    if (std::fabs(h2) <= kTangentSlack * std::max(r1 * r1, r2 * r2)) h2 = 0;  // tangent
    if (h2 < 0) return {};
    const double h = std::sqrt(h2);
    const Point base = c1 + (along / dist) * dc;
    const Point perp = {-dc.y / dist, dc.x / dist};
    return {base + h * perp, base - h * perp};
}

Candidates Meetings(const GuideCurve& p, const GuideCurve& q, Point vertex) {
    if (!p.arc && !q.arc) {
        if (const auto meet = LineIntersection(p.s, p.e, q.s, q.e)) return {meet->at - vertex};
        return {};
    }
    if (p.arc && q.arc)
        return CircleCircle(p.centre - vertex, p.radius, q.centre - vertex, q.radius);
    const GuideCurve& line = p.arc ? q : p;
    const GuideCurve& circle = p.arc ? p : q;
    return LineCircle(line.s - vertex, line.e - vertex, circle.centre - vertex, circle.radius);
}

}  // namespace

std::optional<Point> JointPoint(const GuideCurve& before, const GuideCurve& after, Point vertex,
                                double d) {
    // On the elements themselves the curves already meet at the vertex.
    if (!before.drawn || !after.drawn || d == 0) return std::nullopt;
    const Candidates found = Meetings(before, after, vertex);
    if (found.empty()) return std::nullopt;
    const Point nearest = *std::min_element(found.begin(), found.end(),
                                            [](Point a, Point b) { return Dot(a, a) < Dot(b, b); });
    const Point meet = nearest + vertex;
    if (!WithinMitreLimit(meet, vertex, d)) return std::nullopt;
    return meet;
}

void MoveCurveEnd(GuideCurve& curve, Point meet, bool atEnd) {
    if (!curve.arc) {
        (atEnd ? curve.e : curve.s) = meet;
        return;
    }
    const double angle = VectorAngle(meet.x - curve.centre.x, meet.y - curve.centre.y);
    if (atEnd) {
        curve.sweepRad += std::remainder(angle - (curve.startRad + curve.sweepRad), kTwoPi);
    } else {
        const double shift = std::remainder(angle - curve.startRad, kTwoPi);
        curve.startRad += shift;
        curve.sweepRad -= shift;
    }
}

void EmitGuideArc(Point centre, double radius, double fromRad, double toRad, DrawTarget& out) {
    if (!(radius > 0)) return;
    const double lo = std::min(fromRad, toRad), hi = std::max(fromRad, toRad);
    const double sweep = hi - lo;
    if (sweep >= kTwoPi - kFullTurnSlack) return out.EmitArc(centre, radius, 0, 360, 1, 0);
    if (sweep < kChordSweep)
        return out.EmitLine(Along(centre, radius, fromRad), Along(centre, radius, toRad));
    const double startDeg = NormalisedDeg(Degrees(lo));
    double endDeg = startDeg + Degrees(sweep);
    if (endDeg >= 360) endDeg -= 360;
    out.EmitArc(centre, radius, startDeg, endDeg, 1, 0);
}

}  // namespace tesra::guide
