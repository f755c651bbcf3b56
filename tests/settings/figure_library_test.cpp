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

OwnElement El(Shape shape, std::int32_t color, std::vector<double> v) {
    OwnElement el{shape, color, static_cast<std::int32_t>(v.size()), {}};
    for (std::size_t i = 0; i < v.size(); ++i) el.values[i] = v[i];
    return el;
}

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

TEST(FigureLibrary, SerializeThenParseReproducesEveryFigure) {
    const FigureLibrary lib = SampleLibrary();
    const std::string bytes = SerializeFigureLibrary(lib);
    const FigureLibrary back = ParseFigureLibrary(bytes);
    EXPECT_EQ(back.set.figures, lib.set.figures);
    EXPECT_EQ(back.set.nextKind, 140);
    EXPECT_EQ(back.damagedEntries, 0);
    EXPECT_TRUE(back.writable);
    EXPECT_EQ(bytes.substr(0, 31), "tesra-figures 1\r\nnext 140\r\nfigu");
}

TEST(FigureLibrary, SaveThenLoadAndMissingFile) {
    ScratchDir dir;
    const auto path = dir / "tesra_figures.txt";
    const FigureLibrary missing = LoadFigureLibrary(path);
    EXPECT_TRUE(missing.writable);
    EXPECT_TRUE(missing.set.figures.empty());
    EXPECT_EQ(missing.set.nextKind, kFirstOwnFigureKind);
    ASSERT_TRUE(SaveFigureLibrary(SampleLibrary(), path));
    EXPECT_EQ(LoadFigureLibrary(path).set.figures, SampleLibrary().set.figures);
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

// What one damaged or odd part does to the whole: figures read, entries
// skipped, whether the file may be saved over, and the next number.
TEST(FigureLibrary, DamageTable) {
    const std::string head = "tesra-figures 1\r\n";
    const struct {
        const char* name;
        std::string bytes;
        std::size_t figures;
        int damaged;
        bool writable;
        std::int32_t next;
    } cases[] = {
        {"empty file", "", 0, 0, true, 107},
        {"header only, LF ends", "tesra-figures 1\n", 0, 0, true, 107},
        {"one figure", head + kGood, 1, 0, true, 108},
        {"another format", "0\r\n0\r\n" + kGood, 0, 0, false, 107},
        {"a later version", "tesra-figures 2\r\n" + kGood, 0, 0, false, 107},
        {"bad number", head + "figure 108 1 1 x\r\nl 1 0 0 1 1x\r\nend\r\n" + kGood, 1, 1, true,
         109},
        {"not finite", head + "figure 108 1 1 x\r\nl 1 0 0 1 nan\r\nend\r\n" + kGood, 1, 1, true,
         109},
        {"unknown element", head + "figure 108 1 1 x\r\nz 1 0 0 1 1\r\nend\r\n" + kGood, 1, 1, true,
         109},
        {"too few values", head + "figure 108 1 1 x\r\nl 1 0 0 1\r\nend\r\n" + kGood, 1, 1, true,
         109},
        {"too many values", head + "figure 108 1 1 x\r\nl 1 0 0 1 1 1 1 1 1\r\nend\r\n", 0, 1, true,
         109},
        {"two spaces", head + "figure 108 1 1 x\r\nl 1 0  0 1 1\r\nend\r\n", 0, 1, true, 109},
        {"box without width", head + "figure 108 0 1 x\r\nl 1 0 0 0 1\r\nend\r\n" + kGood, 1, 1,
         true, 109},
        {"box negative", head + "figure 108 1 -1 x\r\nl 1 0 0 1 1\r\nend\r\n", 0, 1, true, 109},
        {"built-in number", head + "figure 106 1 1 x\r\nl 1 0 0 1 1\r\nend\r\n", 0, 1, true, 107},
        {"number twice", head + kGood + kGood, 1, 1, true, 108},
        {"no end at all", head + kGood + "figure 108 1 1 x\r\nl 1 0 0 1 1\r\n", 1, 1, true, 109},
        {"no end before the next", head + "figure 108 1 1 x\r\nl 1 0 0 1 1\r\n" + kGood, 1, 1, true,
         109},
        {"no elements", head + "figure 108 1 1 x\r\nend\r\n", 0, 1, true, 109},
        {"unknown solid code", head + "figure 108 1 1 x\r\ne 1 0 0 1 1 0 0 1 7\r\nend\r\n", 0, 1,
         true, 109},
        {"NUL in a name", head + "figure 108 1 1 a\0b\r\nl 1 0 0 1 1\r\nend\r\n"s, 0, 1, true, 109},
        {"elements at the bound",
         head + "figure 107 1 1 x\r\n" + Many("l 1 0 0 1 1", 2000) + "end\r\n", 1, 0, true, 108},
        {"elements over the bound",
         head + "figure 107 1 1 x\r\n" + Many("l 1 0 0 1 1", 2001) + "end\r\n", 0, 1, true, 108},
        {"figures over the bound", head + Figures(1001), 1000, 1, true, 1108},
        {"next kept above the figures", head + "next 500\r\n" + kGood, 1, 0, true, 500},
        {"next below a figure", head + "next 5\r\n" + kGood, 1, 0, true, 108},
        {"stray lines", head + "hello\r\nend\r\n\r\n" + kGood, 1, 0, true, 108},
    };
    for (const auto& c : cases) {
        const FigureLibrary lib = ParseFigureLibrary(c.bytes);
        EXPECT_EQ(lib.set.figures.size(), c.figures) << c.name;
        EXPECT_EQ(lib.damagedEntries, c.damaged) << c.name;
        EXPECT_EQ(lib.writable, c.writable) << c.name;
        EXPECT_EQ(lib.set.nextKind, c.next) << c.name;
        if (!c.writable) continue;
        // Nothing is lost: every line read is in the saved file, and the
        // saved file reads back as the same library.
        const std::string saved = SerializeFigureLibrary(lib);
        for (std::size_t at = 0, end; at < c.bytes.size(); at = end + 1) {
            end = std::min(c.bytes.find('\n', at), c.bytes.size());
            std::string line = c.bytes.substr(at, end - at);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.starts_with("next")) {
                EXPECT_NE(saved.find(line), std::string::npos) << c.name;
            }
        }
        EXPECT_EQ(SerializeFigureLibrary(ParseFigureLibrary(saved)), saved) << c.name;
    }
}

}  // namespace
}  // namespace tesra
