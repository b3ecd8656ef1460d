// Writing a picture as the output BMP file.
#pragma once

#include <string>

#include "topdown/bitmap.h"

namespace skyplate {

// Writes `bitmap` to `path` as an uncompressed 24-bit bottom-up BMP. The file
// is written whole beside `path` and only then put in its place, so on any
// failure an older file at `path` stays exactly as it was. Returns false with
// a reason in `error` when nothing was written.
bool SaveBitmapFile(const Bitmap& bitmap, const std::string& path, std::string* error);

}  // namespace skyplate
