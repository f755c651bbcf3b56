// Drawing along selected elements: chaining, counts, bands and joints as properties.
#include "figures/along_elements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <vector>

#include "figures/span_placement.h"
#include "geom/helpers.h"
#include "test_support.h"

namespace tesra {
namespace {


constexpr double kDeg = kPi / 180;

// A selection built element by element, in input order.
struct Selection {
    ElementStore store;

    void Line(Point a, Point b) {
        store.lines.push_back({{}, 0, a.x, a.y, b.x, b.y});
        Order(ElementKind::Line, store.lines.size());
    }
    // Counter-clockwise from startDeg to endDeg, as the host lists arcs.
    void Arc(Point c, double r, double startDeg, double endDeg, double flatness = 1,
             double tiltDeg = 0) {
        store.arcs.push_back({{}, {c.x, c.y, r, startDeg, endDeg, flatness, tiltDeg}});
        Order(ElementKind::Arc, store.arcs.size());
    }
    void Circle(Point c, double r) {
        store.circles.push_back({{}, c.x, c.y, r});
        Order(ElementKind::Circle, store.circles.size());
    }
    void Order(ElementKind kind, std::size_t size) {
        store.order.push_back(
            {static_cast<std::int32_t>(kind), static_cast<std::int32_t>(size - 1)});
    }
};

bool Near(Point a, Point b, double eps = 1e-7) {
    return std::fabs(a.x - b.x) <= eps && std::fabs(a.y - b.y) <= eps;
}

Point OnCircle(Point c, double r, double rad) {
    return {c.x + r * std::cos(rad), c.y + r * std::sin(rad)};
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
            if (e.shape == PathElement::Shape::Arc) {
                EXPECT_TRUE(Near(e.a, OnCircle(e.centre, e.radius, e.startRad)));
                EXPECT_TRUE(Near(e.b, OnCircle(e.centre, e.radius, e.startRad + e.sweepRad)));
            }
            if (k + 1 < path.elements.size()) {
                EXPECT_TRUE(Near(e.b, path.elements[k + 1].a));
            }
        }
        if (path.closed) {
            EXPECT_TRUE(Near(path.elements.back().b, path.elements.front().a));
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

// A random chain of lines and arcs, each element listed in a random direction.
struct RandomChain {
    std::vector<PathElement> elements;  // as the path runs
    Selection sel;

    RandomChain(unsigned seed, int count, bool reverseSome) {
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> unit(0, 1);
        Point p{unit(rng) * 100, unit(rng) * 100};
        double heading = unit(rng) * 2 * kPi;
        for (int i = 0; i < count; ++i) {
            const bool flip = unit(rng) < 0.5 && reverseSome;
            if (unit(rng) < 0.5) {
                const double len = 20 + 80 * unit(rng);
                const Point q = OnCircle(p, len, heading);
                flip ? sel.Line(q, p) : sel.Line(p, q);
                p = q;
            } else {
                const double r = 15 + 60 * unit(rng);
                const double sweepDeg = (30 + 150 * unit(rng)) * (unit(rng) < 0.5 ? -1 : 1);
                const double side = sweepDeg > 0 ? heading + kPi / 2 : heading - kPi / 2;
                const Point c = OnCircle(p, r, side);
                const double a0 = std::atan2(p.y - c.y, p.x - c.x) / kDeg;
                const double a1 = a0 + sweepDeg;
                // Listed counter-clockwise, so a clockwise turn is listed from its far end.
                sel.Arc(c, r, std::min(a0, a1), std::max(a0, a1));
                p = OnCircle(c, r, a1 * kDeg);
                heading += sweepDeg * kDeg + (unit(rng) - 0.5);  // a kink after some arcs
            }
            heading += (unit(rng) - 0.5) * 2;
        }
    }
};

TEST(AlongPaths, ChainsLoseNothingWhateverTheDrawingDirection) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        RandomChain forward(seed, 12, false), mixed(seed, 12, true);
        const AlongSelection a = PathsFromSelection(forward.sel.store);
        const AlongSelection b = PathsFromSelection(mixed.sel.store);
        ExpectSoundPaths(a, 12);
        ExpectSoundPaths(b, 12);
        EXPECT_EQ(a.paths.size(), 1u);
        EXPECT_EQ(Grouping(a), Grouping(b));
        // The file's first element is a free end: the path runs from it.
        ASSERT_FALSE(b.paths.empty());
        EXPECT_EQ(b.paths[0].elements.front().order, 0);
    }
}

struct GroupCase {
    const char* name;
    void (*build)(Selection&);
    std::set<std::set<std::int32_t>> groups;
    std::vector<bool> closed;  // per path, in output order
};

const GroupCase kGroupCases[] = {
    {"three lines meeting at one point end their paths there",
     [](Selection& s) {
         s.Line({0, 0}, {10, 0});
         s.Line({10, 0}, {20, 5});
         s.Line({10, 0}, {20, -5});
         s.Line({20, 5}, {30, 5});
     },
     {{0}, {1, 3}, {2}},
     {false, false, false}},
    {"a duplicated line closes on its twin",
     [](Selection& s) {
         s.Line({0, 0}, {10, 0});
         s.Line({0, 0}, {10, 0});
     },
     {{0, 1}},
     {true}},
    {"zero-length line and zero-radius arc stand alone and keep the chain whole",
     [](Selection& s) {
         s.Line({0, 0}, {10, 0});
         s.Line({10, 0}, {10, 0});
         s.Arc({10, 0}, 0, 0, 90);
         s.Line({10, 0}, {10, 10});
     },
     {{0, 3}, {1}, {2}},
     {false, false, false}},
    {"ends within the tolerance meet, ends beyond it do not",
     [](Selection& s) {
         s.Line({0, 0}, {10, 0});
         s.Line({10 + 0.9e-8, 0.9e-8}, {10, 10});
         s.Line({10, 10 + 3e-8}, {0, 10});
     },
     {{0, 1}, {2}},
     {false, false}},
    {"ends on either side of a hash cell's border meet",
     [](Selection& s) {
         const double border = 1.0 / 1024;
         s.Line({0, 0}, {border - 0.4e-8, border + 0.4e-8});
         s.Line({border + 0.4e-8, border - 0.4e-8}, {1, 0});
         s.Line({-0.4e-8, 0.4e-8}, {-1, 0});
     },
     {{0, 1, 2}},
     {false}},
    {"coordinates near the top of the range still chain",
     [](Selection& s) {
         s.Line({1e306, 1e306}, {1.5e306, 1e306});
         s.Line({1.5e306, 1e306}, {1.5e306, 1.5e306});
         s.Line({1e20, 0}, {1e20 + 1e5, 0});
     },
     {{0, 1}, {2}},
     {false, false}},
    {"circles, full arcs and an arc whose ends meet are closed paths",
     [](Selection& s) {
         s.Circle({0, 0}, 5);
         s.Arc({20, 0}, 5, 30, 390);
         s.Arc({40, 0}, 5, 10, 10 + 360 - 1e-12);
         s.Line({0, 5}, {0, 20});  // touches the circle but not an end of it
     },
     {{0}, {1}, {2}, {3}},
     {true, true, true, false}},
    {"a square drawn in pieces both ways is one closed path",
     [](Selection& s) {
         s.Line({0, 0}, {10, 0});
         s.Line({10, 10}, {10, 0});
         s.Line({0, 10}, {10, 10});
         s.Line({0, 10}, {0, 0});
     },
     {{0, 1, 2, 3}},
     {true}},
};

TEST(AlongPaths, GroupsByTheJunctionRule) {
    for (const GroupCase& c : kGroupCases) {
        SCOPED_TRACE(c.name);
        Selection s;
        c.build(s);
        const AlongSelection sel = PathsFromSelection(s.store);
        ExpectSoundPaths(sel, s.store.order.size());
        EXPECT_EQ(Grouping(sel), c.groups);
        ASSERT_EQ(sel.paths.size(), c.closed.size());
        for (std::size_t i = 0; i < c.closed.size(); ++i)
            EXPECT_EQ(sel.paths[i].closed, c.closed[i]);
    }
}

double TwiceArea(const ElementPath& path) {
    double sum = 0;
    for (const PathElement& e : path.elements) {
        if (e.shape == PathElement::Shape::Line) {
            sum += e.a.x * e.b.y - e.a.y * e.b.x;
            continue;
        }
        for (int i = 0; i < 64; ++i) {  // fine enough for the sign
            const Point p = OnCircle(e.centre, e.radius, e.startRad + e.sweepRad * i / 64);
            const Point q = OnCircle(e.centre, e.radius, e.startRad + e.sweepRad * (i + 1) / 64);
            sum += p.x * q.y - p.y * q.x;
        }
    }
    return sum;
}

TEST(AlongPaths, ClosedPathsRunCounterClockwiseFromTheFirstElement) {
    // A slot: two half circles joined by lines, listed clockwise and mixed up.
    Selection s;
    s.Line({0, 10}, {20, 10});
    s.Arc({0, 5}, 5, 90, 270);
    s.Line({0, 0}, {20, 0});
    s.Arc({20, 5}, 5, 270, 90);
    const AlongSelection sel = PathsFromSelection(s.store);
    ASSERT_EQ(sel.paths.size(), 1u);
    const ElementPath& path = sel.paths[0];
    EXPECT_TRUE(path.closed);
    EXPECT_GT(TwiceArea(path), 0);
    EXPECT_EQ(path.elements[0].order, 0);
    EXPECT_TRUE(Near(path.elements[0].a, {20, 10}));  // runs right to left along the top
    EXPECT_GT(path.elements[1].sweepRad, 0);          // then the left half counter-clockwise
}

TEST(AlongPaths, OpenPathsRunFromTheFreeEndOfTheEarlierEndElement) {
    Selection s;
    s.Line({20, 0}, {30, 0});  // the far end element comes first in the file
    s.Line({10, 0}, {0, 0});
    s.Line({10, 0}, {20, 0});
    const AlongSelection sel = PathsFromSelection(s.store);
    ASSERT_EQ(sel.paths.size(), 1u);
    EXPECT_TRUE(Near(sel.paths[0].elements.front().a, {30, 0}));
    EXPECT_TRUE(Near(sel.paths[0].elements.back().b, {0, 0}));
}

TEST(AlongPaths, ElementsThatAreNotFollowed) {
    Selection s;
    s.Arc({0, 0}, 10, 0, 90, 0.5);       // elliptic: declined and counted
    s.Arc({0, 0}, 10, 0, 90, 1, 45);     // tilted circle: followed, tilt added
    s.Arc({0, 0}, 10, 0, 90, 1 + 1e-9);  // circular within the tolerance
    s.Line({0, 0}, {std::numeric_limits<double>::infinity(), 0});
    s.store.texts.push_back({});
    s.Order(ElementKind::Text, 1);
    const AlongSelection sel = PathsFromSelection(s.store);
    EXPECT_EQ(sel.notFollowed, 1);
    ASSERT_EQ(sel.paths.size(), 2u);
    EXPECT_NEAR(sel.paths[0].elements[0].startRad, kPi / 4, 1e-12);
    EXPECT_TRUE(Near(sel.paths[0].elements[0].b, OnCircle({0, 0}, 10, 3 * kPi / 4)));
}

TEST(AlongPaths, ANegativeRadiusIsTheSameCircle) {
    Selection s;
    s.Arc({0, 0}, -10, 0, 90);
    const AlongSelection sel = PathsFromSelection(s.store);
    ASSERT_EQ(sel.paths.size(), 1u);
    const PathElement& e = sel.paths[0].elements[0];
    EXPECT_EQ(e.radius, 10);
    EXPECT_TRUE(Near(e.a, {-10, 0}));
    EXPECT_TRUE(Near(e.b, {0, -10}));
}

TEST(AlongPaths, ManyDisconnectedElementsAndHugeRadii) {
    Selection s;
    constexpr int kCount = 100000;
    for (int i = 0; i < kCount; ++i) {
        const double x = (i % 400) * 3.0, y = (i / 400) * 3.0;
        s.Line({x, y}, {x + 1, y + 1});
    }
    s.Arc({0, 0}, 1e12, 0, 1e-9);
    s.Arc({0, 0}, 1e12, 1e-9, 2e-9);
    const AlongSelection sel = PathsFromSelection(s.store);
    EXPECT_EQ(sel.paths.size(), static_cast<std::size_t>(kCount) + 1);
    ExpectSoundPaths(sel, kCount + 2);
}

// ---------------------------------------------------------------- drawing

PatternRow Row(std::int32_t kind, std::int32_t base, std::int32_t upper, std::int32_t middle,
               std::int32_t lower, std::int32_t placement = 0) {
    PatternRow row;
    row.figureKind = kind;
    row.width = 7;
    row.height = 4;
    row.interval = 3;
    row.placement = placement;
    row.basePoint = base;
    row.upperLine = upper;
    row.middleLine = middle;
    row.lowerLine = lower;
    return row;
}

std::vector<PatternRow> SomeRows() {
    std::vector<PatternRow> rows;
    for (int base = 0; base <= 2; ++base)
        for (int kind : {2, 20, 49, 87})
            rows.push_back(Row(kind, base, 2, base == 1 ? 1 : 2, 1, kind == 49 ? 1 : 0));
    return rows;
}

TEST(AlongDrawing, LinePathsDrawWhatTheChainOfPointsDraws) {
    const std::vector<std::vector<Point>> chains = {
        {{0, 0}, {100, 0}},
        {{0, 0}, {100, 0}, {100, 60}, {40, 90}},
        {{0, 0}, {100, 0}, {120, 70}, {10, 50}, {0, 0}},  // closed, counter-clockwise
        {{0, 0}, {100, 0}, {0, 1}, {0, 30}},              // beyond the mitre limit
    };
    for (const PatternRow& row : SomeRows())
        for (const auto& chain : chains) {
            Selection s;
            for (std::size_t k = 0; k + 1 < chain.size(); ++k)
                k % 2 ? s.Line(chain[k + 1], chain[k]) : s.Line(chain[k], chain[k + 1]);
            RecordingTarget along, spans;
            DrawAlongPaths({row, {true, 5}, 3}, PathsFromSelection(s.store), along);
            std::vector<Point> points = {{}};
            points.insert(points.end(), chain.begin(), chain.end());
            const int npts = static_cast<int>(chain.size());
            for (int j = 1; j < npts; ++j)
                SpanPlacement({row, points, {true, 5}, 3}, j, npts, spans);
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

std::vector<Point> PointsOf(const RecordingTarget::Call& c) {
    std::vector<Point> pts;
    if (c.op == "line" || c.op == "tri" || c.op == "quad")
        for (std::size_t i = 0; i + 1 < c.values.size(); i += 2)
            pts.push_back({c.values[i], c.values[i + 1]});
    return pts;
}

// Every kind's lines and solids, and the gap lines, drawn along each element
// of random paths stay in that element's band; on an arc a figure's outer
// corners may stand out by the bulge of its width.
TEST(AlongDrawing, FiguresStayInTheBandOfTheirElement) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const AlongSelection sel = PathsFromSelection(RandomChain(seed, 8, true).sel.store);
        for (const PathElement& e : sel.paths[0].elements)
            for (std::int32_t kind = 0; kind < 107; ++kind)
                for (int base = 0; base <= 2; ++base) {
                    SCOPED_TRACE(testing::Message() << "seed " << seed << " element " << e.order
                                                    << " kind " << kind << " base " << base);
                    const PatternRow row = Row(kind, base, 1, 1, 1);
                    AlongSelection one;
                    one.paths.push_back({{e}, false});
                    RecordingTarget out;
                    DrawAlongPaths({row, {}, 1}, one, out);
                    const Band band = BandOf(e, row);
                    for (const auto& c : out.calls)
                        for (Point p : PointsOf(c)) {
                            EXPECT_GE(Across(e, p), band.lo - 1e-9);
                            EXPECT_LE(Across(e, p), band.hi + band.bulge + 1e-9);
                        }
                }
    }
}

int CountFigures(const RecordingTarget& out) {
    return static_cast<int>(std::count_if(out.calls.begin(), out.calls.end(),
                                          [](const auto& c) { return c.op == "line"; }));
}

TEST(AlongDrawing, EachElementCarriesTheCountOfItsLength) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        RandomChain chain(seed, 8, true);
        const AlongSelection sel = PathsFromSelection(chain.sel.store);
        const PatternRow row = Row(2, 1, 0, 0, 0, seed % 2);  // one line per figure, no guides
        int expected = 0;
        for (const auto& path : sel.paths)
            for (const PathElement& e : path.elements) {
                const double len = e.shape == PathElement::Shape::Line
                                       ? Distance(e.a, e.b)
                                       : e.radius * std::fabs(e.sweepRad);
                expected += std::max(0, *FigureCount(len, row.width, row.interval));
            }
        RecordingTarget out;
        DrawAlongPaths({row, {}, 1}, sel, out);
        EXPECT_EQ(CountFigures(out), expected);
        EXPECT_EQ(AlongFigureCount({row, {}, 1}, sel), expected);
    }
}

