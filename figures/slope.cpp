// 法面 ticks between a top edge and a toe: see slope.h.
#include "figures/slope.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "figures/element_tree.h"
#include "figures/guide_curves.h"
#include "figures/layout.h"
#include "figures/layout_internal.h"
#include "figures/ray_grid.h"
#include "geom/helpers.h"
#include "geom/pitch.h"

namespace tesra {
namespace {

// Ends nearer than this share of the tick's length (or 1e-9 of a unit) to
// another part of the top edge than to their start count as equally near:
// rounding, not a crossing. Far below any drawn size, far above rounding.
constexpr double kClearanceSlack = 1e-9;
// A chain turning back by more than this at a joint is a toe running out
// onto its top edge there: a top edge's own corners turn by less.
constexpr double kRunOutTurn = kPi / 2;
// Places along a top edge whose perpendiculars vote for the toe's side.
constexpr int kSideVotes = 65;

Point Perpendicular(Point tangent, bool toRight) {
    const Point left = LeftNormal(tangent);
    return toRight ? Point{-left.x, -left.y} : left;
}

Point Turned(Point v, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {c * v.x - s * v.y, s * v.x + c * v.y};
}

// A top edge's run on the one run walk: every element with length carries
// stations.
layout::RunView ViewOf(const ElementPath& top, const PathRun& run) {
    return layout::RunView(top, run, 0, [](const PathElement& e) { return !IsDegenerate(e); });
}

bool HasStations(const layout::RunView& r, std::size_t i) { return !IsDegenerate(*r.Frame(i).e); }

// The run's first and last elements with length; call only on a run of some length.
const PathElement& FirstWithStations(const layout::RunView& r) {
    std::size_t i = 0;
    while (!HasStations(r, i)) ++i;
    return *r.Frame(i).e;
}
const PathElement& LastWithStations(const layout::RunView& r) {
    std::size_t i = r.Size() - 1;
    while (!HasStations(r, i)) --i;
    return *r.Frame(i).e;
}

// Intervals of the largest spacing not above the pitch: 0 for no length,
// saturated for a pitch that gives no finite count.
double IntervalCount(double length, double pitch) {
    if (!(length > kSameEps)) return 0;
    if (!(pitch > 0)) return std::numeric_limits<double>::infinity();
    return std::max(1.0, IntervalsNotAbove(length, pitch));
}

// The rhythm from its first long letter, so that a run starts long.
std::string RhythmFromLong(const PatternRow& row) {
    const std::string r = RhythmInUse(row);
    const std::size_t first = std::min(r.find('L'), r.size());
    return r.substr(first) + r.substr(0, first);
}

bool IsLongLetter(const std::string& rhythm, std::size_t letter) {
    return rhythm[letter % rhythm.size()] == 'L';
}

// The least count of at least `least` intervals after letter `start` that
// ends on a long letter (a rhythm without one ends as it may).
std::size_t IntervalsEndingLong(std::size_t least, std::size_t start, const std::string& rhythm) {
    if (rhythm.find('L') == std::string::npos) return least;
    std::size_t n = least;
    while (!IsLongLetter(rhythm, start + n)) ++n;
    return n;
}

struct Station {
    Point at;
    Point normal;  // unit, towards the ticks
    std::size_t letter;
    bool fan = false;
};

// The toe's rays, or the tick length without a toe.
class Reach {
public:
    Reach(const RayGrid* toe, double tickLength) : toe_(toe), tickLength_(tickLength) {}
    std::optional<double> From(Point at, Point normal) const {
        if (toe_ == nullptr) {
            if (tickLength_ > 0 && std::isfinite(tickLength_)) return tickLength_;
            return std::nullopt;
        }
        const std::optional<double> hit = toe_->FirstHit(at, normal);
        if (hit && *hit > kSameEps) return hit;
        return std::nullopt;
    }

private:
    const RayGrid* toe_;
    double tickLength_;
};

// Without a toe the low side is on the right; a closed top edge sends the
// ticks outward, which is the right of a counter-clockwise path.
bool NoToeSideIsRight(const ElementPath& top) { return !top.closed || InsideIsLeft(top); }

// The side on which more perpendiculars, at places spread evenly along the
// top edge, meet the toe; the right on a tie.
bool ToeSideIsRight(const ElementPath& top, const RayGrid& toe) {
    double total = 0;
    for (const PathElement& e : top.elements)
        if (!IsDegenerate(e)) total += ElementLength(e);
    int left = 0, right = 0, vote = 0;
    double start = 0;
    for (const PathElement& e : top.elements) {
        if (IsDegenerate(e)) continue;
        const double length = ElementLength(e);
        for (; vote < kSideVotes; ++vote) {
            const double s = total * (vote + 0.5) / kSideVotes - start;
            if (s > length) break;
            const PathPoint p = PointAt(e, std::max(s, 0.0));
            left += toe.FirstHit(p.at, Perpendicular(p.tangent, false)).has_value();
            right += toe.FirstHit(p.at, Perpendicular(p.tangent, true)).has_value();
        }
        start += length;
    }
    return right >= left;
}

// Stations of one top edge in order: its runs, and fans at outer corners.
class StationWalk {
public:
    StationWalk(const ElementPath& top, const PatternRow& row, const Reach& reach, bool toRight)
        : top_(top),
          pitch_(row.pitch),
          rhythm_(RhythmFromLong(row)),
          reach_(reach),
          toRight_(toRight) {}

