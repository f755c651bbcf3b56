#pragma once
// A recorded draw call against the one expected, and where a drawn arc runs.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "geom/helpers.h"
#include "test_support.h"

namespace tesra::test {

// Its kind, then each value to a tolerance (0 where it must come out exact).
inline void ExpectCall(const RecordingTarget::Call& call, std::string_view op,
                       const std::vector<double>& want, double tolerance) {
    EXPECT_EQ(call.op, op);
    ASSERT_EQ(call.values.size(), want.size()) << op;
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(call.values[i], want[i], tolerance) << op << " value " << i;
}

// Calls of one kind, all of them and in order.
inline void ExpectCalls(const Calls& calls, std::string_view op,
                        const std::vector<std::vector<double>>& want, double tolerance) {
    ASSERT_EQ(calls.size(), want.size());
    for (std::size_t c = 0; c < want.size(); ++c) {
        SCOPED_TRACE(testing::Message() << "call " << c);
        ExpectCall(calls[c], op, want[c], tolerance);
    }
}

// Where an "arc" call's ellipse starts, where it is halfway between its
// angles and where it ends, going counter-clockwise across 0 degrees.
struct ArcWay {
    Point start, middle, end;
};

inline ArcWay ArcWayOf(const std::vector<double>& arc) {
    const auto at = [&arc](double tDeg) {
        return EllipsePointDeg(arc[0], arc[1], arc[2], arc[5], arc[6], tDeg);
    };
    const double start = arc[3], end = arc[4] < arc[3] ? arc[4] + 360 : arc[4];
    return {at(start), at((start + end) / 2), at(end)};
}

}  // namespace tesra::test
