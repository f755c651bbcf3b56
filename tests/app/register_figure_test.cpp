// Mode "5": a selection registered as an own figure, then drawn like a
// built-in one, and every way a registration is refused.
#include "app/run_register.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <latch>
#include <numbers>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/run.h"
#include "app/run_along.h"
#include "exchange/atomic_file.h"
#include "exchange/reader.h"
#include "figures/own_figure_checks.h"
#include "tesra_process.h"
#include "test_support.h"

namespace tesra {
namespace {

using Lines = std::vector<std::string>;

std::string Selection(const Lines& elements) {
    Lines lines = {"hq", "bz", "lg0", "ly0", "lc2", "lt1", "cn2", "cn\"$<Arial>", "#"};
    lines.insert(lines.end(), elements.begin(), elements.end());
    return test::CrLf(lines);
}

// Every shape a figure keeps, in a box from (3, 4) to (23, 12).
const Lines kFigure = {
    "3 4 23 4",
    "3 4 13 12",
    "ci 13 7 2",
    "ci 18 8 4 90 180 1 0",
    "ci 8 9 3 20 250 0.5 30",
    "lc10 255",
    "sl 3 4 5 4 4 6",
    "sl 19 4 23 4 23 6 19 6",
    "sc 13 10 2 0.5 0.3 0 6.28318530717959 100",
    "sc 8 10 1.5 1 0.2 0.5 3.14159 5",
    "so 18 10 1.5 0.8 1 0 6.28318 0.75",
    "ch 3 0 1 0 \"tree",
};

using test::OwnShape;

// The elements of a file as shapes, circles as whole arcs and a solid
// ellipse with its code; other elements (the name's text) are left out.
std::vector<OwnShape> Shapes(const ElementStore& s) {
    std::vector<OwnShape> out;
    for (const ElementRef ref : s.order)
        VisitElement(s, ref,
                     Overloaded{
                         [&](const JwwEntLine& l) {
                             out.push_back({"line", {l.x1, l.y1, l.x2, l.y2}});
                         },
                         [&](const JwwEntCircle& c) {
                             out.push_back({"arc", {c.x, c.y, c.r, 0, 360, 1, 0}});
                         },
                         [&](const JwwEntArc& a) {
                             out.push_back({"arc", {std::begin(a.values), std::end(a.values)}});
                         },
                         [&](const SolidElement& e) {
                             if (e.kind != ElementKind::SolidSc) {
                                 out.push_back({e.kind == ElementKind::SolidSo ? "so" : "sl",
                                                e.solid.values});
                                 return;
                             }
                             OwnShape sc{"sc", e.solid.values};
                             sc.values.push_back(e.solid.code);
                             out.push_back(sc);
                         },
                         [](const auto&) {},
                     });
    return out;
}

TEST(RegisterFigure, DrawnAlongASpanOfItsOwnWidthItReproducesTheSelection) {
    RunContext registering;
    registering.exchange = test::ReadExchange(Selection(kFigure));
    FigureLibrary library;
    const Registration r = RegisterSelection(registering.exchange, library);
    ASSERT_EQ(r.outcome, RegisterOutcome::Registered);
    EXPECT_EQ(r.kind, 107);
    EXPECT_EQ(r.name, "tree");
    ASSERT_EQ(library.set.figures.size(), 1u);
    EXPECT_EQ(library.set.figures[0].width, 20);
    EXPECT_EQ(library.set.figures[0].height, 8);
    const std::vector<OwnShape> selected = Shapes(registering.exchange.elements);

    const struct {
        double thetaDeg;
        Point p;
    } spans[] = {{0, {3, 4}},  {0, {-1000.25, 70}}, {30, {5, 5}},
                 {90, {0, 0}}, {225, {1e4, -3e4}},  {-60, {12.5, 0.125}}};
    for (const auto& s : spans) {
        SCOPED_TRACE(s.thetaDeg);
        RunContext run;
        run.store.rows[0] = {.figureKind = 107,
                             .width = 20,
                             .height = 8,
                             .placement = kPlaceEvenly,
                             .basePoint = kBaseBottom};
        run.ownFigures = library.set;
        const double t = s.thetaDeg * std::numbers::pi / 180;
        run.exchange.points[1] = {true, s.p.x, s.p.y};
        run.exchange.points[2] = {true, s.p.x + 30 * std::cos(t), s.p.y + 30 * std::sin(t)};
        VectorSink sink;
        DrawPattern(run, RunMode::TwoPoints, sink);
        const std::vector<OwnShape> drawn =
            Shapes(test::ReadExchange(test::CrLf(sink.lines)).elements);
        // The selection's box starts at (3, 4); the figure's own units at its corner.
        const test::OwnFigureMap map{MakeCell(20, 8, s.thetaDeg, s.p), 1, 1, -3, -4};
        test::ExpectShapesUnder(map, selected, drawn,
                                1e-9 * std::max(100.0, std::hypot(s.p.x, s.p.y)));
    }
}

FigureLibrary FullLibrary() {
    FigureLibrary lib;
    for (std::int32_t k = 0; k < static_cast<std::int32_t>(kMaxOwnFigures); ++k)
        lib.set.figures.push_back(
            {107 + k, "f", 1, 1, {{OwnElement::Shape::Line, 1, 4, {0, 0, 1, 1}}}});
    lib.set.nextKind = 107 + static_cast<std::int32_t>(kMaxOwnFigures);
    return lib;
}

Lines ManyLines(int count) {
    Lines lines;
    for (int i = 0; i < count; ++i) lines.push_back("0 0 1 " + std::to_string(i % 7 + 1));
    return lines;
}

std::string Notice(std::string_view utf8) { return "h#" + test::Sjis(utf8); }

TEST(RegisterFigure, OutcomesOfASelection) {
    FigureLibrary damaged = ParseFigureLibrary("tesra-figures 1\r\nfigure 300 1 1 x\r\nend\r\n");
    const struct {
        const char* name;
        Lines selection;
        FigureLibrary library;
        RegisterOutcome outcome;
        std::int32_t kind, notTaken;
        std::string notice;  // the start of the last line
    } cases[] = {
        // clang-format off
        {"lines and a point", {"0 0 10 5", "pt 3 3"}, {}, RegisterOutcome::Registered, 107, 1,
         Notice("図形「図形107」を番号 107 で登録しました。（図形に含めなかった要素 1 個）")},
        {"after a damaged entry", {"0 0 10 5"}, damaged, RegisterOutcome::Registered, 301, 0,
         Notice("図形「図形301」を番号 301 で登録しました。（図形ファイルの読めない部分 1 件")},
        {"two corner solid only", {"lc10 255", "sl 0 0 5 5"}, {}, RegisterOutcome::NothingDrawable,
         0, 1, "h#"},
        {"zero radius circle", {"ci 5 5 0"}, {}, RegisterOutcome::NoExtent, 0, 0, "h#"},
        {"elements at the bound", ManyLines(2000), {}, RegisterOutcome::Registered, 107, 0, "h#"},
        {"elements over the bound", ManyLines(2001), {}, RegisterOutcome::TooManyElements, 0, 0,
         Notice("要素が多すぎます")},
        {"full library", {"0 0 10 5"}, FullLibrary(), RegisterOutcome::LibraryFull, 0, 0,
         Notice("図形は 1000 個まで")},
        {"a block", {"0 0 10 5", "BL 0 0 name"}, {}, RegisterOutcome::CannotKeepSelection, 0, 0,
         ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ExchangeState ex = test::ReadExchange(Selection(c.selection));
        FigureLibrary library = c.library;
        const std::size_t before = library.set.figures.size();
        const Registration r = RegisterSelection(ex, library);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.notTaken, c.notTaken);
        EXPECT_EQ(r.kind, c.kind);  // none for a refusal
        EXPECT_EQ(library.set.figures.size(), before + (c.kind != 0 ? 1 : 0));
        VectorSink sink;
        WriteRegistration(ex, r, sink);
        if (c.notice.empty()) {
            EXPECT_TRUE(sink.lines.empty());
            continue;
        }
        ASSERT_FALSE(sink.lines.empty());
        EXPECT_TRUE(sink.lines.back().starts_with(c.notice)) << sink.lines.back();
        // The selection comes back first, unchanged (the reader takes a notice
        // of four words for a line).
        sink.lines.pop_back();
        EXPECT_EQ(test::DescribeElements(test::ReadExchange(test::CrLf(sink.lines)).elements),
                  test::DescribeElements(ex.elements));
    }
}

TEST(RegisterFigure, NamesAreCleanedAndCutOnCharacters) {
    const std::string kanji = test::Sjis("木");
    std::string longName;
    for (int i = 0; i < 60; ++i) longName += kanji;
    const struct {
        std::string text, name;
    } cases[] = {
        {"  tree\tA  ", "treeA"},
        {"   ", "図形107"},
        {longName, longName.substr(0, kMaxFigureName)},
        {"x" + longName, "x" + longName.substr(0, kMaxFigureName - 2)},
    };
    for (const auto& c : cases) {
        FigureLibrary library;
        const ExchangeState ex =
            test::ReadExchange(Selection({"0 0 1 1", "ch 0 0 1 0 \"" + c.text}));
        const Registration r = RegisterSelection(ex, library);
        EXPECT_EQ(r.name, c.name == "図形107" ? test::Sjis(c.name) : c.name) << c.text;
    }
}

TEST(RegisterFigure, NumbersAreNeverGivenTwice) {
    FigureLibrary library;
    const ExchangeState ex = test::ReadExchange(Selection({"0 0 10 5"}));
    EXPECT_EQ(RegisterSelection(ex, library).kind, 107);
    EXPECT_EQ(RegisterSelection(ex, library).kind, 108);
    library.set.figures.pop_back();  // the user deletes 108
    FigureLibrary reread = ParseFigureLibrary(SerializeFigureLibrary(library));
    EXPECT_EQ(RegisterSelection(ex, reread).kind, 109);
}

// A figure of 2000 elements counts as much as 2000 built-in ones: past the
// bound on elements a run draws nothing and says why, in both kinds of run.
TEST(RegisterFigure, LargeFiguresCountTowardsTheRunsBound) {
    FigureLibrary library;
    RegisterSelection(test::ReadExchange(Selection(ManyLines(2000))), library);
    const std::int64_t most = kMaxOwnElementsPerRun / 2000;  // figures at the bound
    for (const std::int64_t figures : {most, most + 1}) {
        RunContext run;
        run.store.rows[0] = {.figureKind = 107, .width = 1, .height = 1, .basePoint = kBaseBottom};
        run.ownFigures = library.set;
        run.exchange.points[1] = {true, 0, 0};
        run.exchange.points[2] = {true, static_cast<double>(figures), 0};
        EXPECT_EQ(OwnElementsOverBound(run.ownFigures, run.store.rows[0], figures), figures > most);
        if (figures == most) continue;  // drawing 2·10^7 lines proves nothing more
        VectorSink sink;
        DrawPattern(run, RunMode::TwoPoints, sink);
        ASSERT_EQ(sink.lines.size(), 1u);
        EXPECT_TRUE(sink.lines[0].starts_with("he"));
        run.exchange = test::ReadExchange(Selection({"0 0 " + std::to_string(figures) + " 0"}));
        EXPECT_NE(PlanAlongSelection(run).notice.find(test::Sjis("図形の数が多すぎる")),
                  std::string::npos);
    }
}

// The library is saved before the notice is written: a library that cannot
// be saved leaves the old one as it was, and the notice says so.
TEST(RegisterFigure, WholeRunsSaveTheLibraryOrSayTheyCouldNot) {
    test::ScratchDir scratch;
    const auto dir = scratch / "addin";
    std::filesystem::create_directory(dir);
    const auto library = dir / "tesra_figures.txt";
    const std::string input = Selection({"0 0 10 5", "ch 0 0 1 0 \"post"});
    test::WriteBytes(dir / "JWC_TEMP.TXT", input);
    ASSERT_EQ(test::RunTesraIn(dir, {"5"}).status, 0);
    const std::string saved = test::ReadBytes(library);
    EXPECT_EQ(ParseFigureLibrary(saved).set.figures.at(0).name, "post");

    // A folder where the temporary file would go: the save fails.
    std::filesystem::create_directory(AtomicFile::TempPathFor(library));
    test::WriteBytes(dir / "JWC_TEMP.TXT", input);
    ASSERT_EQ(test::RunTesraIn(dir, {"5"}).status, 0);
    EXPECT_EQ(test::ReadBytes(library), saved);
    const std::string out = test::ReadBytes(dir / "JWC_TEMP.TXT");
    EXPECT_NE(out.find("h#" + test::Sjis("図形ファイルに書き込めない")), std::string::npos);
}

namespace fs = std::filesystem;

// A registration of one line of the given height, named by a text, run in
// the folder `dir` from its own exchange file into the shared library.
int RegisterInto(const fs::path& dir, const fs::path& library, const std::string& name,
                 int height) {
    const fs::path exchange = dir / (name + ".TXT");
    test::WriteBytes(exchange,
                     Selection({"0 0 10 " + std::to_string(height), "ch 0 0 1 0 \"" + name}));
    return RunDrawingMode(RunMode::RegisterFigure, {exchange, dir / "tesra.dat", library});
}

// The number the notice of a registration run announced, or 0.
std::int32_t AnnouncedKind(const fs::path& exchange) {
    const std::string out = test::ReadBytes(exchange);
    const std::string before = test::Sjis("」を番号 ");
    const std::size_t at = out.find(before);
    return at == std::string::npos ? 0 : std::stoi(out.substr(at + before.size()));
}

// Two registrations started at once, and the dialog renaming a figure at the
// same moment, many times over: every figure a notice announces is in the
// library under that number, no number is given twice, the rename is kept,
// and the library reads whole (no line of one writer inside the other's).
TEST(RegisterFigure, TwoAtOnceAndAnEditLoseNothingAndNeverShareANumber) {
    test::ScratchDir dir;
    const fs::path library = dir / "tesra_figures.txt";
    constexpr int kRounds = 20;
    std::set<std::int32_t> announced;
    for (int round = 0; round < kRounds; ++round) {
        std::latch start(3);
        std::array<int, 2> status{};
        std::array<std::string, 2> names;
        std::vector<std::thread> writers;
        for (int w = 0; w < 2; ++w) {
            names[static_cast<std::size_t>(w)] =
                "r" + std::to_string(round) + "w" + std::to_string(w);
            writers.emplace_back([&, w] {
                start.arrive_and_wait();
                status[static_cast<std::size_t>(w)] =
                    RegisterInto(dir.path(), library, names[static_cast<std::size_t>(w)], w + 1);
            });
        }
        const FigureEdit rename{107, false, "e" + std::to_string(round)};
        writers.emplace_back([&] {
            start.arrive_and_wait();
            SaveFigureEdits(library, {&rename, 1});
        });
        for (std::thread& t : writers) t.join();
        const FigureLibrary now = LoadFigureLibrary(library);
        ASSERT_EQ(now.damagedEntries, 0) << round;
        ASSERT_TRUE(now.unknownLines.empty()) << round;
        for (int w = 0; w < 2; ++w) {
            const std::string& name = names[static_cast<std::size_t>(w)];
            ASSERT_EQ(status[static_cast<std::size_t>(w)], 0);
            const std::int32_t kind = AnnouncedKind(dir / (name + ".TXT"));
            EXPECT_TRUE(announced.insert(kind).second) << "number " << kind << " given twice";
            const auto kept = std::find_if(now.set.figures.begin(), now.set.figures.end(),
                                           [&](const OwnFigure& f) { return f.kind == kind; });
            ASSERT_NE(kept, now.set.figures.end()) << name << " announced as " << kind;
            if (kind != 107) {  // 107 is the one the dialog renames
                EXPECT_EQ(kept->name, name);
            }
        }
        EXPECT_EQ(now.set.figures.size(), announced.size());
        if (announced.contains(107) && round > 0) {
            EXPECT_EQ(now.set.figures.front().name, rename.name);
        }
    }
}

// A library that cannot take the figure is kept as it was, byte for byte
// and as a link where it was one, and the notice says why; a link to a
// library is followed and its target gets the figure.
TEST(RegisterFigure, LibrariesThatAreLinksOrReadOnly) {
    const std::string one =
        "tesra-figures 1\r\nnext 108\r\nfigure 107 1 1 a\r\nl 1 0 0 1 1\r\nend\r\n";
    struct Case {
        const char* name;
        const char* linkTo;  // the library is a link to this (in "real/"); null: a file
        bool writeTarget;    // the file finally named exists, holding `one`
        unsigned mode;
        const char* notice;  // the start of the notice
    };
    const Case cases[] = {
        {"read-only", nullptr, true, 0444, "図形ファイルが読み取り専用のため"},
        {"link", "real/lib.txt", true, 0644, "図形「post」を番号 108 で登録しました。"},
        {"dangling link", "real/lib.txt", false, 0, "図形ファイルのリンク先が見つからない"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScratchDir scratch;
        const fs::path dir = scratch.path();
        fs::create_directory(dir / "real");
        const fs::path library = dir / "tesra_figures.txt";
        const fs::path target = c.linkTo ? dir / c.linkTo : library;
        if (c.writeTarget) {
            test::WriteBytes(target, one);
            fs::permissions(target, static_cast<fs::perms>(c.mode));
        }
        if (c.linkTo) fs::create_symlink(c.linkTo, library);
        ASSERT_EQ(RegisterInto(dir, library, "post", 5), 0);
        const std::string out = test::ReadBytes(dir / "post.TXT");
        EXPECT_NE(out.find("\r\nh#" + test::Sjis(c.notice)), std::string::npos);
        EXPECT_EQ(fs::is_symlink(fs::symlink_status(library)), c.linkTo != nullptr);
        const bool registered = AnnouncedKind(dir / "post.TXT") != 0;
        if (!c.writeTarget) {
            EXPECT_FALSE(fs::exists(target));
            continue;
        }
        EXPECT_EQ(fs::status(target).permissions(), static_cast<fs::perms>(c.mode));
        const FigureLibrary now = LoadFigureLibrary(target);
        EXPECT_EQ(now.set.figures.size(), registered ? 2u : 1u);
        if (!registered) {
            EXPECT_EQ(test::ReadBytes(target), one);
        }
    }
}

}  // namespace
}  // namespace tesra
