// The scene reader against the writer's output.
#include "tools/svg/scene_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "geom/helpers.h"

namespace tesra::svg {
namespace {

enum Kind { kLine, kArc, kPolygon, kSolidArc, kRing, kFrame, kLabel, kPoint, kText };

struct KindCase {
    const char* line;
    Kind kind;
};

TEST(SceneReader, EachRecordGivesItsShape) {
    const KindCase cases[] = {
        {"1 2 3 4", kLine},
        {"-1.5 2E3 0.25 1e-5", kLine},
        {"  1\t2 3 4  ", kLine},
        {"ci 0 0 5", kArc},
        {"ci 0 0 5 0 360 0.5 30", kArc},
        {"sl 0 0 1 1", kLine},  // a solid with two corners is a line
        {"sl 0 0 1 0 1 1", kPolygon},
        {"sl 0 0 1 0 1 1 0 1", kPolygon},
        {"sc 0 0 5 1 0 0 6.283185307179586 100", kSolidArc},
        {"sc 0 0 5 0.5 0 1.57 3.14 5", kSolidArc},
        {"so 0 0 5 1 0 0 6.283185307179586 2", kRing},
        {"pt 1 2", kPoint},
        {"pt 1 2 3 4 5", kPoint},
        {"ch 1 2 1 0 \"abc", kText},
        {"cz 50 60 0.7 0.7 \"  x \"y\"", kText},
        {"c2 0 0 0 1 \"", kText},  // an empty text still has its place
    };
    for (const KindCase& c : cases) {
        const Scene scene = ReadScene(c.line);
        ASSERT_EQ(scene.shapes.size(), 1u) << c.line;
        EXPECT_EQ(scene.shapes[0].geometry.index(), static_cast<std::size_t>(c.kind)) << c.line;
    }
}

TEST(SceneReader, ArcAnglesBecomeRadiansCounterClockwise) {
    struct Case {
        const char* line;
        double start, sweep, tilt;
    };
    const Case cases[] = {
        {"ci 1 2 5 0 90 1 0", 0.0, kPi / 2, 0.0},
        {"ci 1 2 5 90 0 1 0", kPi / 2, 1.5 * kPi, 0.0},  // wraps past 360
        {"ci 1 2 5 0 360 1 30", 0.0, kTwoPi, kPi / 6},
        {"ci 1 2 5 -90 90 1 0", -kPi / 2, kPi, 0.0},
        {"ci 1 2 5 45 45 1 0", kPi / 4, kTwoPi, 0.0},  // meets itself: whole
    };
    for (const Case& c : cases) {
        const Scene scene = ReadScene(c.line);
        ASSERT_EQ(scene.shapes.size(), 1u) << c.line;
        const auto& arc = std::get<ArcShape>(scene.shapes[0].geometry);
        EXPECT_NEAR(arc.start, c.start, 1e-12) << c.line;
        EXPECT_NEAR(arc.sweep, c.sweep, 1e-12) << c.line;
        EXPECT_NEAR(arc.ellipse.tilt, c.tilt, 1e-12) << c.line;
        EXPECT_EQ(arc.ellipse.centre.x, 1.0);
        EXPECT_EQ(arc.ellipse.centre.y, 2.0);
    }
}

TEST(SceneReader, SolidArcCodesPickWholeOrHalf) {
    const Scene whole = ReadScene("sc 3 4 5 0.5 0.1 0 6.28 100");
    const auto& w = std::get<SolidArcShape>(whole.shapes.at(0).geometry);
    EXPECT_GE(std::fabs(w.arc.sweep), kTwoPi);
    EXPECT_EQ(w.arc.ellipse.flatness, 0.5);
    EXPECT_EQ(w.arc.ellipse.tilt, 0.1);

    // The second angle of code 5 is the angle swept, not an end angle.
    const Scene half = ReadScene("sc 3 4 5 0.5 0.1 1.5 3 5");
    const auto& h = std::get<SolidArcShape>(half.shapes.at(0).geometry);
    EXPECT_EQ(h.arc.start, 1.5);
    EXPECT_EQ(h.arc.sweep, 3.0);
}

TEST(SceneReader, PolygonKeepsCornersInOrder) {
    const Scene scene = ReadScene("sl 1 2 3 4 5 6 7 8");
    const auto& p = std::get<PolygonShape>(scene.shapes.at(0).geometry);
    ASSERT_EQ(p.count, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p.corners[static_cast<std::size_t>(i)].x, 1.0 + 2 * i);
        EXPECT_EQ(p.corners[static_cast<std::size_t>(i)].y, 2.0 + 2 * i);
    }
}

TEST(SceneReader, RingKeepsBothRadii) {
    const Scene scene = ReadScene("so 1 2 5 0.5 0.25 0 6.28 2");
    const auto& ring = std::get<RingShape>(scene.shapes.at(0).geometry);
    EXPECT_EQ(ring.outer.r, 5.0);
    EXPECT_EQ(ring.innerR, 2.0);
    EXPECT_EQ(ring.outer.flatness, 0.5);
    EXPECT_EQ(ring.outer.tilt, 0.25);
}

struct ColorCase {
    const char* text;
    Rgb expected;  // of the last shape
};

TEST(SceneReader, ColorsFollowPenAndSolidColor) {
    const ColorCase cases[] = {
        {"1 2 3 4", PenColor(1)},  // before any "lc"
        {"lc3\n1 2 3 4", PenColor(3)},
        {"lc6\nsl 0 0 1 0 1 1", PenColor(6)},    // solids in the line color
        {"lc10 255\nsl 0 0 1 0 1 1", 0xFF0000},  // 0x00BBGGRR: red
        {"lc10 16711680\nsc 0 0 1 1 0 0 6.28 100", 0x0000FF},
        {"lc10 65280\nso 0 0 2 1 0 0 6.28 1", 0x00FF00},
        {"lc10 255\n1 2 3 4", 0xFF0000},  // lines too, while lc10 is in force
        {"lc10 255\nlc2\nsl 0 0 1 0 1 1", PenColor(2)},
        {"lc10 255\nlc2\nlc10\nsl 0 0 1 0 1 1", 0xFF0000},  // bare lc10 keeps the RGB
        {"lc10 16777216\nsl 0 0 1 0 1 1", 0x000000},        // out of range, as the writer clamps
        {"lc10 -1\nsl 0 0 1 0 1 1", 0x000000},
        {"lc4\nlc 3\n1 2 3 4", PenColor(4)},     // number apart from "lc": not a color
        {"lc4\nlc3 255\n1 2 3 4", PenColor(4)},  // RGB only for lc10
        {"lc4\nlc10 red\n1 2 3 4", PenColor(4)},
        {"lc4\nlcx\n1 2 3 4", PenColor(4)},
        {"lc4\nlc99999999999\n1 2 3 4", PenColor(4)},
        {"lc4\nlg1\nly2\nlt3\nlw4\nbz\n1 2 3 4", PenColor(4)},
    };
    for (const ColorCase& c : cases) {
        const Scene scene = ReadScene(c.text);
        ASSERT_FALSE(scene.shapes.empty()) << c.text;
        EXPECT_EQ(scene.shapes.back().color, c.expected) << c.text;
    }
}

TEST(SceneReader, PensAreDistinctAndUnknownPensGrey) {
    for (std::int32_t a = 1; a <= 9; ++a) {
        EXPECT_NE(PenColor(a), 0xFFFFFFu) << a;  // never invisible on white
        for (std::int32_t b = a + 1; b <= 9; ++b) EXPECT_NE(PenColor(a), PenColor(b)) << a << b;
    }
    EXPECT_EQ(PenColor(0), PenColor(11));
    EXPECT_EQ(PenColor(-3), PenColor(11));
}

TEST(SceneReader, MalformedLinesAreSkipped) {
    const std::string cases[] = {
        "1 2 3",
        "1 2 3 4 5",
        "a b c d",
        "1 2 3 nan",
        "1 2 3 inf",
        "1 2 3 -infinity",
        "1 2 3 1e999",
        "1 2 3 1e13",  // beyond any drawing
        "1 2 3 0x10",
        "1 2 3 4x",
        "+1 2 3 4",
        "1 2 3 4\x82",
        std::string("1 2\0 3 4", 8),
        "ci 0 0",
        "ci 0 0 5 0 90",
        "ci 0 0 5 0 90 1 0 9",
        "ci 0 0 nan 0 90 1 0",
        "sl",
        "sl 0 0 1",
        "sl 0 0 1 0 1",
        "sl 0 0 1 0 1 1 0 1 2 2",
        "sl 0 0 1 0 1 1 0 1 2 2 3 3 4 4 5 5",
        "sc 0 0 5 1 0 0 3",
        "sc 0 0 5 1 0 0 3 5.5",
        "sc 0 0 5 1 0 0 3 7",  // no such code
        "sc 0 0 5 1 0 0 3 99999999999",
        "so 0 0 5 1 0 0 6",
        "so 0 0 5 1 0 0 6 1e999",
        "xx 0 0 5",
        "pt 1",
        "pt 1 2 3",
        "pt 1 nan",
        "ch 1 2 1 \"too few numbers",
        "ch 1 2 1 0 0 \"too many",
        "ch 1 2 x 0 \"not a number",
        "cq 1 2 1 0 \"no such text keyword",
        "1 2 3 4 \"a quote after a line",
        "cn\"$<font name>",
        "hch 1 2 3 4 5 6 7 8 9 10",
        "lt5",
        "cn3",
        "\x82",
        "\x82\xA0\x82",
        "",
        "\r",
        std::string(20000, '1'),
        std::string(5000, ' ') + "1 2 3",
    };
    for (const std::string& line : cases) {
        SceneReader reader;
        reader.ReadLine(line);
        EXPECT_TRUE(reader.scene().shapes.empty()) << line.substr(0, 40);
        EXPECT_TRUE(reader.scene().captions.empty()) << line.substr(0, 40);
    }
}

TEST(SceneReader, NumbersAcceptOnlyWholeFiniteFields) {
    struct Case {
        const char* field;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"0", true, 0.0},           {"-0", true, 0.0},    {"1.5", true, 1.5},
        {"2.5E20", false, 0.0},     {"1E-5", true, 1e-5}, {"-1e12", true, -1e12},
        {"1.0000001e12", false, 0}, {"", false, 0},       {".", false, 0},
        {"1 ", false, 0},           {"NaN", false, 0},    {"1e", false, 0},
    };
    for (const Case& c : cases) {
        const auto v = ParseNumber(c.field);
        EXPECT_EQ(v.has_value(), c.ok) << c.field;
        if (v && c.ok) {
            EXPECT_EQ(*v, c.value) << c.field;
        }
    }
}

