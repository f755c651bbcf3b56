#pragma once
// What a drawing run may write into JWC_TEMP.TXT, checked independently of
// the writer that produces it. The fuzz targets abort on the first line that
// breaks it; the hostile-input tests check whole files of the real executable.
//
//   bz                                  the scale switch
//   lg<HEX> ly<HEX>                     layer group, layer (upper-case hex)
//   lc<int> lt<int> lw<0..30000>        line color, type, width
//   lc10 <0..16777215>                  solid color
//   x1 y1 x2 y2                         line
//   ci + 7 numbers                      arc
//   sl + 6 or 8 numbers                 solid triangle or quadrilateral
//   sc + 7 numbers + code (0 5 100 -1)  solid arc
//   so + 8 numbers                      solid ring
//   he<message>                         the only line of a refused run
//   h#<notice>                          only as the last line
//
// A run along selected elements ("3") also writes the selection back; its
// vocabulary adds:
//
//   ci x y r                            circle
//   sl x1 y1 x2 y2                      two-corner solid
//   se / sg                             as sc / so
//   pt x y / pt x y a b <int>           point, point with data
//   ch … c2 + 4 numbers + ' "' + text   text (any bytes but CR, LF, NUL)
//   cn<1..10> / cn0 + 3 numbers + <int> text kind
//   cn"$<font>  cc<0..8>  pn<int>       font, text color, point number
//
// Numbers are the writer's decimal form (-12.5, 0.001, 1.5E20, 1E-5) and must
// be finite as doubles. Fields are separated by exactly one space; every line
// is at most kMaxOutputLine (255) bytes and ends with CR LF.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/host_codes.h"

namespace tesra::grammar {

inline constexpr std::size_t kMaxLineBytes = kMaxOutputLine;

inline bool AllDigits(std::string_view s, bool hex = false) {
    if (s.empty()) return false;
    for (char c : s) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit && !(hex && c >= 'A' && c <= 'F')) return false;
    }
    return true;
}

inline bool IsInteger(std::string_view s, std::int64_t lo, std::int64_t hi) {
    std::int64_t v = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    const std::string_view digits = s.starts_with('-') ? s.substr(1) : s;
    return ec == std::errc() && ptr == s.data() + s.size() && AllDigits(digits) && v >= lo &&
           v <= hi;
}

inline bool IsInt32(std::string_view s) { return IsInteger(s, INT32_MIN, INT32_MAX); }

inline bool IsHex32(std::string_view s) { return AllDigits(s, true) && s.size() <= 8; }

// -?D+(.D+)?(E-?D+)? and finite.
inline bool IsNumber(std::string_view s) {
    std::string_view rest = s.starts_with('-') ? s.substr(1) : s;
    const std::size_t e = rest.find('E');
    std::string_view mantissa = rest.substr(0, e);
    if (e != std::string_view::npos) {
        std::string_view exponent = rest.substr(e + 1);
        if (exponent.starts_with('-')) exponent.remove_prefix(1);
        if (!AllDigits(exponent)) return false;
    }
    const std::size_t dot = mantissa.find('.');
    if (!AllDigits(mantissa.substr(0, dot))) return false;
    if (dot != std::string_view::npos && !AllDigits(mantissa.substr(dot + 1))) return false;
    std::string text(s);
    for (char& c : text)
        if (c == 'E') c = 'e';
    double v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() && ptr == text.data() + text.size() && std::isfinite(v);
}

// Fields split at single spaces; an empty field (double or trailing space)
// makes the line invalid, so it yields nothing.
inline std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t sp = line.find(' ');
        fields.push_back(line.substr(0, sp));
        if (fields.back().empty()) return {};
        if (sp == std::string_view::npos) return fields;
        line.remove_prefix(sp + 1);
    }
}

inline bool AllNumbers(const std::vector<std::string_view>& f, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (!IsNumber(f[i])) return false;
    return true;
}

enum class Vocabulary { Drawing, WithWriteBack };

inline bool IsElementLine(const std::vector<std::string_view>& f) {
    const std::string_view k = f[0];
    const std::size_t n = f.size();
    if (k == "ci") return n == 8 && AllNumbers(f, 1, n);
    if (k == "sl") return (n == 7 || n == 9) && AllNumbers(f, 1, n);
    if (k == "so") return n == 9 && AllNumbers(f, 1, n);
    if (k == "sc") {
        return n == 9 && AllNumbers(f, 1, 8) &&
               std::ranges::any_of(kSolidArcCodes,
                                   [&](std::int32_t code) { return f[8] == std::to_string(code); });
    }
    return n == 4 && AllNumbers(f, 0, n);
}

