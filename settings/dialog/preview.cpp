// Pictures of patterns and figures, recorded from the real drawing code.
#include "settings/dialog/preview.h"

#include <algorithm>
#include <cmath>

#include "figures/figures.h"
#include "figures/layout.h"
#include "figures/span_placement.h"
#include "geom/helpers.h"
#include "geom/trig.h"

namespace tesra {
namespace {

constexpr std::int32_t kFullEllipseCode = 100;
// The sample path turns sharply (well past the smooth limit, so that every
// arrangement treats it as a corner), rises one pitch, then bends back to the
// first side's direction on a tangent arc of three pitches' radius: a gentle
// curve that every arrangement passes without a break.
constexpr double kCornerTurn = 50.0 * kDegToRad;
constexpr double kRiseSteps = 1.0;
constexpr double kBendRadiusSteps = 3.0;
// At least this many whole figures on the first side, and as many as the box's
// width holds up to the most.
constexpr int kFewestFirstSpanSteps = 2;
constexpr int kMostFirstSpanSteps = 40;
// The first side is a little longer than its figures and their intervals, by
// this share of the width, so that the interval placement shows its end gaps
// without pushing the figures apart.
constexpr double kEndGapsShare = 0.25;
// How much of the path after the corner the band must show, in widths or
// heights of the figure, whichever is larger: enough to see the corner.
constexpr double kShownBeyondCorner = 0.5;
// The band's drawing keeps this share of the box height free at each edge.
constexpr double kBandMarginShare = 0.03;
// A chooser cell's band: pixels kept clear around it (a pen's width and its
// smoothing), and how many pitches of the row it shows.
constexpr double kSymbolPictureMargin = 3.0;
constexpr int kFewestSymbolSteps = 3;
constexpr double kSymbolBandShare = 0.7;  // of the box's height, for the figures
constexpr int kMostSymbolSteps = 40;
constexpr double kPictureMargin = 1.5;  // pixels around a figure's cell
// The frame around a picture's figure stands off it by this share of the
// figure's larger extent, so that an open side (［, ］) stays open.
constexpr double kFrameClearance = 0.15;
constexpr int kExtentSegments = 256;  // per whole turn, for the extent of arcs

bool IsWhole(const PreviewArc& arc) { return std::fabs(arc.sweep) >= kTwoPi; }

Point ArcPoint(const PreviewArc& a, double t) {
    return EllipsePoint(a.centre.x, a.centre.y, a.r, a.flatness, a.tilt, t);
}

// segmentsPerTurn spread over the arc's sweep, at least one segment.
std::vector<Point> ArcPoints(const PreviewArc& arc, int segmentsPerTurn) {
    const double sweep = IsWhole(arc) ? kTwoPi : arc.sweep;
    const int n =
        std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / kTwoPi * segmentsPerTurn)));
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
    return std::clamp(static_cast<int>(std::ceil(kTwoPi / step)), 8, 1024);
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

PreviewPrimitive GuideArc(const PathElement& e) {
    PreviewPrimitive p;
    p.shape = PreviewPrimitive::Shape::Arc;
    p.arc = {e.centre, e.radius, 1.0, 0.0, e.startRad, e.sweepRad};
    p.ink = PreviewInk::Guide;
    return p;
}

