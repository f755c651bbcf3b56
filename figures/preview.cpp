// Pictures of patterns and figures, recorded from the real drawing code.
#include "figures/preview.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "figures/figures.h"
#include "figures/layout.h"
#include "figures/span_placement.h"
#include "geom/helpers.h"
#include "geom/trig.h"

namespace tesra {
namespace {

constexpr double kFullTurn = 2.0 * std::numbers::pi;
constexpr double kDegree = std::numbers::pi / 180.0;
constexpr std::int32_t kFullEllipseCode = 100;
// How far the second span turns: enough to show a mitre, little enough to keep
// the drawing flat for a wide band.
constexpr double kCornerTurn = 30.0 * kDegree;
constexpr double kSecondSpanSteps = 2.5;
constexpr int kFewestFirstSpanSteps = 2;
constexpr int kMostFirstSpanSteps = 40;
// The band's drawing keeps this share of the box height free at each edge.
constexpr double kBandMarginShare = 0.08;
constexpr double kPictureMargin = 1.5;  // pixels around a figure's cell
constexpr int kExtentSegments = 256;    // per whole turn, for the extent of arcs

bool IsWhole(const PreviewArc& arc) { return std::fabs(arc.sweep) >= kFullTurn; }

Point ArcPoint(const PreviewArc& a, double t) {
    const double u = a.r * Cos(t), v = a.flatness * a.r * Sin(t);
    const double c = Cos(a.tilt), s = Sin(a.tilt);
    return {a.centre.x + u * c - v * s, a.centre.y + u * s + v * c};
}

// segmentsPerTurn spread over the arc's sweep, at least one segment.
std::vector<Point> ArcPoints(const PreviewArc& arc, int segmentsPerTurn) {
    const double sweep = IsWhole(arc) ? kFullTurn : arc.sweep;
    const int n =
        std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / kFullTurn * segmentsPerTurn)));
    std::vector<Point> points;
    points.reserve(static_cast<std::size_t>(n) + 1);
    const int last = IsWhole(arc) ? n - 1 : n;  // a whole ellipse is a closed loop
    for (int i = 0; i <= last; ++i) points.push_back(ArcPoint(arc, arc.start + sweep * i / n));
    return points;
}

// Segments per whole turn that keep the chords within tolerance of the curve.
int SegmentsFor(const PreviewArc& arc, double tolerance) {
    const double radius = std::max(std::fabs(arc.r), std::fabs(arc.r * arc.flatness));
    if (!(radius > tolerance) || !(tolerance > 0)) return 8;
    const double step = 2.0 * std::acos(1.0 - tolerance / radius);
    return std::clamp(static_cast<int>(std::ceil(kFullTurn / step)), 8, 1024);
}

PreviewArc Shrunk(const PreviewArc& outer, double r) {
    PreviewArc inner = outer;
    inner.r = r;
    return inner;
}

PaintShape Loops(std::vector<std::vector<Point>> loops, bool closed, bool filled) {
    return {std::move(loops), closed, filled};
}

PreviewPrimitive Segment(Point a, Point b, PreviewInk ink) {
    PreviewPrimitive p;
    p.points = {a, b};
    p.ink = ink;
    return p;
}

void AddGuides(PreviewDrawing& drawing, const std::vector<Point>& corners, bool closed) {
    for (std::size_t i = 0; i + 1 < corners.size(); ++i)
        drawing.push_back(Segment(corners[i], corners[i + 1], PreviewInk::Guide));
    if (closed) drawing.push_back(Segment(corners.back(), corners.front(), PreviewInk::Guide));
}

PreviewDrawing Fitted(const PreviewDrawing& drawing, PreviewBox box, double margin) {
    Point low, high;
    if (!DrawingExtent(drawing, low, high)) return {};
    const PreviewFit fit = PreviewFit::Into(low, high, box, margin);
    PreviewDrawing out;
    out.reserve(drawing.size());
    for (const PreviewPrimitive& p : drawing) out.push_back(fit.Apply(p));
    return out;
}

double Positive(double v, double fallback) { return std::isfinite(v) && v > 0 ? v : fallback; }

}  // namespace

void PreviewRecorder::Add(PreviewPrimitive p) {
    p.ink = ink_;
    p.bgr = ink_ == PreviewInk::Solid ? bgr_ : 0;
    out_.push_back(std::move(p));
}

