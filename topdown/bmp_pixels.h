// Decoding of a BMP file's pixel data once its headers have been validated.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "topdown/bitmap.h"
#include "topdown/bmp_header.h"

namespace skyplate {

// Decodes the pixel data `data` (uncompressed: at least header.pixel_bytes
// long) into `picture`, already header.width x header.height and black.
bool DecodePixels(const BmpHeader& header, std::span<const std::uint8_t> data, Bitmap* picture,
                  std::string* error);

// Decodes `count` pixels of one row of uncompressed pixel data, from `row` on:
// the row's start, or a pixel whose bits start a byte (a multiple of 8
// pixels into the row).
bool DecodeRow(const BmpHeader& header, const std::uint8_t* row, std::int32_t count, Colour* out,
               std::string* error);

// Decodes RLE4 or RLE8 data into `picture`. Pixels the data skips (deltas, an early end of a
// row or of the bitmap) stay black; data that runs out before the
// end-of-bitmap mark is read as that mark, as a truncated file is still
// worth showing. Errors name rows counted from the first row in the file.
bool DecodeRlePixels(const BmpHeader& header, std::span<const std::uint8_t> data, Bitmap* picture,
                     std::string* error);

}  // namespace skyplate
