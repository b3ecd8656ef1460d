// RLE4 and RLE8 encoding of palette indices, using every kind of escape.
#pragma once

#include <cstdint>
#include <vector>

namespace skyplate {

// Encodes `indices` (width x height, rows in file order, the bottom row
// first) as RLE data. Runs of four or more pixels of `black_index` (-1 for
// none) are skipped with deltas, ends of line or an early end of bitmap, as
// a decoder shows skipped pixels black.
std::vector<std::uint8_t> EncodeRle(const std::vector<std::uint8_t>& indices, std::int32_t width,
                                    std::int32_t height, bool four_bit, int black_index);

}  // namespace skyplate
