// The number formatter against the former one, over every power of ten,
// constructed ties and as many random doubles as asked (10^8 in bench/run.sh),
// on every core. Prints the first differences; exits 1 if there is any.
//   number_format_check [RANDOM_VALUES]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "exchange/number_format.h"
#include "exchange/number_format_cases.h"
#include "exchange/number_format_reference.h"

namespace {

struct Tally {
    std::atomic<std::uint64_t> checked{0};
    std::atomic<std::uint64_t> differences{0};
    std::mutex print;
};

void Check(double x, Tally& tally) {
    char buf[tesra::kMaxNumberText];
    const std::string got(buf, tesra::WriteReal(buf, x));
    const std::string expected = tesra::reference::FormatReal(x);
    if (got == expected) return;
    if (tally.differences++ < 20) {
        const std::lock_guard<std::mutex> lock(tally.print);
        std::printf("DIFFERENT %.17g (%a): %s, the former formatter %s\n", x, x, got.c_str(),
                    expected.c_str());
    }
}

void CheckAll(const std::vector<double>& values, Tally& tally) {
    for (double x : values) Check(x, tally);
    tally.checked += values.size();
}

void CheckRandom(std::uint64_t seed, std::uint64_t count, Tally& tally) {
    std::mt19937_64 rng(seed);
    for (std::uint64_t i = 0; i < count; ++i) Check(tesra::test::RandomDouble(rng), tally);
    tally.checked += count;
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t randomValues = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100'000'000;
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    const auto start = std::chrono::steady_clock::now();
    Tally tally;
    CheckAll(tesra::test::PowersOfTen(), tally);
    const std::uint64_t constructed = tally.checked;
    CheckAll(tesra::test::Ties(7, 200), tally);
    const std::uint64_t ties = tally.checked - constructed;
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t)
        workers.emplace_back(CheckRandom, 1000 + t,
                             randomValues / threads + (t < randomValues % threads),
                             std::ref(tally));
    for (std::thread& w : workers) w.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "number format: %llu values (%llu powers of ten and neighbours, %llu ties and "
        "neighbours, %llu random) in %.1f s: %llu different from the former formatter\n",
        static_cast<unsigned long long>(tally.checked.load()),
        static_cast<unsigned long long>(constructed), static_cast<unsigned long long>(ties),
        static_cast<unsigned long long>(randomValues), seconds,
        static_cast<unsigned long long>(tally.differences.load()));
    return tally.differences == 0 ? 0 : 1;
}
