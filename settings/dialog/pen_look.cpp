// The screen colours and dash patterns of the host's pens.
#include "settings/dialog/pen_look.h"

#include <array>

#include "figures/pen_target.h"

namespace tesra {
namespace {

constexpr std::int32_t Bgr(int r, int g, int b) { return (b << 16) | (g << 8) | r; }

// Index = the `lc` number. Hues after the host's usual screen defaults as far
// as they are known here (水色, 黒, 緑, 黄, マゼンタ, 青, 深緑, 赤, a pale pink
// for 補助線色; the user's host may be set otherwise), each dark enough to
// show on white.
constexpr std::array<std::int32_t, kMostPenColor + 1> kScreenColors = {
    0,
    Bgr(0, 160, 210),    // 線色1
    Bgr(0, 0, 0),        // 線色2
    Bgr(0, 150, 0),      // 線色3
    Bgr(190, 150, 0),    // 線色4
    Bgr(210, 0, 210),    // 線色5
    Bgr(0, 0, 230),      // 線色6
    Bgr(0, 120, 120),    // 線色7
    Bgr(220, 0, 0),      // 線色8
    Bgr(230, 120, 170),  // 補助線色
};

// Index = the `lt` number. Dotted lines by the length of their dashes, chains
// by a long dash and one or two dots.
constexpr int kDotted1[] = {6, 3};
constexpr int kDotted2[] = {3, 3};
constexpr int kDotted3[] = {1, 3};
constexpr int kChain1[] = {12, 3, 2, 3};
constexpr int kChain2[] = {20, 4, 2, 4};
constexpr int kDoubleChain1[] = {12, 3, 2, 3, 2, 3};
constexpr int kDoubleChain2[] = {20, 4, 2, 4, 2, 4};
constexpr int kAuxiliary[] = {2, 2};
const std::array<std::span<const int>, kMostPenLineType + 1> kDashes = {
    std::span<const int>{},
    std::span<const int>{},  // current, 実線
    kDotted1,
    kDotted2,
    kDotted3,
    kChain1,
    kChain2,
    kDoubleChain1,
    kDoubleChain2,
    kAuxiliary,
};

}  // namespace

PenLook LookOfPen(RowPen pen) {
    PenLook look;
    if (pen.color >= 1 && pen.color <= kMostPenColor)
        look.bgr = kScreenColors[static_cast<std::size_t>(pen.color)];
    if (pen.lineType >= 1 && pen.lineType <= kMostPenLineType)
        look.dashes = kDashes[static_cast<std::size_t>(pen.lineType)];
    return look;
}

}  // namespace tesra
