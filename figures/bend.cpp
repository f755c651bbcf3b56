// 曲げる: the mapping of a figure's cell onto the run it stands on, and a
// drawing target that carries every element of the figure through it.
//
// Chords: a curve p(t), t in [0, 1], strays from the chord over a step h by
// at most max|p''|·h²/8. The figure's elements are drawn in a cell of their
// own (u along, v up), so p = M(q(t)) with q the element in the cell and M
// the mapping; p'' = J·q'' + D²M[q', q'], bounded by the sizes of the figure
// and the radii it bends on (BendMap::Steps and Strips). The steps follow
// from that bound.
#include "figures/bend.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "exchange/host_codes.h"
#include "figures/guide_curves.h"
#include "geom/helpers.h"

namespace tesra::layout {
namespace {

bool IsArc(const ElementFrame& f) { return !f.IsLine(); }

// The station range of a figure: its start and its width.
struct Span {
    double start = 0, w = 0;
};

// The mapping of one figure's cell onto its track.
class BendMap {
public:
    BendMap(const BendTrack& track, Span span, double off) : track_(track), span_(span), off_(off) {
        first_ = ElementAt(span.start, false);
        last_ = std::max(first_, ElementAt(span.start + span.w, true));
        for (std::size_t i = first_ + 1; i <= last_; ++i) {
            if (Carried(i) <= 0) continue;
            const std::size_t before = CarryingBefore(i);
            const Point step = NormalAt(before, Carried(before)) - NormalAt(i, 0);
            // A joint where the elements are tangent needs no shear.
            const bool turns = Norm(step) > kTinyEps;
            joints_.push_back({track.starts[i] - span.start, i, turns ? step : Point{}});
            jump_ = jump_ + joints_.back().step;
            jumps_ += Norm(joints_.back().step);
        }
        MeetNeighboursAtJoints();
    }

    // Where the point (u, v) of the cell lands.
    Point At(double u, double v) const {
        const std::size_t i = ElementOf(u);
        const ElementFrame& f = track_.frames[i];
        const double local = Local(i, u);
        const Point base =
            f.IsLine() ? f.At(local, v) : Along(f.e->centre, f.RadiusAt(v), f.AngleAt(local));
        return base + (v - off_) * Shear(u);
    }

    // Whether the map is a rigid motion over u0..u1: on one line element
    // with no shear. Then it turns by the element's angle.
    const ElementFrame* RigidOver(double u0, double u1) const {
        if (Sheared()) return nullptr;
        const std::size_t i = ElementOf(u0);
        const ElementFrame& f = track_.frames[i];
        return f.IsLine() && ElementOf(u1) == i ? &f : nullptr;
    }

    bool Sheared() const { return jumps_ > 0 || Norm(startFix_) > 0 || Norm(endFix_) > 0; }

    // The joints strictly between u0 and u1, in order of u.
    std::vector<double> JointsBetween(double u0, double u1) const {
        std::vector<double> at;
        const double lo = std::min(u0, u1), hi = std::max(u0, u1);
        for (const Joint& j : joints_)
            if (j.u > lo && j.u < hi) at.push_back(j.u);
        if (u1 < u0) std::reverse(at.begin(), at.end());
        return at;
    }

    std::size_t ElementOf(double u) const {
        std::size_t i = first_;
        for (const Joint& j : joints_)
            if (u >= j.u) i = j.element;
        return i;
    }
    const ElementFrame& Frame(std::size_t i) const { return track_.frames[i]; }
    // Station u of the figure on element i, from the element's start.
    double Local(std::size_t i, double u) const { return span_.start + u - track_.starts[i]; }

    // The steps a curve of cell speed `speed` and acceleration `accel`
    // between heights v0 and v1 needs for the tolerance (see the top).
    int Steps(double speed, double accel, double v0, double v1) const {
        // |J| ≤ |∂M/∂u| + |∂M/∂v|: 1 or ρ/R along, 1 up, both and the shear's.
        double along = 1, k2 = 0;
        const double dMost = std::max(std::fabs(v0 - off_), std::fabs(v1 - off_));
        for (std::size_t i = first_; i <= last_; ++i) {
            const ElementFrame& f = track_.frames[i];
            if (!IsArc(f)) continue;
            const double r = f.e->radius;
            const double rho = std::max(std::fabs(f.RadiusAt(v0)), std::fabs(f.RadiusAt(v1)));
            along = std::max(along, rho / r);
            k2 = std::max(k2, rho / (r * r) + 2 / r);
        }
        const double g = Sheared() ? Norm(Ramp()) / span_.w : 0;
        const double k1 = along + 1 + Norm(startFix_) + jumps_ + Norm(Ramp()) + dMost * g;
        k2 += 2 * g;
        return StepsFor(k1 * accel + k2 * speed * speed);
    }

