// Runs along selected elements ("3"): what the output holds around the
// drawing, which side is "上", and that a failure to write leaves the host's
// file exactly as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/run.h"
#include "app/run_along.h"
#include "exchange/atomic_file.h"
#include "tesra_process.h"
#include "test_support.h"
#include "tests/command_grammar.h"
#include "write_fault_sweep.h"

namespace tesra {
namespace {

namespace fs = std::filesystem;

const std::string kHeader = CrLf({"hq", "bz", "lg0", "ly3", "lc2", "lt1", "cn2", "#"});

PatternRow Row(std::int32_t kind, std::int32_t base, std::int32_t upper, std::int32_t lower) {
    return {.figureKind = kind,
            .width = 4,
            .height = 3,
            .placement = 0,
            .interval = 2,
            .basePoint = base,
            .upperLine = upper,
            .middleLine = 0,
            .lowerLine = lower};
}

RunContext Context(const std::string& selection, PatternRow row) {
    RunContext run;
    run.exchange = ReadExchange(kHeader + selection);
    run.store.rows[0] = row;
    run.store.selectedRow = 1;
    return run;
}

// The whole output of a run, empty when it draws nothing.
std::string Output(const RunContext& run) {
    VectorSink sink;
    DrawPattern(run, RunMode::AlongSelection, sink);
    return sink.lines.empty() ? "" : CrLf(sink.lines);
}

// "bz", then the selection exactly as read, then the drawing in the layer and
// color being written, and the notice about the one ellipse last. The site: a
// rounded rectangle (lines and quarter arcs, given clockwise and out of
// order), a circular bed, an ellipse and a label.
TEST(AlongRun, SelectionFirstThenTheDrawingThenTheNotice) {
    const std::string selection =
        CrLf({"lc5", "0 10 0 70", "ci 10 70 10 90 180 1 0", "10 80 90 80", "ci 90 70 10 0 90 1 0",
              "100 70 100 10", "ci 90 10 10 270 360 1 0", "90 0 10 0", "ci 10 10 10 180 270 1 0",
              "lg1", "ly2", "lc3", "ci 50 40 15", "ci 50 40 5 0 360 0.5 30", "ch 40 40 1 0 \"bed"});
    const std::string out = Output(Context(selection, Row(33, 1, 2, 2)));
    EXPECT_TRUE(out.starts_with("bz\r\n"));
    EXPECT_EQ(grammar::CommandFileProblem(out, grammar::Vocabulary::WithWriteBack), "");
    EXPECT_TRUE(out.ends_with("h#" + test::Sjis("楕円弧") + "1" +
                              test::Sjis("個には沿わせず、そのまま残しました。") + "\r\n"));

    const ExchangeState input = ReadExchange(kHeader + selection);
    const ExchangeState output = ReadExchange(out);
    const std::vector<std::string> before = test::DescribeElements(input.elements);
    const std::vector<std::string> after = test::DescribeElements(output.elements);
    ASSERT_GT(after.size(), before.size() + 10);
    EXPECT_EQ(std::vector<std::string>(after.begin(), after.begin() + before.size()), before);
    for (std::size_t i = before.size(); i < output.elements.order.size(); ++i) {
        const ElementRef ref = output.elements.order[i];
        const bool drawn = ref.kind == ElementKind::Line || ref.kind == ElementKind::Arc ||
                           ref.kind >= ElementKind::Solid2;
        ASSERT_TRUE(drawn) << after[i];
    }
    for (std::size_t i = 4; i < output.elements.lines.size(); ++i) {  // past the selected lines
        EXPECT_EQ(output.elements.lines[i].header.layerGroup, 0);
        EXPECT_EQ(output.elements.lines[i].header.layer, 3);
    }
}

// Which side is "上": closed boundaries run counter-clockwise, so with the
// base point "下" the band lies inside and with "上" outside, however the
// elements were drawn.
TEST(AlongRun, BasePointPutsTheBandInsideOrOutsideAClosedBoundary) {
    const struct {
        std::vector<std::string> boundary;
        std::size_t lines, arcs;  // in the output
    } boundaries[] = {
        {{"0 0 100 0", "100 0 100 100", "100 100 0 100", "0 100 0 0"}, 8, 0},  // counter-clockwise
        {{"0 0 0 100", "100 100 100 0", "0 100 100 100", "100 0 0 0"},
         8,
         0},  // clockwise, shuffled
        {{"ci 50 50 50"}, 0, 1},
    };
    constexpr std::int32_t kNoFigure = 200;  // guide lines only
    constexpr std::int32_t kFull = 2;        // guide along the whole length
    const struct {
        std::int32_t base, upper, lower;
        double distance;  // of the guide from the centre, in the square's measure
    } cases[] = {{2, kFull, 0, 47}, {0, 0, kFull, 53}};
    for (const auto& b : boundaries)
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << b.boundary[0] << " base " << c.base);
            const ExchangeState out = ReadExchange(
                Output(Context(CrLf(b.boundary), Row(kNoFigure, c.base, c.upper, c.lower))));
            ASSERT_EQ(out.elements.lines.size(), b.lines);
            ASSERT_EQ(out.elements.arcs.size(), b.arcs);
            std::vector<double> distances;
            for (std::size_t i = 4; i < b.lines; ++i) {
                const JwwEntLine& l = out.elements.lines[i];
                for (Point p : {Point{l.x1, l.y1}, Point{l.x2, l.y2}})
                    distances.push_back(std::max(std::fabs(p.x - 50), std::fabs(p.y - 50)));
            }
            for (const JwwEntArc& arc : out.elements.arcs) distances.push_back(arc.values[2]);
            for (double d : distances) EXPECT_NEAR(d, c.distance, 1e-9);
        }
}

