// Splitting is described with the exchange file's format at the top of
// reader.cpp.

#include "exchange/line_tokens.h"

#include "geom/cp932.h"

namespace tesra {
namespace {

bool IsSeparator(unsigned char b) { return b == ' ' || b == '\t'; }
bool IsKeptByte(unsigned char b) { return b >= 0x20 && b <= 0xFD; }

}  // namespace

LineTokens::LineTokens(std::string_view line) {
    kept_.reserve(line.size());
    std::size_t slot = 0;
    starts_[0] = 0;
    bool splitting = true;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto b = static_cast<unsigned char>(line[i]);
        if (cp932::IsLeadByte(b)) {
            if (i + 1 == line.size()) break;  // half a character: dropped
            kept_.append(line.substr(i, 2));
            ++i;
        } else if (splitting && b == '"') {
            splitting = false;
        } else if (splitting && b == '=') {
            kept_.push_back('=');
            splitting = false;
        } else if (splitting && IsSeparator(b)) {
            if (kept_.size() == starts_[slot]) continue;
            if (slot + 1 == kTokenSlots) break;
            starts_[++slot] = kept_.size();
        } else if (IsKeptByte(b)) {
            kept_.push_back(line[i]);
        }
    }
    count_ = slot + 1;
    starts_[count_] = kept_.size();
}

std::string_view LineTokens::operator[](std::size_t i) const {
    if (i >= count_) return {};
    return std::string_view(kept_).substr(starts_[i], starts_[i + 1] - starts_[i]);
}

}  // namespace tesra
