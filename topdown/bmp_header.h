// The validated description of a BMP file's headers, read before any pixel
// data is looked at or any picture allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "topdown/bitmap.h"
#include "topdown/colour.h"

namespace skyplate {

enum class BmpPixelFormat {
  kIndexed,    // 1, 4 or 8 bits: palette indices
  kRle4,       // run-length encoded 4-bit palette indices
  kRle8,       // run-length encoded 8-bit palette indices
  kBitFields,  // 16 or 32 bits: channels picked out by masks
  kBgr24,      // 24 bits: blue, green, red bytes
};

// One colour channel of a bit-field pixel: (pixel & mask) >> shift gives a
// value from 0 to max.
struct BmpChannel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;
};

// A channel's 8-bit value in `pixel`. Channels of any width are scaled to
// 0..255 by one rule, value * 255 / max rounded to nearest (for 5 bits
// (v * 255 + 15) / 31); max is odd, so there are no ties to break.
inline std::uint8_t ChannelValue(const BmpChannel& channel, std::uint32_t pixel) {
  const std::uint64_t value = (pixel & channel.mask) >> channel.shift;
  return static_cast<std::uint8_t>((value * 255 + channel.max / 2) / channel.max);
}

struct BmpHeader {
  std::uint32_t pixel_offset = 0;  // where the pixel data starts in the file
  std::int32_t width = 0;
  std::int32_t height = 0;  // always positive; see top_down
  bool top_down = false;    // the file's first row is the top row
  int bits_per_pixel = 0;
  BmpPixelFormat format = BmpPixelFormat::kIndexed;
  std::vector<Colour> palette;   // kIndexed, kRle4, kRle8
  BmpChannel red, green, blue;   // kBitFields
  std::uint64_t row_stride = 0;  // bytes per row of uncompressed data
  // Uncompressed: the exact size of the pixel data. RLE: the most pixel data
  // any sensible encoder writes, beyond which nothing is read.
  std::uint64_t pixel_bytes = 0;
};

inline bool IsRle(const BmpHeader& header) {
  return header.format == BmpPixelFormat::kRle4 || header.format == BmpPixelFormat::kRle8;
}

// The bitmap row that the file's row `file_row` (counted from the first row
// stored in the file) becomes.
inline std::int32_t PictureRow(const BmpHeader& header, std::int32_t file_row) {
  return header.top_down ? file_row : header.height - 1 - file_row;
}

// The palette colour of `index`, or false with the reason when the palette
// is shorter.
bool LookUpPalette(const BmpHeader& header, std::uint32_t index, Colour* colour,
                   std::string* error);

// The most bytes from the start of a file that ReadBmpHeader looks at: file
// header, the longest information header, bit-field masks and a full palette.
inline constexpr std::size_t kBmpHeadBytes = 14 + 124 + 12 + 256 * 4;

// Validates every field of the headers at the start of `head` (the whole file
// or at least its first kBmpHeadBytes) and fills `out`. Checks that need the
// whole file (pixel data offset and length) are left to the caller. Pictures
// of more than `max_pixels` pixels are refused: a picture decoded whole must
// fit in memory, one streamed a row at a time need not.
bool ReadBmpHeader(std::span<const std::uint8_t> head, BmpHeader* out, std::string* error,
                   std::int64_t max_pixels = kMaxInMemoryPixels);

}  // namespace skyplate
