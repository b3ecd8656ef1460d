#include "topdown/streamed_compositing.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "topdown/band_layout.h"
#include "topdown/bmp_encoder.h"
#include "topdown/picture_writer.h"
#include "topdown/streamed_mask.h"
#include "topdown/worker_pool.h"

namespace skyplate {
namespace {

// A band holds this many pixels at most (a multiple of the tile size): large
// enough that threads and file calls are few, small enough to stay in the
// caches, and never more than a few hundred kilobytes whatever the picture.
constexpr std::int64_t kBandPixels = std::int64_t{1} << 16;

// Bands of RLE data in memory at once, at most: one a job, each well under a
// megabyte.
constexpr int kMaxHeldBands = 32;

// Bands a job takes on between two reports of progress, from a mask read in
// any order. Jobs take them one at a time as they come free, so that a job the
// system holds back does not keep the others waiting for it, and they meet
// only a few dozen times in a picture.
constexpr std::int64_t kBandsPerJobAndRound = 16;

// What one job needs to composite a band.
struct JobBuffers {
  MaskScratch scratch;
  std::vector<std::uint8_t> out;  // zeroed once: rows' padding stays zero
  std::vector<BgrPixel> above;    // the row above the band, for writers that ask
};

enum class PassOutcome { kWritten, kMaskFailed, kNotWritten };

// One pass over the picture: composites the mask's bands a few at a time on
// every job and hands each to the picture writer, in the file's order of
// bands or, for a writer that needs them so, from the picture's top down.
class StreamPass final : public RleSink {
 public:
  StreamPass(const StreamedMask& mask, const BandLayout& layout, PictureSize size,
             const RowCompositor& compositor, PictureWriter* writer, WorkerPool* pool,
             BuildFrontEnd* front_end)
      : mask_(mask),
        layout_(layout),
        size_(size),
        compositor_(compositor),
        writer_(writer),
        top_down_(writer->NeedsTopDownBands()),
        pool_(pool),
        front_end_(front_end),
        out_stride_(BmpStride(size.width)),
        job_buffers_(pool->jobs()) {
    const auto band_rows = static_cast<std::size_t>(layout.band_rows());
    const auto band_columns = static_cast<std::size_t>(layout.band_columns());
    // Whole rows with their padding, or a piece of a row and at most 3 bytes
    // of padding.
    const std::size_t out_bytes = band_columns == static_cast<std::size_t>(size.width)
                                      ? band_rows * out_stride_
                                      : band_columns * sizeof(BgrPixel) + 3;
    // A top-down writer's band comes with the row above it: one mask row more.
    const std::size_t mask_rows = band_rows + (top_down_ ? 1 : 0);
    for (JobBuffers& buffers : job_buffers_) {
      buffers.out.assign(out_bytes, 0);
      if (top_down_) buffers.above.resize(band_columns);
    }
    // RLE data fills the bands it holds in file order; a black mask needs one
    // band of black for every job to read.
    std::int64_t masks = 0;
    if (mask.kind() == StreamedMask::Kind::kRle) {
      masks = std::min<std::int64_t>({pool->jobs(), kMaxHeldBands, layout.count()});
    } else if (mask.kind() == StreamedMask::Kind::kBlack) {
      masks = 1;
    }
    held_masks_.resize(masks);
    for (std::vector<BgrPixel>& held : held_masks_)
      held.assign(mask_rows * band_columns, {0, 0, 0});
  }

  // Writes every band; `mask_error` or `write_error` says why it could not.
  PassOutcome Run(std::string* mask_error, std::string* write_error) {
    // The sink stops the decoding only when a write failed.
    if (mask_.kind() == StreamedMask::Kind::kRle && !mask_.DecodeAll(this, mask_error) &&
        failure_ == PassOutcome::kWritten) {
      return PassOutcome::kMaskFailed;
    }
    while (failure_ == PassOutcome::kWritten && first_held_ < layout_.count()) WriteHeld();
    if (failure_ != PassOutcome::kWritten) {
      *(failure_ == PassOutcome::kMaskFailed ? mask_error : write_error) = error_;
    }
    return failure_;
  }

