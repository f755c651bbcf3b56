// Writing the selection back: every kind the writer can express comes back the same.
#include "exchange/write_back.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "exchange/line_sink.h"
#include "exchange/number_format.h"
#include "test_support.h"

namespace tesra {
namespace {

// The header a host writes before the selection: the text-kind table that
// kinds 1-10 refer to, the write settings and the font.
std::string HostHeader(bool lw) {
    return test::CrLf({"hq", "hcw 2 2.5 3 4 5 6 7 8 9 10", "hch 2 2.5 3 4 5 6 7 8 9 10",
                       "hcd 0 0 0.5 0.5 0.5 0.5 1 1 1 1",
                       "hcc      1      1      2      2      3      3      4      4      5      5",
                       "lg0", "ly0", "lc2", "lt1", lw ? "lw0" : "lt1", "cn2",
                       "cn\"$" + test::Sjis("<ＭＳ ゴシック>"), "#"});
}

// The selection written back after the same host header, as lines.
std::vector<std::string> WrittenBack(ExchangeState& state) {
    VectorSink sink;
    Writer writer(state, sink);
    writer.ResetWriterState();
    WriteBackSelection(state.elements, writer);
    return sink.lines;
}

// A deterministic stream of numbers for generated selections.
class Numbers {
public:
    explicit Numbers(std::uint32_t seed) : random_(seed) {}
    std::uint32_t Next(std::uint32_t n) {
        return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(random_);
    }
    // A coordinate as the host might print it: integers, decimals, tiny and huge.
    std::string Real() {
        switch (Next(5)) {
            case 0:
                return std::to_string(static_cast<int>(Next(20001)) - 10000);
            case 1:
                return FormatReal((static_cast<double>(Next(2000001)) - 1e6) / 7.0);
            case 2:
                return FormatReal(static_cast<double>(Next(1000) + 1) * 1e-7);
            case 3:
                return FormatReal(static_cast<double>(Next(1000)) * 1.25e17);
            default:
                return "7306.10278372591";
        }
    }

private:
    std::mt19937 random_;
};

std::string Reals(Numbers& r, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += " " + r.Real();
    return s;
}

// One attribute line or one element line of any kind the writer can recreate.
std::string RandomLine(Numbers& r, bool lw) {
    static const char* kHex = "0123456789ABCDEF";
    static const char* kTextKeywords[] = {"ch", "cv", "cs", "cr", "co",
                                          "cp", "ct", "ck", "cz", "c2"};
    const std::string texts[] = {"A", test::Sjis("境界 線"), "  lead and \"quoted\"", "",
                                 test::Sjis("ﾊﾝｶｸ") + "=1"};
    const std::string fonts[] = {"<" + test::Sjis("ＭＳ ゴシック") + ">",
                                 "<" + test::Sjis("ＭＳ 明朝") + ">", "<Arial>"};
    switch (r.Next(22)) {
        case 0:
            return std::string("lg") + kHex[r.Next(16)];
        case 1:
            return std::string("ly") + kHex[r.Next(16)];
        case 2:
            return "lc" + std::to_string(r.Next(9) + 1);
        case 3:
            return "lc10 " + std::to_string(r.Next(0x1000000));
        case 4:
            return "lt" + std::to_string(r.Next(9) + 1);
        case 5:
            return lw ? "lw" + std::to_string(r.Next(30)) : "lt2";
        case 6:
            return "cn" + std::to_string(r.Next(10) + 1);
        case 7:
            return "cn0" + Reals(r, 3) + " " + std::to_string(r.Next(9) + 1);
        case 8:
            return "cn\"$" + fonts[r.Next(3)];
        case 9:
            return "cc" + std::to_string(r.Next(9));
        case 10:
            return "pn" + std::to_string(r.Next(5) + 1);
        case 11:
            return Reals(r, 4);
        case 12:
            return "ci" + Reals(r, 3);
        case 13:
            return "ci" + Reals(r, 7);
        case 14:
            return std::string(kTextKeywords[r.Next(10)]) + Reals(r, 4) + " \"" + texts[r.Next(5)];
        case 15:
            return "pt" + Reals(r, 2);
        case 16:
            return "pt" + Reals(r, 4) + " " + std::to_string(r.Next(100));
        case 17:
            return "sl 0 0 1 0" + Reals(r, r.Next(2) == 0 ? 2 : 4);  // corners stay apart
        case 18:
            return "sl" + Reals(r, 4);
        case 19: {
            static const char* kCodes[] = {"0", "5", "100", "-1"};
            return std::string(r.Next(2) == 0 ? "sc" : "se") + Reals(r, 7) + " " +
                   kCodes[r.Next(4)];
        }
        case 20:
            return std::string(r.Next(2) == 0 ? "so" : "sg") + Reals(r, 8);
        default:
            return " " + r.Real() + "  " + r.Real() + " " + r.Real() + "\t" + r.Real();
    }
}

// Read, write back, read the result after the same header: the very same
// elements with the same attributes, in the same order.
void ExpectRoundTrip(const std::string& selection, bool lw) {
    ExchangeState in = test::ReadExchange(HostHeader(lw) + selection);
    ASSERT_EQ(FirstRefusal(in.elements), WriteBackRefusal::None);
    const std::vector<std::string> lines = WrittenBack(in);
    const ExchangeState out = test::ReadExchange(HostHeader(lw) + test::CrLf(lines));
    EXPECT_EQ(test::DescribeElements(out.elements), test::DescribeElements(in.elements))
        << selection;
    for (const std::string& line : lines) EXPECT_LE(line.size(), kMaxOutputLine);
}

TEST(WriteBackTest, GeneratedSelectionsOfEveryKindComeBackUnchanged) {
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        Numbers r(seed);
        const bool lw = seed % 2 == 0;
        std::vector<std::string> lines;
        for (int i = 0; i < 80; ++i) lines.push_back(RandomLine(r, lw));
        ExpectRoundTrip(test::CrLf(lines), lw);
    }
}

TEST(WriteBackTest, HostStyleSelectionsComeBackUnchanged) {
    const std::vector<std::vector<std::string>> selections = {
        {" -5000 0 5000 0"},
        {"lc5", " 0 0 120 0", " 120 0 120 80", "lg3", "ly2", "lt4", "ci 60 40 12.5 0 90 1 0",
         "ci 60 40 5", "lc10 255", "sl 0 0 10 0 10 10 0 10", "sc 5 5 2 1 0 0 6.28318530717959 100"},
        {"cn3", "ch 10 20 1 0 \"" + test::Sjis("花壇"), "cn0 2.5 2.5 0 7", "cs 0 0 0 1 \"", "cc4",
         "cn\"$<Arial>", "c2 1 1 0.6 0.8 \"x", "lc3", "pn2", "pt 5 5", "pt 1 2 3 4 5"},
    };
    for (const auto& selection : selections) {
        ExpectRoundTrip(test::CrLf(selection), false);
        ExpectRoundTrip(test::CrLf(selection), true);
    }
}

TEST(WriteBackTest, AttributeLinesOnlyWhereTheyChange) {
    ExchangeState in = test::ReadExchange(
        HostHeader(true) + test::CrLf({"lc3", "0 0 1 0", "1 0 2 0", "lc10 255", "sl 0 0 1 0 1 1",
                                       "sl 0 0 2 0 2 2", "lc3", "2 0 3 0"}));
    EXPECT_EQ(WrittenBack(in),
              (std::vector<std::string>{"lg0", "ly0", "lc3", "lt1", "lw0", "0 0 1 0", "1 0 2 0",
                                        "lc10 255", "sl 0 0 1 0 1 1", "sl 0 0 2 0 2 2", "lc3",
                                        "2 0 3 0"}));
}

TEST(WriteBackTest, TextAndPointLinesTheHostNeverSendsAreNotInvented) {
    // No "cc" or "pn" in the input: none in the output either.
    ExchangeState in =
        test::ReadExchange(HostHeader(false) + test::CrLf({"ch 0 0 1 0 \"a", "pt 1 1"}));
    for (const std::string& line : WrittenBack(in)) {
        EXPECT_FALSE(line.starts_with("cc")) << line;
        EXPECT_FALSE(line.starts_with("pn")) << line;
    }
}

TEST(WriteBackTest, WhatCannotBeRecreatedRefusesTheWholeSelection) {
    const std::string longText(250, 'x');
    const struct {
        std::vector<std::string> lines;
        WriteBackRefusal refusal;
    } cases[] = {
        {{"0 0 1 0", "BL 0 0 name"}, WriteBackRefusal::Block},
        {{"msg", "0 0 10 0", "cs 5 0 1 0 \"10"}, WriteBackRefusal::Dimension},
        {{"pl", "0 0 1 0", "1 0 1 1", "#"}, WriteBackRefusal::Curve},
        {{"sc 0 0 1 1 0 0 1 7"}, WriteBackRefusal::UnknownSolidCode},
        {{"se 0 0 1 1 0 0 1 3"}, WriteBackRefusal::UnknownSolidCode},
        {{"ch 0 0 1 0 \"" + longText}, WriteBackRefusal::LineTooLong},
        {{"cn\"$<" + longText + ">", "ch 0 0 1 0 \"a"}, WriteBackRefusal::LineTooLong},
        // The reader drops a NUL, except as the second byte of a double-byte character.
        {{std::string("ch 0 0 1 0 \"\x89\0b", 15)}, WriteBackRefusal::NulInText},
        {{std::string("cn\"$<\x89\0>", 8), "ch 0 0 1 0 \"a"}, WriteBackRefusal::NulInText},
        {{"0 0 1 0", "ci 0 0 1", "ch 0 0 1 0 \"" + std::string(200, 'x')}, WriteBackRefusal::None},
        {{"pl", "#", "0 0 1 0"}, WriteBackRefusal::None},
    };
    for (const auto& c : cases) {
        const ExchangeState in = test::ReadExchange(HostHeader(false) + test::CrLf(c.lines));
        EXPECT_EQ(FirstRefusal(in.elements), c.refusal) << c.lines.back();
    }
}

}  // namespace
}  // namespace tesra
