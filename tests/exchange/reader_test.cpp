// The exchange-file reader: rules, attributes, indicated points and hostile lines.
#include "exchange/reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "exchange/line_tokens.h"
#include "test_support.h"

namespace tesra {
namespace {

std::vector<std::string> Split(std::string_view line) {
    const LineTokens tokens(line);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < tokens.size(); ++i) out.emplace_back(tokens[i]);
    return out;
}

// "t0 t1 ... t<count-1>"
std::string NumberedTokens(int count) {
    std::string line;
    for (int i = 0; i < count; ++i) line += "t" + std::to_string(i) + " ";
    line.pop_back();
    return line;
}

const std::string kGothic = test::Sjis("<ＭＳ ゴシック>");
const std::string kFullWidthA = test::Sjis("Ａ");  // lead byte 0x82

struct TokenCase {
    const char* name;
    std::string line;
    std::vector<std::string> tokens;
};

TEST(LineTokensTest, SplitsTheHostsWay) {
    const std::string tab = "\t";
    const std::vector<TokenCase> cases = {
        // clang-format off
        {"empty line", "", {""}},
        {"only separators", "  \t ", {""}},
        {"only control bytes", "\x01\x02\x7F\x1F", {"\x7F"}},
        {"leading separators ignored, runs count once", "  lc \t 3", {"lc", "3"}},
        {"trailing separator opens an empty token", "hk 0 ", {"hk", "0", ""}},
        {"tab separates", "a" + tab + "b", {"a", "b"}},
        {"quote stops splitting and is dropped", "ch 1 \"a b \"c", {"ch", "1", "a b \"c"}},
        {"equals stops splitting and is kept", "file=a b=c\"d", {"file=a b=c\"d"}},
        {"quote inside the keyword", "cn\"$" + kGothic, {"cn$" + kGothic}},
        {"double-byte character kept whole whatever its second byte",
         "a\x81\x20" "b \x82\x22", {"a\x81\x20" "b", "\x82\x22"}},
        {"lone lead byte at the end dropped", "ab \x82", {"ab", ""}},
        {"tabs, control bytes, FE and FF dropped after the quote", "x\"a\tb\x01\xFE\xFF c",
         {"xab c"}},
        {"half-width katakana are single bytes", "\xB1 \xDF", {"\xB1", "\xDF"}},
        {"CR inside a line dropped", "lc3\r", {"lc3"}},
        {"full-width character", kFullWidthA + " 1", {kFullWidthA, "1"}},
        // clang-format on
    };
    for (const TokenCase& c : cases) EXPECT_EQ(Split(c.line), c.tokens) << c.name;
}

TEST(LineTokensTest, KeepsFourHundredSlotsAndDropsTheRest) {
    struct Case {
        int written;
        bool trailingSpace;
        std::size_t count;
        std::string last;
    };
    const Case cases[] = {
        {399, true, 400, ""},
        {400, false, 400, "t399"},
        {400, true, 400, "t399"},
        {450, false, 400, "t399"},
    };
    for (const Case& c : cases) {
        const LineTokens tokens(NumberedTokens(c.written) + (c.trailingSpace ? " " : ""));
        EXPECT_EQ(tokens.size(), c.count) << c.written;
        EXPECT_EQ(tokens[c.count - 1], c.last) << c.written;
        EXPECT_EQ(tokens[c.count], "") << "past the end reads empty";
    }
}

struct RuleCase {
    const char* name;
    std::vector<std::string> lines;
    std::function<void(const ExchangeState&)> check;
};

void RunCases(const std::vector<RuleCase>& cases) {
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.check(test::ReadLines(c.lines));
    }
}

