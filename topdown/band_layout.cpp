#include "topdown/band_layout.h"

#include <algorithm>

namespace skyplate {

BandLayout::BandLayout(PictureSize size, std::int64_t band_pixels) : size_(size) {
  if (size.width <= band_pixels) {
    band_columns_ = size.width;
    band_rows_ =
        static_cast<std::int32_t>(std::min<std::int64_t>(band_pixels / size.width, size.height));
  } else {
    band_columns_ = static_cast<std::int32_t>(band_pixels);
    band_rows_ = 1;
  }
  pieces_ = (std::int64_t{size.width} - 1) / band_columns_ + 1;
  row_bands_ = (std::int64_t{size.height} - 1) / band_rows_ + 1;
}

Band BandLayout::At(std::int64_t index) const {
  Band band;
  band.first_row = static_cast<std::int32_t>(index / pieces_ * band_rows_);
  band.rows = std::min(band_rows_, size_.height - band.first_row);
  band.first_column = static_cast<std::int32_t>(index % pieces_ * band_columns_);
  band.columns = std::min(band_columns_, size_.width - band.first_column);
  band.ends_row = band.first_column + band.columns == size_.width;
  return band;
}

}  // namespace skyplate
