#pragma once
// How the dialog shows a part's pen where the user sees it (the preview band,
// the symbol chooser's pictures): the host's line colours as screen colours
// that stand apart on the band's white, and its line types as dash patterns.
// The host's own screen colours and dashes are the user's settings there and
// are not passed to an add-on; these are fixed choices that keep each number
// recognisable (docs/symbols.md lists them).

#include <cstdint>
#include <optional>
#include <span>

#include "exchange/draw_target.h"

namespace tesra {

struct PenLook {
    // Nothing: the band's own ink, for the host's current colour.
    std::optional<std::int32_t> bgr;  // 0x00BBGGRR
    // Lengths drawn and left out in turn, in pixels at 96 dpi, starting with
    // a dash; empty for a solid line.
    std::span<const int> dashes;
};

// A number the host does not have reads as the current pen, as it does
// in the output.
PenLook LookOfPen(RowPen pen);

}  // namespace tesra