TEST(ExchangeReaderTest, HeaderLines) {
    const std::string sixteen = " 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16";
    const std::string ten = " 1 2 3 4 5 6 7 8 9 10";
    RunCases({
        {"file name keeps spaces",
         {"file=C:\\jww\\a b.jww"},
         [](auto& s) { EXPECT_EQ(s.fileName, "C:\\jww\\a b.jww"); }},
        {"empty file name", {"file="}, [](auto& s) { EXPECT_EQ(s.fileName, ""); }},
        // The name is everything after the fifth character, wherever the marker
        // stands in the token: the host reads it at that fixed offset.
        {"marker later in the token", {"xfile=a"}, [](auto& s) { EXPECT_EQ(s.fileName, "=a"); }},
        {"hk with a trailing space", {"hk 2.5 "}, [](auto& s) { EXPECT_EQ(s.hk, 2.5); }},
        {"hk without a value is ignored", {"hk"}, [](auto& s) { EXPECT_EQ(s.hk, 0.0); }},
        {"hs sixteen scales",
         {"hs" + sixteen},
         [](auto& s) {
             EXPECT_EQ(s.scales[0], 1.0);
             EXPECT_EQ(s.scales[15], 16.0);
         }},
        {"hs with fifteen is ignored",
         {"hs 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9"},
         [](auto& s) { EXPECT_EQ(s.scales[0], 1.0); }},
        {"hzs",
         {"hzs 420 297"},
         [](auto& s) {
             EXPECT_EQ(s.paperSize, (std::array<double, 2>{420.0, 297.0}));
         }},
        {"hcw hch hcd hcc",
         {"hcw" + ten, "hch" + ten, "hcd" + ten, "hcc     1  2 3 4 5 6 7 8 9  10"},
         [](auto& s) {
             EXPECT_EQ(s.textKinds[1].width, 1.0);
             EXPECT_EQ(s.textKinds[10].height, 10.0);
             EXPECT_EQ(s.textKinds[4].spacing, 4.0);
             EXPECT_EQ(s.textKinds[10].color, 10);
         }},
        {"hcw with nine values is ignored",
         {"hcw 1 2 3 4 5 6 7 8 9"},
         [](auto& s) { EXPECT_EQ(s.textKinds[1].width, 3.0); }},
        {"bz", {"bz"}, [](auto& s) { EXPECT_TRUE(s.bz); }},
        {"hn",
         {"hn 1 2 3 4"},
         [](auto& s) {
             EXPECT_EQ(s.hn, (std::array<double, 4>{1, 2, 3, 4}));
         }},
        {"hrgb longer than eight",
         {"hrgb 1 2 3 4 5 6 7 8 9 10"},
         [](auto& s) {
             ASSERT_EQ(s.rgb.size(), 10u);
             EXPECT_EQ(s.rgb[9], 10);
         }},
        {"hrgb with five values is ignored",
         {"hrgb 1 2 3 4 5"},
         [](auto& s) { EXPECT_EQ(s.rgb, std::vector<std::int32_t>(8, 0)); }},
        {"hrgb bounded by the token slots",
         {"hrgb " + NumberedTokens(500)},
         [](auto& s) { EXPECT_EQ(s.rgb.size(), 399u); }},
        {"unparsable numbers read as 0",
         {"hzs wide 2e"},
         [](auto& s) {
             EXPECT_EQ(s.paperSize, (std::array<double, 2>{0.0, 0.0}));
         }},
    });
}

TEST(ExchangeReaderTest, LayerLines) {
    RunCases({
        // clang-format off
        {"hex digit A", {"lgA"},
         [](auto& s) {
             EXPECT_EQ(s.cur.layerGroup, 10);
             EXPECT_EQ(s.initial.layerGroup, 10);
             EXPECT_FALSE(s.firstSeen.layerGroup);
         }},
        {"lower-case f", {"lyf"}, [](auto& s) { EXPECT_EQ(s.cur.layer, 15); }},
        {"not a hex digit", {"lg5", "lgZ"},
         [](auto& s) {
             EXPECT_EQ(s.cur.layerGroup, 0);
             EXPECT_EQ(s.initial.layerGroup, 5);
         }},
        {"only the first byte counts", {"ly12"}, [](auto& s) { EXPECT_EQ(s.cur.layer, 1); }},
        {"minus sign is no digit", {"lg-1"}, [](auto& s) { EXPECT_EQ(s.cur.layerGroup, 0); }},
        {"values of group and layer", {"lg3 7", "ly4 9"},
         [](auto& s) {
             EXPECT_EQ(s.layerGroupValues[3], 7);
             EXPECT_EQ(s.layerValues[3][4], 9);
         }},
        {"names joined with single spaces", {"lg2", "ly5", "lgnFloor  one", "lyn Walls"},
         [](auto& s) {
             EXPECT_EQ(s.layerGroupNames[2], "Floor one");
             EXPECT_EQ(s.layerNames[2][5], " Walls");
         }},
        {"layer line ends a polyline", {"pl", "ly1"}, [](auto& s) { EXPECT_FALSE(s.inPolyline); }},
        // clang-format on
    });
}

