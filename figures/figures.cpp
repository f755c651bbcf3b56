#include "figures/figures.h"

#include <array>

namespace tesra {
namespace {

// The figure list as the settings dialog shows it; the index is the kind.
// "／／" and "＼＼" stand in it twice (12, 13 and 71, 72).
constexpr std::array<std::string_view, kFigureKindCount> kFigureNames = {
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
};

// Kinds whose geometry divides by the width (flatness H/W and the like).
bool DividesByWidth(std::int32_t kind) {
    return (kind >= 41 && kind <= 62) || kind == 64 || kind == 75 || kind == 76 ||
           (kind >= 79 && kind <= 86) || (kind >= 93 && kind <= 100);
}

}  // namespace

std::string_view FigureName(std::int32_t kind) {
    if (kind < 0 || kind >= kFigureKindCount) return {};
    return kFigureNames[static_cast<std::size_t>(kind)];
}

void DrawFigure(std::int32_t kind, const FigureCell& cell, const SolidStyle& solid,
                DrawTarget& out) {
    // Only a hand-edited store brings W = 0; such a cell has no shape to draw,
    // not even the solid colour switch of a filled kind.
    if (cell.W == 0.0 && DividesByWidth(kind)) return;
    if (kind < 0) return;
    if (kind <= 19) return DrawLineMark(kind, cell, out);
    if (kind <= 48) return DrawPolygonKind(kind, cell, solid, out);
    if (kind <= 62) return DrawCircleKind(kind, cell, solid, out);
    if (kind <= 86) return DrawOutlineMark(kind, cell, out);
    if (kind <= 106) return DrawClosedOrFilled(kind, cell, solid, out);
}

}  // namespace tesra
