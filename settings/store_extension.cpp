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
// Reading starts from the defaults. A line that names a row and key this
// version knows sets that value, the last such line winning; a value that
// does not read (an integer that is not one, a size not above 1e-8, a short
// ratio outside (0, 1], a rhythm other than 1 to 8 of L and S, a sequence
// other than up to 8 of A and B) leaves the default. Every line is kept where
// it stood when the store is saved: lines naming a known key are written with
// the row's value as it now is; lines this version cannot read, and damaged
// values whose setting is still at its default, are written back unchanged.
// Settings that differ from their defaults and have no line yet follow at the
// end, row by row in the order of kExtensionKeys.

#include "settings/store_extension.h"

#include <cmath>

#include "exchange/number_format.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

inline constexpr int kKeyCount = static_cast<int>(std::size(kExtensionKeys));

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Letters in either case, read as capitals, if valid says they are a value.
std::optional<std::string> ReadLetters(std::string_view text, bool (*valid)(std::string_view)) {
    std::string out(TrimBlanks(text));
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return valid(out) ? std::optional(out) : std::nullopt;
}

// ParseFloat reads what is not a number as 0, which no real here accepts.
std::optional<double> ReadReal(std::string_view text, bool (*isValid)(double)) {
    const double value = ParseFloat(text);
    if (!isValid(value)) return std::nullopt;
    return value;
}

bool ReadValue(const ExtensionKey& key, std::string_view text, PatternRow& row) {
    if (key.integer) {
        const std::optional<std::int32_t> v = WholeInt(text);
        if (v) row.*key.integer = *v;
        return v.has_value();
    }
    if (key.real) {
        const std::optional<double> v = ReadReal(text, key.isValid);
        if (v) row.*key.real = *v;
        return v.has_value();
    }
    const std::optional<std::string> v = key.readText(text);
    if (v) row.*key.text = *v;
    return v.has_value();
}

std::string ValueText(const ExtensionKey& key, const PatternRow& row) {
    if (key.integer) {
        std::string text;
        AppendInt(text, row.*key.integer);
        return text;
    }
    if (key.real) return FormatReal(row.*key.real);
    return row.*key.text;
}

bool IsDefault(const ExtensionKey& key, const PatternRow& row) {
    static const PatternRow defaults;
    if (key.integer) return row.*key.integer == defaults.*key.integer;
    if (key.real) return row.*key.real == defaults.*key.real;
    return row.*key.text == defaults.*key.text;
}

struct KeyLine {
    int row = 0;  // from 0
    int key = 0;  // into kExtensionKeys
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
        if (kExtensionKeys[k].name == name) return k;
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
    const ExtensionKey& k = kExtensionKeys[key];
    std::string line = "row";
    AppendInt(line, row + 1);
    line += '.';
    line += k.name;
    line += '=';
    return line + ValueText(k, values);
}

}  // namespace

bool ReadExtensionValue(const ExtensionKey& key, std::string_view text, PatternRow& row) {
    return ReadValue(key, text, row);
}

std::string ExtensionValueText(const ExtensionKey& key, const PatternRow& row) {
    return ValueText(key, row);
}

bool IsExtensionDefault(const ExtensionKey& key, const PatternRow& row) {
    return IsDefault(key, row);
}

std::optional<std::string> ReadRhythm(std::string_view text) { return ReadLetters(text, IsRhythm); }

std::optional<std::string> ReadSequence(std::string_view text) {
    return ReadLetters(text, IsSequence);
}

bool IsExtensionHeader(std::string_view line) { return TrimBlanks(line) == kExtensionHeader; }

bool IsValidSize(double v) { return v > kSameEps; }

std::vector<std::string> ReadExtension(const std::vector<std::string_view>& lines,
                                       PatternRows& rows) {
    std::vector<std::string> kept;
    for (std::string_view line : lines) {
        if (kept.size() < static_cast<std::size_t>(kExtensionKeptLines)) kept.emplace_back(line);
        if (const std::optional<KeyLine> k = SplitKeyLine(line))
            ReadValue(kExtensionKeys[k->key], k->value, rows[static_cast<std::size_t>(k->row)]);
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
        const ExtensionKey& key = kExtensionKeys[k->key];
        hasLine[static_cast<std::size_t>(k->row)][static_cast<std::size_t>(k->key)] = true;
        PatternRow probe;
        const bool damaged = !ReadValue(key, k->value, probe);
        out.push_back(damaged && IsDefault(key, row) ? line : KeyLineText(k->row, k->key, row));
    }
    for (int r = 0; r < kPatternRows; ++r)
        for (int k = 0; k < kKeyCount; ++k) {
            const PatternRow& row = rows[static_cast<std::size_t>(r)];
            if (!hasLine[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)] &&
                !IsDefault(kExtensionKeys[k], row))
                out.push_back(KeyLineText(r, k, row));
        }
    return out;
}

}  // namespace tesra
