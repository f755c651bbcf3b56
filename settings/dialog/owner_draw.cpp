// Layout of the owner-drawn figure lists and of the preview band.
#include "settings/dialog/owner_draw.h"

#include <algorithm>

#include "settings/dialog/form_layout.h"

namespace tesra {
namespace {

// Rounded like the window system scales its own 96-dpi sizes.
int Scaled(int pixels96, unsigned dpi) {
    return static_cast<int>((static_cast<long long>(pixels96) * dpi + 48) / 96);
}

constexpr int kItemPadding = 2;      // around the picture
constexpr int kPictureTallest = 13;  // at 96 dpi; the height follows the item
// Width over height of a picture: wide enough for the figures' proportions,
// narrow enough to leave the closed box room for a few characters of the name.
constexpr int kPictureAspectTenths = 15;
constexpr int kGapBeforeName = 4;
constexpr int kBandInset = 2;  // inside the band's frame

}  // namespace

bool ShowsFigurePictures(std::string_view controlName) {
    return controlName.starts_with(kFigureList);
}

FigureItemLayout LayoutFigureItem(PixelRect item, unsigned dpi) {
    const int pad = Scaled(kItemPadding, dpi);
    const int height =
        std::clamp(item.bottom - item.top - 2 * pad, 1, Scaled(kPictureTallest, dpi));
    const int room = std::max(item.right - item.left - 2 * pad, 1);
    const int width = std::min((height * kPictureAspectTenths + 5) / 10, room);
    const int top = item.top + (item.bottom - item.top - height) / 2;
    FigureItemLayout layout;
    layout.picture = {static_cast<double>(item.left + pad), static_cast<double>(top),
                      static_cast<double>(width), static_cast<double>(height)};
    const int textLeft =
        std::min(item.left + pad + width + Scaled(kGapBeforeName, dpi), item.right);
    layout.text = {textLeft, item.top, item.right, item.bottom};
    return layout;
}

PreviewDrawing FigureItemPicture(std::int32_t kind, PixelRect item, unsigned dpi) {
    if (kind < 0) return {};
    return FigurePicture(kind, LayoutFigureItem(item, dpi).picture);
}

PreviewBox PreviewArea(PixelRect band, unsigned dpi) {
    const int inset = Scaled(kBandInset, dpi);
    return {static_cast<double>(band.left + inset), static_cast<double>(band.top + inset),
            static_cast<double>(std::max(band.right - band.left - 2 * inset, 0)),
            static_cast<double>(std::max(band.bottom - band.top - 2 * inset, 0))};
}

PreviewDrawing PreviewBandDrawing(const PatternRow& row, const SolidStyle& solid, PixelRect band,
                                  unsigned dpi) {
    return PatternPreview(row, solid, PreviewArea(band, dpi));
}

int PenWidth(unsigned dpi) { return std::max(1, Scaled(1, dpi)); }

}  // namespace tesra
