// A scene as a standalone SVG document.
#include "tools/svg/svg_render.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <type_traits>
#include <utility>
#include <vector>

#include "geom/helpers.h"

namespace tesra::svg {

namespace {

// Shares of the larger side of the drawing, so that any zoom looks alike.
constexpr double kMarginShare = 0.05;
constexpr double kStrokeShare = 0.001;
constexpr double kCaptionShare = 0.03;  // caption text height
constexpr double kLineSpacing = 1.3;    // caption baseline distance / height
constexpr double kPixelSize = 1200.0;   // suggested size of the larger side
constexpr Rgb kFrameColor = 0xC8C8C8;
// Indicated points: a ring and its number, in a color no host pen has, so
// that they are not taken for part of the drawing.
constexpr double kMarkShare = 0.008;       // the ring's radius
constexpr double kMarkLabelShare = 0.025;  // the number's height
constexpr Rgb kMarkColor = 0xD0006F;
constexpr Rgb kBackground = 0xFFFFFF;
constexpr const char* kFontFamily =
    "sans-serif, 'Noto Sans CJK JP', 'Noto Sans JP', 'IPAexGothic', 'Yu Gothic', Meiryo";

// The host's line types 2..9 as SVG dashes, in stroke widths: dash, gap,
// dash, gap… Readable at any zoom and each type told from the others; the
// lengths are this picture's own, not the host's. Round caps lengthen every
// dash by one stroke width, so a dash of 0.5 shows as a dot. Other numbers
// (the host's random and user-defined types) are drawn solid.
struct LineTypeLook {
    std::int32_t type;
    std::initializer_list<double> dashes;
    bool faint;  // the construction line, which the host does not print
};
constexpr LineTypeLook kLineTypeLooks[] = {
    {2, {6, 4}, false},                   // 点線1: short dashes
    {3, {12, 5}, false},                  // 点線2: long dashes
    {4, {0.5, 3.5}, false},               // 点線3: dots
    {5, {16, 4, 0.5, 4}, false},          // 一点鎖1: dash and dot
    {6, {28, 6, 0.5, 6}, false},          // 一点鎖2: long dash and dot
    {7, {16, 4, 0.5, 4, 0.5, 4}, false},  // 二点鎖1: dash and two dots
    {8, {28, 6, 0.5, 6, 0.5, 6}, false},  // 二点鎖2: long dash and two dots
    {9, {3, 3}, true},                    // 補助線: faint short dashes
};

const LineTypeLook* LookOf(std::int32_t lineType) {
    for (const LineTypeLook& look : kLineTypeLooks)
        if (look.type == lineType) return &look;
    return nullptr;
}

// A dot of the drawing, in stroke widths.
constexpr double kPointRadius = 1.5;

Point EllipsePoint(const Ellipse& e, double t) {
    return tesra::EllipsePoint(e.centre.x, e.centre.y, e.r, e.flatness, e.tilt, t);
}

bool IsWhole(const ArcShape& arc) { return std::fabs(arc.sweep) >= kTwoPi; }

// Whether parameter t lies on the arc, which runs from start through sweep.
bool OnArc(const ArcShape& arc, double t) {
    if (IsWhole(arc)) return true;
    const double from = arc.sweep >= 0.0 ? arc.start : arc.start + arc.sweep;
    double d = std::fmod(t - from, kTwoPi);
    if (d < 0.0) d += kTwoPi;
    return d <= std::fabs(arc.sweep);
}

// x and y of an ellipse point are a·cos t + b·sin t: extreme at atan2(b, a)
// and half a turn on.
void AddArcBounds(Bounds& box, const ArcShape& arc) {
    const Ellipse& e = arc.ellipse;
    const double c = std::cos(e.tilt), s = std::sin(e.tilt);
    const double fr = e.flatness * e.r;
    const double extremes[] = {std::atan2(-fr * s, e.r * c), std::atan2(fr * c, e.r * s)};
    for (const double t : extremes) {
        for (const double candidate : {t, t + kPi}) {
            if (OnArc(arc, candidate)) box.Add(EllipsePoint(e, candidate));
        }
    }
    box.Add(EllipsePoint(e, arc.start));
    box.Add(EllipsePoint(e, arc.start + arc.sweep));
}

// Text is not measured; half-width glyphs take about 0.6 of the height,
// the others a full height.
double TextWidth(std::string_view utf8, double height) {
    double width = 0.0;
    for (const char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            width += 0.6 * height;
        else if (b >= 0xC0)
            width += height;
    }
    return width;
}

// The corners of the text's estimated box, turned with it.
void AddTextBounds(Bounds& box, const TextShape& g) {
    const double c = std::cos(g.angle), s = std::sin(g.angle);
    const double width = TextWidth(g.text, g.height);
    for (const double u : {0.0, width}) {
        for (const double v : {-0.25 * g.height, g.height})
            box.Add({g.at.x + u * c - v * s, g.at.y + u * s + v * c});
    }
}

void AddShapeBounds(Bounds& box, const Geometry& geometry) {
    std::visit(
        [&box](const auto& g) {
            using T = std::decay_t<decltype(g)>;
            if constexpr (std::is_same_v<T, LineShape>) {
                box.Add(g.a);
                box.Add(g.b);
            } else if constexpr (std::is_same_v<T, ArcShape>) {
                AddArcBounds(box, g);
            } else if constexpr (std::is_same_v<T, PolygonShape>) {
                for (int i = 0; i < g.count; ++i) box.Add(g.corners[static_cast<std::size_t>(i)]);
            } else if constexpr (std::is_same_v<T, SolidArcShape>) {
                AddArcBounds(box, g.arc);
            } else if constexpr (std::is_same_v<T, RingShape>) {
                AddArcBounds(box, {g.outer, 0.0, kTwoPi});
            } else if constexpr (std::is_same_v<T, FrameShape>) {
                box.Add(g.low);
                box.Add(g.high);
            } else if constexpr (std::is_same_v<T, LabelShape>) {
                const double half = TextWidth(g.text, g.height) / 2.0;
                box.Add({g.at.x - half, g.at.y - 0.25 * g.height});
                box.Add({g.at.x + half, g.at.y + g.height});
            } else if constexpr (std::is_same_v<T, PointShape>) {
                box.Add(g.at);
            } else if constexpr (std::is_same_v<T, TextShape>) {
                AddTextBounds(box, g);
            }
        },
        geometry);
}

// Writes the SVG text; every y goes through Y() to flip the axis.
class SvgWriter {
public:
    // Values this much smaller than the drawing are rounding noise of cos and
    // sin; writing them as 0 keeps the output readable.
    SvgWriter(double strokeWidth, double span) : strokeWidth_(strokeWidth), snap_(span * 1e-12) {}

