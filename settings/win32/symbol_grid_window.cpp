// The symbol chooser: the grid window with cells that paint a symbol's band.
#include "settings/win32/symbol_grid_window.h"

#include <map>
#include <string>

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
        RECT name{parts.name.left, parts.name.top, parts.name.right, parts.name.bottom};
        const std::wstring text = Widen(cell.name);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &name,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }

private:
    // Built once per cell: only the cells scrolled into view are ever built.
    const PreviewDrawing& Picture(int index, double width, double height) {
        auto [at, added] = built_.try_emplace(index);
        if (added && static_cast<std::size_t>(index) < content_.rows.size())
            at->second = PatternPreview(content_.rows[static_cast<std::size_t>(index)], {},
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
