// What a build reads of its mask map before it decides how to build: the size
// at offsets 18 and 22, and for a streamed build the header validated with the
// streaming limit and the rows decoded one at a time.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "topdown/bmp_header.h"
#include "topdown/bmp_pixels.h"
#include "topdown/mask_header.h"

namespace {

// Rows are decoded in pieces no wider than a streamed build's bands.
constexpr std::int32_t kPiecePixels = 1 << 16;

void DecodeRowsPresent(const skyplate::BmpHeader& header, std::span<const std::uint8_t> file) {
  if (skyplate::IsRle(header) || header.pixel_offset > file.size()) return;
  const std::int32_t piece = std::min(header.width, kPiecePixels);
  std::vector<skyplate::Colour> row(static_cast<std::size_t>(piece));
  std::string error;
  for (std::size_t at = header.pixel_offset; file.size() - at >= header.row_stride;
       at += header.row_stride) {
    for (std::int32_t x = 0; x < header.width; x += piece) {
      const std::uint8_t* start =
          file.data() + at + static_cast<std::size_t>(x) * header.bits_per_pixel / 8;
      const std::int32_t count = std::min(piece, header.width - x);
      if (!skyplate::DecodeRow(header, start, count, row.data(), &error)) return;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  skyplate::ParseMaskSize(file);
  skyplate::BmpHeader header;
  std::string error;
  if (skyplate::ReadBmpHeader(file, &header, &error, skyplate::kMaxStreamedPixels)) {
    DecodeRowsPresent(header, file);
  }
  return 0;
}
