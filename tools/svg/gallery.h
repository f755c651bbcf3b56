#pragma once
// A sheet on which a person checks every figure kind and the main ways of
// laying them out, drawn by the real figure and run code through the
// command writer and read back like any exchange file.

#include <cstdint>
#include <string>

#include "tools/svg/scene.h"

namespace tesra::svg {

inline constexpr int kGalleryColumns = 8;
// Width and height differ so that a kind that swaps them stands out.
inline constexpr double kGalleryCellW = 10.0;
inline constexpr double kGalleryCellH = 6.0;
inline constexpr double kGalleryPitchX = 16.0;
inline constexpr double kGalleryPitchY = 11.0;

// The SVG's own scale, chosen so that the tile labels are 10 pixels high.
inline constexpr double kGalleryLabelHeight = 1.3;
inline constexpr double kGalleryPixelsPerUnit = 10.0 / kGalleryLabelHeight;

// Lower-left corner of the box of kind in the grid; rows go downwards.
Point GalleryCellOrigin(std::int32_t kind);

// The label of a kind's tile: its number and name, and for a name that
// stands twice in the figure list the number of its twin ("12 ／／ (=71)").
std::string TileLabel(std::int32_t kind);

Scene BuildGallery();

}  // namespace tesra::svg
