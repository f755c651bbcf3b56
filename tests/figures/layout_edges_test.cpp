// The layout at the edges of ordinary drawings: boxes as drawn (upright ones
// included) clear of each other and of sharp corners' bisectors, near the
// path, standing on it for base 下, in every arrangement, side and
// orientation; and the faults once found there, one row each.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "figures/along_elements.h"
#include "figures/layout.h"
#include "figures/layout_checks.h"
#include "figures/mitre.h"
#include "geom/helpers.h"
#include "geom/path.h"
#include "test_support.h"

namespace tesra {
namespace {

using namespace layout_checks;

constexpr std::int32_t kOpenSquare = 32;  // "□": four lines
constexpr double kNear = 1e-7;

double DistanceToSegment(Point p, Point a, Point b) {
    const Point d = b - a;
    const double t = Dot(d, d) > 0 ? std::clamp(Dot(p - a, d) / Dot(d, d), 0.0, 1.0) : 0.0;
    return Distance(p, a + t * d);
}

// Distance to a path of lines.
double DistanceToPath(const ElementPath& path, Point p) {
    double best = std::numeric_limits<double>::infinity();
    for (const PathElement& e : path.elements)
        best = std::min(best, DistanceToSegment(p, e.a, e.b));
    return best;
}

double Offset(const PatternRow& row) {
    return row.basePoint == kBaseTop      ? row.height
           : row.basePoint == kBaseMiddle ? row.height / 2
                                          : 0;
}

struct SharpCorner {
    Point vertex;
    Segment bisector;  // across the band
};

std::vector<SharpCorner> SharpCorners(const ElementPath& path, const PatternRow& row) {
    std::vector<SharpCorner> corners;
    const std::size_t n = path.elements.size();
    const double off = Offset(row);
    for (std::size_t k = path.closed ? 0 : 1; k < n; ++k) {
        const PathElement& before = path.elements[(k + n - 1) % n];
        const PathElement& after = path.elements[k];
        if (!IsSharpJoint(before, after)) continue;
        const Point t0 = EndTangent(before), t1 = StartTangent(after);
        const Point normals = LeftNormal(t0) + LeftNormal(t1);
        auto meet = [&](double v) { return after.a + (v / (1 + Dot(t0, t1))) * normals; };
        corners.push_back({after.a, {meet(-off), meet(row.height - off)}});
    }
    return corners;
}

bool InTriangle(Point q, Point a, Point b, Point c) {
    const double d1 = Cross(b - a, q - a), d2 = Cross(c - b, q - b), d3 = Cross(a - c, q - c);
    const double slack = kNear * std::max({1.0, Distance(a, b), Distance(b, c)});
    const bool anyBelow = d1 < -slack || d2 < -slack || d3 < -slack;
    const bool anyAbove = d1 > slack || d2 > slack || d3 > slack;
    return !(anyBelow && anyAbove);
}

// Whether q lies in the band between heights low and high over a path of
// lines: square to one of its sides, or in the wedge where two sides' bands
// meet at a joint, out to where their edges meet.
bool InBand(const ElementPath& path, double low, double high, Point q) {
    for (const PathElement& e : path.elements) {
        const Point t = Unit(e.b - e.a), n = LeftNormal(t);
        const double s = Dot(q - e.a, t), v = Dot(q - e.a, n);
        if (s > -kNear && s < Distance(e.a, e.b) + kNear && v > low - kNear && v < high + kNear)
            return true;
    }
    const std::size_t count = path.elements.size();
    for (std::size_t k = path.closed ? 0 : 1; k < count; ++k) {
        const PathElement& before = path.elements[(k + count - 1) % count];
        const Point j = path.elements[k].a;
        const Point n0 = LeftNormal(EndTangent(before)),
                    n1 = LeftNormal(StartTangent(path.elements[k]));
        for (double v : {low, high}) {
            const Point meet = j + (v / (1 + Dot(n0, n1))) * (n0 + n1);
            if (InTriangle(q, j, j + v * n0, meet) || InTriangle(q, j, meet, j + v * n1))
                return true;
        }
    }
    return false;
}

// The vertices where the path turns, but not sharply.
std::vector<Point> SmoothJoints(const ElementPath& path) {
    std::vector<Point> joints;
    const std::size_t n = path.elements.size();
    for (std::size_t k = path.closed ? 0 : 1; k < n; ++k) {
        const PathElement& before = path.elements[(k + n - 1) % n];
        if (!IsSharpJoint(before, path.elements[k])) joints.push_back(path.elements[k].a);
    }
    return joints;
}

// The properties every drawing of the probe figure keeps: no two boxes
// overlap; none but a corner's own figure crosses a sharp corner's bisector
// in the band; every box turned with the path lies within its band, but
// where the band bends under it at a smooth joint; off the corners, every
// box's middle within max(W, H) of the path, and for base 下 along the path,
// the box standing on it. A corner's figure stands where the band's middle
// lines meet, which at a sharp tip lies farther out, as the band's own corner
// does, but never farther than the guide lines' mitre reaches.
void ExpectLaidOutWell(const ElementPath& given, const PatternRow& row, const Drawn& drawn) {
    const ElementPath path = given.closed ? SidedPath(row, given, InsideIsLeft(given)) : given;
    const auto& boxes = drawn.boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = i + 1; j < boxes.size(); ++j)
            ASSERT_FALSE(Meet(boxes[i], boxes[j])) << "boxes " << i << " and " << j << " overlap";
    const std::vector<SharpCorner> corners = SharpCorners(path, row);
    auto onCorner = [&](const Box& b) {
        return row.arrangement == kArrangeCorners &&
               std::any_of(corners.begin(), corners.end(), [&](const SharpCorner& k) {
                   return DistanceToSegment(Centre(b), k.bisector[0], k.bisector[1]) < kNear;
               });
    };
    const std::vector<Point> smooth = SmoothJoints(path);
    auto overSmoothJoint = [&](const Box& b) {
        return std::any_of(smooth.begin(), smooth.end(), [&](Point j) {
            return Distance(j, Centre(b)) < std::hypot(row.width, row.height);
        });
    };
    const double reach = std::max(row.width, row.height) + kNear;
    const double low = -Offset(row), high = row.height - Offset(row);
    const double mitreReach = kMitreLimit * std::max(std::fabs(low), std::fabs(high)) + reach;
    for (const Box& b : boxes) {
        const bool turned = row.orientation != kOrientUpright;
        if (turned && !onCorner(b) && !overSmoothJoint(b)) {
            for (Point q : b)
                ASSERT_TRUE(InBand(path, low, high, q))
                    << "a box leaves its band at " << q.x << ", " << q.y;
        }
        if (onCorner(b)) {
            ASSERT_LE(DistanceToPath(path, Centre(b)), mitreReach) << "a corner figure runs off";
            continue;
        }
        ASSERT_LE(DistanceToPath(path, Centre(b)), reach) << "a box strays from the path";
        for (const SharpCorner& k : corners)
            ASSERT_FALSE(Meet(k.bisector, b))
                << "a box crosses the bisector at " << k.vertex.x << ", " << k.vertex.y;
        if (row.basePoint != kBaseBottom || !turned) continue;
        // The middle of its lower edge, (0, 0) to (W, 0) of the cell.
        EXPECT_LT(DistanceToPath(path, 0.5 * (b[0] + b[1])), kNear) << "a box floats off the path";
    }
}

// Polygons with corners turning both ways: a star of n points, the inner
// radius a share of the outer one, either way round, every corner sharp
// (smooth joints are left to the tests of one rhythm along a run).
std::vector<Point> Star(std::mt19937& rng, bool clockwise) {
    for (;;) {
        const int n = std::uniform_int_distribution<int>(3, 6)(rng);
        const double outer = std::uniform_real_distribution<double>(60, 90)(rng);
        const double inner = outer * std::uniform_real_distribution<double>(0.4, 0.8)(rng);
        std::vector<Point> points;
        for (int i = 0; i < 2 * n; ++i)
            points.push_back(
                Along({0, 0}, i % 2 ? inner : outer, (clockwise ? -1 : 1) * i * kPi / n));
        bool sharp = true;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Point a = points[i], b = points[(i + 1) % points.size()],
                        c = points[(i + 2) % points.size()];
            sharp = sharp && Dot(Unit(b - a), Unit(c - b)) < std::cos(25 * kDegToRad);
        }
        if (sharp) return points;
    }
}

