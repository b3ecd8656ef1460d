// The mask map as a streamed build reads it: the rows of an uncompressed
// file band by band in any order, on any thread; run-length encoded data in
// file order; or black, when the file cannot be read as a picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "topdown/band_layout.h"
#include "topdown/bmp_header.h"
#include "topdown/bmp_rle.h"
#include "topdown/input_file.h"
#include "topdown/row_compositor.h"

namespace skyplate {

// The mask pixels of one band, row by row in output order, wherever they lie.
struct MaskRows {
  const std::uint8_t* first = nullptr;
  std::ptrdiff_t pitch = 0;  // bytes from one row to the next; negative when stored reversed
  const BgrPixel* Row(std::int32_t i) const {
    return reinterpret_cast<const BgrPixel*>(first + i * pitch);
  }
};

// What one thread needs to read bands of an uncompressed mask.
struct MaskScratch {
  std::vector<std::uint8_t> file_bytes;
  std::vector<Colour> colours;
  std::vector<BgrPixel> pixels;
};

class StreamedMask {
 public:
  enum class Kind {
    kRows,   // ReadBand gives any band
    kRle,    // DecodeAll gives every pixel, in file order
    kBlack,  // no pixel is read: every one is black
  };

  // Opens the mask file at `path` for a picture of `size`. False, with the
  // reason, when it reads as black: the file cannot be opened, its header is
  // not one the decoder reads, or its data cannot exist in a file this long.
  bool Open(const std::string& path, PictureSize size, std::string* reason);
  // From now on every pixel is black, as after a decoding error.
  void MakeBlack() { kind_ = Kind::kBlack; }
  Kind kind() const { return kind_; }

  // kRows: reads and decodes `band` with `scratch`. False with the reason
  // when a pixel cannot be decoded or the file no longer holds the band.
  bool ReadBand(const Band& band, MaskScratch* scratch, MaskRows* rows, std::string* error) const;
  // kRle: decodes the data into `sink` (rows counted from the first in the
  // file, which for RLE data is the bottom row).
  bool DecodeAll(RleSink* sink, std::string* error) const;

 private:
  InputFile file_;
  BmpHeader header_;
  Kind kind_ = Kind::kBlack;
  std::uint64_t data_bytes_ = 0;  // of RLE data
};

}  // namespace skyplate
