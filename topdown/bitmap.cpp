#include "topdown/bitmap.h"

namespace skyplate {

Bitmap Bitmap::Blank(std::int32_t width, std::int32_t height, Colour fill) {
  Bitmap bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
  return bitmap;
}

bool FitsInMemory(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxInMemoryPixels / height;
}

}  // namespace skyplate
