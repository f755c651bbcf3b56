// The writer's number format at its switch-over points and against the reference.
#include "exchange/number_format.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "exchange/number_format_cases.h"
#include "exchange/number_format_reference.h"

namespace tesra {
namespace {

TEST(FormatReal, SwitchOverPoints) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        // clang-format off
        {0.0, "0"},
        {-0.0, "0"},
        {1.5, "1.5"},
        {100, "100"},
        {-2, "-2"},
        {0.001, "0.001"},
        {0.0001, "0.0001"},            // e = -3: last fixed
        {0.00001, "1E-5"},             // e = -4: first exponent form
        {0.000012345, "1.2345E-5"},
        {-0.00001, "-1E-5"},
        {999999999999999, "999999999999999"},  // e = 15
        {1e15, "1E15"},                // e = 16
        {2.5e20, "2.5E20"},
        {1.25e-300, "1.25E-300"},
        {0.1 + 0.2, "0.3"},            // 15 digits hide the binary residue
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {123456789012345678.0, "1.23456789012346E17"},
        {1234567.25, "1234567.25"},
        {1e-300 * 1e-300, "0"},        // underflows to zero
        {9.9999999999999999, "10"},
        {1.7976931348623157e308, "1.79769313486232E308"},
        {4.9406564584124654e-324, "4.94065645841247E-324"},
        // clang-format on
    };
    for (const Case& c : cases) EXPECT_EQ(FormatReal(c.value), c.text) << c.value;
}

std::string Written(char* (*write)(char*, double), double x) {
    char buf[kMaxNumberText];
    return {buf, write(buf, x)};
}

// The fast path must give exactly what the former formatter gave. The
// benchmark build runs the same check over 10^8 random values.
TEST(FormatReal, AgreesWithTheFormerFormatter) {
    std::vector<double> values = test::PowersOfTen();
    const std::vector<double> ties = test::Ties(1, 4);
    values.insert(values.end(), ties.begin(), ties.end());
    std::mt19937_64 rng(2);
    for (int i = 0; i < 50'000; ++i) values.push_back(test::RandomDouble(rng));
    int mismatches = 0;
    for (double x : values) {
        const std::string expected = reference::FormatReal(x);
        if (Written(WriteReal, x) != expected || Written(WriteRealByToChars, x) != expected)
            ADD_FAILURE() << x << " " << Written(WriteReal, x) << " expected " << expected;
        if (HasFailure() && ++mismatches > 10) break;
    }
}

// The cache gives WriteReal's text for every value, met again or not, whatever
// else took its slot meanwhile: values drawn with repeats from a pool of 1000
// for 256 slots, the longest texts, both zeros and neighbouring bit patterns.
TEST(FormatReal, CachedTextIsTheFormattedText) {
    std::vector<double> pool = {0.0, -0.0, -1.23456789012345e-300, -0.000123456789012345};
    std::mt19937_64 rng(3);
    while (pool.size() < 1000) test::WithNeighbours(pool, test::RandomDouble(rng));
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
    RealTextCache cache;
    for (int i = 0; i < 200'000; ++i) {
        const double x = pool[pick(rng)];
        char buf[kMaxNumberText];
        const std::string cached(buf, cache.Write(buf, x));
        if (cached != Written(WriteReal, x)) {
            ADD_FAILURE() << x << " " << cached << " expected " << Written(WriteReal, x);
            break;
        }
    }
}

TEST(FormatReal, TiesRoundToTheEvenDigit) {
    const std::pair<double, const char*> cases[] = {
        // clang-format off
        {1000000000000005.0, "1E15"},
        {1000000000000015.0, "1.00000000000002E15"},
        {32769 * 0x1p-16, "0.500015258789062"},  // 0.500015258789062|5
        {32771 * 0x1p-16, "0.500045776367188"},  // 0.500045776367187|5
        {123456789012345.5, "123456789012346"},
        {123456789012344.5, "123456789012344"},
        // clang-format on
    };
    for (const auto& [x, text] : cases) EXPECT_EQ(FormatReal(x), text) << x;
}

TEST(FormatIntegers, DecimalAndUpperCaseHex) {
    std::string out;
    AppendInt(out, -2147483647 - 1);
    out += ' ';
    AppendHex(out, 10);
    out += ' ';
    AppendHex(out, 15);
    out += ' ';
    AppendHex(out, 0);
    EXPECT_EQ(out, "-2147483648 A F 0");
}

}  // namespace
}  // namespace tesra
