// One band of the PNG's rows, filtered and deflated on its own, so that bands
// can be compressed on several threads at once and joined afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skyplate {

// The filter types a row may be stored with.
enum class PngFilter : std::uint8_t { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };

// Stores one row of `bytes` RGB bytes as its filter type and the filtered
// bytes (bytes + 1 in all at `out`), choosing the filter whose output has
// the smallest sum of absolute values (as signed bytes): the usual guess at
// what deflate compresses best. `above` is the row before it, all zeros for
// the picture's top row.
void FilterPngRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t bytes,
                  std::uint8_t* out);

// A band's rows as raw deflate data. All but the last band end on a byte
// boundary without a final block, so that the segments of every band, in
// order, form one deflate stream.
struct PngSegment {
  std::vector<std::uint8_t> deflated;
  std::uint32_t adler = 0;      // Adler-32 of the filtered rows
  std::uint64_t raw_bytes = 0;  // their length, for joining the checksums
};

// Filters and deflates `rows` rows of a `width`-pixel band given as in a BMP
// file (bottom row first, `stride` bytes a row, blue, green, red), with
// `above` the picture row above the band in the same pixel order, or null.
// False only when zlib fails (out of memory).
bool EncodePngBand(const std::uint8_t* pixels, std::int32_t rows, std::int32_t width,
                   std::size_t stride, const std::uint8_t* above, bool last, PngSegment* segment);

}  // namespace skyplate
