#include "topdown/mask_header.h"

#include <array>
#include <cstdio>

namespace skyplate {
namespace {

constexpr std::size_t kHeaderBytes = 26;
constexpr std::uint32_t kCoreHeaderSize = 12;

std::uint32_t ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t offset,
                               std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t{bytes[offset + i]} << (8 * i);
  return value;
}

}  // namespace

PictureSize ParseMaskSize(std::span<const std::uint8_t> header) {
  std::array<std::uint8_t, kHeaderBytes> bytes{};
  for (std::size_t i = 0; i < bytes.size() && i < header.size(); ++i) bytes[i] = header[i];

  PictureSize size;
  if (ReadLittleEndian(bytes, 14, 4) == kCoreHeaderSize) {
    size.width = static_cast<std::int32_t>(ReadLittleEndian(bytes, 18, 2));
    size.height = static_cast<std::int32_t>(ReadLittleEndian(bytes, 20, 2));
    return size;
  }
  size.width = static_cast<std::int32_t>(ReadLittleEndian(bytes, 18, 4));
  size.height = static_cast<std::int32_t>(ReadLittleEndian(bytes, 22, 4));
  if (size.height < 0) size.height = size.height == INT32_MIN ? 0 : -size.height;
  return size;
}

PictureSize ReadMaskSize(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return {};
  std::array<std::uint8_t, kHeaderBytes> header{};
  std::size_t got = std::fread(header.data(), 1, header.size(), file);
  std::fclose(file);
  return ParseMaskSize(std::span(header.data(), got));
}

}  // namespace skyplate
