// Parsing, rounding and geometry helpers.
#include "geom/helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace tesra {
namespace {

TEST(ParseInt, SpellingsTable) {
    struct Case {
        const char* text;
        std::int32_t expected;
    } cases[] = {
        // clang-format off
        {"7", 7},           {" 7", 7},           {"  -12", -12},       {"+5", 5},
        {"$F", 15},         {"$ff", 255},        {"x1A", 26},          {"0x10", 16},
        {"0X10", 16},       {"-$10", -16},       {"$FFFFFFFF", -1},    {"12a", 0},
        {"7 ", 0},          {"", 0},             {" ", 0},             {"abc", 0},
        {"$", 0},           {"0x", 0},           {"1.5", 0},           {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},        {"2147483648", 0},    {"99999999999", 0},
        {"$100000000", 0},  {"--1", 0},          {"+-1", 0},           {"1e3", 0},
        // clang-format on
    };
    for (const Case& c : cases) EXPECT_EQ(ParseInt(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ParseFloat, AcceptsOnlyPlainDecimalReals) {
    struct Case {
        const char* text;
        double expected;
    } cases[] = {
        // clang-format off
        {"1.5", 1.5},   {" 1.5", 1.5},  {"-2", -2},    {"+2.5", 2.5},   {".5", 0.5},
        {"5.", 5},      {"1e3", 1000},  {"1E-2", 0.01}, {"2.5e+2", 250}, {"word", 0},
        {"", 0},        {"1.5 ", 0},    {"inf", 0},    {"nan", 0},      {"-inf", 0},
        {"0x1p3", 0},   {"1e999", 0},   {"-1e999", 0}, {"1e", 0},       {".", 0},
        {"1..2", 0},    {"1,5", 0},     {"$", 0},      {"+-1", 0},      {"1e-400", 0},
        // clang-format on
    };
    for (const Case& c : cases) EXPECT_EQ(ParseFloat(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ParseBool, TrueWordsAfterCleaningAndUpperCase) {
    // clang-format off
    const std::string trueWords[] = {"T", "tr", "tru", "true", "TRUE", " ON ", "on", "1",
                                     "\x82\x50" /* １ */, "\x81\x9B" /* ○ */,
                                     "\x90\x5E" /* 真 */, "\x90\xB3" /* 正 */,
                                     "\x81\x40true\t" /* 　true and a tab */};
    for (const std::string& w : trueWords) EXPECT_TRUE(ParseBool(w)) << w;
    const std::string falseWords[] = {"0", "", "no", "off", "yes", "TRUE1", "\x82\x51" /* ２ */};
    for (const std::string& w : falseWords) EXPECT_FALSE(ParseBool(w)) << w;
    EXPECT_EQ(BoolText(true), "1");
    EXPECT_EQ(BoolText(false), "0");
    // clang-format on
}

TEST(CleanText, DropsSpacesAndControlsKeepsDoubleByteCharacters) {
    // clang-format off
    // "　a b\tc" + 表 (whose trail byte is a backslash) + a control byte.
    EXPECT_EQ(CleanText("\x81\x40" "a b\tc\x95\x5C\x01"), "abc\x95\x5C");
    EXPECT_EQ(CleanText("  "), "");
    // clang-format on
}

TEST(RoundTiny, RoundsHalfAwayFromZeroToTenthsOfNanometres) {
    EXPECT_DOUBLE_EQ(RoundTiny(-2.00000000004), -2.0);
    EXPECT_DOUBLE_EQ(RoundTiny(2.00000000006), 2.0000000001);
    EXPECT_EQ(RoundTiny(0.0), 0.0);
}

TEST(VectorAngle, QuadrantsAndTinyVectors) {
    EXPECT_DOUBLE_EQ(VectorAngle(0, -1), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(VectorAngle(-1, 0), kPi);
    EXPECT_EQ(VectorAngle(1e-11, -1e-11), 0.0);
    EXPECT_EQ(VectorAngle(0, 0), 0.0);
}

TEST(SamePoint, ToleranceIsInclusive) {
    EXPECT_TRUE(SameValue(1.0, 1.0 + 0.5e-8));
    EXPECT_FALSE(SameValue(1.0, 1.0 + 2e-8));
    EXPECT_TRUE(SamePoint(0, 0, 0.5e-8, -0.5e-8));
    EXPECT_FALSE(SamePoint(0, 0, 0, 2e-8));
}

TEST(EllipsePointDeg, TiltTurnsTheFirstAxis) {
    const Point p = EllipsePointDeg(0, 0, 1, 1, 90, 0);
    EXPECT_NEAR(p.x, 0, 1e-15);
    EXPECT_NEAR(p.y, 1, 1e-15);
    const Point q = EllipsePointDeg(10, 20, 4, 0.5, 0, 90);
    EXPECT_NEAR(q.x, 10, 1e-15);
    EXPECT_NEAR(q.y, 22, 1e-15);
}

// What EllipsePointDeg computed before a figure's tilt and its fixed corner
// angles were evaluated once: sine and cosine anew for every point.
Point PerPointEllipsePointDeg(double cx, double cy, double r, double flatness, double tiltDeg,
                              double tDeg) {
    const double tilt = tiltDeg / 180 * kPi, t = tDeg / 180 * kPi;
    const double x = r * Cos(t), y = flatness * r * Sin(t), c = Cos(tilt), s = Sin(tilt);
    return {0.0 + c * (x - 0.0) - s * (y - 0.0) + cx, 0.0 + s * (x - 0.0) + c * (y - 0.0) + cy};
}

using PointBits = std::array<std::uint64_t, 2>;
PointBits Bits(Point p) { return std::bit_cast<PointBits>(p); }

constexpr std::array<double, 8> kCornerAnglesDeg{0, 90, 126, 180, 378, 390, 414, -45};

// Signed zeros included: cx = -0.0 keeps a -0.0 corner, and a whole quarter
// turn of tilt gives exact zeros that a regrouped expression would sign
// differently.
TEST(EllipsePoint, TurnEvaluatedOnceGivesThePerPointBits) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> coordinate(-1e4, 1e4), unit(0, 1);
    std::uniform_int_distribution<int> quarterTurns(-8, 8);
    const auto& cached = CachedSinCosDeg<kCornerAnglesDeg>();
    for (int n = 0; n < 2000; ++n) {
        const double cx = n % 7 == 0 ? -0.0 : coordinate(random);
        const double cy = n % 5 == 0 ? 0.0 : coordinate(random);
        const double r = n % 11 == 0 ? 0.0 : 100 * unit(random);
        const double flatness = 3 * unit(random);
        const double tiltDeg = n % 3 == 0 ? 90.0 * quarterTurns(random) : 720 * unit(random) - 360;
        for (std::size_t i = 0; i < kCornerAnglesDeg.size(); ++i) {
            const double tDeg = kCornerAnglesDeg[i];
            const auto expected = Bits(PerPointEllipsePointDeg(cx, cy, r, flatness, tiltDeg, tDeg));
            SCOPED_TRACE(testing::Message() << cx << ' ' << cy << ' ' << r << ' ' << flatness << ' '
                                            << tiltDeg << ' ' << tDeg);
            EXPECT_EQ(Bits(EllipsePointDeg(cx, cy, r, flatness, tiltDeg, tDeg)), expected);
            EXPECT_EQ(Bits(EllipsePoint(cx, cy, r, flatness, SinCosDeg(tiltDeg), cached[i])),
                      expected);
        }
    }
}

TEST(PointLineDistance, MeasuresAcrossTheLine) {
    EXPECT_NEAR(PointLineDistance(0, 0, 10, 0, 3, -4), 4, 1e-12);
    EXPECT_NEAR(PointLineDistance(0, 0, 1, 1, 0, 2), std::sqrt(2.0), 1e-12);
}

TEST(CircleThrough3Points, ArcRunsFromStartThroughB) {
    CircleArc arc;
    ASSERT_TRUE(CircleThrough3Points(arc, 1, 0, 0, 1, -1, 0));
    EXPECT_NEAR(arc.cx, 0, 1e-12);
    EXPECT_NEAR(arc.cy, 0, 1e-12);
    EXPECT_NEAR(arc.r, 1, 1e-12);
    EXPECT_NEAR(arc.start, 0, 1e-12);
    EXPECT_NEAR(arc.end, kPi, 1e-12);
    EXPECT_TRUE(arc.dir);

    ASSERT_TRUE(CircleThrough3Points(arc, 1, 0, 0, -1, -1, 0));
    EXPECT_NEAR(arc.start, kPi, 1e-12);
    EXPECT_NEAR(arc.end, 0, 1e-12);
    EXPECT_FALSE(arc.dir);

    ASSERT_TRUE(CircleThrough3PointsDeg(arc, 1, 0, 0, 1, -1, 0));
    EXPECT_EQ(arc.end, 180.0);
}

TEST(CircleThrough3Points, FailsWithEveryOutputZero) {
    CircleArc arc{1, 2, 3, 4, 5, true};
    EXPECT_FALSE(CircleThrough3Points(arc, 0, 0, 1, 1, 2, 2));
    EXPECT_EQ(arc.r, 0);
    EXPECT_EQ(arc.cx, 0);
    EXPECT_FALSE(arc.dir);
    EXPECT_FALSE(CircleThrough3PointsDeg(arc, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(arc.r, 0);
}

TEST(SegmentIntersection, Table) {
    struct Case {
        double x1, y1, x2, y2, x3, y3, x4, y4;
        int result;
        double x, y;
    } cases[] = {
        // clang-format off
        {0, 0, 2, 2, 0, 2, 2, 0, 1, 1, 1},
        {0, 0, 1, 1, 3, 0, 4, -1, 2, 1.5, 1.5},
        {0, 0, 10, 0, 0, 5, 10, 5, 0, 0, 0},         // two horizontal lines
        {0, 0, 0, 10, 5, 0, 5, 10, 0, 0, 0},         // two vertical lines
        {90, -5, 90, 15, 0, 10, 100, 10, 1, 90, 10}, // first vertical
        {0, 10, 100, 10, 90, 0, 90, 100, 1, 90, 10}, // second vertical
        {0, 0, 1, 1e-9, 0, 5, 1, 5, 0, 0, 0},        // slopes differ below the zero test
        // clang-format on
    };
    for (const Case& c : cases) {
        Point p{-7, -7};
        EXPECT_EQ(SegmentIntersection(p, c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4), c.result);
        if (c.result == 0) {
            EXPECT_EQ(p.x, -7);  // untouched
        } else {
            EXPECT_NEAR(p.x, c.x, 1e-12);
            EXPECT_NEAR(p.y, c.y, 1e-12);
        }
    }
}

TEST(SegmentIntersection, ZeroTestIsAsymmetric) {
    // v / 1e-8 + 0.5 truncated: -1.4e-8 counts as zero, +0.6e-8 does not.
    Point p;
    EXPECT_EQ(SegmentIntersection(p, 0, 0, 1.4e-8, 10, 5, 0, 5 + 1e-9, 10), 0);
    EXPECT_NE(SegmentIntersection(p, 0, 0, -0.6e-8, 10, 5, 0, 5 + 1e-9, 10), 0);
}

}  // namespace
}  // namespace tesra
