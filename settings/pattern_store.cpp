// The store file: 113 lines, each ended by CR LF.
//
//   0          FormLeft
//   0          FormTop
//   0          SolidColorSwitch ("1" on, "0" off; read tolerantly: TRUE, ON, １ …)
//   255        SolidColor (0x00BBGGRR as a decimal integer)
//   1          SelectedRow
//   then for each of the 12 rows, one value a line:
//   0          FigureKind
//   10         Width
//   10         Height
//   0          Placement
//   0          Interval
//   1          BasePoint
//   0          UpperLine
//   0          MiddleLine
//   0          LowerLine
//
//   [extension]  then the settings added later, one `rowN.key=value` a line
//                (store_extension.cpp)
//
// Loading starts from the defaults; every line read replaces its value. A
// code that does not parse gives 0; a width, height or interval reads as
// kRowSettings says, exactly as the dialog reads what is typed (a width "0"
// or "abc" gives 1, "１２．５" gives 12.5, an interval "-2" gives 0). A short
// file reads empty lines past its end, so the codes after its last line are
// 0 and the sizes their fallbacks, not the defaults. A read error, or the
// bound in bytes, is not an end: the values read so far stand and the rest
// keep their defaults. The section is read only after all 113 lines; every
// line after line 113 is kept (store_extension.cpp).

#include "settings/pattern_store.h"

#include <istream>
#include <iterator>
#include <optional>
#include <system_error>
#include <utility>

#include "exchange/line_tokens.h"
#include "exchange/number_format.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

// Hands out the lines of the bytes one by one. Past their end, bytes that hold
// the whole file read as empty lines; bytes cut short by a read error have no
// more lines.
class LineCursor {
public:
    LineCursor(std::string_view bytes, bool whole) : rest_(bytes), whole_(whole) {}

    std::optional<std::string_view> Next() {
        if (rest_.empty()) return whole_ ? std::optional<std::string_view>("") : std::nullopt;
        return NextOfFile();
    }

    // The next line the bytes really hold; none past their end.
    std::optional<std::string_view> NextOfFile() {
        if (rest_.empty()) return std::nullopt;
        return TakeLine(rest_);
    }

private:
    std::string_view rest_;
    bool whole_;
};

template <class T>
bool ReadValue(LineCursor& in, T& value, T (*parse)(std::string_view)) {
    const std::optional<std::string_view> line = in.Next();
    if (line) value = parse(*line);
    return line.has_value();
}

bool ReadRow(LineCursor& in, PatternRow& row) {
    for (const RowSetting& setting : kLineSettings) {
        const std::optional<std::string_view> line = in.Next();
        if (!line) return false;
        if (setting.integer)
            row.*setting.integer = ParseInt(*line);
        else
            SetReading(setting, row, ReadTyped(setting, *line));
    }
    return true;
}

void ReadSection(LineCursor& in, PatternStore& store) {
    std::vector<std::string_view> lines;
    for (std::optional<std::string_view> line; (line = in.NextOfFile());) lines.push_back(*line);
    store.extensionLines = ReadExtension(lines, store.rows);
}

PatternStore ParseLines(std::string_view bytes, bool whole) {
    PatternStore store;
    LineCursor in(bytes, whole);
    const bool header =
        ReadValue(in, store.formLeft, ParseInt) && ReadValue(in, store.formTop, ParseInt) &&
        ReadValue(in, store.solidColorSwitch, ParseBool) &&
        ReadValue(in, store.solidColor, ParseInt) && ReadValue(in, store.selectedRow, ParseInt);
    if (!header) return store;
    for (PatternRow& row : store.rows)
        if (!ReadRow(in, row)) return store;
    ReadSection(in, store);
    return store;
}

std::string IntLine(std::int32_t v) {
    std::string line;
    AppendInt(line, v);
    return line;
}

}  // namespace

PatternRow PatternStore::RowInUse() const {
    if (selectedRow >= 1 && selectedRow <= kPatternRows)
        return rows[static_cast<std::size_t>(selectedRow - 1)];
    return PatternRow{};
}

