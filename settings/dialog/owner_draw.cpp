// Layout of the owner-drawn figure lists and of the preview band.
#include "settings/dialog/owner_draw.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "settings/dialog/form_layout.h"

namespace tesra {
namespace {

constexpr int kItemPadding = 2;      // around the picture
constexpr int kPictureTallest = 13;  // at 96 dpi; the height follows the item
// A picture is square: figures are drawn in a square cell, circles round.
constexpr int kGapBeforeName = 4;
constexpr int kNarrowingSlack = 3;
constexpr int kBandInset = 2;  // inside the band's frame
// Room for three lines of the caption: "行12を表示中", "使用中: 行12" and the
// longest figure name, "∠(左右反転)".
constexpr int kCaptionWidth = 92;
constexpr int kCaptionGap = 6;

}  // namespace

int Scaled(int pixels96, unsigned dpi) {
    return static_cast<int>((static_cast<long long>(pixels96) * dpi + 48) / 96);
}

bool ShowsFigurePictures(std::string_view controlName) {
    return controlName.starts_with(kFigureList);
}

FigureItemLayout LayoutFigureItem(PixelRect item, unsigned dpi) {
    const int pad = Scaled(kItemPadding, dpi);
    const int height =
        std::clamp(item.bottom - item.top - 2 * pad, 1, Scaled(kPictureTallest, dpi));
    const int room = std::max(item.right - item.left - 2 * pad, 1);
    const int width = std::min(height, room);
    const int top = item.top + (item.bottom - item.top - height) / 2;
    FigureItemLayout layout;
    layout.picture = {static_cast<double>(item.left + pad), static_cast<double>(top),
                      static_cast<double>(width), static_cast<double>(height)};
    const int textLeft =
        std::min(item.left + pad + width + Scaled(kGapBeforeName, dpi), item.right);
    layout.text = {textLeft, item.top, item.right, item.bottom};
    return layout;
}

namespace {

// The UTF-8 characters of text, each a whole sequence.
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> out;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t next = at + 1;
        while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
            ++next;
        out.push_back(text.substr(at, next - at));
        at = next;
    }
    return out;
}

std::string Joined(const std::vector<std::string_view>& characters, std::size_t from,
                   std::size_t to) {
    std::string out;
    for (std::size_t i = from; i < to; ++i) out += characters[i];
    return out;
}

constexpr std::string_view kEllipsis = "…";

}  // namespace

std::string FittedName(std::string_view name, int room, const TextWidth& widthOf) {
    if (widthOf(name) <= room) return std::string(name);
    const std::vector<std::string_view> characters = Characters(name);
    // The first character, "…" and the longest end that fits; else "…" and
    // the longest end.
    const std::string head = characters.empty() ? std::string() : std::string(characters[0]);
    for (const std::string& lead : {head, std::string()}) {
        for (std::size_t from = 1; from < characters.size(); ++from) {
            const std::string candidate =
                lead + std::string(kEllipsis) + Joined(characters, from, characters.size());
            if (widthOf(candidate) <= room) return candidate;
        }
    }
    // Too narrow for even that: as many whole characters from the start as fit.
    std::size_t count = 0;
    while (count < characters.size() && widthOf(Joined(characters, 0, count + 1)) <= room) ++count;
    return Joined(characters, 0, count);
}

namespace {

// Where a line may break: before a space (which is dropped) or before "(".
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    for (std::size_t at = 1; at < line.size(); ++at) {
        if (line[at] != ' ' && line[at] != '(') continue;
        words.push_back(line.substr(start, at - start));
        start = line[at] == ' ' ? at + 1 : at;
    }
    words.push_back(line.substr(start));
    return words;
}

void AddBrokenLine(std::vector<std::string>& out, std::string_view line, int width,
                   const TextWidth& widthOf) {
    std::string current;
    for (std::string_view word : Words(line)) {
        const std::string joined =
            current.empty() ? std::string(word)
                            : current + (word.starts_with('(') ? "" : " ") + std::string(word);
        if (current.empty() || widthOf(joined) <= width) {
            current = joined;
            continue;
        }
        out.push_back(FittedName(current, width, widthOf));
        current = word;
    }
    out.push_back(FittedName(current, width, widthOf));
}

}  // namespace

std::vector<std::string> UnbrokenLines(std::string_view text, int width, const TextWidth& widthOf) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); start <= text.size(); end = text.find('\n', start)) {
        const std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        AddBrokenLine(lines, line, width, widthOf);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

ClosedBoxItem LayoutClosedBoxItem(PixelRect item, unsigned dpi, std::string_view name,
                                  const TextWidth& widthOf) {
    const PixelRect beside = LayoutFigureItem(item, dpi).text;
    // A narrowed font rounds each character's width: a few pixels spare.
    const int room = beside.right - beside.left - Scaled(kNarrowingSlack, dpi);
    const int full = std::max(widthOf(name), 1);
    if (full <= room) return {std::string(name), 1.0};
    const double share = static_cast<double>(room) / full;
    if (share >= kNarrowestName) return {std::string(name), share};
    auto narrowed = [&widthOf](std::string_view t) {
        return static_cast<int>(std::ceil(widthOf(t) * kNarrowestName));
    };
    return {FittedName(name, room, narrowed), kNarrowestName};
}

PreviewDrawing FigureItemPicture(std::int32_t kind, PixelRect item, unsigned dpi,
                                 FigurePictures& pictures) {
    if (kind < 0) return {};
    return pictures.Picture(kind, LayoutFigureItem(item, dpi).picture);
}

PixelRect PreviewCaptionArea(PixelRect band, unsigned dpi) {
    const int inset = Scaled(kBandInset, dpi);
    const int right = std::min(band.left + inset + Scaled(kCaptionWidth, dpi), band.right - inset);
    return {band.left + 2 * inset, band.top + inset, std::max(right, band.left + 2 * inset),
            std::max(band.bottom - inset, band.top + inset)};
}

PreviewBox PreviewArea(PixelRect band, unsigned dpi) {
    const int inset = Scaled(kBandInset, dpi);
    const int left = std::min(PreviewCaptionArea(band, dpi).right + Scaled(kCaptionGap, dpi),
                              band.right - inset);
    return {static_cast<double>(left), static_cast<double>(band.top + inset),
            static_cast<double>(std::max(band.right - inset - left, 0)),
            static_cast<double>(std::max(band.bottom - band.top - 2 * inset, 0))};
}

PreviewDrawing PreviewBandDrawing(const PatternRow& row, const SolidStyle& solid, PixelRect band,
                                  unsigned dpi, const OwnFigureSet* own) {
    return PatternPreview(row, solid, PreviewArea(band, dpi), own);
}

int PenWidth(unsigned dpi) { return std::max(1, Scaled(1, dpi)); }

}  // namespace tesra