  // Pixels of RLE data, whose rows are stored bottom up as the output's.
  bool Put(std::int32_t x, std::int32_t row, Colour colour) override {
    if (row != put_band_.first_row + put_row_ || x < put_band_.first_column ||
        x >= put_band_.first_column + put_band_.columns) {
      if (!FindPutBand(x, row)) return false;
    }
    put_pixels_[static_cast<std::size_t>(put_row_) * put_band_.columns +
                static_cast<std::size_t>(x - put_band_.first_column)] = {
        BlueOf(colour), GreenOf(colour), RedOf(colour)};
    return true;
  }

 private:
  // Locates the band of a pixel, writing the bands before it that are held.
  bool FindPutBand(std::int32_t x, std::int32_t row) {
    const std::int64_t band = layout_.IndexOf(x, row);
    const auto held = static_cast<std::int64_t>(held_masks_.size());
    while (band >= first_held_ + held) {
      if (!WriteHeld()) return false;
    }
    put_band_ = layout_.At(band);
    put_row_ = row - put_band_.first_row;
    put_pixels_ = held_masks_[band - first_held_].data();
    return true;
  }

  // Composites and writes the held bands, or the next round of bands of a
  // mask read in any order, in parallel, and moves on to the next ones.
  bool WriteHeld() {
    const bool rle = mask_.kind() == StreamedMask::Kind::kRle;
    const std::int64_t round =
        rle ? static_cast<std::int64_t>(held_masks_.size()) : kBandsPerJobAndRound * pool_->jobs();
    const std::int64_t count = std::min<std::int64_t>(round, layout_.count() - first_held_);
    std::vector<PassOutcome> outcomes(count, PassOutcome::kWritten);
    std::vector<std::string> errors(count);
    // The band that failed first; the others may fail only because it did.
    std::atomic<std::int64_t> cause = -1;
    // Taken in order, so that a writer wanting bands in order gets the band
    // it waits for next from a job that is not waiting itself.
    std::atomic<std::int64_t> next = 0;
    pool_->Run(pool_->jobs(), [&](int job, std::int64_t, std::int64_t) {
      for (std::int64_t i = next++; i < count && cause < 0; i = next++) {
        const std::vector<BgrPixel>* held =
            held_masks_.empty() ? nullptr : &held_masks_[rle ? i : 0];
        outcomes[i] = WriteBand(BandAt(first_held_ + i), held, &job_buffers_[job], &errors[i]);
        // Pixels RLE data skips are black.
        if (rle) std::fill(held_masks_[i].begin(), held_masks_[i].end(), BgrPixel{0, 0, 0});
        std::int64_t none = -1;
        if (outcomes[i] != PassOutcome::kWritten && cause.compare_exchange_strong(none, i)) {
          // A writer taking bands in order may hold other jobs waiting for this one.
          writer_->Abandon();
        }
      }
    });
    if (cause >= 0) {
      failure_ = outcomes[cause];
      error_ = errors[cause];
    }
    std::int64_t rows_done = 0;
    for (std::int64_t i = 0; i < count; ++i) {
      const Band band = BandAt(first_held_ + i);
      if (band.ends_row) rows_done += band.rows;
    }
    first_held_ += count;
    put_band_ = {};
    rows_done_ += rows_done;
    // The front end hears only from the thread that called.
    front_end_->ShowProgress(rows_done_, size_.height);
    return failure_ == PassOutcome::kWritten;
  }

  Band BandAt(std::int64_t index) const {
    return top_down_ ? layout_.FromTop(index) : layout_.At(index);
  }

