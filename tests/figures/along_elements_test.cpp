// Drawing along selected elements: chaining, counts, bands and joints as properties.
#include "figures/along_elements.h"
#include "figures/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <vector>

#include "figures/call_checks.h"
#include "figures/span_placement.h"
#include "geom/helpers.h"
#include "test_support.h"

namespace tesra {
namespace {

// A selection in input order, each element by its values as the host lists
// them: 4 a line (x1 y1 x2 y2), 3 a circle (centre, radius), 5 to 7 an arc
// (centre, radius, start and end degrees counter-clockwise, flatness, tilt).
using Scene = std::vector<std::vector<double>>;

ElementStore Store(const Scene& scene) {
    ElementStore s;
    auto order = [&s](ElementKind kind, std::size_t size) {
        s.order.push_back({kind, static_cast<std::int32_t>(size - 1)});
    };
    for (const std::vector<double>& v : scene) {
        if (v.size() == 4) {
            s.lines.push_back({{}, 0, v[0], v[1], v[2], v[3]});
            order(ElementKind::Line, s.lines.size());
        } else if (v.size() == 3) {
            s.circles.push_back({{}, v[0], v[1], v[2]});
            order(ElementKind::Circle, s.circles.size());
        } else {
            s.arcs.push_back(
                {{},
                 {v[0], v[1], v[2], v[3], v[4], v.size() > 5 ? v[5] : 1, v.size() > 6 ? v[6] : 0}});
            order(ElementKind::Arc, s.arcs.size());
        }
    }
    return s;
}

AlongSelection Paths(const Scene& scene) { return PathsFromSelection(Store(scene)); }

bool Near(Point a, Point b, double eps = 1e-7) {
    return std::fabs(a.x - b.x) <= eps && std::fabs(a.y - b.y) <= eps;
}

// The point a fraction t along an element.
Point At(const PathElement& e, double t) {
    if (e.shape == PathElement::Shape::Line)
        return {e.a.x + (e.b.x - e.a.x) * t, e.a.y + (e.b.y - e.a.y) * t};
    return Along(e.centre, e.radius, e.startRad + e.sweepRad * t);
}

// Every element once over all paths, each path head to tail, closed ones
// back to their start.
void ExpectSoundPaths(const AlongSelection& sel, std::size_t followed) {
    std::set<std::int32_t> seen;
    for (const ElementPath& path : sel.paths) {
        ASSERT_FALSE(path.elements.empty());
        for (std::size_t k = 0; k < path.elements.size(); ++k) {
            const PathElement& e = path.elements[k];
            EXPECT_TRUE(seen.insert(e.order).second) << "element " << e.order << " twice";
            EXPECT_TRUE(Near(e.a, At(e, 0)) && Near(e.b, At(e, 1))) << "element " << e.order;
            const PathElement& next = path.elements[(k + 1) % path.elements.size()];
            if (k + 1 < path.elements.size() || path.closed) {
                EXPECT_TRUE(Near(e.b, next.a)) << "after element " << e.order;
            }
        }
    }
    EXPECT_EQ(seen.size(), followed);
}

// Path membership as sets of input positions, for comparing chainings.
std::set<std::set<std::int32_t>> Grouping(const AlongSelection& sel) {
    std::set<std::set<std::int32_t>> groups;
    for (const ElementPath& path : sel.paths) {
        std::set<std::int32_t> g;
        for (const PathElement& e : path.elements) g.insert(e.order);
        groups.insert(g);
    }
    return groups;
}

// A random chain of lines and arcs, each element listed in a random direction
// when reverseSome.
Scene RandomChain(unsigned seed, int count, bool reverseSome) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    Scene scene;
    Point p{unit(rng) * 100, unit(rng) * 100};
    double heading = unit(rng) * kTwoPi;
    for (int i = 0; i < count; ++i) {
        const bool flip = unit(rng) < 0.5 && reverseSome;
        if (unit(rng) < 0.5) {
            const Point q = Along(p, 20 + 80 * unit(rng), heading);
            scene.push_back(flip ? std::vector{q.x, q.y, p.x, p.y}
                                 : std::vector{p.x, p.y, q.x, q.y});
            p = q;
        } else {
            const double r = 15 + 60 * unit(rng);
            const double sweepDeg = (30 + 150 * unit(rng)) * (unit(rng) < 0.5 ? -1 : 1);
            const Point c = Along(p, r, heading + (sweepDeg > 0 ? kPi : -kPi) / 2);
            const double a0 = std::atan2(p.y - c.y, p.x - c.x) / kDegToRad, a1 = a0 + sweepDeg;
            // Listed counter-clockwise, so a clockwise turn is listed from its far end.
            scene.push_back({c.x, c.y, r, std::min(a0, a1), std::max(a0, a1)});
            p = Along(c, r, a1 * kDegToRad);
            heading += sweepDeg * kDegToRad + (unit(rng) - 0.5);  // a kink after some arcs
        }
        heading += (unit(rng) - 0.5) * 2;
    }
    return scene;
}

TEST(AlongPaths, ChainsLoseNothingWhateverTheDrawingDirection) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        const AlongSelection a = Paths(RandomChain(seed, 12, false));
        const AlongSelection b = Paths(RandomChain(seed, 12, true));
        ExpectSoundPaths(a, 12);
        ExpectSoundPaths(b, 12);
        EXPECT_EQ(a.paths.size(), 1u);
        EXPECT_EQ(Grouping(a), Grouping(b));
        // The file's first element is a free end: the path runs from it.
        ASSERT_FALSE(b.paths.empty());
        EXPECT_EQ(b.paths[0].elements.front().order, 0);
    }
}

