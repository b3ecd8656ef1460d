#include "tools/bmp_rle_encoder.h"

#include <algorithm>

namespace skyplate {
namespace {

constexpr int kLongestRun = 255;
constexpr std::int64_t kShortestSkip = 4;

class RleEncoder {
 public:
  RleEncoder(const std::vector<std::uint8_t>& indices, std::int32_t width, std::int32_t height,
             bool four_bit, int black_index)
      : indices_(indices),
        width_(width),
        total_(std::int64_t{width} * height),
        four_bit_(four_bit),
        black_index_(black_index) {}

  std::vector<std::uint8_t> Encode() {
    std::int64_t p = 0;
    while (p < total_) {
      const std::int64_t black_end = BlackRunEnd(p);
      if (black_end == total_) break;
      if (black_end - p >= kShortestSkip) {
        p = black_end;
        continue;
      }
      SeekTo(p);
      p += WriteRunAt(p);
    }
    Emit(0, 1);  // end of bitmap
    return out_;
  }

 private:
  std::int64_t BlackRunEnd(std::int64_t p) const {
    while (p < total_ && indices_[p] == black_index_) ++p;
    return p;
  }

  void Emit(int first, int second) {
    out_.push_back(static_cast<std::uint8_t>(first));
    out_.push_back(static_cast<std::uint8_t>(second));
  }

  // Moves the decoder's cursor to pixel `p` with an end of line (when it
  // lies left of the cursor on a later row) and deltas of at most 255.
  void SeekTo(std::int64_t p) {
    const std::int64_t x = p % width_, y = p / width_;
    if (y > y_ && x < x_) {
      Emit(0, 0);
      x_ = 0;
      ++y_;
    }
    while (x_ != x || y_ != y) {
      const std::int64_t right = std::min<std::int64_t>(x - x_, kLongestRun);
      const std::int64_t down = std::min<std::int64_t>(y - y_, kLongestRun);
      Emit(0, 2);
      Emit(static_cast<int>(right), static_cast<int>(down));
      x_ += right;
      y_ += down;
    }
  }

  // Writes an encoded run of equal pixels, or an absolute run of three or
  // more differing ones, starting at `p` and within its row; returns its
  // length.
  std::int64_t WriteRunAt(std::int64_t p) {
    const std::int64_t room = std::min<std::int64_t>(width_ - p % width_, kLongestRun);
    std::int64_t same = 1;
    while (same < room && indices_[p + same] == indices_[p]) ++same;
    std::int64_t differing = 1;
    while (differing < room && indices_[p + differing] != indices_[p + differing - 1]) {
      ++differing;
    }
    if (same >= 2 || differing < 3) {
      const std::uint8_t index = indices_[p];
      Emit(static_cast<int>(same), four_bit_ ? index << 4 | index : index);
      x_ += same;
      return same;
    }
    Emit(0, static_cast<int>(differing));
    const std::size_t start = out_.size();
    for (std::int64_t i = 0; i < differing; ++i) {
      const std::uint8_t index = indices_[p + i];
      if (!four_bit_) {
        out_.push_back(index);
      } else if (i % 2 == 0) {
        out_.push_back(static_cast<std::uint8_t>(index << 4));
      } else {
        out_.back() |= index;
      }
    }
    if ((out_.size() - start) % 2 != 0) out_.push_back(0);  // word padding
    x_ += differing;
    return differing;
  }

  const std::vector<std::uint8_t>& indices_;
  const std::int64_t width_;
  const std::int64_t total_;
  const bool four_bit_;
  const int black_index_;
  std::vector<std::uint8_t> out_;
  std::int64_t x_ = 0;  // the decoder's cursor
  std::int64_t y_ = 0;
};

}  // namespace

std::vector<std::uint8_t> EncodeRle(const std::vector<std::uint8_t>& indices, std::int32_t width,
                                    std::int32_t height, bool four_bit, int black_index) {
  return RleEncoder(indices, width, height, four_bit, black_index).Encode();
}

}  // namespace skyplate
