#pragma once
// What the figure generator draws: one pattern row. The store keeps twelve of
// them, the dialog edits them, the generator lays them along spans.

#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/draw_target.h"

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

// Settings kept in the store's [extension] section, one `rowN.key=value` line
// each. Codes other than those below read as the default (0).
inline constexpr std::int32_t kArrangePerSide = 0;  // "辺ごと": each side on its own
inline constexpr std::int32_t kArrangeThrough = 1;  // "通し": one rhythm along each run
inline constexpr std::int32_t kArrangeCorners = 2;  // "角に合わせる": a figure on every corner

inline constexpr std::int32_t kSideAsGiven = 0;  // "基準点のまま"
inline constexpr std::int32_t kSideInside = 1;   // "内側" of a closed path
inline constexpr std::int32_t kSideOutside = 2;  // "外側" of a closed path

inline constexpr std::int32_t kOrientAlongPath = 0;  // "経路に沿う"
inline constexpr std::int32_t kOrientUpright = 1;    // "正立": the page's orientation

inline constexpr std::int32_t kRowRule = 0;   // a decorative rule
inline constexpr std::int32_t kRowSlope = 1;  // 法面 ticks

inline constexpr std::int32_t kBendRigid = 0;  // a figure placed whole and turned
inline constexpr std::int32_t kBendAlong = 1;  // "曲げる": a figure following the path's curves

inline constexpr std::int32_t kFitStretch = 0;  // a figure stretched to W x H
inline constexpr std::int32_t kFitUniform = 1;  // scaled alike both ways to fit in W x H

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

    // [extension] keys: arrangement, side, orientation, bend
    std::int32_t arrangement = kArrangePerSide;
    std::int32_t side = kSideAsGiven;
    std::int32_t orientation = kOrientAlongPath;
    std::int32_t bend = kBendRigid;  // kBendAlong: figures follow the path's curves

    // [extension] keys: kind, pitch, rhythm, short_ratio, tick_length, draw_top
    std::int32_t rowKind = kRowRule;
    double pitch = 2.0;         // between ticks along the top edge
    std::string rhythm = "LS";  // up to 8 of L (long) and S (short)
    double shortRatio = 0.5;    // a short tick's share of the local slope width
    double tickLength = 5.0;    // a long tick's length where there is no toe
    std::int32_t drawTop = 0;   // 1: the top edge itself is drawn too

    // [extension] keys: figure_b, width_b, height_b, sequence
    std::int32_t figureB = 0;
    double widthB = 10.0;
    double heightB = 10.0;
    std::string sequence{};  // up to 8 of A and B; empty: A only

    // [extension] keys: fit, element_colors
    std::int32_t fit = kFitStretch;  // own figures: stretched or scaled uniformly
    std::int32_t elementColors = 0;  // own figures: 1 draws outlines in each element's own pen

    // [extension] keys: figure_color … lower_linetype. The pen of each part:
    // the host's `lc` and `lt` numbers, kCurrentPen for the pen the host
    // passed in (PenOf gathers them).
    std::int32_t figureColor = kCurrentPen;
    std::int32_t figureLineType = kCurrentPen;
    std::int32_t upperColor = kCurrentPen;
    std::int32_t upperLineType = kCurrentPen;
    std::int32_t middleColor = kCurrentPen;
    std::int32_t middleLineType = kCurrentPen;
    std::int32_t lowerColor = kCurrentPen;
    std::int32_t lowerLineType = kCurrentPen;

    bool operator==(const PatternRow&) const = default;
};

inline RowPen PenOf(const PatternRow& row, RowPart part) {
    switch (part) {
        case RowPart::Figures: return {row.figureColor, row.figureLineType};
        case RowPart::Upper: return {row.upperColor, row.upperLineType};
        case RowPart::Middle: return {row.middleColor, row.middleLineType};
        case RowPart::Lower: return {row.lowerColor, row.lowerLineType};
    }
    return {};
}

// What a rhythm, a sequence and a short ratio may be, for the store that
// reads them and the layout that draws them alike; anything else is taken as
// the default.
inline constexpr std::size_t kMostRhythmLetters = 8;
inline constexpr std::size_t kMostSequenceLetters = 8;
inline bool IsRhythm(std::string_view r) {
    return !r.empty() && r.size() <= kMostRhythmLetters && r.find_first_not_of("LS") == r.npos;
}
inline bool IsSequence(std::string_view s) {
    return s.size() <= kMostSequenceLetters && s.find_first_not_of("AB") == s.npos;
}
// Which figures a row draws: A alone without a (valid) sequence; otherwise
// those its sequence names, so that `B` or `BB` draws B alone.
inline bool DrawsFigureB(const PatternRow& row) {
    return IsSequence(row.sequence) && row.sequence.find('B') != std::string::npos;
}
inline bool DrawsFigureA(const PatternRow& row) {
    return !DrawsFigureB(row) || row.sequence.find('A') != std::string::npos;
}
inline bool IsValidRatio(double v) { return v > 0 && v <= 1; }  // above 0, at most 1

}  // namespace tesra
