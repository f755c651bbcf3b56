// The layout core: the row's side and arrangement over every path, and the
// arrangement 辺ごと, in which every element is a span of its own.
#include "figures/layout.h"

#include <cmath>
#include <deque>
#include <limits>
#include <utility>
#include <variant>
#include <vector>

#include "figures/bend.h"
#include "figures/layout_internal.h"
#include "figures/layout_slope.h"
#include "figures/own_figures.h"
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
    void Draw(const Context& c, const SequenceFigure& fig, Point o, DrawTarget& out) const {
        c.Draw(fig.kind, Cell(o, fig.w, fig.h), out);
    }
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
    // An arc's figures bend along it where the row bends them.
    void Draw(const Context& c, const SequenceFigure& fig, double s, DrawTarget& out) const {
        static constexpr double kStartsAtZero[] = {0.0};
        c.Draw(fig.kind, Cell(s, fig.w, fig.h), out, BendTrack{{&f, 1}, kStartsAtZero, f.length},
               s);
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
        places.Draw(c, fig, o, out);
        end = places.Advance(o, fig.w);
        o = places.Advance(o, fig.w + sp.g);
        if (!SameValue(sp.g, 0) && i < n) places.Gap(c, end, o, out);
    }
    if (!SameValue(sp.s0, 0)) places.Gap(c, end, places.End(), out);
}

}  // namespace

bool Skipped(const Context& c, const PathElement& e) {
    return IsDegenerate(e) && !(c.in.keepsZeroLengthSpan && e.shape == PathElement::Shape::Line);
}

// 辺ごと: figures and gap lines of element k as a span of its own, count
// figures as planned, then its full-length guides.
void LayOutElement(const Context& c, const ElementPath& path, std::size_t k,
                   std::optional<std::int32_t> count, DrawTarget& out) {
    const ElementFrame f = FrameOf(path.elements[k], c.off);
    if (!count) return;
    if (f.IsLine())
        PlaceOnSpan(c, LinePlaces{f}, f.length, *count, out);
    else
        PlaceOnSpan(c, ArcPlaces{f}, f.length, *count, out);
    FullLengthGuides(c, path, k, f, out);
}

// 辺ごと over a whole path: how many figures each element takes.
class ElementsPlan {
public:
    ElementsPlan(const Context& c, const ElementPath& path) : c_(c), path_(path) {
        for (std::size_t k = 0; k < path.elements.size(); ++k) {
            const PathElement& e = path.elements[k];
            if (Skipped(c, e)) continue;
            const double length = ElementLength(e);
            const auto n = c.sequence.CountFitting(length, c.in.row.interval, 0);
            counts_.push_back({k, n});
            total_ += CountOrTooMany(n, length, c);
            if (total_ >= std::numeric_limits<std::int32_t>::max()) return;
        }
    }
    std::int64_t FigureCount() const { return total_; }
    void Draw(DrawTarget& out) const {
        for (const auto& [k, n] : counts_) LayOutElement(c_, path_, k, n, out);
    }

private:
    const Context& c_;
    const ElementPath& path_;
    std::vector<std::pair<std::size_t, std::optional<std::int32_t>>> counts_;
    std::int64_t total_ = 0;
};

}  // namespace layout

namespace {

bool PerSide(const PatternRow& row) {
    return row.arrangement != kArrangeThrough && row.arrangement != kArrangeCorners;
}

// A full circle has no ends: in every arrangement it is one closed run.
bool IsCircle(const ElementPath& path) {
    return path.elements.size() == 1 && IsFullCircle(path.elements.front());
}

}  // namespace

// Everything a plan holds: its own copy of the inputs, which the context and
// the plans refer to, and for a rule row one plan per path, closed paths run
// the way their side asks.
struct LayoutPlan::Parts {
    explicit Parts(const LayoutInputs& given) : in(given) {}
    LayoutInputs in;
    std::optional<layout::SlopeLayout> slope;
    std::optional<layout::Context> c;
    std::deque<ElementPath> sided;  // references into it stay valid as it grows
    std::vector<std::variant<layout::ElementsPlan, layout::RunsPlan>> plans;
    std::int64_t count = 0;
    LayoutRefusal refusal = LayoutRefusal::None;

    void PlanRule(std::span<const ElementPath> paths);
    bool TooMany() const;
};

