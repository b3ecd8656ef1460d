#include "topdown/bitmap_loader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "topdown/bmp_decoder.h"
#include "topdown/bmp_header.h"
#include "topdown/bmp_signature.h"
#include "topdown/input_file.h"
#include "topdown/resample.h"

namespace skyplate {
namespace {

// Reads no more of the file than its validated header says the picture
// needs; anything beyond is never looked at. Memory follows the file's real
// length, so a header that promises more than the file holds costs nothing.
bool ReadBmpFile(const std::string& path, std::vector<std::uint8_t>* bytes, std::string* error) {
  InputFile file;
  if (!file.Open(path, error) || !CheckBmpSignature(file, error)) return false;
  bytes->resize(static_cast<std::size_t>(std::min<std::uint64_t>(kBmpHeadBytes, file.size())));
  bytes->resize(file.ReadAt(0, bytes->data(), bytes->size()));
  BmpHeader header;
  if (!ReadBmpHeader(*bytes, &header, error)) return false;
  const std::uint64_t wanted =
      std::min(std::uint64_t{header.pixel_offset} + header.pixel_bytes, file.size());
  if (wanted > SIZE_MAX) {
    *error = "file is too large to read into memory";
    return false;
  }
  const std::size_t had = bytes->size();
  if (wanted > had) {
    bytes->resize(static_cast<std::size_t>(wanted));
    bytes->resize(had + file.ReadAt(had, bytes->data() + had, bytes->size() - had));
  }
  return true;
}

}  // namespace

bool LoadBitmapFile(const std::string& path, std::int32_t width, std::int32_t height, Bitmap* out,
                    std::string* error, ImageCache* cache) {
  *out = Bitmap{};
  const bool own_size = width == 0 || height == 0;
  if (!own_size && !FitsInMemory(width, height)) {
    *error = "requested size of " + std::to_string(width) + " x " + std::to_string(height) +
             " pixels is out of range";
    return false;
  }
  std::vector<std::uint8_t> bytes;
  Bitmap loaded;
  if (!ReadBmpFile(path, &bytes, error)) return false;
  if (cache != nullptr) {
    if (std::optional<Bitmap> kept = cache->Find(bytes, width, height)) {
      *out = std::move(*kept);
      return true;
    }
  }
  if (!DecodeBmp(bytes, &loaded, error)) return false;
  if (own_size || (loaded.width == width && loaded.height == height)) {
    *out = std::move(loaded);
  } else {
    *out = ResampleAreaAverage(loaded, width, height);
  }
  if (cache != nullptr) cache->Keep(bytes, width, height, *out);
  return true;
}

}  // namespace skyplate
