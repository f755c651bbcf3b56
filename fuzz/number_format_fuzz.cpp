// The number formatter against the former one. Every 8 bytes are a double:
// as its bit pattern, and turned into the values where a 15-digit formatter
// goes wrong: a tie at the 15th digit (m / 2^p with 16 significant digits),
// its neighbours, and a power of ten. Each value also goes through one cache
// of recent texts, kept over the whole input, which must give the same text
// whether it holds the value or another took its slot. Aborts on the first
// difference.

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "exchange/number_format.h"
#include "tests/exchange/number_format_reference.h"

namespace {

void Check(double x, tesra::RealTextCache& cache) {
    if (!std::isfinite(x)) return;
    char buf[tesra::kMaxNumberText];
    const std::string fast(buf, tesra::WriteReal(buf, x));
    const std::string exact(buf, tesra::WriteRealByToChars(buf, x));
    const std::string cached(buf, cache.Write(buf, x));
    const std::string former = tesra::reference::FormatReal(x);
    if (fast == former && exact == former && cached == former) return;
    std::fprintf(stderr, "%a: %s / %s / cached %s, the former formatter %s\n", x, fast.c_str(),
                 exact.c_str(), cached.c_str(), former.c_str());
    std::abort();
}

void CheckWithNeighbours(double x, tesra::RealTextCache& cache) {
    Check(x, cache);
    Check(std::nextafter(x, 0.0), cache);
    Check(std::nextafter(x, HUGE_VAL), cache);
}

// 16 significant digits ending in 5 when m is odd: exactly halfway.
double Tie(std::uint64_t bits) {
    const int p = static_cast<int>(bits % 1075);
    const double low = std::ldexp(std::pow(10.0, 15 - p), p);
    const double high = std::fmin(std::ldexp(std::pow(10.0, 16 - p), p), 0x1p53);
    if (!(low < high)) return 0;
    const double m = std::floor(low + (high - low) * static_cast<double>(bits >> 11) * 0x1p-53);
    return std::ldexp(std::fmod(m, 2) == 0 ? m + 1 : m, -p);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tesra::RealTextCache cache;
    for (std::size_t at = 0; at + 8 <= size; at += 8) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, data + at, 8);
        CheckWithNeighbours(std::bit_cast<double>(bits), cache);
        CheckWithNeighbours(Tie(bits), cache);
        CheckWithNeighbours(-std::pow(10.0, static_cast<double>(bits % 632) - 323), cache);
    }
    return 0;
}
