#include "topdown/bitmap_loader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <vector>

#include "topdown/bmp_decoder.h"
#include "topdown/bmp_header.h"
#include "topdown/resample.h"

namespace skyplate {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Appends up to `limit` bytes from `file` to `bytes`. The buffer grows only by
// what actually arrives, so a header that promises more than the file holds
// costs no memory, and a small file costs no more than its own size.
void ReadUpTo(std::FILE* file, std::uint64_t limit, std::vector<std::uint8_t>* bytes) {
  std::array<std::uint8_t, 64 * 1024> chunk;
  while (bytes->size() < limit) {
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), limit - bytes->size()));
    const std::size_t got = std::fread(chunk.data(), 1, wanted, file);
    bytes->insert(bytes->end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
    if (got < wanted) return;
  }
}

// Reads no more of the file than its validated header says the picture
// needs; anything beyond is never looked at.
bool ReadBmpFile(const std::string& path, std::vector<std::uint8_t>* bytes, std::string* error) {
  const File file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    *error = "cannot open the file";
    return false;
  }
  ReadUpTo(file.get(), kBmpHeadBytes, bytes);
  BmpHeader header;
  if (!ReadBmpHeader(*bytes, &header, error)) return false;
  ReadUpTo(file.get(), std::uint64_t{header.pixel_offset} + header.pixel_bytes, bytes);
  if (std::ferror(file.get())) {
    *error = "cannot read the file";
    return false;
  }
  return true;
}

}  // namespace

bool LoadBitmapFile(const std::string& path, std::int32_t width, std::int32_t height, Bitmap* out,
                    std::string* error) {
  *out = Bitmap{};
  const bool own_size = width == 0 || height == 0;
  if (!own_size && !FitsInMemory(width, height)) {
    *error = "requested size of " + std::to_string(width) + " x " + std::to_string(height) +
             " pixels is out of range";
    return false;
  }
  std::vector<std::uint8_t> bytes;
  Bitmap loaded;
  if (!ReadBmpFile(path, &bytes, error) || !DecodeBmp(bytes, &loaded, error)) return false;
  if (own_size || (loaded.width == width && loaded.height == height)) {
    *out = std::move(loaded);
  } else {
    *out = ResampleAreaAverage(loaded, width, height);
  }
  return true;
}

}  // namespace skyplate
