// The real executable against exchange files and stores that no host would
// write: garbage bytes, endless lines, numbers at and beyond the limits of a
// double, degenerate chains and absurd pattern sizes. Every run must end
// (tesra_process.h kills a hang) with status 0 and leave a valid command file
// (the grammar of tests/command_grammar.h, every number finite), no temporary
// file and the store untouched.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "exchange/atomic_file.h"
#include "tests/command_grammar.h"
#include "tesra_process.h"
#include "test_support.h"

namespace tesra {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct RunResult {
    int status = -1;
    std::string output;
};

// Runs a copy of the executable in dir on the files already there.
RunResult RunIn(const fs::path& dir, const std::string& arg) {
    const test::TesraResult run = test::RunTesraIn(dir, {arg});
    RunResult r;
    r.status = run.status;
    if (fs::exists(dir / "JWC_TEMP.TXT")) r.output = ReadBytes(dir / "JWC_TEMP.TXT");
    return r;
}

// The store with row 1 in use; the other rows are left out (they read as 0).
std::string StoreRow(const std::vector<std::string>& row, const char* solid = "0") {
    std::vector<std::string> lines = {"0", "0", solid, "255", "1"};
    lines.insert(lines.end(), row.begin(), row.end());
    return test::CrLf(lines);
}

std::string Repeat(std::string_view unit, std::size_t times) {
    std::string s;
    s.reserve(unit.size() * times);
    for (std::size_t i = 0; i < times; ++i) s += unit;
    return s;
}

// The same bytes on every run: a linear congruential generator.
std::string Garbage(std::size_t size) {
    std::string s(size, '\0');
    std::uint32_t x = 12345;
    for (char& c : s) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    return s;
}

std::string NinetyNinePoints(const char* even, const char* odd) {
    std::string s;
    for (int i = 1; i <= 99; ++i)
        s += "hp" + std::to_string(i) + " " + (i % 2 == 0 ? even : odd) + "\r\n";
    return s;
}

const std::string kTwoPoints = "hp1 0 0\r\nhp2 100 0\r\n";
// A 10 x 10 W 2 H 2 pattern with every guide line, star figures, filled.
const std::string kBusyStore = StoreRow({"95", "2", "2", "0", "1", "1", "1", "2", "1"}, "1");

// The oracle itself: it must accept every real output and refuse what the
// writer must never produce, or the checks below would prove nothing.
TEST(OutputGrammar, EveryGoldenOutputIsValid) {
    const fs::path golden = fs::path(TESRA_SOURCE_DIR) / "tests/app/golden";
    int files = 0;
    for (const auto& entry : fs::directory_iterator(golden)) {
        const fs::path expected = entry.path() / "expected.TXT";
        if (!fs::exists(expected)) continue;
        ++files;
        // A run along a selection also writes the selected elements back.
        const bool along = ReadBytes(entry.path() / "args").starts_with("3");
        EXPECT_EQ(grammar::CommandFileProblem(ReadBytes(expected),
                                              along ? grammar::Vocabulary::WithWriteBack
                                                    : grammar::Vocabulary::Drawing),
                  "")
            << expected;
    }
    EXPECT_GE(files, 5);
}

TEST(OutputGrammar, LinesTheWriterMayAndMayNotWrite) {
    const std::pair<const char*, bool> lines[] = {
        {"bz", true},
        {"lgA", true},
        {"lyFFFFFFFF", true},
        {"lga", false},           // hex digits are upper case
        {"lg", false},
        {"lc-3", true},
        {"lc10 16777215", true},
        {"lc10 16777216", false},
        {"lc10 -1", false},
        {"lw30000", true},
        {"lw30001", false},
        {"lt1 ", false},
        {"0 0 10 0", true},
        {"-0.001 1.5E20 1E-5 -2", true},
        {"0 0 10", false},
        {"0 0 10 0 ", false},     // trailing space
        {"0  0 10 0", false},     // empty field
        {"nan 0 1 1", false},
        {"inf 0 1 1", false},
        {"1E400 0 1 1", false},   // not finite as a double
        {"1e5 0 1 1", false},     // the writer's exponent is upper case
        {".5 0 1 1", false},
        {"5. 0 1 1", false},
        {"0x1 0 1 1", false},
        {"ci 0 0 5 0 360 1 0", true},
        {"ci 0 0 5", false},
        {"sl 0 0 1 0 1 1", true},
        {"sl 0 0 1 0 1 1 0 1", true},
        {"sl 0 0 1 0", false},
        {"sc 0 0 5 1 0 0 6.28318530717959 100", true},
        {"sc 0 0 5 1 0 0 3.14 7", false},
        {"sc 0 0 5 1 0 0 3.14 5.0", false},
        {"so 0 0 5 1 0 0 6.28 3", true},
        {"so 0 0 5 1 0 0 6.28", false},
        {"he\x82\xA0", true},
        {"", false},
        {"hq", false},
        {"0 0 1\r 1", false},
    };
    for (const auto& [line, valid] : lines) EXPECT_EQ(grammar::IsCommandLine(line), valid) << line;
    EXPECT_FALSE(grammar::IsCommandLine(std::string(252, '1') + " 0 0 0"));  // over 255 bytes
}

TEST(OutputGrammar, WholeFiles) {
    EXPECT_EQ(grammar::CommandFileProblem(""), "");
    EXPECT_EQ(grammar::CommandFileProblem("lg0\r\nly0\r\n"), "");
    EXPECT_EQ(grammar::CommandFileProblem("hemessage\r\n"), "");
    EXPECT_NE(grammar::CommandFileProblem("lg0\r\nly0"), "");       // no final CR LF
    EXPECT_NE(grammar::CommandFileProblem("lg0\nly0\r\n"), "");     // LF alone
    EXPECT_NE(grammar::CommandFileProblem("lg0\r\nhemessage\r\n"), "");
    EXPECT_NE(grammar::CommandFileProblem("hemessage\r\nlg0\r\n"), "");
}

// Inputs are made only by the test that runs them: some are tens of megabytes,
// and every process of the suite instantiates every case.
using Bytes = std::function<std::string()>;

Bytes Same(std::string bytes) {
    return [bytes = std::move(bytes)] { return bytes; };
}

struct HostileCase {
    std::string name;
    Bytes exchange;
    Bytes store;
    const char* mode;
    // Where the points survive the hostile bytes, figures must be drawn.
    std::size_t minLines = 0;
};

// Test names in listings, rather than the bytes of the parameter.
void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }

