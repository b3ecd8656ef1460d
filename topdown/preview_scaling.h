// Area-averaged scaling of a picture's changed columns into a preview of
// another size, so that a display refresh costs in proportion to what
// changed rather than to the whole picture.
#pragma once

#include <cstdint>

#include "topdown/bitmap.h"

namespace skyplate {

// A preview in the screen's 32-bit layout (0x00RRGGBB per pixel), rows top
// first; the memory belongs to whoever made the view.
struct PreviewPixels {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t* pixels = nullptr;
};

struct ColumnRange {
  std::int32_t first = 0;
  std::int32_t last = -1;
  bool empty() const { return first > last; }
};

// The preview shows the whole of `source` scaled to the preview's size, each
// preview pixel the average of the source area it covers. Recomputes every
// preview column that source columns first_column..last_column (inclusive)
// reach, and returns those preview columns (empty when there are none).
ColumnRange ScaleColumnsIntoPreview(const Bitmap& source, std::int32_t first_column,
                                    std::int32_t last_column, PreviewPixels preview);

}  // namespace skyplate