namespace {

// The bytes up to their last line feed: a line cut by the bound, or by a
// read error, is not read.
std::string WholeLines(std::string bytes) {
    const std::size_t lf = bytes.rfind('\n');
    bytes.resize(lf == std::string::npos ? 0 : lf + 1);
    return bytes;
}

PatternStore ParseCut(std::string bytes, StoreRead read) {
    PatternStore store = ParseLines(WholeLines(std::move(bytes)), false);
    store.read = read;
    return store;
}

// Bytes read from a file, at most one past the bound.
PatternStore FromBytesRead(std::string bytes, bool readError) {
    if (bytes.size() > kStoreMostBytes) {
        bytes.resize(kStoreMostBytes);
        return ParseCut(std::move(bytes), StoreRead::kOverBound);
    }
    if (readError) return ParseCut(std::move(bytes), StoreRead::kReadError);
    return ParseLines(bytes, true);
}

// Only a name with nothing behind it is a first run; a dangling link, a
// folder or a file without permission to read are the user's settings out of
// reach.
StoreCondition MissingOrUnreadable(const std::filesystem::path& path) {
    std::error_code ec;
    const auto type = std::filesystem::symlink_status(path, ec).type();
    return type == std::filesystem::file_type::not_found ? StoreCondition::Missing
                                                         : StoreCondition::Unreadable;
}

// Whether line `index` (from 0) of the 113 is a number of its setting's kind
// (a number out of a setting's range is the user's, read by its fallback;
// text that is no number is damage). The solid switch takes any word, as its
// reader does.
bool HoldsValue(int index, std::string_view line) {
    constexpr int kSwitchLine = 2, kHeaderLines = 5;
    if (index == kSwitchLine) return true;
    if (index < kHeaderLines) return TolerantInt(line).has_value();
    const RowSetting& setting =
        kLineSettings[static_cast<std::size_t>(index - kHeaderLines) % kLineSettings.size()];
    return setting.integer ? TolerantInt(line).has_value() : TolerantReal(line).has_value();
}

}  // namespace

PatternStore ParsePatternStore(std::string_view bytes) { return ParseLines(bytes, true); }

PatternStore ReadPatternStore(std::istream& in) {
    // Byte by byte, so that what was read before a read error stands.
    std::string bytes;
    for (char c; bytes.size() <= kStoreMostBytes && in.get(c);) bytes += c;
    return FromBytesRead(std::move(bytes), in.bad());
}

PatternStore LoadPatternStore(const std::filesystem::path& path) {
    return LoadPatternStoreChecked(path).store;
}

LoadedStore LoadPatternStoreChecked(const std::filesystem::path& path) {
    std::string bytes;
    // One byte more than the bound tells a file over it from one just at it.
    const ReadOutcome outcome = ReadFileBytes(path, bytes, 0, kStoreMostBytes + 1);
    if (outcome == ReadOutcome::kCannotOpen) return {PatternStore{}, MissingOrUnreadable(path)};
    const bool whole = outcome == ReadOutcome::kRead && bytes.size() <= kStoreMostBytes;
    const StoreCondition condition =
        whole ? StoreBytesCondition(bytes) : StoreCondition::Unreadable;
    return {FromBytesRead(std::move(bytes), outcome == ReadOutcome::kReadError), condition};
}

StoreCondition StoreBytesCondition(std::string_view bytes) {
    LineCursor in(bytes, false);
    for (int i = 0; i < kStoreLines; ++i) {
        const std::optional<std::string_view> line = in.NextOfFile();
        if (!line || !HoldsValue(i, *line)) return StoreCondition::Damaged;
    }
    return StoreCondition::Whole;
}

std::vector<std::string> PatternStoreLines(const PatternStore& store) {
    std::vector<std::string> lines = {IntLine(store.formLeft), IntLine(store.formTop),
                                      BoolText(store.solidColorSwitch), IntLine(store.solidColor),
                                      IntLine(store.selectedRow)};
    for (const PatternRow& row : store.rows)
        for (const RowSetting& setting : kLineSettings) lines.push_back(ValueText(setting, row));
    std::vector<std::string> section = ExtensionLines(store.extensionLines, store.rows);
    if (section.empty()) return lines;
    lines.emplace_back(kExtensionHeader);
    lines.insert(lines.end(), std::make_move_iterator(section.begin()),
                 std::make_move_iterator(section.end()));
    return lines;
}

std::string SerializePatternStore(const PatternStore& store) {
    std::string out;
    for (const std::string& line : PatternStoreLines(store)) out += line + "\r\n";
    return out;
}

bool SavePatternStore(const PatternStore& store, const std::filesystem::path& path,
                      const WriteFaults& faults) {
    // Written whole beside the old file and renamed over it: a failure at any
    // point leaves the user's previous patterns exactly as they were.
    AtomicFile file(path, faults);
    for (const std::string& line : PatternStoreLines(store)) file.Append(line);
    return file.Commit();
}

}  // namespace tesra