// The points with a smooth joint (a kink of at most 18°, either way) in the
// middle of every side: of the closing side too where the path is closed.
std::vector<Point> Kinked(std::mt19937& rng, const std::vector<Point>& points, bool closed) {
    std::uniform_real_distribution<double> kinkDeg(-18, 18);
    std::vector<Point> out;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point a = points[i], b = points[(i + 1) % points.size()];
        const double rise = std::tan(kinkDeg(rng) * kDegToRad / 2) * Distance(a, b) / 2;
        out.push_back(a);
        if (closed || i + 1 < points.size())
            out.push_back(0.5 * (a + b) + rise * LeftNormal(Unit(b - a)));
    }
    return out;
}

TEST(LayoutEdges, EveryArrangementSideOrientationAndBaseLaysOutWell) {
    std::mt19937 rng(22);
    std::uniform_real_distribution<double> size(0.5, 6), gap(0, 4), tall(1, 2.5);
    for (int trial = 0; trial < 60; ++trial) {
        const bool closed = trial % 2 == 0;
        // Every third star has smooth joints too, and figures up to 2.5 times
        // taller than wide, which meet first where the path turns towards them.
        const bool kinked = trial % 3 == 2;
        const std::vector<Point> star = Star(rng, trial % 4 < 2);
        const ElementPath path = Polyline(kinked ? Kinked(rng, star, closed) : star, closed);
        for (std::int32_t arrangement : {kArrangeThrough, kArrangeCorners})
            for (std::int32_t side : {kSideAsGiven, kSideInside, kSideOutside})
                for (std::int32_t orientation : {kOrientAlongPath, kOrientUpright})
                    for (std::int32_t base : {kBaseTop, kBaseMiddle, kBaseBottom}) {
                        const double w = size(rng), h = size(rng) * (kinked ? tall(rng) : 1);
                        // Upright boxes on a slanted side reach along it by up to
                        // their diagonal; the corner arrangement's pitch may fall
                        // to half of W + I.
                        const double least = orientation == kOrientUpright ? std::hypot(w, h) : w;
                        const double interval =
                            (arrangement == kArrangeCorners ? 2 * least : least) - w + gap(rng);
                        PatternRow row = Row(arrangement, base, w, h, interval);
                        row.side = side;
                        row.orientation = orientation;
                        SCOPED_TRACE(testing::Message()
                                     << "trial " << trial << " arrangement " << arrangement
                                     << " side " << side << " orientation " << orientation
                                     << " base " << base);
                        const Drawn drawn = Lay(row, path);
                        ASSERT_FALSE(drawn.boxes.empty());
                        ExpectLaidOutWell(path, row, drawn);
                    }
    }
}

