// One output line of numbers built in place, with no allocation.
#include "exchange/numeric_line.h"

#include <algorithm>

namespace tesra {

NumericLine::NumericLine(std::string_view keywordLiteral, std::initializer_list<double> values)
    : keyword(keywordLiteral) {
    realCount = static_cast<std::uint8_t>(std::min(values.size(), reals.size()));
    std::copy_n(values.begin(), realCount, reals.begin());
}

namespace {

template <typename RealWriter>
char* WriteFields(char* out, std::string_view keyword, std::span<const double> reals,
                  const std::int32_t* code, RealWriter writeReal) {
    // std::copy, not memcpy: an empty keyword may have no data pointer at all.
    out = std::copy(keyword.begin(), keyword.end(), out);
    for (std::size_t i = 0; i < reals.size(); ++i) {
        if (i > 0) *out++ = ' ';
        out = writeReal(out, reals[i]);
    }
    if (code != nullptr) {
        *out++ = ' ';
        out = WriteInt(out, *code);
    }
    return out;
}

}  // namespace

char* WriteNumericLine(char* out, const NumericLine& line) {
    return WriteFields(out, line.keyword, std::span(line.reals).first(line.realCount),
                       line.hasCode ? &line.code : nullptr, WriteReal);
}

char* WriteNumericLine(char* out, std::string_view keyword, std::span<const double> reals,
                       const std::int32_t* code, RealTextCache& cache) {
    return WriteFields(out, keyword, reals, code,
                       [&cache](char* at, double x) { return cache.Write(at, x); });
}

}  // namespace tesra
