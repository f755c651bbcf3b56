// Kinds 0..19, the line marks: rules, bars, slashes, angles and chevrons.
// Each kind is its list of segments in emission order. The direction of every
// segment is kept as listed because the host stores a line as written.

#include <array>
#include <cstddef>
#include <span>

#include "figures/families.h"
#include "figures/segment_table.h"

namespace tesra {
namespace {

// A rule runs left to right at height v, a bar bottom to top at u.
constexpr CellSegment Rule(Frac v) { return {{k0, v}, {k1, v}}; }
constexpr CellSegment Bar(Frac u) { return {{u, k0}, {u, k1}}; }

// Stacked rules are drawn from the top down.
constexpr CellSegment kTopRule[] = {Rule(k1)};
constexpr CellSegment kMiddleRule[] = {Rule(kHalf)};
constexpr CellSegment kBottomRule[] = {Rule(k0)};
constexpr CellSegment kDoubleRule[] = {Rule(k1), Rule(k0)};
constexpr CellSegment kTripleRule[] = {Rule(k1), Rule(kHalf), Rule(k0)};
constexpr CellSegment kQuadrupleRule[] = {Rule(k1), Rule(kTwoThirds), Rule(kThird), Rule(k0)};
constexpr CellSegment kQuintupleRule[] = {Rule(k1), Rule(kThreeQuarters), Rule(kHalf),
                                          Rule(kQuarter), Rule(k0)};

constexpr CellSegment kMiddleBar[] = {Bar(kHalf)};
constexpr CellSegment kSideBars[] = {Bar(k0), Bar(k1)};
constexpr CellSegment kThreeBars[] = {Bar(k0), Bar(kHalf), Bar(k1)};

constexpr CellSegment kRisingSlash[] = {{kBottomLeft, kTopRight}};
constexpr CellSegment kFallingSlash[] = {{kTopLeft, kBottomRight}};
constexpr CellSegment kRisingPair[] = {{kBottomLeft, kTopMiddle}, {kBottomMiddle, kTopRight}};
constexpr CellSegment kFallingPair[] = {{kTopLeft, kBottomMiddle}, {kTopMiddle, kBottomRight}};

constexpr CellSegment kAngle[] = {{kBottomLeft, kTopRight}, {kBottomLeft, kBottomRight}};
constexpr CellSegment kMirroredAngle[] = {{kTopLeft, kBottomRight}, {kBottomLeft, kBottomRight}};
constexpr CellSegment kSlashThenRightBar[] = {{kBottomLeft, kTopRight}, {kTopRight, kBottomRight}};
constexpr CellSegment kLeftBarThenSlash[] = {{kBottomLeft, kTopLeft}, {kTopLeft, kBottomRight}};
constexpr CellSegment kPeak[] = {{kBottomLeft, kTopMiddle}, {kTopMiddle, kBottomRight}};
constexpr CellSegment kValley[] = {{kTopLeft, kBottomMiddle}, {kBottomMiddle, kTopRight}};

using SegmentList = std::span<const CellSegment>;

// Kinds 0..6 are rules only, each drawn from its start along the span.
constexpr std::int32_t kLastStackedRules = 6;

// Indexed by kind.
constexpr std::array<SegmentList, 20> kLineMarks = {
    kTopRule,       kMiddleRule,        kBottomRule,       kDoubleRule,  kTripleRule,  // 0..4
    kQuadrupleRule, kQuintupleRule,     kMiddleBar,        kSideBars,    kThreeBars,   // 5..9
    kRisingSlash,   kFallingSlash,      kRisingPair,       kFallingPair, kAngle,       // 10..14
    kMirroredAngle, kSlashThenRightBar, kLeftBarThenSlash, kPeak,        kValley,      // 15..19
};

}  // namespace

void DrawLineMark(std::int32_t kind, const FigureCell& cell, DrawTarget& out) {
    if (kind < 0 || static_cast<std::size_t>(kind) >= kLineMarks.size()) return;
    const SegmentList segments = kLineMarks[static_cast<std::size_t>(kind)];
    if (kind > kLastStackedRules) return EmitSegments(cell, segments, out);
    // A rule's end is its start carried W along the span, not a second cell
    // point: the two groupings differ in the last digit.
    for (const CellSegment& s : segments) {
        const Point start = CellPoint(cell, s.from);
        out.EmitLine(start, start + cell.W * cell.eu);
    }
}

}  // namespace tesra
