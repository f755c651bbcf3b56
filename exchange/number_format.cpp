// Reals are rounded to 15 significant digits. Most coordinates take an exact
// integer path: x = m * 2^q scaled by 10^k is (m * 5^k) * 2^(q + k), one
// 128-bit product and a shift, rounded by the bits shifted out. Magnitudes
// outside that path go through std::to_chars, which gives the same digits.

#include "exchange/number_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstring>

namespace tesra {
namespace {

__extension__ typedef unsigned __int128 Uint128;

constexpr int kSignificantDigits = 15;
constexpr std::uint64_t kSmallest15Digits = 100'000'000'000'000;  // 10^14
constexpr std::uint64_t kPast15Digits = 10 * kSmallest15Digits;

// x = 0.d1d2…dk x 10^e after rounding to 15 significant digits. The digits
// are ASCII bytes in one 128-bit value, d1 lowest: the text is then laid out
// by shifts and masks in registers and a few fixed-size stores.
static_assert(std::endian::native == std::endian::little);
struct Decimal {
    Uint128 digits = 0;
    int count = 0;  // trailing zeros dropped
    int e = 0;
};

constexpr std::uint64_t kAsciiZeros = 0x3030'3030'3030'3030;

// The eight decimal digits of v < 10^8 as one byte each, the first lowest:
// two lanes of four digits, split into lanes of two, then of one.
[[gnu::always_inline]] inline std::uint64_t EightDigits(std::uint32_t v) {
    std::uint64_t lanes = (v / 10000) | (static_cast<std::uint64_t>(v % 10000) << 32);
    std::uint64_t high = ((lanes * 10486) >> 20) & 0x0000'007F'0000'007F;  // / 100
    lanes = high | ((lanes - high * 100) << 16);
    high = ((lanes * 103) >> 10) & 0x000F'000F'000F'000F;  // / 10
    return high | ((lanes - high * 10) << 8);
}

// n has exactly 15 digits.
[[gnu::always_inline]] inline Decimal DecimalOf(std::uint64_t n, int e) {
    const std::uint64_t first = EightDigits(static_cast<std::uint32_t>(n / 100'000'000));
    const std::uint64_t last = EightDigits(static_cast<std::uint32_t>(n % 100'000'000));
    // first holds a leading zero digit before the seven that n has there.
    const int trailingZeros =
        last != 0 ? std::countl_zero(last) / 8 : 8 + std::countl_zero(first) / 8;
    Decimal d;
    d.digits = ((static_cast<Uint128>(last) << 56) | (first >> 8)) +
               ((static_cast<Uint128>(kAsciiZeros) << 56) | (kAsciiZeros >> 8));
    d.count = kSignificantDigits - trailingZeros;
    d.e = e;
    return d;
}

// 5^27 < 2^63, so m * 5^k fits 116 bits for every k in the table.
constexpr int kMaxScale = 27;
constexpr std::array<std::uint64_t, kMaxScale + 1> kPowersOf5 = [] {
    std::array<std::uint64_t, kMaxScale + 1> powers{};
    powers[0] = 1;
    for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 5;
    return powers;
}();

// floor(b * log10(2)), exact for the exponents used here.
int FloorLog10Pow2(int b) { return (b * 78913) >> 18; }

// The exact path for magnitudes from about 1e-13 up to 1e15: false outside it.
[[gnu::always_inline]] inline bool RoundedByIntegers(double magnitude, Decimal& d) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = static_cast<int>(bits >> 52);
    if (biased == 0 || biased == 0x7FF) return false;  // subnormal, infinite, NaN
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int q = biased - 1075;  // magnitude = m * 2^q
    // 2^b <= magnitude < 2^(b+1): floor(log10) is this or one more.
    int exp10 = FloorLog10Pow2(biased - 1023);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = kSignificantDigits - 1 - exp10;
        const int shift = -(q + k);
        if (k < 0 || k > kMaxScale || shift <= 0 || shift >= 128) return false;
        const Uint128 scaled = static_cast<Uint128>(m) * kPowersOf5[static_cast<std::size_t>(k)];
        // magnitude * 10^k, truncated
        std::uint64_t n = static_cast<std::uint64_t>(scaled >> shift);
        if (n >= kPast15Digits) {
            ++exp10;
            continue;
        }
        if (n < kSmallest15Digits) {
            --exp10;
            continue;
        }
        // The bits shifted out, moved up to the top: a half is then the top bit alone.
        const Uint128 rest = scaled << (128 - shift);
        const Uint128 half = Uint128{1} << 127;
        if (rest > half || (rest == half && (n & 1) != 0)) ++n;
        if (n == kPast15Digits) {
            n = kSmallest15Digits;
            ++exp10;
        }
        d = DecimalOf(n, exp10 + 1);
        return true;
    }
    return false;
}