TEST(AlongRun, OutcomeDecidedBeforeWriting) {
    using Outcome = SelectionPlan::Outcome;
    const struct {
        std::string selection;
        Outcome outcome;
        const char* notice;  // words of the notice, UTF-8; "" for none
    } cases[] = {
        {"0 0 10 0\r\n", Outcome::Drawing, ""},
        {"ch 0 0 1 0 \"only text\r\npt 1 1\r\n", Outcome::Notice, "沿わせる線"},
        {"ci 0 0 10 0 360 0.5 0\r\n", Outcome::Notice, "沿わせる線"},
        {"0 0 0 0\r\nci 1 1 0\r\n", Outcome::Notice, "沿わせる線"},
        {"0 0 10 0\r\nBL 0 0 tree\r\n", Outcome::Refusal, ""},
        {"0 0 10000000 0\r\n", Outcome::Notice, "図形の数が多すぎる"},
    };
    for (const auto& c : cases) {
        const RunContext run = Context(c.selection, Row(0, 1, 0, 0));
        const SelectionPlan plan = PlanAlongSelection(run);
        EXPECT_EQ(plan.outcome, c.outcome) << c.selection;
        EXPECT_EQ(plan.notice.empty(), *c.notice == '\0') << c.selection;
        EXPECT_NE(plan.notice.find(test::Sjis(c.notice)), std::string::npos) << c.selection;
        EXPECT_EQ(Output(run).empty(), c.outcome == Outcome::Refusal) << c.selection;
    }
}

// The host shows only the last notice, so a run writes one: why nothing was
// drawn, else what was damaged or missing, else the elliptic arcs left alone.
TEST(AlongRun, OneNoticeTheMostUseful) {
    const std::string drawnBesideAnEllipse = "0 0 10 0\r\nci 0 0 10 0 360 0.5 0\r\n";
    const struct {
        std::string selection;
        SettingsDamage damage;
        const char* notice;  // words of the last line, UTF-8
    } cases[] = {
        {drawnBesideAnEllipse, SettingsDamage::None, "楕円弧"},
        {drawnBesideAnEllipse, SettingsDamage::StoreDamaged, "tesra.dat が壊れて"},
        {drawnBesideAnEllipse, SettingsDamage::StoreUnreadable, "tesra.dat を読めない"},
        {drawnBesideAnEllipse, SettingsDamage::OwnFigureMissing, "図形 300 が"},
        {drawnBesideAnEllipse, SettingsDamage::LibraryUnreadable, "tesra_figures.txt を読めない"},
        {"ch 0 0 1 0 \"a\r\n", SettingsDamage::StoreDamaged, "沿わせる線"},
        {"0 0 10000000 0\r\n", SettingsDamage::OwnFigureMissing, "図形の数が多すぎる"},
    };
    for (const auto& c : cases) {
        RunContext run = Context(c.selection, Row(0, 1, 0, 0));
        run.damage = c.damage;
        run.missingKind = 300;
        VectorSink sink;
        DrawPattern(run, RunMode::AlongSelection, sink);
        ASSERT_FALSE(sink.lines.empty());
        const std::string& last = sink.lines.back();
        EXPECT_EQ(std::count_if(sink.lines.begin(), sink.lines.end(),
                                [](const std::string& l) { return l.starts_with("h#"); }),
                  1)
            << c.notice;
        EXPECT_TRUE(last.starts_with("h#")) << c.notice;
        EXPECT_NE(last.find(test::Sjis(c.notice)), std::string::npos) << c.notice;
    }
}

// A write that fails at any byte leaves the host's file as it was and no
// temporary file; only the complete output replaces it.
TEST(AlongRun, WriteFaultAtEveryByteLeavesTheHostsFile) {
    const std::string input = kHeader + CrLf({"lw2", "0 0 20 0", "ci 20 5 5 270 360 1 0",
                                              "ch 0 0 1 0 \"a", "ci 0 0 10 0 360 0.5 0"});
    ScratchDir scratch;
    const RunPaths paths = RunPaths::ForExecutable(scratch / "tesra");
    WriteBytes(paths.storeFile,
               CrLf({"0", "0", "1", "255", "1", "95", "10", "3", "0", "2", "1", "1", "2", "1"}));
    const test::WriteFaultSweep sweep =
        test::SweepWriteFaults(paths, RunMode::AlongSelection, input);
    ASSERT_FALSE(sweep.fullOutput.empty());
    ASSERT_EQ(grammar::CommandFileProblem(sweep.fullOutput, grammar::Vocabulary::WithWriteBack),
              "");
    for (const test::WriteFaultOutcome& o : sweep.outcomes) {
        EXPECT_EQ(o.status == 0, o.complete) << o.failAfter;
        EXPECT_EQ(o.exchange, o.complete ? sweep.fullOutput : input) << o.failAfter;
        EXPECT_FALSE(o.tempLeft) << o.failAfter;
    }
}

// Out of memory in the real executable: status 1, the input unchanged.
TEST(AlongRun, SelectionTooLargeForMemoryLeavesTheHostsFile) {
    if (const char* why = test::WhyNoAddressLimit()) GTEST_SKIP() << why;
    ScratchDir scratch;
    const fs::path dir = scratch / "addin";
    fs::create_directory(dir);
    std::string input = kHeader;
    for (int i = 0; i < 10'000'000; ++i) input += "1 2 3 4\r\n";
    WriteBytes(dir / "JWC_TEMP.TXT", input);
    EXPECT_EQ(test::RunTesraIn(dir, {"3"}, test::UnderAddressLimit()).status, 1);
    EXPECT_TRUE(ReadBytes(dir / "JWC_TEMP.TXT") == input);
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(dir / "JWC_TEMP.TXT")));
}

}  // namespace
}  // namespace tesra
