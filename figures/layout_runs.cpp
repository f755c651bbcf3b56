// The arrangements that follow a path's runs rather than its elements.
//
// 通し: every run is one span measured by arc length. Figure i of a run starts
// at e + s0 + (widths before it) + i·g, all computed from the run's start, so
// the pitch along the path is the same on every element of the run. Where a
// run meets a sharp corner its usable length is drawn back until no box of it
// crosses the corner's bisector inside the band: on a line by the exact
// amount, max(0, v·tan(τ/2)) over the band's lowest and highest heights v
// (τ the signed turn, so inner corners need more room than outer ones), next
// to an arc by halving towards the least amount that keeps the first box
// clear. Boxes on either side of the bisector cannot overlap. A closed run
// has no ends: n = ⌊L / (W + I)⌋ figures spread evenly, the path's start in
// the middle of a gap.
//
// 角に合わせる: a figure centred on every sharp corner, on the bisector at the
// middle of the band and turned to it, and one inside each end of an open
// path, its outer edge on the end. Between two of them stand m − 1 figures at the pitch L / m,
// m = ⌈L / (W + I)⌉, the largest pitch not above W + I. Where that would put
// the first or last of them on a corner figure's box or across the corner's
// bisector, the run is shortened at that end to the least distance that keeps
// them clear (more at inner corners, where the band's inner edges converge),
// and the figures are spread evenly over what is left at the smallest pitch
// not below W + I, so that they stay clear of each other too; where not even
// that fits, one figure stands in the middle.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "figures/bend.h"
#include "figures/layout_internal.h"
#include "figures/mitre.h"
#include "geom/helpers.h"
#include "geom/pitch.h"
#include "geom/trig.h"

