// 法面 ticks between a top edge and a toe: see slope.h.
#include "figures/slope.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "figures/element_tree.h"
#include "figures/layout.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

// A spacing may exceed the pitch by this share, so that 20 m at a pitch of
// 1 m is 20 intervals however the lengths were rounded.
constexpr double kPitchSlack = 1e-9;
// Ends nearer than this share of the tick's length (or 1e-9 of a unit) to
// another part of the top edge than to their start count as equally near:
// rounding, not a crossing. Far below any drawn size, far above rounding.
constexpr double kClearanceSlack = 1e-9;

Point Perpendicular(Point tangent, bool toRight) {
    return toRight ? Point{tangent.y, -tangent.x} : Point{-tangent.y, tangent.x};
}

// A run's pieces with length, each with the station where it starts.
struct RunPiece {
    const PathElement* element;
    double start;
    double length;
};

struct RunStations {
    std::vector<RunPiece> pieces;
    double length = 0;
    bool closed = false;
};

RunStations PiecesOf(const ElementPath& path, const PathRun& run) {
    RunStations r;
    r.closed = run.closed;
    const std::size_t n = path.elements.size();
    for (std::size_t i = 0; i < run.count; ++i) {
        const PathElement& e = path.elements[(run.first + i) % n];
        if (IsDegenerate(e)) continue;
        const double len = ElementLength(e);
        r.pieces.push_back({&e, r.length, len});
        r.length += len;
    }
    return r;
}

// Intervals of a run: 0 for a run with no length; saturated for a pitch that
// gives no finite count.
double IntervalCount(double length, double pitch) {
    if (!(length > kSameEps)) return 0;
    if (!(pitch > 0)) return std::numeric_limits<double>::infinity();
    return std::max(1.0, std::ceil(length / pitch * (1 - kPitchSlack)));
}

double StationsOfRun(const RunStations& r, double pitch) {
    const double n = IntervalCount(r.length, pitch);
    if (n == 0) return 0;
    return r.closed ? n : n + 1;
}

struct Station {
    PathPoint at;
    std::size_t rhythmIndex;
};

// Stations in order along the run; a station on a joint belongs to the piece
// that ends there, so the run's last station is the end of its last piece.
void AppendStations(const RunStations& r, double pitch, std::vector<Station>& out) {
    const double n = IntervalCount(r.length, pitch);
    // No count to place: the runs bound the stations before they draw.
    if (n == 0 || !std::isfinite(n)) return;
    const auto intervals = static_cast<std::size_t>(n);
    const std::size_t count = r.closed ? intervals : intervals + 1;
    std::size_t piece = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const double s = k == intervals ? r.length : r.length * static_cast<double>(k) / n;
        while (piece + 1 < r.pieces.size() && s > r.pieces[piece].start + r.pieces[piece].length)
            ++piece;
        const RunPiece& p = r.pieces[piece];
        out.push_back({PointAt(*p.element, std::clamp(s - p.start, 0.0, p.length)), k});
    }
}

std::vector<Station> StationsOf(const ElementPath& top, double pitch) {
    std::vector<Station> stations;
    for (const PathRun& run : RunsOf(top)) AppendStations(PiecesOf(top, run), pitch, stations);
    return stations;
}

// Without a toe the low side is on the right; a closed top edge sends the
// ticks outward, which is the right of a counter-clockwise path.
bool NoToeSideIsRight(const ElementPath& top) { return !top.closed || InsideIsLeft(top); }

struct Reach {
    std::optional<double> left, right;
};

bool ToeSideIsRight(const std::vector<Reach>& reaches) {
    std::size_t left = 0, right = 0;
    for (const Reach& r : reaches) {
        left += r.left.has_value();
        right += r.right.has_value();
    }
    return right >= left;
}

struct TopTicks {
    std::vector<Station> stations;
    std::vector<double> longLengths;  // NaN where no tick stands
    bool toRight = true;
};

TopTicks LongTicksOf(const ElementPath& top, const PatternRow& row, const ElementTree* toe) {
    TopTicks t;
    t.stations = StationsOf(top, row.pitch);
    t.longLengths.assign(t.stations.size(), std::numeric_limits<double>::quiet_NaN());
    if (toe == nullptr) {
        t.toRight = NoToeSideIsRight(top);
        if (row.tickLength > 0 && std::isfinite(row.tickLength))
            std::fill(t.longLengths.begin(), t.longLengths.end(), row.tickLength);
        return t;
    }
    std::vector<Reach> reaches;
    reaches.reserve(t.stations.size());
    for (const Station& s : t.stations)
        reaches.push_back({toe->FirstHit(s.at.at, Perpendicular(s.at.tangent, false)),
                           toe->FirstHit(s.at.at, Perpendicular(s.at.tangent, true))});
    t.toRight = ToeSideIsRight(reaches);
    for (std::size_t i = 0; i < reaches.size(); ++i) {
        const std::optional<double> hit = t.toRight ? reaches[i].right : reaches[i].left;
        if (hit && *hit > kSameEps) t.longLengths[i] = *hit;
    }
    return t;
}

