// The command writer: repeat suppression, force flags and degenerate geometry.
#include "exchange/writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tesra {
namespace {

using Lines = std::vector<std::string>;

class WriterTest : public ::testing::Test {
protected:
    Lines Take() {
        Lines out = sink.lines;
        sink.lines.clear();
        return out;
    }
    ExchangeState state;
    VectorSink sink;
    Writer writer{state, sink};
};

// A new writer starts as after ResetWriterState, and the reset forces every
// attribute again, with the defaults back in force.
TEST_F(WriterTest, FirstAttributeCallsEmitThenRepeatsAreSuppressedUntilReset) {
    const Lines first = {"lg0", "ly0", "lc1", "lt1"};
    for (int round = 0; round < 4; ++round) {
        if (round == 2) {
            writer.WriteLayerGroup(3);
            writer.WriteLineColor(7, 0);
            writer.WriteSolidColor(9);
            Take();
            writer.ResetWriterState();
        }
        writer.WriteLayerGroup(0);
        writer.WriteLayer(0);
        writer.WriteLineColor(1, 0);
        writer.WriteLineType(1, 0);
        EXPECT_EQ(Take(), round % 2 == 0 ? first : Lines{}) << round;
    }
    writer.ResetWriterState();
    writer.WriteSolidColor(0);
    writer.WriteLineColor(10, 0);
    EXPECT_EQ(Take(), (Lines{"lc10 0"})) << "the reset forgot the solid color";
}

TEST_F(WriterTest, LayerGroupForcesTheNextLayer) {
    writer.WriteLayerGroup(0);
    writer.WriteLayer(5);
    writer.WriteLayerGroup(10);
    writer.WriteLayer(5);
    writer.WriteLayer(5);
    EXPECT_EQ(Take(), (Lines{"lg0", "ly5", "lgA", "ly5"}));
}

TEST_F(WriterTest, LineWidthOnlyWhenTheInputCarriedOne) {
    writer.WriteLineWidth(5);
    EXPECT_EQ(Take(), Lines{});
    state.lwSeen = true;
    state.initial.lineWidth = 7;
    const std::pair<int, const char*> cases[] = {
        {5, "lw5"}, {40000, "lw0"}, {-1, "lw7"}, {-5, "lw0"}, {30000, "lw30000"}};
    for (auto [w, text] : cases) {
        writer.WriteLineWidth(w);
        Lines got = Take();
        ASSERT_EQ(got.size(), 1u) << w;
        EXPECT_EQ(got[0], text);
    }
    writer.WriteLineWidth(30000);
    EXPECT_EQ(Take(), Lines{});
}

TEST_F(WriterTest, SolidColorSequences) {
    writer.WriteLineColor(2, 0);
    Take();
    writer.WriteSolidColor(255);
    writer.WriteSolidColor(255);
    EXPECT_EQ(Take(), (Lines{"lc10 255"}));
    writer.WriteLineColor(2, 0);
    writer.WriteSolidColor(255);
    writer.WriteSolidColor(16777216);  // out of range: black
    writer.WriteLineColor(2, 0);
    writer.WriteLineColor(2, 0);
    EXPECT_EQ(Take(), (Lines{"lc2", "lc10 255", "lc10 0", "lc2"}));
}

TEST_F(WriterTest, SolidColorAfterResetAlwaysEmits) {
    writer.WriteSolidColor(0);  // equal to the current value, but forced
    EXPECT_EQ(Take(), (Lines{"lc10 0"}));
}

TEST_F(WriterTest, DegenerateElementsAreDropped) {
    const Point o{0, 0};
    writer.EmitLine(o, {0.5e-8, -0.5e-8});
    writer.EmitArc(o, 1e-8, 0, 360, 1, 0);
    writer.EmitArc(o, 1, 0, 360, -1e-8, 0);
    writer.EmitSolidTriangle(o, {1, 0}, {1, 0});
    writer.EmitSolidArc(7, o, 1, 1, 0, 0, 1);
    writer.EmitSolidArc(100, o, 1, 0, 0, 0, 1);
    writer.EmitSolidRing(o, 2, 1, 0, 0, 1, 2);
    writer.EmitSolidRing(o, 2, 1, 0, 0, 1, 0);
    writer.EmitLine(o, {std::numeric_limits<double>::infinity(), 0});
    writer.EmitArc(o, std::nan(""), 0, 360, 1, 0);
    EXPECT_EQ(Take(), Lines{});
}

TEST_F(WriterTest, ElementSyntax) {
    writer.EmitLine({0, 0}, {10, -2.5});
    writer.EmitArc({1, 2}, 3, 0, 360, 0.5, 30);
    writer.EmitSolidTriangle({0, 0}, {1, 0}, {0, 1});
    writer.EmitSolidQuad({0, 0}, {1, 0}, {1, 1}, {0, 1});
    writer.EmitSolidArc(5, {1, 2}, 3, 0.5, 0, 0, 3.5);
    writer.EmitSolidRing({1, 2}, 3, 0.5, 0, 0, 6, 1.5);
    EXPECT_EQ(Take(),
              (Lines{"0 0 10 -2.5", "ci 1 2 3 0 360 0.5 30", "sl 0 0 1 0 0 1", "sl 0 0 1 0 1 1 0 1",
                     "sc 1 2 3 0.5 0 0 3.5 5", "so 1 2 3 0.5 0 0 6 1.5"}));
}

TEST_F(WriterTest, QuadFallsBackToTriangles) {
    const Point a{0, 0}, b{4, 0}, c{4, 4}, d{0, 4};
    struct Case {
        Point p[4];
        const char* expected;  // nullptr: nothing
    } cases[] = {
        {{a, a, c, d}, "sl 0 0 4 4 0 4"},  // c2 = c1
        {{a, b, a, d}, nullptr},           // c3 = c1
        {{a, b, c, a}, "sl 0 0 4 0 4 4"},  // c4 = c1
        {{a, b, b, d}, "sl 0 0 4 0 0 4"},  // c3 = c2
        {{a, b, c, b}, nullptr},           // c4 = c2
        {{a, b, c, c}, "sl 0 0 4 0 4 4"},  // c4 = c3
        {{a, a, a, d}, nullptr},           // triangle then dropped
    };
    for (const Case& k : cases) {
        writer.EmitSolidQuad(k.p[0], k.p[1], k.p[2], k.p[3]);
        Lines got = Take();
        if (k.expected == nullptr) {
            EXPECT_TRUE(got.empty());
        } else {
            EXPECT_EQ(got, Lines{k.expected});
        }
    }
}

TEST_F(WriterTest, LinesAreCutTo255Bytes) {
    writer.AppendOutputLine(std::string(300, 'x'));
    Lines got = Take();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].size(), 255u);
}

}  // namespace
}  // namespace tesra
