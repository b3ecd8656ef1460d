#include "topdown/bitmap_writer.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "topdown/bmp_encoder.h"
#include "topdown/worker_pool.h"

namespace skyplate {

bool SavePictureFile(const Bitmap& bitmap, const std::string& path, PictureFormat format, int jobs,
                     std::string* error) {
  if (path.empty()) {
    *error = "no output path";
    return false;
  }
  if (bitmap.empty()) {
    *error = "no picture to write";
    return false;
  }
  const auto writer = MakePictureWriter(format);
  if (!writer->Create(path, {bitmap.width, bitmap.height}, error)) return false;

  // A band of rows at a time keeps the copy small while still writing in
  // large blocks.
  const std::size_t stride = BmpStride(bitmap.width);
  const std::int32_t band_rows = static_cast<std::int32_t>(
      std::clamp<std::size_t>((1 << 20) / stride, 1, static_cast<std::size_t>(bitmap.height)));
  const std::int32_t bands = (bitmap.height - 1) / band_rows + 1;
  std::atomic<std::int32_t> next_band = 0;
  std::atomic<bool> failed = false;
  WorkerPool pool(jobs);
  pool.Run(pool.jobs(), [&](int, std::int64_t, std::int64_t) {
    std::vector<std::uint8_t> band(stride * band_rows);
    std::vector<std::uint8_t> above(stride);
    std::string band_error;
    // Bands are taken from the top down, as writers that compress need them.
    for (std::int32_t b = next_band++; b < bands && !failed; b = next_band++) {
      const std::int32_t top = b * band_rows;
      const std::int32_t rows = std::min(band_rows, bitmap.height - top);
      for (std::int32_t i = 0; i < rows; ++i) {
        EncodeBmpRow(bitmap.Row(top + rows - 1 - i), bitmap.width, band.data() + i * stride);
      }
      if (top > 0) EncodeBmpRow(bitmap.Row(top - 1), bitmap.width, above.data());
      if (!writer->WriteBand({top, rows, band.data(), top > 0 ? above.data() : nullptr},
                             &band_error) &&
          !failed.exchange(true)) {
        writer->Abandon();
        // Only the first failure is the reason; the others follow from it.
        *error = band_error;
      }
    }
  });
  return !failed && writer->Commit(error);
}

bool SaveBitmapFile(const Bitmap& bitmap, const std::string& path, std::string* error) {
  return SavePictureFile(bitmap, path, PictureFormat::kBmp, 1, error);
}

}  // namespace skyplate
