// The block formatter: lines in order across blocks, and a clean stop.
#include "exchange/block_formatter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesra {
namespace {

// Element and text lines mixed, some of every kind of element line.
void AppendMixed(LineSink& sink, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const double v = static_cast<double>(i) * 1.25 - 7e4;
        switch (i % 7) {
            case 0: sink.Append("lc" + std::to_string(i % 9)); break;
            case 1: sink.AppendNumeric({"ci ", {v, -v, 3, 0, 360, 0.5, 30}}); break;
            case 2: {
                NumericLine line("sc ", {v, 1, 2, 3, 4, 5, 6});
                line.hasCode = true;
                line.code = 100;
                sink.AppendNumeric(line);
                break;
            }
            case 3: sink.AppendNumeric({"so ", {v, 1, 2, 3, 4, 5, 6, 1e-5}}); break;
            default: sink.AppendNumeric({"", {v, v / 3, -v, 1e20}}); break;
        }
    }
}

// Whatever thread formats a block, the target gets the lines a direct sink
// gets, in order: at no lines, inside one block and at every block boundary.
TEST(BlockFormatter, SameLinesInTheSameOrderAsFormattingAtOnce) {
    constexpr std::size_t kBlock = BlockFormatter::kBlockLines;
    for (std::size_t count : {std::size_t{0}, std::size_t{1}, kBlock - 1, kBlock, kBlock + 1,
                              2 * kBlock, 5 * kBlock + 3}) {
        VectorSink direct;
        AppendMixed(direct, count);
        VectorSink target;
        {
            BlockFormatter formatter(target);
            AppendMixed(formatter, count);
            formatter.Finish();
        }
        ASSERT_EQ(target.lines.size(), count);
        EXPECT_TRUE(target.lines == direct.lines) << count;
    }
}

// A run that fails while drawing leaves the formatter with work in flight:
// it must stop without passing anything more on, and without hanging.
TEST(BlockFormatter, AbandonedWithBlocksInFlightStopsCleanly) {
    VectorSink target;
    {
        BlockFormatter formatter(target);
        AppendMixed(formatter, 4 * BlockFormatter::kBlockLines + 5);
    }
    EXPECT_LE(target.lines.size(), 4 * BlockFormatter::kBlockLines);
    EXPECT_EQ(target.lines.size() % BlockFormatter::kBlockLines, 0u);
}

}  // namespace
}  // namespace tesra
