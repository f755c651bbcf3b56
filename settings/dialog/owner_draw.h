#pragma once
// What the window code paints itself: the figure lists' items with a picture
// of each figure beside its name, and the preview band. Sizes are pixels at
// the window's DPI, so the pictures are drawn sharp at any scaling.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/dialog/preview.h"

namespace tesra {

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// A size of pixels at 96 dpi at another DPI, rounded as the window system
// scales its own.
int Scaled(int pixels96, unsigned dpi);

// At 96 dpi: the rows of an open figure list, tall enough for a picture, and
// the open list's width, wider than the closed box so that names show whole.
inline constexpr int kFigureItemHeight = 18;
inline constexpr int kFigureListWidth = 176;

// The figure lists are the drop-downs named "ComboBoxZ"n, and "ComboBoxZB"
// for a row's second figure.
bool ShowsFigurePictures(std::string_view controlName);

struct FigureItemLayout {
    PreviewBox picture;
    PixelRect text;
};
// The picture at the item's left, vertically centred, then the name.
FigureItemLayout LayoutFigureItem(PixelRect item, unsigned dpi);
// The closed box's item: the picture, and beside it the name, drawn narrower
// (widthShare of the font's own width, never below kNarrowestName) when it
// must, and cut to fit keeping its distinguishing end (see FittedName) only
// past that.
inline constexpr double kNarrowestName = 0.7;
struct ClosedBoxItem {
    std::string name;
    double widthShare = 1.0;
};
using TextWidth = std::function<int(std::string_view utf8)>;
ClosedBoxItem LayoutClosedBoxItem(PixelRect item, unsigned dpi, std::string_view name,
                                  const TextWidth& widthOf);

// A name as it fits in room pixels: whole, or its first character, "…" and as
// much of its end as fits, for the end ("2(上)", "(塗)") is what tells a
// figure from its neighbours; failing that "…" and the end. Whole characters
// only.
std::string FittedName(std::string_view name, int room, const TextWidth& widthOf);

// Text as lines of at most width pixels that never break inside a word: it
// is cut at its line ends, and a line too wide is broken only at a space or
// before "(", a piece still too wide shortened by FittedName (its "…" shows
// that it was).
std::vector<std::string> UnbrokenLines(std::string_view text, int width, const TextWidth& widthOf);

// An item's picture: the figure of kind from pictures, nothing for an item
// that is none (-1).
PreviewDrawing FigureItemPicture(std::int32_t kind, PixelRect item, unsigned dpi,
                                 FigurePictures& pictures);

// The band inside its frame: a caption at the left saying which row the band
// shows and which row is in use, the drawing beside it.
PixelRect PreviewCaptionArea(PixelRect band, unsigned dpi);
PreviewBox PreviewArea(PixelRect band, unsigned dpi);
PreviewDrawing PreviewBandDrawing(const PatternRow& row, const SolidStyle& solid, PixelRect band,
                                  unsigned dpi, const OwnFigureSet* own = nullptr);

// Lines one pixel wide at 96 dpi, thicker on larger scalings.
int PenWidth(unsigned dpi);
// How far a painted curve may stray from the true one, in pixels.
inline constexpr double kCurveTolerance = 0.25;

}  // namespace tesra