    std::string& out() { return out_; }

    void Num(double x) {
        if (std::fabs(x) < snap_) x = 0.0;  // also no "-0"
        char buffer[32];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 12);
        out_.append(buffer, result.ptr);
    }
    void Attr(const char* name, double x) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        Num(x);
        out_ += '"';
    }
    void ColorAttr(const char* name, Rgb rgb) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        out_ += buffer;
        out_ += '"';
    }
    void XY(Point p) {
        Num(p.x);
        out_ += ' ';
        Num(-p.y);
    }
    void Text(std::string_view utf8);

    void Write(const Shape& shape);
    void IndicatedMarks(const std::vector<IndicatedPoint>& points, double span);

private:
    void Line(const LineShape& g, Rgb rgb, std::int32_t lineType);
    void Arc(const ArcShape& g, Rgb rgb, std::int32_t lineType);
    void StrokeAttrs(Rgb rgb, std::int32_t lineType);
    void Dot(const PointShape& g, Rgb rgb);
    void DrawingText(const TextShape& g, Rgb rgb);
    void Polygon(const PolygonShape& g, Rgb rgb);
    void SolidArc(const SolidArcShape& g, Rgb rgb);
    void Ring(const RingShape& g, Rgb rgb);
    void Frame(const FrameShape& g);
    void FillAttrs(Rgb rgb);
    void Label(const LabelShape& g, Rgb rgb);
    void WholeEllipse(const Ellipse& e);
    void ArcPath(const ArcShape& arc);
    void ArcTo(const ArcShape& arc);
    void ClosedEllipsePath(const Ellipse& e);

    std::string out_;
    double strokeWidth_;
    double snap_;
};

void SvgWriter::Text(std::string_view utf8) {
    for (const char c : utf8) {
        switch (c) {
            case '&': out_ += "&amp;"; break;
            case '<': out_ += "&lt;"; break;
            case '>': out_ += "&gt;"; break;
            case '"': out_ += "&quot;"; break;
            default:
                // XML 1.0 allows no other control characters.
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out_ += c;
        }
    }
}

