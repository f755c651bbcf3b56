#pragma once
// An element command kept as numbers until it is written, so that a sink can
// format it later, on another thread: the keyword, up to eight reals and an
// optional integer last ("sc" codes).

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "exchange/number_format.h"

namespace tesra {

struct NumericLine {
    std::string_view keyword;  // a literal with its space ("ci "), or empty
    std::array<double, 8> reals{};
    std::uint8_t realCount = 0;
    bool hasCode = false;
    std::int32_t code = 0;

    NumericLine() = default;
    NumericLine(std::string_view keywordLiteral, std::initializer_list<double> values);
};

// The longest text: a keyword of three bytes, eight reals of at most 22 bytes
// and their separators; far below the 255 bytes of an output line.
inline constexpr std::size_t kMaxNumericLineText = 3 + 8 * 23 + 12;

// Writes the line's text at out (room for kMaxNumericLineText + 16 bytes) and
// returns its end: fields separated by one space, no trailing space.
char* WriteNumericLine(char* out, const NumericLine& line);

// The same text from the line's parts (code: null when the line has none),
// the reals through a formatting thread's cache.
char* WriteNumericLine(char* out, std::string_view keyword, std::span<const double> reals,
                       const std::int32_t* code, RealTextCache& cache);

}  // namespace tesra
