#pragma once
// Pieces of the layout core shared by its sources: the band's frame on one
// element, the row's figure sequence, the guide curves and one figure's cell.

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "exchange/draw_target.h"
#include "figures/guide_curves.h"
#include "figures/layout.h"
#include "figures/span_placement.h"

namespace tesra::layout {

struct BendTrack;

struct Guide {
    std::int32_t setting;
    double v;  // height in the band
    RowPart part;
};

// The guide lines' settings and heights in the band: upper, middle, lower.
std::array<Guide, 3> Guides(const PatternRow& row);

// One figure as the sequence places it.
struct SequenceFigure {
    std::int32_t kind = 0;
    double w = 0, h = 0;
};

// The row's figures in the order they stand: one figure only (A, or B for a
// sequence of B alone), or a pattern of A and B repeated (a post every few
// figures, two figures alternating).
class FigureSequence {
public:
    explicit FigureSequence(const PatternRow& row);
    bool Plain() const { return pattern_.empty(); }
    SequenceFigure At(std::int64_t i) const;
    // The widths of figures phase … phase + n − 1 together.
    double WidthOf(std::int64_t phase, std::int64_t n) const;
    double MaxWidth() const;
    double MaxHeight() const;
    // How many figures from `phase` on fit a span of this length with this
    // interval between them; nothing when the count is not defined or too large.
    std::optional<std::int32_t> CountFitting(double length, double interval,
                                             std::int64_t phase) const;

private:
    std::string pattern_;  // of 'A' and 'B', both present; empty: a_ only
    SequenceFigure a_, b_;
    double periodWidth_ = 0;
};

// Everything one layout call shares.
struct Context {
    const LayoutInputs& in;
    double off;  // how far the band's lower edge lies below the path
    FigureSequence sequence;
    std::array<Guide, 3> guides;
    bool hasGapGuides;

    // A guide at height v lies on the path itself when v equals the offset;
    // where the path is already drawn, such a guide is left out, unless it
    // has a pen of its own (a boundary's 一点鎖線): the selected line keeps
    // its own pen when written back, so the guide is drawn over it.
    bool Skips(const Guide& g) const {
        return in.pathIsDrawn && g.v - off == 0 && PenOf(in.row, g.part) == RowPen{};
    }
    // A guide set to "間隔" that is drawn here: it runs across the gaps.
    bool DrawsGap(const Guide& g) const { return g.setting == kGuideGap && !Skips(g); }
    void Draw(std::int32_t kind, const FigureCell& cell, DrawTarget& out) const;
    // The same for a figure that stands from station `start` of `track`: bent
    // along it where the row bends figures (figures/bend.cpp).
    void Draw(std::int32_t kind, const FigureCell& cell, DrawTarget& out, const BendTrack& track,
              double start) const;
    // The figure's elements in its cell, as they stand: no pen, no turning upright.
    void DrawShape(std::int32_t kind, const FigureCell& cell, DrawTarget& out) const;
    FigureCell Oriented(FigureCell cell) const;
};

Context MakeContext(const LayoutInputs& in);

// The band on one element: for a line its frame as between two indicated
// points, for an arc the angle and radius of a station and height.
struct ElementFrame {
    const PathElement* e = nullptr;
    double off = 0;
    double length = 0;
    // lines
    Point aLow, bLow, eu, ev;
    double theta = 0, thetaDeg = 0;
    // arcs: +1 counter-clockwise, −1 clockwise
    double sigma = 1;

