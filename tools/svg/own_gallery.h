#pragma once
// A sheet of the user's own figures: a few registered from host lines by the
// real registration, each in its own box, then repeated along a site boundary
// by the real run along a selection.

#include <string>
#include <vector>

#include "tools/svg/scene.h"

namespace tesra::svg {

struct OwnFigureSample {
    std::string title;               // UTF-8, for the label
    std::vector<std::string> lines;  // the selected elements, as the host writes them
};

// A tree, a fence post and a boundary mark.
std::vector<OwnFigureSample> OwnFigureSamples();

inline constexpr double kOwnTilePitch = 24.0;

Scene BuildOwnFigureGallery();

}  // namespace tesra::svg
