// The layout core's shared pieces: sequence, frames, cells and guide curves.
#include <algorithm>
#include <cmath>
#include <limits>

#include "figures/figures.h"
#include "figures/layout_internal.h"
#include "figures/mitre.h"
#include "figures/own_figures.h"
#include "figures/span_placement.h"
#include "geom/helpers.h"
#include "geom/trig.h"

namespace tesra::layout {
namespace {

// Only a sequence of both figures needs the pattern walked.
std::string MixedSequence(const PatternRow& row) {
    return DrawsFigureA(row) && DrawsFigureB(row) ? row.sequence : std::string();
}

}  // namespace

std::array<Guide, 3> Guides(const PatternRow& row) {
    return {{{row.upperLine, row.height, RowPart::Upper},
             {row.middleLine, row.height / 2, RowPart::Middle},
             {row.lowerLine, 0.0, RowPart::Lower}}};
}

FigureSequence::FigureSequence(const PatternRow& row)
    : pattern_(MixedSequence(row)),
      a_{row.figureKind, row.width, row.height},
      b_{row.figureB, row.widthB, row.heightB} {
    if (!DrawsFigureA(row)) a_ = b_;
    for (char ch : pattern_) periodWidth_ += ch == 'B' ? b_.w : a_.w;
}

SequenceFigure FigureSequence::At(std::int64_t i) const {
    if (Plain()) return a_;
    const auto n = static_cast<std::int64_t>(pattern_.size());
    return pattern_[static_cast<std::size_t>(((i % n) + n) % n)] == 'B' ? b_ : a_;
}

double FigureSequence::WidthOf(std::int64_t phase, std::int64_t n) const {
    if (Plain()) return static_cast<double>(n) * a_.w;
    const auto len = static_cast<std::int64_t>(pattern_.size());
    double sum = static_cast<double>(n / len) * periodWidth_;
    for (std::int64_t i = 0; i < n % len; ++i) sum += At(phase + i).w;
    return sum;
}

double FigureSequence::MaxWidth() const { return Plain() ? a_.w : std::max(a_.w, b_.w); }

double FigureSequence::MaxHeight() const { return Plain() ? a_.h : std::max(a_.h, b_.h); }

std::optional<std::int32_t> FigureSequence::CountFitting(double length, double interval,
                                                         std::int64_t phase) const {
    if (Plain()) return FigureCount(length, a_.w, interval);
    const auto len = static_cast<double>(pattern_.size());
    const double period = periodWidth_ + len * interval;
    if (!(period > 0)) return std::nullopt;
    const double periods = std::floor((length + interval) / period);
    if (!std::isfinite(periods) || periods * len > std::numeric_limits<std::int32_t>::max() / 2)
        return std::nullopt;
    if (periods < 0) return 0;
    auto n = static_cast<std::int64_t>(periods * len);
    // Then figure by figure, as long as the next one still fits.
    while (WidthOf(phase, n + 1) + static_cast<double>(n) * interval <= length) ++n;
    return static_cast<std::int32_t>(n);
}

Spacing SequenceSpacing(const Context& c, double length, std::int32_t n, std::int64_t phase) {
    const PatternRow& row = c.in.row;
    if (c.sequence.Plain())
        return SpacingFor(row.placement, c.sequence.At(0).w, row.interval, length, n);
    const double figures = n;
    const double left = length - (c.sequence.WidthOf(phase, n) + (figures - 1) * row.interval);
    if (row.placement == kPlaceByInterval) return {left * 0.5, row.interval};
    if (n == 1) return {0.0, 0.0};
    return {0.0, left / (figures - 1) + row.interval};
}

std::int64_t CountOrTooMany(std::optional<std::int32_t> n, double length, const Context& c) {
    if (n) return *n > 0 ? *n : 0;
    const double divisor = c.in.row.interval + c.sequence.At(0).w;
    const bool tooMany = divisor != 0 && (length + c.in.row.interval) / divisor > 0;
    return tooMany ? std::numeric_limits<std::int32_t>::max() : 0;
}

void Context::Draw(std::int32_t kind, const FigureCell& cell, DrawTarget& out) const {
    out.BeginPart(RowPart::Figures);
    DrawShape(kind, Oriented(cell), out);
    out.WriteLineColor(in.lineColor, 0);
}

void Context::DrawShape(std::int32_t kind, const FigureCell& cell, DrawTarget& out) const {
    if (kind >= kFirstOwnFigureKind && in.ownFigures) {
        DrawOwnFigure(*in.ownFigures, kind, cell, in.row, in.solid, in.lineColor, out);
    } else {
        DrawFigure(kind, cell, in.solid, out);
    }
}

FigureCell Context::Oriented(FigureCell cell) const {
    if (in.row.orientation != kOrientUpright) return cell;
    // Upright: the same box about the same centre, on the page's axes.
    FigureCell up;
    up.W = cell.W;
    up.H = cell.H;
    up.eu = {1, 0};
    up.ev = {0, 1};
    up.C = cell.C;
    up.O = {cell.C.x - cell.W / 2, cell.C.y - cell.H / 2};
    return up;
}

Context MakeContext(const LayoutInputs& in) {
    const std::array<Guide, 3> guides = Guides(in.row);
    const bool gaps = std::any_of(guides.begin(), guides.end(),
                                  [](const Guide& g) { return g.setting == kGuideGap; });
    return {in, BandOffset(in.row.basePoint, in.row.height), FigureSequence(in.row), guides, gaps};
}

Point ElementFrame::LowAt(double station) const { return aLow + station * eu; }

ElementFrame FrameOf(const PathElement& e, double off) {
    ElementFrame f;
    f.e = &e;
    f.off = off;
    f.length = ElementLength(e);
    if (e.shape == PathElement::Shape::Arc) {
        f.sigma = e.sweepRad < 0 ? -1.0 : 1.0;
        return f;
    }
    f.theta = VectorAngle(e.b.x - e.a.x, e.b.y - e.a.y);
    f.thetaDeg = Degrees(f.theta);
    const SinCosPair u = SinCos(f.theta), v = SinCos(f.theta + kPi / 2);
    f.eu = {u.cos, u.sin};
    f.ev = {v.cos, v.sin};
    f.aLow = Along(e.a, off, f.theta - kPi / 2);
    f.bLow = Along(e.b, off, f.theta - kPi / 2);
    return f;
}

FigureCell LineCell(const ElementFrame& f, Point o, double w, double h) {
    FigureCell cell{o, f.eu, f.ev, w, h, {}, f.theta, f.thetaDeg};
    cell.C = cell.At(w / 2, h / 2);
    return cell;
}

FigureCell CellAtStation(const ElementFrame& f, double w, double h, double station) {
    if (f.IsLine()) return LineCell(f, f.LowAt(station - w / 2), w, h);
    const double phi = f.AngleAt(station);
    const SinCosPair atPhi = SinCos(phi);
    const double theta = VectorAngle(-f.sigma * atPhi.sin, f.sigma * atPhi.cos);
    return CellTurned(Along(f.e->centre, f.RadiusAt(h / 2), phi), theta, w, h);
}

FigureCell CellTurned(Point centre, double theta, double w, double h) {
    FigureCell cell;
    const SinCosPair u = SinCos(theta), v = SinCos(theta + kPi / 2);
    cell.eu = {u.cos, u.sin};
    cell.ev = {v.cos, v.sin};
    cell.W = w;
    cell.H = h;
    cell.theta = theta;
    cell.thetaDeg = Degrees(theta);
    cell.O = centre - (w / 2) * cell.eu - (h / 2) * cell.ev;
    cell.C = cell.At(w / 2, h / 2);
    return cell;
}

namespace {

using guide::GuideCurve;

// The guide curve at height v of the band, before it meets its neighbours.
GuideCurve CurveOf(const PathElement& e, double off, double v) {
    GuideCurve c;
    const ElementFrame f = FrameOf(e, off);
    if (f.IsLine()) {
        c.s = f.aLow + v * f.ev;
        c.e = f.bLow + v * f.ev;
        return c;
    }
    c.arc = true;
    c.centre = e.centre;
    c.radius = f.RadiusAt(v);
    c.startRad = e.startRad;
    c.sweepRad = e.sweepRad;
    c.drawn = c.radius > 0;
    return c;
}

bool IsLine(const PathElement& e) { return e.shape == PathElement::Shape::Line; }

// The neighbour of element k in direction step (−1 before, +1 after), passing
// arcs whose guide at height v vanishes: the curves on either side of a small
// fillet then meet as at a sharp corner. `passed` tells whether one was passed.
const PathElement* Neighbour(const ElementPath& path, std::size_t k, int step, double off, double v,
                             bool& passed) {
    const auto n = static_cast<std::int64_t>(path.elements.size());
    passed = false;
    auto i = static_cast<std::int64_t>(k);
    for (std::int64_t walked = 1; walked < n; ++walked) {
        i += step;
        if (i < 0 || i >= n) {
            if (!path.closed) return nullptr;
            i = (i + n) % n;
        }
        const PathElement& e = path.elements[static_cast<std::size_t>(i)];
        if (IsLine(e) || CurveOf(e, off, v).drawn) return &e;
        passed = true;
    }
    return nullptr;
}

}  // namespace

GuideCurve TrimmedCurve(const Context& c, const ElementPath& path, std::size_t k, double v) {
    const PathElement& e = path.elements[k];
    const GuideCurve own = CurveOf(e, c.off, v);
    if (!own.drawn || IsFullCircle(e)) return own;
    GuideCurve curve = own;
    const double d = v - c.off;
    bool passedBefore = false, passedAfter = false;
    const PathElement* before = Neighbour(path, k, -1, c.off, v, passedBefore);
    const PathElement* after = Neighbour(path, k, +1, c.off, v, passedAfter);
    if (before && IsLine(*before) && IsLine(e)) {
        // The side before ends where this one starts, also where a closed
        // chain's last point only nearly repeats its first.
        const Point end = passedBefore ? before->b : e.a;
        curve.s = Mitred(curve.s, own.s, own.e, ShiftedSide(before->a, end, d), e.a, d);
    } else if (before) {
        const Point vertex = passedBefore ? e.a : before->b;
        if (auto meet = guide::JointPoint(CurveOf(*before, c.off, v), own, vertex, d))
            guide::MoveCurveEnd(curve, *meet, false);
    }
    if (after && IsLine(*after) && IsLine(e)) {
        // As between indicated points, the end meets the line through the start as moved.
        const Point vertex = passedAfter ? e.b : after->a;
        curve.e = Mitred(curve.e, curve.s, own.e, ShiftedSide(after->a, after->b, d), vertex, d);
    } else if (after) {
        if (auto meet = guide::JointPoint(own, CurveOf(*after, c.off, v), e.b, d))
            guide::MoveCurveEnd(curve, *meet, true);
    }
    return curve;
}

void EmitGuidePiece(const ElementFrame& f, const GuideCurve& trimmed, double v,
                    std::optional<double> s1, std::optional<double> s2, DrawTarget& out) {
    if (!trimmed.drawn) return;
    if (f.IsLine()) {
        const Point from = s1 ? f.At(*s1, v) : trimmed.s;
        const Point to = s2 ? f.At(*s2, v) : trimmed.e;
        return out.EmitLine(from, to);
    }
    const double from = s1 ? f.AngleAt(*s1) : trimmed.startRad;
    const double to = s2 ? f.AngleAt(*s2) : trimmed.startRad + trimmed.sweepRad;
    guide::EmitGuideArc(trimmed.centre, trimmed.radius, from, to, out);
}

void EmitGuideBetween(const ElementFrame& f, double v, double s1, double s2, DrawTarget& out) {
    if (f.IsLine()) return out.EmitLine(f.At(s1, v), f.At(s2, v));
    guide::EmitGuideArc(f.e->centre, f.RadiusAt(v), f.AngleAt(s1), f.AngleAt(s2), out);
}

void FullLengthGuides(const Context& c, const ElementPath& path, std::size_t k,
                      const ElementFrame& f, DrawTarget& out) {
    for (const Guide& g : c.guides)
        if (g.setting == kGuideFull && !c.Skips(g)) {
            out.BeginPart(g.part);
            EmitGuidePiece(f, TrimmedCurve(c, path, k, g.v), g.v, std::nullopt, std::nullopt, out);
        }
}

}  // namespace tesra::layout