// At R = 1e12 a figure's width is a sweep of about 1e-11 radians: its gaps
// become chords rather than arcs whose printed ends could read as a full circle.
TEST(AlongDrawing, HugeRadiiDrawByTheirLength) {
    Selection s;
    s.Arc({0, 0}, 1e12, 0, 1e-6);  // 17453 long
    const PatternRow row = Row(2, 1, 1, 2, 1);
    RecordingTarget out;
    const AlongSelection sel = PathsFromSelection(s.store);
    DrawAlongPaths({row, {}, 1}, sel, out);
    EXPECT_EQ(AlongFigureCount({row, {}, 1}, sel), *FigureCount(1e12 * 1e-6 * kDeg, 7, 3));
    int arcs = 0;
    for (const auto& c : out.calls)
        if (c.op == "arc") {
            ++arcs;
            EXPECT_NE(c.values[3], c.values[4]);
        }
    EXPECT_EQ(arcs, 1);  // the full-length middle line
}

TEST(AlongDrawing, CountsBeyondThirtyTwoBitsAreTooMany) {
    Selection s;
    s.Arc({0, 0}, 1e12, 0, 180);
    s.Line({0, 0}, {1, 0});
    PatternRow row = Row(2, 1, 0, 0, 0);
    row.width = 1e-3;
    row.interval = 0;
    EXPECT_GE(AlongFigureCount({row, {}, 1}, PathsFromSelection(s.store)),
              std::numeric_limits<std::int32_t>::max());
}

