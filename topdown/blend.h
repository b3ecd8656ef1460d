// The arithmetic of blending one overlay onto the colour underneath.
#pragma once

#include <cstdint>

#include "topdown/colour.h"

namespace skyplate {

// The share in percent (0..100) that the colour underneath keeps where a mask
// channel has value `mask` (0..255): 100 at 0, none at 255.
int BlendPercent(std::uint8_t mask);

// `below` with its three channels replaced by below * percent% + over * the
// rest, each weight rounded to single precision first and each channel
// rounded half to even; byte 3 of `below` passes through. Percent is clamped
// to 0..100.
Colour BlendColors(Colour below, Colour over, std::int32_t percent);

}  // namespace skyplate
