// Joins the selected lines, circular arcs and circles into paths.
//
// Ends closer than the point tolerance (both coordinates within 1e-8) meet.
// A path passes only through points where exactly two ends meet: where one,
// three or more meet, every element there ends its path, so a branch never
// loses an element and never depends on which way the elements were drawn.
// A circle, an element too short to carry anything and an element that
// touches nothing are each a path of their own. Elements with a coordinate
// that is not a number are not followed.
//
// Closed paths run counter-clockwise and start with the element that comes
// first in the file; open paths run from the free end of whichever of their
// two end elements comes first in the file (a single element runs as drawn).

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "figures/along_elements.h"
#include "figures/guide_curves.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

// A circular arc from startDeg counter-clockwise by sweepDeg (360 for a full circle).
PathElement CircularElement(Point centre, double r, double startDeg, double sweepDeg) {
    if (r < 0) {  // the same circle, its angles measured from the other side
        r = -r;
        startDeg += 180;
    }
    startDeg = NormalisedDeg(startDeg);
    return ArcElement(centre, r, startDeg * kDegToRad,
                      sweepDeg >= 360 ? kTwoPi : sweepDeg * kDegToRad);
}

struct Followed {
    std::vector<PathElement> elements;
    std::int32_t notFollowed = 0;
};

void AddLine(const JwwEntLine& l, Followed& f) {
    if (!AllFinite({l.x1, l.y1, l.x2, l.y2})) return;
    PathElement e;
    e.a = {l.x1, l.y1};
    e.b = {l.x2, l.y2};
    f.elements.push_back(e);
}

void AddCircle(const JwwEntCircle& c, Followed& f) {
    if (!AllFinite({c.x, c.y, c.r})) return;
    f.elements.push_back(CircularElement({c.x, c.y}, c.r, 0, 360));
}

// Values: centre x, y, radius, start and end angle (degrees, counter-clockwise),
// flatness, tilt (degrees). Only circular arcs are followed; elliptic ones are
// counted so that the run can say it left them alone.
void AddArc(const JwwEntArc& arc, Followed& f) {
    const double* v = arc.values;
    if (!AllFinite({v[0], v[1], v[2], v[3], v[4], v[5], v[6]})) return;
    if (std::fabs(v[5] - 1) > kSameEps) return void(++f.notFollowed);
    double sweep = v[4] - v[3];
    if (std::fabs(sweep) >= 360)
        sweep = 360;
    else if (sweep < 0)
        sweep += 360;
    f.elements.push_back(CircularElement({v[0], v[1]}, v[2], v[3] + v[6], sweep));
}

void AddElement(const ElementStore& store, ElementRef ref, Followed& f) {
    const auto add = Overloaded{
        [&f](const JwwEntLine& l) { AddLine(l, f); },
        [&f](const JwwEntCircle& c) { AddCircle(c, f); },
        [&f](const JwwEntArc& a) { AddArc(a, f); }, [](const auto&) {},  // nothing else is followed
    };
    VisitElement(store, ref, add);
}

// The followed elements in input order, each numbered by its place in it.
Followed FollowedElements(const ElementStore& store) {
    std::vector<ElementRef> order = store.order;
    if (order.empty()) {  // a store filled without its order: take the lists as they stand
        auto add = [&order](ElementKind kind, std::size_t n) {
            for (std::size_t i = 0; i < n; ++i)
                order.push_back({kind, static_cast<std::int32_t>(i)});
        };
        add(ElementKind::Line, store.lines.size());
        add(ElementKind::Circle, store.circles.size());
        add(ElementKind::Arc, store.arcs.size());
    }
    Followed f;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t before = f.elements.size();
        AddElement(store, order[k], f);
        if (f.elements.size() > before) f.elements.back().order = static_cast<std::int32_t>(k);
    }
    return f;
}