// The ends of one emitted guide piece, in the direction its element runs.
std::pair<Point, Point> PieceEnds(const RecordingTarget::Call& c, const PathElement& e) {
    if (c.op == "line") return {{c.values[0], c.values[1]}, {c.values[2], c.values[3]}};
    const Point centre{c.values[0], c.values[1]};
    const Point s = OnCircle(centre, c.values[2], c.values[3] * kDeg);
    const Point t = OnCircle(centre, c.values[2], c.values[4] * kDeg);
    return e.sweepRad < 0 ? std::pair{t, s} : std::pair{s, t};
}

// Full-length lines only (a kind that draws nothing), one guide at a time.
TEST(AlongDrawing, FullLengthCurvesAreConcentricAndMeetAtEveryJoint) {
    const std::vector<void (*)(Selection&)> shapes = {
        [](Selection& s) {  // a rounded rectangle: every joint tangent
            s.Line({0, -5}, {20, -5});
            s.Arc({20, 0}, 5, 270, 360);
            s.Line({25, 0}, {25, 10});
            s.Arc({20, 10}, 5, 0, 90);
            s.Line({20, 15}, {0, 15});
            s.Arc({0, 10}, 5, 90, 180);
            s.Line({-5, 10}, {-5, 0});
            s.Arc({0, 0}, 5, 180, 270);
        },
        [](Selection& s) {  // a D: half circle on its diameter, corners at the joints
            s.Line({-30, 0}, {30, 0});
            s.Arc({0, 0}, 30, 0, 180);
        },
        [](Selection& s) {  // a lens: two arcs crossing at an angle
            s.Arc({0, -20}, 40, 30, 150);
            s.Arc({0, 20}, 40, 210, 330);
        },
        [](Selection& s) {  // an open S of two arcs turning opposite ways, then a line
            s.Arc({0, 0}, 20, 180, 360);
            s.Arc({40, 0}, 20, 0, 180);
            s.Line({60, 0}, {60, -30});
        },
    };
    for (std::size_t shape = 0; shape < shapes.size(); ++shape)
        for (int base = 0; base <= 2; ++base)
            for (int guide = 0; guide < 3; ++guide) {
                SCOPED_TRACE(testing::Message()
                             << "shape " << shape << " base " << base << " guide " << guide);
                Selection s;
                shapes[shape](s);
                const AlongSelection sel = PathsFromSelection(s.store);
                ASSERT_EQ(sel.paths.size(), 1u);
                const ElementPath& path = sel.paths[0];
                const PatternRow row =
                    Row(200, base, guide == 0 ? 2 : 0, guide == 1 ? 2 : 0, guide == 2 ? 2 : 0);
                RecordingTarget out;
                DrawAlongPaths({row, {}, 1}, sel, out);
                std::vector<RecordingTarget::Call> pieces;
                for (const auto& c : out.calls)
                    if (c.op != "linecolor") pieces.push_back(c);
                ASSERT_EQ(pieces.size(), path.elements.size());
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
                    const std::size_t next = last ? 0 : k + 1;
                    EXPECT_TRUE(Near(PieceEnds(pieces[k], e).second,
                                     PieceEnds(pieces[next], path.elements[next]).first, 1e-8))
                        << "joint after element " << k;
                }
            }
}

