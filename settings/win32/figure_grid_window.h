#pragma once
// The figure chooser's window: a popup below a figure box, in place of the
// box's own list, that stays until the user chooses, leaves, or asks to
// rename or delete an own figure. Clicking anywhere else closes it, as it
// closes a list. The symbol chooser is the same window over other cells.

#include <windows.h>

#include "settings/dialog/figure_grid.h"
#include "settings/dialog/preview.h"

namespace tesra::win32 {

// The figure boxes open the chooser instead of their list: a click, F4 or
// Alt+Up/Down posts openMessage to the box's parent, with the box as lParam.
// Up and Down in the closed box still step through the figures.
void OpenChooserInsteadOfList(HWND figureBox, UINT openMessage);

// What a cell shows inside its highlight: a figure's picture, or a symbol's
// band and name. The window lays the cells out and does the rest.
class GridCellPainter {
public:
    virtual ~GridCellPainter() = default;
    // index: the cell's place in the content's Cells(); r: where it is now.
    virtual void Paint(HDC dc, const GridCell& cell, int index, const PixelRect& r, COLORREF fore,
                       COLORREF back) = 0;
};

// The chooser over content, below anchor (above it when there is no room).
FigureGridAnswer RunGridWindow(HWND owner, const RECT& anchor, const FigureGridContent& content,
                               int focusCell, UINT dpi, HFONT font, GridCellPainter& painter);

FigureGridAnswer RunFigureGridWindow(HWND owner, const RECT& anchor,
                                     const FigureGridContent& content, int focusCell, UINT dpi,
                                     HFONT font, FigurePictures& pictures);

}  // namespace tesra::win32