TEST(ExchangeReaderTest, LineAttributeLines) {
    RunCases({
        // clang-format off
        {"number written apart from the keyword is a separate token", {"  lc  3 "},
         [](auto& s) {
             EXPECT_EQ(s.cur.lineColor, 0);
             EXPECT_EQ(s.initial.lineColor, 0);
         }},
        {"first line sets the initial color, later ones only the current", {"lc3", "lc5"},
         [](auto& s) {
             EXPECT_EQ(s.initial.lineColor, 3);
             EXPECT_EQ(s.cur.lineColor, 5);
             EXPECT_FALSE(s.firstSeen.lineColor);
         }},
        {"lc10 carries the solid color", {"lc10 16711680"},
         [](auto& s) {
             EXPECT_EQ(s.cur.solidColor, 16711680);
             EXPECT_EQ(s.cur.lineColor, 10);
         }},
        {"other colors carry none", {"lc9 255"}, [](auto& s) { EXPECT_EQ(s.cur.solidColor, 0); }},
        {"line type", {"lt2", "lt4"},
         [](auto& s) {
             EXPECT_EQ(s.initial.lineType, 2);
             EXPECT_EQ(s.cur.lineType, 4);
         }},
        {"line width marks lw as seen", {"lw3"},
         [](auto& s) {
             EXPECT_TRUE(s.lwSeen);
             EXPECT_EQ(s.initial.lineWidth, 3);
         }},
        {"no lw line", {"lc1"}, [](auto& s) { EXPECT_FALSE(s.lwSeen); }},
        {"text color", {"cc7"}, [](auto& s) { EXPECT_EQ(s.cur.textColor, 7); }},
        {"text color out of range", {"cc5", "cc9"}, [](auto& s) { EXPECT_EQ(s.cur.textColor, 0); }},
        {"point number", {"pn12"}, [](auto& s) { EXPECT_EQ(s.cur.pointNumber, 12); }},
        {"flags add once each", {"z1", "z3", "z1"}, [](auto& s) { EXPECT_EQ(s.pendingFlags, 5); }},
        {"z6 is not a flag", {"z6"}, [](auto& s) { EXPECT_EQ(s.pendingFlags, 0); }},
        // clang-format on
    });
}

TEST(ExchangeReaderTest, TextKindAndFontLines) {
    RunCases({
        // clang-format off
        {"font name keeps its space", {"cn\"$" + kGothic},
         [](auto& s) {
             EXPECT_EQ(s.cur.fontName, kGothic);
             EXPECT_EQ(s.initialFontName, kGothic);
         }},
        {"first font stays the initial one", {"cn$A", "cn$B"},
         [](auto& s) {
             EXPECT_EQ(s.initialFontName, "A");
             EXPECT_EQ(s.cur.fontName, "B");
         }},
        {"text kind", {"cn4", "cn6"},
         [](auto& s) {
             EXPECT_EQ(s.initial.textKind, 4);
             EXPECT_EQ(s.cur.textKind, 6);
         }},
        {"kind 0 with its sizes, first line", {"cn0 5 6 0.5 3"},
         [](auto& s) {
             EXPECT_EQ(s.initial.textKind, 0);
             EXPECT_EQ(s.initial.cn0Width, 5.0);
             EXPECT_EQ(s.initial.cn0Color, 3);
             EXPECT_EQ(s.cur.cn0Height, 6.0);
             EXPECT_EQ(s.cur.cn0Spacing, 0.5);
         }},
        {"kind 0 later changes only the current sizes", {"cn2", "cn0 5 6 0.5 3"},
         [](auto& s) {
             EXPECT_EQ(s.initial.cn0Width, 2.0);
             EXPECT_EQ(s.cur.cn0Width, 5.0);
         }},
        {"kind 0 without all four sizes keeps them", {"cn0 5 6 0.5"},
         [](auto& s) { EXPECT_EQ(s.cur.cn0Width, 2.0); }},
        // clang-format on
    });
}

