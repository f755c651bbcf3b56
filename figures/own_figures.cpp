// The user's own figures: their extent, and their drawing into a cell.
#include "figures/own_figures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "exchange/host_codes.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

using Shape = OwnElement::Shape;

void Include(Extent& e, Point p) {
    e.low = {std::min(e.low.x, p.x), std::min(e.low.y, p.y)};
    e.high = {std::max(e.high.x, p.x), std::max(e.high.y, p.y)};
}

// The ellipse's part from startRad over sweepRad: its ends and every point
// where x or y turns that lies on it.
void IncludeEllipseArc(Extent& e, Point c, double r, double flatness, double tilt, double startRad,
                       double sweepRad) {
    const auto at = [&](double t) { return EllipsePoint(c.x, c.y, r, flatness, tilt, t); };
    Include(e, at(startRad));
    Include(e, at(startRad + sweepRad));
    const double st = std::sin(tilt), ct = std::cos(tilt);
    const double turns[] = {std::atan2(-flatness * st, ct), std::atan2(flatness * ct, st)};
    for (double t0 : turns)
        for (double t : {t0, t0 + kPi}) {
            double from = std::fmod(t - startRad, 2 * kPi);
            if (from < 0) from += 2 * kPi;
            if (from <= sweepRad) Include(e, at(t));
        }
}

void IncludeElement(Extent& e, const OwnElement& el) {
    const auto& v = el.values;
    switch (el.shape) {
        case Shape::Line:
            Include(e, {v[0], v[1]});
            Include(e, {v[2], v[3]});
            return;
        case Shape::Arc:
            return IncludeEllipseArc(e, {v[0], v[1]}, v[2], v[5], v[6] * kDegToRad,
                                     v[3] * kDegToRad, SweepDeg(v[3], v[4]) * kDegToRad);
        case Shape::SolidPolygon:
            for (std::int32_t i = 0; i + 1 < el.count; i += 2) Include(e, {v[i], v[i + 1]});
            return;
        case Shape::SolidEllipse: {
            // A part (code 5) is closed by its chord, whose ends are on the arc.
            const bool whole = static_cast<std::int32_t>(v[7]) == kFullEllipseCode;
            return IncludeEllipseArc(e, {v[0], v[1]}, v[2], v[3], v[4], whole ? 0.0 : v[5],
                                     whole ? 2 * kPi : std::fabs(v[6]));
        }
        case Shape::SolidRing:
            return IncludeEllipseArc(e, {v[0], v[1]}, v[2], v[3], v[4], 0.0, 2 * kPi);
    }
}

// Where the figure's own units land in the cell: u = u0 + x·sx, v = v0 + y·sy.
struct Placement {
    const FigureCell& cell;
    double sx, sy, u0, v0;

    Point Map(double x, double y) const { return cell.At(u0 + x * sx, v0 + y * sy); }
};

Placement PlacementFor(const OwnFigure& f, const FigureCell& cell, const PatternRow& row) {
    const double sx = cell.W / f.width, sy = cell.H / f.height;
    if (row.fit != kFitUniform || !(sx > 0) || !(sy > 0)) return {cell, sx, sy, 0.0, 0.0};
    const double s = std::min(sx, sy);
    return {cell, s, s, (cell.W - s * f.width) / 2, (cell.H - s * f.height) / 2};
}

// An ellipse through the placement: with a scale alike both ways it only
// turns with the cell; stretched, its conjugate semi-axes are no longer at
// right angles and it is found again as R(tilt)·diag(r, r·flatness)·R(shift),
// its parameter moved by shift. A mirrored placement reverses its direction.
struct MappedEllipse {
    double r, flatness, tilt, shift;
    bool reversed;
};

MappedEllipse MapEllipse(const Placement& p, double r, double flatness, double tilt) {
    if (p.sx == p.sy && p.sx > 0) return {r * p.sx, flatness, tilt + p.cell.theta, 0.0, false};
    const double a = r, b = r * flatness, ct = std::cos(tilt), st = std::sin(tilt);
    const bool reversed = (p.sx * p.sy < 0) != (b < 0);
    const double side = reversed ? -1.0 : 1.0;
    const double m00 = p.sx * a * ct, m01 = -p.sx * b * st * side;
    const double m10 = p.sy * a * st, m11 = p.sy * b * ct * side;
    const double e = (m00 + m11) / 2, f = (m00 - m11) / 2;
    const double g = (m10 + m01) / 2, h = (m10 - m01) / 2;
    const double q = std::hypot(e, h), s = std::hypot(f, g);
    const double a1 = std::atan2(g, f), a2 = std::atan2(h, e);
    const double major = q + s, minor = q - s;
    return {major, major > 0 ? minor / major : 0.0, (a2 + a1) / 2 + p.cell.theta, (a2 - a1) / 2,
            reversed};
}

