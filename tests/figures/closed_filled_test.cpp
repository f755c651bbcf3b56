// Kinds 87 to 106 against the outlines they close or fill.
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "figures/call_checks.h"
#include "figures/figures.h"
#include "geom/helpers.h"
#include "test_support.h"

namespace tesra {
namespace {

using test::ExpectCall;

struct ClosedCase {
    std::int32_t kind;
    std::vector<std::vector<double>> closing;  // W = 10, H = 6
};

TEST(ClosedKinds, DrawTheOutlineKindUnchangedThenTheClosingLines) {
    const ClosedCase cases[] = {
        {87, {{10, 0, 10, 6}}},
        {88, {{0, 0, 0, 6}}},
        {89, {{5, 6, 10, 6}, {5, 0, 10, 0}}},
        {90, {{0, 6, 5, 6}, {0, 0, 5, 0}}},
        {91, {{5, 6, 10, 6}, {0, 0, 5, 0}}},
        {92, {{0, 6, 5, 6}, {5, 0, 10, 0}}},
    };
    const FigureCell cell = MakeCell(10, 6);
    for (const ClosedCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const Calls outline = Draw(c.kind - 20, cell);
        const Calls calls = Draw(c.kind, cell);
        ASSERT_EQ(calls.size(), outline.size() + c.closing.size());
        for (std::size_t i = 0; i < outline.size(); ++i)
            ExpectCall(calls[i], "line", outline[i].values, 0.0);
        for (std::size_t i = 0; i < c.closing.size(); ++i)
            ExpectCall(calls[outline.size() + i], "line", c.closing[i], 0.0);
    }
}

using Corner = std::pair<double, double>;

// How many line ends meet at each point of a kind's outline.
std::map<Corner, int> LineEnds(const Calls& calls) {
    std::map<Corner, int> ends;
    for (const auto& call : calls) {
        ++ends[{call.values[0], call.values[1]}];
        ++ends[{call.values[2], call.values[3]}];
    }
    return ends;
}

// A closed outline has exactly two line ends at every corner.
TEST(ClosedKinds, OutlinesCloseIntoOnePolygon) {
    for (std::int32_t kind = 87; kind <= 92; ++kind) {
        SCOPED_TRACE(kind);
        const Calls calls = Draw(kind, MakeCell(10, 6));
        const std::map<Corner, int> ends = LineEnds(calls);
        EXPECT_EQ(ends.size(), calls.size());
        for (const auto& [corner, count] : ends) EXPECT_EQ(count, 2);
    }
    const std::map<Corner, int> thick = LineEnds(Draw(89, MakeCell(10, 6)));
    const std::map<Corner, int> want{{{0, 3}, 2}, {{5, 6}, 2},  {{10, 6}, 2},
                                     {{5, 3}, 2}, {{10, 0}, 2}, {{5, 0}, 2}};
    EXPECT_EQ(thick, want);
}

struct FilledBowCase {
    std::int32_t kind;
    double cx, cy, r, flatness, first;
};

TEST(FilledBows, AreHalfEllipsesSweptThroughPi) {
    const FilledBowCase cases[] = {
        {93, 5, 0, 5, 1.2, 0},
        {95, 10, 3, 10, 0.3, kPi / 2},
        {100, 5, 3, 5, 0.6, 3 * kPi / 2},
    };
    for (const FilledBowCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const Calls calls = Draw(c.kind, MakeCell(10, 6));
        ASSERT_EQ(calls.size(), 1u);
        ExpectCall(calls[0], "sc", {5, c.cx, c.cy, c.r, c.flatness, 0, c.first, kPi}, 1e-12);
    }
}

// The filled bow covers what the outlined bow of the same position encloses:
// same centre, radius and flatness, its start angle in radians; on a turned
// span the tilt is the span angle in radians while the first angle stays a
// cell angle.
TEST(FilledBows, MatchTheOutlinedBowOnATurnedSpan) {
    const FigureCell cell = MakeCell(4, 9, 30, {3, -2});
    for (std::int32_t kind = 93; kind <= 100; ++kind) {
        SCOPED_TRACE(kind);
        const Calls bow = Draw(kind - 14, cell);
        const Calls calls = Draw(kind, cell);
        ASSERT_EQ(calls.size(), 1u);
        ASSERT_EQ(bow.size(), 2u);
        const std::vector<double>& arc = bow[0].values;
        ExpectCall(calls[0], "sc",
                   {5, arc[0], arc[1], arc[2], arc[5], 0.5236, arc[3] / 180 * kPi, kPi}, 5e-5);
        EXPECT_EQ(calls[0].values[5], cell.theta);
    }
}

struct FilledShapeCase {
    std::int32_t kind;
    std::vector<std::pair<const char*, std::vector<double>>> solids;  // W = 10, H = 6
};

TEST(FilledShapes, EmitTheirSolidsCornerByCorner) {
    const FilledShapeCase cases[] = {
        {101, {{"tri", {10, 6, 0, 3, 10, 0}}}},
        {102, {{"tri", {0, 6, 10, 3, 0, 0}}}},
        {103, {{"quad", {5, 6, 0, 3, 5, 3, 10, 6}}, {"quad", {0, 3, 5, 0, 10, 0, 5, 3}}}},
        {104, {{"quad", {0, 6, 5, 3, 10, 3, 5, 6}}, {"quad", {5, 3, 0, 0, 5, 0, 10, 3}}}},
        {105, {{"quad", {5, 6, 0, 0, 5, 0, 10, 6}}}},
        {106, {{"quad", {0, 6, 5, 0, 10, 0, 5, 6}}}},
    };
    for (const FilledShapeCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const Calls calls = Draw(c.kind, MakeCell(10, 6));
        ASSERT_EQ(calls.size(), c.solids.size());
        for (std::size_t i = 0; i < calls.size(); ++i)
            ExpectCall(calls[i], c.solids[i].first, c.solids[i].second, 0.0);
    }
}

// Every corner of a filled shape is a corner of the closed outline of the
// same shape, 14 kinds before it; and every outline corner is covered.
TEST(FilledShapes, CoverTheRegionOfTheirClosedKind) {
    for (std::int32_t kind = 101; kind <= 106; ++kind) {
        SCOPED_TRACE(kind);
        const std::map<Corner, int> outline = LineEnds(Draw(kind - 14, MakeCell(10, 6)));
        std::map<Corner, int> covered;
        for (const auto& call : Draw(kind, MakeCell(10, 6))) {
            for (std::size_t i = 0; i + 1 < call.values.size(); i += 2) {
                const Corner corner{call.values[i], call.values[i + 1]};
                EXPECT_TRUE(outline.count(corner)) << corner.first << ", " << corner.second;
                covered[corner] = 2;
            }
        }
        EXPECT_EQ(covered, outline);
    }
}

TEST(FilledKinds, SwitchToTheSolidColorOnceBeforeTheFirstSolid) {
    for (std::int32_t kind = 93; kind <= 106; ++kind) {
        SCOPED_TRACE(kind);
        const Calls plain = Draw(kind, MakeCell(10, 6), {false, 0xABCDEF});
        const Calls colored = Draw(kind, MakeCell(10, 6), {true, 0xABCDEF});
        ASSERT_EQ(colored.size(), plain.size() + 1);
        ExpectCall(colored[0], "solidcolor", {0xABCDEF}, 0.0);
        for (std::size_t i = 0; i < plain.size(); ++i) {
            EXPECT_NE(plain[i].op, "line");
            EXPECT_NE(plain[i].op, "solidcolor");
            EXPECT_EQ(colored[i + 1].op, plain[i].op);
            EXPECT_EQ(colored[i + 1].values, plain[i].values);
        }
    }
}

}  // namespace
}  // namespace tesra
