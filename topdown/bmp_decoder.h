// Decoding of Windows bitmap (BMP) files held in memory, in every variant the
// platform's own bitmap loader reads.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "topdown/bitmap.h"

namespace skyplate {

// Decodes a whole BMP file into `out` (top row first, whatever the file's row
// order). Returns false and a reason in `error` when the file is not a BMP
// this decoder reads or is damaged; `out` is then left empty. Every header
// field is checked before anything is allocated.
bool DecodeBmp(std::span<const std::uint8_t> file, Bitmap* out, std::string* error);

}  // namespace skyplate
