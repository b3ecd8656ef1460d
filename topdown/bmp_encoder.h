// The layout of the output file: an uncompressed 24-bit bottom-up BMP with the
// 14-byte file header and the 40-byte info header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "topdown/colour.h"

namespace skyplate {

inline constexpr std::size_t kBmpHeaderBytes = 54;

// Bytes of one pixel row in the file: 3 a pixel, padded to a multiple of 4.
constexpr std::uint64_t BmpStride(std::int64_t width) {
  return (3 * static_cast<std::uint64_t>(width) + 3) / 4 * 4;
}

// True when a width x height picture fits the format: both at least 1 and a
// file size that its 32-bit size field can hold.
bool FitsBmpFile(std::int64_t width, std::int64_t height);

// The two headers of a width x height picture; FitsBmpFile(width, height).
std::array<std::uint8_t, kBmpHeaderBytes> EncodeBmpHeader(std::int32_t width, std::int32_t height);

// One row of `width` colours as blue, green, red bytes, then the zero padding
// up to BmpStride(width) bytes.
void EncodeBmpRow(const Colour* row, std::int32_t width, std::uint8_t* out);

}  // namespace skyplate