TEST(AlongPaths, GroupsByTheJunctionRule) {
    const double border = 1.0 / 1024, e = 0.4e-8;  // a hash cell's border, a shift within tolerance
    const struct {
        const char* name;
        Scene scene;
        std::set<std::set<std::int32_t>> groups;
        std::vector<bool> closed;  // per path, in output order
    } cases[] = {
        // clang-format off
        {"three lines meeting at one point end their paths there",
         {{0, 0, 10, 0}, {10, 0, 20, 5}, {10, 0, 20, -5}, {20, 5, 30, 5}},
         {{0}, {1, 3}, {2}},
         {false, false, false}},
        {"a line selected twice, either way, is followed once", {{0, 0, 10, 0}, {10, 0, 0, 0}},
         {{0}}, {false}},
        {"an arc on top of its copy is followed once; the circle's two halves are not copies",
         {{0, 0, 5, 0, 180}, {0, 0, 5, 0, 180}, {0, 0, 5, 180, 360}},
         {{0, 2}}, {true}},
        {"zero-length line and zero-radius arc stand alone and keep the chain whole",
         {{0, 0, 10, 0}, {10, 0, 10, 0}, {10, 0, 0, 0, 90}, {10, 0, 10, 10}},
         {{0, 3}, {1}, {2}},
         {false, false, false}},
        {"ends within the tolerance meet, ends beyond it do not",
         {{0, 0, 10, 0}, {10 + 0.9e-8, 0.9e-8, 10, 10}, {10, 10 + 3e-8, 0, 10}},
         {{0, 1}, {2}},
         {false, false}},
        {"ends on either side of a hash cell's border meet",
         {{0, 0, border - e, border + e}, {border + e, border - e, 1, 0}, {-e, e, -1, 0}},
         {{0, 1, 2}},
         {false}},
        {"coordinates near the top of the range still chain",
         {{1e306, 1e306, 1.5e306, 1e306},
          {1.5e306, 1e306, 1.5e306, 1.5e306},
          {1e20, 0, 1e20 + 1e5, 0}},
         {{0, 1}, {2}},
         {false, false}},
        {"circles, full arcs and an arc whose ends meet are closed paths; a line touching a "
         "circle but not an end of it is not",
         {{0, 0, 5}, {20, 0, 5, 30, 390}, {40, 0, 5, 10, 10 + 360 - 1e-12}, {0, 5, 0, 20}},
         {{0}, {1}, {2}, {3}},
         {true, true, true, false}},
        {"collinear lines overlapping are followed once, the later one from where the earlier "
         "ends",
         {{0, 0, 100, 0}, {150, 0, 50, 0}},
         {{0, 1}},
         {false}},
        {"a line lying within an earlier one on its carrier is not followed",
         {{0, 0, 100, 0}, {80, 0, 20, 0}},
         {{0}},
         {false}},
        {"collinear lines apart, and parallel lines beyond the tolerance, stay apart",
         {{0, 0, 10, 0}, {20, 0, 30, 0}, {5, 3e-8, 15, 3e-8}},
         {{0}, {1}, {2}},
         {false, false, false}},
        {"a square drawn in pieces both ways is one closed path",
         {{0, 0, 10, 0}, {10, 10, 10, 0}, {0, 10, 10, 10}, {0, 10, 0, 0}},
         {{0, 1, 2, 3}},
         {true}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const AlongSelection sel = Paths(c.scene);
        std::size_t followed = 0;
        for (const auto& group : c.groups) followed += group.size();
        ExpectSoundPaths(sel, followed);
        EXPECT_EQ(Grouping(sel), c.groups);
        ASSERT_EQ(sel.paths.size(), c.closed.size());
        for (std::size_t i = 0; i < c.closed.size(); ++i)
            EXPECT_EQ(sel.paths[i].closed, c.closed[i]);
    }
}

double TwiceArea(const ElementPath& path) {
    double sum = 0;
    for (const PathElement& e : path.elements)
        for (int i = 0; i < 64; ++i) {  // fine enough for the sign
            const Point p = At(e, i / 64.0), q = At(e, (i + 1) / 64.0);
            sum += p.x * q.y - p.y * q.x;
        }
    return sum;
}

// Open paths run from the free end of the end element listed first: the random
// chains above.
TEST(AlongPaths, ClosedPathsRunCounterClockwiseFromTheirFirstListedElement) {
    // A slot: two half circles joined by lines, listed clockwise and mixed up.
    const AlongSelection slot =
        Paths({{0, 10, 20, 10}, {0, 5, 5, 90, 270}, {0, 0, 20, 0}, {20, 5, 5, 270, 90}});
    ASSERT_EQ(slot.paths.size(), 1u);
    const ElementPath& path = slot.paths[0];
    EXPECT_TRUE(path.closed);
    EXPECT_GT(TwiceArea(path), 0);
    EXPECT_EQ(path.elements[0].order, 0);
    EXPECT_TRUE(Near(path.elements[0].a, {20, 10}));  // runs right to left along the top
    EXPECT_GT(path.elements[1].sweepRad, 0);          // then the left half counter-clockwise
}

TEST(AlongPaths, ElementsThatAreNotFollowed) {
    ElementStore s = Store({
        {0, 0, 10, 0, 90, 0.5},       // elliptic: declined and counted
        {0, 0, 10, 0, 90, 1, 45},     // tilted circle: followed, tilt added
        {0, 0, 10, 0, 90, 1 + 1e-9},  // circular within the tolerance
        {0, 0, std::numeric_limits<double>::infinity(), 0},
        {0, 0, -10, 0, 90},  // a negative radius is the same circle
    });
    s.texts.push_back({});
    s.order.push_back({ElementKind::Text, 0});
    const AlongSelection sel = PathsFromSelection(s);
    EXPECT_EQ(sel.notFollowed, 1);
    ASSERT_EQ(sel.paths.size(), 3u);
    EXPECT_NEAR(sel.paths[0].elements[0].startRad, kPi / 4, 1e-12);
    EXPECT_TRUE(Near(sel.paths[0].elements[0].b, Along({0, 0}, 10, 3 * kPi / 4)));
    const PathElement& negative = sel.paths[2].elements[0];
    EXPECT_EQ(negative.radius, 10);
    EXPECT_TRUE(Near(negative.a, {-10, 0}));
    EXPECT_TRUE(Near(negative.b, {0, -10}));
}

TEST(AlongPaths, ManyDisconnectedElementsAndHugeRadii) {
    constexpr int kCount = 100000;
    Scene scene;
    for (int i = 0; i < kCount; ++i) {
        const double x = (i % 400) * 3.0, y = (i / 400) * 3.0;
        scene.push_back({x, y, x + 1, y + 1});
    }
    scene.push_back({0, 0, 1e12, 0, 1e-9});
    scene.push_back({0, 0, 1e12, 1e-9, 2e-9});
    const AlongSelection sel = Paths(scene);
    EXPECT_EQ(sel.paths.size(), static_cast<std::size_t>(kCount) + 1);
    ExpectSoundPaths(sel, kCount + 2);
}

// ---------------------------------------------------------------- drawing

PatternRow Row(std::int32_t kind, std::int32_t base, std::int32_t upper, std::int32_t middle,
               std::int32_t lower, std::int32_t placement = 0) {
    return {.figureKind = kind,
            .width = 7,
            .height = 4,
            .placement = placement,
            .interval = 3,
            .basePoint = base,
            .upperLine = upper,
            .middleLine = middle,
            .lowerLine = lower};
}

std::int64_t CountAlong(const PatternRow& row, const AlongSelection& sel) {
    return LayoutFigureCount(LayoutInputs{row, {}, 1}, sel.paths);
}

// What the layout emits, its line color switches left out unless withColors.
Calls Drawn(const PatternRow& row, const AlongSelection& sel, bool withColors = true) {
    RecordingTarget out;
    LayOutPaths(LayoutInputs{row, {}, 1}, (sel).paths, out);
    if (!withColors) std::erase_if(out.calls, [](const auto& c) { return c.op == "linecolor"; });
    return out.calls;
}

TEST(AlongDrawing, LinePathsDrawWhatTheChainOfPointsDraws) {
    const std::vector<std::vector<Point>> chains = {
        {{0, 0}, {100, 0}},
        {{0, 0}, {100, 0}, {100, 60}, {40, 90}},
        {{0, 0}, {100, 0}, {120, 70}, {10, 50}, {0, 0}},  // closed, counter-clockwise
        {{0, 0}, {100, 0}, {0, 1}, {0, 30}},              // beyond the mitre limit
    };
    for (int base = 0; base <= 2; ++base)
        for (int kind : {2, 20, 49, 87})
            for (const auto& chain : chains) {
                const PatternRow row = Row(kind, base, 2, base == 1 ? 1 : 2, 1, kind == 49);
                Scene scene;  // every other line listed backwards
                for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
                    const Point p = chain[k + k % 2], q = chain[k + 1 - k % 2];
                    scene.push_back({p.x, p.y, q.x, q.y});
                }
                RecordingTarget along, spans;
                LayOutPaths(LayoutInputs{row, {true, 5}, 3}, (Paths(scene)).paths, along);
                std::vector<Point> points = {{}};
                points.insert(points.end(), chain.begin(), chain.end());
                const int npts = static_cast<int>(chain.size());
                for (int j = 1; j < npts; ++j)
                    LayOutSpan(LayoutInputs{row, {true, 5}, 3}, ChainPath(points, npts),
                               static_cast<std::size_t>(j - 1), spans);
                ASSERT_EQ(along.calls.size(), spans.calls.size());
                EXPECT_GT(spans.calls.size(), 2 * chain.size());
                for (std::size_t i = 0; i < spans.calls.size(); ++i) {
                    EXPECT_EQ(along.calls[i].op, spans.calls[i].op);
                    EXPECT_EQ(along.calls[i].values, spans.calls[i].values);
                }
            }
}