    // Strips across a solid spanning u0..u1 and heights v0..v1: so narrow
    // that every edge within one strays by at most the tolerance.
    int Strips(double u0, double u1, double v0, double v1) const {
        double a = 0, b = 0;
        for (std::size_t i = first_; i <= last_; ++i) {
            const ElementFrame& f = track_.frames[i];
            if (!IsArc(f)) continue;
            const double r = f.e->radius;
            const double rho = std::max(std::fabs(f.RadiusAt(v0)), std::fabs(f.RadiusAt(v1)));
            a = std::max(a, rho / (r * r));
            b = std::max(b, 1 / r);
        }
        b = 2 * (b + (Sheared() ? Norm(Ramp()) / span_.w : 0)) * (v1 - v0);
        const double width = u1 - u0, budget = 8 * kBendTolerance;
        if (!(width > 0) || (a == 0 && b == 0)) return 1;
        const double step =
            a == 0 ? budget / b : (-b + std::sqrt(b * b + 4 * a * budget)) / (2 * a);
        return Capped(std::ceil(width / step));
    }

private:
    struct Joint {
        double u;             // where the next element starts, from the figure's start
        std::size_t element;  // that element
        Point step;           // the offset direction's change there
    };

    static int Capped(double n) {
        if (!(n >= 1)) return 1;
        return n >= kMostBendSteps ? kMostBendSteps : static_cast<int>(n);
    }
    static int StepsFor(double bound) {
        return Capped(std::ceil(std::sqrt(bound / (8 * kBendTolerance))));
    }

    double Carried(std::size_t i) const {
        const double end = i + 1 < track_.starts.size() ? track_.starts[i + 1] : track_.length;
        return end - track_.starts[i];
    }
    std::size_t CarryingBefore(std::size_t i) const {
        while (i > 0 && Carried(--i) <= 0) {
        }
        return i;
    }

    // The element that holds station s: the last that starts at or before it
    // (before it, for the end of a figure, which belongs to the element it
    // leaves by less than a rounding's worth), passing those that carry
    // nothing; past the track's ends its first or last element.
    std::size_t ElementAt(double s, bool end) const {
        const auto& st = track_.starts;
        const double probe = end ? s - kSameEps : s + kSameEps;
        const auto after = std::upper_bound(st.begin(), st.end(), probe);
        std::size_t i = after == st.begin() ? 0 : static_cast<std::size_t>(after - st.begin()) - 1;
        while (i > 0 && Carried(i) <= 0) --i;
        return i;
    }

    // The band's offset direction on element i at `local` along it.
    Point NormalAt(std::size_t i, double local) const {
        const ElementFrame& f = track_.frames[i];
        if (f.IsLine()) return f.ev;
        const SinCosPair a = SinCos(f.AngleAt(local));
        return -f.sigma * Point{a.cos, a.sin};
    }

    // A figure that ends on a turning joint meets the figure beyond it on
    // the joint's mitre, where the offset lines of both sides cross: both
    // then draw that edge alike.
    void MeetNeighboursAtJoints() {
        const auto& st = track_.starts;
        if (first_ > 0 && std::fabs(span_.start - st[first_]) <= kSameEps) {
            const std::size_t before = CarryingBefore(first_);
            const Point n = NormalAt(first_, 0);
            if (Carried(before) > 0)
                startFix_ = Small(Mitre(NormalAt(before, Carried(before)), n) - n);
        }
        std::size_t next = last_ + 1;
        while (next < st.size() && Carried(next) <= 0) ++next;
        const double end = span_.start + span_.w;
        if (next < st.size() && std::fabs(end - st[next]) <= kSameEps) {
            const Point n = NormalAt(last_, Carried(last_));
            endFix_ = Small(Mitre(n, NormalAt(next, 0)) - n);
        }
    }
    // Where the offset lines at height 1 on either side of a joint cross.
    static Point Mitre(Point before, Point after) {
        return (1 / (1 + Dot(before, after))) * (before + after);
    }
    static Point Small(Point p) { return Norm(p) > kTinyEps ? p : Point{}; }

    // What the shear adds over the whole figure besides the steps at joints.
    Point Ramp() const { return endFix_ - startFix_ - jump_; }