inline bool IsAttributeLine(std::string_view line) {
    if (line == "bz") return true;
    if (line.size() < 2) return false;
    if (line.starts_with("lc10 ")) return IsInteger(line.substr(5), 0, kMaxRgb);
    const std::string_view key = line.substr(0, 2), value = line.substr(2);
    if (key == "lg" || key == "ly") return IsHex32(value);
    if (key == "lc" || key == "lt") return IsInt32(value);
    if (key == "lw") return IsInteger(value, 0, kMaxLineWidth);
    return false;
}

inline bool IsMessageLine(std::string_view line) { return line.starts_with("he"); }
inline bool IsNoticeLine(std::string_view line) { return line.starts_with("h#"); }

inline bool IsTextLine(std::string_view line) {
    static constexpr std::string_view kKeywords[] = {"ch", "cv", "cs", "cr", "co",
                                                     "cp", "ct", "ck", "cz", "c2"};
    const std::size_t quote = line.find(" \"");
    if (quote == std::string_view::npos) return false;
    const std::vector<std::string_view> f = Fields(line.substr(0, quote));
    if (f.size() != 5 || !AllNumbers(f, 1, 5)) return false;
    for (std::string_view k : kKeywords)
        if (f[0] == k) return true;
    return false;
}

inline bool IsWriteBackAttributeLine(std::string_view line) {
    if (line.starts_with("cn\"$")) return line.size() > 4;
    if (line.starts_with("cc")) return IsInteger(line.substr(2), 0, 8);
    if (line.starts_with("pn")) return IsInt32(line.substr(2));
    if (line.starts_with("cn0 ")) {
        const std::vector<std::string_view> f = Fields(line);
        return f.size() == 5 && AllNumbers(f, 1, 4) && IsInt32(f[4]);
    }
    if (line.starts_with("cn")) return IsInteger(line.substr(2), 1, 10);
    return false;
}

inline bool IsWriteBackElementLine(const std::vector<std::string_view>& f) {
    const std::string_view k = f[0];
    const std::size_t n = f.size();
    if (k == "ci") return n == 4 && AllNumbers(f, 1, n);
    if (k == "sl") return n == 5 && AllNumbers(f, 1, n);
    if (k == "se" || k == "sg") {
        std::vector<std::string_view> same = f;
        same[0] = k == "se" ? "sc" : "so";
        return IsElementLine(same);
    }
    if (k == "pt") {
        return (n == 3 && AllNumbers(f, 1, n)) || (n == 6 && AllNumbers(f, 1, 5) && IsInt32(f[5]));
    }
    return false;
}

// One line without its CR LF.
inline bool IsCommandLine(std::string_view line, Vocabulary v = Vocabulary::Drawing) {
    if (line.size() > kMaxLineBytes) return false;
    if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
    if (IsMessageLine(line) || IsNoticeLine(line)) return true;
    if (IsAttributeLine(line)) return true;
    if (v == Vocabulary::WithWriteBack) {
        if (IsTextLine(line) || IsWriteBackAttributeLine(line)) return true;
    }
    const std::vector<std::string_view> f = Fields(line);
    if (f.empty()) return false;
    return IsElementLine(f) || (v == Vocabulary::WithWriteBack && IsWriteBackElementLine(f));
}

// A whole output file; returns what is wrong with it, or "" when it is valid.
inline std::string CommandFileProblem(std::string_view bytes, Vocabulary v = Vocabulary::Drawing) {
    if (!bytes.empty() && !bytes.ends_with("\r\n")) return "does not end with CR LF";
    std::size_t lineNo = 0;
    bool message = false, notice = false;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find("\r\n");
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end + 2);
        ++lineNo;
        if (!IsCommandLine(line, v))
            return "line " + std::to_string(lineNo) +
                   " invalid: " + std::string(line.substr(0, 80));
        if (notice) return "a line after the notice";
        message = message || IsMessageLine(line);
        notice = IsNoticeLine(line);
    }
    if (message && lineNo != 1) return "a message line among other lines";
    return "";
}

}  // namespace tesra::grammar
