#pragma once
// A sheet of 法面 ticks drawn by the real slope run (argument "4"): straight,
// along a curved top edge, towards a converging toe, round outer and inner
// corners, and without a toe round a closed edge.

#include "tools/svg/scene.h"

namespace tesra::svg {

Scene BuildSlopeGallery();

}  // namespace tesra::svg