// Points meeting within the tolerance share one node. Nodes are hashed by
// square cells much larger than the tolerance, so that a point nearly always
// looks into one cell only: the cells it must search are those that the
// square of the tolerance around it touches.
class NodeIndex {
public:
    explicit NodeIndex(std::size_t points) {
        heads_.reserve(points);
        next_.reserve(points);
        points_.reserve(points);
    }
    int NodeOf(Point p) {
        int best = -1;
        // The tolerance is far below a cell: it reaches into at most one more
        // cell each way, and none where the coordinates are too large for it.
        const double xs[2] = {Cell(p.x - kSameEps), Cell(p.x + kSameEps)};
        const double ys[2] = {Cell(p.y - kSameEps), Cell(p.y + kSameEps)};
        for (int i = 0; i < (xs[0] == xs[1] ? 1 : 2); ++i)
            for (int k = 0; k < (ys[0] == ys[1] ? 1 : 2); ++k) {
                const auto it = heads_.find({xs[i], ys[k]});
                if (it == heads_.end()) continue;
                for (int n = it->second; n >= 0; n = next_[static_cast<std::size_t>(n)])
                    if (SamePoint(points_[static_cast<std::size_t>(n)], p) &&
                        (best < 0 || n < best))
                        best = n;
            }
        if (best >= 0) return best;
        const int id = static_cast<int>(points_.size());
        points_.push_back(p);
        auto [it, inserted] = heads_.try_emplace({Cell(p.x), Cell(p.y)}, -1);
        next_.push_back(it->second);
        it->second = id;
        return id;
    }
    int Count() const { return static_cast<int>(points_.size()); }

private:
    struct Key {
        double x, y;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            return static_cast<std::size_t>(
                Mix(std::bit_cast<std::uint64_t>(k.x) ^ Mix(std::bit_cast<std::uint64_t>(k.y))));
        }
        // The doubles of whole numbers end in zero bits: mix them all into the low ones.
        static std::uint64_t Mix(std::uint64_t z) {
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            return z ^ (z >> 31);
        }
    };
    // A power of two, so that the division is exact; + 0.0 turns -0 into 0.
    static double Cell(double v) { return std::floor(v * 1024) + 0.0; }

    std::unordered_map<Key, int, KeyHash> heads_;
    std::vector<int> next_;
    std::vector<Point> points_;
};

// Where each chained element's ends meet: end code 2·element (start) or
// 2·element + 1 (end), listed per node.
struct Junctions {
    std::vector<int> nodeOfEnd;  // by end code
    std::vector<int> first;      // per node, into ends; first[node + 1] closes it
    std::vector<int> ends;

    int Degree(int node) const {
        return first[static_cast<std::size_t>(node) + 1] - first[static_cast<std::size_t>(node)];
    }
    int OtherEnd(int node, int leaving) const {
        const int* at = &ends[static_cast<std::size_t>(first[static_cast<std::size_t>(node)])];
        return at[0] == leaving ? at[1] : at[0];
    }
    int Node(int endCode) const { return nodeOfEnd[static_cast<std::size_t>(endCode)]; }
};

Junctions FindJunctions(const std::vector<PathElement>& elements,
                        const std::vector<char>& chained) {
    Junctions j;
    j.nodeOfEnd.assign(elements.size() * 2, -1);
    NodeIndex index(elements.size() * 2);
    for (std::size_t e = 0; e < elements.size(); ++e) {
        if (!chained[e]) continue;
        j.nodeOfEnd[2 * e] = index.NodeOf(elements[e].a);
        j.nodeOfEnd[2 * e + 1] = index.NodeOf(elements[e].b);
    }
    j.first.assign(static_cast<std::size_t>(index.Count()) + 1, 0);
    for (int node : j.nodeOfEnd)
        if (node >= 0) ++j.first[static_cast<std::size_t>(node) + 1];
    for (std::size_t n = 1; n < j.first.size(); ++n) j.first[n] += j.first[n - 1];
    j.ends.resize(static_cast<std::size_t>(j.first.back()));
    std::vector<int> fill(j.first.begin(), j.first.end() - 1);
    for (std::size_t code = 0; code < j.nodeOfEnd.size(); ++code) {
        const int node = j.nodeOfEnd[code];
        if (node >= 0)
            j.ends[static_cast<std::size_t>(fill[static_cast<std::size_t>(node)]++)] =
                static_cast<int>(code);
    }
    return j;
}

struct Step {
    int element;
    bool reversed;
};

// Elements from `start` onwards through nodes where exactly two ends meet.
// `leaving` is the end code by which the walk leaves the current element.
std::vector<Step> Walk(const Junctions& j, int start, int leaving, bool forward, bool& closed,
                       std::vector<char>& used) {
    std::vector<Step> steps;
    for (;;) {
        const int node = j.Node(leaving);
        if (j.Degree(node) != 2) break;
        const int entering = j.OtherEnd(node, leaving);
        const int f = entering / 2;
        if (f == start) {
            closed = true;
            break;
        }
        if (used[static_cast<std::size_t>(f)]) break;
        used[static_cast<std::size_t>(f)] = 1;
        // Forward, the walk enters f at its start as the path runs; backward, at its end.
        const bool enteredAtB = (entering & 1) != 0;
        const bool reversed = forward ? enteredAtB : !enteredAtB;
        steps.push_back({f, reversed});
        leaving = 2 * f + (enteredAtB ? 0 : 1);
    }
    return steps;
}

void ReversePath(std::vector<PathElement>& path) {
    std::reverse(path.begin(), path.end());
    for (PathElement& e : path) e = Reversed(e);
}