TEST(AlongDrawing, CirclesGetConcentricCirclesAndVanishingRadiiAreSkipped) {
    Selection s;
    s.Circle({3, 4}, 2);
    const PatternRow row = Row(200, 2, 2, 2, 2);  // band 0..4 towards the centre
    RecordingTarget out;
    DrawAlongPaths({row, {}, 1}, PathsFromSelection(s.store), out);
    std::vector<std::vector<double>> arcs;
    for (const auto& c : out.calls)
        if (c.op == "arc") arcs.push_back(c.values);
    // Upper at radius -2 is not drawn, middle at 0 is not drawn, lower at 2 is the circle.
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(arcs[0], (std::vector<double>{3, 4, 2, 0, 360, 1, 0}));
}

// The arc's offset would have radius -1: nothing is drawn along it, and the
// line's full-length line ends at the joint instead of meeting it.
TEST(AlongDrawing, AJointWhoseCurvesCannotMeetEndsEachAtTheJoint) {
    Selection s;
    s.Line({0, 0}, {50, 0});
    s.Arc({50, 1}, 1, 270, 360);
    const PatternRow row = Row(200, 2, 2, 0, 0);  // upper line 4 above the path
    RecordingTarget out;
    DrawAlongPaths({row, {}, 1}, PathsFromSelection(s.store), out);
    std::vector<std::vector<double>> drawn;
    for (const auto& c : out.calls)
        if (c.op != "linecolor") drawn.push_back(c.values);
    ASSERT_EQ(drawn.size(), 1u);
    const std::vector<double> expected = {0, 4, 50, 4};
    for (std::size_t k = 0; k < 4; ++k) EXPECT_NEAR(drawn[0][k], expected[k], 1e-12);
}

