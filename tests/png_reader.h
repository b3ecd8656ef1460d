// Reads back the PNG files the picture writer makes, checking on the way what
// a strict decoder checks: the signature, every chunk's CRC, the chunk order,
// the header's fields and the zlib stream's own checksum.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "topdown/bitmap.h"

namespace skyplate::testing {

struct PngContents {
  std::vector<std::string> chunks;    // chunk types in file order
  std::vector<std::uint8_t> filters;  // each row's filter type, top row first
  Bitmap picture;
};

// False with a reason when `file` is not a valid 8-bit RGB, non-interlaced
// PNG whose rows use the None or Up filters.
bool ReadPng(const std::vector<std::uint8_t>& file, PngContents* contents, std::string* error);

}  // namespace skyplate::testing
