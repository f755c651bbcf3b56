// The pattern store: defaults, round trips and saves that fail.
#include "settings/pattern_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

#include "test_support.h"
#include "typed_values.h"

namespace tesra {
namespace {

namespace fs = std::filesystem;

PatternStore SampleStore() {
    PatternStore s;
    s.formLeft = -40;
    s.formTop = 120;
    s.selectedRow = 7;
    s.solidColorSwitch = true;
    s.solidColor = 0x00FF8000;
    for (int n = 0; n < kPatternRows; ++n) {
        PatternRow& r = s.rows[static_cast<std::size_t>(n)];
        r.figureKind = n * 9;
        r.width = 2.5 + n;
        r.height = 0.25 * (n + 1);  // values a user can type, exact in 15 digits
        r.placement = n % 2;
        r.interval = n * 1.25;
        r.basePoint = n % 3;
        r.upperLine = (n + 1) % 3;
        r.middleLine = (n + 2) % 3;
        r.lowerLine = n == 11 ? -1 : n % 3;  // -1: nothing chosen in the dialog
    }
    return s;
}

TEST(PatternStore, MissingFileGivesDefaults) {
    ScratchDir dir;
    const PatternStore s = LoadPatternStore(dir / "tesra.dat");
    EXPECT_EQ(s, PatternStore{});
    EXPECT_EQ(s.selectedRow, 1);
    EXPECT_EQ(s.rows[0].width, 10.0);
    EXPECT_EQ(s.rows[11].basePoint, 1);
}

TEST(PatternStore, SaveThenLoadReproducesEveryField) {
    ScratchDir dir;
    const PatternStore s = SampleStore();
    ASSERT_TRUE(SavePatternStore(s, dir / "tesra.dat"));
    EXPECT_EQ(LoadPatternStore(dir / "tesra.dat"), s);
}

TEST(PatternStore, FileLayoutIs113CrLfLines) {
    const std::string bytes = SerializePatternStore(PatternStore{});
    std::vector<std::string> expected = {"0", "0", "0", "0", "1"};
    for (int n = 0; n < kPatternRows; ++n)
        expected.insert(expected.end(), {"0", "10", "10", "0", "0", "1", "0", "0", "0"});
    EXPECT_EQ(bytes, CrLf(expected));
    PatternStore s;
    s.rows[0].width = 2.50;
    s.rows[0].interval = 0.00001;
    s.solidColorSwitch = true;
    const std::string sample = SerializePatternStore(s);
    EXPECT_NE(sample.find("\r\n1\r\n0\r\n1\r\n0\r\n2.5\r\n10\r\n0\r\n1E-5\r\n"), std::string::npos);
}

// Past its end a short file reads empty lines: 0 for the codes, and the
// sizes that an empty text gives when typed.
TEST(PatternStore, ShortFileGivesZeroCodesAndFallbackSizesAfterItsLastLine) {
    const PatternStore s = ParsePatternStore(CrLf({"10", "20", "1", "255", "3"}));
    EXPECT_EQ(s.formLeft, 10);
    EXPECT_EQ(s.formTop, 20);
    EXPECT_TRUE(s.solidColorSwitch);
    EXPECT_EQ(s.solidColor, 255);
    EXPECT_EQ(s.selectedRow, 3);
    for (const PatternRow& r : s.rows) {
        EXPECT_EQ(r.figureKind, 0);
        EXPECT_EQ(r.width, 1.0);
        EXPECT_EQ(r.height, 1.0);
        EXPECT_EQ(r.interval, 0.0);
        EXPECT_EQ(r.basePoint, 0);
    }
}

// Serves the bytes, then fails as a disk does.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::string bytes) : bytes_(std::move(bytes)) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }

protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }

private:
    std::string bytes_;
};

std::vector<std::string> Lines(const std::string& crlf) {
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = crlf.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(crlf.substr(at, end - at));
    return lines;
}

