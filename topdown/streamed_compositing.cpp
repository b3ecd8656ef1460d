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
#include "topdown/worker_pool.h"

namespace skyplate {
namespace {

// A band is about this many bytes of mask rows: large enough that threads
// and file calls are few, small enough to stay in the caches.
constexpr std::uint64_t kBandBytes = 256 << 10;

bool Streams(const BmpHeader& header, PictureSize size, const PictureWriter& writer) {
  return header.width == size.width && header.height == size.height &&
         header.format != BmpPixelFormat::kRle4 && header.format != BmpPixelFormat::kRle8 &&
         header.width <= kMaxStreamedWidth && writer.Fits(size);
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
                              const OverlayTiles& tiles, const std::string& output_path,
                              PictureFormat format, int jobs, BuildFrontEnd* front_end,
                              std::string* error) {
  InputFile mask_file;
  if (!mask_file.Open(mask_path)) return StreamOutcome::kCannotStream;
  std::vector<std::uint8_t> head(kBmpHeadBytes);
  head.resize(mask_file.ReadAt(0, head.data(), head.size()));
  BmpHeader header;
  std::string ignored;
  const auto writer = MakePictureWriter(format);
  if (!ReadBmpHeader(head, &header, &ignored, kMaxStreamedPixels) ||
      !Streams(header, size, *writer)) {
    return StreamOutcome::kCannotStream;
  }
  if (!writer->Create(output_path, size, error)) return StreamOutcome::kNotWritten;
  // Such a writer takes bands from the top of the picture down, each with
  // the row above it composited as well: one more mask row read per band.
  const bool top_down_bands = writer->NeedsTopDownBands();

  const std::size_t in_stride = header.row_stride;
  const std::size_t out_stride = BmpStride(size.width);
  const auto band_rows =
      static_cast<std::int32_t>(std::clamp<std::uint64_t>(kBandBytes / in_stride, 1, size.height));
  const std::int32_t bands = (size.height - 1) / band_rows + 1;
  // The picture's top is the mask file's last row unless the mask is top-down.
  const bool reverse_bands = top_down_bands && !header.top_down;
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
      writer->Abandon();
    }
  };
  WorkerPool pool(jobs);
  pool.Run(pool.jobs(), [&](int job, std::int64_t, std::int64_t) {
    // Not zeroed: every byte is read from the file before it is used. One
    // row more for the row above the band.
    const std::unique_ptr<std::uint8_t[]> in_band(new std::uint8_t[in_stride * (band_rows + 1)]);
    // Zero once: the compositing never writes the rows' padding.
    std::vector<std::uint8_t> out_band(out_stride * band_rows, 0);
    std::vector<BgrPixel> row_above(top_down_bands ? size.width : 0);
    RowJob row_job(header, compositor);
    for (std::int32_t claimed = next_band++; claimed < bands && !failed; claimed = next_band++) {
      const std::int32_t band = reverse_bands ? bands - 1 - claimed : claimed;
      const std::int32_t first = band * band_rows;
      const std::int32_t rows = std::min(band_rows, size.height - first);
      // The row above the band is the file row after it in a bottom-up mask,
      // the one before it in a top-down one; the picture's top row has none.
      const std::int32_t above_row = header.top_down ? first - 1 : first + rows;
      const bool with_above = top_down_bands && above_row >= 0 && above_row < size.height;
      const std::int32_t read_first = with_above ? std::min(first, above_row) : first;
      const std::size_t bytes = in_stride * (rows + (with_above ? 1 : 0));
      if (mask_file.ReadAt(header.pixel_offset + std::uint64_t{in_stride} * read_first,
                           in_band.get(), bytes) != bytes) {
        return fail(StreamOutcome::kCannotStream, "");
      }
      const std::uint8_t* band_rows_in = &in_band[(first - read_first) * in_stride];
      if (with_above && !row_job.Compose(&in_band[(above_row - read_first) * in_stride],
                                         PictureRow(header, above_row), row_above.data())) {
        return fail(StreamOutcome::kCannotStream, "");
      }
      // The output stores the bottom row first; file row f of the mask is
      // output row f for a bottom-up mask and height - 1 - f for a top-down one.
      const std::int32_t out_first = header.top_down ? size.height - first - rows : first;
      for (std::int32_t i = 0; i < rows; ++i) {
        const std::int32_t file_row = first + i;
        const std::int32_t out_row = header.top_down ? size.height - 1 - file_row : file_row;
        auto* out = reinterpret_cast<BgrPixel*>(&out_band[(out_row - out_first) * out_stride]);
        if (!row_job.Compose(&band_rows_in[i * in_stride], PictureRow(header, file_row), out)) {
          return fail(StreamOutcome::kCannotStream, "");
        }
      }
      std::string write_error;
      const PictureBand picture_band = {
          size.height - out_first - rows, rows, out_band.data(),
          with_above ? reinterpret_cast<const std::uint8_t*>(row_above.data()) : nullptr};
      if (!writer->WriteBand(picture_band, &write_error)) {
        return fail(StreamOutcome::kNotWritten, write_error);
      }
      rows_done += rows;
      // The front end hears only from the thread that called.
      if (job == 0) front_end->ShowProgress(rows_done, size.height);
    }
  });
  if (failed) return failure;
  return writer->Commit(error) ? StreamOutcome::kWritten : StreamOutcome::kNotWritten;
}

}  // namespace skyplate