void CheckRun(const HostileCase& c) {
    ScratchDir scratch;
    const fs::path dir = scratch / "addin";
    fs::create_directory(dir);
    WriteBytes(dir / "JWC_TEMP.TXT", c.exchange());
    const std::string store = c.store();
    WriteBytes(dir / "tesra.dat", store);

    const RunResult r = RunIn(dir, c.mode);
    EXPECT_EQ(r.status, 0) << c.name;
    EXPECT_EQ(grammar::CommandFileProblem(r.output), "") << c.name;
    EXPECT_GE(static_cast<std::size_t>(std::count(r.output.begin(), r.output.end(), '\n')),
              c.minLines) << c.name;
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(dir / "JWC_TEMP.TXT"))) << c.name;
    EXPECT_EQ(ReadBytes(dir / "tesra.dat"), store) << c.name;
}

class HostileExchange : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileExchange, EndsWithValidOutput) { CheckRun(GetParam()); }

std::vector<HostileCase> ExchangeCases() {
    const Bytes busy = Same(kBusyStore);
    std::vector<HostileCase> cases = {
        {"BinaryGarbage", [] { return kTwoPoints + Garbage(4 << 20); }, busy, "2", 40},
        {"NulBytes",
         [] { return "hp1\0 0 0\r\nhp2 1\00 0\r\n\0\0\0\r\nlc\0003\r\n"s; },
         busy, "1"},
        {"FiftyMegabyteLineOfTokens",
         [] { return "hp1 0 0\r\n" + Repeat("1 ", 25'000'000) + "\r\nhp2 100 0\r\n"; }, busy, "1",
         40},
        {"FiftyMegabyteLineOfDoubleByteCharacters",
         [] { return kTwoPoints + "file=" + Repeat("\x82\xA0", 25'000'000) + "\r\n"; },
         busy, "1", 40},
        {"FiftyMegabytesWithoutLineEnd", [] { return kTwoPoints + Garbage(50 << 20); },
         busy, "2"},
        {"MillionElementLines", [] { return kTwoPoints + Repeat("1 2 3 4\r\n", 1'000'000); },
         busy, "1", 40},
        {"MillionPointLines", [] { return Repeat("hp1 0 0\nhp2 5 5\n", 500'000); }, busy, "2"},
        {"LoneLeadByteAtLineEnds",
         [] { return std::string("hp1 0 0\x81\r\nhp2 100 0 \x9F\r\nlc\xE0\r\nbz\xFD"); },
         busy, "1", 40},
        {"InvalidTrailBytes",
         [] {
             return "hp1 0 0\r\nhp2\x81\r 100 0\r\nhp3 \x81\n5 5\r\nlc\x82\x00\r\n"s +
                    "lg\x81\x7F\r\nly\xFC\xFF\r\nlw\xE0\t\r\n";
         },
         busy, "2"},
        {"NinetyNineEqualPoints", [] { return NinetyNinePoints("5 5", "5 5"); }, busy, "2"},
        {"NinetyNineAlternatingPoints", [] { return NinetyNinePoints("0 0", "100 0"); },
         busy, "2", 98 * 40},
        {"AlternatingAcrossADiagonal", [] { return NinetyNinePoints("0 0", "30 40"); },
         Same(StoreRow({"40", "3", "7", "1", "2", "0", "2", "2", "2"})), "2"},
    };
    // Stores no dialog wrote: the run falls back on what it can read.
    cases.push_back({"StoreOfGarbage", Same(kTwoPoints), [] { return Garbage(1 << 20); }, "1"});
    cases.push_back({"StoreOfNulBytes", Same(kTwoPoints), Same(std::string(1000, '\0')), "1"});
    cases.push_back({"StoreWithAFiftyMegabyteLine", Same(kTwoPoints),
                     [] { return "0\r\n0\r\n1\r\n" + Repeat("9", 50'000'000) + "\r\n1\r\n95\r\n"; },
                     "2"});
    cases.push_back({"StoreOfLoneLeadBytes", Same(kTwoPoints),
                     Same(Repeat("\x81\r\n", 200) + "\x81"), "1"});
    // Numbers a double cannot hold, and text that is no number at all.
    const char* numbers[] = {"1e999", "-1e999", "nan", "inf", "1e-400", "$", "0x", "99999999999",
                             "1e308", "-1.7976931348623157e308", "4.9e-324"};
    int i = 0;
    for (const char* n : numbers) {
        const std::string text = n;
        const std::string name = "Number" + std::to_string(i++);
        for (const char* mode : {"1", "2"})
            cases.push_back({name + "Mode" + mode,
                             [text] {
                                 return "hp1 " + text + " 0\r\nhp2 100 " + text + "\r\nhp3 " + text +
                                        " " + text + "\r\nhp4 0 0\r\nlc" + text + "\r\nlw" + text +
                                        "\r\nlg" + text + "\r\n";
                             },
                             busy, mode});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Inputs, HostileExchange, ::testing::ValuesIn(ExchangeCases()),
                         [](const auto& info) { return info.param.name; });

// Pattern values a hand-edited store can bring, on an open chain, a closed
// square, two equal points and a chain that doubles back on itself.
class HostileStore : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileStore, EndsWithValidOutput) { CheckRun(GetParam()); }

std::vector<HostileCase> StoreCases() {
    const std::vector<std::pair<const char*, std::vector<std::string>>> rows = {
        {"HugeWidthAndInterval", {"30", "1e300", "1e300", "0", "1e300", "1", "1", "2", "1"}},
        {"TinyWidthAndInterval", {"30", "1e-300", "1e-300", "0", "1e-300", "1", "1", "2", "1"}},
        {"TinyWidthHugeInterval", {"95", "1e-300", "5", "1", "1e300", "0", "2", "1", "2"}},
        {"NegativeSizes", {"48", "-10", "-10", "0", "-3", "2", "1", "1", "2"}},
        {"NegativeWidthCancelsInterval", {"48", "-4", "3", "1", "4", "1", "2", "2", "2"}},
        {"ZeroSizes", {"62", "0", "0", "1", "0", "1", "2", "2", "2"}},
        {"KindMinusFive", {"-5", "3", "3", "1", "1", "7", "2", "1", "2"}},
        {"Kind107", {"107", "3", "3", "0", "1", "-1", "1", "2", "9"}},
        {"LastKindOverflowingHeight", {"106", "2", "1.7e308", "1", "0.5", "0", "2", "2", "2"}},
        {"UnparsableEverything", {"x", "nan", "inf", "$", "0x", "1e999", "-", "+", "."}},
    };
    const std::vector<std::pair<const char*, std::string>> chains = {
        {"Chain", "hp1 0 0\r\nhp2 40 0\r\nhp3 40 30\r\nhp4 -10 30\r\n"},
        {"ClosedSquare", "hp1 0 0\r\nhp2 20 0\r\nhp3 20 20\r\nhp4 0 20\r\nhp5 0 0\r\n"},
        {"EqualPoints", "hp1 7 7\r\nhp2 7 7\r\n"},
        {"DoublingBack", "hp1 0 0\r\nhp2 30 0\r\nhp3 0 0\r\nhp4 30 0\r\n"},
    };
    std::vector<HostileCase> cases;
    for (const auto& [rowName, row] : rows)
        for (const auto& [chainName, chain] : chains)
            for (const char* mode : {"1", "2"}) {
                const std::string name = std::string(rowName) + chainName + "Mode" + mode;
                cases.push_back({name, Same(chain), Same(StoreRow(row, "1")), mode});
            }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Patterns, HostileStore, ::testing::ValuesIn(StoreCases()),
                         [](const auto& info) { return info.param.name; });

// The bound on work: more than 1,000,000 figures over all spans is refused
// with a single message line; at the bound the run draws them all.
struct LimitCase {
    const char* name;
    std::string store;
    std::string points;
    const char* mode;
    bool refused;
};

// Kind 0 "￣(上線)", W 1, interval mode without gap: one line per figure.
const std::string kOneLinePerFigure = StoreRow({"0", "1", "1", "0", "0", "1", "0", "0", "0"});
const std::string kWidth1e300th = StoreRow({"0", "1e-300", "1", "0", "0", "1", "2", "0", "0"});

// Test names in listings, rather than the bytes of the parameter.
void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class FigureLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(FigureLimit, RefusedJustAboveDrawnAtTheLimit) {
    const LimitCase& c = GetParam();
    ScratchDir scratch;
    const fs::path dir = scratch / "addin";
    fs::create_directory(dir);
    WriteBytes(dir / "JWC_TEMP.TXT", c.points);
    WriteBytes(dir / "tesra.dat", c.store);

    const RunResult r = RunIn(dir, c.mode);
    EXPECT_EQ(r.status, 0);
    if (c.refused) {
        EXPECT_TRUE(r.output.starts_with("he")) << r.output.substr(0, 100);
        EXPECT_EQ(r.output.find("\r\n"), r.output.size() - 2);
    } else {
        EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 4 + 1'000'000);
    }
    EXPECT_EQ(grammar::CommandFileProblem(r.output), "");
}

INSTANTIATE_TEST_SUITE_P(
    Counts, FigureLimit,
    ::testing::Values(
        LimitCase{"TwoPointsAtTheLimit", kOneLinePerFigure, "hp1 0 0\r\nhp2 1000000 0\r\n", "1", false},
        LimitCase{"TwoPointsOneAbove", kOneLinePerFigure, "hp1 0 0\r\nhp2 1000001 0\r\n", "1", true},
        LimitCase{"ChainAtTheLimit", kOneLinePerFigure,
                  "hp1 0 0\r\nhp2 500000 0\r\nhp3 500000 500000\r\n", "2",
                  false},
        LimitCase{"ChainOneAbove", kOneLinePerFigure,
                  "hp1 0 0\r\nhp2 500000 0\r\nhp3 500000 500001\r\n", "2", true},
        // Regression: a count beyond 32 bits was taken as no figures at all,
        // so the run drew an empty span (or only the others) instead of refusing.
        LimitCase{"WidthOf1e300thIsRefused", kWidth1e300th, "hp1 0 0\r\nhp2 10 0\r\n", "1", true},
        LimitCase{"CountBeyondThirtyTwoBitsInOneSpan", kOneLinePerFigure,
                  "hp1 0 0\r\nhp2 1e6 0\r\nhp3 1e300 0\r\n", "2", true}),
    [](const auto& info) { return info.param.name; });

// Regression: an exchange file whose elements do not fit in memory ended the
// run with std::bad_alloc, leaving the input for the host to read back.
TEST(HostileSize, InputTooLargeForMemoryFailsTheRunAndRemovesTheFile) {
    if (const char* why = test::WhyNoAddressLimit()) GTEST_SKIP() << why;
    ScratchDir scratch;
    const fs::path dir = scratch / "addin";
    fs::create_directory(dir);
    // 90 MB of element lines: over a gigabyte once stored.
    WriteBytes(dir / "JWC_TEMP.TXT", kTwoPoints + Repeat("1 2 3 4\r\n", 10'000'000));
    WriteBytes(dir / "tesra.dat", kBusyStore);
    EXPECT_EQ(test::RunTesraIn(dir, {"1"}, test::UnderAddressLimit()).status, 1);
    EXPECT_FALSE(fs::exists(dir / "JWC_TEMP.TXT"));
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(dir / "JWC_TEMP.TXT")));
}


