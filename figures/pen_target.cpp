// The pen of each part of a row, written just before the elements that need it.
#include "figures/pen_target.h"

namespace tesra {
namespace {

constexpr RowPart kParts[] = {RowPart::Figures, RowPart::Upper, RowPart::Middle, RowPart::Lower};

bool IsPenColor(std::int32_t c) { return c >= 1 && c <= kMostPenColor; }
bool IsPenLineType(std::int32_t t) { return t >= 1 && t <= kMostPenLineType; }

}  // namespace

bool HasOwnPens(const PatternRow& row) {
    for (const RowPart part : kParts) {
        const RowPen pen = PenOf(row, part);
        if (IsPenColor(pen.color) || IsPenLineType(pen.lineType)) return true;
    }
    return false;
}

PenTarget::PenTarget(Writer& writer, const PatternRow& row, const Attributes& host)
    : writer_(writer), host_(host), ownPens_(HasOwnPens(row)) {
    for (const RowPart part : kParts) pens_[static_cast<std::size_t>(part)] = PenOf(row, part);
}

DrawTarget& PenTarget::Target() {
    if (ownPens_) return *this;
    return writer_;
}

void PenTarget::BeginPart(RowPart part) {
    part_ = part;
    figurePen_ = false;
}

// The colour, then for lines and arcs the line type and width. A part's own
// colour brings width 0, the host's "width by colour", since that colour is
// what decides the printed weight; the current pen brings the host's width.
void PenTarget::TakePen(Drawn drawn) {
    const RowPen pen = pens_[static_cast<std::size_t>(part_)];
    const bool ownColor = IsPenColor(pen.color);
    if (!figurePen_) writer_.WriteLineColor(ownColor ? pen.color : host_.lineColor, 0);
    if (drawn == Drawn::Solid) return;
    writer_.WriteLineType(IsPenLineType(pen.lineType) ? pen.lineType : host_.lineType, 0);
    writer_.WriteLineWidth(ownColor ? 0 : host_.lineWidth);
}

void PenTarget::EmitLine(Point a, Point b) {
    TakePen(Drawn::Outline);
    writer_.EmitLine(a, b);
}

void PenTarget::EmitArc(Point centre, double r, double startDeg, double endDeg, double flatness,
                        double tiltDeg) {
    TakePen(Drawn::Outline);
    writer_.EmitArc(centre, r, startDeg, endDeg, flatness, tiltDeg);
}

void PenTarget::EmitSolidTriangle(Point a, Point b, Point c) {
    TakePen(Drawn::Solid);
    writer_.EmitSolidTriangle(a, b, c);
}

void PenTarget::EmitSolidQuad(Point a, Point b, Point c, Point d) {
    TakePen(Drawn::Solid);
    writer_.EmitSolidQuad(a, b, c, d);
}

void PenTarget::EmitSolidArc(std::int32_t code, Point centre, double r, double flatness,
                             double tilt, double angle1, double angle2) {
    TakePen(Drawn::Solid);
    writer_.EmitSolidArc(code, centre, r, flatness, tilt, angle1, angle2);
}

void PenTarget::EmitSolidRing(Point centre, double rOuter, double flatness, double tilt,
                              double angle1, double angle2, double rInner) {
    TakePen(Drawn::Solid);
    writer_.EmitSolidRing(centre, rOuter, flatness, tilt, angle1, angle2, rInner);
}

void PenTarget::WriteSolidColor(std::int32_t rgb) {
    writer_.WriteSolidColor(rgb);
    figurePen_ = true;
}

// The layout hands back the host's pen after every figure: that only means
// "the part's pen" again, and is written when an element needs it. Any other
// colour is the figure's own choice and is written as asked.
void PenTarget::WriteLineColor(std::int32_t color, std::int32_t mode) {
    figurePen_ = color != host_.lineColor;
    if (figurePen_) writer_.WriteLineColor(color, mode);
}

}  // namespace tesra
