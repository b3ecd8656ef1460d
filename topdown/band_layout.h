// How a streamed picture is cut into bands, the units that are read,
// composited and written together: whole rows while rows are narrow, pieces
// of one row when a row alone would be too large, so that no band's buffers
// grow with the picture whatever its shape.
#pragma once

#include <cstdint>

#include "topdown/mask_header.h"

namespace skyplate {

// Rows are counted as the output file stores them: the bottom row first.
struct Band {
  std::int32_t first_row = 0;
  std::int32_t rows = 0;
  std::int32_t first_column = 0;
  std::int32_t columns = 0;
  bool ends_row = false;  // reaches the picture's right edge
};

class BandLayout {
 public:
  // Bands of at most `band_pixels` pixels, a multiple of the tile size, so
  // that a piece of a row starts where the tiles repeat and on a whole byte
  // of any mask's rows. `size` is positive.
  BandLayout(PictureSize size, std::int64_t band_pixels);

  std::int64_t count() const { return row_bands_ * pieces_; }
  Band At(std::int64_t index) const;
  // The band `index`-th from the picture's top, a row's pieces from the
  // left: the order for writers that take rows in the picture's order.
  Band FromTop(std::int64_t index) const {
    return At((row_bands_ - 1 - index / pieces_) * pieces_ + index % pieces_);
  }
  // The band that holds column x of row `row`; bands are numbered in the
  // order a file stores their pixels.
  std::int64_t IndexOf(std::int32_t x, std::int32_t row) const {
    return std::int64_t{row / band_rows_} * pieces_ + x / band_columns_;
  }
  // The most rows and columns any band has.
  std::int32_t band_rows() const { return band_rows_; }
  std::int32_t band_columns() const { return band_columns_; }

 private:
  PictureSize size_;
  std::int32_t band_rows_;
  std::int32_t band_columns_;
  std::int64_t pieces_;  // bands across one row
  std::int64_t row_bands_;
};

}  // namespace skyplate
