// Decoding of Windows bitmap (BMP) files held in memory, in every variant the
// platform's own bitmap loader reads.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "topdown/bitmap.h"
#include "topdown/bmp_header.h"

namespace skyplate {

// Decodes a whole BMP file into `out` (top row first, whatever the file's row
// order). Returns false and a reason in `error` when the file is not a BMP
// this decoder reads or is damaged; `out` is then left empty. Every header
// field is checked before anything is allocated.
bool DecodeBmp(std::span<const std::uint8_t> file, Bitmap* out, std::string* error);

// How many bytes of pixel data a file of `file_size` bytes holds for
// `header`: all from the pixel data offset on, RLE data no more than
// header.pixel_bytes.
std::uint64_t PixelDataBytes(const BmpHeader& header, std::uint64_t file_size);

// Whether a file of `file_size` bytes holds the pixel data `header` needs,
// or the reason it does not: uncompressed data must be complete, RLE data
// long enough to describe its picture honestly. A picture is never allocated
// before this holds.
bool CheckPixelData(const BmpHeader& header, std::uint64_t file_size, std::string* error);

}  // namespace skyplate