// Every path in the row's arrangement, planned until the count no longer
// fits: a run refuses it whatever the rest would add.
void LayoutPlan::Parts::PlanRule(std::span<const ElementPath> paths) {
    constexpr std::int64_t kTooMany = std::numeric_limits<std::int32_t>::max();
    const layout::Context& ctx = c.emplace(layout::MakeContext(in));
    for (const ElementPath& given : paths) {
        // An open path is laid out as given, uncopied.
        const ElementPath& path =
            given.closed ? sided.emplace_back(SidedPath(in.row, given, InsideIsLeft(given)))
                         : given;
        if (PerSide(in.row) && !IsCircle(path))
            plans.emplace_back(std::in_place_type<layout::ElementsPlan>, ctx, path);
        else
            plans.emplace_back(std::in_place_type<layout::RunsPlan>, ctx, path);
        // A bent figure counts as the pieces it may become.
        count += layout::BendWeight(in.row, path) *
                 std::visit([](const auto& plan) { return plan.FigureCount(); }, plans.back());
        if (count >= kTooMany) break;
    }
    if (TooMany()) refusal = LayoutRefusal::TooManyFigures;
}

bool LayoutPlan::Parts::TooMany() const {
    if (count > kMaxFiguresPerRun) return true;
    return in.ownFigures != nullptr && OwnElementsOverBound(*in.ownFigures, in.row, count);
}

LayoutPlan::LayoutPlan(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
LayoutPlan::LayoutPlan(LayoutPlan&&) noexcept = default;
LayoutPlan& LayoutPlan::operator=(LayoutPlan&&) noexcept = default;
LayoutPlan::~LayoutPlan() = default;

std::int64_t LayoutPlan::FigureCount() const {
    return parts_->slope ? parts_->slope->FigureCount() : parts_->count;
}

LayoutRefusal LayoutPlan::Refusal() const {
    return parts_->slope ? parts_->slope->Refusal() : parts_->refusal;
}

void LayoutPlan::Draw(DrawTarget& out) const {
    if (Refusal() != LayoutRefusal::None) return;
    if (parts_->slope) return parts_->slope->Draw(out);
    for (const auto& plan : parts_->plans) std::visit([&](const auto& p) { p.Draw(out); }, plan);
}

LayoutPlan PlanLayout(const LayoutInputs& in, std::span<const ElementPath> paths) {
    auto parts = std::make_unique<LayoutPlan::Parts>(in);
    if (IsSlopeRow(in.row))
        parts->slope.emplace(parts->in, paths);
    else
        parts->PlanRule(paths);
    return LayoutPlan(std::move(parts));
}

bool InsideIsLeft(const ElementPath& closed) { return TwiceArea(closed.elements) >= 0; }

// The band's upper side lies to the left of the path. Inside or outside is
// reached by running the path the way that puts that side (the band's
// middle, or for a band centred on the path its upper side) where the user
// asked. A slope's ticks find their side from the toe.
ElementPath SidedPath(const PatternRow& row, const ElementPath& path, bool insideLeft) {
    if (IsSlopeRow(row) || (row.side != kSideInside && row.side != kSideOutside)) return path;
    const double bandMiddle = row.height / 2 - BandOffset(row.basePoint, row.height);
    const bool bandLeft = bandMiddle >= 0;
    const bool wantLeftInside = (row.side == kSideInside) == bandLeft;
    return insideLeft == wantLeftInside ? path : Reversed(path);
}

void LayOutSpan(const LayoutInputs& in, const ElementPath& path, std::size_t k, DrawTarget& out) {
    const layout::Context c = layout::MakeContext(in);
    if (layout::Skipped(c, path.elements[k])) return;
    const auto n = c.sequence.CountFitting(ElementLength(path.elements[k]), in.row.interval, 0);
    layout::LayOutElement(c, path, k, n, out);
}

ElementPath ChainPath(std::span<const Point> points, int npts) {
    ElementPath path;
    for (int j = 1; j < npts; ++j)
        path.elements.push_back(LineElement(points[static_cast<std::size_t>(j)],
                                            points[static_cast<std::size_t>(j + 1)]));
    path.closed = npts > 2 && SamePoint(points[1], points[static_cast<std::size_t>(npts)]);
    return path;
}

RowStep StepAlong(const PatternRow& row) {
    if (IsSlopeRow(row)) return {2 * row.pitch, 0};
    return {std::fabs(row.width), row.interval};
}

std::int64_t LayoutFigureCount(const LayoutInputs& in, std::span<const ElementPath> paths) {
    return PlanLayout(in, paths).FigureCount();
}

void LayOutPaths(const LayoutInputs& in, std::span<const ElementPath> paths, DrawTarget& out) {
    PlanLayout(in, paths).Draw(out);
}

}  // namespace tesra
