// Run-length encoded (RLE4, RLE8) pixel data, decoded in file order from
// wherever its bytes come and to wherever its pixels go, so that a picture
// can be decoded whole or streamed a band of rows at a time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "topdown/bmp_header.h"

namespace skyplate {

// The data as the decoder reads it: from a cursor that only moves forward.
class RleBytes {
 public:
  virtual ~RleBytes() = default;
  // At least `count` bytes from the cursor on, or all that is left when the
  // data ends sooner.
  virtual std::span<const std::uint8_t> Peek(std::size_t count) = 0;
  // Moves the cursor on by `count` bytes, at most to the end of the data.
  virtual void Skip(std::size_t count) = 0;
};

// RLE data already in memory.
class RleSpan final : public RleBytes {
 public:
  explicit RleSpan(std::span<const std::uint8_t> data) : data_(data) {}
  std::span<const std::uint8_t> Peek(std::size_t) override { return data_; }
  void Skip(std::size_t count) override { data_ = data_.subspan(std::min(count, data_.size())); }

 private:
  std::span<const std::uint8_t> data_;
};

// Where decoded pixels go, in file order: rows from the first row in the
// file, each from its left end.
class RleSink {
 public:
  virtual ~RleSink() = default;
  // False stops the decoding (the sink's own failure, not the data's).
  virtual bool Put(std::int32_t x, std::int32_t file_row, Colour colour) = 0;
};

// Decodes RLE data into `sink`. Pixels the data skips (deltas, an early end
// of a row or of the bitmap) are never put; data that runs out before the
// end-of-bitmap mark is read as that mark, as a truncated file is still worth
// showing. Errors name rows counted from the first row in the file.
bool DecodeRle(const BmpHeader& header, RleBytes* data, RleSink* sink, std::string* error);

}  // namespace skyplate