// How far across its element a point lies: towards "上" from a line, or the
// radius of the circle it lies on about an arc's centre.
double Across(const PathElement& e, Point p) {
    if (e.shape == PathElement::Shape::Arc) return Distance(p, e.centre);
    const double len = Distance(e.a, e.b);
    return ((e.a.x - e.b.x) * (p.y - e.a.y) + (e.b.y - e.a.y) * (p.x - e.a.x)) / -len;
}

struct Band {
    double lo, hi;  // in the measure of Across
    double bulge;   // how far a figure's corners may stand beyond hi
};

Band BandOf(const PathElement& e, const PatternRow& row) {
    const double off = BandOffset(row.basePoint, row.height);
    if (e.shape == PathElement::Shape::Line) return {-off, row.height - off, 0};
    const double sigma = e.sweepRad < 0 ? -1 : 1;
    const double r0 = e.radius + sigma * off, r1 = e.radius - sigma * (row.height - off);
    const double hi = std::max(r0, r1);
    return {std::min(r0, r1), hi, std::hypot(hi, row.width / 2) - hi};
}

// Every kind's lines and solids, and the gap lines, drawn along each element
// of random paths stay in that element's band; on an arc a figure's outer
// corners may stand out by the bulge of its width.
TEST(AlongDrawing, FiguresStayInTheBandOfTheirElement) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const AlongSelection sel = Paths(RandomChain(seed, 8, true));
        for (const PathElement& e : sel.paths[0].elements)
            for (std::int32_t kind = 0; kind < 107; ++kind)
                for (int base = 0; base <= 2; ++base) {
                    SCOPED_TRACE(testing::Message() << "seed " << seed << " element " << e.order
                                                    << " kind " << kind << " base " << base);
                    const PatternRow row = Row(kind, base, 1, 1, 1);
                    const Band band = BandOf(e, row);
                    for (const auto& c : Drawn(row, {{{{e}, false}}, 0}))
                        if (c.op == "line" || c.op == "tri" || c.op == "quad")
                            for (std::size_t i = 0; i + 1 < c.values.size(); i += 2) {
                                const double across = Across(e, {c.values[i], c.values[i + 1]});
                                EXPECT_GE(across, band.lo - 1e-9);
                                EXPECT_LE(across, band.hi + band.bulge + 1e-9);
                            }
                }
    }
}