// A read error is no end of file: what was read stands, the rest keeps the
// defaults instead of reading as 0; a line cut by the error is not read.
TEST(PatternStore, ReadErrorKeepsTheDefaultsAfterTheLastWholeLine) {
    const std::vector<std::string> sample = Lines(SerializePatternStore(SampleStore()));
    const std::vector<std::string> defaults = Lines(SerializePatternStore(PatternStore{}));
    for (std::size_t whole : {0u, 3u, 5u, 6u, 14u, 60u, 112u}) {
        for (std::size_t cut : {0u, 1u}) {
            std::vector<std::string> read(sample.begin(), sample.begin() + whole);
            std::string bytes = CrLf(read) + sample[whole].substr(0, cut);
            FailingBuffer disk(bytes);
            std::istream in(&disk);
            const std::vector<std::string> got = Lines(SerializePatternStore(ReadPatternStore(in)));
            read.insert(read.end(), defaults.begin() + static_cast<std::ptrdiff_t>(whole),
                        defaults.end());
            EXPECT_EQ(got, read) << whole << " whole lines, " << cut << " more bytes";
        }
    }
    FailingBuffer whole(SerializePatternStore(SampleStore()));
    std::istream in(&whole);
    // All 113 lines are read before the error, but what followed them was
    // never seen: the store says so, and the dialog will not save over it.
    PatternStore read = ReadPatternStore(in);
    EXPECT_EQ(read.read, StoreRead::kReadError);
    read.read = StoreRead::kWhole;
    EXPECT_EQ(read, SampleStore());
}

TEST(PatternStore, SolidSwitchSpellings) {
    const std::pair<std::string, bool> cases[] = {
        {"TRUE", true}, {"on", true}, {"\x82\x50", true} /* １ */,
        {"1", true},    {"0", false}, {"", false},
        {"no", false},  {"2", false}};
    for (const auto& [word, on] : cases)
        EXPECT_EQ(ParsePatternStore(CrLf({"0", "0", word})).solidColorSwitch, on) << word;
}

TEST(PatternStore, DamagedLinesReadAsZeroLfAlsoAccepted) {
    std::string bytes = SerializePatternStore(SampleStore());
    bytes.replace(0, 5, "x\n");  // line 1 "-40" damaged, ended by a bare LF
    const PatternStore s = ParsePatternStore(bytes);
    EXPECT_EQ(s.formLeft, 0);
    EXPECT_EQ(s.formTop, 120);
    EXPECT_EQ(s.rows[11].lowerLine, -1);
}

// A run tells the user when the settings it draws with are not all the
// user's: only a store with nothing behind its name is a first run.
TEST(PatternStore, ConditionTellsDamageFromAFirstRun) {
    const std::string whole = SerializePatternStore(SampleStore());
    const auto lineAt = [&](std::size_t n) {  // the offset of line n (from 0)
        std::size_t at = 0;
        for (std::size_t i = 0; i < n; ++i) at = whole.find('\n', at) + 1;
        return at;
    };
    const auto withLine = [&](std::size_t n, const std::string& text) {
        return whole.substr(0, lineAt(n)) + text + "\r\n" + whole.substr(lineAt(n + 1));
    };
    std::string lfOnly = whole;
    std::erase(lfOnly, '\r');
    const struct {
        const char* what;
        std::string bytes;
        StoreCondition condition;
    } cases[] = {
        {"as saved", whole, StoreCondition::Whole},
        {"without the last line end", whole.substr(0, whole.size() - 2), StoreCondition::Whole},
        {"LF alone", lfOnly, StoreCondition::Whole},
        {"spaces before a number", withLine(0, "  -40"), StoreCondition::Whole},
        {"a hexadecimal position", withLine(1, "$78"), StoreCondition::Whole},
        {"any word for the solid switch", withLine(2, "maybe"), StoreCondition::Whole},
        {"empty", "", StoreCondition::Damaged},
        {"cut to 20 lines", whole.substr(0, lineAt(20)), StoreCondition::Damaged},
        {"cut to 112 lines", whole.substr(0, lineAt(112)), StoreCondition::Damaged},
        {"an empty width", withLine(6, ""), StoreCondition::Damaged},
        {"a word for a kind", withLine(5, "star"), StoreCondition::Damaged},
        {"a kind beyond 32 bits", withLine(5, "99999999999"), StoreCondition::Damaged},
        {"a real for a kind", withLine(5, "2.5"), StoreCondition::Damaged},
        {"a width that is no finite number", withLine(6, "1e999"), StoreCondition::Damaged},
        {"the last line of row 12", withLine(112, "x"), StoreCondition::Damaged},
        {"random bytes", "\x81\xFF\x12\n\n\xE0", StoreCondition::Damaged},
    };
    ScratchDir dir;
    for (const auto& c : cases) {
        WriteBytes(dir / "tesra.dat", c.bytes);
        EXPECT_EQ(LoadPatternStoreChecked(dir / "tesra.dat").condition, c.condition) << c.what;
    }
    EXPECT_EQ(LoadPatternStoreChecked(dir / "none.dat").condition, StoreCondition::Missing);
    fs::create_directory(dir / "folder.dat");
    EXPECT_EQ(LoadPatternStoreChecked(dir / "folder.dat").condition, StoreCondition::Unreadable);
    fs::create_symlink(dir / "gone.dat", dir / "dangling.dat");
    EXPECT_EQ(LoadPatternStoreChecked(dir / "dangling.dat").condition, StoreCondition::Unreadable);
}