ElementPath Orient(std::vector<PathElement> path, bool closed, std::int32_t firstOrder) {
    if (closed) {
        if (TwiceArea(path) < 0) ReversePath(path);
        const auto first =
            std::find_if(path.begin(), path.end(),
                         [firstOrder](const PathElement& e) { return e.order == firstOrder; });
        std::rotate(path.begin(), first, path.end());
    } else if (path.size() > 1 && path.back().order < path.front().order) {
        ReversePath(path);
    }
    return {std::move(path), closed};
}

}  // namespace

namespace {

// Whether two elements whose ends meet at the same two nodes are one and the
// same piece of the drawing, whichever way each was drawn.
bool SameCourse(const PathElement& p, const PathElement& q) {
    if (p.shape != q.shape) return false;
    if (p.shape == PathElement::Shape::Line) return true;
    if (!SamePoint(p.centre, q.centre) || !SameValue(p.radius, q.radius)) return false;
    if (IsFullCircle(p) || IsFullCircle(q)) return IsFullCircle(p) && IsFullCircle(q);
    // Two arcs between the same ends about one centre: one arc, or the two
    // halves of a circle.
    const bool sameWay = SamePoint(p.a, q.a);
    const PathElement r = sameWay ? q : Reversed(q);
    return SameValue(p.sweepRad, r.sweepRad);
}

// A piece selected twice (the same line picked again, a copy on top of its
// original) is followed once: both are written back, but a path through it
// would otherwise close on itself and carry the band on both sides.
std::vector<PathElement> WithoutRepeats(std::vector<PathElement> elements) {
    NodeIndex index(elements.size() * 2);
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> byEnds;
    std::vector<PathElement> kept;
    kept.reserve(elements.size());
    for (PathElement& e : elements) {
        const auto na = static_cast<std::uint64_t>(index.NodeOf(e.a));
        const auto nb = static_cast<std::uint64_t>(index.NodeOf(e.b));
        auto& seen = byEnds[std::min(na, nb) << 32 | std::max(na, nb)];
        const bool repeat = std::any_of(seen.begin(), seen.end(),
                                        [&](std::size_t k) { return SameCourse(kept[k], e); });
        if (repeat) continue;
        seen.push_back(kept.size());
        kept.push_back(e);
    }
    return kept;
}

// Lines lying on one straight carrier: every end within the point tolerance
// of the carrier through the first line.
bool OnLineOf(const PathElement& first, const PathElement& e) {
    const Point d = Unit(first.b - first.a);
    return std::fabs(Cross(d, e.a - first.a)) <= kSameEps &&
           std::fabs(Cross(d, e.b - first.a)) <= kSameEps;
}

// A covered stretch of a carrier, from station `from` to `to`, with its ends
// as points, so that a piece starting there meets the line it touches exactly.
struct Covered {
    double from, to;
    Point low, high;
};

// Adds a stretch to the covered ones, ordered and apart, merging those it meets.
void Cover(std::vector<Covered>& covered, Covered mine) {
    std::vector<Covered> kept;
    for (const Covered& c : covered) {
        if (c.to < mine.from - kSameEps || c.from > mine.to + kSameEps) {
            kept.push_back(c);
            continue;
        }
        if (c.from < mine.from) mine.from = c.from, mine.low = c.low;
        if (c.to > mine.to) mine.to = c.to, mine.high = c.high;
    }
    const auto at = std::find_if(kept.begin(), kept.end(),
                                 [&](const Covered& c) { return c.from > mine.from; });
    kept.insert(at, mine);
    covered = std::move(kept);
}

// The parts of line e (from station ta to tb of its carrier) that no earlier
// line covers, each running the way e runs; then e's stretch is covered too.
std::vector<PathElement> Uncovered(const PathElement& e, double ta, double tb,
                                   std::vector<Covered>& covered) {
    const bool forward = ta <= tb;
    const Covered mine{std::min(ta, tb), std::max(ta, tb), forward ? e.a : e.b,
                       forward ? e.b : e.a};
    std::vector<PathElement> pieces;
    double at = mine.from;
    Point atPoint = mine.low;
    auto piece = [&](Point p, Point q) {
        PathElement part = e;
        part.a = forward ? p : q;
        part.b = forward ? q : p;
        pieces.push_back(part);
    };
    for (const Covered& c : covered) {
        if (c.to <= at + kSameEps) continue;
        if (c.from >= mine.to - kSameEps) break;
        if (c.from > at + kSameEps) piece(atPoint, c.low);
        at = c.to;
        atPoint = c.high;
    }
    if (mine.to > at + kSameEps) piece(atPoint, mine.high);
    if (!forward) std::reverse(pieces.begin(), pieces.end());
    Cover(covered, mine);
    return pieces;
}

struct CarrierKey {
    double angle, offset;
    std::size_t index;
};

// Every line's carrier: its direction as an angle in (−π/2, π/2] and its
// signed distance from the origin; sorted by angle, and by offset among
// angles that agree to rounding, so that lines on one carrier stand together.
std::vector<CarrierKey> CarrierKeys(const std::vector<PathElement>& elements) {
    constexpr double kSameAngle = 1e-9;
    std::vector<CarrierKey> keys;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const PathElement& e = elements[i];
        if (e.shape != PathElement::Shape::Line || IsDegenerate(e)) continue;
        Point d = Unit(e.b - e.a);
        if (d.x < 0 || (d.x == 0 && d.y < 0)) d = -1.0 * d;
        keys.push_back({std::atan2(d.y, d.x), Cross(d, e.a), i});
    }
    auto byAngle = [](const CarrierKey& a, const CarrierKey& b) { return a.angle < b.angle; };
    auto byOffset = [](const CarrierKey& a, const CarrierKey& b) { return a.offset < b.offset; };
    std::sort(keys.begin(), keys.end(), byAngle);
    for (auto it = keys.begin(); it != keys.end();) {
        auto end = std::find_if(
            it, keys.end(), [&](const CarrierKey& k) { return k.angle - it->angle > kSameAngle; });
        std::sort(it, end, byOffset);
        it = end;
    }
    return keys;
}

