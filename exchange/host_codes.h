#pragma once
// Codes and limits of the host's drawing commands, named once: the writer
// keeps to them, the reader and the picture tool read by them, and the output
// grammar of the tests checks them.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace tesra {

// The longest line the host reads back, in bytes before CR LF.
inline constexpr std::size_t kMaxOutputLine = 255;

// "lc10 rgb" sets the solid color; pen 10 then draws in it.
inline constexpr std::int32_t kSolidColorPen = 10;
// The largest solid color, 0x00BBGGRR.
inline constexpr std::int32_t kMaxRgb = 0xFFFFFF;
// The widest line "lw" the host takes.
inline constexpr std::int32_t kMaxLineWidth = 30000;

// Text lines: the keyword's position in this list is the text's direction code.
inline constexpr std::array<std::string_view, 10> kTextKeywords{"ch", "cv", "cs", "cr", "co",
                                                                "cp", "ct", "ck", "cz", "c2"};

// The last field of "sc": a whole ellipse, or a part of it whose second angle
// is the sweep from the first. 0 and -1 are the host's other two codes.
inline constexpr std::int32_t kFullEllipseCode = 100;
inline constexpr std::int32_t kHalfEllipseCode = 5;
inline constexpr std::int32_t kSolidArcCodes[] = {0, kHalfEllipseCode, kFullEllipseCode, -1};

constexpr bool IsSolidArcCode(std::int32_t code) {
    return std::find(std::begin(kSolidArcCodes), std::end(kSolidArcCodes), code) !=
           std::end(kSolidArcCodes);
}

}  // namespace tesra
