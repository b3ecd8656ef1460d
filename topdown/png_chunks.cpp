#include "topdown/png_chunks.h"

#include <zlib.h>

#include <limits>

namespace skyplate {
namespace {

void PutBigEndian(std::uint32_t value, std::vector<std::uint8_t>* out) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out->push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

bool FitsPngFile(std::int64_t width, std::int64_t height) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return width >= 1 && height >= 1 && width <= kMax && height <= kMax;
}

void AppendPngChunk(const char (&type)[5], const std::uint8_t* data, std::size_t size,
                    std::vector<std::uint8_t>* out) {
  PutBigEndian(static_cast<std::uint32_t>(size), out);
  const auto* type_bytes = reinterpret_cast<const std::uint8_t*>(type);
  out->insert(out->end(), type_bytes, type_bytes + 4);
  out->insert(out->end(), data, data + size);
  uLong crc = crc32(0, type_bytes, 4);
  // zlib takes a null buffer as a request for the starting value.
  if (size > 0) crc = crc32(crc, data, static_cast<uInt>(size));
  PutBigEndian(static_cast<std::uint32_t>(crc), out);
}

std::vector<std::uint8_t> PngHead(std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutBigEndian(static_cast<std::uint32_t>(width), &header);
  PutBigEndian(static_cast<std::uint32_t>(height), &header);
  // Bit depth 8, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
  header.insert(header.end(), {8, 2, 0, 0, 0});
  AppendPngChunk("IHDR", header.data(), header.size(), &out);
  // Deflate with a 32 KiB window, no preset dictionary, the "fast" level
  // mark; 0x7801 is a multiple of 31 as the format asks.
  const std::uint8_t zlib_header[] = {0x78, 0x01};
  AppendPngChunk("IDAT", zlib_header, sizeof zlib_header, &out);
  return out;
}

std::vector<std::uint8_t> PngTail(std::uint32_t adler) {
  std::vector<std::uint8_t> checksum;
  PutBigEndian(adler, &checksum);
  std::vector<std::uint8_t> out;
  AppendPngChunk("IDAT", checksum.data(), checksum.size(), &out);
  AppendPngChunk("IEND", nullptr, 0, &out);
  return out;
}

}  // namespace skyplate
