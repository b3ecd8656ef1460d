// The build's rule for turning an image file into a bitmap of a requested size.
#pragma once

#include <cstdint>
#include <string>

#include "topdown/bitmap.h"
#include "topdown/image_cache.h"

namespace skyplate {

// Reads the BMP file at `path` (a path as the platform opens it). When
// `width` or `height` is 0 the picture keeps its own size; when its own size
// is the requested one it is used as loaded; otherwise it is resampled to
// width x height. Returns false with a reason in `error` when the file cannot
// be read or decoded, or the requested size cannot be held in memory. With a
// `cache`, a file whose bytes were loaded at this size before is not decoded
// again, and one that is decoded is kept there.
bool LoadBitmapFile(const std::string& path, std::int32_t width, std::int32_t height, Bitmap* out,
                    std::string* error, ImageCache* cache = nullptr);

}  // namespace skyplate
