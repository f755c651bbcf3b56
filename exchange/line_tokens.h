#pragma once
// One line of the exchange file split into tokens the host's way (the rules
// are described at the top of reader.cpp).

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tesra {

// The next line of `bytes`, without its LF or CR LF, taken off their front: a
// last line without a line feed is a line too.
inline std::string_view TakeLine(std::string_view& bytes) {
    const std::size_t lf = bytes.find('\n');
    std::string_view line = bytes.substr(0, lf);
    bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

// The host never writes more tokens on a line; any further ones are dropped.
inline constexpr std::size_t kTokenSlots = 400;

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

}  // namespace tesra
