// The selected-element store: one record per element, in input order.
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <string>
#include <vector>

#include "exchange/reader.h"
#include "test_support.h"

namespace tesra {
namespace {

std::vector<std::pair<std::int32_t, std::int32_t>> Order(const ExchangeState& s) {
    std::vector<std::pair<std::int32_t, std::int32_t>> out;
    for (const ElementRef& ref : s.elements.order)
        out.emplace_back(static_cast<std::int32_t>(ref.kind), ref.index);
    return out;
}

using Values = std::vector<double>;

std::string Repeat(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

TEST(ElementStoreTest, EachElementLineBecomesItsRecord) {
    struct Case {
        std::string line;
        ElementKind kind;
        std::function<void(const ElementStore&)> check;
    };
    const std::vector<Case> cases = {
        {"ci 1 2 3", ElementKind::Circle,
         [](auto& e) {
             EXPECT_EQ(e.circles.at(0).x, 1.0);
             EXPECT_EQ(e.circles.at(0).r, 3.0);
         }},
        {"ci 1 2 3 4 5 6 7", ElementKind::Arc,
         [](auto& e) {
             EXPECT_EQ(e.arcs.at(0).values[0], 1.0);
             EXPECT_EQ(e.arcs.at(0).values[6], 7.0);
         }},
        {"pt 1 2", ElementKind::Point, [](auto& e) { EXPECT_EQ(e.points.at(0).y, 2.0); }},
        {"pt 1 2 3 4 5", ElementKind::PointWithData,
         [](auto& e) {
             EXPECT_EQ(e.pointsWithData.at(0).b, 4.0);
             EXPECT_EQ(e.pointsWithData.at(0).code, 5);
         }},
        {"BL 1 2 door", ElementKind::Block,
         [](auto& e) {
             EXPECT_EQ(e.blocks.at(0).x, 1.0);
             EXPECT_EQ(e.blocks.at(0).blockName, "door");
         }},
        {"sc 1 2 3 4 5 6 7 8", ElementKind::SolidSc,
         [](auto& e) {
             EXPECT_EQ(e.solidsSc.at(0).values, (Values{1, 2, 3, 4, 5, 6, 7}));
             EXPECT_EQ(e.solidsSc.at(0).code, 8);
         }},
        {"se 1 2 3 4 5 6 7 -1", ElementKind::SolidSe,
         [](auto& e) { EXPECT_EQ(e.solidsSe.at(0).code, -1); }},
        {"so 1 2 3 4 5 6 7 8", ElementKind::SolidSo,
         [](auto& e) {
             EXPECT_EQ(e.solidsSo.at(0).values, (Values{1, 2, 3, 4, 5, 6, 7, 8}));
         }},
        {"sg 1 2 3 4 5 6 7 8", ElementKind::SolidSg,
         [](auto& e) { EXPECT_EQ(e.solidsSg.at(0).values.size(), 8u); }},
        {" -5000 0 5000 0", ElementKind::Line,
         [](auto& e) {
             EXPECT_EQ(e.lines.at(0).x1, -5000.0);
             EXPECT_EQ(e.lines.at(0).polyline, 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const ExchangeState s = test::ReadLines({c.line});
        ASSERT_EQ(s.elements.order.size(), 1u);
        EXPECT_EQ(s.elements.order[0].kind, c.kind);
        c.check(s.elements);
    }
}

TEST(ElementStoreTest, OrderListsEveryElementWithItsIndex) {
    const ExchangeState s =
        test::ReadLines({"1 2 3 4", "ci 0 0 1", "5 6 7 8", "sl 0 0 1 1", "ci 1 1 1"});
    EXPECT_EQ(Order(s), (std::vector<std::pair<std::int32_t, std::int32_t>>{
                            {1, 0}, {2, 0}, {1, 1}, {9, 0}, {2, 1}}));
}

TEST(ElementStoreTest, HeaderIsTheStateWhenTheLineIsRead) {
    const ExchangeState s = test::ReadLines({"lg3", "ly4", "lc5", "lt2", "lw1", "hhp7", "z2", "z4",
                                             "1 2 3 4", "5 6 7 8", "lc6", "pn9", "pt 0 0"});
    const auto& lines = s.elements.lines;
    ASSERT_EQ(lines.size(), 2u);
    const ElementHeader first{7, 3, 4, 5, 2, 1, 10};
    const ElementHeader second{0, 3, 4, 5, 2, 1, 0};  // mark and flags belong to one element
    for (const auto& [got, want] : {std::pair{lines[0].header, first}, {lines[1].header, second}}) {
        EXPECT_EQ(got.indicated, want.indicated);
        EXPECT_EQ(got.layerGroup, want.layerGroup);
        EXPECT_EQ(got.layer, want.layer);
        EXPECT_EQ(got.color, want.color);
        EXPECT_EQ(got.lineType, want.lineType);
        EXPECT_EQ(got.lineWidth, want.lineWidth);
        EXPECT_EQ(got.flags, want.flags);
    }
    EXPECT_EQ(s.elements.points.at(0).header.color, 9) << "points carry the point number";
}

TEST(ElementStoreTest, TextTakesWhatFollowsTheQuoteWhole) {
    const std::string text = test::Sjis("寸法 は 12.5 です");
    const ExchangeState s = test::ReadLines({"cc3", "ch 1 2 3.5 90 \"" + text + "  "});
    ASSERT_EQ(s.elements.texts.size(), 1u);
    const JwwEntText& t = s.elements.texts[0];
    EXPECT_EQ(t.text, text + "  ");
    EXPECT_EQ(t.values[0], 1.0);
    EXPECT_EQ(t.values[3], 90.0);
    EXPECT_EQ(t.textColor, 3);
    EXPECT_EQ(t.fontName, test::Sjis("<ＭＳ ゴシック>"));
}

TEST(ElementStoreTest, TextDirectionFollowsItsKeyword) {
    const std::vector<std::string> keywords = {"ch", "cv", "cs", "cr", "co",
                                               "cp", "ct", "ck", "cz", "c2"};
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        const ExchangeState s = test::ReadLines({keywords[i] + " 0 0 1 0 a"});
        ASSERT_EQ(s.elements.texts.size(), 1u) << keywords[i];
        EXPECT_EQ(s.elements.texts[0].direction, static_cast<std::int32_t>(i)) << keywords[i];
    }
}

TEST(ElementStoreTest, TextSizesComeFromItsKind) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        double width, height, spacing;
        std::int32_t color, kind;
    };
    const std::vector<Case> cases = {
        // clang-format off
        {"default kind 1", {}, 3.0, 3.0, 0.0, 2, 1},
        {"kind from the table", {"hcw 1 2 3 4 5 6 7 8 9 10", "hcc 1 1 1 1 1 1 1 9 1 1", "cn8"},
         8.0, 3.0, 0.0, 9, 8},
        {"kind 0 with its own sizes", {"cn0 4 5 0.5 6"}, 4.0, 5.0, 0.5, 6, 0},
        {"kind 11 is not in the table", {"cn11"}, 2.0, 2.0, 0.0, 1, 11},
        // clang-format on
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = c.lines;
        lines.push_back("ch 0 0 1 0 x");
        const ExchangeState s = test::ReadLines(lines);
        ASSERT_EQ(s.elements.texts.size(), 1u) << c.name;
        const JwwEntText& t = s.elements.texts[0];
        EXPECT_EQ(t.width, c.width) << c.name;
        EXPECT_EQ(t.height, c.height) << c.name;
        EXPECT_EQ(t.spacing, c.spacing) << c.name;
        EXPECT_EQ(t.header.color, c.color) << c.name;
        EXPECT_EQ(t.textKind, c.kind) << c.name;
    }
}

TEST(ElementStoreTest, TextAndFontNameCutTo255Bytes) {
    const std::string kanji = test::Sjis("漢");  // two bytes
    struct Case {
        const char* name;
        std::string text;
        std::string kept;
    };
    const std::vector<Case> cases = {
        {"single bytes", std::string(300, 'a'), std::string(255, 'a')},
        {"exactly 255", std::string(255, 'b'), std::string(255, 'b')},
        // Regression: a cut inside a double-byte character left half of it.
        {"no half character", Repeat(kanji, 200), Repeat(kanji, 127)},
    };
    for (const Case& c : cases) {
        const ExchangeState s = test::ReadLines({"cn$" + c.text, "ch 0 0 1 0 \"" + c.text});
        ASSERT_EQ(s.elements.texts.size(), 1u) << c.name;
        EXPECT_EQ(s.elements.texts[0].text, c.kept) << c.name;
        EXPECT_EQ(s.elements.texts[0].fontName, c.kept) << c.name;
        EXPECT_EQ(s.cur.fontName, c.text) << "the current font itself is kept whole";
    }
}

TEST(ElementStoreTest, SolidsWithRepeatedCornersBecomeSmaller) {
    struct Case {
        const char* name;
        std::string line;
        ElementKind kind;
        Values corners;
    };
    const std::vector<Case> cases = {
        // clang-format off
        {"two corners", "sl 0 0 1 1", ElementKind::Solid2, {0, 0, 1, 1}},
        {"three distinct", "sl 0 0 1 0 1 1", ElementKind::Solid3, {0, 0, 1, 0, 1, 1}},
        {"three, c1 = c2", "sl 0 0 0 0 1 1", ElementKind::Solid2, {0, 0, 1, 1}},
        {"three, c2 = c3", "sl 0 0 1 1 1 1", ElementKind::Solid2, {0, 0, 1, 1}},
        {"three, c1 = c3 stays", "sl 0 0 1 1 0 0", ElementKind::Solid3, {0, 0, 1, 1, 0, 0}},
        {"four distinct", "sl 0 0 1 0 1 1 0 1", ElementKind::Solid4, {0, 0, 1, 0, 1, 1, 0, 1}},
        {"four, c1 = c2 = c3", "sl 0 0 0 0 0 0 1 1", ElementKind::Solid2, {0, 0, 1, 1}},
        {"four, c2 = c3 = c4", "sl 0 0 1 1 1 1 1 1", ElementKind::Solid2, {0, 0, 1, 1}},
        {"four, c1 = c2 and c3 = c4", "sl 0 0 0 0 1 1 1 1", ElementKind::Solid2, {0, 0, 1, 1}},
        {"four, c4 = c1", "sl 0 0 1 0 1 1 0 0", ElementKind::Solid3, {0, 0, 1, 0, 1, 1}},
        {"four, c4 = c2", "sl 0 0 1 0 1 1 1 0", ElementKind::Solid3, {0, 0, 1, 0, 1, 1}},
        {"four, c4 = c3", "sl 0 0 1 0 1 1 1 1", ElementKind::Solid3, {0, 0, 1, 0, 1, 1}},
        {"four, c3 = c1", "sl 0 0 1 0 0 0 0 1", ElementKind::Solid3, {0, 0, 1, 0, 0, 1}},
        {"four, c3 = c2", "sl 0 0 1 0 1 0 0 1", ElementKind::Solid3, {0, 0, 1, 0, 0, 1}},
        {"four, c2 = c1", "sl 0 0 0 0 1 0 0 1", ElementKind::Solid3, {0, 0, 1, 0, 0, 1}},
        {"within 1e-10 is the same corner", "sl 0 0 5e-11 -1e-10 1 0 1 1", ElementKind::Solid3,
         {0, 0, 1, 0, 1, 1}},
        {"2e-10 apart is another corner", "sl 0 0 2e-10 0 1 0 1 1", ElementKind::Solid4,
         {0, 0, 2e-10, 0, 1, 0, 1, 1}},
        {"tokens past the eighth ignored", "sl 0 0 1 0 1 1 0 1 9", ElementKind::Solid4,
         {0, 0, 1, 0, 1, 1, 0, 1}},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ExchangeState s = test::ReadLines({"lc10 255", c.line});
        ASSERT_EQ(s.elements.order.size(), 1u);
        EXPECT_EQ(s.elements.order[0].kind, c.kind);
        const auto& e = s.elements;
        const auto& list = c.kind == ElementKind::Solid2   ? e.solids2
                           : c.kind == ElementKind::Solid3 ? e.solids3
                                                           : e.solids4;
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0].values, c.corners);
        EXPECT_EQ(list[0].solidColor, 255);
    }
}

TEST(ElementStoreTest, LinesAfterPlShareOnePolylineNumber) {
    const ExchangeState s =
        test::ReadLines({"pl", "0 0 1 0", "1 0 1 1", "1 1 0 1", "#", "0 0 5 5", "pl", "0 0 2 0",
                         "ci 0 0 1", "2 0 2 2", "pl", "0 0 3 0", "lc2", "3 0 3 3"});
    std::vector<std::int32_t> polylines;
    for (const JwwEntLine& line : s.elements.lines) polylines.push_back(line.polyline);
    EXPECT_EQ(polylines, (std::vector<std::int32_t>{1, 1, 1, 0, 2, 0, 3, 0}));
}

TEST(ElementStoreTest, LineAfterMsgAndCsTextFormOneDimension) {
    const ExchangeState s =
        test::ReadLines({"msg", "hhp4", "lc3", "0 0 100 0", "cs 50 5 3 0 \"100"});
    EXPECT_TRUE(s.elements.lines.empty());
    EXPECT_TRUE(s.elements.texts.empty());
    ASSERT_EQ(s.elements.dimensions.size(), 1u);
    EXPECT_EQ(Order(s), (std::vector<std::pair<std::int32_t, std::int32_t>>{{7, 0}}));
    const JwwEntDimension& d = s.elements.dimensions[0];
    EXPECT_EQ(d.line.x2, 100.0);
    EXPECT_EQ(d.line.header.indicated, 4);
    EXPECT_EQ(d.line.header.color, 3);
    EXPECT_EQ(d.text.direction, 2);
    EXPECT_EQ(d.text.text, "100");
    EXPECT_EQ(d.text.header.indicated, 0) << "the mark went to the line";
    EXPECT_FALSE(s.afterMsg);
}

TEST(ElementStoreTest, MsgWithoutCsTextStoresNoDimension) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::size_t texts, dimensions, lines_;
    };
    const std::vector<Case> cases = {
        // clang-format off
        {"another text kind", {"msg", "0 0 1 0", "ch 0 0 1 0 a"}, 1, 0, 0},
        {"cs without msg", {"0 0 1 0", "cs 0 0 1 0 a"}, 1, 0, 1},
        {"# between", {"msg", "0 0 1 0", "#", "cs 0 0 1 0 a"}, 1, 0, 0},
        {"keyword element between", {"msg", "0 0 1 0", "ci 0 0 1", "cs 0 0 1 0 a"}, 1, 0, 0},
        {"a second line replaces the first",
         {"msg", "0 0 1 0", "0 0 2 0", "cs 0 0 1 0 a"}, 0, 1, 0},
        // clang-format on
    };
    for (const Case& c : cases) {
        const ExchangeState s = test::ReadLines(c.lines);
        EXPECT_EQ(s.elements.texts.size(), c.texts) << c.name;
        EXPECT_EQ(s.elements.dimensions.size(), c.dimensions) << c.name;
        EXPECT_EQ(s.elements.lines.size(), c.lines_) << c.name;
    }
    const ExchangeState s = test::ReadLines({"msg", "0 0 1 0", "0 0 2 0", "cs 0 0 1 0 a"});
    EXPECT_EQ(s.elements.dimensions.at(0).line.x2, 2.0);
}

// Regression: growing by a fixed block re-copied the list every thousand
// elements, so two million lines took a minute to read.
TEST(ElementStoreTest, LongListsReallocateRarely) {
    ExchangeState s;
    ResetExchangeState(s);
    int reallocations = 0;
    const JwwEntLine* data = nullptr;
    for (int i = 0; i < 100'000; ++i) {
        ParseExchangeLine(s, "0 0 1 1");
        if (s.elements.lines.data() != data) ++reallocations;
        data = s.elements.lines.data();
    }
    // Growth by a factor, as std::vector's: one reallocation per doubling.
    EXPECT_LE(reallocations, std::bit_width(100'000u) + 1);
}

}  // namespace
}  // namespace tesra
