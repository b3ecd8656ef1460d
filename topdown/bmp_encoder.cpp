#include "topdown/bmp_encoder.h"

#include <cstring>
#include <limits>

namespace skyplate {
namespace {

void PutLittleEndian(std::uint8_t* out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

bool FitsBmpFile(std::int64_t width, std::int64_t height) {
  if (width < 1 || height < 1 || width > std::numeric_limits<std::int32_t>::max() ||
      height > std::numeric_limits<std::int32_t>::max()) {
    return false;
  }
  const std::uint64_t room = std::numeric_limits<std::uint32_t>::max() - kBmpHeaderBytes;
  return BmpStride(width) <= room / static_cast<std::uint64_t>(height);
}

std::array<std::uint8_t, kBmpHeaderBytes> EncodeBmpHeader(std::int32_t width, std::int32_t height) {
  std::array<std::uint8_t, kBmpHeaderBytes> header{};
  const auto file_size =
      static_cast<std::uint32_t>(kBmpHeaderBytes + BmpStride(width) * std::uint64_t(height));
  header[0] = 'B';
  header[1] = 'M';
  PutLittleEndian(&header[2], file_size, 4);
  PutLittleEndian(&header[10], kBmpHeaderBytes, 4);
  PutLittleEndian(&header[14], 40, 4);
  PutLittleEndian(&header[18], static_cast<std::uint32_t>(width), 4);
  PutLittleEndian(&header[22], static_cast<std::uint32_t>(height), 4);
  PutLittleEndian(&header[26], 1, 2);
  PutLittleEndian(&header[28], 24, 2);
  // Compression, image size, resolutions and colour counts all stay 0.
  return header;
}

void EncodeBmpRow(const Colour* row, std::int32_t width, std::uint8_t* out) {
  for (std::int32_t x = 0; x < width; ++x) {
    const Colour c = row[x];
    out[0] = BlueOf(c);
    out[1] = GreenOf(c);
    out[2] = RedOf(c);
    out += 3;
  }
  std::memset(out, 0, BmpStride(width) - 3 * static_cast<std::uint64_t>(width));
}

}  // namespace skyplate
