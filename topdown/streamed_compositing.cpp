#include "topdown/streamed_compositing.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <memory>
#include <vector>

#include "topdown/bmp_encoder.h"
#include "topdown/bmp_header.h"
#include "topdown/bmp_pixels.h"
#include "topdown/output_file.h"
#include "topdown/worker_pool.h"

namespace skyplate {
namespace {

// A band is about this many bytes of mask rows: large enough that threads
// and file calls are few, small enough to stay in the caches.
constexpr std::uint64_t kBandBytes = 2 << 20;
// Streaming needs no memory per pixel; only the file format bounds the size.
constexpr std::int64_t kMaxStreamedPixels = std::int64_t{1} << 40;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// std::fseek takes a long, which is 32 bits on Windows.
bool Seekable(std::uint32_t offset) {
  if constexpr (sizeof(long) >= 8) return true;
  return offset <= static_cast<std::uint32_t>(LONG_MAX);
}

bool Streams(const BmpHeader& header, PictureSize size) {
  return header.width == size.width && header.height == size.height &&
         header.format != BmpPixelFormat::kRle4 && header.format != BmpPixelFormat::kRle8 &&
         header.width <= kMaxStreamedWidth && FitsBmpFile(size.width, size.height) &&
         Seekable(header.pixel_offset);
}

// Composites one mask row, whatever its stored form, into `out`.
class RowJob {
 public:
  RowJob(const BmpHeader& header, const RowCompositor& compositor)
      : header_(header), compositor_(compositor) {
    if (header.format != BmpPixelFormat::kBgr24) {
      colours_.resize(header.width);
      mask_.resize(header.width);
    }
  }

  // False when the row cannot be decoded (a palette index beyond the palette).
  bool Compose(const std::uint8_t* file_row, std::int32_t y, BgrPixel* out) {
    const BgrPixel* mask = reinterpret_cast<const BgrPixel*>(file_row);
    if (header_.format != BmpPixelFormat::kBgr24) {
      if (!DecodeRow(header_, file_row, colours_.data(), &error_)) return false;
      for (std::size_t x = 0; x < colours_.size(); ++x) {
        mask_[x] = {BlueOf(colours_[x]), GreenOf(colours_[x]), RedOf(colours_[x])};
      }
      mask = mask_.data();
    }
    compositor_.ComposeBgr(mask, y, 0, header_.width - 1, out);
    return true;
  }

 private:
  const BmpHeader& header_;
  const RowCompositor& compositor_;
  std::vector<Colour> colours_;
  std::vector<BgrPixel> mask_;
  std::string error_;
};

}  // namespace

StreamOutcome StreamComposite(const std::string& mask_path, PictureSize size,
                              const OverlayTiles& tiles, const std::string& output_path, int jobs,
                              BuildFrontEnd* front_end, std::string* error) {
  const File mask_file(std::fopen(mask_path.c_str(), "rb"));
  if (!mask_file) return StreamOutcome::kCannotStream;
  std::vector<std::uint8_t> head(kBmpHeadBytes);
  head.resize(std::fread(head.data(), 1, head.size(), mask_file.get()));
  BmpHeader header;
  std::string ignored;
  if (!ReadBmpHeader(head, &header, &ignored, kMaxStreamedPixels) || !Streams(header, size) ||
      std::fseek(mask_file.get(), static_cast<long>(header.pixel_offset), SEEK_SET) != 0) {
    return StreamOutcome::kCannotStream;
  }

  OutputFile output;
  const auto file_header = EncodeBmpHeader(size.width, size.height);
  if (!output.Create(output_path, error) ||
      !output.WriteAt(0, file_header.data(), file_header.size(), error)) {
    return StreamOutcome::kNotWritten;
  }

  const std::size_t in_stride = header.row_stride;
  const std::size_t out_stride = BmpStride(size.width);
  const auto band_rows =
      static_cast<std::int32_t>(std::clamp<std::uint64_t>(kBandBytes / in_stride, 1, size.height));
  std::vector<std::uint8_t> in_band(in_stride * band_rows);
  // Zero once: the compositing never writes the rows' padding.
  std::vector<std::uint8_t> out_band(out_stride * band_rows, 0);

  const RowCompositor compositor(tiles);
  WorkerPool pool(jobs);
  std::vector<RowJob> row_jobs(pool.jobs(), RowJob(header, compositor));
  for (std::int32_t first = 0; first < size.height; first += band_rows) {
    const std::int32_t rows = std::min(band_rows, size.height - first);
    if (std::fread(in_band.data(), in_stride, rows, mask_file.get()) !=
        static_cast<std::size_t>(rows)) {
      return StreamOutcome::kCannotStream;
    }
    // The output stores the bottom row first; file row f of the mask is
    // output row f for a bottom-up mask and height - 1 - f for a top-down one.
    const std::int32_t out_first = header.top_down ? size.height - first - rows : first;
    std::atomic<bool> failed = false;
    pool.Run(rows, [&](int job, std::int64_t begin, std::int64_t end) {
      for (std::int64_t i = begin; i < end; ++i) {
        const auto file_row = static_cast<std::int32_t>(first + i);
        const std::int32_t out_row = header.top_down ? size.height - 1 - file_row : file_row;
        BgrPixel* out = reinterpret_cast<BgrPixel*>(&out_band[(out_row - out_first) * out_stride]);
        if (!row_jobs[job].Compose(&in_band[i * in_stride], PictureRow(header, file_row), out)) {
          failed = true;
          return;
        }
      }
    });
    if (failed) return StreamOutcome::kCannotStream;
    if (!output.WriteAt(kBmpHeaderBytes + std::uint64_t{out_stride} * out_first, out_band.data(),
                        out_stride * rows, error)) {
      return StreamOutcome::kNotWritten;
    }
    front_end->ShowProgress(first + rows, size.height);
  }
  return output.Commit(error) ? StreamOutcome::kWritten : StreamOutcome::kNotWritten;
}

}  // namespace skyplate