void DrawArc(const Placement& p, const OwnElement& el, DrawTarget& out) {
    const auto& v = el.values;
    const MappedEllipse m = MapEllipse(p, v[2], v[5], v[6] * kDegToRad);
    const Point c = p.Map(v[0], v[1]);
    if (m.shift == 0.0 && !m.reversed) {
        // Only turned: the angles stay the element's own, to the bit.
        return out.EmitArc(c, m.r, v[3], v[4], m.flatness, v[6] + p.cell.thetaDeg);
    }
    const double tiltDeg = m.tilt / kDegToRad;
    const double sweep = SweepDeg(v[3], v[4]);
    if (sweep == kFullTurnDeg) return out.EmitArc(c, m.r, 0, kFullTurnDeg, m.flatness, tiltDeg);
    const double shiftDeg = m.shift / kDegToRad;
    const double start = (m.reversed ? -(v[3] + sweep) : v[3]) + shiftDeg;
    out.EmitArc(c, m.r, NormalisedDeg(start), NormalisedDeg(start + sweep), m.flatness, tiltDeg);
}

void DrawSolid(const Placement& p, const OwnElement& el, DrawTarget& out) {
    const auto& v = el.values;
    if (el.shape == Shape::SolidPolygon) {
        const auto at = [&](int i) { return p.Map(v[2 * i], v[2 * i + 1]); };
        if (el.count == 6) return out.EmitSolidTriangle(at(0), at(1), at(2));
        return out.EmitSolidQuad(at(0), at(1), at(2), at(3));
    }
    const MappedEllipse m = MapEllipse(p, v[2], v[3], v[4]);
    const Point c = p.Map(v[0], v[1]);
    const double first = (m.reversed ? -(v[5] + v[6]) : v[5]) + m.shift;
    if (el.shape == Shape::SolidRing) {
        const double inner = v[2] != 0 ? v[7] / v[2] * m.r : 0.0;
        return out.EmitSolidRing(c, m.r, m.flatness, m.tilt, first, v[6], inner);
    }
    out.EmitSolidArc(static_cast<std::int32_t>(v[7]), c, m.r, m.flatness, m.tilt, first, v[6]);
}

}  // namespace

bool ValueCountFits(Shape shape, std::int32_t count) {
    switch (shape) {
        case Shape::Line: return count == 4;
        case Shape::Arc: return count == 7;
        case Shape::SolidPolygon: return count == 6 || count == 8;
        case Shape::SolidEllipse:
        case Shape::SolidRing: return count == 8;
    }
    return false;
}

OwnElement MakeOwnElement(Shape shape, std::int32_t color, std::initializer_list<double> values) {
    OwnElement el{shape, color, 0, {}};
    for (const double v : values)
        if (el.count < static_cast<std::int32_t>(el.values.size()))
            el.values[static_cast<std::size_t>(el.count++)] = v;
    return el;
}

bool IsSolid(Shape shape) { return shape != Shape::Line && shape != Shape::Arc; }

bool AllFinite(const OwnElement& el) {
    return std::all_of(el.values.begin(), el.values.begin() + el.count,
                       [](double v) { return std::isfinite(v); });
}

const OwnFigure* OwnFigureSet::Find(std::int32_t kind) const {
    const auto at = std::lower_bound(figures.begin(), figures.end(), kind,
                                     [](const OwnFigure& f, std::int32_t k) { return f.kind < k; });
    return at != figures.end() && at->kind == kind ? &*at : nullptr;
}

bool ElementsExtent(const std::vector<OwnElement>& elements, Extent& out) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    Extent e{{kInf, kInf}, {-kInf, -kInf}};
    bool any = false;
    for (const OwnElement& el : elements) {
        if (!AllFinite(el) || !ValueCountFits(el.shape, el.count)) continue;
        IncludeElement(e, el);
        any = true;
    }
    if (any) out = e;
    return any;
}

std::int64_t MostOwnElements(const OwnFigureSet& set, const PatternRow& row) {
    std::size_t most = 0;
    auto include = [&](bool drawn, std::int32_t kind) {
        if (const OwnFigure* f = drawn ? set.Find(kind) : nullptr)
            most = std::max(most, f->elements.size());
    };
    include(DrawsFigureA(row), row.figureKind);
    include(DrawsFigureB(row), row.figureB);
    return static_cast<std::int64_t>(most);
}

void DrawOwnFigure(const OwnFigureSet& set, std::int32_t kind, const FigureCell& cell,
                   const PatternRow& row, const SolidStyle& solid, std::int32_t lineColor,
                   DrawTarget& out) {
    const OwnFigure* figure = set.Find(kind);
    if (!figure) return;
    const Placement p = PlacementFor(*figure, cell, row);
    const bool ownPens = row.elementColors == 1;
    bool penMoved = false;  // a solid color or an element's pen is in force
    for (const OwnElement& el : figure->elements) {
        if (IsSolid(el.shape)) {
            out.WriteSolidColor(solid.enabled ? solid.color : el.color);
            penMoved = true;
            DrawSolid(p, el, out);
            continue;
        }
        // Pen 10 draws in a solid color the element does not carry: such an
        // outline takes the pen in force instead.
        const bool ownPen = ownPens && el.color != kSolidColorPen;
        if (ownPens || penMoved) out.WriteLineColor(ownPen ? el.color : lineColor, 0);
        penMoved = ownPens;
        if (el.shape == Shape::Line) {
            const auto& v = el.values;
            out.EmitLine(p.Map(v[0], v[1]), p.Map(v[2], v[3]));
        } else {
            DrawArc(p, el, out);
        }
    }
    if (penMoved) out.WriteLineColor(lineColor, 0);
}

}  // namespace tesra
