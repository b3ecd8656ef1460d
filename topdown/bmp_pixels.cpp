#include "topdown/bmp_pixels.h"

namespace skyplate {
namespace {

bool DecodeIndexedRow(const BmpHeader& header, const std::uint8_t* row, std::int32_t count,
                      Colour* out, std::string* error) {
  const int bits = header.bits_per_pixel;
  const int per_byte = 8 / bits;
  const std::uint32_t index_mask = (1u << bits) - 1;
  for (std::int32_t x = 0; x < count; ++x) {
    // The leftmost pixel sits in the highest bits of its byte.
    const int shift = 8 - bits * (x % per_byte + 1);
    const std::uint32_t index = row[x / per_byte] >> shift & index_mask;
    if (!LookUpPalette(header, index, &out[x], error)) return false;
  }
  return true;
}

bool DecodeBgr24Row(const BmpHeader&, const std::uint8_t* row, std::int32_t count, Colour* out,
                    std::string*) {
  for (std::int32_t x = 0; x < count; ++x, row += 3) {
    out[x] = MakeColour(row[2], row[1], row[0]);
  }
  return true;
}

bool DecodeBitFieldsRow(const BmpHeader& header, const std::uint8_t* row, std::int32_t count,
                        Colour* out, std::string*) {
  const bool wide = header.bits_per_pixel == 32;
  for (std::int32_t x = 0; x < count; ++x) {
    std::uint32_t pixel = row[0] | row[1] << 8;
    if (wide) {
      pixel |= static_cast<std::uint32_t>(row[2]) << 16 | static_cast<std::uint32_t>(row[3]) << 24;
    }
    row += wide ? 4 : 2;
    out[x] = MakeColour(ChannelValue(header.red, pixel), ChannelValue(header.green, pixel),
                        ChannelValue(header.blue, pixel));
  }
  return true;
}

}  // namespace

bool DecodeRow(const BmpHeader& header, const std::uint8_t* row, std::int32_t count, Colour* out,
               std::string* error) {
  switch (header.format) {
    case BmpPixelFormat::kIndexed:
      return DecodeIndexedRow(header, row, count, out, error);
    case BmpPixelFormat::kBgr24:
      return DecodeBgr24Row(header, row, count, out, error);
    case BmpPixelFormat::kBitFields:
      return DecodeBitFieldsRow(header, row, count, out, error);
    case BmpPixelFormat::kRle4:
    case BmpPixelFormat::kRle8:
      break;
  }
  *error = "run-length encoded rows cannot be decoded one at a time";
  return false;
}

bool DecodePixels(const BmpHeader& header, std::span<const std::uint8_t> data, Bitmap* picture,
                  std::string* error) {
  if (header.format == BmpPixelFormat::kRle4 || header.format == BmpPixelFormat::kRle8) {
    return DecodeRlePixels(header, data, picture, error);
  }
  for (std::int32_t file_row = 0; file_row < header.height; ++file_row) {
    const std::uint8_t* row = data.data() + static_cast<std::size_t>(file_row) * header.row_stride;
    Colour* out = picture->Row(PictureRow(header, file_row));
    if (!DecodeRow(header, row, header.width, out, error)) return false;
  }
  return true;
}

}  // namespace skyplate