// ---- Drawing along selected elements ("3") --------------------------------
// Whatever the selection, the run either replaces the file with a valid one
// that starts with every selected element, unchanged and in order, or leaves
// the host's file byte for byte as it was, so that nothing selected is lost.

namespace along {

enum class Expect { Drawn, Untouched, Either };

struct SelectionCase {
    std::string name;
    std::function<std::string()> selection;  // the lines after "#"
    Expect expect;
    std::string store = kOneLinePerFigure;
};

void PrintTo(const SelectionCase& c, std::ostream* os) { *os << c.name; }

const std::string kHostHeader = test::CrLf({"hq", "bz", "lg0", "ly0", "lc2", "lt1", "lw1", "cn2",
                                            "cn\"$<Arial>", "#"});

void ExpectSelectionKept(const std::string& input, const std::string& output) {
    const std::vector<std::string> before =
        test::DescribeElements(test::ReadExchange(input).elements);
    std::vector<std::string> after = test::DescribeElements(test::ReadExchange(output).elements);
    ASSERT_GE(after.size(), before.size());
    after.resize(before.size());
    EXPECT_EQ(after, before);
}

void CheckSelectionRun(const SelectionCase& c) {
    ScratchDir scratch;
    const fs::path dir = scratch / "addin";
    fs::create_directory(dir);
    const std::string input = kHostHeader + c.selection();
    WriteBytes(dir / "JWC_TEMP.TXT", input);
    WriteBytes(dir / "tesra.dat", c.store);

    const RunResult r = RunIn(dir, "3");
    if (c.expect != Expect::Either) {
        EXPECT_EQ(r.status == 0, c.expect == Expect::Drawn);
    }
    if (r.status == 0) {
        EXPECT_EQ(grammar::CommandFileProblem(r.output, grammar::Vocabulary::WithWriteBack), "");
        ExpectSelectionKept(input, r.output);
    } else {
        EXPECT_TRUE(r.output == input) << "the host's file was changed";
    }
    EXPECT_FALSE(fs::exists(AtomicFile::TempPathFor(dir / "JWC_TEMP.TXT")));
    EXPECT_EQ(ReadBytes(dir / "tesra.dat"), c.store);
}

std::string Lines(std::size_t count, const std::function<std::string(std::size_t)>& line) {
    std::string s;
    for (std::size_t i = 0; i < count; ++i) s += line(i) + "\r\n";
    return s;
}

std::vector<SelectionCase> SelectionCases() {
    const std::string aLine = "0 0 10 0\r\n";
    return {
        {"ZeroLengthLinesBesideARealOne", [=] { return "5 5 5 5\r\n0 0 0 0\r\n" + aLine; },
         Expect::Drawn},
        {"OnlyZeroLengthLines", [] { return "5 5 5 5\r\n0 0 0 0\r\n"s; }, Expect::Untouched},
        {"ZeroRadiusCircleAndArc",
         [=] { return "ci 0 0 0\r\nci 5 5 0 0 90 1 0\r\n" + aLine; }, Expect::Drawn},
        {"RadiusOf1e12IsTooManyFigures", [] { return "ci 0 0 1e12\r\n"s; }, Expect::Untouched},
        {"HundredThousandDisconnectedLines",
         [] {
             return Lines(100'000, [](std::size_t i) {
                 return std::to_string(i * 10) + " 0 " + std::to_string(i * 10 + 3) + " 1";
             });
         },
         Expect::Drawn},
        {"TextOnly", [] { return "ch 0 0 1 0 \"abc\r\nch 5 5 1 0 \"def\r\n"s; }, Expect::Untouched},
        {"BranchesAtOnePoint",
         [] { return "0 0 10 0\r\n0 0 0 10\r\n0 0 -10 0\r\n0 0 0 -10\r\n5 0 5 5\r\n"s; },
         Expect::Drawn},
        {"EllipticArcsOnly", [] { return "ci 0 0 10 0 360 0.5 0\r\nci 0 0 10 0 90 2 45\r\n"s; },
         Expect::Untouched},
        {"EllipseBesideALineIsWrittenBack",
         [=] { return "ci 0 0 10 0 360 0.5 0\r\n" + aLine; }, Expect::Drawn},
        {"BlockInTheSelection", [=] { return aLine + "BL 0 0 name\r\n"; }, Expect::Untouched},
        {"DimensionInTheSelection",
         [=] { return aLine + "msg\r\n0 -5 10 -5\r\ncs 5 -5 1 0 \"10\r\n"; }, Expect::Untouched},
        {"CurveInTheSelection", [=] { return "pl\r\n" + aLine + "10 0 10 10\r\n#\r\n"; },
         Expect::Untouched},
        {"EveryKindBesideALine",
         [=] {
             return aLine + "ci 20 0 5\r\nci 40 0 5 0 90 1 0\r\nch 0 0 1 0 \"  x \"y\r\npt 1 1\r\n"
                            "pt 1 1 2 3 4\r\nlc10 255\r\nsl 0 0 1 0 1 1\r\nsc 0 0 1 1 0 0 1 5\r\n"
                            "so 0 0 2 1 0 0 1 1\r\nsg 0 0 2 1 0 0 1 1\r\nse 0 0 1 1 0 0 1 0\r\n";
         },
         Expect::Drawn},
        {"NumbersBeyondADouble",
         [] {
             return "1e999 0 -1e999 0\r\nci nan 0 5\r\n1e308 0 -1e308 0\r\n"
                    "ci 0 0 1e300 0 90 1 0\r\n"s;
         },
         Expect::Either},
        {"GarbageAfterTheMark", [] { return Garbage(1 << 20); }, Expect::Either},
        // The bound counts over all paths: two separate lines of 500,000.
        {"TwoPathsAtTheFigureLimit", [] { return "0 0 500000 0\r\n0 10 500000 10\r\n"s; },
         Expect::Drawn},
        {"TwoPathsOneFigureAbove", [] { return "0 0 500000 0\r\n0 10 500001 10\r\n"s; },
         Expect::Untouched},
    };
}

