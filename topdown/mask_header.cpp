#include "topdown/mask_header.h"

#include <array>

#include "topdown/bmp_signature.h"
#include "topdown/input_file.h"

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

bool ReadMaskSize(const std::string& path, PictureSize* size, std::string* error) {
  *size = {};
  InputFile file;
  if (!file.Open(path, error) || !CheckBmpSignature(file, error)) return false;
  std::array<std::uint8_t, kHeaderBytes> header{};
  const std::size_t got = file.ReadAt(0, header.data(), header.size());
  if (got < header.size()) {
    *error = "is too short to be a BMP (" + std::to_string(got) + " bytes)";
    return false;
  }
  *size = ParseMaskSize(header);
  return true;
}

}  // namespace skyplate