TEST(AlongDrawing, EachElementCarriesTheCountOfItsLength) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        const AlongSelection sel = Paths(RandomChain(seed, 8, true));
        const PatternRow row = Row(2, 1, 0, 0, 0, seed % 2);  // one line per figure, no guides
        int expected = 0;
        for (const auto& path : sel.paths)
            for (const PathElement& e : path.elements) {
                const double len = e.shape == PathElement::Shape::Line
                                       ? Distance(e.a, e.b)
                                       : e.radius * std::fabs(e.sweepRad);
                expected += std::max(0, *FigureCount(len, row.width, row.interval));
            }
        const Calls out = Drawn(row, sel);
        EXPECT_EQ(std::count_if(out.begin(), out.end(), [](auto& c) { return c.op == "line"; }),
                  expected);
        EXPECT_EQ(CountAlong(row, sel), expected);
    }
}

// At R = 1e12 a figure's width is a sweep of about 1e-11 radians: its gaps
// become chords rather than arcs whose printed ends could read as a full circle.
// Half such a circle holds more figures of a tiny width than 32 bits count.
TEST(AlongDrawing, HugeRadiiDrawAndCountByTheirLength) {
    const PatternRow row = Row(2, 1, 1, 2, 1);
    const AlongSelection sel = Paths({{0, 0, 1e12, 0, 1e-6}});  // 17453 long
    EXPECT_EQ(CountAlong(row, sel), *FigureCount(1e12 * 1e-6 * kDegToRad, 7, 3));
    int arcs = 0;
    for (const auto& c : Drawn(row, sel))
        if (c.op == "arc") {
            ++arcs;
            EXPECT_NE(c.values[3], c.values[4]);
        }
    EXPECT_EQ(arcs, 1);  // the full-length middle line
    PatternRow tiny = Row(2, 1, 0, 0, 0);
    tiny.width = 1e-3;
    tiny.interval = 0;
    EXPECT_GE(CountAlong(tiny, Paths({{0, 0, 1e12, 0, 180}, {0, 0, 1, 0}})),
              std::numeric_limits<std::int32_t>::max());
}