void SvgWriter::Write(const Shape& shape) {
    std::visit(
        [this, &shape](const auto& g) {
            using T = std::decay_t<decltype(g)>;
            if constexpr (std::is_same_v<T, LineShape>)
                Line(g, shape.color, shape.lineType);
            else if constexpr (std::is_same_v<T, ArcShape>)
                Arc(g, shape.color, shape.lineType);
            else if constexpr (std::is_same_v<T, PolygonShape>)
                Polygon(g, shape.color);
            else if constexpr (std::is_same_v<T, SolidArcShape>)
                SolidArc(g, shape.color);
            else if constexpr (std::is_same_v<T, RingShape>)
                Ring(g, shape.color);
            else if constexpr (std::is_same_v<T, FrameShape>)
                Frame(g);
            else if constexpr (std::is_same_v<T, LabelShape>)
                Label(g, shape.color);
            else if constexpr (std::is_same_v<T, PointShape>)
                Dot(g, shape.color);
            else if constexpr (std::is_same_v<T, TextShape>)
                DrawingText(g, shape.color);
        },
        shape.geometry);
}

void SvgWriter::StrokeAttrs(Rgb rgb, std::int32_t lineType) {
    ColorAttr("stroke", rgb);
    const LineTypeLook* look = LookOf(lineType);
    if (look == nullptr) return;
    out_ += " stroke-dasharray=\"";
    bool first = true;
    for (const double dash : look->dashes) {
        if (!first) out_ += ' ';
        Num(dash * strokeWidth_);
        first = false;
    }
    out_ += '"';
    if (look->faint) out_ += " stroke-opacity=\"0.5\"";
}

void SvgWriter::Line(const LineShape& g, Rgb rgb, std::int32_t lineType) {
    out_ += "<line";
    Attr("x1", g.a.x);
    Attr("y1", -g.a.y);
    Attr("x2", g.b.x);
    Attr("y2", -g.b.y);
    StrokeAttrs(rgb, lineType);
    out_ += "/>\n";
}

void SvgWriter::Dot(const PointShape& g, Rgb rgb) {
    out_ += "<circle";
    Attr("cx", g.at.x);
    Attr("cy", -g.at.y);
    Attr("r", kPointRadius * strokeWidth_);
    out_ += " stroke=\"none\"";
    ColorAttr("fill", rgb);
    out_ += "/>\n";
}

// Starts at its point on the baseline; turned about that point, the other
// way once y is flipped.
void SvgWriter::DrawingText(const TextShape& g, Rgb rgb) {
    out_ += "<text";
    Attr("x", g.at.x);
    Attr("y", -g.at.y);
    Attr("font-size", g.height);
    const double degrees = Degrees(g.angle);
    if (degrees != 0.0) {
        out_ += " transform=\"rotate(";
        Num(-degrees);
        out_ += ' ';
        XY(g.at);
        out_ += ")\"";
    }
    out_ += " stroke=\"none\"";
    ColorAttr("fill", rgb);
    out_ += " xml:space=\"preserve\">";
    Text(g.text);
    out_ += "</text>\n";
}

// <ellipse> attributes of a whole ellipse; the tilt turns the other way
// once y is flipped.
void SvgWriter::WholeEllipse(const Ellipse& e) {
    out_ += "<ellipse";
    Attr("cx", e.centre.x);
    Attr("cy", -e.centre.y);
    Attr("rx", std::fabs(e.r));
    Attr("ry", std::fabs(e.flatness * e.r));
    const double degrees = std::fmod(Degrees(e.tilt), 360.0);
    if (degrees != 0.0) {
        out_ += " transform=\"rotate(";
        Num(-degrees);
        out_ += ' ';
        XY(e.centre);
        out_ += ")\"";
    }
}

// "M start A …": SVG's sweep flag 0 turns counter-clockwise on screen,
// which after the flip is counter-clockwise in the drawing too. A negative
// flatness mirrors the ellipse and so reverses the direction of growing t.
void SvgWriter::ArcPath(const ArcShape& arc) {
    out_ += 'M';
    XY(EllipsePoint(arc.ellipse, arc.start));
    out_ += ' ';
    ArcTo(arc);
}