    // The shear at u: the fix at the start, the steps of the joints passed,
    // and the rest spread evenly over the figure, so that it is the fix at
    // each end (nothing where an end is not on a joint).
    Point Shear(double u) const {
        if (!Sheared()) return {};
        Point s = startFix_ + (u / span_.w) * Ramp();
        for (const Joint& j : joints_)
            if (u >= j.u) s = s + j.step;
        return s;
    }

    const BendTrack& track_;
    Span span_;
    double off_;
    std::size_t first_ = 0, last_ = 0;
    std::vector<Joint> joints_;
    Point jump_;               // the sum of the steps
    double jumps_ = 0;         // the sum of their sizes
    Point startFix_, endFix_;  // the shear at the figure's ends: to the joint's mitre
};

// A convex piece of a solid, its corners in order.
using Polygon = std::vector<Point>;

// The part of a polygon with u between lo and hi.
Polygon ClipU(const Polygon& in, double lo, double hi) {
    auto clip = [](const Polygon& p, double at, bool keepAbove) {
        Polygon out;
        for (std::size_t i = 0; i < p.size(); ++i) {
            const Point a = p[i], b = p[(i + 1) % p.size()];
            const bool ina = keepAbove ? a.x >= at : a.x <= at;
            const bool inb = keepAbove ? b.x >= at : b.x <= at;
            if (ina) out.push_back(a);
            if (ina != inb) {
                const double t = (at - a.x) / (b.x - a.x);
                out.push_back({at, a.y + t * (b.y - a.y)});
            }
        }
        return out;
    };
    return clip(clip(in, lo, true), hi, false);
}

// An ellipse of the cell (radians), as the host's solid arcs give it.
struct Ellipse {
    Point centre;
    double r, flatness, tilt;

    double Reach() const { return r * std::max(1.0, std::fabs(flatness)); }
    Point At(double t) const { return EllipsePoint(centre.x, centre.y, r, flatness, tilt, t); }
    // Sides of a polygon whose edges stray from the outline over this sweep
    // by at most half the tolerance; the strips take the other half.
    int Sides(double sweep) const {
        const double a = Reach(), stray = kBendTolerance / 2;
        const double step = a > stray ? 2 * std::acos(1 - stray / a) : kTwoPi;
        const double n = std::ceil(std::fabs(sweep) / step);
        return static_cast<int>(std::clamp(n, 8.0, static_cast<double>(kMostBendSteps)));
    }
};

// Everything the figure draws, carried through the map.
class BentTarget final : public DrawTarget {
public:
    BentTarget(const BendMap& map, DrawTarget& out) : map_(map), out_(out) {}

    void EmitLine(Point a, Point b) override {
        if (map_.RigidOver(a.x, b.x)) return out_.EmitLine(Map(a), Map(b));
        if (a.y == b.y && !map_.Sheared()) return Level(a, b);
        const Point d = b - a;
        Chords([&](double t) { return a + t * d; }, Norm(d), 0, a.y, b.y, a.x, b.x);
    }

    void EmitArc(Point centre, double r, double startDeg, double endDeg, double flatness,
                 double tiltDeg) override {
        const double a = r * std::max(1.0, std::fabs(flatness));
        if (const ElementFrame* f = map_.RigidOver(centre.x - a, centre.x + a))
            return out_.EmitArc(Map(centre), r, NormalisedDeg(startDeg + f->thetaDeg),
                                NormalisedDeg(endDeg + f->thetaDeg), flatness,
                                tiltDeg + f->thetaDeg);
        const double from = Radians(startDeg), sweep = Radians(SweepDeg(startDeg, endDeg));
        const double tilt = Radians(tiltDeg);
        auto at = [&](double t) {
            return EllipsePoint(centre.x, centre.y, r, flatness, tilt, from + t * sweep);
        };
        Chords(at, a * sweep, a * sweep * sweep, centre.y - a, centre.y + a, centre.x, centre.x);
    }

    void EmitSolidTriangle(Point a, Point b, Point c) override { Solid({a, b, c}); }
    void EmitSolidQuad(Point a, Point b, Point c, Point d) override { Solid({a, b, c, d}); }