void PreviewRecorder::EmitLine(Point a, Point b) {
    if (!AllFinite({a.x, a.y, b.x, b.y})) return;
    Add(Segment(a, b, PreviewInk::Pen));
}

// The host's arcs run counter-clockwise from start to end, in degrees.
void PreviewRecorder::EmitArc(Point centre, double r, double startDeg, double endDeg,
                              double flatness, double tiltDeg) {
    if (!AllFinite({centre.x, centre.y, r, startDeg, endDeg, flatness, tiltDeg})) return;
    double sweep = std::fmod(endDeg - startDeg, 360.0);
    if (sweep <= 0.0) sweep += 360.0;
    PreviewPrimitive p;
    p.shape = PreviewPrimitive::Shape::Arc;
    p.arc = {centre, r, flatness, tiltDeg * kDegree, startDeg * kDegree, sweep * kDegree};
    Add(std::move(p));
}

void PreviewRecorder::EmitSolidTriangle(Point a, Point b, Point c) {
    if (!AllFinite({a.x, a.y, b.x, b.y, c.x, c.y})) return;
    PreviewPrimitive p;
    p.shape = PreviewPrimitive::Shape::Polygon;
    p.points = {a, b, c};
    Add(std::move(p));
}

void PreviewRecorder::EmitSolidQuad(Point a, Point b, Point c, Point d) {
    if (!AllFinite({a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y})) return;
    PreviewPrimitive p;
    p.shape = PreviewPrimitive::Shape::Polygon;
    p.points = {a, b, c, d};
    Add(std::move(p));
}

// Code 100 is the whole ellipse; otherwise angle2 is the swept angle.
void PreviewRecorder::EmitSolidArc(std::int32_t code, Point centre, double r, double flatness,
                                   double tilt, double angle1, double angle2) {
    if (!AllFinite({centre.x, centre.y, r, flatness, tilt, angle1, angle2})) return;
    PreviewPrimitive p;
    p.shape = PreviewPrimitive::Shape::FilledArc;
    const bool whole = code == kFullEllipseCode;
    p.arc = {centre, r, flatness, tilt, whole ? 0.0 : angle1, whole ? kFullTurn : angle2};
    Add(std::move(p));
}

void PreviewRecorder::EmitSolidRing(Point centre, double rOuter, double flatness, double tilt,
                                    double /*angle1*/, double /*angle2*/, double rInner) {
    if (!AllFinite({centre.x, centre.y, rOuter, flatness, tilt, rInner})) return;
    PreviewPrimitive p;
    p.shape = PreviewPrimitive::Shape::FilledRing;
    p.arc = {centre, rOuter, flatness, tilt, 0.0, kFullTurn};
    p.innerR = rInner;
    Add(std::move(p));
}

// As in the host: the solid color stays in force, for lines too, until the
// line color is written again.
void PreviewRecorder::WriteSolidColor(std::int32_t rgb) {
    ink_ = PreviewInk::Solid;
    bgr_ = rgb;
}

void PreviewRecorder::WriteLineColor(std::int32_t, std::int32_t) { ink_ = PreviewInk::Pen; }

std::vector<Point> SamplePath(const PatternRow& row, double boxAspect) {
    const double w = Positive(std::fabs(row.width), 10.0);
    const double h = Positive(std::fabs(row.height), 10.0);
    const double interval = std::isfinite(row.interval) ? std::max(row.interval, 0.0) : 0.0;
    const double step = w + interval;
    const double second = kSecondSpanSteps * step;
    // Roughly how tall the drawing stands, and so how long it may be.
    const double tall = second * Sin(kCornerTurn) + 1.5 * h;
    const double fixedLength = second * Cos(kCornerTurn) + 0.5 * h + 0.5 * step;
    const double wanted = Positive(boxAspect, 1.0) * tall - fixedLength;
    const int steps = std::clamp(static_cast<int>(std::lround(std::clamp(wanted / step, 0.0, 1e6))),
                                 kFewestFirstSpanSteps, kMostFirstSpanSteps);
    // Half a step left over: the interval mode shows its end gaps.
    const Point corner = {(steps + 0.5) * step, 0.0};
    return {{0.0, 0.0},
            corner,
            {corner.x + second * Cos(kCornerTurn), corner.y + second * Sin(kCornerTurn)}};
}

