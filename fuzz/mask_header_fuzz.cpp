// What a build reads of its mask map before it decides how to build: the size
// at offsets 18 and 22, and for a streamed build the header validated with the
// streaming limit and the rows decoded one at a time.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "topdown/bmp_header.h"
#include "topdown/bmp_pixels.h"
#include "topdown/mask_header.h"

namespace {

void DecodeRowsPresent(const skyplate::BmpHeader& header, std::span<const std::uint8_t> file) {
  if (header.format == skyplate::BmpPixelFormat::kRle4 ||
      header.format == skyplate::BmpPixelFormat::kRle8 ||
      header.width > skyplate::kMaxStreamedWidth || header.pixel_offset > file.size()) {
    return;
  }
  std::vector<skyplate::Colour> row(static_cast<std::size_t>(header.width));
  std::string error;
  for (std::size_t at = header.pixel_offset; file.size() - at >= header.row_stride;
       at += header.row_stride) {
    if (!skyplate::DecodeRow(header, file.data() + at, row.data(), &error)) return;
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