namespace tesra::layout {
namespace {

using guide::GuideCurve;

// Steeper turns than this (nearly doubling back) are treated as this one: the
// shortening stays finite and simply takes the whole run.
constexpr double kMaxTurnTangent = 1e6;
// Halving steps when a corner's clearance is searched for.
constexpr int kClearanceSteps = 60;

// Whether element e carries figures: it has a length, and it is not a fillet
// so small that the band's offset of it vanishes somewhere in the band.
bool Carries(const Context& c, const PathElement& e) {
    if (IsDegenerate(e)) return false;
    if (e.shape == PathElement::Shape::Line || IsFullCircle(e)) return true;
    const double sigma = e.sweepRad < 0 ? -1.0 : 1.0;
    const double low = -c.off, high = c.sequence.MaxHeight() - c.off;
    return e.radius > std::max(sigma * low, sigma * high);
}

// The path cut into runs as the layout sees it: at sharp joints, and where a
// vanishing fillet stands between two carrying elements. Elements that carry
// nothing stay with the run before them.
std::vector<PathRun> LayoutRuns(const Context& c, const ElementPath& path) {
    const auto& els = path.elements;
    const std::size_t n = els.size();
    std::vector<char> sharp(n, 0);
    std::size_t last = n, firstCarrying = n;
    bool passedFillet = false, leadingFillet = false;
    for (std::size_t k = 0; k < n; ++k) {
        if (!Carries(c, els[k])) {
            passedFillet = passedFillet || !IsDegenerate(els[k]);
            continue;
        }
        if (firstCarrying == n) {
            firstCarrying = k;
            leadingFillet = passedFillet;
        }
        if (last != n) sharp[k] = passedFillet || IsSharpJoint(els[last], els[k]);
        last = k;
        passedFillet = false;
    }
    if (firstCarrying == n) return RunsOf(path);
    if (path.closed && last != firstCarrying)
        sharp[firstCarrying] =
            passedFillet || leadingFillet || IsSharpJoint(els[last], els[firstCarrying]);
    return RunsAt(sharp, path.closed);
}

// The run as the layout sees it: a vanishing fillet is the corner after the
// run, with no station on it.
RunView ViewOf(const Context& c, const ElementPath& path, const PathRun& run) {
    return RunView(path, run, c.off, [&c](const PathElement& e) { return Carries(c, e); });
}

// Where the guide at height v of two lines meeting at a smooth joint of a run
// crosses over: the same point for the piece that ends there and the piece
// that starts there, found without measuring an angle.
Point SmoothJoint(const ElementFrame& before, const ElementFrame& after, double v) {
    const double d = v - after.off;
    const double k = d / (1 + Dot(before.eu, after.eu));
    return after.e->a + k * (before.ev + after.ev);
}

// The line before element i of the run, if the guide passes a smooth joint
// between two lines there.
const ElementFrame* LineBefore(const RunView& run, std::size_t i) {
    if (i == 0 || !run.Frame(i).IsLine()) return nullptr;
    const ElementFrame& before = run.Frame(i - 1);
    return before.IsLine() && !IsDegenerate(*before.e) ? &before : nullptr;
}

// One piece of a gap guide on element i, from s1 to s2; a missing station is
// the element's end there.
void GapPiece(const Context& c, const RunView& run, std::size_t i, std::size_t guide, double v,
              std::optional<double> s1, std::optional<double> s2, DrawTarget& out) {
    const ElementFrame& f = run.Frame(i);
    if (s1 && s2) return EmitGuideBetween(f, v, *s1, *s2, out);
    const ElementFrame* before = s1 ? nullptr : LineBefore(run, i);
    const ElementFrame* after = s2 || i + 1 == run.Size() ? nullptr : LineBefore(run, i + 1);
    if ((s1 || before) && (s2 || after)) {
        const Point from = s1 ? f.At(*s1, v) : SmoothJoint(*before, f, v);
        const Point to = s2 ? f.At(*s2, v) : SmoothJoint(f, run.Frame(i + 1), v);
        return out.EmitLine(from, to);
    }
    EmitGuidePiece(f, run.Trimmed(c, i, guide, v), v, s1, s2, out);
}

// The guides set to "間隔" from station a to station b of the run; a side
// given as nullopt is the run's own end there, met with the next run's.
void GapAlong(const Context& c, const RunView& run, std::optional<double> a,
              std::optional<double> b, DrawTarget& out, std::size_t hint = 0) {
    if (run.Size() == 0 || !c.hasGapGuides) return;
    const std::size_t first = a ? run.Locate(*a, hint) : 0;
    const std::size_t last = b ? run.Locate(*b, first) : run.Size() - 1;
    if (a && b && first == last) {  // the common case: a gap within one element
        const double start = run.StartOf(first);
        for (const Guide& g : c.guides)
            if (c.DrawsGap(g)) {
                out.BeginPart(g.part);
                EmitGuideBetween(run.Frame(first), g.v, *a - start, *b - start, out);
            }
        return;
    }
    for (std::size_t k = 0; k < c.guides.size(); ++k) {
        const Guide& g = c.guides[k];
        if (!c.DrawsGap(g)) continue;
        out.BeginPart(g.part);
        for (std::size_t i = first; i <= last; ++i) {
            if (IsDegenerate(*run.Frame(i).e)) continue;
            std::optional<double> s1, s2;
            if (i == first && a) s1 = *a - run.StartOf(i);
            if (i == last && b) s2 = *b - run.StartOf(i);
            // Inside the run, a piece reaching an element's end meets the next one.
            GapPiece(c, run, i, k, g.v, s1, s2, out);
        }
    }
}

struct Corner {
    Point vertex;
    Point t0, t1;  // tangents before and after
    double turn = 0;
    bool atJoint = true;  // the vertex is the point the elements share
    Point across = {};    // across the bisector, towards the run after the corner
};

// Where the lines on either side of a vanishing fillet would meet; the
// middle of the fillet's ends where they are parallel or meet too far away.
Point TangentsMeet(Point a, Point t0, Point b, Point t1) {
    const Point middle = 0.5 * (a + b);
    const auto meet = LineIntersection(a, a + t0, b, b + t1);
    if (!meet || Distance(meet->at, middle) > kMitreLimit * Distance(a, b)) return middle;
    return meet->at;
}

// The sharp corner before the run starting at element `first`, past elements
// that carry nothing.
std::optional<Corner> CornerBefore(const Context& c, const ElementPath& path, std::size_t first) {
    const std::size_t n = path.elements.size();
    if (!path.closed && first == 0) return std::nullopt;
    bool passedFillet = false;
    for (std::size_t back = 1; back < n; ++back) {
        const PathElement& before = path.elements[(first + n - back) % n];
        if (!Carries(c, before)) {
            passedFillet = passedFillet || !IsDegenerate(before);
            continue;
        }
        const PathElement& after = path.elements[first % n];
        Corner k{after.a, EndTangent(before), StartTangent(after), TurnAngle(before, after)};
        // Worked out once: the clearance searches ask for it at every step.
        k.across = AcrossBisector(k.t0, k.t1, k.turn);
        if (passedFillet) {
            k.vertex = TangentsMeet(before.b, k.t0, after.a, k.t1);
            k.atJoint = false;
        }
        return k;
    }
    return std::nullopt;
}

std::optional<Corner> CornerBefore(const Context& c, const ElementPath& path, const PathRun& run) {
    return CornerBefore(c, path, run.first);
}

std::optional<Corner> CornerAfter(const Context& c, const ElementPath& path, const PathRun& run) {
    const std::size_t n = path.elements.size();
    if (!path.closed && run.first + run.count >= n) return std::nullopt;
    return CornerBefore(c, path, (run.first + run.count) % n);
}

// The least distance d in [0, length] at which clear(d) holds, clear being
// false up to some distance and true beyond it: doubled from `guess` until
// clear, then halved to within rounding.
template <class Clear>
double LeastClear(const Clear& clear, double guess, double length) {
    if (clear(0)) return 0;
    double lo = 0, hi = guess;
    while (!clear(hi) && hi < length) hi = std::min(2 * hi, length);
    for (int step = 0; step < kClearanceSteps; ++step) {
        const double mid = (lo + hi) / 2;
        if (mid == lo || mid == hi) break;  // no double left between them
        (clear(mid) ? hi : lo) = mid;
    }
    return hi;
}

// The band's lowest and highest heights relative to the path.
struct BandSpan {
    double low, high;
};
BandSpan BandOf(const Context& c) { return {-c.off, c.sequence.MaxHeight() - c.off}; }

// On the run's side of the bisector: ahead of it (the run starting at the
// corner) or behind it (the run ending there), by more than rounding.
bool OnSide(const Corner& k, const FigureCell& cell, bool ahead) {
    const Point d = k.across;
    const double slack = kRoundingShare * std::max({1.0, cell.W, cell.H});
    for (Point uv : {Point{0, 0}, Point{1, 0}, Point{0, 1}, Point{1, 1}}) {
        const double along = Dot(cell.At(uv.x * cell.W, uv.y * cell.H) - k.vertex, d);
        if (ahead ? along < slack : along > -slack) return false;
    }
    return true;
}

// The least length by which a run's end must be drawn back from a sharp corner.
double Shortening(const Context& c, const RunView& run, const Corner& k, bool atStart) {
    const BandSpan band = BandOf(c);
    const std::size_t i = atStart ? 0 : run.Size() - 1;
    const double t = std::clamp(std::tan(k.turn / 2), -kMaxTurnTangent, kMaxTurnTangent);
    const double exact = std::max({0.0, band.low * t, band.high * t});
    const bool upright = c.in.row.orientation == kOrientUpright;
    const double w = c.sequence.MaxWidth(), h = c.sequence.MaxHeight();
    const ElementFrame& f = run.Frame(i);
    if (f.IsLine() && k.atJoint && !upright && exact + w <= f.length)
        return std::min(exact, run.Length());
    // Next to an arc the box turns with it, an upright box does not turn with
    // the path, a box reaching past the side's first joint turns there, and
    // past a fillet the vertex is off the run: search for the least clear place.
    std::size_t hint = 0;
    auto clear = [&](double e) {
        const double middle = atStart ? e + w / 2 : run.Length() - e - w / 2;
        return OnSide(k, c.Oriented(run.CellAt(middle, w, h, hint)), atStart);
    };
    return LeastClear(clear, std::max(exact, w), run.Length());
}

struct Box {
    Point c, u, v;  // centre and unit axes
    double hw, hh;  // half sizes
};

// One run laid out as 通し: where its figures stand.
struct ThroughPlan {
    bool closed = false;
    double from = 0;  // usable part of the run: [from, from + length]
    double length = 0;
    std::optional<std::int32_t> count;
    Spacing spacing;
};

// Where figure i of the plan starts along the run.
double ThroughStart(const Context& c, const ThroughPlan& p, std::int64_t phase, std::int32_t i) {
    const double lead = p.closed ? p.spacing.g / 2 : p.from + p.spacing.s0;
    return lead + c.sequence.WidthOf(phase, i) + static_cast<double>(i) * p.spacing.g;
}

// The plan's figures spread as n of them.
ThroughPlan WithCount(const Context& c, ThroughPlan p, std::int32_t n, std::int64_t phase) {
    p.count = n;
    p.spacing = {};
    if (n <= 0) return p;
    if (p.closed)
        p.spacing.g = (p.length - c.sequence.WidthOf(phase, n)) / n;
    else
        p.spacing = SequenceSpacing(c, p.length, n, phase);
    return p;
}

Box BoxOf(const FigureCell& cell) { return {cell.C, cell.eu, cell.ev, cell.W / 2, cell.H / 2}; }

// Whether two boxes overlap, by separating axes, their extents widened by
// `rounding` shares of rounding (negative: narrowed).
bool OverlapWithin(const Box& a, const Box& b, double rounding) {
    const Point d = b.c - a.c;
    const double slack = rounding * kRoundingShare * std::max({1.0, a.hw, a.hh, b.hw, b.hh});
    for (Point axis : {a.u, a.v, b.u, b.v}) {
        const double ra = a.hw * std::fabs(Dot(a.u, axis)) + a.hh * std::fabs(Dot(a.v, axis));
        const double rb = b.hw * std::fabs(Dot(b.u, axis)) + b.hh * std::fabs(Dot(b.v, axis));
        if (std::fabs(Dot(d, axis)) >= ra + rb + slack) return false;
    }
    return true;
}

// Whether two boxes overlap by more than rounding: touching is not overlapping.
bool OverlapBeyondTouch(const Box& a, const Box& b) { return OverlapWithin(a, b, -1); }

// Whether no two figures on either side of a joint of the run overlap, the
// figures' middles at these stations in order, from sequence position
// `phase` on. Only figures whose middles lie within a reach of the joint can:
// a box's diagonal on each side, and the band's height, by which their middles
// may converge where the path turns towards them.
bool ClearAtJoints(const Context& c, const RunView& run, const std::vector<double>& middles,
                   std::int64_t phase) {
    const double w = c.sequence.MaxWidth(), h = c.sequence.MaxHeight();
    const BandSpan band = BandOf(c);
    const double reach = std::hypot(w, h) + std::max(std::fabs(band.low), std::fabs(band.high));
    // Boxes whose middles are farther apart than their diagonals cannot meet.
    const double diagonal2 = w * w + h * h;
    std::size_t hint = 0;
    std::vector<Box> before, after;
    auto boxes = [&](auto from, auto to, std::vector<Box>& out) {
        out.clear();
        for (auto at = from; at != to; ++at) {
            const SequenceFigure fig = c.sequence.At(phase + (at - middles.begin()));
            out.push_back(BoxOf(c.Oriented(run.CellAt(*at, fig.w, fig.h, hint))));
        }
    };
    auto first = middles.begin(), split = middles.begin();
    for (std::size_t j = 1; j < run.Size(); ++j) {
        // Where a line meets its tangent arc the path does not turn: what
        // boxes do there is what they do all along a curve, which bending
        // answers; clearing them would strip a whole run for one fillet.
        if (std::fabs(TurnAngle(*run.Frame(j - 1).e, *run.Frame(j).e)) <= kSmoothTurnSlackRad)
            continue;
        const double joint = run.StartOf(j);
        while (first != middles.end() && *first < joint - reach) ++first;
        split = std::max(split, first);
        while (split != middles.end() && *split < joint) ++split;
        auto last = split;
        while (last != middles.end() && *last <= joint + reach) ++last;
        if (first == split || split == last) continue;
        boxes(first, split, before);
        boxes(split, last, after);
        for (const Box& a : before)
            for (const Box& b : after) {
                const Point d = b.c - a.c;
                if (Dot(d, d) < diagonal2 && OverlapBeyondTouch(a, b)) return false;
            }
    }
    return true;
}

// Boxes meet on a straight side already where their interval is negative, or
// where upright boxes stand closer than their diagonal: a joint adds nothing.
bool OverlapOfTheirOwn(const Context& c, double pitch) {
    const double w = c.sequence.MaxWidth(), h = c.sequence.MaxHeight();
    const double least = c.in.row.orientation == kOrientUpright ? std::hypot(w, h) : w;
    return !(c.in.row.interval >= 0) || pitch < least;
}

std::vector<double> ThroughMiddles(const Context& c, const ThroughPlan& p, std::int64_t phase) {
    const std::int32_t n = p.count ? std::max(*p.count, 0) : 0;
    std::vector<double> middles(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i)
        middles[static_cast<std::size_t>(i)] =
            ThroughStart(c, p, phase, i) + c.sequence.At(phase + i).w / 2;
    return middles;
}

// The most of n figures, as spread by `spread`, whose boxes stand clear at
// the run's joints, found by halving; one figure always stands clear.
template <class Spread, class Middles>
std::int64_t MostClear(const Context& c, const RunView& run, std::int64_t n, std::int64_t phase,
                       const Spread& spread, const Middles& middles) {
    auto clear = [&](std::int64_t k) { return ClearAtJoints(c, run, middles(spread(k)), phase); };
    if (clear(n)) return n;
    std::int64_t fits = 1, overlaps = n;
    while (overlaps - fits > 1) {
        const std::int64_t mid = fits + (overlaps - fits) / 2;
        (clear(mid) ? fits : overlaps) = mid;
    }
    return fits;
}

// Tall figures where the path turns towards them at a smooth joint would
// overlap at the pitch of a straight run: the run then takes the most
// figures whose boxes stand clear there.
ThroughPlan ClearedAtJoints(const Context& c, const RunView& run, const ThroughPlan& p,
                            std::int64_t phase) {
    if (run.Size() < 2 || !p.count || *p.count < 2) return p;
    if (OverlapOfTheirOwn(c, c.sequence.MaxWidth() + c.in.row.interval)) return p;
    auto spread = [&](std::int64_t n) {
        return WithCount(c, p, static_cast<std::int32_t>(n), phase);
    };
    auto middles = [&](const ThroughPlan& q) { return ThroughMiddles(c, q, phase); };
    return spread(MostClear(c, run, *p.count, phase, spread, middles));
}

ThroughPlan PlanThrough(const Context& c, const ElementPath& path, const RunView& run,
                        std::int64_t phase) {
    ThroughPlan p;
    const double interval = c.in.row.interval;
    if (run.Run().closed) {
        p.closed = true;
        p.length = run.Length();
        p.count = c.sequence.CountFitting(p.length - interval, interval, phase);
        if (p.count && *p.count > 0) p = WithCount(c, p, *p.count, phase);
        return ClearedAtJoints(c, run, p, phase);
    }
    const auto before = CornerBefore(c, path, run.Run());
    const auto after = CornerAfter(c, path, run.Run());
    const double es = before ? Shortening(c, run, *before, true) : 0;
    const double ee = after ? Shortening(c, run, *after, false) : 0;
    p.from = es;
    p.length = std::max(0.0, run.Length() - es - ee);
    p.count = c.sequence.CountFitting(p.length, interval, phase);
    if (p.count && *p.count > 0) p = WithCount(c, p, *p.count, phase);
    return ClearedAtJoints(c, run, p, phase);
}

std::int64_t CountOf(const Context& c, const ThroughPlan& p) {
    return CountOrTooMany(p.count, p.length, c);
}

// Figures and gap lines of one run as planned.
void DrawThrough(const Context& c, const RunView& run, const ThroughPlan& p, std::int64_t phase,
                 DrawTarget& out) {
    const std::int32_t n = p.count ? std::max(*p.count, 0) : 0;
    const double lead = p.closed ? p.spacing.g / 2 : p.from + p.spacing.s0;
    auto startOf = [&](std::int32_t i) { return ThroughStart(c, p, phase, i); };
    if (!p.closed && n > 0 && !SameValue(lead, 0)) GapAlong(c, run, std::nullopt, lead, out);
    if (p.closed && n > 0) GapAlong(c, run, std::nullopt, lead, out);
    std::size_t hint = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const SequenceFigure fig = c.sequence.At(phase + i);
        const double s = startOf(i);
        c.Draw(fig.kind, run.CellAt(s + fig.w / 2, fig.w, fig.h, hint), out, run.Track(), s);
        const bool more = i + 1 < n;
        if (more && !SameValue(p.spacing.g, 0))
            GapAlong(c, run, s + fig.w, startOf(i + 1), out, hint);
        if (!more) {
            const double end = s + fig.w;
            if (p.closed || !SameValue(run.Length() - end, 0))
                GapAlong(c, run, end, std::nullopt, out);
        }
    }
    if (n == 0 && !p.closed) GapAlong(c, run, std::nullopt, std::nullopt, out);
}

// 角に合わせる -----------------------------------------------------------------

// Whether two boxes overlap. Rounding counts as overlap, so that a clearance
// found by halving stays clear when the boxes are drawn.
bool Overlap(const Box& a, const Box& b) { return OverlapWithin(a, b, 1); }

FigureCell CellAlong(Point centre, Point eu, double w, double h) {
    return CellTurned(centre, VectorAngle(eu.x, eu.y), w, h);
}

// The corner figure: its middle where the band's middle lines of both sides
// meet, turned to the bisector. Where the sides nearly double back that
// meeting runs off as the guide lines' does, and is capped as theirs is: the
// middle then stands on the arriving side's middle line at the vertex.
FigureCell CornerCell(const Context& c, const Corner& k, double w, double h) {
    const double hc = h / 2 - c.off;
    const Point n0 = LeftNormal(k.t0), n1 = LeftNormal(k.t1);
    const double denom = 1 + Dot(n0, n1);
    Point shift = denom > kRoundingShare ? (hc / denom) * (n0 + n1) : hc * n0;
    if (Norm(shift) > kMitreLimit * std::fabs(hc)) shift = hc * n0;
    return CellAlong(k.vertex + shift, k.across, w, h);
}

// The least distance from a run's end at which a figure's middle stands clear
// of the figure there, and of the corner's bisector, beyond which the figures
// of the other side stand; boxes as drawn.
double Clearance(const Context& c, const RunView& run, const Box& end,
                 const std::optional<Corner>& corner, bool atStart) {
    const double w = c.sequence.MaxWidth(), h = c.sequence.MaxHeight();
    std::size_t hint = 0;
    const double length = run.Length();
    auto clear = [&](double d) {
        const double middle = atStart ? d : length - d;
        const FigureCell cell = c.Oriented(run.CellAt(middle, w, h, hint));
        return (!corner || OnSide(*corner, cell, atStart)) && !Overlap(end, BoxOf(cell));
    };
    return LeastClear(clear, std::min(length, std::max(w, h) * 2), length);
}

// The middles of the figures between a run's two end figures.
struct Between {
    double a = 0;  // first middle
    double pitch = 0;
    std::int64_t n = 0;  // how many
};

// m intervals of the largest pitch not above `most` over `length`.
std::int64_t Intervals(double length, double most) {
    if (!(most > 0) || !(length > 0)) return 0;
    const double m = IntervalsNotAbove(length, most);
    if (!std::isfinite(m) || m > std::numeric_limits<std::int32_t>::max()) return -1;
    return static_cast<std::int64_t>(m);
}

// Between middles at `from` and `to`, the nearest clear middles being ds past
// from and de before to.
Between PlanBetween(double from, double to, double most, double ds, double de) {
    constexpr std::int64_t kTooMany = std::numeric_limits<std::int32_t>::max();
    const double length = to - from;
    const std::int64_t m = Intervals(length, most);
    if (m < 0) return {0, 0, kTooMany};
    if (m >= 1) {
        const double pitch = length / static_cast<double>(m);
        if (m == 1 || (pitch >= ds && pitch >= de)) return {from + pitch, pitch, m - 1};
    }
    // Shortened: as many as fit at a pitch of at least W + I, or one in the middle.
    const double a = from + ds, b = to - de;
    if (!(b >= a)) return {};
    const double fit = std::floor((b - a) / most * (1 + kWholeShare));
    if (!std::isfinite(fit) || fit > kTooMany) return {0, 0, kTooMany};
    if (fit < 1) return {(a + b) / 2, 0, 1};
    const auto k = static_cast<std::int64_t>(fit);
    return {a, (b - a) / static_cast<double>(k), k + 1};
}

// One run laid out as 角に合わせる: the figure at its start (a corner, or the
// path's start), the figures between, and the one at the path's end.
struct CornerRun {
    std::optional<Corner> start;  // the corner the run starts at, if any
    double startMiddle = 0;       // else the start figure's middle
    bool hasEnd = false;          // a figure inside the path's end
    Between between;
    std::int64_t Count() const { return between.n + 1 + (hasEnd ? 1 : 0); }
};

// The figures between a run's ends spread evenly over fewer where tall ones
// would overlap at a smooth joint, the first and last staying where they are.
Between ClearedAtJoints(const Context& c, const RunView& run, const Between& b,
                        std::int64_t phase) {
    constexpr std::int64_t kTooMany = std::numeric_limits<std::int32_t>::max();
    if (run.Size() < 2 || b.n < 2 || b.n >= kTooMany || OverlapOfTheirOwn(c, b.pitch)) return b;
    const double last = b.a + static_cast<double>(b.n - 1) * b.pitch;
    auto spread = [&](std::int64_t k) {
        if (k == 1) return Between{(b.a + last) / 2, 0, 1};
        return Between{b.a, (last - b.a) / static_cast<double>(k - 1), k};
    };
    auto middles = [](const Between& q) {
        std::vector<double> at(static_cast<std::size_t>(q.n));
        for (std::int64_t i = 0; i < q.n; ++i)
            at[static_cast<std::size_t>(i)] = q.a + static_cast<double>(i) * q.pitch;
        return at;
    };
    return spread(MostClear(c, run, b.n, phase, spread, middles));
}

CornerRun PlanCorners(const Context& c, const ElementPath& path, const RunView& run,
                      std::int64_t phase) {
    const double w = c.sequence.MaxWidth(), h = c.sequence.MaxHeight();
    const double length = run.Length();
    CornerRun p;
    p.start = CornerBefore(c, path, run.Run());
    const auto after = CornerAfter(c, path, run.Run());
    std::size_t hint = 0;
    auto boxAt = [&](double middle) { return BoxOf(c.Oriented(run.CellAt(middle, w, h, hint))); };
    const Box startBox = p.start ? BoxOf(c.Oriented(CornerCell(c, *p.start, w, h))) : boxAt(w / 2);
    const double from = p.start ? 0 : w / 2;
    p.startMiddle = from;
    double to = length;
    std::optional<Box> endBox;
    if (after) {
        endBox = BoxOf(c.Oriented(CornerCell(c, *after, w, h)));
    } else {
        // An open end: a figure inside it, unless it would stand on the
        // start figure; a run too short for two holds one, in its middle.
        to = length - w / 2;
        p.hasEnd = !Overlap(startBox, boxAt(to)) && to > from;
        if (!p.hasEnd) {
            if (!p.start) p.startMiddle = length / 2;
            return p;
        }
        endBox = boxAt(to);
    }
    const double ds = Clearance(c, run, startBox, p.start, true) - from;
    const double de = Clearance(c, run, *endBox, after, false) - (length - to);
    p.between =
        ClearedAtJoints(c, run, PlanBetween(from, to, w + c.in.row.interval, ds, de), phase + 1);
    // Past a smooth joint a figure may come nearer an end figure again than
    // at the least clear distance: such a figure is left out.
    auto meetsEnd = [&](double middle) {
        const Box box = boxAt(middle);
        return Overlap(startBox, box) || Overlap(*endBox, box);
    };
    Between& b = p.between;
    if (b.n >= std::numeric_limits<std::int32_t>::max()) return p;
    while (b.n > 0 && meetsEnd(b.a)) b.a += b.pitch, --b.n;
    while (b.n > 0 && meetsEnd(b.a + static_cast<double>(b.n - 1) * b.pitch)) --b.n;
    return p;
}

// The middle of the figure at an open start: inside the end, or in the
// middle of a run too short for more.
double OpenStartMiddle(const RunView& run, const CornerRun& p, const SequenceFigure& fig) {
    return p.hasEnd || p.between.n > 0 ? fig.w / 2 : run.Length() / 2;
}

void GapBetween(const Context& c, const RunView& run, std::optional<double> from,
                std::optional<double> to, DrawTarget& out) {
    if (from && to && !(*to > *from && !SameValue(*to, *from))) return;
    GapAlong(c, run, from, to, out);
}

// Figures of the run as planned, from sequence position `phase` on, each of
// its own size: a corner figure's middle where its own band's middle lines
// meet, an end figure's outer edge on the end. Gap lines reaching a corner
// run to its bisector, where they meet the next run's.
void DrawCorners(const Context& c, const RunView& run, const CornerRun& p, std::int64_t phase,
                 DrawTarget& out) {
    std::size_t hint = 0;
    const SequenceFigure first = c.sequence.At(phase++);
    std::optional<double> reach;  // station where the last figure ended; none at a corner
    if (p.start) {
        c.Draw(first.kind, CornerCell(c, *p.start, first.w, first.h), out);
    } else {
        const double middle = OpenStartMiddle(run, p, first);
        if (middle - first.w / 2 > 0) GapBetween(c, run, std::nullopt, middle - first.w / 2, out);
        c.Draw(first.kind, run.CellAt(middle, first.w, first.h, hint), out, run.Track(),
               middle - first.w / 2);
        reach = middle + first.w / 2;
    }
    for (std::int64_t i = 0; i < p.between.n; ++i) {
        const double middle = p.between.a + static_cast<double>(i) * p.between.pitch;
        const SequenceFigure fig = c.sequence.At(phase++);
        GapBetween(c, run, reach, middle - fig.w / 2, out);
        c.Draw(fig.kind, run.CellAt(middle, fig.w, fig.h, hint), out, run.Track(),
               middle - fig.w / 2);
        reach = middle + fig.w / 2;
    }
    if (!p.hasEnd) return GapBetween(c, run, reach, std::nullopt, out);
    const SequenceFigure last = c.sequence.At(phase);
    const double endStart = run.Length() - last.w;
    GapBetween(c, run, reach, endStart, out);
    c.Draw(last.kind, run.CellAt(endStart + last.w / 2, last.w, last.h, hint), out, run.Track(),
           endStart);
}

bool Corners(const Context& c) { return c.in.row.arrangement == kArrangeCorners; }

// One run's plan in either arrangement, with the sequence position it starts at.
struct RunPlan {
    RunView view;
    std::int64_t phase = 0;
    bool corners = false;
    ThroughPlan through;
    CornerRun cornerRun;
    std::int64_t count = 0;
};

}  // namespace