Decimal DecimalByToChars(double magnitude) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, magnitude,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const char* end = result.ptr;  // d.ddddddddddddddde±XX
    const char* ePos = std::find(static_cast<const char*>(buf), end, 'e');
    char digits[sizeof(Uint128)] = {};
    Decimal d;
    for (const char* p = buf; p != ePos && d.count < kSignificantDigits; ++p)
        if (*p != '.') digits[d.count++] = *p;
    while (d.count > 1 && digits[d.count - 1] == '0') --d.count;
    std::memcpy(&d.digits, digits, sizeof digits);
    int exponent = 0;
    const char* expText = ePos == end ? end : ePos + 1;
    if (expText != end && *expText == '+') ++expText;
    std::from_chars(expText, end, exponent);
    d.e = exponent + 1;
    return d;
}

// Stores all 16 bytes of v; the caller keeps the first `length`.
char* Store(char* out, Uint128 v, int length) {
    std::memcpy(out, &v, sizeof v);
    return out + length;
}

constexpr Uint128 kAsciiZeros128 = (static_cast<Uint128>(kAsciiZeros) << 64) | kAsciiZeros;
constexpr Uint128 kZeroPoint = (kAsciiZeros128 & ~Uint128{0xFF00}) | Uint128{'.'} << 8;  // "0.000…"

// The digits with a point after the first `point` of them (1..15).
Uint128 WithPoint(Uint128 digits, int point) {
    const Uint128 head = (Uint128{1} << (8 * point)) - 1;
    return (digits & head) | (Uint128{'.'} << (8 * point)) | ((digits & ~head) << 8);
}

// Room: 16 bytes past the start of every store, within kMaxNumberText (at
// most 16 + 16 here, the sign included).
char* WriteFixed(char* out, const Decimal& d) {
    if (d.e <= 0) {  // 0.000ddd, at most three zeros
        Store(out, kZeroPoint, 2 - d.e);
        return Store(out + 2 - d.e, d.digits, d.count);
    }
    if (d.count <= d.e) {  // an integer: the digits and then zeros up to e
        Store(out, d.digits, d.count);
        return Store(out + d.count, kAsciiZeros128, d.e - d.count);
    }
    // All the digits, then those after the point moved one place on to make
    // room for it: two plain stores instead of shifting 128 bits.
    Store(out, d.digits, kSignificantDigits);
    Uint128 fraction;
    std::memcpy(&fraction, out + d.e, sizeof fraction);
    Store(out + d.e + 1, fraction, 0);
    out[d.e] = '.';
    return out + d.count + 1;
}

char* WriteExponent(char* out, const Decimal& d) {
    out = d.count > 1 ? Store(out, WithPoint(d.digits, 1), d.count + 1) : Store(out, d.digits, 1);
    *out++ = 'E';
    return WriteInt(out, d.e - 1);
}

char* WriteDecimal(char* out, const Decimal& d) {
    return d.e >= -3 && d.e <= 15 ? WriteFixed(out, d) : WriteExponent(out, d);
}

template <bool kFast>
char* WriteRealWith(char* out, double x) {
    if (x == 0.0) {  // also -0
        *out++ = '0';
        return out;
    }
    if (x < 0) {
        *out++ = '-';
        x = -x;
    }
    Decimal d;
    if (!kFast || !RoundedByIntegers(x, d)) d = DecimalByToChars(x);
    return WriteDecimal(out, d);
}

}  // namespace

char* WriteReal(char* out, double x) { return WriteRealWith<true>(out, x); }

char* WriteRealByToChars(char* out, double x) { return WriteRealWith<false>(out, x); }

char* RealTextCache::Write(char* out, double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    Slot& slot = slots_[(bits * 0x9E37'79B9'7F4A'7C15) >> 56];  // Fibonacci hashing
    // out has room for kMaxNumberText, so whole slots are copied without
    // counting; the longest text is 22 bytes ("-1.23456789012345E-300").
    static_assert(sizeof Slot::text < kMaxNumberText);
    if (slot.bits == bits && slot.length != 0) {
        std::memcpy(out, slot.text, sizeof slot.text);
        return out + slot.length;
    }
    char* end = WriteReal(out, x);
    const auto length = static_cast<std::size_t>(end - out);
    if (length <= sizeof slot.text) {
        slot.bits = bits;
        slot.length = static_cast<std::uint8_t>(length);
        std::memcpy(slot.text, out, sizeof slot.text);
    }
    return end;
}

char* WriteInt(char* out, std::int32_t v) {
    return std::to_chars(out, out + kMaxNumberText, v).ptr;
}

char* WriteHex(char* out, std::int32_t v) {
    // Layer numbers are 0..15; a negative value is written as its bit pattern.
    char* end = std::to_chars(out, out + kMaxNumberText, static_cast<std::uint32_t>(v), 16).ptr;
    for (char* p = out; p != end; ++p)
        if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
    return end;
}

void AppendReal(std::string& out, double x) {
    char buf[kMaxNumberText];
    out.append(buf, WriteReal(buf, x));
}

std::string FormatReal(double x) {
    std::string out;
    AppendReal(out, x);
    return out;
}

void AppendInt(std::string& out, std::int32_t v) {
    char buf[kMaxNumberText];
    out.append(buf, WriteInt(buf, v));
}

void AppendHex(std::string& out, std::int32_t v) {
    char buf[kMaxNumberText];
    out.append(buf, WriteHex(buf, v));
}

}  // namespace tesra