// Lines that overlap along one carrier (a side drawn twice in pieces, a
// stretch of someone else's drawing on top of one's own) are followed once:
// the first listed keeps its whole length, later ones what is not yet
// covered. Every one is still written back, as every selected element is.
std::vector<PathElement> WithoutOverlaps(const std::vector<PathElement>& elements) {
    const std::vector<CarrierKey> keys = CarrierKeys(elements);
    std::vector<std::optional<std::vector<PathElement>>> replaced(elements.size());
    for (std::size_t g = 0; g < keys.size();) {
        const PathElement& first = elements[keys[g].index];
        std::size_t end = g + 1;
        while (end < keys.size() && OnLineOf(first, elements[keys[end].index])) ++end;
        std::vector<std::size_t> group;
        for (std::size_t k = g; k < end; ++k) group.push_back(keys[k].index);
        g = end;
        if (group.size() < 2) continue;
        std::sort(group.begin(), group.end());  // in the order they were listed
        const Point d = Unit(first.b - first.a);
        std::vector<Covered> covered;
        for (std::size_t i : group) {
            const PathElement& e = elements[i];
            replaced[i] = Uncovered(e, Dot(e.a - first.a, d), Dot(e.b - first.a, d), covered);
        }
    }
    std::vector<PathElement> kept;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (!replaced[i])
            kept.push_back(elements[i]);
        else
            kept.insert(kept.end(), replaced[i]->begin(), replaced[i]->end());
    }
    return kept;
}

}  // namespace

AlongSelection PathsFromSelection(const ElementStore& store) {
    Followed f = FollowedElements(store);
    f.elements = WithoutOverlaps(WithoutRepeats(std::move(f.elements)));
    const auto& elements = f.elements;
    std::vector<char> chained(elements.size());
    for (std::size_t e = 0; e < elements.size(); ++e)
        chained[e] = !IsDegenerate(elements[e]) && !IsFullCircle(elements[e]);
    const Junctions j = FindJunctions(elements, chained);

    AlongSelection selection;
    selection.notFollowed = f.notFollowed;
    std::vector<char> used(elements.size());
    for (std::size_t e = 0; e < elements.size(); ++e) {
        if (used[e]) continue;
        used[e] = 1;
        if (!chained[e]) {
            selection.paths.push_back({{elements[e]}, IsFullCircle(elements[e])});
            continue;
        }
        const int start = static_cast<int>(e);
        bool closed = false;
        const std::vector<Step> ahead = Walk(j, start, 2 * start + 1, true, closed, used);
        std::vector<Step> behind;
        if (!closed) behind = Walk(j, start, 2 * start, false, closed, used);

        std::vector<PathElement> path;
        path.reserve(behind.size() + 1 + ahead.size());
        auto add = [&](Step s) {
            const PathElement& el = elements[static_cast<std::size_t>(s.element)];
            path.push_back(s.reversed ? Reversed(el) : el);
        };
        for (auto it = behind.rbegin(); it != behind.rend(); ++it) add(*it);
        add({start, false});
        for (const Step& s : ahead) add(s);
        selection.paths.push_back(Orient(std::move(path), closed, elements[e].order));
    }
    return selection;
}

}  // namespace tesra
