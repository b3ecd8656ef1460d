// The pixel stage of a build: the base tile repeated over the whole picture,
// the red, green and blue overlay tiles blended over it as strongly as the
// mask's matching channel says.
#pragma once

#include <cstdint>

#include "topdown/bitmap.h"
#include "topdown/build_front_end.h"
#include "topdown/row_compositor.h"

namespace skyplate {

// The display is refreshed after every column x with x mod 16 = 0.
inline constexpr std::int32_t kRefreshPeriod = 16;

// The finished colour of one picture pixel from its mask colour and the four
// tile colours at its place, step by step as the blend defines it; the fast
// compositing must match it.
Colour ComposePixel(Colour mask, Colour base, Colour red, Colour green, Colour blue);

// Fills `result` (the mask's size; an empty mask reads as black) on `jobs` threads and keeps the
// front end's display up to date: opened first, refreshed after columns 0, 16, 32,
// ... and at the end.
void CompositeTerrain(const Bitmap& mask, const OverlayTiles& tiles, Bitmap* result,
                      BuildFrontEnd* front_end, int jobs);

// The display's client size for a picture dimension of at least 0: a third,
// rounded to nearest.
std::int32_t DisplaySize(std::int32_t picture_size);

}  // namespace skyplate