void AddGuides(PreviewDrawing& drawing, const ElementPath& path) {
    for (const PathElement& e : path.elements)
        drawing.push_back(e.shape == PathElement::Shape::Arc
                              ? GuideArc(e)
                              : Segment(e.a, e.b, PreviewInk::Guide));
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

// The row's repeat as the sample path measures it (figures/layout.h).
struct SampleSpacing {
    double width, interval;
    double Pitch() const { return width + interval; }
};

SampleSpacing SpacingOf(const PatternRow& row) {
    const RowStep step = StepAlong(row);
    const double w = Positive(step.width, 10.0);
    const double interval = std::isfinite(step.interval) ? std::max(step.interval, 0.0) : 0.0;
    return std::isfinite(w + interval) ? SampleSpacing{w, interval} : SampleSpacing{10.0, 0.0};
}

// The row laid along path by the layout every mode uses, the path beneath.
// 内側 and 外側 apply to closed paths. The open sample path stands for the top
// side of a boundary whose inside lies below it, on its right, and is run the
// way that puts the band there, as a closed path would be.
PreviewDrawing LaidOut(const PatternRow& row, const SolidStyle& solid, const ElementPath& given,
                       const OwnFigureSet* own) {
    const ElementPath path = SidedPath(row, given, false);
    PreviewDrawing drawing;
    AddGuides(drawing, path);
    LayoutInputs in;
    in.row = row;
    in.solid = solid;
    in.ownFigures = own;
    PreviewRecorder recorder(drawing, &row);
    PlanLayout(in, std::span(&path, 1)).Draw(recorder);
    return drawing;
}

PatternRow UniformFit() {
    PatternRow row;
    row.fit = kFitUniform;
    return row;
}

double FirstSideLength(SampleSpacing s, int steps) {
    return steps * s.width + (steps - 1) * s.interval + kEndGapsShare * s.width;
}

ElementPath StraightPath(double length) { return {{LineElement({0, 0}, {length, 0})}, false}; }

// The most whole figures that fit on a first side of at most length.
int FirstSideSteps(SampleSpacing s, double length) {
    const double steps = std::floor((length + s.interval - kEndGapsShare * s.width) / s.Pitch());
    return static_cast<int>(std::clamp(std::isfinite(steps) ? steps : 0.0,
                                       static_cast<double>(kFewestFirstSpanSteps),
                                       static_cast<double>(kMostFirstSpanSteps)));
}

}  // namespace

void PreviewRecorder::BeginPart(RowPart part) {
    if (row_) pen_ = PenOf(*row_, part);
}

void PreviewRecorder::Add(PreviewPrimitive p) {
    p.ink = ink_;
    p.pen = ink_ == PreviewInk::Pen ? pen_ : RowPen{};
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
    const double sweep = SweepDeg(startDeg, endDeg);
    PreviewPrimitive p;
    p.shape = PreviewPrimitive::Shape::Arc;
    p.arc = {centre, r, flatness, tiltDeg * kDegToRad, startDeg * kDegToRad, sweep * kDegToRad};
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
    p.arc = {centre, r, flatness, tilt, whole ? 0.0 : angle1, whole ? kTwoPi : angle2};
    Add(std::move(p));
}

