// Figures, gap arcs and guide-curve joints on circular elements.
//
// On an arc every figure stands square to the arc at its middle: its cell's
// axis eu is the tangent at the station halfway along the figure, and its
// centre lies on the radius through that station, halfway up the band.
// A height v in the band lies on the circle of radius R − σ·(v − off), σ being
// +1 where the path runs counter-clockwise (its "上" side faces the centre)
// and −1 where it runs clockwise.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "figures/along_internal.h"
#include "figures/figures.h"
#include "figures/mitre.h"
#include "figures/span_placement.h"
#include "geom/helpers.h"
#include "geom/trig.h"

namespace tesra::along {
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

double Dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}
double Norm(Point a) {
    return std::sqrt(Dot(a, a));
}

double NormalisedDeg(double rad) {
    double deg = std::fmod(Degrees(rad), 360.0);
    if (deg < 0) deg += 360;
    return deg >= 360 ? 0.0 : deg;
}

struct ArcFrame {
    const PathElement& e;
    double sigma;  // +1 counter-clockwise, −1 clockwise
    double off;

    double AngleAt(double station) const { return e.startRad + sigma * station / e.radius; }
    double RadiusAt(double v) const { return e.radius - sigma * (v - off); }
};

FigureCell CellAt(const ArcFrame& f, double w, double h, double middleStation) {
    const double phi = f.AngleAt(middleStation);
    const SinCosPair atPhi = SinCos(phi);
    const double theta = VectorAngle(-f.sigma * atPhi.sin, f.sigma * atPhi.cos);
    FigureCell cell;
    const SinCosPair u = SinCos(theta), v = SinCos(theta + kPi / 2);
    cell.eu = {u.cos, u.sin};
    cell.ev = {v.cos, v.sin};
    cell.W = w;
    cell.H = h;
    cell.theta = theta;
    cell.thetaDeg = Degrees(theta);
    const Point centre = Along(f.e.centre, f.RadiusAt(h / 2), phi);
    cell.O = centre - (w / 2) * cell.eu - (h / 2) * cell.ev;
    cell.C = cell.At(w / 2, h / 2);
    return cell;
}

void GapArcs(const PatternRow& row, const ArcFrame& f, double from, double to, DrawTarget& out) {
    for (const auto& [setting, v] : Guides(row))
        if (setting == kGuideGap)
            EmitGuideArc(f.e.centre, f.RadiusAt(v), f.AngleAt(from), f.AngleAt(to), out);
}

using Candidates = std::vector<Point>;

// Meeting points of the line through p1, p2 with a circle, all relative to the vertex.
Candidates LineCircle(Point p1, Point p2, Point c, double r) {
    const Point d = p2 - p1;
    const double len = Norm(d);
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
    const double dist = Norm(dc);
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
        Point meet;
        if (SegmentIntersection(meet, p.s.x, p.s.y, p.e.x, p.e.y, q.s.x, q.s.y, q.e.x, q.e.y) > 0)
            return {meet - vertex};
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
    const double startDeg = NormalisedDeg(lo);
    double endDeg = startDeg + Degrees(sweep);
    if (endDeg >= 360) endDeg -= 360;
    out.EmitArc(centre, radius, startDeg, endDeg, 1, 0);
}

void ArcFiguresAndGaps(const AlongInputs& in, const PathElement& e, std::int32_t count,
                       DrawTarget& out) {
    const PatternRow& row = in.row;
    const double length = ElementLength(e);
    const Spacing sp = SpacingFor(row, length, count);
    const ArcFrame f{e, e.sweepRad < 0 ? -1.0 : 1.0, BandOffset(row.basePoint, row.height)};
    const double w = row.width, h = row.height;

    double start = sp.s0;  // station of the current figure's start
    double end = 0;        // station where the last figure ended
    if (!SameValue(sp.s0, 0)) GapArcs(row, f, 0, start, out);
    for (std::int32_t i = 1; i <= count; ++i) {
        DrawFigure(row.figureKind, CellAt(f, w, h, start + w / 2), in.solid, out);
        out.WriteLineColor(in.lineColor, 0);
        end = start + w;
        start = start + (w + sp.g);
        if (!SameValue(sp.g, 0) && i < count) GapArcs(row, f, end, start, out);
    }
    if (!SameValue(sp.s0, 0)) GapArcs(row, f, end, length, out);
}

}  // namespace tesra::along