TEST(PatternStore, RowInUseFallsBackOutsideOneToTwelve) {
    PatternStore s = SampleStore();
    for (int row : {0, 13, -1}) {
        s.selectedRow = row;
        EXPECT_EQ(s.RowInUse().figureKind, 0);
        EXPECT_EQ(s.RowInUse().width, 10.0);
    }
    s.selectedRow = 12;
    EXPECT_EQ(s.RowInUse().figureKind, 99);
}

TEST(PatternStore, FailedSaveKeepsThePreviousStoreByteForByte) {
    ScratchDir dir;
    const fs::path path = dir / "tesra.dat";
    ASSERT_TRUE(SavePatternStore(SampleStore(), path));
    const std::string before = ReadBytes(path);
    const auto size = static_cast<std::int64_t>(SerializePatternStore(PatternStore{}).size());
    for (std::int64_t n : {std::int64_t{0}, std::int64_t{1}, std::int64_t{57}, size - 1}) {
        EXPECT_FALSE(SavePatternStore(PatternStore{}, path, WriteFaults{n}));
        EXPECT_EQ(ReadBytes(path), before);
    }
    EXPECT_EQ(fs::directory_iterator(dir.path())->path().filename(), "tesra.dat");
}

// A hand-edited store reads each text as the dialog stores it typed.
TEST(PatternStore, TextsReadAsTheDialogStoresThemTyped) {
    const std::vector<std::string> defaults = Lines(SerializePatternStore(PatternStore{}));
    for (const test::TypedValueCase& c : test::kTypedValueCases) {
        const RowSetting& s = test::SettingOfBox(c.control);
        std::vector<std::string> lines = defaults;
        const std::string text = test::Sjis(c.typed);
        if (s.key.empty()) {
            const auto field = static_cast<std::size_t>(&s - kRowSettings);
            lines[5 + 2 * kRowLineCount + field] = text;  // row 3
        } else {
            lines.insert(lines.end(), {"[extension]", "row3." + std::string(s.key) + "=" + text});
        }
        const PatternStore store = ParsePatternStore(CrLf(lines));
        EXPECT_EQ(ValueText(s, store.rows[2]), c.stored) << c.control << " " << c.typed;
        EXPECT_EQ(store.rows[1], PatternRow{}) << c.control << " " << c.typed;
    }
}

// A store is read up to its bound in bytes and no further, whatever its
// lines: what lies within stands, and the store says it was not read whole.
TEST(PatternStore, FileOverTheBoundIsReadUpToItAndSaysSo) {
    const std::string first113 = SerializePatternStore(SampleStore());
    std::string longSection = first113 + "[extension]\r\nrow2.kind=1\r\n";
    longSection += std::string(kStoreMostBytes, ';') + "\r\nrow1.kind=1\r\n";
    std::string atTheBound = first113 + "[extension]\r\nrow2.kind=1\r\n";
    atTheBound += std::string(kStoreMostBytes - atTheBound.size() - 2, ';') + "\r\n";
    const struct {
        const char* what;
        std::string bytes;
        StoreRead read;
        std::int32_t formTop;
        std::int32_t row2Kind;
    } cases[] = {
        {"no line feed at all", std::string(kStoreMostBytes + 1, '7'), StoreRead::kOverBound, 0, 0},
        {"a section past the bound", longSection, StoreRead::kOverBound, 120, 1},
        {"a file just at the bound", atTheBound, StoreRead::kWhole, 120, 1},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        WriteBytes(dir / "tesra.dat", c.bytes);
        const PatternStore s = LoadPatternStore(dir / "tesra.dat");
        EXPECT_EQ(s.read, c.read) << c.what;
        EXPECT_EQ(s.formTop, c.formTop) << c.what;
        EXPECT_EQ(s.rows[1].rowKind, c.row2Kind) << c.what;
        EXPECT_EQ(s.rows[0].rowKind, kRowRule) << c.what;
    }
}

}  // namespace
}  // namespace tesra
