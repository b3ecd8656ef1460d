#include "topdown/bmp_decoder.h"

#include <algorithm>

#include "topdown/bmp_header.h"
#include "topdown/bmp_pixels.h"
#include "topdown/limits.h"

namespace skyplate {

bool DecodeBmp(std::span<const std::uint8_t> file, Bitmap* out, std::string* error) {
  *out = Bitmap{};
  BmpHeader header;
  if (!ReadBmpHeader(file, &header, error)) return false;
  if (header.pixel_offset > file.size()) {
    *error = "pixel data offset " + std::to_string(header.pixel_offset) +
             " lies beyond the end of the file";
    return false;
  }
  std::span<const std::uint8_t> data = file.subspan(header.pixel_offset);
  const bool rle = header.format == BmpPixelFormat::kRle4 || header.format == BmpPixelFormat::kRle8;
  if (rle) {
    data = data.first(std::min<std::uint64_t>(data.size(), header.pixel_bytes));
    const auto pixels =
        static_cast<std::uint64_t>(header.width) * static_cast<std::uint64_t>(header.height);
    if ((pixels - 1) / kMaxRlePixelsPerByte >= data.size()) {
      *error = "RLE data of " + std::to_string(data.size()) +
               " bytes is too short for a picture of " + std::to_string(header.width) + " x " +
               std::to_string(header.height) + " pixels";
      return false;
    }
  } else if (data.size() < header.pixel_bytes) {
    *error = "file is shorter than its pixel data";
    return false;
  }
  Bitmap picture = Bitmap::Blank(header.width, header.height);
  if (!DecodePixels(header, data, &picture, error)) return false;
  *out = std::move(picture);
  return true;
}

}  // namespace skyplate