bool ClearOfTops(const ElementTree& tops, Point from, Point to) {
    const double length = Distance(from, to);
    const double slack = kClearanceSlack * std::max(1.0, length);
    return !tops.AnyNearerThan(to, length - slack);
}

void AppendTicks(const TopTicks& t, const PatternRow& row, const ElementTree& tops,
                 std::vector<SlopeTick>& out) {
    const std::string rhythm = RhythmInUse(row);
    const double ratio = ShortRatioInUse(row);
    for (std::size_t i = 0; i < t.stations.size(); ++i) {
        const double full = t.longLengths[i];
        if (std::isnan(full)) continue;
        const Station& s = t.stations[i];
        const bool isLong = rhythm[s.rhythmIndex % rhythm.size()] == 'L';
        const double length = isLong ? full : full * ratio;
        const Point to = s.at.at + length * Perpendicular(s.at.tangent, t.toRight);
        if (ClearOfTops(tops, s.at.at, to)) out.push_back({s.at.at, to, isLong, full});
    }
}

std::vector<const PathElement*> ElementsOf(std::span<const ElementPath> paths) {
    std::vector<const PathElement*> elements;
    for (const ElementPath& p : paths)
        for (const PathElement& e : p.elements)
            if (!IsDegenerate(e)) elements.push_back(&e);
    return elements;
}

void EmitElement(const PathElement& e, DrawTarget& out) {
    if (e.shape == PathElement::Shape::Line) return out.EmitLine(e.a, e.b);
    if (IsFullCircle(e)) return out.EmitArc(e.centre, e.radius, 0, 360, 1, 0);
    const double from = e.sweepRad > 0 ? e.startRad : e.startRad + e.sweepRad;
    const double to = from + std::fabs(e.sweepRad);
    out.EmitArc(e.centre, e.radius, from * 180 / kPi, to * 180 / kPi, 1, 0);
}

}  // namespace

std::string RhythmInUse(const PatternRow& row) {
    return IsRhythm(row.rhythm) ? row.rhythm : PatternRow{}.rhythm;
}

double ShortRatioInUse(const PatternRow& row) {
    return IsValidRatio(row.shortRatio) ? row.shortRatio : PatternRow{}.shortRatio;
}

std::int64_t SlopeStationCount(const PatternRow& row, std::span<const ElementPath> tops) {
    constexpr double kSaturated = 9.0e18;
    double total = 0;
    for (const ElementPath& top : tops)
        for (const PathRun& run : RunsOf(top))
            total += StationsOfRun(PiecesOf(top, run), row.pitch);
    return total >= kSaturated ? std::numeric_limits<std::int64_t>::max()
                               : static_cast<std::int64_t>(total);
}

std::vector<SlopeTick> SlopeTicks(const PatternRow& row, std::span<const ElementPath> tops,
                                  std::span<const ElementPath> toes) {
    const std::vector<const PathElement*> topElements = ElementsOf(tops);
    const std::vector<const PathElement*> toeElements = ElementsOf(toes);
    const ElementTree topTree(topElements);
    const std::optional<ElementTree> toeTree =
        toes.empty() ? std::nullopt : std::optional<ElementTree>(std::in_place, toeElements);
    std::vector<SlopeTick> ticks;
    for (const ElementPath& top : tops)
        AppendTicks(LongTicksOf(top, row, toeTree ? &*toeTree : nullptr), row, topTree, ticks);
    return ticks;
}

void DrawSlope(const PatternRow& row, std::span<const ElementPath> tops,
               std::span<const ElementPath> toes, bool topsAreDrawn, DrawTarget& out) {
    if (row.drawTop == 1 && !topsAreDrawn)
        for (const ElementPath& top : tops)
            for (const PathElement& e : top.elements) EmitElement(e, out);
    for (const SlopeTick& t : SlopeTicks(row, tops, toes)) out.EmitLine(t.from, t.to);
}

std::optional<std::size_t> NearestPath(std::span<const ElementPath> paths, Point p) {
    std::optional<std::size_t> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        for (const PathElement& e : paths[i].elements) {
            const double d = DistanceToElement(e, p);
            if (d < bestDistance || (!best && d == bestDistance)) {
                bestDistance = d;
                best = i;
            }
        }
    }
    return best;
}

double DistanceToElement(const PathElement& e, Point p) { return ElementDistance(e, p); }

}  // namespace tesra
