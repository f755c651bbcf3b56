#pragma once
// The symbol chooser's window: the figure chooser's window over the symbols,
// each cell a short band drawn as the symbol draws it, in its pens, with the
// symbol's name beneath.

#include <windows.h>

#include "figures/own_figures.h"
#include "settings/dialog/symbol_grid.h"

namespace tesra::win32 {

// Opens below anchor (the button that asked for it).
FigureGridAnswer RunSymbolGridWindow(HWND owner, const RECT& anchor,
                                     const SymbolGridContent& content, int focusCell, UINT dpi,
                                     HFONT font, const OwnFigureSet* own);

}  // namespace tesra::win32
