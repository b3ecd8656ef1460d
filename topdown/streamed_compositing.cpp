#include "topdown/streamed_compositing.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "topdown/bmp_encoder.h"
#include "topdown/bmp_header.h"
#include "topdown/bmp_pixels.h"
#include "topdown/input_file.h"
#include "topdown/output_file.h"
#include "topdown/worker_pool.h"

namespace skyplate {
namespace {

// A band is about this many bytes of mask rows: large enough that threads
// and file calls are few, small enough to stay in the caches.
constexpr std::uint64_t kBandBytes = 256 << 10;

bool Streams(const BmpHeader& header, PictureSize size) {
  return header.width == size.width && header.height == size.height &&
         header.format != BmpPixelFormat::kRle4 && header.format != BmpPixelFormat::kRle8 &&
         header.width <= kMaxStreamedWidth && FitsBmpFile(size.width, size.height);
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
  InputFile mask_file;
  std::string ignored;
  if (!mask_file.Open(mask_path, &ignored)) return StreamOutcome::kCannotStream;
  std::vector<std::uint8_t> head(kBmpHeadBytes);
  head.resize(mask_file.ReadAt(0, head.data(), head.size()));
  BmpHeader header;
  if (!ReadBmpHeader(head, &header, &ignored, kMaxStreamedPixels) || !Streams(header, size)) {
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
  const std::int32_t bands = (size.height - 1) / band_rows + 1;
  const RowCompositor compositor(tiles);

  // Every job reads, composes and writes whole bands on its own, so that the
  // copying in and out of the file cache is shared out as well as the
  // arithmetic, and no job waits for another.
  std::atomic<std::int32_t> next_band = 0;
  std::atomic<std::int64_t> rows_done = 0;
  std::mutex failure_mutex;
  std::atomic<bool> failed = false;
  StreamOutcome failure = StreamOutcome::kWritten;
  auto fail = [&](StreamOutcome outcome, const std::string& reason) {
    std::lock_guard lock(failure_mutex);
    if (!failed.exchange(true)) {
      failure = outcome;
      *error = reason;
    }
  };
  WorkerPool pool(jobs);
  pool.Run(pool.jobs(), [&](int job, std::int64_t, std::int64_t) {
    // Not zeroed: every byte is read from the file before it is used.
    const std::unique_ptr<std::uint8_t[]> in_band(new std::uint8_t[in_stride * band_rows]);
    // Zero once: the compositing never writes the rows' padding.
    std::vector<std::uint8_t> out_band(out_stride * band_rows, 0);
    RowJob row_job(header, compositor);
    for (std::int32_t band = next_band++; band < bands && !failed; band = next_band++) {
      const std::int32_t first = band * band_rows;
      const std::int32_t rows = std::min(band_rows, size.height - first);
      const std::size_t bytes = in_stride * rows;
      if (mask_file.ReadAt(header.pixel_offset + std::uint64_t{in_stride} * first, in_band.get(),
                           bytes) != bytes) {
        return fail(StreamOutcome::kCannotStream, "");
      }
      // The output stores the bottom row first; file row f of the mask is
      // output row f for a bottom-up mask and height - 1 - f for a top-down one.
      const std::int32_t out_first = header.top_down ? size.height - first - rows : first;
      for (std::int32_t i = 0; i < rows; ++i) {
        const std::int32_t file_row = first + i;
        const std::int32_t out_row = header.top_down ? size.height - 1 - file_row : file_row;
        auto* out = reinterpret_cast<BgrPixel*>(&out_band[(out_row - out_first) * out_stride]);
        if (!row_job.Compose(&in_band[i * in_stride], PictureRow(header, file_row), out)) {
          return fail(StreamOutcome::kCannotStream, "");
        }
      }
      std::string write_error;
      if (!output.WriteAt(kBmpHeaderBytes + std::uint64_t{out_stride} * out_first, out_band.data(),
                          out_stride * rows, &write_error)) {
        return fail(StreamOutcome::kNotWritten, write_error);
      }
      rows_done += rows;
      // The front end hears only from the thread that called.
      if (job == 0) front_end->ShowProgress(rows_done, size.height);
    }
  });
  if (failed) return failure;
  return output.Commit(error) ? StreamOutcome::kWritten : StreamOutcome::kNotWritten;
}

}  // namespace skyplate
