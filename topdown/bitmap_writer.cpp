#include "topdown/bitmap_writer.h"

#include <algorithm>
#include <vector>

#include "topdown/bmp_encoder.h"
#include "topdown/output_file.h"

namespace skyplate {

bool SaveBitmapFile(const Bitmap& bitmap, const std::string& path, std::string* error) {
  if (path.empty()) {
    *error = "no output path";
    return false;
  }
  if (bitmap.empty() || !FitsBmpFile(bitmap.width, bitmap.height)) {
    *error = "no picture to write";
    return false;
  }
  OutputFile file;
  if (!file.Create(path, error)) return false;
  const auto header = EncodeBmpHeader(bitmap.width, bitmap.height);
  if (!file.WriteAt(0, header.data(), header.size(), error)) return false;

  // A band of rows at a time keeps the copy small while still writing in
  // large blocks; the file stores the bottom row first.
  const std::size_t stride = BmpStride(bitmap.width);
  const std::int32_t band_rows =
      static_cast<std::int32_t>(std::max<std::size_t>(1, (1 << 20) / stride));
  std::vector<std::uint8_t> band(stride * static_cast<std::size_t>(band_rows));
  std::uint64_t offset = header.size();
  for (std::int32_t top = bitmap.height; top > 0;) {
    std::int32_t rows = std::min(band_rows, top);
    for (std::int32_t i = 0; i < rows; ++i) {
      EncodeBmpRow(bitmap.Row(top - 1 - i), bitmap.width, band.data() + i * stride);
    }
    if (!file.WriteAt(offset, band.data(), stride * rows, error)) return false;
    offset += stride * rows;
    top -= rows;
  }
  return file.Commit(error);
}

}  // namespace skyplate