// A regular polygon whose every corner turns by exactly the threshold is one
// closed smooth run whichever way it runs and however it is turned.
TEST(LayoutEdges, ATurnEqualToTheThresholdIsSmoothAtEveryJoint) {
    const int sides = static_cast<int>(std::lround(360 / kSmoothTurnDeg));
    // Coordinates as worked out, and rounded to a millionth as a drawing
    // keeps them.
    auto rounded = [](Point p, double step) {
        return step > 0 ? Point{std::round(p.x / step) * step, std::round(p.y / step) * step} : p;
    };
    for (double turnedDeg : {0.0, 7.0, 13.3, 45.0})
        for (double radius : {50.0, 3.7, 2000.0})
            for (double step : {0.0, 1e-6})
                for (bool clockwise : {false, true}) {
                    std::vector<Point> points;
                    for (int i = 0; i < sides; ++i)
                        points.push_back(
                            rounded(Along({3, -2}, radius,
                                          (clockwise ? -1 : 1) * (turnedDeg + i * kSmoothTurnDeg) *
                                              kDegToRad),
                                    step));
                    const ElementPath path = Polyline(points, true);
                    const auto runs = RunsOf(path);
                    ASSERT_EQ(runs.size(), 1u);
                    EXPECT_TRUE(runs.front().closed);
                }
}

double Length(const ElementPath& path) {
    double total = 0;
    for (const PathElement& e : path.elements) total += ElementLength(e);
    return total;
}

// The faults once found at the edges of ordinary drawings, one row each:
// the path, the row, and what must hold of what is drawn.
struct Regression {
    const char* name;
    std::function<ElementPath()> path;
    std::function<PatternRow()> row;
    std::function<void(const ElementPath&, const PatternRow&, const Drawn&)> check;
};

ElementPath SmallFillet() {
    ElementPath path;
    path.elements = {LineElement({0, 0}, {149, 0}), ArcElement({149, 1}, 1, -kPi / 2, kPi / 2),
                     LineElement({150, 1}, {150, 70})};
    return path;
}

// Every box corner inside x ≤ 150 and y ≥ 0, where the band of a fillet
// within it lies.
void WithinFilletCorner(const ElementPath&, const PatternRow&, const Drawn& drawn) {
    for (const Box& b : drawn.boxes)
        for (Point p : b) {
            EXPECT_LE(p.x, 150 + kNear);
            EXPECT_GE(p.y, -kNear);
        }
    for (std::size_t i = 0; i < drawn.boxes.size(); ++i)
        for (std::size_t j = i + 1; j < drawn.boxes.size(); ++j)
            EXPECT_FALSE(Meet(drawn.boxes[i], drawn.boxes[j])) << i << " and " << j;
}