    // False when the fans would bring the stations past `most`.
    bool Walk(std::vector<Station>& out, std::int64_t most) {
        const std::vector<PathRun> runs = RunsOf(top_);
        std::size_t letter = 0;
        for (std::size_t j = 0; j < runs.size(); ++j) {
            const layout::RunView r = ViewOf(top_, runs[j]);
            if (!(r.Length() > 0)) continue;
            if (r.Run().closed) {
                AppendClosed(r, out);
                continue;
            }
            letter = AppendOpen(r, letter, out);
            const bool last = j + 1 == runs.size();
            if (last && !top_.closed) break;
            const layout::RunView next = ViewOf(top_, runs[last ? 0 : j + 1]);
            if (!(next.Length() > 0)) continue;
            letter = AppendFan(LastWithStations(r), FirstWithStations(next), letter, out);
            if (tooMany_ || static_cast<std::int64_t>(out.size()) > most) return false;
        }
        return true;
    }

private:
    // The station s on the first element with length that reaches it: at a
    // joint, the one that ends there.
    Station At(const layout::RunView& r, std::size_t& i, double s, std::size_t letter) const {
        while (i + 1 < r.Size() && (!HasStations(r, i) || s > r.StartOf(i) + r.Frame(i).length))
            ++i;
        const layout::ElementFrame& f = r.Frame(i);
        const PathPoint at = PointAt(*f.e, std::clamp(s - r.StartOf(i), 0.0, f.length));
        return {at.at, Perpendicular(at.tangent, toRight_), letter};
    }

    void AppendClosed(const layout::RunView& r, std::vector<Station>& out) const {
        const double n = IntervalCount(r.Length(), pitch_);
        std::size_t piece = 0;
        for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k)
            out.push_back(At(r, piece, r.Length() * static_cast<double>(k) / n, k));
    }

    // The run's stations from `letter` on; the letter of its last station.
    std::size_t AppendOpen(const layout::RunView& r, std::size_t letter,
                           std::vector<Station>& out) const {
        const auto least = static_cast<std::size_t>(IntervalCount(r.Length(), pitch_));
        const std::size_t n = IntervalsEndingLong(least, letter, rhythm_);
        const auto intervals = static_cast<double>(n);
        std::size_t piece = 0;
        for (std::size_t k = 0; k <= n; ++k) {
            const double s = k == n ? r.Length() : r.Length() * static_cast<double>(k) / intervals;
            out.push_back(At(r, piece, s, letter + k));
        }
        return letter + n;
    }

    // The fan between the runs ending and starting at a corner, when it is an
    // outer one; the letter the next run starts with.
    std::size_t AppendFan(const PathElement& before, const PathElement& after, std::size_t letter,
                          std::vector<Station>& out) const {
        const double turn = TurnAngle(before, after);
        const bool outer = toRight_ ? turn > 0 : turn < 0;
        if (!outer) return 0;
        const Point corner = after.a;
        const Point first = Perpendicular(EndTangent(before), toRight_);
        const double radius = reach_.From(corner, first).value_or(0);
        const double arc = radius * std::fabs(turn);
        const double least = std::max(1.0, IntervalsNotAbove(arc, pitch_));
        if (!std::isfinite(least) || least > static_cast<double>(kMaxFiguresPerRun)) {
            tooMany_ = true;
            return 0;
        }
        const std::size_t m = IntervalsEndingLong(static_cast<std::size_t>(least), letter, rhythm_);
        for (std::size_t k = 1; k < m; ++k) {
            const double angle = turn * static_cast<double>(k) / static_cast<double>(m);
            out.push_back({corner, Turned(first, angle), letter + k, true});
        }
        return letter + m;
    }

