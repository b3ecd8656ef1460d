#include "topdown/bmp_rle.h"

#include "topdown/bmp_pixels.h"

namespace skyplate {
namespace {

// The RLE escapes that follow a zero count byte; larger values start an
// absolute run of that many pixels.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

class RleDecoder {
 public:
  RleDecoder(const BmpHeader& header, RleBytes* data, RleSink* sink, std::string* error)
      : header_(header), data_(data), sink_(sink), error_(error) {}

  bool Decode() {
    for (auto bytes = data_->Peek(2); bytes.size() >= 2; bytes = data_->Peek(2)) {
      const std::uint8_t count = bytes[0], value = bytes[1];
      data_->Skip(2);
      if (count > 0) {
        if (!EncodedRun(count, value)) return false;
      } else if (value == kEndOfLine) {
        if (!InsidePicture()) return false;
        x_ = 0;
        ++y_;
      } else if (value == kEndOfBitmap) {
        return true;
      } else if (value == kDelta) {
        const auto move = data_->Peek(2);
        if (move.size() < 2) return true;
        if (!Delta(move[0], move[1])) return false;
        data_->Skip(2);
      } else if (!AbsoluteRun(value)) {
        return false;
      }
    }
    return true;
  }

 private:
  bool Rle4() const { return header_.format == BmpPixelFormat::kRle4; }

  // The index of a run's pixel `i` in `byte`: RLE4 bytes hold two, the high
  // nibble first.
  std::uint32_t IndexIn(std::uint8_t byte, int i) const {
    return Rle4() ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte;
  }

  bool Fail(std::string reason) {
    *error_ = std::move(reason);
    return false;
  }

  // An end of line may leave the cursor below the last row, where only the
  // end of the bitmap may follow.
  bool InsidePicture() { return y_ < header_.height || Fail("RLE data past the last row"); }

  bool RunFits(int pixels) {
    if (!InsidePicture()) return false;
    if (x_ + pixels > header_.width) {
      return Fail("RLE run past the end of row " + std::to_string(y_));
    }
    return true;
  }

  bool Put(std::uint32_t index) {
    Colour colour;
    if (!LookUpPalette(header_, index, &colour, error_)) return false;
    return sink_->Put(x_++, y_, colour);
  }

  bool EncodedRun(int count, std::uint8_t value) {
    if (!RunFits(count)) return false;
    for (int i = 0; i < count; ++i) {
      if (!Put(IndexIn(value, i))) return false;
    }
    return true;
  }

  // Absolute runs are padded to a whole number of 16-bit words; a run the
  // data cuts short ends the data.
  bool AbsoluteRun(int count) {
    const std::size_t bytes = Rle4() ? (count + 1) / 2 : count;
    const auto run = data_->Peek(bytes + bytes % 2);
    if (run.size() < bytes) {
      data_->Skip(run.size());
      return true;
    }
    if (!RunFits(count)) return false;
    for (int i = 0; i < count; ++i) {
      if (!Put(IndexIn(run[Rle4() ? i / 2 : i], i))) return false;
    }
    data_->Skip(bytes + bytes % 2);
    return true;
  }

  bool Delta(int right, int down) {
    if (!InsidePicture()) return false;
    if (x_ + right > header_.width) {
      return Fail("RLE delta past the end of row " + std::to_string(y_));
    }
    if (y_ + down >= header_.height) return Fail("RLE delta past the last row");
    x_ += right;
    y_ += down;
    return true;
  }

  const BmpHeader& header_;
  RleBytes* data_;
  RleSink* sink_;
  std::string* error_;
  std::int32_t x_ = 0;
  std::int32_t y_ = 0;  // counted from the first row in the file
};

// Pixels straight into a whole picture.
class BitmapSink final : public RleSink {
 public:
  BitmapSink(const BmpHeader& header, Bitmap* picture) : header_(header), picture_(picture) {}
  bool Put(std::int32_t x, std::int32_t file_row, Colour colour) override {
    picture_->Set(x, PictureRow(header_, file_row), colour);
    return true;
  }

 private:
  const BmpHeader& header_;
  Bitmap* picture_;
};

}  // namespace

bool DecodeRle(const BmpHeader& header, RleBytes* data, RleSink* sink, std::string* error) {
  return RleDecoder(header, data, sink, error).Decode();
}

bool DecodeRlePixels(const BmpHeader& header, std::span<const std::uint8_t> data, Bitmap* picture,
                     std::string* error) {
  RleSpan bytes(data);
  BitmapSink sink(header, picture);
  return DecodeRle(header, &bytes, &sink, error);
}

}  // namespace skyplate
