// Draws the pattern along followed paths. Each element is one span: a line
// is laid out exactly as a span between two indicated points, an arc by arc
// length. Full-length guide lines follow each element and meet their
// neighbours' where the path's elements meet.

#include "figures/along_elements.h"

#include <array>
#include <cmath>
#include <limits>

#include "figures/along_internal.h"
#include "figures/mitre.h"
#include "figures/span_placement.h"
#include "geom/helpers.h"
#include "geom/trig.h"

namespace tesra {
namespace along {

std::array<std::pair<std::int32_t, double>, 3> Guides(const PatternRow& row) {
    return {{{row.upperLine, row.height}, {row.middleLine, row.height / 2}, {row.lowerLine, 0.0}}};
}

}  // namespace along

namespace {

using along::GuideCurve;
using along::Guides;

bool IsLine(const PathElement& e) {
    return e.shape == PathElement::Shape::Line;
}

// The guide curve at height v of the band, before it meets its neighbours.
// For a line this is the span's own full-length line.
GuideCurve CurveOf(const PathElement& e, const PatternRow& row, double v) {
    const double off = BandOffset(row.basePoint, row.height);
    GuideCurve c;
    if (IsLine(e)) {
        const double theta = VectorAngle(e.b.x - e.a.x, e.b.y - e.a.y);
        const SinCosPair up = SinCos(theta + kPi / 2);
        const Point ev = {up.cos, up.sin};
        const Point aLow = Along(e.a, off, theta - kPi / 2);
        const Point bLow = Along(e.b, off, theta - kPi / 2);
        c.s = {aLow.x + v * ev.x, aLow.y + v * ev.y};
        c.e = {bLow.x + v * ev.x, bLow.y + v * ev.y};
        return c;
    }
    const double sigma = e.sweepRad < 0 ? -1.0 : 1.0;
    c.arc = true;
    c.centre = e.centre;
    c.radius = e.radius - sigma * (v - off);
    c.startRad = e.startRad;
    c.sweepRad = e.sweepRad;
    c.drawn = c.radius > 0;
    return c;
}

struct Neighbours {
    const PathElement* before = nullptr;
    const PathElement* after = nullptr;
};

Neighbours NeighboursOf(const ElementPath& path, std::size_t k) {
    const auto& els = path.elements;
    Neighbours n;
    if (k > 0)
        n.before = &els[k - 1];
    else if (path.closed)
        n.before = &els.back();
    if (k + 1 < els.size())
        n.after = &els[k + 1];
    else if (path.closed)
        n.after = &els.front();
    return n;
}

void EmitCurve(const GuideCurve& c, DrawTarget& out) {
    if (!c.arc) return out.EmitLine(c.s, c.e);
    along::EmitGuideArc(c.centre, c.radius, c.startRad, c.startRad + c.sweepRad, out);
}

void FullLengthGuide(const PatternRow& row, const ElementPath& path, std::size_t k, double v,
                     DrawTarget& out) {
    const PathElement& e = path.elements[k];
    const GuideCurve own = CurveOf(e, row, v);
    if (!own.drawn) return;
    GuideCurve curve = own;
    const double d = v - BandOffset(row.basePoint, row.height);
    const Neighbours n = NeighboursOf(path, k);
    if (n.before && IsLine(*n.before) && IsLine(e)) {
        Mitre(curve.s, own.s, own.e, ShiftedSide(n.before->a, n.before->b, d), e.a, d);
    } else if (n.before && !IsFullCircle(e)) {
        if (auto meet = along::JointPoint(CurveOf(*n.before, row, v), own, n.before->b, d))
            along::MoveCurveEnd(curve, *meet, false);
    }
    if (n.after && IsLine(*n.after) && IsLine(e)) {
        // As between indicated points, the end meets the line through the start as moved.
        Mitre(curve.e, curve.s, own.e, ShiftedSide(n.after->a, n.after->b, d), e.b, d);
    } else if (n.after && !IsFullCircle(e)) {
        if (auto meet = along::JointPoint(own, CurveOf(*n.after, row, v), e.b, d))
            along::MoveCurveEnd(curve, *meet, true);
    }
    EmitCurve(curve, out);
}

// Figures and gap lines of a line element, exactly as between two indicated points.
void LineFiguresAndGaps(const AlongInputs& in, const PathElement& e, DrawTarget& out) {
    PatternRow gapsOnly = in.row;
    for (std::int32_t* setting : {&gapsOnly.upperLine, &gapsOnly.middleLine, &gapsOnly.lowerLine})
        if (*setting == kGuideFull) *setting = kGuideNone;
    const std::array<Point, 3> points = {Point{}, e.a, e.b};
    SpanPlacement(SpanInputs{gapsOnly, points, in.solid, in.lineColor}, 1, 2, out);
}

void DrawElement(const AlongInputs& in, const ElementPath& path, std::size_t k, DrawTarget& out) {
    const PathElement& e = path.elements[k];
    if (IsDegenerate(e)) return;
    const auto count = FigureCount(ElementLength(e), in.row.width, in.row.interval);
    if (!count) return;
    if (IsLine(e))
        LineFiguresAndGaps(in, e, out);
    else
        along::ArcFiguresAndGaps(in, e, *count, out);
    for (const auto& [setting, v] : Guides(in.row))
        if (setting == kGuideFull) FullLengthGuide(in.row, path, k, v, out);
}

// Mirrors the count of a span between indicated points, overflow included.
std::int64_t ElementFigureCount(const PatternRow& row, const PathElement& e) {
    if (IsDegenerate(e)) return 0;
    const double length = ElementLength(e);
    const auto n = FigureCount(length, row.width, row.interval);
    if (n) return *n > 0 ? *n : 0;
    const double divisor = row.interval + row.width;
    const bool tooMany = divisor != 0 && (length + row.interval) / divisor > 0;
    return tooMany ? std::numeric_limits<std::int32_t>::max() : 0;
}

}  // namespace

std::int64_t AlongFigureCount(const AlongInputs& in, const AlongSelection& selection) {
    constexpr std::int64_t kTooMany = std::numeric_limits<std::int32_t>::max();
    std::int64_t total = 0;
    for (const ElementPath& path : selection.paths)
        for (const PathElement& e : path.elements) {
            total += ElementFigureCount(in.row, e);
            if (total >= kTooMany) return total;
        }
    return total;
}

void DrawAlongPaths(const AlongInputs& in, const AlongSelection& selection, DrawTarget& out) {
    for (const ElementPath& path : selection.paths)
        for (std::size_t k = 0; k < path.elements.size(); ++k) DrawElement(in, path, k, out);
}

}  // namespace tesra