TEST(ExchangeReaderTest, IndicatedPoints) {
    RunCases({
        // clang-format off
        {"plain, dash and ln", {"hp1 10 20", "hp2- 30 40", "hp3ln 50 60"},
         [](auto& s) {
             EXPECT_EQ(s.pointCount, 3);
             EXPECT_TRUE(s.points[1].present && s.points[2].present && s.points[3].present);
             EXPECT_EQ(s.points[1].kind, PointKind::Plain);
             EXPECT_EQ(s.points[2].kind, PointKind::Dash);
             EXPECT_EQ(s.points[3].kind, PointKind::Ln);
             EXPECT_EQ(s.points[2].x, 30.0);
             EXPECT_EQ(s.points[3].y, 60.0);
         }},
        {"ci and ch", {"hp98ci 1 2", "hp99ch 3 4"},
         [](auto& s) {
             EXPECT_EQ(s.points[98].kind, PointKind::Ci);
             EXPECT_EQ(s.points[99].kind, PointKind::Ch);
         }},
        {"0 and 100 ignored", {"hp0 1 2", "hp100 3 4"},
         [](auto& s) {
             EXPECT_EQ(s.pointCount, 0);
             EXPECT_FALSE(s.points[0].present);
         }},
        {"same number twice: the later wins, both count", {"hp1 1 2", "hp1 3 4"},
         [](auto& s) {
             EXPECT_EQ(s.pointCount, 2);
             EXPECT_EQ(s.points[1].x, 3.0);
         }},
        {"one number is not a point", {"hp1 5"}, [](auto& s) { EXPECT_EQ(s.pointCount, 0); }},
        {"junk number ignored", {"hpx- 1 2"}, [](auto& s) { EXPECT_EQ(s.pointCount, 0); }},
        {"pending indicated mark", {"hhp12ln"}, [](auto& s) { EXPECT_EQ(s.pendingIndicated, 12); }},
        {"pending indicated mark without suffix", {"hhp7"},
         [](auto& s) { EXPECT_EQ(s.pendingIndicated, 7); }},
        {"pending indicated mark, earliest suffix", {"hhp3chln"},
         [](auto& s) { EXPECT_EQ(s.pendingIndicated, 3); }},
        // clang-format on
    });
}

TEST(ExchangeReaderTest, GroupMarkers) {
    RunCases({
        // clang-format off
        {"pl counts polylines", {"pl", "#", "pl"},
         [](auto& s) {
             EXPECT_EQ(s.polylineCounter, 2);
             EXPECT_TRUE(s.inPolyline);
         }},
        {"msg ends a polyline", {"pl", "msg"},
         [](auto& s) {
             EXPECT_TRUE(s.afterMsg);
             EXPECT_FALSE(s.inPolyline);
         }},
        {"pl ends a dimension", {"msg", "pl"}, [](auto& s) { EXPECT_FALSE(s.afterMsg); }},
        {"# ends both", {"msg", "#"},
         [](auto& s) {
             EXPECT_FALSE(s.afterMsg);
             EXPECT_FALSE(s.inPolyline);
         }},
        // clang-format on
    });
}

TEST(ExchangeReaderTest, LinesThatFitNoRuleChangeNothing) {
    const std::vector<std::string> ignored = {
        // clang-format off
        "", "   ", "\t\x01\x02", "hq", "ci 1 2 3 4", "ci 1 2 3 4 5 6", "pt 1", "unknown 1 2",
        "1 2 3", "1 2 3 4 5", "\x82",
        // clang-format on
    };
    for (const std::string& line : ignored) {
        const ExchangeState s = test::ReadLines({line});
        EXPECT_TRUE(s.elements.order.empty()) << line;
        EXPECT_EQ(s.fileName, "") << line;
        EXPECT_EQ(s.pointCount, 0) << line;
        EXPECT_EQ(s.cur.lineColor, 1) << line;
    }
}

TEST(ExchangeReaderTest, ResetRestoresEveryInitialValue) {
    ExchangeState state =
        test::ReadLines({"file=x", "hk 3", "bz", "lgA 1", "lc5", "lw2", "cn$F", "hp1 1 2", "z2",
                         "pl", "1 2 3 4", "hrgb 1 2 3 4 5 6 7 8 9"});
    ResetExchangeState(state);
    EXPECT_EQ(state.fileName, "");
    EXPECT_EQ(state.hk, 0.0);
    EXPECT_FALSE(state.bz);
    EXPECT_EQ(state.cur.layerGroup, 0);
    EXPECT_TRUE(state.firstSeen.layerGroup && state.firstSeen.lineColor &&
                state.firstSeen.lineWidth);
    EXPECT_EQ(state.initial.lineColor, 1);
    EXPECT_FALSE(state.lwSeen);
    EXPECT_EQ(state.cur.fontName, kGothic);
    EXPECT_EQ(state.initialFontName, "");
    EXPECT_FALSE(state.points[1].present);
    EXPECT_EQ(state.pointCount, 0);
    EXPECT_EQ(state.pendingFlags, 0);
    EXPECT_EQ(state.polylineCounter, 0);
    EXPECT_FALSE(state.inPolyline);
    EXPECT_TRUE(state.elements.lines.empty());
    EXPECT_TRUE(state.elements.order.empty());
    EXPECT_EQ(state.rgb, std::vector<std::int32_t>(8, 0));
    EXPECT_EQ(state.paperSize, (std::array<double, 2>{1189.0, 841.0}));
    EXPECT_EQ(state.textKinds[1].color, 2);
}