PreviewDrawing PatternPreview(const PatternRow& row, const SolidStyle& solid, PreviewBox box) {
    const std::vector<Point> path = SamplePath(row, box.height > 0 ? box.width / box.height : 1.0);
    PreviewDrawing drawing;
    AddGuides(drawing, path, false);
    std::vector<Point> chain = {{}};  // numbered from 1
    chain.insert(chain.end(), path.begin(), path.end());
    const LayoutInputs in{row, solid, 1};
    const int npts = static_cast<int>(path.size());
    PreviewRecorder recorder(drawing);
    const ElementPath shown[] = {ChainPath(chain, npts)};
    LayOutPaths(in, shown, recorder);
    return Fitted(drawing, box, std::max(2.0, kBandMarginShare * box.height));
}

PreviewDrawing FigurePicture(std::int32_t kind, PreviewBox box) {
    FigureCell cell;
    cell.eu = {1.0, 0.0};
    cell.ev = {0.0, 1.0};
    cell.W = std::max(box.width - 2 * kPictureMargin, 1.0);
    cell.H = std::max(box.height - 2 * kPictureMargin, 1.0);
    cell.C = cell.At(cell.W / 2, cell.H / 2);
    PreviewDrawing drawing;
    AddGuides(drawing,
              {cell.At(0, 0), cell.At(cell.W, 0), cell.At(cell.W, cell.H), cell.At(0, cell.H)},
              true);
    PreviewRecorder recorder(drawing);
    DrawFigure(kind, cell, SolidStyle{}, recorder);
    return Fitted(drawing, box, kPictureMargin);
}

PreviewFit PreviewFit::Into(Point from, Point to, PreviewBox box, double margin) {
    const double w = to.x - from.x, h = to.y - from.y;
    const double roomW = std::max(box.width - 2 * margin, 0.0);
    const double roomH = std::max(box.height - 2 * margin, 0.0);
    double scale = 0.0;
    bool found = false;
    for (const auto& [extent, room] : {std::pair{w, roomW}, std::pair{h, roomH}}) {
        if (!(extent > 0)) continue;
        scale = found ? std::min(scale, room / extent) : room / extent;
        found = true;
    }
    if (!found || !std::isfinite(scale)) scale = 1.0;
    const Point mid = {(from.x + to.x) / 2, (from.y + to.y) / 2};
    PreviewFit fit;
    fit.scale = scale;
    fit.shift = {box.left + box.width / 2 - scale * mid.x,
                 box.top + box.height / 2 + scale * mid.y};
    return fit;
}

// The y flip mirrors every arc: tilt, start and sweep change sign.
PreviewPrimitive PreviewFit::Apply(const PreviewPrimitive& p) const {
    PreviewPrimitive out = p;
    for (Point& point : out.points) point = Apply(point);
    out.arc.centre = Apply(p.arc.centre);
    out.arc.r = scale * p.arc.r;
    out.arc.tilt = -p.arc.tilt;
    out.arc.start = -p.arc.start;
    out.arc.sweep = -p.arc.sweep;
    out.innerR = scale * p.innerR;
    return out;
}

bool DrawingExtent(const PreviewDrawing& drawing, Point& low, Point& high) {
    bool any = false;
    auto add = [&](Point q) {
        if (!any) low = high = q;
        low = {std::min(low.x, q.x), std::min(low.y, q.y)};
        high = {std::max(high.x, q.x), std::max(high.y, q.y)};
        any = true;
    };
    for (const PreviewPrimitive& p : drawing) {
        for (Point q : p.points) add(q);
        if (p.shape == PreviewPrimitive::Shape::Segment ||
            p.shape == PreviewPrimitive::Shape::Polygon)
            continue;
        for (Point q : ArcPoints(p.arc, kExtentSegments)) add(q);
    }
    return any;
}

PaintShape Flatten(const PreviewPrimitive& p, double tolerance) {
    using Shape = PreviewPrimitive::Shape;
    const int segments = SegmentsFor(p.arc, tolerance);
    switch (p.shape) {
        case Shape::Segment:
            return Loops({p.points}, false, false);
        case Shape::Polygon:
            return Loops({p.points}, true, true);
        case Shape::Arc:
            return Loops({ArcPoints(p.arc, segments)}, IsWhole(p.arc), false);
        case Shape::FilledArc:
            return Loops({ArcPoints(p.arc, segments)}, true, true);
        case Shape::FilledRing:
            return Loops({ArcPoints(p.arc, segments), ArcPoints(Shrunk(p.arc, p.innerR), segments)},
                         true, true);
    }
    return {};
}

}  // namespace tesra