void PreviewRecorder::EmitSolidRing(Point centre, double rOuter, double flatness, double tilt,
                                    double /*angle1*/, double /*angle2*/, double rInner) {
    if (!AllFinite({centre.x, centre.y, rOuter, flatness, tilt, rInner})) return;
    PreviewPrimitive p;
    p.shape = PreviewPrimitive::Shape::FilledRing;
    p.arc = {centre, rOuter, flatness, tilt, 0.0, kTwoPi};
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

ElementPath SamplePath(const PatternRow& row, int firstSideSteps) {
    const SampleSpacing spacing = SpacingOf(row);
    const double pitch = spacing.Pitch();
    const Point corner = {FirstSideLength(spacing, firstSideSteps), 0.0};
    const Point risen = Along(corner, kRiseSteps * pitch, kCornerTurn);
    PathElement bend;
    bend.shape = PathElement::Shape::Arc;
    bend.radius = kBendRadiusSteps * pitch;
    // Bending to the right: the centre lies to the right of the rise.
    bend.centre = Along(risen, bend.radius, kCornerTurn - kPi / 2);
    bend.startRad = kCornerTurn + kPi / 2;
    bend.sweepRad = -kCornerTurn;
    bend.a = risen;
    bend.b = Along(bend.centre, bend.radius, bend.startRad + bend.sweepRad);
    return {{LineElement({0, 0}, corner), LineElement(corner, risen), bend}, false};
}

// The scale: the figures of the first side as tall as the box allows, unless
// two of them, the corner and a little beyond would then not fit across. The
// first side then takes as many figures as the width holds; what runs past
// the box is cut off by the painter.
PreviewDrawing PatternPreview(const PatternRow& row, const SolidStyle& solid, PreviewBox box,
                              const OwnFigureSet* own) {
    const SampleSpacing spacing = SpacingOf(row);
    const double margin = std::max(2.0, kBandMarginShare * box.height);
    const double roomW = std::max(box.width - 2 * margin, 1.0);
    const double roomH = std::max(box.height - 2 * margin, 1.0);
    // The short side is measured with one whole round of the sequence, so
    // that a second figure taller than the first is fitted too.
    const int measured = std::max(kFewestFirstSpanSteps, static_cast<int>(row.sequence.size()));
    Point low, high;
    const PreviewDrawing shortSide =
        LaidOut(row, solid, StraightPath(FirstSideLength(spacing, measured)), own);
    if (!DrawingExtent(shortSide, low, high)) return {};
    const double tall = high.y - low.y;
    const double beyond = kShownBeyondCorner * std::max(spacing.width, tall);
    const double across = std::max(high.x, FirstSideLength(spacing, measured)) - low.x + beyond;
    double scale = roomW / across;
    if (tall > 0) scale = std::min(scale, roomH / tall);
    if (!(scale > 0) || !std::isfinite(scale)) return {};

    const int steps = FirstSideSteps(spacing, roomW / scale + low.x - beyond);
    const PreviewDrawing drawing = LaidOut(row, solid, SamplePath(row, steps), own);
    Point allLow, allHigh;
    DrawingExtent(drawing, allLow, allHigh);
    PreviewFit fit;
    fit.scale = scale;
    // The whole drawing centred when it fits the height, else the first
    // side's band kept whole: at the top when it fills the height, at the
    // bottom when there is room above it for the rising side.
    double top = high.y;
    if ((allHigh.y - allLow.y) * scale <= roomH)
        top = (allHigh.y + allLow.y) / 2 + roomH / 2 / scale;
    else if (tall * scale < roomH)
        top = low.y + roomH / scale;
    fit.shift = {box.left + margin - scale * low.x, box.top + margin + scale * top};
    PreviewDrawing out;
    out.reserve(drawing.size());
    for (const PreviewPrimitive& p : drawing) out.push_back(fit.Apply(p));
    return out;
}

// The band of a chooser's cell: the row along one straight stretch, so that
// nothing of the form's sample (its corner, its rising side) shows in a cell.
// Its length follows the box's shape, so that the figures stand about
// kSymbolBandShare of the box's height (the rest shows the pitch); a slope
// row's ticks stand between a top edge and a toe parallel to it, one tick
// length below.
PreviewDrawing SymbolPicture(const PatternRow& row, PreviewBox box, const OwnFigureSet* own) {
    const double margin = std::max(kSymbolPictureMargin, kBandMarginShare * box.height);
    const double roomW = std::max(box.width - 2 * margin, 1.0);
    const double roomH = std::max(box.height - 2 * margin, 1.0);
    const double across = roomW / (kSymbolBandShare * roomH);  // length per unit of height
    if (row.rowKind == kRowSlope) {
        const double pitch = Positive(row.pitch, 1.0);
        const double depth = Positive(row.tickLength, 5.0);
        const double length = std::clamp(across * depth, 4 * pitch, 60 * pitch);
        const ElementPath topAndToe[] = {{{LineElement({0, 0}, {length, 0})}, false},
                                         {{LineElement({0, -depth}, {length, -depth})}, false}};
        PreviewDrawing drawing;
        for (const ElementPath& path : topAndToe) AddGuides(drawing, path);
        PreviewRecorder recorder(drawing, &row);
        LayoutInputs in;
        in.row = row;
        in.pathIsDrawn = true;  // drawn above, as guides
        in.splitsTopAndToe = true;
        in.topPoint = Point{length / 2, 0};
        PlanLayout(in, topAndToe).Draw(recorder);
        return Fitted(drawing, box, margin);
    }
    const SampleSpacing spacing = SpacingOf(row);
    const int measured = std::max(kFewestFirstSpanSteps, static_cast<int>(row.sequence.size()));
    Point low, high;
    double tall = 0.0;
    if (DrawingExtent(LaidOut(row, {}, StraightPath(FirstSideLength(spacing, measured)), own), low,
                      high))
        tall = high.y - low.y;
    // A row of lines alone has no height to measure: a few pitches of it.
    const double wanted = tall > 0 ? across * tall / spacing.Pitch() : kFewestSymbolSteps;
    const int steps = static_cast<int>(
        std::clamp(std::round(wanted), double{kFewestSymbolSteps}, double{kMostSymbolSteps}));
    const double length = steps * spacing.Pitch() - spacing.interval;
    return Fitted(LaidOut(row, {}, StraightPath(length), own), box, margin);
}

PreviewDrawing FigurePicture(std::int32_t kind, PreviewBox box, const OwnFigureSet* own) {
    const double side = std::max(std::min(box.width, box.height) - 2 * kPictureMargin, 1.0);
    FigureCell cell;
    cell.eu = {1.0, 0.0};
    cell.ev = {0.0, 1.0};
    cell.W = cell.H = side;
    cell.C = cell.At(side / 2, side / 2);
    PreviewDrawing figure;
    PreviewRecorder recorder(figure);
    if (kind >= kFirstOwnFigureKind) {
        if (own) DrawOwnFigure(*own, kind, cell, UniformFit(), SolidStyle{}, 0, recorder);
    } else {
        DrawFigure(kind, cell, SolidStyle{}, recorder);
    }
    Point low = cell.At(0, 0), high = cell.At(side, side);
    if (Point figureLow, figureHigh; DrawingExtent(figure, figureLow, figureHigh)) {
        low = {std::min(low.x, figureLow.x), std::min(low.y, figureLow.y)};
        high = {std::max(high.x, figureHigh.x), std::max(high.y, figureHigh.y)};
    }
    const double gap = kFrameClearance * std::max(high.x - low.x, high.y - low.y);
    low = {low.x - gap, low.y - gap};
    high = {high.x + gap, high.y + gap};
    PreviewDrawing drawing;
    AddGuides(drawing, {low, {high.x, low.y}, high, {low.x, high.y}}, true);
    drawing.insert(drawing.end(), figure.begin(), figure.end());
    return Fitted(drawing, box, kPictureMargin);
}

void FigurePictures::Use(const OwnFigureSet* own) {
    own_ = own;
    built_.clear();
}

const PreviewDrawing& FigurePictures::AtOrigin(std::int32_t kind, double width, double height) {
    const Key key{kind, width, height};
    auto at = built_.find(key);
    if (at == built_.end())
        at = built_.emplace(key, FigurePicture(kind, {0, 0, width, height}, own_)).first;
    return at->second;
}

PreviewDrawing FigurePictures::Picture(std::int32_t kind, PreviewBox box) {
    const PreviewDrawing& kept = AtOrigin(kind, box.width, box.height);
    PreviewFit moved;
    moved.shift = {box.left, box.top};
    PreviewDrawing out;
    out.reserve(kept.size());
    for (const PreviewPrimitive& p : kept) out.push_back(moved.ApplyUnflipped(p));
    return out;
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

PreviewPrimitive PreviewFit::ApplyUnflipped(const PreviewPrimitive& p) const {
    auto move = [this](Point q) { return Point{shift.x + scale * q.x, shift.y + scale * q.y}; };
    PreviewPrimitive out = p;
    for (Point& point : out.points) point = move(point);
    out.arc.centre = move(p.arc.centre);
    out.arc.r = scale * p.arc.r;
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
        case Shape::Segment: return Loops({p.points}, false, false);
        case Shape::Polygon: return Loops({p.points}, true, true);
        case Shape::Arc: return Loops({ArcPoints(p.arc, segments)}, IsWhole(p.arc), false);
        case Shape::FilledArc: return Loops({ArcPoints(p.arc, segments)}, true, true);
        case Shape::FilledRing:
            return Loops({ArcPoints(p.arc, segments), ArcPoints(Shrunk(p.arc, p.innerR), segments)},
                         true, true);
    }
    return {};
}

}  // namespace tesra