// The file as the host writes it, with one selected line.
std::vector<std::string> HostFileLines() {
    return {
        "hq",
        "file=",
        "hk 0",
        "hs 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100",
        "hcw 2 2.5 3 4 5 6 7 8 9 10",
        "hch 2 2.5 3 4 5 6 7 8 9 10",
        "hcd 0 0 0.5 0.5 0.5 0.5 1 1 1 1",
        "hcc      1      1      2      2      3      3      4      4      5      5",
        "hn 7306.10278372591 -2989.07922912206 7306.10278372591 -2989.07922912206",
        "hp1 -100.5 20",
        "hp2- 300 20",
        "bz",
        "lg0",
        "ly0",
        "lc2",
        "lt1",
        "cn2",
        "cn\"$" + test::Sjis("<ＭＳ ゴシック>"),
        "#",
        " -5000 0 5000 0",
    };
}

void ExpectHostFileRead(const ExchangeState& s) {
    EXPECT_EQ(s.scales[15], 100.0);
    EXPECT_EQ(s.textKinds[2].width, 2.5);
    EXPECT_EQ(s.textKinds[10].color, 5);
    EXPECT_EQ(s.hn[1], -2989.07922912206);
    EXPECT_TRUE(s.bz);
    EXPECT_EQ(s.pointCount, 2);
    EXPECT_EQ(s.points[1].x, -100.5);
    EXPECT_EQ(s.points[2].kind, PointKind::Dash);
    EXPECT_EQ(s.initial.lineColor, 2);
    EXPECT_EQ(s.initial.textKind, 2);
    EXPECT_EQ(s.initialFontName, kGothic);
    EXPECT_FALSE(s.lwSeen);
    ASSERT_EQ(s.elements.lines.size(), 1u);
    EXPECT_EQ(s.elements.lines[0].x1, -5000.0);
    EXPECT_EQ(s.elements.lines[0].x2, 5000.0);
    EXPECT_EQ(s.elements.lines[0].header.color, 2);
}

TEST(ExchangeFileTest, ReadsAHostFileWithCrLfOrLf) {
    test::ScratchDir dir;
    std::string lf;
    for (const std::string& line : HostFileLines()) lf += line + "\n";
    const std::string crlf = test::CrLf(HostFileLines());
    std::string noFinalLineEnd = crlf;
    noFinalLineEnd.resize(noFinalLineEnd.size() - 2);
    for (const std::string& bytes : {crlf, lf, noFinalLineEnd}) {
        test::WriteBytes(dir / "JWC_TEMP.TXT", bytes);
        ExchangeState state;
        ResetExchangeState(state);
        EXPECT_TRUE(ReadExchangeFile(state, dir / "JWC_TEMP.TXT"));
        ExpectHostFileRead(state);
    }
}

TEST(ExchangeFileTest, MissingFileOrFolderReadsNothing) {
    test::ScratchDir dir;
    ExchangeState state;
    ResetExchangeState(state);
    EXPECT_FALSE(ReadExchangeFile(state, dir / "JWC_TEMP.TXT"));
    EXPECT_FALSE(ReadExchangeFile(state, dir.path()));
    EXPECT_EQ(state.pointCount, 0);
    EXPECT_TRUE(state.firstSeen.lineColor);
}

TEST(ExchangeFileTest, BytesSplitOnlyAtLineFeeds) {
    ExchangeState state;
    ResetExchangeState(state);
    // A lone CR is no line end: it is dropped inside the line.
    ReadExchangeBytes(state, "hp1 1 2\rhp2 3 4\r\n\r\nlc3\n\nlc4");
    EXPECT_EQ(state.pointCount, 1);
    EXPECT_EQ(state.points[1].y, 0.0);  // "2hp2" is no number
    EXPECT_EQ(state.initial.lineColor, 3);
    EXPECT_EQ(state.cur.lineColor, 4);
}

TEST(ExchangeFileTest, HugeLineIsOneLine) {
    ExchangeState state;
    ResetExchangeState(state);
    const std::string text(20'000'000, 'a');
    ReadExchangeBytes(state, "ch 1 2 3 4 \"" + text + "\r\nlc7\r\n");
    ASSERT_EQ(state.elements.texts.size(), 1u);
    EXPECT_EQ(state.elements.texts[0].text.size(), 255u);
    EXPECT_EQ(state.cur.lineColor, 7);
}

}  // namespace
}  // namespace tesra
