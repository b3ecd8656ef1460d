// The pixel stage of a build: the base tile repeated over the whole picture,
// the red, green and blue overlay tiles blended over it as strongly as the
// mask's matching channel says.
#pragma once

#include <array>
#include <cstdint>

#include "topdown/bitmap.h"
#include "topdown/build_front_end.h"

namespace skyplate {

inline constexpr std::int32_t kTileSize = 256;
// The display is refreshed after every column x with x mod 16 = 0.
inline constexpr std::int32_t kRefreshPeriod = 16;

// Overlay_Base, Overlay_R, Overlay_G and Overlay_B, each kTileSize square.
using OverlayTiles = std::array<Bitmap, 4>;

// The finished colour of one picture pixel from its mask colour and the four
// tile colours at its place.
Colour ComposePixel(Colour mask, Colour base, Colour red, Colour green, Colour blue);

// Fills columns first..last (inclusive) of row y of a picture.
void ComposeRow(const Colour* mask_row, std::int32_t y, std::int32_t first, std::int32_t last,
                const OverlayTiles& tiles, Colour* out_row);

// Fills `result` (the mask's size) and keeps the front end's display up to
// date: opened first, refreshed after columns 0, 16, 32, ... and at the end.
void CompositeTerrain(const Bitmap& mask, const OverlayTiles& tiles, Bitmap* result,
                      BuildFrontEnd* front_end);

// The display's client size for a picture dimension: a third, half to even.
std::int32_t DisplaySize(std::int32_t picture_size);

}  // namespace skyplate