TEST(SceneReader, MessagesBecomeCaptions) {
    struct Case {
        std::string line;
        std::string caption;
    };
    const Case cases[] = {
        {"h#hello world", "hello world"},
        {"heerror\r", "error"},
        {"he\x82\xA0x", "\xE3\x81\x82x"},            // a double-byte character: "あx"
        {"he\x85\x40x", "?x"},                       // a double-byte code with no character
        {"he\xB1\xDF", "\xEF\xBD\xB1\xEF\xBE\x9F"},  // half-width katakana
        {"hea\x82", "a?"},                           // a lead byte with nothing after it
        {std::string("he\x01\x7F\0b", 6), "b"},      // control bytes dropped
        {"he<&>", "<&>"},                            // escaping is the renderer's business
    };
    for (const Case& c : cases) {
        const Scene scene = ReadScene(c.line);
        ASSERT_EQ(scene.captions.size(), 1u) << c.line;
        EXPECT_EQ(scene.captions[0], c.caption) << c.line;
        EXPECT_TRUE(scene.shapes.empty());
    }
}

// Height and pen from the text kind in force, the direction from the text's
// own vector. The host's tables apply until the file gives its own.
TEST(SceneReader, TextTakesItsKindAndDirection) {
    struct Case {
        std::string before;
        std::string text;
        double height;
        std::int32_t pen;
        double angle;
        std::string utf8;
    };
    const Case cases[] = {
        {"", "ch 3 4 1 0 \"A", 2.0, 1, 0.0, "A"},
        {"cn5", "ch 3 4 0 2 \"A", 5.0, 3, kPi / 2, "A"},
        {"cn10", "cv 3 4 -1 0 \"A", 10.0, 5, kPi, "A"},
        {"hch 1 2 3 4 5 6 7 8 9 11\nhcc 9 8 7 6 5 4 3 2 1 0\ncn10", "ch 3 4 1 0 \"A", 11.0, 0, 0.0,
         "A"},
        {"hch 1 2 3 x 5 6 7 8 9 11\ncn10", "ch 3 4 1 0 \"A", 10.0, 5, 0.0, "A"},  // kept whole
        {"cn0 3.5 4.5 0.5 8", "cz 3 4 0.7 0.7 \"  \x82\xA0\"", 4.5, 8, kPi / 4, "  \xE3\x81\x82\""},
        {"cn0 3.5 4.5 0.5", "ch 3 4 1 0 \"A", 2.0, 1, 0.0, "A"},  // cn0 without its color
        {"cn3\ncn11", "ch 3 4 1 0 \"A", 3.0, 2, 0.0, "A"},        // no kind 11
        {"cn3\ncn\"$<\x82\x6C\x82\x72 \x83\x53>", "ch 3 4 0 0 \"A", 3.0, 2, 0.0, "A"},
    };
    for (const Case& c : cases) {
        const Scene scene = ReadScene(c.before + "\n" + c.text);
        ASSERT_EQ(scene.shapes.size(), 1u) << c.before << " | " << c.text;
        const auto& text = std::get<TextShape>(scene.shapes[0].geometry);
        EXPECT_EQ(text.at.x, 3.0);
        EXPECT_EQ(text.at.y, 4.0);
        EXPECT_EQ(text.height, c.height) << c.before;
        EXPECT_EQ(scene.shapes[0].color, PenColor(c.pen)) << c.before;
        EXPECT_NEAR(text.angle, c.angle, 1e-15) << c.text;
        EXPECT_EQ(text.text, c.utf8) << c.text;
    }
}

