// The 107 figure kinds: their family table, names and width rule.
#include "figures/figures.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "figures/families.h"

namespace tesra {
namespace {

// The figure list as the settings dialog shows it; the index is the kind.
// "／／" and "＼＼" stand in it twice (12, 13 and 71, 72).
constexpr std::array<std::string_view, kFigureKindCount> kFigureNames = {
    // clang-format off
    "￣(上線)", "－(中線)", "＿(下線)", "二重線", "三重線", "四重線", "五重線", " ｜ ", "|　|", "|｜|", "／(右斜線)",
    "＼(左斜線)", "／／", "＼＼", "∠", "∠(左右反転)", "／|", "|＼", "／＼", "＼／", "△", "▽", "△(右)", "▽(右)",
    "△(左)", "▽(左)", "▲", "▼", "▲(右)", "▼(右)", "▲(左)", "▼(左)", "□", "＋", "×", "□＆＋", "□＆×", "■",
    "◇", "◇＆＋", "◆", "五角形", "五角形(塗)", "六角形1", "六角形2", "六角形1(塗)", "六角形2(塗)", "☆", "★", "○",
    "○(小)", "●", "●(小)", "◎", "◎(塗)", "半円1(上)", "半円1(下)", "半円1(左)", "半円1(右)", "半円2(上)",
    "半円2(下)", "半円2(左)", "半円2(右)", "＃", "＊", "［", "］", "＜", "＞", "≪", "≫", "／／", "＼＼", "∧∨",
    "∨∧", "∩∪1", "∪∩1", "∩∪2", "∪∩2", "弓形1(上)", "弓形1(下)", "弓形1(左)", "弓形1(右)", "弓形2(上)",
    "弓形2(下)", "弓形2(左)", "弓形2(右)", "＜(閉)", "＞(閉)", "≪(閉)", "≫(閉)", "／／(閉)", "＼＼(閉)", "弓塗1(上)",
    "弓塗1(下)", "弓塗1(左)", "弓塗1(右)", "弓塗2(上)", "弓塗2(下)", "弓塗2(左)", "弓塗2(右)", "＜(塗)", "＞(塗)",
    "≪(塗)", "≫(塗)", "／／(塗)", "＼＼(塗)",
    // clang-format on
};

using FamilyDraw = void (*)(std::int32_t, const FigureCell&, const SolidStyle&, DrawTarget&);

// The families of straight lines only have no use for the solid style.
template <void (*draw)(std::int32_t, const FigureCell&, DrawTarget&)>
void WithoutSolid(std::int32_t kind, const FigureCell& cell, const SolidStyle&, DrawTarget& out) {
    draw(kind, cell, out);
}

struct Family {
    std::int32_t first, last;
    FamilyDraw draw;
};

constexpr Family kFamilies[] = {
    // clang-format off
    // first last  draw
    {  0,  19, WithoutSolid<DrawLineMark>},
    { 20,  48, DrawPolygonKind},
    { 49,  62, DrawCircleKind},
    { 63,  86, WithoutSolid<DrawOutlineMark>},
    { 87, 106, DrawClosedOrFilled},
    // clang-format on
};
constexpr bool FamiliesCoverEveryKindOnce() {
    std::int32_t next = 0;
    for (const Family& family : kFamilies) {
        if (family.first != next || family.last < family.first) return false;
        next = family.last + 1;
    }
    return next == kFigureKindCount;
}
static_assert(FamiliesCoverEveryKindOnce());

// Kinds whose shape divides by the width, as ranges.
constexpr std::pair<std::int32_t, std::int32_t> kDividingByWidth[] = {
    {41, 62}, {64, 64}, {75, 76}, {79, 86}, {93, 100},
};

}  // namespace

std::string_view FigureName(std::int32_t kind) {
    if (kind < 0 || kind >= kFigureKindCount) return {};
    return kFigureNames[static_cast<std::size_t>(kind)];
}

bool DividesByWidth(std::int32_t kind) {
    return std::any_of(std::begin(kDividingByWidth), std::end(kDividingByWidth),
                       [kind](auto range) { return kind >= range.first && kind <= range.second; });
}

void DrawFigure(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                DrawTarget& out) {
    // Only a hand-edited store brings W = 0; such a cell has no shape to draw,
    // not even the solid color switch of a filled kind.
    if (cell.W == 0.0 && DividesByWidth(kind)) return;
    for (const Family& family : kFamilies)
        if (kind >= family.first && kind <= family.last) return family.draw(kind, cell, solid, out);
}

}  // namespace tesra