    // A filled ellipse, or a part of it closed by its chord, is bent as the
    // polygon of its outline; one that a line element carries whole stays
    // an ellipse. angle2 is the sweep from angle1.
    void EmitSolidArc(std::int32_t code, Point centre, double r, double flatness, double tilt,
                      double angle1, double angle2) override {
        const bool outlined = code == kFullEllipseCode || code == kHalfEllipseCode;
        const Ellipse e{centre, r, flatness, tilt};
        if (!outlined || map_.RigidOver(centre.x - e.Reach(), centre.x + e.Reach())) {
            const Turn t = TurnAt(centre);
            return out_.EmitSolidArc(code, t.at, r, flatness, tilt + t.rad, angle1, angle2);
        }
        const bool whole = code == kFullEllipseCode;
        const double from = whole ? 0 : angle1, sweep = whole ? kTwoPi : angle2;
        const int n = e.Sides(sweep);
        Polygon outline;
        for (int i = 0; i < n + (whole ? 0 : 1); ++i) outline.push_back(e.At(from + sweep * i / n));
        Solid(outline);
    }
    // A filled ring, likewise, as the four-cornered pieces between its two
    // outlines.
    void EmitSolidRing(Point centre, double rOuter, double flatness, double tilt, double angle1,
                       double angle2, double rInner) override {
        const Ellipse outer{centre, rOuter, flatness, tilt};
        if (map_.RigidOver(centre.x - outer.Reach(), centre.x + outer.Reach())) {
            const Turn t = TurnAt(centre);
            return out_.EmitSolidRing(t.at, rOuter, flatness, tilt + t.rad, angle1, angle2, rInner);
        }
        const Ellipse inner{centre, rInner, flatness, tilt};
        const int n = outer.Sides(angle2);
        std::vector<Polygon> quads;
        std::vector<int> strips;
        std::int64_t pieces = 0;
        for (int i = 0; i < n; ++i) {
            const double t0 = angle1 + angle2 * i / n, t1 = angle1 + angle2 * (i + 1) / n;
            quads.push_back({outer.At(t0), outer.At(t1), inner.At(t1), inner.At(t0)});
            strips.push_back(StripsOf(quads.back()));
            pieces += 2 * strips.back();
        }
        // The ring writes no more solids than one element may: where a large
        // ring on a tight curve would need more, its strips widen.
        const double share = std::min(
            1.0, static_cast<double>(kMostBendPiecesPerElement) / static_cast<double>(pieces));
        for (std::size_t i = 0; i < quads.size(); ++i)
            Solid(quads[i], std::max(1, static_cast<int>(strips[i] * share)));
    }
    void WriteSolidColor(std::int32_t rgb) override { out_.WriteSolidColor(rgb); }
    void WriteLineColor(std::int32_t color, std::int32_t mode) override {
        out_.WriteLineColor(color, mode);
    }
    void BeginPart(RowPart part) override { out_.BeginPart(part); }

private:
    Point Map(Point uv) const { return map_.At(uv.x, uv.y); }

    // Where a point of the cell lands and how far the path has turned there.
    struct Turn {
        Point at;
        double rad;
    };
    Turn TurnAt(Point uv) const {
        const Point along = Map({uv.x + kBendTolerance, uv.y}) - Map({uv.x - kBendTolerance, uv.y});
        return {Map(uv), VectorAngle(along.x, along.y)};
    }

    // A line of constant height: a line on each line element it passes, a
    // concentric arc on each arc.
    void Level(Point a, Point b) {
        std::vector<double> cuts = map_.JointsBetween(a.x, b.x);
        if (cuts.size() >= kMostBendSteps) {
            const Point d = b - a;
            return Chords([&](double t) { return a + t * d; }, Norm(d), 0, a.y, a.y, a.x, b.x);
        }
        cuts.insert(cuts.begin(), a.x);
        cuts.push_back(b.x);
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            const Point p0{cuts[k], a.y}, p1{cuts[k + 1], a.y};
            const std::size_t i = map_.ElementOf((p0.x + p1.x) / 2);
            const ElementFrame& f = map_.Frame(i);
            const double r = f.RadiusAt(a.y);
            if (f.IsLine() || !(r > 0)) {
                out_.EmitLine(Map(p0), Map(p1));
                continue;
            }
            guide::EmitGuideArc(f.e->centre, r, f.AngleAt(map_.Local(i, p0.x)),
                                f.AngleAt(map_.Local(i, p1.x)), out_);
        }
    }

