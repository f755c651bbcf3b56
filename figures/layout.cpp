// The layout core: the row's side and arrangement over every path, and the
// arrangement 辺ごと, in which every element is a span of its own.
#include "figures/layout.h"

#include <limits>
#include <vector>

#include "figures/layout_internal.h"
#include "figures/span_placement.h"
#include "geom/helpers.h"

namespace tesra {
namespace layout {
namespace {

// A line's places are points on the band's lower edge, an arc's are stations:
// both advance by adding, figure after figure, as a span between two
// indicated points always has.
struct LinePlaces {
    const ElementFrame& f;
    Point Start() const { return f.aLow; }
    Point End() const { return f.bLow; }
    Point Advance(Point p, double k) const { return p + k * f.eu; }
    FigureCell Cell(Point o, double w, double h) const { return LineCell(f, o, w, h); }
    void Gap(const Context& c, Point from, Point to, DrawTarget& out) const {
        for (const Guide& g : c.guides)
            if (c.DrawsGap(g)) {
                out.BeginPart(g.part);
                out.EmitLine(from + g.v * f.ev, to + g.v * f.ev);
            }
    }
};

struct ArcPlaces {
    const ElementFrame& f;
    double Start() const { return 0; }
    double End() const { return f.length; }
    double Advance(double s, double k) const { return s + k; }
    FigureCell Cell(double s, double w, double h) const {
        return CellAtStation(f, w, h, s + w / 2);
    }
    void Gap(const Context& c, double from, double to, DrawTarget& out) const {
        for (const Guide& g : c.guides)
            if (c.DrawsGap(g)) {
                out.BeginPart(g.part);
                guide::EmitGuideArc(f.e->centre, f.RadiusAt(g.v), f.AngleAt(from), f.AngleAt(to),
                                    out);
            }
    }
};

template <class Places>
void PlaceOnSpan(const Context& c, const Places& places, double length, std::int32_t n,
                 DrawTarget& out) {
    const Spacing sp = SequenceSpacing(c, length, n, 0);
    auto o = places.Advance(places.Start(), sp.s0);
    auto end = places.Start();
    if (!SameValue(sp.s0, 0)) places.Gap(c, places.Start(), o, out);
    for (std::int32_t i = 1; i <= n; ++i) {
        const SequenceFigure fig = c.sequence.At(i - 1);
        c.Draw(fig.kind, places.Cell(o, fig.w, fig.h), out);
        end = places.Advance(o, fig.w);
        o = places.Advance(o, fig.w + sp.g);
        if (!SameValue(sp.g, 0) && i < n) places.Gap(c, end, o, out);
    }
    if (!SameValue(sp.s0, 0)) places.Gap(c, end, places.End(), out);
}

}  // namespace

Spacing SequenceSpacing(const Context& c, double length, std::int32_t n, std::int64_t phase) {
    const PatternRow& row = c.in.row;
    if (c.sequence.Plain()) return SpacingFor(row, length, n);
    const double figures = n;
    const double left = length - (c.sequence.WidthOf(phase, n) + (figures - 1) * row.interval);
    if (row.placement == kPlaceByInterval) return {left * 0.5, row.interval};
    if (n == 1) return {0.0, 0.0};
    return {0.0, left / (figures - 1) + row.interval};
}

std::int64_t CountOrTooMany(std::optional<std::int32_t> n, double length, const PatternRow& row) {
    if (n) return *n > 0 ? *n : 0;
    const double divisor = row.interval + row.width;
    const bool tooMany = divisor != 0 && (length + row.interval) / divisor > 0;
    return tooMany ? std::numeric_limits<std::int32_t>::max() : 0;
}

bool Skipped(const Context& c, const PathElement& e) {
    return IsDegenerate(e) && !(c.in.keepsZeroLengthSpan && e.shape == PathElement::Shape::Line);
}

std::int64_t ElementFigureCount(const Context& c, const PathElement& e) {
    if (Skipped(c, e)) return 0;
    const double length = ElementLength(e);
    return CountOrTooMany(c.sequence.CountFitting(length, c.in.row.interval, 0), length, c.in.row);
}

// 辺ごと: figures and gap lines of element k as a span of its own, then its
// full-length guides.
void LayOutElement(const Context& c, const ElementPath& path, std::size_t k, DrawTarget& out) {
    const PathElement& e = path.elements[k];
    if (Skipped(c, e)) return;
    const ElementFrame f = FrameOf(e, c.off);
    const auto count = c.sequence.CountFitting(f.length, c.in.row.interval, 0);
    if (!count) return;
    if (f.IsLine())
        PlaceOnSpan(c, LinePlaces{f}, f.length, *count, out);
    else
        PlaceOnSpan(c, ArcPlaces{f}, f.length, *count, out);
    FullLengthGuides(c, path, k, f, out);
}

}  // namespace layout

namespace {

// The band's upper side lies to the left of the path. Inside or outside a
// closed path is reached by running the path the way that puts that side
// (the band's middle, or for a band centred on the path its upper side)
// where the user asked.
ElementPath Sided(const PatternRow& row, const ElementPath& path) {
    if (!path.closed || (row.side != kSideInside && row.side != kSideOutside)) return path;
    const double bandMiddle = row.height / 2 - BandOffset(row.basePoint, row.height);
    const bool bandLeft = bandMiddle >= 0;
    const bool counterClockwise = TwiceArea(path.elements) > 0;
    const bool insideLeft = counterClockwise;
    const bool wantLeftInside = (row.side == kSideInside) == bandLeft;
    return insideLeft == wantLeftInside ? path : Reversed(path);
}

bool PerSide(const PatternRow& row) {
    return row.arrangement != kArrangeThrough && row.arrangement != kArrangeCorners;
}

// A full circle has no ends: in every arrangement it is one closed run.
bool IsCircle(const ElementPath& path) {
    return path.elements.size() == 1 && IsFullCircle(path.elements.front());
}

}  // namespace

void LayOutSpan(const LayoutInputs& in, const ElementPath& path, std::size_t k, DrawTarget& out) {
    layout::LayOutElement(layout::MakeContext(in), path, k, out);
}

ElementPath ChainPath(std::span<const Point> points, int npts) {
    ElementPath path;
    for (int j = 1; j < npts; ++j)
        path.elements.push_back(LineElement(points[static_cast<std::size_t>(j)],
                                            points[static_cast<std::size_t>(j + 1)]));
    path.closed = npts > 2 && SamePoint(points[1], points[static_cast<std::size_t>(npts)]);
    return path;
}

std::int64_t LayoutFigureCount(const LayoutInputs& in, std::span<const ElementPath> paths) {
    constexpr std::int64_t kTooMany = std::numeric_limits<std::int32_t>::max();
    const layout::Context c = layout::MakeContext(in);
    std::int64_t total = 0;
    for (const ElementPath& path : paths) {
        if (PerSide(in.row) && !IsCircle(path)) {
            for (const PathElement& e : path.elements) {
                total += layout::ElementFigureCount(c, e);
                if (total >= kTooMany) return total;
            }
        } else {
            total += layout::RunFigureCount(c, path);
            if (total >= kTooMany) return total;
        }
    }
    return total;
}

void LayOutPaths(const LayoutInputs& in, std::span<const ElementPath> paths, DrawTarget& out) {
    const layout::Context c = layout::MakeContext(in);
    for (const ElementPath& given : paths) {
        const ElementPath path = Sided(in.row, given);
        if (PerSide(in.row) && !IsCircle(path)) {
            for (std::size_t k = 0; k < path.elements.size(); ++k)
                layout::LayOutElement(c, path, k, out);
        } else {
            layout::LayOutRuns(c, path, out);
        }
    }
}

}  // namespace tesra