    bool IsLine() const { return e->shape == PathElement::Shape::Line; }
    double AngleAt(double station) const { return e->startRad + sigma * station / e->radius; }
    double RadiusAt(double v) const { return e->radius - sigma * (v - off); }
    Point LowAt(double station) const;                                            // lines only
    Point At(double station, double v) const { return LowAt(station) + v * ev; }  // lines only
};

ElementFrame FrameOf(const PathElement& e, double off);

// The cell of a figure whose middle stands at `station`: on a line it starts
// on the band's lower edge at station − w/2, on an arc it is square to the
// radius through the station.
FigureCell CellAtStation(const ElementFrame& f, double w, double h, double station);
// A cell of W x H about `centre`, its span turned by theta (radians).
FigureCell CellTurned(Point centre, double theta, double w, double h);
// The cell of a line figure whose lower-left corner is `o`.
FigureCell LineCell(const ElementFrame& f, Point o, double w, double h);

// The guide curve at height v of element k, met with its neighbours' as the
// full-length guide lines are; `drawn` false where it vanishes.
guide::GuideCurve TrimmedCurve(const Context& c, const ElementPath& path, std::size_t k, double v);

// The elements of one run, with the station where each starts: the one walk
// along a run, for the figures and the guide lines as for a slope's ticks.
// Elements that carry nothing (no length, or a fillet whose offset vanishes
// in the band) stay in the view but take no stations.
class RunView {
public:
    RunView(const ElementPath& path, const PathRun& run, double off,
            const std::function<bool(const PathElement&)>& carries)
        : path_(path), run_(run) {
        const std::size_t n = path.elements.size();
        for (std::size_t i = 0; i < run.count; ++i) {
            index_.push_back((run.first + i) % n);
            const PathElement& e = path.elements[index_.back()];
            frames_.push_back(FrameOf(e, off));
            start_.push_back(length_);
            if (carries(e)) length_ += frames_.back().length;
        }
    }
    double Length() const { return length_; }
    std::size_t Size() const { return index_.size(); }
    std::size_t PathIndex(std::size_t i) const { return index_[i]; }
    const ElementFrame& Frame(std::size_t i) const { return frames_[i]; }
    double StartOf(std::size_t i) const { return start_[i]; }
    const PathRun& Run() const { return run_; }
    // The run's elements as a bent figure follows them.
    BendTrack Track() const;

    // The element holding station s: from `hint` on when it is near (stations
    // mostly come in order), else by halving.
    std::size_t Locate(double s, std::size_t hint) const {
        std::size_t i = std::min(hint, Size() - 1);
        if (s >= start_[i] && (i + 1 == Size() || s < start_[i + 1])) return i;
        if (s >= start_[i] && i + 2 < Size() && s < start_[i + 2]) return i + 1;
        const auto after = std::upper_bound(start_.begin(), start_.end(), s);
        return after == start_.begin() ? 0 : static_cast<std::size_t>(after - start_.begin()) - 1;
    }
    FigureCell CellAt(double middle, double w, double h, std::size_t& hint) const {
        hint = Locate(middle, hint);
        return CellAtStation(frames_[hint], w, h, middle - start_[hint]);
    }
    // Each element's guide, met with its neighbours', is needed at both its
    // ends: worked out once per guide height.
    const guide::GuideCurve& Trimmed(const Context& c, std::size_t i, std::size_t guide,
                                     double v) const {
        auto& cache = trimmed_[guide];
        if (cache.empty()) cache.resize(Size());
        if (!cache[i]) cache[i] = TrimmedCurve(c, path_, index_[i], v);
        return *cache[i];
    }

private:
    const ElementPath& path_;
    PathRun run_;
    std::vector<std::size_t> index_;
    std::vector<ElementFrame> frames_;
    std::vector<double> start_;
    double length_ = 0;
    mutable std::array<std::vector<std::optional<guide::GuideCurve>>, 3> trimmed_;
};

// A stretch of the guide at height v on one element, from station s1 to s2;
// a side given as nullopt runs to the trimmed curve's own end there.
void EmitGuidePiece(const ElementFrame& f, const guide::GuideCurve& trimmed, double v,
                    std::optional<double> s1, std::optional<double> s2, DrawTarget& out);

// The same between two stations of the element, where no end meets another.
void EmitGuideBetween(const ElementFrame& f, double v, double s1, double s2, DrawTarget& out);

// Full-length guides of element k, whose frame is f.
void FullLengthGuides(const Context& c, const ElementPath& path, std::size_t k,
                      const ElementFrame& f, DrawTarget& out);

// Where n figures from sequence position `phase` on stand on a span, as the
// row's placement asks, whatever their widths.
Spacing SequenceSpacing(const Context& c, double length, std::int32_t n, std::int64_t phase);

// A count too large for 32 bits is still far too many figures: counting it
// as none would let a run draw an empty span instead of refusing it.
std::int64_t CountOrTooMany(std::optional<std::int32_t> n, double length, const Context& c);

// A path's runs laid out as 通し or 角に合わせる: where every figure of every
// run stands, worked out once; the count and the drawing both read it.
class RunsPlan {
public:
    RunsPlan(const Context& c, const ElementPath& path);
    ~RunsPlan();
    RunsPlan(RunsPlan&&) noexcept;
    RunsPlan(const RunsPlan&) = delete;
    RunsPlan& operator=(const RunsPlan&) = delete;
    // INT32_MAX or more where a run holds more figures than fit 32 bits.
    std::int64_t FigureCount() const;
    // Every run's figures, then its gap lines and full-length guides.
    void Draw(DrawTarget& out) const;

private:
    struct Runs;
    std::unique_ptr<Runs> runs_;
};

}  // namespace tesra::layout
