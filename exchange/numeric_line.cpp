// One output line of numbers built in place, with no allocation.
#include "exchange/numeric_line.h"

#include <algorithm>

#include "exchange/number_format.h"

namespace tesra {

NumericLine::NumericLine(std::string_view keywordLiteral, std::initializer_list<double> values)
    : keyword(keywordLiteral) {
    realCount = static_cast<std::uint8_t>(std::min(values.size(), reals.size()));
    std::copy_n(values.begin(), realCount, reals.begin());
}

char* WriteNumericLine(char* out, const NumericLine& line) {
    // std::copy, not memcpy: an empty keyword may have no data pointer at all.
    out = std::copy(line.keyword.begin(), line.keyword.end(), out);
    for (std::size_t i = 0; i < line.realCount; ++i) {
        if (i > 0) *out++ = ' ';
        out = WriteReal(out, line.reals[i]);
    }
    if (line.hasCode) {
        *out++ = ' ';
        out = WriteInt(out, line.code);
    }
    return out;
}

}  // namespace tesra