const ElementPath kLShape =
    Polyline({{0, 0}, {100, 0}, {100, 50}, {50, 50}, {50, 100}, {0, 100}}, true);

PatternRow GapLinesRow() {
    PatternRow row = Row(kArrangeCorners, kBaseBottom, 10, 8, 4);
    row.side = kSideInside;
    row.upperLine = kGuideGap;
    row.lowerLine = kGuideGap;
    return row;
}

// At the corner (100, 0), gap lines of both sides meet on its bisector: at
// (92, 8) inside, at the corner itself on the path; none runs past them.
void GapLinesMeetOnTheBisector(const ElementPath&, const PatternRow&, const Drawn& drawn) {
    int inner = 0, outer = 0;
    for (const Segment& s : drawn.lines) {
        // The bisector is x + y = 100: the bottom side's lines stay below it,
        // the right side's above.
        const bool bottom = s[0].y == s[1].y && s[0].y < 10;
        const bool right = s[0].x == s[1].x && s[0].x > 90;
        for (Point p : s) {
            inner += Distance(p, {92, 8}) < kNear;
            outer += Distance(p, {100, 0}) < kNear;
            if (bottom) {
                EXPECT_LE(p.x + p.y, 100 + kNear) << "past the bisector";
            }
            if (right) {
                EXPECT_GE(p.x + p.y, 100 - kNear) << "past the bisector";
            }
        }
    }
    EXPECT_EQ(inner, 2);
    EXPECT_EQ(outer, 2);
}

// The figure at the fillet is the one a sharp corner there would carry: the
// lines on either side met at (150, 0).
void AsAtASharpCorner(const ElementPath&, const PatternRow& row, const Drawn& drawn) {
    const Drawn sharp = Lay(row, Polyline({{0, 0}, {150, 0}, {150, 70}}, false));
    auto atCorner = [](const Drawn& d) {
        return *std::min_element(d.boxes.begin(), d.boxes.end(), [](const Box& a, const Box& b) {
            return Distance(Centre(a), {150, 0}) < Distance(Centre(b), {150, 0});
        });
    };
    const Box mine = atCorner(drawn), theirs = atCorner(sharp);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_LT(Distance(mine[i], theirs[i]), kNear);
    for (std::size_t i = 0; i < drawn.boxes.size(); ++i)
        for (std::size_t j = i + 1; j < drawn.boxes.size(); ++j)
            EXPECT_FALSE(Meet(drawn.boxes[i], drawn.boxes[j])) << i << " and " << j;
}

// No overlap, and every figure's middle within max(W, H) of the path.
void ApartAndNear(const ElementPath& path, const PatternRow& row, const Drawn& drawn) {
    ASSERT_FALSE(drawn.boxes.empty());
    for (const Box& b : drawn.boxes)
        EXPECT_LE(DistanceToPath(path, Centre(b)), std::max(row.width, row.height) + kNear);
    for (std::size_t i = 0; i < drawn.boxes.size(); ++i)
        for (std::size_t j = i + 1; j < drawn.boxes.size(); ++j)
            EXPECT_FALSE(Meet(drawn.boxes[i], drawn.boxes[j])) << i << " and " << j;
}

void NearThePath(const ElementPath& path, const PatternRow& row, const Drawn& drawn) {
    ASSERT_FALSE(drawn.boxes.empty());
    ExpectLaidOutWell(path, row, drawn);
}

PatternRow SequenceRow() {
    PatternRow row = Row(kArrangeCorners, kBaseBottom, 10, 8, 12);
    row.figureB = kFilledSquare;
    row.widthB = 5;
    row.heightB = 12;
    row.sequence = "AAB";
    return row;
}

// As many figures as the length holds: no vertex taken for a corner.
void OneEvenRhythm(const ElementPath& path, const PatternRow& row, const Drawn& drawn) {
    const double pitch = row.width + row.interval;
    EXPECT_EQ(drawn.boxes.size(), static_cast<std::size_t>(Length(path) / pitch));
}

ElementPath RegularGon(int sides, double radius) {
    std::vector<Point> points;
    // To a millionth, as a drawing keeps its points.
    for (int i = 0; i < sides; ++i) {
        const Point p = Along({0, 0}, radius, i * kTwoPi / sides);
        points.push_back({std::round(p.x * 1e6) / 1e6, std::round(p.y * 1e6) / 1e6});
    }
    return Polyline(points, true);
}

// Points of a five-pointed star, tips at radius 60, inner corners at 25.
ElementPath FivePointedStar() {
    std::vector<Point> points;
    for (int i = 0; i < 10; ++i) points.push_back(Along({0, 0}, i % 2 ? 25 : 60, i * kPi / 5));
    return Polyline(points, true);
}