  // `held`: the band's pixels of a mask not read from the file by rows.
  PassOutcome WriteBand(const Band& band, const std::vector<BgrPixel>* held, JobBuffers* buffers,
                        std::string* error) {
    // Rows count from the bottom: the row above the band is the one after it.
    const bool with_above = top_down_ && band.first_row + band.rows < size_.height;
    MaskRows rows;
    if (mask_.kind() == StreamedMask::Kind::kRows) {
      Band read = band;
      read.rows += with_above ? 1 : 0;
      if (!mask_.ReadBand(read, &buffers->scratch, &rows, error)) return PassOutcome::kMaskFailed;
    } else {
      rows = {reinterpret_cast<const std::uint8_t*>(held->data()),
              static_cast<std::ptrdiff_t>(band.columns * sizeof(BgrPixel))};
    }
    // A band of whole rows is written as the file stores them, padding and
    // all; a piece of a row alone, with the row's padding when it ends it.
    const std::size_t pixel_bytes = band.columns * sizeof(BgrPixel);
    const std::size_t padding = band.ends_row ? out_stride_ - size_.width * sizeof(BgrPixel) : 0;
    const std::size_t pitch = band.rows > 1 ? out_stride_ : pixel_bytes + padding;
    for (std::int32_t i = 0; i < band.rows; ++i) {
      std::uint8_t* out = &buffers->out[i * pitch];
      // Pictures are composited with the top row as row 0.
      const std::int32_t y = size_.height - 1 - (band.first_row + i);
      compositor_.ComposeBgr(rows.Row(i), y, 0, band.columns - 1, reinterpret_cast<BgrPixel*>(out));
      std::memset(out + pixel_bytes, 0, padding);
    }
    const std::int32_t top = size_.height - band.first_row - band.rows;
    if (with_above) {
      compositor_.ComposeBgr(rows.Row(band.rows), top - 1, 0, band.columns - 1,
                             buffers->above.data());
    }
    const PictureBand picture_band = {
        top,
        band.rows,
        buffers->out.data(),
        with_above ? reinterpret_cast<const std::uint8_t*>(buffers->above.data()) : nullptr,
        band.first_column,
        band.columns};
    return writer_->WriteBand(picture_band, error) ? PassOutcome::kWritten
                                                   : PassOutcome::kNotWritten;
  }

  const StreamedMask& mask_;
  const BandLayout& layout_;
  const PictureSize size_;
  const RowCompositor& compositor_;
  PictureWriter* writer_;
  const bool top_down_;
  WorkerPool* pool_;
  BuildFrontEnd* front_end_;
  const std::size_t out_stride_;
  std::vector<JobBuffers> job_buffers_;
  // RLE: the mask pixels of the bands held, the first of them first_held_.
  // Black: one band's black pixels, for all.
  std::vector<std::vector<BgrPixel>> held_masks_;
  std::int64_t first_held_ = 0;
  std::int64_t rows_done_ = 0;
  PassOutcome failure_ = PassOutcome::kWritten;
  std::string error_;
  // Where RLE pixels go now: a row of a held band.
  Band put_band_;
  std::int32_t put_row_ = 0;
  BgrPixel* put_pixels_ = nullptr;
};

}  // namespace

StreamOutcome StreamComposite(const std::string& mask_path, PictureSize size,
                              const OverlayTiles& tiles, const std::string& output_path,
                              PictureFormat format, int jobs, BuildFrontEnd* front_end,
                              const MaskNotLoaded& mask_not_loaded, std::string* error) {
  const auto probe = MakePictureWriter(format);
  if (!probe->Fits(size)) return StreamOutcome::kCannotStream;
  StreamedMask mask;
  std::string reason;
  const bool opened = mask.Open(mask_path, size, &reason);
  // Run-length encoded data decodes from the picture's bottom only, and a
  // writer that takes the top first would have to hold the whole picture.
  if (mask.kind() == StreamedMask::Kind::kRle && probe->NeedsTopDownBands()) {
    return StreamOutcome::kCannotStream;
  }
  if (!opened && !mask_not_loaded(reason)) return StreamOutcome::kStopped;

  const BandLayout layout(size, kBandPixels);
  const RowCompositor compositor(tiles);
  WorkerPool pool(jobs);
  // Each pass writes a picture of its own: one that fails leaves nothing.
  auto pass = [&] {
    const auto writer = MakePictureWriter(format);
    if (!writer->Create(output_path, size, error)) return PassOutcome::kNotWritten;
    const PassOutcome outcome =
        StreamPass(mask, layout, size, compositor, writer.get(), &pool, front_end)
            .Run(&reason, error);
    if (outcome != PassOutcome::kWritten) return outcome;
    return writer->Commit(error) ? PassOutcome::kWritten : PassOutcome::kNotWritten;
  };
  PassOutcome outcome = pass();
  if (outcome == PassOutcome::kMaskFailed) {
    // A mask that fails to decode anywhere reads as black everywhere, as a
    // build in memory has it; the picture is written again.
    if (!mask_not_loaded(reason)) return StreamOutcome::kStopped;
    mask.MakeBlack();
    outcome = pass();
  }
  return outcome == PassOutcome::kWritten ? StreamOutcome::kWritten : StreamOutcome::kNotWritten;
}

}  // namespace skyplate
