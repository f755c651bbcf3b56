#pragma once
// What the figure generator draws: one pattern row. The store keeps twelve of
// them, the dialog edits them, the generator lays them along spans.

#include <cstdint>

namespace tesra {

// The codes are the item indexes of the dialog's drop-down lists. Fields stay
// plain integers: a hand-edited store may hold any value, which must read back
// and save unchanged; the generator treats unknown codes as stated below.
inline constexpr std::int32_t kPlaceByInterval = 0;  // "間隔指定"
inline constexpr std::int32_t kPlaceEvenly = 1;      // "均等配置" (any other value too)

inline constexpr std::int32_t kBaseTop = 0;     // "上": the span on the band's top edge
inline constexpr std::int32_t kBaseMiddle = 1;  // "中"
inline constexpr std::int32_t kBaseBottom = 2;  // "下" (any other value too)

inline constexpr std::int32_t kGuideNone = 0;  // "なし" (any other value too)
inline constexpr std::int32_t kGuideGap = 1;   // "間隔": across the gaps between figures
inline constexpr std::int32_t kGuideFull = 2;  // "全長": along the whole span

struct PatternRow {
    std::int32_t figureKind = 0;
    double width = 10.0;
    double height = 10.0;
    std::int32_t placement = kPlaceByInterval;
    double interval = 0.0;
    std::int32_t basePoint = kBaseMiddle;
    std::int32_t upperLine = kGuideNone;
    std::int32_t middleLine = kGuideNone;
    std::int32_t lowerLine = kGuideNone;

    bool operator==(const PatternRow&) const = default;
};

}  // namespace tesra
