#pragma once
// Numbers as the host reads them: reals in the general decimal form with at
// most 15 significant digits, "." whatever the locale.
//
// The Write… functions write at out, which must have room for kMaxNumberText
// bytes, and return the end; they never allocate.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tesra {

inline constexpr std::size_t kMaxNumberText = 32;

// Writes x: fixed notation for decimal exponents -3..15 (of 0.d1d2… x 10^e),
// otherwise "2.5E20" / "1E-5"; "-0" is "0". x must be finite. The 15 digits
// are x correctly rounded, an exact tie to the even last digit.
char* WriteReal(char* out, double x);
// The same text, always through the standard library's exact conversion: the
// slow path of WriteReal, kept callable for the checks that compare the two.
char* WriteRealByToChars(char* out, double x);

// WriteReal's text of the reals written lately, looked up by their bits. A
// drawing writes most coordinates more than once (the end of one line is the
// start of the next), so most reals are copied rather than formatted again.
// One per thread: it is not shared.
class RealTextCache {
public:
    char* Write(char* out, double x);

private:
    struct Slot {
        std::uint64_t bits = 0;
        char text[23] = {};
        std::uint8_t length = 0;  // 0: empty, no text is shorter than "0"
    };
    static_assert(sizeof(Slot) == 32);
    std::array<Slot, 256> slots_{};
};

char* WriteInt(char* out, std::int32_t v);
// Upper-case hexadecimal without leading zeros, as layer numbers are written.
char* WriteHex(char* out, std::int32_t v);

void AppendReal(std::string& out, double x);
std::string FormatReal(double x);
void AppendInt(std::string& out, std::int32_t v);
void AppendHex(std::string& out, std::int32_t v);

}  // namespace tesra
