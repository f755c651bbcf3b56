#pragma once
// What the viewer draws, in drawing coordinates (y grows upwards): the
// elements of an exchange file with their resolved colors, plus the frames
// and labels that the gallery adds around them.

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "geom/point.h"

namespace tesra::svg {

// 0xRRGGBB, the order SVG colors are written in.
using Rgb = std::uint32_t;

// Centre, semi-axis r along the first axis (turned by tilt, radians,
// counter-clockwise), semi-axis flatness·r along the second.
struct Ellipse {
    Point centre;
    double r = 0.0;
    double flatness = 1.0;
    double tilt = 0.0;
};

struct LineShape {
    Point a, b;
};

// Parameter angles in radians; sweep is signed, counter-clockwise when
// positive for a positive flatness. |sweep| >= 2π is the whole ellipse.
struct ArcShape {
    Ellipse ellipse;
    double start = 0.0;
    double sweep = 0.0;
};

struct PolygonShape {
    std::array<Point, 4> corners{};
    int count = 0;  // 3 or 4
};

// A filled ellipse, or the part between the arc and its chord.
struct SolidArcShape {
    ArcShape arc;
};

struct RingShape {
    Ellipse outer;
    double innerR = 0.0;
};

// Thin light outline of an axis-aligned box; not part of any drawing.
struct FrameShape {
    Point low, high;
};

// UTF-8 text centred on its baseline point.
struct LabelShape {
    Point at;
    double height = 1.0;
    std::string text;
};

// A point of the drawing, shown as a dot.
struct PointShape {
    Point at;
};

// A text of the drawing: UTF-8, starting at its baseline point and running at
// angle (radians, counter-clockwise from the x axis).
struct TextShape {
    Point at;
    double height = 1.0;
    double angle = 0.0;
    std::string text;
};

using Geometry = std::variant<LineShape, ArcShape, PolygonShape, SolidArcShape, RingShape,
                              FrameShape, LabelShape, PointShape, TextShape>;

// The host's line types as its files number them; 1 is solid.
inline constexpr std::int32_t kSolidLineType = 1;

struct Shape {
    Geometry geometry;
    Rgb color = 0;
    std::int32_t lineType = kSolidLineType;  // for lines and arcs; solids are filled
};

// A point the user indicated to the host ("hp3 x y"): the points modes 1 and
// 2 draw between, and the point that picks a slope's top edge. Not part of
// the drawing: shown as a small numbered mark over it.
struct IndicatedPoint {
    Point at;
    std::int32_t number = 0;
};

struct Scene {
    std::vector<Shape> shapes;
    std::vector<IndicatedPoint> indicated;  // in the file's order
    std::vector<std::string> captions;      // messages of the file, UTF-8
    // The SVG's own size: pixels per drawing unit, or 0 to give the larger
    // side a fixed size whatever the drawing's extent.
    double pixelsPerUnit = 0.0;
};

}  // namespace tesra::svg
