#pragma once
// The user's own figures: lines, arcs and solids taken from a drawing and
// repeated like the built-in kinds. A figure keeps its elements in its own
// units, with its box's lower left corner at (0, 0) and its x axis along the
// span; the box is the cell it fills when W and H equal its size.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "exchange/draw_target.h"
#include "figures/figure_cell.h"
#include "figures/figures.h"
#include "figures/pattern.h"
#include "geom/point.h"

namespace tesra {

// The first own figure is kind 107, right after the built-in ones; numbers
// are never given twice, so a row never silently changes figure.
inline constexpr std::int32_t kFirstOwnFigureKind = kFigureKindCount;
inline constexpr std::int32_t kLastOwnFigureKind = 999'999;
// Bounds that keep the library quick to read at every run and every figure
// quick to draw a million times.
inline constexpr std::size_t kMaxOwnFigures = 1000;
inline constexpr std::size_t kMaxOwnFigureElements = 2000;

// One element, its values laid out as the host's own line for it:
//   Line          x1 y1 x2 y2
//   Arc           cx cy r startDeg endDeg flatness tiltDeg   (a circle: 0 360 1 0)
//   SolidPolygon  x1 y1 x2 y2 x3 y3 [x4 y4]
//   SolidEllipse  cx cy r flatness tilt angle1 angle2 code   (radians; code 100 or 5)
//   SolidRing     cx cy r flatness tilt angle1 angle2 rInner (radians)
// The color is the pen of an outline, the RGB of a solid.
struct OwnElement {
    enum class Shape : std::int32_t { Line, Arc, SolidPolygon, SolidEllipse, SolidRing };
    Shape shape = Shape::Line;
    std::int32_t color = 1;
    std::int32_t count = 0;  // values in use
    std::array<double, 8> values{};

    bool operator==(const OwnElement&) const = default;
};

// An element of up to eight values, in the order the host writes them.
OwnElement MakeOwnElement(OwnElement::Shape shape, std::int32_t color,
                          std::initializer_list<double> values);

// Values each shape takes (a polygon: 6 or 8).
bool ValueCountFits(OwnElement::Shape shape, std::int32_t count);
bool IsSolid(OwnElement::Shape shape);
bool AllFinite(const OwnElement& el);  // every value in use

struct OwnFigure {
    std::int32_t kind = kFirstOwnFigureKind;
    std::string name;                  // CP932
    double width = 0.0, height = 0.0;  // the box, from (0, 0)
    std::vector<OwnElement> elements;

    bool operator==(const OwnFigure&) const = default;
};

// Registered figures in ascending kind order.
struct OwnFigureSet {
    std::vector<OwnFigure> figures;
    std::int32_t nextKind = kFirstOwnFigureKind;  // kept across deletions

    const OwnFigure* Find(std::int32_t kind) const;
};

// The box of a drawing: lower left and upper right corners, arcs by their
// true extent. False when there is no finite element.
struct Extent {
    Point low, high;
};
bool ElementsExtent(const std::vector<OwnElement>& elements, Extent& out);

// Own figures hold up to 2000 elements where a built-in kind draws a few:
// a run may place kMaxFiguresPerRun figures, but no more elements than this.
inline constexpr std::int64_t kMaxOwnElementsPerRun = 20'000'000;

// Elements the row's largest own figure draws; 0 when it draws none.
std::int64_t MostOwnElements(const OwnFigureSet& set, const PatternRow& row);

// Whether that many figures of the row would draw more than a run may.
inline bool OwnElementsOverBound(const OwnFigureSet& set, const PatternRow& row,
                                 std::int64_t figures) {
    const std::int64_t each = MostOwnElements(set, row);
    return each > 0 && figures > kMaxOwnElementsPerRun / each;
}

// Draws own figure `kind` into the cell, stretched to W x H or, with
// row.fit == kFitUniform, scaled alike both ways and centred. Outlines in the
// pen in force or, with row.elementColors == 1, each in its own pen; solids
// in their own color or, with the solid switch on, the row's. The pen is
// lineColor again after the figure. An unknown kind draws nothing.
void DrawOwnFigure(const OwnFigureSet& set, std::int32_t kind, const FigureCell& cell,
                   const PatternRow& row, const SolidStyle& solid, std::int32_t lineColor,
                   DrawTarget& out);

}  // namespace tesra