// "lt" applies to whatever follows, in the line color; points keep theirs.
TEST(SceneReader, LineTypeAndColorFollowTheAttributes) {
    const Scene scene = ReadScene("lt5\nlc3\n0 0 1 1\nci 0 0 5\nlt1x\nlt2 7\npt 1 1\nlt9\n0 0 2 2");
    const std::int32_t expected[] = {5, 5, 5, 9};
    ASSERT_EQ(scene.shapes.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(scene.shapes[i].lineType, expected[i]) << i;
        EXPECT_EQ(scene.shapes[i].color, PenColor(3)) << i;
    }
}

TEST(SceneReader, StreamSplitsCrLfAndSkipsOverlongLines) {
    std::string text = "lc3\r\n1 2 3 4\r\n";
    text += std::string(kMaxLineBytes + 10, '7') + " 0 0 0\r\n";
    text += "5 6 7 8";  // no line end at the very end
    std::istringstream in(text);
    SceneReader reader;
    reader.ReadStream(in);
    const Scene& scene = reader.scene();
    ASSERT_EQ(scene.shapes.size(), 2u);
    EXPECT_EQ(std::get<LineShape>(scene.shapes[1].geometry).b.y, 8.0);
    EXPECT_EQ(scene.shapes[1].color, PenColor(3));
}

TEST(SceneReader, ShapeCountIsCapped) {
    SceneReader reader(3);
    for (int i = 0; i < 5; ++i) reader.ReadLine("0 0 1 1");
    reader.AddShape({LineShape{}, 0});
    EXPECT_EQ(reader.scene().shapes.size(), 3u);
}

}  // namespace
}  // namespace tesra::svg
