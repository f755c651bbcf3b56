#pragma once
// GDI painting of what the portable code drew: the figure lists' items and
// the preview band. Everything is drawn at the window's own DPI.

#include <windows.h>

#include <string>

#include "settings/dialog/preview.h"

namespace tesra::win32 {

struct Inks {
    COLORREF pen;    // lines, and fills without the solid color
    COLORREF guide;  // the sample path and cell frames beneath
    // Pixels per pixel at 96 dpi, for dash patterns. Zero: a part's own pen
    // is painted as the current one (pictures too small to show a pen).
    double penScale = 0.0;
};

// GDI+ for the whole life of the form: it paints with smooth edges. Should it
// fail to start, painting falls back to plain GDI.
class PaintingSession {
public:
    PaintingSession();
    ~PaintingSession();
    PaintingSession(const PaintingSession&) = delete;
    PaintingSession& operator=(const PaintingSession&) = delete;

private:
    ULONG_PTR token_ = 0;
};

// A bitmap drawn on instead of the screen and copied to it at target's place
// when it goes, so that repainting while the user types or moves does not
// flicker. Its own coordinates start at (0, 0).
class Offscreen {
public:
    Offscreen(HDC screen, const RECT& target);
    ~Offscreen();
    Offscreen(const Offscreen&) = delete;
    Offscreen& operator=(const Offscreen&) = delete;
    HDC Dc() const { return dc_; }

private:
    HDC screen_, dc_;
    RECT target_;
    HBITMAP bitmap_;
    HGDIOBJ oldBitmap_;
};

// shareOfA percent of a, the rest b.
COLORREF Blend(COLORREF a, COLORREF b, int shareOfA);

// UTF-8 text in the current font as lines that never break inside a word
// (see UnbrokenLines), from r's top down, as many as r holds.
void DrawUnbrokenLines(HDC dc, const std::string& utf8, const RECT& r);

// offset: added to every point, so that a kept picture is painted where it
// belongs without a moved copy.
void PaintDrawing(HDC dc, const PreviewDrawing& drawing, const Inks& inks, int penWidth,
                  Point offset = {});

// WM_DRAWITEM of a figure list: the picture of the item's figure and its name.
void DrawFigureItem(const DRAWITEMSTRUCT& item, UINT dpi, FigurePictures& pictures);

// WM_DRAWITEM of the preview band, drawn off screen so typing does not
// flicker: the caption in font at the left, the drawing beside it cut off at
// the band's edges.
void DrawPreviewBand(const DRAWITEMSTRUCT& item, UINT dpi, const PatternRow& row,
                     const SolidStyle& solid, const std::string& caption, HFONT font,
                     const OwnFigureSet* own);

}  // namespace tesra::win32
