// Rescaling of a picture to another size by area averaging.
#pragma once

#include <cstdint>

#include "topdown/bitmap.h"

namespace skyplate {

// Each target pixel is the average of the source area its footprint covers,
// source pixels weighted by the share of them that lies inside it; this serves
// shrinking and enlarging alike. `width` and `height` are at least 1 and
// within kMaxInMemoryPixels; `source` is not empty.
Bitmap ResampleAreaAverage(const Bitmap& source, std::int32_t width, std::int32_t height);

}  // namespace skyplate
