#pragma once
// A sheet of symbols: every symbol of a library drawn along the same
// boundary (straight sides, a sharp corner, a tight curve) by the real run
// along a selection; beside it each slope symbol between a top edge and a toe
// (the slope run), every other symbol along clicked points (the chain run).

#include <filesystem>

#include "tools/svg/scene.h"

namespace tesra::svg {

inline constexpr double kSymbolTilePitchX = 30.0;
inline constexpr double kSymbolTilePitchY = 30.0;
inline constexpr int kSymbolTileColumns = 4;

// The library as users get it (the build's copy of the shipped file).
Scene BuildSymbolGallery(const std::filesystem::path& library);

}  // namespace tesra::svg
