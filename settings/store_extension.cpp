// The [extension] section: line 114 of the store and the lines after it.
//
//   [extension]
//   row1.arrangement=1
//   row3.kind=1
//   row3.pitch=1.5
//   row3.rhythm=LSS
//   row12.sequence=AAB
//
// One `rowN.key=value` line per setting, N from 1 to 12, in CP932 with CR LF
// like the rest of the file. A reader of the 113-line layout stops before the
// section, so it finds the same twelve rows in a file written here.
//
// Only what differs from the defaults is written: a store whose new settings
// were never touched stays the 113 lines it always was, byte for byte, with no
// section at all. A value that changes back to its default keeps its line
// (with the default written in it), so a hand-edited section keeps its shape.
//
// Line 114 is the header. Whatever else stands there (a header spelled
// "[Extension]", a note) is kept as the section's first line, and the lines
// after it are read as the section all the same: nothing after line 113 is
// ever dropped. Every line is read and kept, however many there are; the
// store's bound in bytes (pattern_store.h) is the only bound.
//
// Reading starts from the defaults. A line that names a row and key this
// version knows sets that value, the last such line winning; a value read as
// kRowSettings says (a size not above 1e-8 or not a number, a short ratio
// outside (0, 1], a rhythm other than 1 to 8 of L and S, a sequence other than
// up to 8 of A and B, an integer that is not one) gives the setting's
// fallback, a size above kLargestSize that bound. Every line is kept where it
// stood when the store is saved: lines naming a known key are written with
// the row's value as it now is; lines this version cannot read, and damaged
// values whose setting is still at its default, are written back unchanged.
// Settings that differ from their defaults and have no line yet follow at the
// end, row by row in the order of kRowSettings.

#include "settings/store_extension.h"

#include <cmath>

#include "exchange/number_format.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

inline constexpr int kKeyCount = static_cast<int>(kKeySettings.size());

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Sets the key's value in the row; false: the text was damaged and the row
// took the setting's fallback (or, for an integer, kept its value).
bool ReadValue(const RowSetting& key, std::string_view text, PatternRow& row) {
    if (key.integer) {
        const std::optional<std::int32_t> v = WholeInt(text);
        if (v) row.*key.integer = *v;
        return v.has_value();
    }
    const Reading r = ReadTyped(key, text);
    SetReading(key, row, r);
    return r.problem == ReadProblem::None || r.problem == ReadProblem::TooLarge;
}

struct KeyLine {
    int row = 0;  // from 0
    int key = 0;  // into kKeySettings
    std::string_view value;
};

// "12" but not "012", "+1" or "13".
std::optional<int> ReadRowNumber(std::string_view digits) {
    if (digits.empty() || digits[0] == '0') return std::nullopt;
    const std::optional<std::int32_t> n = WholeInt(digits);
    if (!n || *n < 1 || *n > kPatternRows) return std::nullopt;
    return *n - 1;
}

std::optional<int> FindKey(std::string_view name) {
    for (int k = 0; k < kKeyCount; ++k)
        if (kKeySettings[static_cast<std::size_t>(k)].key == name) return k;
    return std::nullopt;
}

// `rowN.key=value` with a row and a key this version knows.
std::optional<KeyLine> SplitKeyLine(std::string_view line) {
    constexpr std::string_view kRow = "row";
    const std::size_t dot = line.find('.');
    const std::size_t equals = line.find('=');
    if (!line.starts_with(kRow) || dot == std::string_view::npos ||
        equals == std::string_view::npos || equals < dot)
        return std::nullopt;
    const std::optional<int> row = ReadRowNumber(line.substr(kRow.size(), dot - kRow.size()));
    const std::optional<int> key = FindKey(line.substr(dot + 1, equals - dot - 1));
    if (!row || !key) return std::nullopt;
    return KeyLine{*row, *key, TrimBlanks(line.substr(equals + 1))};
}

std::string KeyLineText(int row, int key, const PatternRow& values) {
    const RowSetting& k = kKeySettings[static_cast<std::size_t>(key)];
    std::string line = "row";
    AppendInt(line, row + 1);
    line += '.';
    line += k.key;
    line += '=';
    return line + ValueText(k, values);
}

}  // namespace

bool ReadKeyValue(const RowSetting& key, std::string_view text, PatternRow& row) {
    return ReadValue(key, text, row);
}

bool IsExtensionHeader(std::string_view line) { return TrimBlanks(line) == kExtensionHeader; }

std::vector<std::string> ReadExtension(const std::vector<std::string_view>& lines,
                                       PatternRows& rows) {
    std::vector<std::string> kept;
    kept.reserve(lines.size());
    // The header is written anew on saving; anything else on line 114 stays.
    const bool header = !lines.empty() && IsExtensionHeader(lines.front());
    for (std::size_t i = header ? 1 : 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        kept.emplace_back(line);
        if (const std::optional<KeyLine> k = SplitKeyLine(line))
            ReadValue(kKeySettings[static_cast<std::size_t>(k->key)], k->value,
                      rows[static_cast<std::size_t>(k->row)]);
    }
    return kept;
}

std::vector<std::string> ExtensionLines(const std::vector<std::string>& kept,
                                        const PatternRows& rows) {
    std::vector<std::string> out;
    std::array<std::array<bool, kKeyCount>, kPatternRows> hasLine{};
    for (const std::string& line : kept) {
        const std::optional<KeyLine> k = SplitKeyLine(line);
        if (!k) {
            out.push_back(line);
            continue;
        }
        const PatternRow& row = rows[static_cast<std::size_t>(k->row)];
        const RowSetting& key = kKeySettings[static_cast<std::size_t>(k->key)];
        hasLine[static_cast<std::size_t>(k->row)][static_cast<std::size_t>(k->key)] = true;
        PatternRow probe;
        const bool damaged = !ReadValue(key, k->value, probe);
        out.push_back(damaged && IsDefault(key, row) ? line : KeyLineText(k->row, k->key, row));
    }
    for (int r = 0; r < kPatternRows; ++r)
        for (int k = 0; k < kKeyCount; ++k) {
            const PatternRow& row = rows[static_cast<std::size_t>(r)];
            if (!hasLine[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)] &&
                !IsDefault(kKeySettings[static_cast<std::size_t>(k)], row))
                out.push_back(KeyLineText(r, k, row));
        }
    return out;
}

}  // namespace tesra