// The oracle for mode 3 output: it must take every line the write-back can
// produce and still refuse what no writer may write.
TEST(OutputGrammarWithWriteBack, LinesAWriteBackMayAndMayNotWrite) {
    const std::pair<std::string, bool> lines[] = {
        {"ci 0 0 5", true},
        {"sl 0 0 1 0", true},
        {"se 0 0 5 1 0 0 3.14 5", true},
        {"se 0 0 5 1 0 0 3.14 7", false},
        {"sg 0 0 5 1 0 0 6.28 3", true},
        {"pt 1 2", true},
        {"pt 1 2 3 4 5", true},
        {"pt 1 2 3", false},
        {"ch 0 0 1 0 \"  text with \"quotes\"", true},
        {"c2 0 0 1 0 \"", true},
        {"cx 0 0 1 0 \"a", false},
        {"ch 0 0 1 \"a", false},
        {"cn3", true},
        {"cn11", false},
        {"cn0 2.5 2.5 0 7", true},
        {"cn0 2.5 2.5 0", false},
        {"cn\"$<Arial>", true},
        {"cc8", true},
        {"cc9", false},
        {"pn2", true},
        {"h#" + test::Sjis("楕円弧"), true},
    };
    for (const auto& [line, valid] : lines) {
        EXPECT_EQ(grammar::IsCommandLine(line, grammar::Vocabulary::WithWriteBack), valid) << line;
        if (line.starts_with("cn") || line.starts_with("pt") || line.starts_with("h#")) {
            EXPECT_FALSE(grammar::IsCommandLine(line)) << "drawing modes never write " << line;
        }
    }
    EXPECT_EQ(grammar::CommandFileProblem("0 0 1 0\r\nh#x\r\n", grammar::Vocabulary::WithWriteBack), "");
    EXPECT_NE(grammar::CommandFileProblem("h#x\r\n0 0 1 0\r\n", grammar::Vocabulary::WithWriteBack), "");
}

class HostileSelection : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(HostileSelection, DrawsAndKeepsTheSelectionOrChangesNothing) {
    CheckSelectionRun(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Selections, HostileSelection, ::testing::ValuesIn(SelectionCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace along

}  // namespace
}  // namespace tesra
