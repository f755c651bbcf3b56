#pragma once
// The real-number formatter as it was before the exact integer path: the
// oracle that the differential checks (tests, benchmark, fuzzer) hold the
// production formatter to. Deliberately left as it was, slow as it is.

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace tesra::reference {

struct Decimal {
    std::string digits;
    int e = 0;
};

inline Decimal ToDecimal(double magnitude) {
    char buf[64];
    auto result =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    std::string_view text(buf, static_cast<std::size_t>(result.ptr - buf));  // d.ddde±XX
    const std::size_t ePos = text.find('e');
    Decimal d;
    for (char c : text.substr(0, ePos))
        if (c != '.') d.digits += c;
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    int exponent = 0;
    std::string_view expText = text.substr(ePos + 1);
    if (!expText.empty() && expText[0] == '+') expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    d.e = exponent + 1;
    return d;
}

inline void AppendFixed(std::string& out, const Decimal& d) {
    const int k = static_cast<int>(d.digits.size());
    if (d.e <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-d.e), '0');
        out += d.digits;
        return;
    }
    if (k <= d.e) {
        out += d.digits;
        out.append(static_cast<std::size_t>(d.e - k), '0');
        return;
    }
    out.append(d.digits, 0, static_cast<std::size_t>(d.e));
    out += '.';
    out.append(d.digits, static_cast<std::size_t>(d.e));
}

inline void AppendExponent(std::string& out, const Decimal& d) {
    out += d.digits[0];
    if (d.digits.size() > 1) {
        out += '.';
        out.append(d.digits, 1);
    }
    out += 'E';
    char buf[16];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, d.e - 1).ptr);
}

inline std::string FormatReal(double x) {
    std::string out;
    if (x == 0.0) return "0";
    if (x < 0) out += '-';
    const Decimal d = ToDecimal(x < 0 ? -x : x);
    if (d.e >= -3 && d.e <= 15)
        AppendFixed(out, d);
    else
        AppendExponent(out, d);
    return out;
}

}  // namespace tesra::reference
