// How a row setting's text reads, the same for the store's lines and the
// dialog's edit boxes.
//
//   typed or stored     width (Size, falls back to 1)   short ratio (Ratio, 0.5)
//   "12.5", "１２．５"   12.5                             over 1: 0.5
//   "1,5"               1.5 (a decimal comma)
//   "1,000.5"           1000.5 (thousands grouped)
//   "0", "-5", "abc"    1                                0.5
//   "1e300"             100000000 (kLargestSize)
#include "settings/row_settings.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "exchange/number_format.h"
#include "geom/helpers.h"

namespace tesra {
namespace {

unsigned char At(std::string_view t, std::size_t i) { return static_cast<unsigned char>(t[i]); }
bool IsContinuation(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

// U+FF01..U+FF5E are ASCII's full-width twins; U+3000 is the ideographic
// space and U+2212 the minus sign that input methods give for "-".
char HalfOfUnicode(int code) {
    if (code >= 0xFF01 && code <= 0xFF5E) return static_cast<char>(code - 0xFEE0);
    if (code == 0x3000) return ' ';
    if (code == 0x2212) return '-';
    return 0;
}

// The same characters in CP932: space, comma, point, plus, minus, the digits
// and the letters.
char HalfOfCp932(unsigned char lead, unsigned char trail) {
    if (lead == 0x81) {
        switch (trail) {
            case 0x40: return ' ';
            case 0x43: return ',';
            case 0x44: return '.';
            case 0x7B: return '+';
            case 0x7C: return '-';
            default: return 0;
        }
    }
    if (lead != 0x82) return 0;
    if (trail >= 0x4F && trail <= 0x58) return static_cast<char>('0' + trail - 0x4F);
    if (trail >= 0x60 && trail <= 0x79) return static_cast<char>('A' + trail - 0x60);
    if (trail >= 0x81 && trail <= 0x9A) return static_cast<char>('a' + trail - 0x81);
    return 0;
}

// The length of the character at i: a whole UTF-8 sequence or CP932 pair,
// so that the bytes inside one are never taken for another.
std::size_t CharLength(std::string_view t, std::size_t i) {
    const unsigned char b = At(t, i);
    if (b >= 0xE0 && b <= 0xEF && i + 2 < t.size() && IsContinuation(At(t, i + 1)) &&
        IsContinuation(At(t, i + 2)))
        return 3;
    if (b >= 0xC2 && b <= 0xDF && i + 1 < t.size() && IsContinuation(At(t, i + 1))) return 2;
    if (((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && i + 1 < t.size()) return 2;
    return 1;
}

char HalfOf(std::string_view ch) {
    if (ch.size() == 3)
        return HalfOfUnicode((At(ch, 0) & 0x0F) << 12 | (At(ch, 1) & 0x3F) << 6 |
                             (At(ch, 2) & 0x3F));
    if (ch.size() == 2 && At(ch, 0) >= 0x81) return HalfOfCp932(At(ch, 0), At(ch, 1));
    return 0;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "1,000", "-12,345.5": a first group of one to three digits not starting
// with 0, then groups of three, each after a comma.
bool IsGrouped(std::string_view t) {
    std::size_t i = t.starts_with('-') ? 1 : 0;
    const std::size_t first = i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    if (i == first || i - first > 3 || t[first] == '0' || i == t.size() || t[i] != ',')
        return false;
    while (i < t.size() && t[i] == ',') {
        for (std::size_t k = 1; k <= 3; ++k)
            if (i + k >= t.size() || !IsDigit(t[i + k])) return false;
        i += 4;
    }
    return i == t.size() || !IsDigit(t[i]);
}

// The text with its commas read as thousands groups or as a decimal comma;
// nothing when neither fits.
std::optional<std::string> WithoutCommas(std::string_view t) {
    const std::size_t comma = t.find(',');
    std::string plain(t);
    if (comma == std::string_view::npos) return plain;
    if (IsGrouped(t)) {
        std::erase(plain, ',');
        return plain;
    }
    if (t.find(',', comma + 1) != std::string_view::npos || t.find('.') != std::string_view::npos)
        return std::nullopt;
    plain[comma] = '.';
    return plain;
}

bool Takes(ValueKind kind, double v) {
    switch (kind) {
        case ValueKind::Size: return v > kSameEps;
        case ValueKind::Gap: return v >= 0;
        case ValueKind::Ratio: return IsValidRatio(v);
        default: return false;
    }
}

Reading ReadReal(const RowSetting& s, std::string_view text) {
    const std::optional<double> v = ReadUserNumber(text);
    if (!v) return {s.fallback, {}, ReadProblem::Unreadable};
    if (s.kind != ValueKind::Ratio && *v > kLargestSize)
        return {kLargestSize, {}, ReadProblem::TooLarge};
    // Judged also as the store writes it back (15 digits), so that a saved
    // value reads again as itself: 1.000000000000001e-8 is written "1E-8",
    // which is no width.
    const std::optional<double> written = ReadUserNumber(FormatReal(*v));
    if (!Takes(s.kind, *v) || !written || !Takes(s.kind, *written))
        return {s.fallback, {}, ReadProblem::OutOfRange};
    return {*v == 0 ? 0.0 : *v, {}, ReadProblem::None};  // "-0" is 0
}

// Letters in either case, read as capitals, if valid says they are a value.
std::optional<std::string> ReadLetters(std::string_view text, bool (*valid)(std::string_view)) {
    std::string out = HalfWidth(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return valid(out) ? std::optional(out) : std::nullopt;
}

}  // namespace

std::string HalfWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = CharLength(text, i);
        const std::string_view ch = text.substr(i, n);
        const char half = HalfOf(ch);
        if (half)
            out += half;
        else
            out += ch;
        i += n;
    }
    return std::string(TrimBlanks(out));
}

std::optional<double> ReadUserNumber(std::string_view text) {
    const std::string half = HalfWidth(text);
    std::string_view t = half;
    if (t.starts_with('+')) t.remove_prefix(1);  // from_chars takes no plus sign
    const std::optional<std::string> plain = WithoutCommas(t);
    if (!plain || plain->empty()) return std::nullopt;
    double value = 0;
    const char* end = plain->data() + plain->size();
    const auto [ptr, ec] = std::from_chars(plain->data(), end, value);
    if (ptr != end) return std::nullopt;
    // Beyond a double's range: far too large, or as good as 0.
    if (ec == std::errc::result_out_of_range) {
        const bool tiny =
            plain->find("e-") != std::string::npos || plain->find("E-") != std::string::npos;
        if (tiny) return 0.0;
        return plain->starts_with('-') ? -std::numeric_limits<double>::infinity()
                                       : std::numeric_limits<double>::infinity();
    }
    if (ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::string> ReadRhythm(std::string_view text) { return ReadLetters(text, IsRhythm); }

std::optional<std::string> ReadSequence(std::string_view text) {
    return ReadLetters(text, IsSequence);
}

Reading ReadTyped(const RowSetting& s, std::string_view text) {
    if (s.real) return ReadReal(s, text);
    const std::optional<std::string> v =
        s.kind == ValueKind::Rhythm ? ReadRhythm(text) : ReadSequence(text);
    if (v) return {0, *v, ReadProblem::None};
    return {0, PatternRow{}.*s.text, ReadProblem::Unreadable};
}

std::string ReadingText(const RowSetting& s, const Reading& r) {
    return s.real ? FormatReal(r.real) : r.text;
}

void SetReading(const RowSetting& s, PatternRow& row, const Reading& r) {
    if (s.real)
        row.*s.real = r.real;
    else if (s.text)
        row.*s.text = r.text;
}

std::string ValueText(const RowSetting& s, const PatternRow& row) {
    if (s.integer) {
        std::string text;
        AppendInt(text, row.*s.integer);
        return text;
    }
    if (s.real) return FormatReal(row.*s.real);
    return row.*s.text;
}

bool IsDefault(const RowSetting& s, const PatternRow& row) {
    static const PatternRow defaults;
    if (s.integer) return row.*s.integer == defaults.*s.integer;
    if (s.real) return row.*s.real == defaults.*s.real;
    return row.*s.text == defaults.*s.text;
}

}  // namespace tesra