    // A curve of the cell at(t), t in [0, 1], as chords: cut where it passes
    // a joint (when its u runs straight from u0 to u1) and in steps the
    // tolerance asks for.
    template <class At>
    void Chords(const At& at, double speed, double accel, double v0, double v1, double u0,
                double u1) {
        const int n = map_.Steps(speed, accel, std::min(v0, v1), std::max(v0, v1));
        std::vector<double> ts;
        for (int i = 0; i <= n; ++i) ts.push_back(static_cast<double>(i) / n);
        if (u0 != u1)
            for (double u : map_.JointsBetween(u0, u1))
                if (ts.size() < static_cast<std::size_t>(kMostBendSteps) + 1)
                    ts.push_back((u - u0) / (u1 - u0));
        std::sort(ts.begin(), ts.end());
        Point from = Map(at(0.0));
        for (std::size_t i = 1; i < ts.size(); ++i) {
            if (ts[i] == ts[i - 1]) continue;
            const Point to = Map(at(ts[i]));
            out_.EmitLine(from, to);
            from = to;
        }
    }

    struct Extent {
        double ulo, uhi, vlo, vhi;
    };
    static Extent ExtentOf(const Polygon& corners) {
        Extent e{corners[0].x, corners[0].x, corners[0].y, corners[0].y};
        for (Point p : corners) {
            e.ulo = std::min(e.ulo, p.x), e.uhi = std::max(e.uhi, p.x);
            e.vlo = std::min(e.vlo, p.y), e.vhi = std::max(e.vhi, p.y);
        }
        return e;
    }
    int StripsOf(const Polygon& corners) const {
        const Extent e = ExtentOf(corners);
        return map_.Strips(e.ulo, e.uhi, e.vlo, e.vhi);
    }

    // A solid cut across the path into strips (at most `most`), each written
    // as one or two solids.
    void Solid(const Polygon& corners, int most = kMostBendSteps) {
        const auto [ulo, uhi, vlo, vhi] = ExtentOf(corners);
        if (map_.RigidOver(ulo, uhi)) return Piece(corners);
        const int n = std::min(map_.Strips(ulo, uhi, vlo, vhi), most);
        std::vector<double> cuts;
        for (int i = 0; i <= n; ++i) cuts.push_back(ulo + (uhi - ulo) * i / n);
        for (double u : map_.JointsBetween(ulo, uhi))
            if (cuts.size() < static_cast<std::size_t>(kMostBendSteps) + 1) cuts.push_back(u);
        std::sort(cuts.begin(), cuts.end());
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i)
            if (cuts[i + 1] > cuts[i]) Piece(ClipU(corners, cuts[i], cuts[i + 1]));
    }

    // A convex piece as solids of three or four corners, fanned from its first.
    void Piece(const Polygon& p) {
        if (p.size() < 3) return;
        std::vector<Point> m;
        for (Point c : p) m.push_back(Map(c));
        std::size_t k = 1;
        for (; k + 3 <= m.size(); k += 2) out_.EmitSolidQuad(m[0], m[k], m[k + 1], m[k + 2]);
        if (k + 2 == m.size()) out_.EmitSolidTriangle(m[0], m[k], m[k + 1]);
    }

    const BendMap& map_;
    DrawTarget& out_;
};

// The cell a figure is drawn in before it is bent: its own coordinates.
FigureCell UnitCell(double w, double h) {
    return {{0, 0}, {1, 0}, {0, 1}, w, h, {w / 2, h / 2}, 0, 0};
}

bool Bends(const PatternRow& row) {
    return row.bend == kBendAlong && row.orientation != kOrientUpright;
}

}  // namespace

void Context::Draw(std::int32_t kind, const FigureCell& cell, DrawTarget& out,
                   const BendTrack& track, double start) const {
    if (!Bends(in.row)) return Draw(kind, cell, out);
    const BendMap map(track, {start, cell.W}, off);
    if (map.RigidOver(0, cell.W)) return Draw(kind, cell, out);
    out.BeginPart(RowPart::Figures);
    BentTarget bent(map, out);
    DrawShape(kind, UnitCell(cell.W, cell.H), bent);
    out.WriteLineColor(in.lineColor, 0);
}

std::int64_t BendWeight(const PatternRow& row, const ElementPath& path) {
    if (!Bends(row)) return 1;
    const auto& els = path.elements;
    for (std::size_t k = 0; k < els.size(); ++k) {
        const bool joined = k > 0 || path.closed;
        const PathElement& before = els[(k + els.size() - 1) % els.size()];
        if (els[k].shape == PathElement::Shape::Arc ||
            (joined && els.size() > 1 && !IsSharpJoint(before, els[k])))
            return kMostBendPiecesPerElement;
    }
    return 1;
}

BendTrack RunView::Track() const { return {frames_, start_, length_}; }

}  // namespace tesra::layout
