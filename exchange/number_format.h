#pragma once
// Numbers as the host reads them: reals in the general decimal form with at
// most 15 significant digits, "." whatever the locale.

#include <cstdint>
#include <string>

namespace tesra {

// Appends x: fixed notation for decimal exponents -3..15 (of 0.d1d2… x 10^e),
// otherwise "2.5E20" / "1E-5"; "-0" is "0". x must be finite.
void AppendReal(std::string& out, double x);
std::string FormatReal(double x);

void AppendInt(std::string& out, std::int32_t v);
// Upper-case hexadecimal without leading zeros, as layer numbers are written.
void AppendHex(std::string& out, std::int32_t v);

}  // namespace tesra
