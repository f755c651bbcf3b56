// Every mode that draws gives a row's figures the pen the row names: the
// points' spans, the run along a selection and the slope runs alike.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/run.h"
#include "test_support.h"

namespace tesra {
namespace {

// Neither the host's pen (lc2 lt1) nor the selection's colour (lc5).
constexpr std::int32_t kFigureColor = 7;
constexpr std::int32_t kFigureLineType = 3;

bool IsElement(const std::string& line) {
    return !line.empty() &&
           (line[0] == '-' || (line[0] >= '0' && line[0] <= '9') || line.starts_with("ci "));
}

// Elements drawn after the figures' pen was taken up, and the host's pen set
// back before any element after them that keeps the current pen.
int ElementsInTheFiguresPen(const std::vector<std::string>& lines) {
    const std::string color = "lc" + std::to_string(kFigureColor);
    const std::string lineType = "lt" + std::to_string(kFigureLineType);
    bool colorOn = false, lineTypeOn = false;
    int drawn = 0;
    for (const std::string& line : lines) {
        if (line.starts_with("lc")) colorOn = line == color;
        if (line.starts_with("lt")) lineTypeOn = line == lineType;
        if (IsElement(line) && colorOn && lineTypeOn) ++drawn;
    }
    return drawn;
}

TEST(RunPens, EveryDrawingModeGivesTheFiguresTheirPen) {
    const std::string points = "hp1 0 0\r\nhp2 40 0\r\nhp3 40 30\r\n";
    const std::string topAndToe = "lc5\r\n0 0 20 0\r\n0 -3 20 -1\r\n";
    const struct {
        const char* name;
        RunMode mode;
        std::int32_t rowKind;
        std::string points;
        std::string selection;
    } cases[] = {
        {"two points", RunMode::TwoPoints, kRowRule, points, ""},
        {"chain", RunMode::Chain, kRowRule, points, ""},
        {"along a selection", RunMode::AlongSelection, kRowRule, "", "lc5\r\n0 0 40 0\r\n"},
        {"slope along points", RunMode::Chain, kRowSlope, points, ""},
        {"slope along a selection", RunMode::AlongSelection, kRowSlope, "", "lc5\r\n0 0 40 0\r\n"},
        {"slope towards a toe", RunMode::SlopeBetween, kRowSlope, "hp1 10 0.2\r\n", topAndToe},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunContext run;
        run.exchange =
            ReadExchange("hq\r\n" + c.points + "lg0\r\nly0\r\nlc2\r\nlt1\r\n#\r\n" + c.selection);
        PatternRow& row = run.store.rows[0];
        row.rowKind = c.rowKind;
        row.figureColor = kFigureColor;
        row.figureLineType = kFigureLineType;
        run.store.selectedRow = 1;
        VectorSink sink;
        DrawPattern(run, c.mode, sink);
        EXPECT_GT(ElementsInTheFiguresPen(sink.lines), 0) << CrLf(sink.lines);
    }
}

// A boundary is a guide lying on the path in a pen of its own: along a
// selection it is drawn over the selected line (written back in its own
// pen), where a guide in the current pen would only repeat the line.
TEST(RunPens, AGuideOnTheSelectedLineIsDrawnWhenItHasAPenOfItsOwn) {
    for (const std::int32_t lineType : {kCurrentPen, kFigureLineType}) {
        RunContext run;
        run.exchange = ReadExchange("hq\r\nlg0\r\nly0\r\nlc2\r\nlt1\r\n#\r\nlc5\r\n0 0 40 0\r\n");
        PatternRow& row = run.store.rows[0];
        row.figureKind = -1;  // no figures: the guide alone
        row.middleLine = kGuideFull;
        row.middleLineType = lineType;
        run.store.selectedRow = 1;
        VectorSink sink;
        DrawPattern(run, RunMode::AlongSelection, sink);
        const std::string out = CrLf(sink.lines);
        const std::size_t pen = out.find("lt3\r\n");
        const bool drawn =
            pen != std::string::npos && out.find(" 0 40 0\r\n", pen) != std::string::npos;
        EXPECT_EQ(drawn, lineType != kCurrentPen) << CrLf(sink.lines);
    }
}

}  // namespace
}  // namespace tesra
