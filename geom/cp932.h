#pragma once
// Byte-level constants of the Shift-JIS (CP932) text the host reads and
// writes. Everything in files is CP932; these are the few places where the
// program compares bytes itself.

#include <string_view>

namespace tesra::cp932 {

// A lead byte and the byte after it form one double-byte character.
constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD);
}

inline constexpr std::string_view kIdeographicSpace = "\x81\x40";  // "　"
inline constexpr std::string_view kFullWidthOne = "\x82\x50";      // "１"
inline constexpr std::string_view kWhiteCircle = "\x81\x9B";       // "○"
inline constexpr std::string_view kShin = "\x90\x5E";              // "真"
inline constexpr std::string_view kSei = "\x90\xB3";               // "正"

}  // namespace tesra::cp932