PatternRow Upright(PatternRow row) {
    row.orientation = kOrientUpright;
    return row;
}

// Every drawn element lies along the open path's extent in x, within its
// ends: 0 ≤ x ≤ 100 for a path from x 0 to x 100.
void InsideTheEnds(const ElementPath&, const PatternRow&, const Drawn& drawn) {
    ASSERT_FALSE(drawn.boxes.empty());
    for (const Box& b : drawn.boxes)
        for (Point p : b) EXPECT_TRUE(p.x >= -kNear && p.x <= 100 + kNear) << p.x;
    for (const Segment& s : drawn.lines)
        for (Point p : s) EXPECT_TRUE(p.x >= -kNear && p.x <= 100 + kNear) << p.x;
}

PatternRow SequenceOf(const char* sequence) {
    PatternRow row = Row(kArrangePerSide, kBaseBottom, 10, 10, 5);
    row.figureB = kOpenSquare;
    row.sequence = sequence;
    return row;
}

void DrawsOnlyB(const ElementPath&, const PatternRow&, const Drawn& drawn) {
    EXPECT_TRUE(drawn.boxes.empty());
    EXPECT_EQ(drawn.lines.size(), 4u * 7u);
}

// Two selected lines on one carrier, overlapping over 50 to 100, as mode 3
// finds them: one path.
ElementPath OverlappingLines() {
    ElementStore store;
    store.lines = {{{}, 0, 0, 0, 100, 0}, {{}, 0, 50, 0, 150, 0}};
    store.order = {{ElementKind::Line, 0}, {ElementKind::Line, 1}};
    const AlongSelection selection = PathsFromSelection(store);
    EXPECT_EQ(selection.paths.size(), 1u);
    return selection.paths.empty() ? ElementPath{} : selection.paths.front();
}

const Regression kRegressions[] = {
    {"overlapping collinear lines carry one band", OverlappingLines,
     [] { return Row(kArrangePerSide, kBaseMiddle, 10, 10, 5); }, ApartAndNear},
    {"small fillet inside the band, 通し", SmallFillet,
     [] { return Row(kArrangeThrough, kBaseBottom, 10, 10, 5); }, WithinFilletCorner},
    {"small fillet inside the band, 角に合わせる", SmallFillet,
     [] { return Row(kArrangeCorners, kBaseBottom, 10, 6, 2); }, AsAtASharpCorner},
    {"gap lines meet on the corner's bisector", [] { return kLShape; }, GapLinesRow,
     GapLinesMeetOnTheBisector},
    {"a hairpin's corner figure stays near it",
     [] {
         return Polyline({{0, 0}, {100, 0}, {0, 3}}, false);
     },
     [] { return Row(kArrangeCorners, kBaseTop, 10, 10, 15); }, ApartAndNear},
    {"sequences at corners and ends stand on the path",
     [] {
         return Polyline({{0, 0}, {100, 0}, {100, 60}}, false);
     },
     SequenceRow, NearThePath},
    {"a regular 18-gon keeps one rhythm", [] { return RegularGon(18, 50); },
     [] { return Row(kArrangeThrough, kBaseMiddle, 10, 10, 5); }, OneEvenRhythm},
    {"upright boxes clear of a star's corners, 角に合わせる", FivePointedStar,
     [] { return Upright(Row(kArrangeCorners, kBaseBottom, 10, 6, 2)); }, ApartAndNear},
    {"upright boxes clear of a star's bisectors, 通し", FivePointedStar,
     [] { return Upright(Row(kArrangeThrough, kBaseBottom, 10, 6, 2)); }, NearThePath},
    {"open ends in 角に合わせる do not overhang",
     [] {
         return Polyline({{0, 0}, {100, 0}}, false);
     },
     [] {
         PatternRow row = Row(kArrangeCorners, kBaseMiddle, 10, 10, 10);
         row.upperLine = kGuideFull;
         row.lowerLine = kGuideGap;
         return row;
     },
     InsideTheEnds},
    {"a sequence of one letter B draws B",
     [] {
         return Polyline({{0, 0}, {100, 0}}, false);
     },
     [] { return SequenceOf("B"); }, DrawsOnlyB},
};

TEST(LayoutEdges, FaultsOnceFoundStayMended) {
    for (const Regression& r : kRegressions) {
        SCOPED_TRACE(r.name);
        const ElementPath path = r.path();
        const PatternRow row = r.row();
        r.check(path, row, Lay(row, path));
    }
}

}  // namespace
}  // namespace tesra
