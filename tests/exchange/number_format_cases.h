#pragma once
// Doubles that find the faults of a 15-digit formatter, shared by the unit
// test, the benchmark build's check over 10^8 values and the fuzzer: every
// power of ten with its neighbours, exact ties at the 15th digit with theirs,
// and random values both as raw bit patterns and as coordinates.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace tesra::test {

inline void WithNeighbours(std::vector<double>& out, double x) {
    for (double v : {x, std::nextafter(x, 0.0), std::nextafter(x, HUGE_VAL)})
        if (std::isfinite(v) && v != 0.0) {
            out.push_back(v);
            out.push_back(-v);
        }
}

// 1e-323 up to 1e308 as the nearest doubles, and the exact powers 10^0..10^22.
inline std::vector<double> PowersOfTen() {
    std::vector<double> out;
    for (int p = -323; p <= 308; ++p)
        WithNeighbours(out, std::strtod(("1e" + std::to_string(p)).c_str(), nullptr));
    double exact = 1;
    for (int p = 0; p <= 22; ++p, exact *= 10) WithNeighbours(out, exact);
    return out;
}

// x = m / 2^p with m odd has exactly p decimals, the last a 5; with 16
// significant digits it lies exactly halfway between two 15-digit values.
// Integers with 16 or 17 digits ending in 5 or 50 are ties the same way.
inline std::vector<double> Ties(std::uint64_t seed, int perScale) {
    std::mt19937_64 rng(seed);
    std::vector<double> out;
    for (int p = 1; p <= 1074; ++p) {
        const double low =
            std::ldexp(std::pow(10.0, 15 - p), p);  // m range for x in [10^(15-p), 10^(16-p))
        const double high = std::min(std::ldexp(std::pow(10.0, 16 - p), p), 0x1p53);
        if (!(low < high)) continue;
        std::uniform_real_distribution<double> pick(std::ceil(low), high);
        for (int i = 0; i < perScale; ++i) {
            std::uint64_t m = static_cast<std::uint64_t>(pick(rng)) | 1;
            if (static_cast<double>(m) >= high) m -= 2;
            WithNeighbours(out, std::ldexp(static_cast<double>(m), -p));
        }
    }
    std::uniform_int_distribution<std::uint64_t> digits15(100'000'000'000'000, 899'999'999'999'999);
    for (int i = 0; i < perScale * 20; ++i) {
        const std::uint64_t n = digits15(rng);
        WithNeighbours(out, static_cast<double>(n * 10 + 5));
        WithNeighbours(out, static_cast<double>(n * 100 + 50));
    }
    return out;
}

// Half raw bit patterns (any magnitude, subnormals too), half coordinates:
// a uniform mantissa at a decimal scale from 1e-15 to 1e17.
inline double RandomDouble(std::mt19937_64& rng) {
    const std::uint64_t bits = rng();
    if (bits & 1) {
        const double x = std::bit_cast<double>(rng());
        return std::isfinite(x) ? x : 1.0;
    }
    const int scale = static_cast<int>(bits >> 1 & 31) - 15;
    const double mantissa = std::ldexp(static_cast<double>(rng() >> 11), -53);  // [0, 1)
    const double x = (1 + 9 * mantissa) * std::pow(10.0, scale);
    return bits & 2 ? -x : x;
}

}  // namespace tesra::test
