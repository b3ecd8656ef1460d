// One band of the PNG's rows, filtered and deflated on its own, so that bands
// can be compressed on several threads at once and joined afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skyplate {

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
// `above` the picture row above the band in the same pixel order, or null
// for the picture's top band; `last` for the picture's bottom band. A band
// that does not `start_rows` is a later piece of one row: its filter type
// byte went with the row's first piece. False only when zlib fails (out of
// memory).
bool EncodePngBand(const std::uint8_t* pixels, std::int32_t rows, std::int32_t width,
                   std::size_t stride, const std::uint8_t* above, bool start_rows, bool last,
                   PngSegment* segment);

}  // namespace skyplate