// The ends of a drawn line, or of a drawn arc counter-clockwise.
std::pair<Point, Point> Ends(const RecordingTarget::Call& c) {
    if (c.op == "line") return {{c.values[0], c.values[1]}, {c.values[2], c.values[3]}};
    const Point centre{c.values[0], c.values[1]};
    return {Along(centre, c.values[2], c.values[3] * kDegToRad),
            Along(centre, c.values[2], c.values[4] * kDegToRad)};
}

// Full-length lines only (a kind that draws nothing), one guide at a time.
TEST(AlongDrawing, FullLengthCurvesAreConcentricAndMeetAtEveryJoint) {
    const Scene shapes[] = {
        // clang-format off
        // a rounded rectangle: every joint tangent
        {{0, -5, 20, -5}, {20, 0, 5, 270, 360}, {25, 0, 25, 10}, {20, 10, 5, 0, 90},
         {20, 15, 0, 15}, {0, 10, 5, 90, 180}, {-5, 10, -5, 0}, {0, 0, 5, 180, 270}},
        {{-30, 0, 30, 0}, {0, 0, 30, 0, 180}},           // a D: corners at the joints
        {{0, -20, 40, 30, 150}, {0, 20, 40, 210, 330}},  // a lens: arcs crossing at an angle
        // an open S of two arcs turning opposite ways, then a line
        {{0, 0, 20, 180, 360}, {40, 0, 20, 0, 180}, {60, 0, 60, -30}},
        // clang-format on
    };
    for (const Scene& shape : shapes)
        for (int base = 0; base <= 2; ++base)
            for (int guide = 0; guide < 3; ++guide) {
                SCOPED_TRACE(testing::Message() << "shape " << &shape - shapes << " base " << base
                                                << " guide " << guide);
                const AlongSelection sel = Paths(shape);
                ASSERT_EQ(sel.paths.size(), 1u);
                const ElementPath& path = sel.paths[0];
                const PatternRow row =
                    Row(200, base, guide == 0 ? 2 : 0, guide == 1 ? 2 : 0, guide == 2 ? 2 : 0);
                const Calls pieces = Drawn(row, sel, false);
                ASSERT_EQ(pieces.size(), path.elements.size());
                // Piece k's ends in the direction its element runs.
                auto ends = [&](std::size_t k) {
                    const auto [s, t] = Ends(pieces[k]);
                    return path.elements[k].sweepRad < 0 ? std::pair{t, s} : std::pair{s, t};
                };
                const double v = guide == 0 ? row.height : guide == 1 ? row.height / 2 : 0;
                const double d = v - BandOffset(row.basePoint, row.height);
                for (std::size_t k = 0; k < pieces.size(); ++k) {
                    const PathElement& e = path.elements[k];
                    if (e.shape == PathElement::Shape::Arc) {
                        ASSERT_EQ(pieces[k].op, "arc");
                        EXPECT_NEAR(pieces[k].values[0], e.centre.x, 1e-12);
                        EXPECT_NEAR(pieces[k].values[1], e.centre.y, 1e-12);
                        EXPECT_NEAR(pieces[k].values[2], e.radius - (e.sweepRad < 0 ? -d : d),
                                    1e-9);
                    }
                    const bool last = k + 1 == pieces.size();
                    if (last && !path.closed) break;
                    EXPECT_TRUE(Near(ends(k).second, ends(last ? 0 : k + 1).first, 1e-8))
                        << "joint after element " << k;
                }
            }
}

