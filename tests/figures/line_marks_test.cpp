// Kinds 0 to 19: rules, bars, slashes and chevrons.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "figures/families.h"
#include "test_support.h"

namespace tesra {
namespace {

struct UVLine {
    double u1, v1, u2, v2;
};

struct LineMarkCase {
    std::int32_t kind;
    std::vector<UVLine> lines;  // cell coordinates for W = 10, H = 6, in emission order
};

std::vector<double> QuarterTurnValues(const UVLine& l) {
    return {100 - l.v1, 50 + l.u1, 100 - l.v2, 50 + l.u2};
}

const std::vector<LineMarkCase> kLineMarkCases = {
    {0, {{0, 6, 10, 6}}},
    {1, {{0, 3, 10, 3}}},
    {2, {{0, 0, 10, 0}}},
    {3, {{0, 6, 10, 6}, {0, 0, 10, 0}}},
    {4, {{0, 6, 10, 6}, {0, 3, 10, 3}, {0, 0, 10, 0}}},
    {5, {{0, 6, 10, 6}, {0, 4, 10, 4}, {0, 2, 10, 2}, {0, 0, 10, 0}}},
    {6, {{0, 6, 10, 6}, {0, 4.5, 10, 4.5}, {0, 3, 10, 3}, {0, 1.5, 10, 1.5}, {0, 0, 10, 0}}},
    {7, {{5, 0, 5, 6}}},
    {8, {{0, 0, 0, 6}, {10, 0, 10, 6}}},
    {9, {{0, 0, 0, 6}, {5, 0, 5, 6}, {10, 0, 10, 6}}},
    {10, {{0, 0, 10, 6}}},
    {11, {{0, 6, 10, 0}}},
    {12, {{0, 0, 5, 6}, {5, 0, 10, 6}}},
    {13, {{0, 6, 5, 0}, {5, 6, 10, 0}}},
    {14, {{0, 0, 10, 6}, {0, 0, 10, 0}}},
    {15, {{0, 6, 10, 0}, {0, 0, 10, 0}}},
    {16, {{0, 0, 10, 6}, {10, 6, 10, 0}}},
    {17, {{0, 0, 0, 6}, {0, 6, 10, 0}}},
    {18, {{0, 0, 5, 6}, {5, 6, 10, 0}}},
    {19, {{0, 6, 5, 0}, {5, 0, 10, 6}}},
};

TEST(LineMarks, EveryKindDrawsItsLinesInOrderAndDirection) {
    for (const LineMarkCase& c : kLineMarkCases) {
        SCOPED_TRACE(c.kind);
        RecordingTarget out;
        DrawLineMark(c.kind, QuarterTurnCell(10, 6), out);
        ASSERT_EQ(out.calls.size(), c.lines.size());
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(out.calls[i].op, "line");
            EXPECT_EQ(out.calls[i].values, QuarterTurnValues(c.lines[i]));
        }
    }
}

TEST(LineMarks, KindsOutsideTheFamilyDrawNothing) {
    for (const std::int32_t kind : {-1, 20, 106}) {
        RecordingTarget out;
        DrawLineMark(kind, QuarterTurnCell(10, 6), out);
        EXPECT_TRUE(out.calls.empty()) << kind;
    }
}

// Two thirds of H is (H * 2) / 3, not H * (2 / 3.0); for H = 7 the two differ
// in the last bit, and so would the host's copy of the rule. The origin is 0
// so that no addition hides that bit.
TEST(LineMarks, ThirdsOfHeightRoundAsWritten) {
    const double h = 7;
    ASSERT_NE((h * 2) / 3, h * (2 / 3.0));
    RecordingTarget out;
    DrawLineMark(5, QuarterTurnCell(10, h, {0, 0}), out);
    ASSERT_EQ(out.calls.size(), 4u);
    EXPECT_EQ(out.calls[1].values[0], -((h * 2) / 3));
    EXPECT_EQ(out.calls[2].values[0], -(h / 3));
}

}  // namespace
}  // namespace tesra