struct RunsPlan::Runs {
    const Context& c;
    const ElementPath& path;
    std::vector<RunPlan> plans;
};

RunsPlan::RunsPlan(const Context& c, const ElementPath& path)
    : runs_(std::make_unique<Runs>(Runs{c, path, {}})) {
    std::int64_t phase = 0;
    for (const PathRun& r : LayoutRuns(c, path)) {
        RunPlan p{ViewOf(c, path, r), phase, false, {}, {}, 0};
        if (p.view.Length() <= 0) continue;  // carries nothing: no figure, no line
        p.corners = Corners(c) && !r.closed;
        if (p.corners) {
            p.cornerRun = PlanCorners(c, path, p.view, phase);
            p.count = p.cornerRun.Count();
        } else {
            p.through = PlanThrough(c, path, p.view, phase);
            p.count = CountOf(c, p.through);
        }
        phase += p.count;
        runs_->plans.push_back(std::move(p));
        if (phase >= std::numeric_limits<std::int32_t>::max()) return;
    }
}

RunsPlan::~RunsPlan() = default;
RunsPlan::RunsPlan(RunsPlan&&) noexcept = default;

std::int64_t RunsPlan::FigureCount() const {
    std::int64_t total = 0;
    for (const RunPlan& p : runs_->plans) total += p.count;
    return total;
}

void RunsPlan::Draw(DrawTarget& out) const {
    const Context& c = runs_->c;
    for (const RunPlan& p : runs_->plans) {
        if (p.corners)
            DrawCorners(c, p.view, p.cornerRun, p.phase, out);
        else
            DrawThrough(c, p.view, p.through, p.phase, out);
        for (std::size_t i = 0; i < p.view.Size(); ++i)
            if (!IsDegenerate(runs_->path.elements[p.view.PathIndex(i)]))
                FullLengthGuides(c, runs_->path, p.view.PathIndex(i), p.view.Frame(i), out);
    }
}

}  // namespace tesra::layout