// "A …" from the arc's start, where the path stands, to its end.
void SvgWriter::ArcTo(const ArcShape& arc) {
    const Ellipse& e = arc.ellipse;
    const bool counterClockwise = (arc.sweep >= 0.0) == (e.flatness >= 0.0);
    out_ += 'A';
    Num(std::fabs(e.r));
    out_ += ' ';
    Num(std::fabs(e.flatness * e.r));
    out_ += ' ';
    Num(-std::fmod(Degrees(e.tilt), 360.0));
    out_ += std::fabs(arc.sweep) > kPi ? " 1" : " 0";
    out_ += counterClockwise ? " 0 " : " 1 ";
    XY(EllipsePoint(e, arc.start + arc.sweep));
}

// One closed subpath of two halves: a second "M" would end the first half
// as a subpath of its own, closed by a chord across the ellipse.
void SvgWriter::ClosedEllipsePath(const Ellipse& e) {
    ArcPath({e, 0.0, kPi});
    out_ += ' ';
    ArcTo({e, kPi, kPi});
    out_ += 'Z';
}

void SvgWriter::Arc(const ArcShape& g, Rgb rgb, std::int32_t lineType) {
    if (IsWhole(g)) {
        WholeEllipse(g.ellipse);
    } else {
        out_ += "<path d=\"";
        ArcPath(g);
        out_ += '"';
    }
    StrokeAttrs(rgb, lineType);
    out_ += "/>\n";
}

// A thin outline in the fill's own color: without it, anti-aliasing leaves
// faint seams where the pieces of one filled figure meet.
void SvgWriter::FillAttrs(Rgb rgb) {
    ColorAttr("fill", rgb);
    ColorAttr("stroke", rgb);
    Attr("stroke-width", strokeWidth_ / 2.0);
}

void SvgWriter::Polygon(const PolygonShape& g, Rgb rgb) {
    out_ += "<polygon points=\"";
    for (int i = 0; i < g.count; ++i) {
        if (i > 0) out_ += ' ';
        const Point p = g.corners[static_cast<std::size_t>(i)];
        Num(p.x);
        out_ += ',';
        Num(-p.y);
    }
    out_ += '"';
    FillAttrs(rgb);
    out_ += "/>\n";
}

void SvgWriter::SolidArc(const SolidArcShape& g, Rgb rgb) {
    if (IsWhole(g.arc)) {
        WholeEllipse(g.arc.ellipse);
    } else {
        out_ += "<path d=\"";
        ArcPath(g.arc);
        out_ += " Z\"";  // the chord
    }
    FillAttrs(rgb);
    out_ += "/>\n";
}

void SvgWriter::Ring(const RingShape& g, Rgb rgb) {
    out_ += "<path d=\"";
    ClosedEllipsePath(g.outer);
    out_ += ' ';
    ClosedEllipsePath({g.outer.centre, g.innerR, g.outer.flatness, g.outer.tilt});
    out_ += "\" fill-rule=\"evenodd\"";
    FillAttrs(rgb);
    out_ += "/>\n";
}

void SvgWriter::Frame(const FrameShape& g) {
    out_ += "<rect";
    Attr("x", std::min(g.low.x, g.high.x));
    Attr("y", -std::max(g.low.y, g.high.y));
    Attr("width", std::fabs(g.high.x - g.low.x));
    Attr("height", std::fabs(g.high.y - g.low.y));
    ColorAttr("stroke", kFrameColor);
    Attr("stroke-width", strokeWidth_ / 2.0);
    out_ += "/>\n";
}

void SvgWriter::Label(const LabelShape& g, Rgb rgb) {
    out_ += "<text";
    Attr("x", g.at.x);
    Attr("y", -g.at.y);
    Attr("font-size", g.height);
    out_ += " text-anchor=\"middle\" stroke=\"none\"";
    ColorAttr("fill", rgb);
    out_ += '>';
    Text(g.text);
    out_ += "</text>\n";
}

// One mark per place: a chain closed on its first point shows "1,6" once
// instead of two numbers over each other.
std::vector<std::pair<Point, std::string>> MarksByPlace(const std::vector<IndicatedPoint>& points) {
    std::vector<std::pair<Point, std::string>> marks;
    std::map<std::pair<double, double>, std::size_t> placeIndex;
    for (const IndicatedPoint& p : points) {
        const auto [it, isNew] = placeIndex.try_emplace({p.at.x, p.at.y}, marks.size());
        if (isNew)
            marks.emplace_back(p.at, std::to_string(p.number));
        else
            marks[it->second].second += "," + std::to_string(p.number);
    }
    return marks;
}

