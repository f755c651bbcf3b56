#pragma once
// Between the exchange reader and the element store: one line split into
// tokens the host's way, and the element lines the reader hands over.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "exchange/exchange_state.h"

namespace tesra {

// The host never writes more tokens on a line; any further ones are dropped.
inline constexpr std::size_t kTokenSlots = 400;

// The tokens of one line (the rules are described at the top of reader.cpp).
// Keeps its own copy of the kept bytes, so a token is only valid while the
// LineTokens lives.
class LineTokens {
public:
    explicit LineTokens(std::string_view line);

    // At least 1: a line without tokens has one empty token.
    std::size_t size() const { return count_; }
    // Empty past the last token, so that a missing number reads as 0.
    std::string_view operator[](std::size_t i) const;

private:
    std::string kept_;
    // starts_[k] is where token k begins in kept_; starts_[count_] is its end.
    // Deliberately not zeroed: a line is parsed per call, millions of times.
    std::array<std::size_t, kTokenSlots + 1> starts_;
    std::size_t count_ = 1;
};

// The element lines of the reader's rule table, numbered as there.
enum class ElementRule : int {
    Circle = 29,         // "ci", 4 tokens
    Arc = 30,            // "ci", 8 or more
    Text = 31,           // "ch" "cv" "cs" "cr" "co" "cp" "ct" "ck" "cz" "c2", 6 or more
    Point = 32,          // "pt", 3
    PointWithData = 33,  // "pt", 6 or more
    Block = 34,          // "BL", 4 or more
    Solid2 = 35,         // "sl", 5
    Solid3 = 36,         // "sl", 7
    Solid4 = 37,         // "sl", 9 or more
    SolidScSe = 38,      // "sc" / "se", 9 or more
    SolidSoSg = 39,      // "so" / "sg", 9 or more
    Line = 40,           // any other keyword, 4 tokens: token 0 is the first number
};

// Stores the element of a line the reader matched to `rule`, taking its
// header from the state as it is now.
void StoreElementLine(ExchangeState& state, ElementRule rule, const LineTokens& tokens);

}  // namespace tesra
