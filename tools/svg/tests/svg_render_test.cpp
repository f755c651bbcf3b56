// SVG output of a scene.
#include "tools/svg/svg_render.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "tools/svg/scene_reader.h"

namespace tesra::svg {
namespace {

std::string Svg(std::string_view text) { return RenderSvg(ReadScene(text)); }

int Count(std::string_view haystack, std::string_view needle) {
    int n = 0;
    for (std::size_t at = haystack.find(needle); at != std::string_view::npos;
         at = haystack.find(needle, at + 1))
        ++n;
    return n;
}

struct ElementCase {
    const char* line;
    const char* element;  // expected once, with the attribute that matters
};

TEST(SvgRender, EachRecordGivesItsElement) {
    const ElementCase cases[] = {
        {"0 0 10 20", "<line x1=\"0\" y1=\"0\" x2=\"10\" y2=\"-20\""},
        {"sl 0 0 10 20", "<line x1=\"0\" y1=\"0\" x2=\"10\" y2=\"-20\""},
        {"ci 1 2 5", "<ellipse cx=\"1\" cy=\"-2\" rx=\"5\" ry=\"5\" stroke="},
        {"ci 0 0 10 0 360 0.5 30",
         "<ellipse cx=\"0\" cy=\"0\" rx=\"10\" ry=\"5\" transform=\"rotate(-30 0 0)\""},
        {"ci 0 0 10 0 90 1 0", "<path d=\"M10 0 A10 10 0 0 0 0 -10\" stroke="},
        {"ci 0 0 10 0 90 -1 0", "<path d=\"M10 0 A10 10 0 0 1 0 10\" stroke="},  // mirrored
        {"ci 0 0 10 0 270 1 0", "<path d=\"M10 0 A10 10 0 1 0 0 10\" stroke="},  // large arc
        {"ci 0 0 10 0 90 1 90", "<path d=\"M0 -10 A10 10 -90 0 0 -10 0\" stroke="},
        {"sl 0 0 10 0 10 10", "<polygon points=\"0,0 10,0 10,-10\" fill="},
        {"sl 0 0 10 0 10 10 0 10", "<polygon points=\"0,0 10,0 10,-10 0,-10\" fill="},
        {"sc 0 0 10 0.5 0 0 6.283185307179586 100",
         "<ellipse cx=\"0\" cy=\"0\" rx=\"10\" ry=\"5\" fill="},
        {"sc 0 0 10 1 0 0 3.141592653589793 5", "<path d=\"M10 0 A10 10 0 0 0 -10 0 Z\" fill="},
        {"sc 0 0 10 1 0 3.141592653589793 -3.141592653589793 5",
         "<path d=\"M-10 0 A10 10 0 0 1 10 0 Z\" fill="},  // swept clockwise
        {"so 0 0 10 1 0 0 6.283185307179586 4",
         "<path d=\"M10 0 A10 10 0 0 0 -10 0 A10 10 0 0 0 10 0Z "
         "M4 0 A4 4 0 0 0 -4 0 A4 4 0 0 0 4 0Z\" fill-rule=\"evenodd\" fill="},
    };
    for (const ElementCase& c : cases) {
        const std::string svg = Svg(c.line);
        EXPECT_EQ(Count(svg, c.element), 1) << c.line << "\n" << svg;
    }
}

TEST(SvgRender, FillsAndStrokesCarryTheirColor) {
    const std::string solid = Svg("lc10 255\nsl 0 0 1 0 1 1\nlc6\n0 0 1 1");
    // Fills get an outline of their own color, so adjoining pieces show no seam.
    EXPECT_EQ(Count(solid, "fill=\"#FF0000\" stroke=\"#FF0000\""), 1);
    EXPECT_EQ(Count(solid, "stroke=\"#0000E0\""), 1);
    const std::string ring = Svg("lc10 65280\nso 0 0 2 1 0 0 6.28 1");
    EXPECT_EQ(Count(ring, "fill=\"#00FF00\""), 1);
}

TEST(SvgRender, ViewBoxFitsTheDrawingWithMargin) {
    struct Case {
        const char* text;
        const char* viewBox;
    };
    const Case cases[] = {
        {"0 0 100 50", "viewBox=\"-5 -55 110 60\""},
        {"-100 -50 0 0", "viewBox=\"-105 -5 110 60\""},
        {"ci 10 10 10", "viewBox=\"-1 -21 22 22\""},
        {"ci 0 0 10 0 90 1 0", "viewBox=\"-0.5 -10.5 11 11\""},
        {"0 0 0 0", "viewBox=\"-0.05 -0.05 0.1 0.1\""},  // a point still gets a view
        {"", "viewBox=\"-0.05 -0.05 0.1 0.1\""},
    };
    for (const Case& c : cases) EXPECT_EQ(Count(Svg(c.text), c.viewBox), 1) << c.text;
}

// Dashes in stroke widths (0.1 for a drawing 100 wide); solids stay filled.
TEST(SvgRender, LineTypesBecomeDashes) {
    struct Case {
        const char* lines;
        const char* stroke;  // expected once; empty: no dashes at all
    };
    const Case cases[] = {
        {"lt1\n0 0 100 0", ""},
        {"lt2\n0 0 100 0", "stroke-dasharray=\"0.6 0.4\"/>"},
        {"lt3\n0 0 100 0", "stroke-dasharray=\"1.2 0.5\"/>"},
        {"lt4\n0 0 100 0", "stroke-dasharray=\"0.05 0.35\"/>"},
        {"lt5\n0 0 100 0", "stroke-dasharray=\"1.6 0.4 0.05 0.4\"/>"},
        {"lt6\n0 0 100 0", "stroke-dasharray=\"2.8 0.6 0.05 0.6\"/>"},
        {"lt7\n0 0 100 0", "stroke-dasharray=\"1.6 0.4 0.05 0.4 0.05 0.4\"/>"},
        {"lt8\n0 0 100 0", "stroke-dasharray=\"2.8 0.6 0.05 0.6 0.05 0.6\"/>"},
        {"lt9\n0 0 100 0", "stroke-dasharray=\"0.3 0.3\" stroke-opacity=\"0.5\"/>"},
        {"lt12\n0 0 100 0", ""},
        {"lt2\nci 50 0 50", "stroke-dasharray=\"0.6 0.4\"/>"},
        {"lt2\nci 50 0 50 0 90 1 0\nlt1\n0 0 100 0",
         "A50 50 0 0 0 50 -50\" stroke=\"#008B8B\" stroke-dasharray=\"0.6 0.4\"/>"},
        {"lt2\nsl 0 0 100 0 100 100", ""},
    };
    for (const Case& c : cases) {
        const std::string svg = Svg(c.lines);
        if (*c.stroke == '\0')
            EXPECT_EQ(Count(svg, "dasharray"), 0) << c.lines;
        else
            EXPECT_EQ(Count(svg, c.stroke), 1) << c.lines << "\n" << svg;
    }
}

TEST(SvgRender, PointsAndTextsShowWhereTheyStand) {
    const ElementCase cases[] = {
        {"lc8\npt 10 20\n0 0 100 0",
         "<circle cx=\"10\" cy=\"-20\" r=\"0.15\" stroke=\"none\" fill=\"#E00000\"/>"},
        {"ch 10 20 1 0 \" a&b",
         "<text x=\"10\" y=\"-20\" font-size=\"2\" stroke=\"none\" fill=\"#008B8B\" "
         "xml:space=\"preserve\"> a&amp;b</text>"},
        {"cn5\nch 10 20 0 1 \"x", " font-size=\"5\" transform=\"rotate(-90 10 -20)\""},
    };
    for (const ElementCase& c : cases) {
        const std::string svg = Svg(c.line);
        EXPECT_EQ(Count(svg, c.element), 1) << c.line << "\n" << svg;
    }
}

// A text's box turns with it: one standing upright reaches above its point.
TEST(SvgRender, BoundsHoldTurnedTexts) {
    const Bounds level = SceneBounds(ReadScene("cn10\nch 0 0 1 0 \"AAAA"));
    EXPECT_NEAR(level.maxX, 24.0, 1e-9);  // four half-width glyphs of 0.6 height
    EXPECT_NEAR(level.maxY, 10.0, 1e-9);
    const Bounds upright = SceneBounds(ReadScene("cn10\nch 0 0 0 1 \"AAAA"));
    EXPECT_NEAR(upright.maxY, 24.0, 1e-9);
    EXPECT_NEAR(upright.minX, -10.0, 1e-9);
}

TEST(SvgRender, StrokeWidthFollowsTheViewSize) {
    EXPECT_EQ(Count(Svg("0 0 100 0"), "stroke-width=\"0.1\""), 1);
    EXPECT_EQ(Count(Svg("0 0 1000 0"), "stroke-width=\"1\""), 1);
    EXPECT_EQ(Count(Svg("0 0 0 1000"), "stroke-width=\"1\""), 1);
}

TEST(SvgRender, BoundsFollowTheArcNotItsEllipse) {
    struct Case {
        const char* line;
        double minX, minY, maxX, maxY;
    };
    const double h = 10.0 * std::sqrt(0.5);
    const Case cases[] = {
        {"ci 0 0 10 0 90 1 0", 0, 0, 10, 10},
        {"ci 0 0 10 45 135 1 0", -h, h, h, 10},
        {"ci 0 0 10 90 0 1 0", -10, -10, 10, 10},
        {"ci 0 0 10 0 360 0.5 90", -5, -10, 5, 10},
        {"sc 0 0 10 1 0 3.141592653589793 3.141592653589793 5", -10, -10, 10, 0},
        {"so 1 1 10 0.5 0 0 1 4", -9, -4, 11, 6},
        {"sl 0 0 4 -2 3 7", 0, -2, 4, 7},
    };
    for (const Case& c : cases) {
        const Bounds box = SceneBounds(ReadScene(c.line));
        ASSERT_FALSE(box.empty) << c.line;
        EXPECT_NEAR(box.minX, c.minX, 1e-9) << c.line;
        EXPECT_NEAR(box.minY, c.minY, 1e-9) << c.line;
        EXPECT_NEAR(box.maxX, c.maxX, 1e-9) << c.line;
        EXPECT_NEAR(box.maxY, c.maxY, 1e-9) << c.line;
    }
}

TEST(SvgRender, CaptionsAreEscapedAndGetRoomBelow) {
    const std::string svg = Svg("0 0 100 50\nhe<a & b>\nh#\"x\"");
    EXPECT_EQ(Count(svg, ">&lt;a &amp; b&gt;</text>"), 1);
    EXPECT_EQ(Count(svg, ">&quot;x&quot;</text>"), 1);
    // Two caption lines of 3 units at 1.3 spacing under the 60-unit view.
    EXPECT_EQ(Count(svg, "viewBox=\"-5 -55 110 67.8\""), 1);
}

TEST(SvgRender, LabelsAndFramesComeFromTheScene) {
    Scene scene;
    scene.shapes.push_back({FrameShape{{0, 0}, {10, 6}}, 0});
    scene.shapes.push_back({LabelShape{{5, -2}, 1.5, "12 ／／"}, 0x333333});
    const std::string svg = RenderSvg(scene);
    EXPECT_EQ(Count(svg, "<rect x=\"0\" y=\"-6\" width=\"10\" height=\"6\" stroke=\"#C8C8C8\""), 1);
    EXPECT_EQ(Count(svg, "<text x=\"5\" y=\"2\" font-size=\"1.5\" text-anchor=\"middle\""), 1);
    EXPECT_EQ(Count(svg, ">12 ／／</text>"), 1);
    EXPECT_EQ(Count(svg, "font-family=\"sans-serif, 'Noto Sans CJK JP'"), 1);
}

// Any mixture of records, extreme values included, gives a complete document
// with nothing but finite numbers in it.
TEST(SvgRender, ArbitraryRecordsGiveFiniteOutput) {
    const char* const tokens[] = {"ci",  "sl", "sc",      "so",   "lc10",  "lc3",
                                  "0",   "1",  "-1",      "1e12", "-1e12", "1e-300",
                                  "100", "5",  "3.14159", "nan",  "\x82",  "6.283185307179586",
                                  "0.5", "-0"};
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(tokens) - 1);
    std::uniform_int_distribution<int> length(1, 10);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int line = 0; line < 20; ++line) {
            const int n = length(random);
            for (int i = 0; i < n; ++i) (text += tokens[pick(random)]) += ' ';
            text += "\r\n";
        }
        const std::string svg = Svg(text);
        EXPECT_EQ(svg.find("nan"), std::string::npos) << text;
        EXPECT_EQ(svg.find("inf"), std::string::npos) << text;
        EXPECT_EQ(svg.rfind("</svg>\n"), svg.size() - 7) << text;
    }
}

}  // namespace
}  // namespace tesra::svg
