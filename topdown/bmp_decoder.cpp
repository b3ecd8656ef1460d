#include "topdown/bmp_decoder.h"

#include <algorithm>

#include "topdown/bmp_header.h"
#include "topdown/bmp_pixels.h"
#include "topdown/limits.h"

namespace skyplate {

std::uint64_t PixelDataBytes(const BmpHeader& header, std::uint64_t file_size) {
  const std::uint64_t after_offset =
      file_size > header.pixel_offset ? file_size - header.pixel_offset : 0;
  return IsRle(header) ? std::min(after_offset, header.pixel_bytes) : after_offset;
}

bool CheckPixelData(const BmpHeader& header, std::uint64_t file_size, std::string* error) {
  if (header.pixel_offset > file_size) {
    *error = "pixel data offset " + std::to_string(header.pixel_offset) +
             " lies beyond the end of the file";
    return false;
  }
  const std::uint64_t bytes = PixelDataBytes(header, file_size);
  if (IsRle(header)) {
    const auto pixels =
        static_cast<std::uint64_t>(header.width) * static_cast<std::uint64_t>(header.height);
    if ((pixels - 1) / kMaxRlePixelsPerByte >= bytes) {
      *error = "RLE data of " + std::to_string(bytes) + " bytes is too short for a picture of " +
               std::to_string(header.width) + " x " + std::to_string(header.height) + " pixels";
      return false;
    }
  } else if (bytes < header.pixel_bytes) {
    *error = "file is shorter than its pixel data";
    return false;
  }
  return true;
}

bool DecodeBmp(std::span<const std::uint8_t> file, Bitmap* out, std::string* error) {
  *out = Bitmap{};
  BmpHeader header;
  if (!ReadBmpHeader(file, &header, error) || !CheckPixelData(header, file.size(), error)) {
    return false;
  }
  const auto data = file.subspan(header.pixel_offset, PixelDataBytes(header, file.size()));
  Bitmap picture = Bitmap::Blank(header.width, header.height);
  if (!DecodePixels(header, data, &picture, error)) return false;
  *out = std::move(picture);
  return true;
}

}  // namespace skyplate
