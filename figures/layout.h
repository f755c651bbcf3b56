#pragma once
// The one layout of a pattern row along paths, used by every mode and by the
// dialog's preview: figures, gap lines and full-length guide lines.
//
// A path is cut at its sharp corners into runs (geom/path.h). The row's
// arrangement decides how figures stand on it:
//   辺ごと        every element is a span of its own, laid out between its ends;
//   通し          every run is one span measured by arc length, the pitch
//                 unbroken across smooth joints, run ends drawn back from
//                 sharp corners so that no figure crosses into the other side;
//   角に合わせる  a figure on every sharp corner (and at the ends of an open
//                 path), whole numbers of figures evenly between.
// A slope row (法面) lays ticks from the paths as top edges towards the toe
// instead (figures/slope.h). No caller needs to know which kind a row is: the
// plan says what it draws, how many, and why it refuses.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "exchange/draw_target.h"
#include "figures/figure_cell.h"
#include "figures/pattern.h"
#include "geom/path.h"

namespace tesra {

// More figures than this in one run would make a drawing no host can handle;
// the run then draws nothing and says why.
inline constexpr std::int64_t kMaxFiguresPerRun = 1'000'000;

// The user's own figures (kinds from 107 on), defined beside their drawing.
struct OwnFigureSet;

struct LayoutInputs {
    PatternRow row;              // the pattern in use
    SolidStyle solid;            // for the filled kinds
    std::int32_t lineColor = 1;  // restored after every figure
    // The paths are elements already in the drawing (the selection modes): a
    // guide line lying on them is not drawn a second time.
    bool pathIsDrawn = false;
    // Two indicated points that coincide still make a span: its guide lines
    // have always been written (the host drops those of no length).
    bool keepsZeroLengthSpan = false;
    // Registered figures; without them a kind from 107 on draws nothing.
    const OwnFigureSet* ownFigures = nullptr;
    // The paths are a slope's top edge and toe together (法面 between two
    // chains): a slope row takes the path nearest `topPoint` as the top edge
    // and the others as the toe; without the point only a single path can be
    // the top edge. A rule row draws along every path all the same.
    bool splitsTopAndToe = false;
    std::optional<Point> topPoint = std::nullopt;
};

// Why a layout draws nothing: each is one notice of the run.
enum class LayoutRefusal {
    None,
    TooManyFigures,   // more figures, or own figure elements, than a run may draw
    TooManyTicks,     // more slope ticks than a run may draw
    NoTopEdge,        // no point to tell the top edge from the toe by
    PointFarFromTop,  // the point is farther from the top edge than the toe is
    ToeNotMet,        // no perpendicular of the top edge meets the toe
    TicksWouldCross,  // every tick that meets the toe would cross another
};

// How a row meets paths, worked out once: counted, checked and then drawn
// from the very same plan. The paths given to PlanLayout must outlive it.
class LayoutPlan {
public:
    struct Parts;
    explicit LayoutPlan(std::unique_ptr<Parts> parts);
    LayoutPlan(LayoutPlan&&) noexcept;
    LayoutPlan& operator=(LayoutPlan&&) noexcept;
    ~LayoutPlan();

    // Figures (or ticks) the plan draws; INT32_MAX or more for a count that
    // does not fit, which is refused.
    std::int64_t FigureCount() const;
    LayoutRefusal Refusal() const;
    // Everything planned; nothing when the plan is refused.
    void Draw(DrawTarget& out) const;

private:
    std::unique_ptr<Parts> parts_;
};

// The one entry for every mode and the preview: either row kind, its side and
// arrangement over all paths.
LayoutPlan PlanLayout(const LayoutInputs& in, std::span<const ElementPath> paths);

// Which side of a closed path is inside: the left where it runs
// counter-clockwise; a path enclosing no area counts as counter-clockwise.
bool InsideIsLeft(const ElementPath& closed);

// The path run the way that puts the row's band 内側 or 外側 as the row asks,
// its inside lying on its left or not; a row that keeps its base point's side,
// and a slope row, get the path as it is. The one rule of the band's side, for
// the layout and the preview's open sample.
ElementPath SidedPath(const PatternRow& row, const ElementPath& path, bool insideLeft);

// One repeat of the row along a path, for sizing a sample path: a figure's
// width and the interval after it, or for a slope row a long tick and a
// short one at the pitch.
struct RowStep {
    double width, interval;
};
RowStep StepAlong(const PatternRow& row);

// PlanLayout's count and drawing, for callers that need only one of them.
std::int64_t LayoutFigureCount(const LayoutInputs& in, std::span<const ElementPath> paths);
void LayOutPaths(const LayoutInputs& in, std::span<const ElementPath> paths, DrawTarget& out);

// Element k of the path alone as the arrangement 辺ごと lays it out: its
// figures and gap lines as a span of its own, and its full-length guides met
// with its neighbours'.
void LayOutSpan(const LayoutInputs& in, const ElementPath& path, std::size_t k, DrawTarget& out);

// The path through indicated points 1..npts (index 0 unused), one line element
// per side, repeated points kept as zero-length sides; closed when the last
// point is the first.
ElementPath ChainPath(std::span<const Point> points, int npts);

}  // namespace tesra
