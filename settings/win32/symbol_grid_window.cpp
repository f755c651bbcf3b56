// The symbol chooser: the grid window with cells that paint a symbol's band.
#include "settings/win32/symbol_grid_window.h"

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "settings/dialog/owner_draw.h"
#include "settings/dialog/preview.h"
#include "settings/win32/figure_grid_window.h"
#include "settings/win32/painting.h"
#include "settings/win32/wide_text.h"

namespace tesra::win32 {
namespace {

// The band of a symbol stays white whatever the highlight, so that its pens'
// colours read as in the preview band.
class SymbolCellPainter final : public GridCellPainter {
public:
    SymbolCellPainter(const SymbolGridContent& content, UINT dpi, const OwnFigureSet* own)
        : content_(content), dpi_(dpi), own_(own) {}

    void Paint(HDC dc, const GridCell& cell, int index, const PixelRect& r, COLORREF fore,
               COLORREF) override {
        const SymbolCellParts parts = LayOutSymbolCell(r, dpi_);
        const PreviewBox& box = parts.picture;
        const RECT picture{static_cast<LONG>(box.left), static_cast<LONG>(box.top),
                           static_cast<LONG>(box.left + box.width),
                           static_cast<LONG>(box.top + box.height)};
        FillRect(dc, &picture, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, picture.left, picture.top, picture.right, picture.bottom);
        PaintDrawing(dc, Picture(index, box.width, box.height),
                     {RGB(0, 0, 0), RGB(0xC8, 0xC8, 0xC8), dpi_ / 96.0}, PenWidth(dpi_),
                     {box.left, box.top});
        RestoreDC(dc, saved);
        SetTextColor(dc, fore);
        DrawName(dc, cell.name, parts.name);
    }

private:
    static void DrawName(HDC dc, const std::string& name, const PixelRect& r) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        const auto widthOf = [dc](std::string_view t) {
            const std::wstring w = Widen(t);
            SIZE size{};
            GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
            return static_cast<int>(size.cx);
        };
        const std::vector<std::string> lines = SymbolNameLines(name, r.right - r.left, widthOf);
        // Centred under the picture, as a block of one or two lines.
        const int height = static_cast<int>(lines.size()) * metrics.tmHeight;
        RECT line{r.left, std::max(r.top, (r.top + r.bottom - height) / 2), r.right, 0};
        for (const std::string& text : lines) {
            line.bottom = std::min(line.top + metrics.tmHeight, static_cast<LONG>(r.bottom));
            const std::wstring wide = Widen(text);
            DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &line,
                      DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
            line.top = line.bottom;
        }
    }

    // Built once per cell: only the cells scrolled into view are ever built.
    const PreviewDrawing& Picture(int index, double width, double height) {
        auto [at, added] = built_.try_emplace(index);
        if (added && static_cast<std::size_t>(index) < content_.rows.size())
            at->second = SymbolPicture(content_.rows[static_cast<std::size_t>(index)],
                                       {0, 0, width, height}, own_);
        return at->second;
    }

    const SymbolGridContent& content_;
    UINT dpi_;
    const OwnFigureSet* own_;
    std::map<int, PreviewDrawing> built_;
};

}  // namespace

FigureGridAnswer RunSymbolGridWindow(HWND owner, const RECT& anchor,
                                     const SymbolGridContent& content, int focusCell, UINT dpi,
                                     HFONT font, const OwnFigureSet* own) {
    SymbolCellPainter painter(content, dpi, own);
    return RunGridWindow(owner, anchor, content.grid, focusCell, dpi, font, painter);
}

}  // namespace tesra::win32
