// The figure library: round trips, and what a damaged file keeps.
#include "settings/figure_library.h"

#include <gtest/gtest.h>

#include <numbers>

#include <string>
#include <vector>

#include "test_support.h"

using namespace std::string_literals;

namespace tesra {
namespace {

using test::CrLf;
using test::ScratchDir;
using Shape = OwnElement::Shape;

constexpr auto El = MakeOwnElement;

// Every shape, and doubles that only the shortest round-trip text keeps.
FigureLibrary SampleLibrary() {
    FigureLibrary lib;
    lib.set.figures = {
        {107,
         test::Sjis("樹木 A"),
         12.5,
         0.1 + 0.2,
         {El(Shape::Line, 1, {0, 0, 12.5, 1.0 / 3}), El(Shape::Arc, 2, {6.25, 2, 2, 0, 360, 1, 0}),
          El(Shape::Arc, 9, {1e-300, -0.0, 5e20, 30, 120, 0.5, 15}),
          El(Shape::SolidPolygon, 255, {0, 0, 1, 0, 1, 1}),
          El(Shape::SolidPolygon, 0xFFFFFF, {0, 0, 1, 0, 1, 1, 0, 1}),
          El(Shape::SolidEllipse, 65280, {6, 2, 1, 1, 0, 0, 2 * std::numbers::pi, 100}),
          El(Shape::SolidEllipse, 65280, {6, 2, 1, 0.5, 0.25, 1, std::numbers::pi, 5}),
          El(Shape::SolidRing, 3, {6, 2, 1, 1, 0, 0, 2 * std::numbers::pi, 0.5})}},
        {130, "", 1, 1, {El(Shape::Line, 1, {0, 0, 1, 1})}},
    };
    lib.set.nextKind = 140;
    return lib;
}

// A missing file is an empty library; a saved one loads as it was saved.
TEST(FigureLibrary, SavedThenLoadedEveryFigureIsTheSame) {
    ScratchDir dir;
    const auto path = dir / "tesra_figures.txt";
    const FigureLibrary missing = LoadFigureLibrary(path);
    EXPECT_TRUE(missing.writable);
    EXPECT_TRUE(missing.set.figures.empty());
    EXPECT_EQ(missing.set.nextKind, kFirstOwnFigureKind);
    ASSERT_TRUE(SaveFigureLibrary(SampleLibrary(), path));
    const FigureLibrary back = LoadFigureLibrary(path);
    EXPECT_EQ(back.set.figures, SampleLibrary().set.figures);
    EXPECT_EQ(back.set.nextKind, 140);
    EXPECT_EQ(back.damagedEntries, 0);
    EXPECT_TRUE(back.writable);
    EXPECT_TRUE(test::ReadBytes(path).starts_with("tesra-figures 1\r\nnext 140\r\nfigu"));
}

TEST(FigureLibrary, FailedSaveLeavesTheOldFile) {
    ScratchDir dir;
    const auto path = dir / "tesra_figures.txt";
    ASSERT_TRUE(SaveFigureLibrary(SampleLibrary(), path));
    const std::string before = test::ReadBytes(path);
    FigureLibrary more = SampleLibrary();
    more.set.figures.pop_back();
    EXPECT_FALSE(SaveFigureLibrary(more, path, WriteFaults{10}));
    EXPECT_EQ(test::ReadBytes(path), before);
    more.writable = false;
    EXPECT_FALSE(SaveFigureLibrary(more, path));
    EXPECT_EQ(test::ReadBytes(path), before);
}

const std::string kGood = "figure 107 2 1 ok\r\nl 1 0 0 2 1\r\nend\r\n";

std::string Many(std::string_view element, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += std::string(element) + "\r\n";
    return s;
}

std::string Figures(int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += "figure " + std::to_string(107 + i) + " 1 1 f\r\nl 1 0 0 1 1\r\nend\r\n";
    return s;
}

const std::string kHead = "tesra-figures 1\r\n";

// Whatever is wrong with an entry, before or after a good one, the good one
// reads, the damaged one is counted and kept, and its number is not given
// again.
const std::string kDamagedEntries[] = {
    "figure 108 1 1 x\r\nl 1 0 0 1 1x\r\nend\r\n",         // not a number
    "figure 108 1 1 x\r\nl 1 0 0 1 nan\r\nend\r\n",        // not finite
    "figure 108 1 1 x\r\nz 1 0 0 1 1\r\nend\r\n",          // no such element
    "figure 108 1 1 x\r\nl 1 0 0 1\r\nend\r\n",            // too few values
    "figure 108 1 1 x\r\nl 1 0 0 1 1 1 1 1 1\r\nend\r\n",  // too many values
    "figure 108 1 1 x\r\nl 1 0  0 1 1\r\nend\r\n",         // two spaces
    "figure 108 1 1 x\r\ne 1 0 0 1 1 0 0 1 7\r\nend\r\n",  // no such solid code
    "figure 108 0 1 x\r\nl 1 0 0 0 1\r\nend\r\n",          // a box without width
    "figure 108 1 -1 x\r\nl 1 0 0 1 1\r\nend\r\n",         // a negative box
    "figure 108 1 1 a\0b\r\nl 1 0 0 1 1\r\nend\r\n"s,      // NUL in the name
    "figure 108 1 1 x\r\nend\r\n",                         // no elements
    "figure 108 1 1 x\r\nl 1 0 0 1 1\r\n",                 // no end
};

// What a file does as a whole: figures read, entries skipped, whether the
// file may be saved over, and the next number.
TEST(FigureLibrary, WholeFiles) {
    struct WholeFile {
        std::string bytes;
        std::size_t figures;
        int damaged;
        bool writable;
        std::int32_t next;
    };
    std::vector<WholeFile> files = {
        // clang-format off
        {"", 0, 0, true, 107},
        {"tesra-figures 1\n", 0, 0, true, 107},                   // LF ends
        {kHead + kGood, 1, 0, true, 108},
        {"0\r\n0\r\n" + kGood, 0, 0, false, 107},                  // another format
        {"tesra-figures 2\r\n" + kGood, 0, 0, false, 107},         // a later version
        {kHead + "figure 106 1 1 x\r\nl 1 0 0 1 1\r\nend\r\n", 0, 1, true, 107},  // built-in
        {kHead + kGood + kGood, 1, 1, true, 108},                  // a number twice
        {kHead + "figure 107 1 1 x\r\n" + Many("l 1 0 0 1 1", 2000) + "end\r\n", 1, 0, true, 108},
        {kHead + "figure 107 1 1 x\r\n" + Many("l 1 0 0 1 1", 2001) + "end\r\n", 0, 1, true, 108},
        {kHead + Figures(1001), 1000, 1, true, 1108},              // figures over the bound
        {kHead + "next 500\r\n" + kGood, 1, 0, true, 500},         // kept above the figures
        {kHead + "next 5\r\n" + kGood, 1, 0, true, 108},           // below a figure
        {kHead + "hello\r\nend\r\n\r\n" + kGood, 1, 0, true, 108},  // stray lines
        // clang-format on
    };
    for (const std::string& entry : kDamagedEntries)
        for (const std::string& bytes : {kHead + entry + kGood, kHead + kGood + entry})
            files.push_back({bytes, 1, 1, true, 109});
    for (const WholeFile& f : files) {
        SCOPED_TRACE(f.bytes.substr(0, 80));
        const FigureLibrary lib = ParseFigureLibrary(f.bytes);
        EXPECT_EQ(lib.set.figures.size(), f.figures);
        EXPECT_EQ(lib.damagedEntries, f.damaged);
        EXPECT_EQ(lib.writable, f.writable);
        EXPECT_EQ(lib.set.nextKind, f.next);
        if (!f.writable) continue;
        // Nothing is lost: every line read is in the saved file, and the
        // saved file reads back as the same library.
        const std::string saved = SerializeFigureLibrary(lib);
        for (const std::string& line : test::LinesLostIn(f.bytes, saved))
            EXPECT_TRUE(line.starts_with("next")) << line;
        EXPECT_EQ(SerializeFigureLibrary(ParseFigureLibrary(saved)), saved);
    }
}

// What a run can tell the user about the file as a whole: why it is not a
// library this version may write over, and what it still draws from it.
TEST(FigureLibrary, LoadSaysWhyAFileIsNotOurs) {
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        const char* name;
        std::string bytes;   // the file's, or a link's target when linkTo is set
        const char* linkTo;  // the library is a link to this; null: a file
        ReadBounds bounds;
        LibraryProblem problem;
        bool writable;
        std::size_t figures;
    };
    const Case cases[] = {
        // clang-format off
        {"ours", kHead + kGood, nullptr, kLibraryBounds, LibraryProblem::kNone, true, 1},
        {"utf-8 bom", bom + kHead + kGood, nullptr, kLibraryBounds, LibraryProblem::kByteOrderMark, false, 0},
        {"utf-16 bom", "\xFF\xFEt\0e\0"s, nullptr, kLibraryBounds, LibraryProblem::kByteOrderMark, false, 0},
        {"later version", "tesra-figures 2\r\n" + kGood, nullptr, kLibraryBounds, LibraryProblem::kOtherVersion, false, 0},
        {"another file", "0\r\n" + kGood, nullptr, kLibraryBounds, LibraryProblem::kNotALibrary, false, 0},
        {"over the byte bound", kHead + Figures(2), nullptr, {0, 60}, LibraryProblem::kTooLarge, false, 1},
        {"link", kHead + kGood, "real.txt", kLibraryBounds, LibraryProblem::kNone, true, 1},
        {"dangling link", kHead + kGood, "gone/real.txt", kLibraryBounds, LibraryProblem::kDanglingLink, false, 0},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const auto path = dir / "tesra_figures.txt";
        test::WriteBytes(c.linkTo ? dir / "real.txt" : path, c.bytes);
        if (c.linkTo) std::filesystem::create_symlink(c.linkTo, path);
        const FigureLibrary lib = LoadFigureLibrary(path, c.bounds);
        EXPECT_EQ(lib.problem, c.problem);
        EXPECT_EQ(lib.writable, c.writable);
        EXPECT_EQ(lib.set.figures.size(), c.figures);
        // Nothing saves over such a file (the dialog's save reads with the
        // real bounds, which the small ones stand for); it stays as it was.
        const bool realBounds = c.bounds.lines == kLibraryMostLines;
        if (!c.writable && realBounds) {
            EXPECT_FALSE(SaveFigureEdits(path, {}));
        }
        EXPECT_EQ(test::ReadBytes(c.linkTo ? dir / "real.txt" : path), c.bytes);
    }
    ScratchDir dir;
    EXPECT_EQ(LoadFigureLibrary(dir / "none.txt").problem, LibraryProblem::kMissing);
}

}  // namespace
}  // namespace tesra
