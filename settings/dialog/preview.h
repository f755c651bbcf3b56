#pragma once
// Pictures of patterns for the settings dialog: what a row draws along a
// short sample path, and what one figure kind draws in its cell. Both come
// from the real span placement and figure code, recorded as primitives and
// scaled into a box of pixels, so that a window only has to paint them.

#include <compare>
#include <cstdint>
#include <map>
#include <vector>

#include "exchange/draw_target.h"
#include "figures/figure_cell.h"
#include "figures/own_figures.h"
#include "figures/pattern.h"
#include "geom/path.h"
#include "geom/point.h"

namespace tesra {

// A box of device pixels; y grows downwards, as on screen.
struct PreviewBox {
    double left = 0.0, top = 0.0, width = 0.0, height = 0.0;
};

enum class PreviewInk {
    Pen,    // the line color of the drawing
    Solid,  // the user's solid color (bgr of the primitive)
    Guide,  // the sample path or the cell frame beneath the drawing, drawn light
};

// An elliptic arc: the point at parameter t is centre + turned by tilt
// (r cos t, flatness r sin t). Radians; |sweep| >= 2π is the whole ellipse.
struct PreviewArc {
    Point centre;
    double r = 0.0, flatness = 1.0, tilt = 0.0, start = 0.0, sweep = 0.0;
};

struct PreviewPrimitive {
    enum class Shape {
        Segment,     // points: the two ends
        Arc,         // arc
        Polygon,     // points: 3 or 4 corners, filled
        FilledArc,   // arc closed by its chord (or the whole ellipse), filled
        FilledRing,  // between arc (whole) and the ellipse of radius innerR, filled
    };
    Shape shape = Shape::Segment;
    std::vector<Point> points;
    PreviewArc arc;
    double innerR = 0.0;
    PreviewInk ink = PreviewInk::Pen;
    RowPen pen;            // PreviewInk::Pen: the pen the row gives the part it belongs to
    std::int32_t bgr = 0;  // PreviewInk::Solid only, 0x00BBGGRR
};

using PreviewDrawing = std::vector<PreviewPrimitive>;

// Everything recorded through a DrawTarget, in the target's coordinates;
// with a row, each primitive carries the pen the row gives its part.
class PreviewRecorder final : public DrawTarget {
public:
    explicit PreviewRecorder(PreviewDrawing& out, const PatternRow* row = nullptr)
        : out_(out), row_(row) {}
    void BeginPart(RowPart part) override;
    void EmitLine(Point a, Point b) override;
    void EmitArc(Point centre, double r, double startDeg, double endDeg, double flatness,
                 double tiltDeg) override;
    void EmitSolidTriangle(Point a, Point b, Point c) override;
    void EmitSolidQuad(Point a, Point b, Point c, Point d) override;
    void EmitSolidArc(std::int32_t code, Point centre, double r, double flatness, double tilt,
                      double angle1, double angle2) override;
    void EmitSolidRing(Point centre, double rOuter, double flatness, double tilt, double angle1,
                       double angle2, double rInner) override;
    void WriteSolidColor(std::int32_t rgb) override;
    void WriteLineColor(std::int32_t color, std::int32_t mode) override;

private:
    void Add(PreviewPrimitive p);

    PreviewDrawing& out_;
    const PatternRow* row_;
    RowPen pen_;
    PreviewInk ink_ = PreviewInk::Pen;
    std::int32_t bgr_ = 0;
};

// The sample path, in pitches of the row (width and interval): a straight
// first side of firstSideSteps pitches and a half, a sharp corner to the left,
// then a side that bends gently back on a tangent arc. Each arrangement of a
// row shows on it: the rhythm through the curve, the corner figures, the
// figures' orientation.
ElementPath SamplePath(const PatternRow& row, int firstSideSteps);

// The row laid along the sample path by the drawing modes' own layout, the
// path itself beneath in PreviewInk::Guide. The figures of the first side
// stand as tall as the box allows, and at least two of them, the corner and
// the path's start beyond it are inside the box; the rest may run past its
// edges and is cut off where the window paints it. Own figures are drawn from
// own, when given.
PreviewDrawing PatternPreview(const PatternRow& row, const SolidStyle& solid, PreviewBox box,
                              const OwnFigureSet* own = nullptr);

// The row along a short straight stretch (a slope row: its ticks between a
// top edge and a parallel toe), the whole of it fitted into box with its
// proportions kept: a symbol's picture in the chooser.
PreviewDrawing SymbolPicture(const PatternRow& row, PreviewBox box,
                             const OwnFigureSet* own = nullptr);

// One figure of kind in a square cell, so that a circle stays round however
// the box is shaped, centred in the box; beneath it in PreviewInk::Guide a
// frame around the cell (and whatever of the figure reaches out of it) that
// keeps clear of the figure. An own figure keeps its proportions in the
// cell; one that own does not hold draws the frame alone.
PreviewDrawing FigurePicture(std::int32_t kind, PreviewBox box, const OwnFigureSet* own = nullptr);

// Figure pictures kept from one paint to the next: an own figure may have
// thousands of elements, and the lists and the chooser paint the same kinds
// at the same few sizes again and again. A picture is built once per kind and
// size for the own figures in use, and moved to the box asked for.
class FigurePictures {
public:
    explicit FigurePictures(const OwnFigureSet* own = nullptr) : own_(own) {}
    // Another set of own figures (or the same one changed): every picture anew.
    void Use(const OwnFigureSet* own);
    PreviewDrawing Picture(std::int32_t kind, PreviewBox box);
    // The kept picture itself, in a box of that size at (0, 0): a painter
    // that moves what it paints need not copy it.
    const PreviewDrawing& AtOrigin(std::int32_t kind, double width, double height);

private:
    struct Key {
        std::int32_t kind;
        double width, height;
        auto operator<=>(const Key&) const = default;
    };
    const OwnFigureSet* own_;
    std::map<Key, PreviewDrawing> built_;
};

// Drawing coordinates (y up) to the box (y down): the largest uniform scale
// that puts from..to inside the box less margin, centred.
struct PreviewFit {
    double scale = 1.0;
    Point shift;  // box point = shift + scale * (x, -y)

    static PreviewFit Into(Point from, Point to, PreviewBox box, double margin);
    Point Apply(Point p) const { return {shift.x + scale * p.x, shift.y - scale * p.y}; }
    PreviewPrimitive Apply(const PreviewPrimitive& p) const;
    // Within the box's own coordinates: shift + scale * (x, y), no mirror.
    PreviewPrimitive ApplyUnflipped(const PreviewPrimitive& p) const;
};

// The corners of the extent of a drawing (arcs by their true curve); false
// when the drawing is empty.
bool DrawingExtent(const PreviewDrawing& drawing, Point& low, Point& high);

// A primitive as a painter draws it: polylines within tolerance pixels of the
// curves. Closed loops of a filled shape are filled with the even-odd rule (a
// ring is two loops).
struct PaintShape {
    std::vector<std::vector<Point>> loops;
    bool closed = false;
    bool filled = false;
};
PaintShape Flatten(const PreviewPrimitive& p, double tolerance);

}  // namespace tesra
