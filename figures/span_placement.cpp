// Figures, gap lines and mitred full-length lines along one span of a chain.
#include "figures/span_placement.h"

#include <array>
#include <cmath>
#include <limits>

#include "figures/figures.h"
#include "figures/mitre.h"
#include "geom/helpers.h"
#include "geom/trig.h"

namespace tesra {
namespace {

struct Guide {
    std::int32_t setting;
    double v;  // height in the band
};

// The frame shared by everything drawn on one span.
struct SpanFrame {
    Point a, b;         // the span's ends
    Point aLow, bLow;   // ends of the band's lower edge
    Point eu, ev;
    double theta = 0, thetaDeg = 0, length = 0;
    double off = 0;     // band offset below the span line
};

Point Offset(Point p, double k, Point dir) { return {p.x + k * dir.x, p.y + k * dir.y}; }

SpanFrame MakeFrame(const SpanInputs& in, int j) {
    SpanFrame f;
    f.a = in.points[static_cast<std::size_t>(j)];
    f.b = in.points[static_cast<std::size_t>(j + 1)];
    f.theta = VectorAngle(f.b.x - f.a.x, f.b.y - f.a.y);
    f.thetaDeg = Degrees(f.theta);
    f.length = Distance(f.a, f.b);
    const SinCosPair u = SinCos(f.theta), v = SinCos(f.theta + kPi / 2);
    f.eu = {u.cos, u.sin};
    f.ev = {v.cos, v.sin};
    f.off = BandOffset(in.row.basePoint, in.row.height);
    f.aLow = Along(f.a, f.off, f.theta - kPi / 2);
    f.bLow = Along(f.b, f.off, f.theta - kPi / 2);
    return f;
}

std::array<Guide, 3> Guides(const PatternRow& row) {
    return {{{row.upperLine, row.height}, {row.middleLine, row.height / 2}, {row.lowerLine, 0.0}}};
}

// Gap lines from `from` to `to` on the band's lower edge, lifted to each guide
// line set to "間隔", upper first.
void GapLines(const PatternRow& row, const SpanFrame& f, Point from, Point to, DrawTarget& out) {
    for (const Guide& g : Guides(row)) {
        if (g.setting != kGuideGap) continue;
        out.EmitLine(Offset(from, g.v, f.ev), Offset(to, g.v, f.ev));
    }
}

void FullLengthLine(const SpanInputs& in, const SpanFrame& f, int j, int npts, double v,
                    DrawTarget& out) {
    Point s = Offset(f.aLow, v, f.ev);
    Point e = Offset(f.bLow, v, f.ev);
    if (npts == 2) return out.EmitLine(s, e);

    const auto& p = in.points;
    auto at = [&p](int k) { return p[static_cast<std::size_t>(k)]; };
    const bool closed = SamePoint(at(1), at(npts));
    // The guide line's distance from the span line, along the side's normal.
    const double d = v - f.off;
    const Point e0 = e;
    if (j > 1)
        Mitre(s, s, e0, ShiftedSide(at(j - 1), at(j), d), at(j), d);
    else if (closed)
        Mitre(s, s, e0, ShiftedSide(at(npts - 1), at(1), d), at(1), d);
    // The end corner meets the line through the start as already mitred.
    if (j + 1 < npts)
        Mitre(e, s, e0, ShiftedSide(at(j + 1), at(j + 2), d), at(j + 1), d);
    else if (closed)
        Mitre(e, s, e0, ShiftedSide(at(1), at(2), d), at(1), d);
    out.EmitLine(s, e);
}

}  // namespace

Spacing SpacingFor(const PatternRow& row, double length, std::int32_t n) {
    const double w = row.width, gap = row.interval;
    const double figures = n;  // in doubles: n - 1 must not overflow for any count
    const double left = length - (figures * w + (figures - 1) * gap);
    if (row.placement == kPlaceByInterval) return {left * 0.5, gap};
    // Evenly spread: a single figure stands at A with no gap after it.
    if (n == 1) return {0.0, 0.0};
    return {0.0, left / (figures - 1) + gap};
}

double BandOffset(std::int32_t basePoint, double h) {
    if (basePoint == kBaseTop) return h;
    if (basePoint == kBaseMiddle) return h / 2;
    return 0.0;
}

std::optional<std::int32_t> FigureCount(double length, double width, double interval) {
    const double divisor = interval + width;
    if (divisor == 0) return std::nullopt;
    const double count = std::trunc((length + interval) / divisor);
    if (!std::isfinite(count) || count < std::numeric_limits<std::int32_t>::min() ||
        count > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(count);
}

std::int64_t SpanFigureCount(const SpanInputs& in, int j) {
    const SpanFrame f = MakeFrame(in, j);
    const auto n = FigureCount(f.length, in.row.width, in.row.interval);
    if (n) return *n > 0 ? *n : 0;
    // A count too large for 32 bits is still far too many figures: counting it
    // as none would let the run draw an empty span instead of refusing it.
    const double divisor = in.row.interval + in.row.width;
    const bool tooMany = divisor != 0 && (f.length + in.row.interval) / divisor > 0;
    return tooMany ? std::numeric_limits<std::int32_t>::max() : 0;
}

void SpanPlacement(const SpanInputs& in, int j, int npts, DrawTarget& out) {
    const PatternRow& row = in.row;
    const SpanFrame f = MakeFrame(in, j);
    const auto count = FigureCount(f.length, row.width, row.interval);
    if (!count) return;
    const std::int32_t n = *count;
    const Spacing sp = SpacingFor(row, f.length, n);
    const double w = row.width, h = row.height;

    Point o = Offset(f.aLow, sp.s0, f.eu);
    Point g = f.aLow;
    if (!SameValue(sp.s0, 0)) GapLines(row, f, f.aLow, o, out);
    for (std::int32_t i = 1; i <= n; ++i) {
        FigureCell cell{o, f.eu, f.ev, w, h, {}, f.theta, f.thetaDeg};
        cell.C = cell.At(w / 2, h / 2);
        DrawFigure(row.figureKind, cell, in.solid, out);
        out.WriteLineColor(in.lineColor, 0);
        g = Offset(o, w, f.eu);
        o = Offset(o, w + sp.g, f.eu);
        if (!SameValue(sp.g, 0) && i < n) GapLines(row, f, g, o, out);
    }
    if (!SameValue(sp.s0, 0)) GapLines(row, f, g, f.bLow, out);
    for (const Guide& guide : Guides(row))
        if (guide.setting == kGuideFull) FullLengthLine(in, f, j, npts, guide.v, out);
}

}  // namespace tesra