    const ElementPath& top_;
    double pitch_;
    std::string rhythm_;
    const Reach& reach_;
    bool toRight_;
    mutable bool tooMany_ = false;  // a wedge too wide to fill at the pitch
};

bool ClearOfTops(const ElementTree& tops, Point from, Point to) {
    const double length = Distance(from, to);
    const double slack = kClearanceSlack * std::max(1.0, length);
    return !tops.AnyNearerThan(to, length - slack);
}

struct Laid {
    std::size_t reached = 0;  // stations whose ray met the toe
};

void AppendTicks(const std::vector<Station>& stations, const PatternRow& row, const Reach& reach,
                 const ElementTree& tops, std::vector<SlopeTick>& out, Laid& laid) {
    const std::string rhythm = RhythmFromLong(row);
    const double ratio = ShortRatioInUse(row);
    for (const Station& s : stations) {
        const std::optional<double> full = reach.From(s.at, s.normal);
        if (!full) continue;
        ++laid.reached;
        const bool isLong = IsLongLetter(rhythm, s.letter);
        const double length = isLong ? *full : *full * ratio;
        const Point to = s.at + length * s.normal;
        if (ClearOfTops(tops, s.at, to)) out.push_back({s.at, to, isLong, *full, s.fan});
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
    guide::EmitGuideArc(e.centre, e.radius, e.startRad, e.startRad + e.sweepRad, out);
}

// Top and toe ---------------------------------------------------------------

bool RunsOut(const PathElement& before, const PathElement& after) {
    return !IsDegenerate(before) && !IsDegenerate(after) &&
           std::fabs(TurnAngle(before, after)) > kRunOutTurn;
}

ElementPath Stretch(const ElementPath& path, std::size_t first, std::size_t count) {
    ElementPath out;
    const std::size_t n = path.elements.size();
    for (std::size_t i = 0; i < count; ++i) out.elements.push_back(path.elements[(first + i) % n]);
    return out;
}

// The stretch of `path` round element k between joints where it runs out,
// and the rest of the path as toe pieces.
void CutAtRunOuts(const ElementPath& path, std::size_t k, SlopeSplit& split) {
    const std::size_t n = path.elements.size();
    const auto& e = path.elements;
    std::size_t back = 0, ahead = 0;  // elements joined before and after k
    while (back + 1 < n && (path.closed || k >= back + 1) &&
           !RunsOut(e[(k + n - back - 1) % n], e[(k + n - back) % n]))
        ++back;
    while (back + ahead + 1 < n && (path.closed || k + ahead + 1 < n) &&
           !RunsOut(e[(k + ahead) % n], e[(k + ahead + 1) % n]))
        ++ahead;
    const std::size_t first = (k + n - back) % n, count = back + ahead + 1;
    if (count == n) return split.tops.push_back(path);
    split.tops.push_back(Stretch(path, first, count));
    if (path.closed) return split.toes.push_back(Stretch(path, first + count, n - count));
    if (first > 0) split.toes.push_back(Stretch(path, 0, first));
    if (first + count < n) split.toes.push_back(Stretch(path, first + count, n - first - count));
}

Point NearestPointOn(const PathElement& e, Point p) {
    if (e.shape == PathElement::Shape::Line) {
        const Point d = e.b - e.a;
        const double len2 = d.x * d.x + d.y * d.y;
        const Point w = p - e.a;
        const double s = len2 > 0 ? std::clamp((w.x * d.x + w.y * d.y) / len2, 0.0, 1.0) : 0.0;
        return e.a + s * d;
    }
    const double r = Distance(p, e.centre);
    const Point radial = r > 0 ? e.centre + (e.radius / r) * (p - e.centre) : e.a;
    if (std::fabs(Distance(p, radial) - ElementDistance(e, p)) <= kSameEps) return radial;
    return Distance(p, e.a) <= Distance(p, e.b) ? e.a : e.b;
}

double DistanceToPaths(std::span<const ElementPath> paths, Point p) {
    double d = std::numeric_limits<double>::infinity();
    for (const ElementPath& path : paths)
        for (const PathElement& e : path.elements) d = std::min(d, ElementDistance(e, p));
    return d;
}

}  // namespace

std::string RhythmInUse(const PatternRow& row) {
    return IsRhythm(row.rhythm) ? row.rhythm : PatternRow{}.rhythm;
}

double ShortRatioInUse(const PatternRow& row) {
    return IsValidRatio(row.shortRatio) ? row.shortRatio : PatternRow{}.shortRatio;
}

SlopeSplit SplitTopAndToe(std::vector<ElementPath> chains, Point point) {
    SlopeSplit split;
    double best = std::numeric_limits<double>::infinity();
    std::optional<std::pair<std::size_t, std::size_t>> nearest;
    for (std::size_t i = 0; i < chains.size(); ++i)
        for (std::size_t k = 0; k < chains[i].elements.size(); ++k) {
            const double d = ElementDistance(chains[i].elements[k], point);
            if (d < best || (!nearest && d == best)) {
                best = d;
                nearest = {i, k};
            }
        }
    if (!nearest) {
        split.refusal = SlopeRefusal::NoTopEdge;
        return split;
    }
    CutAtRunOuts(chains[nearest->first], nearest->second, split);
    for (std::size_t i = 0; i < chains.size(); ++i)
        if (i != nearest->first) split.toes.push_back(std::move(chains[i]));
    const PathElement& nearestElement = chains[nearest->first].elements[nearest->second];
    const Point foot = NearestPointOn(nearestElement, point);
    if (!split.toes.empty() && best > DistanceToPaths(split.toes, foot))
        split.refusal = SlopeRefusal::PointFarFromTop;
    return split;
}

std::int64_t SlopeStationCount(const PatternRow& row, std::span<const ElementPath> tops) {
    constexpr double kSaturated = 9.0e18;
    double total = 0;
    for (const ElementPath& top : tops)
        for (const PathRun& run : RunsOf(top)) {
            const double n = IntervalCount(ViewOf(top, run).Length(), row.pitch);
            // An open run may take a rhythm's length more to end long.
            if (n > 0) total += run.closed ? n : n + 1 + kMostRhythmLetters;
        }
    return total >= kSaturated ? std::numeric_limits<std::int64_t>::max()
                               : static_cast<std::int64_t>(total);
}

SlopePlan PlanSlope(const PatternRow& row, std::span<const ElementPath> tops,
                    std::span<const ElementPath> toes) {
    SlopePlan plan;
    if (SlopeStationCount(row, tops) > kMaxFiguresPerRun) {
        plan.refusal = SlopeRefusal::TooManyTicks;
        return plan;
    }
    const std::vector<const PathElement*> topElements = ElementsOf(tops);
    const std::vector<const PathElement*> toeElements = ElementsOf(toes);
    const ElementTree topTree(topElements);
    const std::optional<RayGrid> toeGrid =
        toes.empty() ? std::nullopt : std::optional<RayGrid>(std::in_place, toeElements);
    const Reach reach(toeGrid ? &*toeGrid : nullptr, row.tickLength);
    Laid laid;
    std::int64_t stations = 0;
    for (const ElementPath& top : tops) {
        const bool toRight = toeGrid ? ToeSideIsRight(top, *toeGrid) : NoToeSideIsRight(top);
        std::vector<Station> along;
        StationWalk walk(top, row, reach, toRight);
        if (!walk.Walk(along, kMaxFiguresPerRun - stations)) {
            plan = {};
            plan.refusal = SlopeRefusal::TooManyTicks;
            return plan;
        }
        stations += static_cast<std::int64_t>(along.size());
        AppendTicks(along, row, reach, topTree, plan.ticks, laid);
    }
    if (plan.ticks.empty() && !toes.empty())
        plan.refusal = laid.reached > 0 ? SlopeRefusal::TicksWouldCross : SlopeRefusal::ToeNotMet;
    return plan;
}

std::vector<SlopeTick> SlopeTicks(const PatternRow& row, std::span<const ElementPath> tops,
                                  std::span<const ElementPath> toes) {
    return PlanSlope(row, tops, toes).ticks;
}

void DrawSlopePlan(const PatternRow& row, const SlopePlan& plan, std::span<const ElementPath> tops,
                   bool topsAreDrawn, DrawTarget& out) {
    if (plan.refusal != SlopeRefusal::None) return;
    if (row.drawTop == 1 && !topsAreDrawn)
        for (const ElementPath& top : tops)
            for (const PathElement& e : top.elements) EmitElement(e, out);
    for (const SlopeTick& t : plan.ticks) out.EmitLine(t.from, t.to);
}

}  // namespace tesra
