// The store's [extension] section: what a file with one reads as, and what
// saving it writes back.
#include "settings/store_extension.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/pattern_store.h"
#include "test_support.h"

namespace tesra {
namespace {

const std::string kDefault113 = SerializePatternStore(PatternStore{});

struct SectionCase {
    const char* what;
    std::vector<std::string> after113;       // the file's lines after line 113
    std::function<void(PatternRows&)> read;  // the rows read, from the defaults
    std::function<void(PatternRows&)> edit;  // what the user changes before saving
    std::vector<std::string> saved;          // the lines after line 113 as saved
};

void Nothing(PatternRows&) {}

// The header, n lines of no meaning, then the last line.
std::vector<std::string> Filler(int n, const std::string& last) {
    std::vector<std::string> lines = {"[extension]"};
    lines.insert(lines.end(), static_cast<std::size_t>(n), "; filler");
    lines.push_back(last);
    return lines;
}

// Every key once, for row 12, in an order of the user's: saved as it stands.
const std::vector<std::string> kEveryKeyOfRow12 = {
    "[extension]",        "row12.bend=1",        "row12.element_colors=1", "row12.fit=1",
    "row12.sequence=AAB", "row12.height_b=2.5",  "row12.width_b=0.75",     "row12.figure_b=108",
    "row12.draw_top=1",   "row12.tick_length=3", "row12.short_ratio=0.25", "row12.rhythm=LSS",
    "row12.pitch=1.5",    "row12.kind=1",        "row12.orientation=1",    "row12.side=2",
    "row12.arrangement=2"};

// clang-format off
// Damaged values read as the defaults and are saved as they stood.
const std::vector<std::string> kDamagedValues = {
    "[extension]", "row1.arrangement=x", "row1.side=1.5", "row1.orientation=", "row1.pitch=0",
    "row1.short_ratio=1.5", "row1.tick_length=-2", "row1.rhythm=LX", "row1.rhythm=LSLSLSLSL",
    "row1.rhythm=", "row1.sequence=ABC", "row1.sequence=AAAAAAAAA", "row1.width_b=1e-9",
    "row1.figure_b=99999999999"};

const SectionCase kSectionCases[] = {
    {"113 lines: defaults, saved as 113 lines", {}, Nothing, Nothing, {}},
    {"an untouched header alone is dropped", {"[extension]"}, Nothing, Nothing, {}},
    {"every key of a row round-trips in place", kEveryKeyOfRow12,
     [](PatternRows& r) {
         r[11] = {.arrangement = 2, .side = 2, .orientation = 1, .bend = 1, .rowKind = 1, .pitch = 1.5,
                  .rhythm = "LSS", .shortRatio = 0.25, .tickLength = 3, .drawTop = 1,
                  .figureB = 108, .widthB = 0.75, .heightB = 2.5, .sequence = "AAB", .fit = 1,
                  .elementColors = 1};
     },
     Nothing, kEveryKeyOfRow12},
    {"the pens of every part round-trip in place",
     {"[extension]", "row7.lower_linetype=9", "row7.figure_color=3", "row7.figure_linetype=5",
      "row7.upper_color=2", "row7.upper_linetype=7", "row7.middle_color=8",
      "row7.middle_linetype=2", "row7.lower_color=1"},
     [](PatternRows& r) {
         r[6] = {.figureColor = 3, .figureLineType = 5, .upperColor = 2, .upperLineType = 7,
                 .middleColor = 8, .middleLineType = 2, .lowerColor = 1, .lowerLineType = 9};
     },
     [](PatternRows& r) { r[6].middleColor = 0; r[7].upperLineType = 6; },
     {"[extension]", "row7.lower_linetype=9", "row7.figure_color=3", "row7.figure_linetype=5",
      "row7.upper_color=2", "row7.upper_linetype=7", "row7.middle_color=0",
      "row7.middle_linetype=2", "row7.lower_color=1", "row8.upper_linetype=6"}},
    {"lines this version cannot read stay where they stood",
     {"[extension]", "; kept", "row1.colour=3", "row13.kind=1", "row01.kind=1", "row1kind=1",
      "row2.side=1", "", "[other]", "row2.side =2"},
     [](PatternRows& r) { r[1].side = 1; },
     [](PatternRows& r) { r[1].side = 2; },
     {"[extension]", "; kept", "row1.colour=3", "row13.kind=1", "row01.kind=1", "row1kind=1",
      "row2.side=2", "", "[other]", "row2.side =2"}},
    {"damaged values give defaults and stay as they stood", kDamagedValues, Nothing, Nothing,
     kDamagedValues},
    {"a damaged value the user then sets is written in its place",
     {"[extension]", "row3.pitch=abc", "row3.kind=1"},
     [](PatternRows& r) { r[2].rowKind = 1; },
     [](PatternRows& r) { r[2].pitch = 4; },
     {"[extension]", "row3.pitch=4", "row3.kind=1"}},
    {"spellings a hand may type read and are saved plainly",
     {"[extension]", "row4.rhythm= lss ", "row4.sequence=aab", "row4.short_ratio=1",
      "  [extension]  "},
     [](PatternRows& r) { r[3].rhythm = "LSS"; r[3].sequence = "AAB"; r[3].shortRatio = 1; },
     Nothing,
     {"[extension]", "row4.rhythm=LSS", "row4.sequence=AAB", "row4.short_ratio=1",
      "  [extension]  "}},
    {"the last line of a key wins and every line of it is saved alike",
     {"[extension]", "row5.pitch=3", "row5.pitch=oops", "row5.pitch=7"},
     [](PatternRows& r) { r[4].pitch = 7; },
     Nothing,
     {"[extension]", "row5.pitch=7", "row5.pitch=7", "row5.pitch=7"}},
    {"a value set back to its default keeps its line",
     {"[extension]", "row6.arrangement=1"},
     [](PatternRows& r) { r[5].arrangement = 1; },
     [](PatternRows& r) { r[5].arrangement = 0; },
     {"[extension]", "row6.arrangement=0"}},
    {"new settings follow the kept lines, row by row in key order",
     {"[extension]", "row9.kind=1"},
     [](PatternRows& r) { r[8].rowKind = 1; },
     [](PatternRows& r) {
         r[8].rhythm = "L"; r[0].sequence = "AB"; r[0].arrangement = 1; r[8].figureB = -1;
     },
     {"[extension]", "row9.kind=1", "row1.arrangement=1", "row1.sequence=AB", "row9.rhythm=L",
      "row9.figure_b=-1"}},
    {"settings set in a store without a section add it", {}, Nothing,
     [](PatternRows& r) { r[1].widthB = 1e-5; r[1].orientation = 1; },
     {"[extension]", "row2.orientation=1", "row2.width_b=1E-5"}},
    {"a near miss of the header is kept, and its lines read as the section",
     {"[Extension]", "row1.kind=1", "; note"},
     [](PatternRows& r) { r[0].rowKind = 1; }, Nothing,
     {"[extension]", "[Extension]", "row1.kind=1", "; note"}},
    {"whatever follows line 113 is kept, a header later than line 114 too",
     {"", "[extension]", "row1.kind=1"},
     [](PatternRows& r) { r[0].rowKind = 1; }, Nothing,
     {"[extension]", "", "[extension]", "row1.kind=1"}},
    {"past a thousand lines every line is kept and a key still applies", Filler(1100, "row2.side=1"),
     [](PatternRows& r) { r[1].side = 1; }, Nothing,
     Filler(1100, "row2.side=1")},
    {"a size above the bound is cut to it and saved so",
     {"[extension]", "row3.pitch=1e9", "row3.width_b=200000000"},
     [](PatternRows& r) { r[2].pitch = kLargestSize; r[2].widthB = kLargestSize; }, Nothing,
     {"[extension]", "row3.pitch=100000000", "row3.width_b=100000000"}},
};
// clang-format on

TEST(StoreExtension, ReadAndSavedAsTheTableSays) {
    for (const SectionCase& c : kSectionCases) {
        PatternStore store = ParsePatternStore(kDefault113 + test::CrLf(c.after113));
        PatternRows rows{};
        c.read(rows);
        EXPECT_EQ(store.rows, rows) << c.what;
        c.edit(store.rows);
        EXPECT_EQ(SerializePatternStore(store), kDefault113 + test::CrLf(c.saved)) << c.what;
    }
}

// A file cut short inside the section, or by a read error, still reads what
// it holds whole and leaves the first 113 lines as they are.
TEST(StoreExtension, PartialSectionReadsWhatItHolds) {
    PatternStore sample;
    sample.rows[6].figureKind = 30;
    const std::string first113 = SerializePatternStore(sample);
    const PatternStore cut = ParsePatternStore(first113 + "[extension]\r\nrow7.side=1\r\nrow7.pit");
    EXPECT_EQ(cut.rows[6].side, 1);
    EXPECT_EQ(cut.rows[6].pitch, PatternRow{}.pitch);
    EXPECT_EQ(cut.rows[6].figureKind, 30);
    const std::string saved = SerializePatternStore(cut);
    EXPECT_EQ(saved.substr(0, first113.size()), first113);
    EXPECT_EQ(saved.substr(first113.size()), "[extension]\r\nrow7.side=1\r\nrow7.pit\r\n");
}

// A reader of the 113-line layout stops before the section: it finds the
// twelve rows the new version wrote.
TEST(StoreExtension, TheFirst113LinesAreTheOldStoreOfTheSameRows) {
    PatternStore store;
    store.rows[0].width = 3.5;
    store.rows[0].arrangement = kArrangeCorners;
    store.rows[11].rhythm = "LSS";
    const std::string bytes = SerializePatternStore(store);
    PatternStore old = store;
    old.rows[0].arrangement = kArrangePerSide;
    old.rows[11].rhythm = "LS";
    const std::string oldBytes = SerializePatternStore(old);
    EXPECT_EQ(bytes.substr(0, oldBytes.size()), oldBytes);
    EXPECT_EQ(ParsePatternStore(oldBytes), old);
}

}  // namespace
}  // namespace tesra
