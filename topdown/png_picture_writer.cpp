#include "topdown/png_picture_writer.h"

#include <zlib.h>

#include <algorithm>
#include <compare>
#include <condition_variable>
#include <map>
#include <mutex>

#include "topdown/bmp_encoder.h"
#include "topdown/output_file.h"
#include "topdown/png_band.h"
#include "topdown/png_chunks.h"

namespace skyplate {
namespace {

// Segments that are ready before the ones above them wait in memory up to
// this many bytes; past it their threads wait too, so that one slow band
// cannot make the others pile up the whole picture.
constexpr std::size_t kMaxEarlyBytes = 4 << 20;

// Segments go into IDAT chunks of at most this size: chunk lengths must stay
// below 2^31, and readers handle moderate chunks best.
constexpr std::size_t kMaxChunkBytes = 1 << 20;

class PngPictureWriter final : public PictureWriter {
 public:
  bool Fits(PictureSize size) const override { return FitsPngFile(size.width, size.height); }

  bool Create(const std::string& path, PictureSize size, std::string* error) override {
    if (!Fits(size)) {
      *error = "no picture to write";
      return false;
    }
    size_ = size;
    const auto head = PngHead(size.width, size.height);
    if (!file_.Create(path, error) || !file_.WriteAt(0, head.data(), head.size(), error)) {
      return false;
    }
    offset_ = head.size();
    adler_ = adler32(0, nullptr, 0);
    return true;
  }

  bool NeedsTopDownBands() const override { return true; }

  bool WriteBand(const PictureBand& band, std::string* error) override {
    PngSegment segment;
    const std::int32_t columns = band.columns == 0 ? size_.width : band.columns;
    const bool ends_row = band.first_column + columns == size_.width;
    const bool last = band.top + band.rows == size_.height && ends_row;
    if (!EncodePngBand(band.pixels, band.rows, columns, BmpStride(size_.width), band.row_above,
                       band.first_column == 0, last, &segment)) {
      return Fail("not enough memory to compress the picture", error);
    }
    std::unique_lock lock(mutex_);
    const std::size_t bytes = segment.deflated.size();
    const Place place{band.top, band.first_column};
    turn_.wait(lock,
               [&] { return failed_ || place == next_ || early_bytes_ + bytes <= kMaxEarlyBytes; });
    if (failed_) {
      *error = "an earlier part of the picture was not written";
      return false;
    }
    early_bytes_ += bytes;
    early_.emplace(place, Early{band.rows, columns, ends_row, std::move(segment)});
    // Whoever hands over the next band writes it and every early one after it.
    while (!early_.empty() && early_.begin()->first == next_) {
      auto next = early_.begin();
      if (!Append(next->second.segment, error)) {
        failed_ = true;
        turn_.notify_all();
        return false;
      }
      const Early& done = next->second;
      next_ = done.ends_row ? Place{next_.top + done.rows, 0}
                            : Place{next_.top, next_.column + done.columns};
      early_bytes_ -= next->second.segment.deflated.size();
      early_.erase(next);
    }
    turn_.notify_all();
    return true;
  }

  void Abandon() override {
    std::lock_guard lock(mutex_);
    failed_ = true;
    turn_.notify_all();
  }

  bool Commit(std::string* error) override {
    std::lock_guard lock(mutex_);
    if (failed_ || next_.top != size_.height) {
      *error = "the picture was not complete";
      return false;
    }
    const auto tail = PngTail(static_cast<std::uint32_t>(adler_));
    return file_.WriteAt(offset_, tail.data(), tail.size(), error) && file_.Commit(error);
  }

 private:
  // Where a band starts: bands follow each other by row, then by column.
  struct Place {
    std::int32_t top = 0;
    std::int32_t column = 0;
    auto operator<=>(const Place&) const = default;
  };
  struct Early {
    std::int32_t rows;
    std::int32_t columns;
    bool ends_row;
    PngSegment segment;
  };

  bool Fail(const char* reason, std::string* error) {
    Abandon();
    *error = reason;
    return false;
  }

  bool Append(const PngSegment& segment, std::string* error) {
    std::vector<std::uint8_t> chunks;
    const std::uint8_t* data = segment.deflated.data();
    for (std::size_t left = segment.deflated.size(); left > 0;) {
      const std::size_t part = std::min(left, kMaxChunkBytes);
      AppendPngChunk("IDAT", data, part, &chunks);
      data += part;
      left -= part;
    }
    if (!file_.WriteAt(offset_, chunks.data(), chunks.size(), error)) return false;
    offset_ += chunks.size();
    adler_ = adler32_combine(adler_, segment.adler, static_cast<z_off_t>(segment.raw_bytes));
    return true;
  }

  PictureSize size_;
  OutputFile file_;
  std::mutex mutex_;
  std::condition_variable turn_;
  std::map<Place, Early> early_;
  std::size_t early_bytes_ = 0;
  Place next_;
  bool failed_ = false;
  std::uint64_t offset_ = 0;
  uLong adler_ = 0;
};

}  // namespace

std::unique_ptr<PictureWriter> MakePngPictureWriter() {
  return std::make_unique<PngPictureWriter>();
}

}  // namespace skyplate