// Drawn over everything, sized by the drawing's extent like the strokes; the
// number stands up and to the right of its ring, edged in the background
// color so that it reads over lines.
void SvgWriter::IndicatedMarks(const std::vector<IndicatedPoint>& points, double span) {
    if (points.empty()) return;
    const double r = span * kMarkShare;
    const double labelHeight = span * kMarkLabelShare;
    out_ += "<g fill=\"none\"";
    ColorAttr("stroke", kMarkColor);
    Attr("stroke-width", 1.5 * strokeWidth_);
    out_ += ">\n";
    for (const auto& [at, label] : MarksByPlace(points)) {
        out_ += "<circle";
        Attr("cx", at.x);
        Attr("cy", -at.y);
        Attr("r", r);
        out_ += "/>\n<text";
        Attr("x", at.x + 1.2 * r);
        Attr("y", -(at.y + 1.2 * r));
        Attr("font-size", labelHeight);
        ColorAttr("fill", kMarkColor);
        ColorAttr("stroke", kBackground);
        Attr("stroke-width", 2.0 * strokeWidth_);
        out_ += " paint-order=\"stroke\">";
        Text(label);
        out_ += "</text>\n";
    }
    out_ += "</g>\n";
}

}  // namespace

void Bounds::Add(Point p) {
    if (empty) {
        minX = maxX = p.x;
        minY = maxY = p.y;
        empty = false;
        return;
    }
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
}

Bounds SceneBounds(const Scene& scene) {
    Bounds box;
    for (const Shape& shape : scene.shapes) AddShapeBounds(box, shape.geometry);
    for (const IndicatedPoint& p : scene.indicated) box.Add(p.at);
    return box;
}

std::string RenderSvg(const Scene& scene) {
    Bounds box = SceneBounds(scene);
    if (box.empty) box.Add({0.0, 0.0});
    double span = std::max(box.Width(), box.Height());
    if (!(span > 0.0)) span = 1.0;
    const double margin = span * kMarginShare;
    const double captionHeight = span * kCaptionShare;

    double width = box.Width() + 2.0 * margin;
    for (const std::string& caption : scene.captions)
        width = std::max(width, TextWidth(caption, captionHeight) + 2.0 * margin);
    const double captionsHeight =
        static_cast<double>(scene.captions.size()) * captionHeight * kLineSpacing;
    const double height = box.Height() + 2.0 * margin + captionsHeight;
    const double left = box.minX - margin, top = -box.maxY - margin;
    const double pixels =
        scene.pixelsPerUnit > 0.0 ? scene.pixelsPerUnit : kPixelSize / std::max(width, height);

    SvgWriter svg(span * kStrokeShare, span);
    std::string& out = svg.out();
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
    out += " viewBox=\"";
    svg.Num(left);
    out += ' ';
    svg.Num(top);
    out += ' ';
    svg.Num(width);
    out += ' ';
    svg.Num(height);
    out += '"';
    svg.Attr("width", std::ceil(width * pixels));
    svg.Attr("height", std::ceil(height * pixels));
    out += " font-family=\"";
    out += kFontFamily;
    out += "\">\n<rect";
    svg.Attr("x", left);
    svg.Attr("y", top);
    svg.Attr("width", width);
    svg.Attr("height", height);
    svg.ColorAttr("fill", kBackground);
    out += "/>\n<g fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    svg.Attr("stroke-width", span * kStrokeShare);
    out += ">\n";
    for (const Shape& shape : scene.shapes) svg.Write(shape);
    out += "</g>\n";
    svg.IndicatedMarks(scene.indicated, span);
    double baseline = -box.minY + margin;
    for (const std::string& caption : scene.captions) {
        baseline += captionHeight * kLineSpacing;
        out += "<text";
        svg.Attr("x", left + margin);
        svg.Attr("y", baseline);
        svg.Attr("font-size", captionHeight);
        out += '>';
        svg.Text(caption);
        out += "</text>\n";
    }
    out += "</svg>\n";
    return std::move(out);
}

}  // namespace tesra::svg