// A guide whose radius would be zero or negative is not drawn. About a circle
// with the band 0..4 towards its centre only the lower line is; where a line
// meets an arc too small for the upper line, the line's ends at the joint.
TEST(AlongDrawing, CurvesWithoutRadiusAreSkipped) {
    test::ExpectCalls(Drawn(Row(200, 2, 2, 2, 2), Paths({{3, 4, 2}}), false), "arc",
                      {{3, 4, 2, 0, 360, 1, 0}}, 1e-12);
    test::ExpectCalls(
        Drawn(Row(200, 2, 2, 0, 0), Paths({{0, 0, 50, 0}, {50, 1, 1, 270, 360}}), false), "line",
        {{0, 4, 50, 4}}, 1e-12);
}

TEST(AlongDrawing, GapArcsFollowTheArcBetweenFigures) {
    const PatternRow row = Row(200, 2, 1, 0, 1);
    const double len = 50 * kPi / 2;
    const int n = *FigureCount(len, row.width, row.interval);
    const double s0 = (len - (n * row.width + (n - 1) * row.interval)) / 2;
    double covered = 0;
    for (const auto& c : Drawn(row, Paths({{0, 0, 50, 0, 90}}))) {
        if (c.op != "arc") continue;
        EXPECT_TRUE(c.values[2] == 50 || c.values[2] == 46) << c.values[2];
        covered += (c.values[4] - c.values[3]) * kDegToRad * 50 * (c.values[2] == 50);
    }
    EXPECT_NEAR(covered, 2 * s0 + (n - 1) * row.interval, 1e-9);
}

// Where the path nearly doubles back, its curves meet far away: the ends stay
// within ten times the shift of the corner. Line paths are checked against
// the chain of points above; here a line runs into an arc's cusp.
TEST(AlongDrawing, CuspsKeepTheirEndsWithinTheMitreLimit) {
    // The arc leaves (100, 0) heading back along the line; guide lines 2 either side.
    const AlongSelection sel = Paths({{0, 0, 100, 0}, {100, -500, 500, 90, 100}});
    std::vector<Point> ends;
    for (const auto& c : Drawn(Row(200, 1, 2, 0, 2), sel, false)) {
        ends.push_back(Ends(c).first);
        ends.push_back(Ends(c).second);
    }
    ASSERT_EQ(ends.size(), 8u);
    for (Point p : ends) {
        double nearest = std::numeric_limits<double>::infinity();
        for (Point vertex : {Point{0, 0}, Point{100, 0}, sel.paths[0].elements[1].b})
            nearest = std::min(nearest, Distance(p, vertex));
        EXPECT_LE(nearest, 10 * 2 + 1e-6);
    }
}

}  // namespace
}  // namespace tesra
