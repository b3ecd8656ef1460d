// Writing a picture held in memory as the output file.
#pragma once

#include <string>

#include "topdown/bitmap.h"
#include "topdown/picture_writer.h"

namespace skyplate {

// Writes `bitmap` to `path` in `format`, compressing on `jobs` threads where
// the format compresses. The file is written whole beside `path` and only
// then put in its place, so on any failure an older file at `path` stays
// exactly as it was. Returns false with a reason in `error` when nothing was
// written.
bool SavePictureFile(const Bitmap& bitmap, const std::string& path, PictureFormat format, int jobs,
                     std::string* error);

// SavePictureFile as an uncompressed 24-bit bottom-up BMP.
bool SaveBitmapFile(const Bitmap& bitmap, const std::string& path, std::string* error);

}  // namespace skyplate