TEST(AlongDrawing, GapArcsFollowTheArcBetweenFigures) {
    Selection s;
    s.Arc({0, 0}, 50, 0, 90);  // length 25π
    PatternRow row = Row(200, 2, 1, 0, 1);
    RecordingTarget out;
    DrawAlongPaths({row, {}, 1}, PathsFromSelection(s.store), out);
    const double len = 50 * kPi / 2;
    const int n = *FigureCount(len, row.width, row.interval);
    const double s0 = (len - (n * row.width + (n - 1) * row.interval)) / 2;
    double covered = 0;
    for (const auto& c : out.calls) {
        if (c.op != "arc") continue;
        EXPECT_TRUE(c.values[2] == 50 || c.values[2] == 46) << c.values[2];
        covered += (c.values[4] - c.values[3]) * kDeg * 50 * (c.values[2] == 50);
    }
    EXPECT_NEAR(covered, 2 * s0 + (n - 1) * row.interval, 1e-9);
}

// Where the path nearly doubles back, its curves meet far away: the ends stay
// within ten times the shift of the corner. Line paths are checked against
// the chain of points above; here a line runs into an arc's cusp.
TEST(AlongDrawing, CuspsKeepTheirEndsWithinTheMitreLimit) {
    Selection s;
    s.Line({0, 0}, {100, 0});
    s.Arc({100, -500}, 500, 90, 100);             // leaves (100, 0) heading back along the line
    const PatternRow row = Row(200, 1, 2, 0, 2);  // guide lines 2 either side
    RecordingTarget out;
    const AlongSelection sel = PathsFromSelection(s.store);
    DrawAlongPaths({row, {}, 1}, sel, out);
    std::vector<Point> ends;
    for (const auto& c : out.calls) {
        if (c.op == "line") {
            ends.push_back({c.values[0], c.values[1]});
            ends.push_back({c.values[2], c.values[3]});
        } else if (c.op == "arc") {
            const Point centre{c.values[0], c.values[1]};
            ends.push_back(OnCircle(centre, c.values[2], c.values[3] * kDeg));
            ends.push_back(OnCircle(centre, c.values[2], c.values[4] * kDeg));
        }
    }
    ASSERT_EQ(ends.size(), 8u);
    const PathElement& arc = sel.paths[0].elements[1];
    for (Point p : ends) {
        double nearest = std::numeric_limits<double>::infinity();
        for (Point vertex : {Point{0, 0}, Point{100, 0}, arc.b})
            nearest = std::min(nearest, Distance(p, vertex));
        EXPECT_LE(nearest, 10 * 2 + 1e-6);
    }
}

}  // namespace
}  // namespace tesra
