#include "exchange/number_format.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace tesra {
namespace {

constexpr int kSignificantDigits = 15;

// The digits d1..dk (trailing zeros dropped) and e of x = 0.d1d2…dk x 10^e,
// after rounding |x| to 15 significant digits.
struct Decimal {
    std::string digits;
    int e = 0;
};

Decimal ToDecimal(double magnitude) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                kSignificantDigits - 1);
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

void AppendFixed(std::string& out, const Decimal& d) {
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

void AppendExponent(std::string& out, const Decimal& d) {
    out += d.digits[0];
    if (d.digits.size() > 1) {
        out += '.';
        out.append(d.digits, 1);
    }
    out += 'E';
    AppendInt(out, d.e - 1);
}

}  // namespace

void AppendReal(std::string& out, double x) {
    if (x == 0.0) {  // also -0
        out += '0';
        return;
    }
    if (x < 0) out += '-';
    const Decimal d = ToDecimal(x < 0 ? -x : x);
    if (d.e >= -3 && d.e <= 15)
        AppendFixed(out, d);
    else
        AppendExponent(out, d);
}

std::string FormatReal(double x) {
    std::string out;
    AppendReal(out, x);
    return out;
}

void AppendInt(std::string& out, std::int32_t v) {
    char buf[16];
    auto result = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, result.ptr);
}

void AppendHex(std::string& out, std::int32_t v) {
    char buf[16];
    // Layer numbers are 0..15; a negative value is written as its bit pattern.
    auto result = std::to_chars(buf, buf + sizeof buf, static_cast<std::uint32_t>(v), 16);
    for (char* p = buf; p != result.ptr; ++p)
        if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
    out.append(buf, result.ptr);
}

}  // namespace tesra
