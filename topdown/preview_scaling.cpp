#include "topdown/preview_scaling.h"

#include <algorithm>
#include <array>
#include <vector>

namespace skyplate {
namespace {

// Lengths are measured in units of 1 / (source size * preview size) of the
// picture, so that every edge of a source pixel (a multiple of the preview
// size) and of a preview pixel (a multiple of the source size) is a whole
// number and the averaging weights are exact integers.
struct Axis {
  std::int64_t source_size;
  std::int64_t preview_size;

  std::int64_t FirstSourceOf(std::int64_t p) const { return p * source_size / preview_size; }
  std::int64_t LastSourceOf(std::int64_t p) const {
    return ((p + 1) * source_size + preview_size - 1) / preview_size - 1;
  }
  std::int64_t FirstPreviewOf(std::int64_t s) const { return s * preview_size / source_size; }
  std::int64_t LastPreviewOf(std::int64_t s) const {
    return ((s + 1) * preview_size + source_size - 1) / source_size - 1;
  }
  // How much of preview pixel p source pixel s covers; over all s this adds
  // up to source_size.
  std::int64_t Weight(std::int64_t p, std::int64_t s) const {
    return std::min((p + 1) * source_size, (s + 1) * preview_size) -
           std::max(p * source_size, s * preview_size);
  }
};

using ChannelSums = std::array<std::uint64_t, 3>;

std::uint32_t ScreenPixel(const ChannelSums& sums, std::uint64_t total_weight) {
  const auto channel = [&](int c) {
    return static_cast<std::uint32_t>((sums[c] + total_weight / 2) / total_weight);
  };
  return channel(0) << 16 | channel(1) << 8 | channel(2);
}

}  // namespace

ColumnRange ScaleColumnsIntoPreview(const Bitmap& source, std::int32_t first_column,
                                    std::int32_t last_column, PreviewPixels preview) {
  first_column = std::max(first_column, 0);
  last_column = std::min(last_column, source.width - 1);
  if (source.height <= 0 || preview.width <= 0 || preview.height <= 0 ||
      first_column > last_column) {
    return {};
  }
  const Axis across{source.width, preview.width};
  const Axis down{source.height, preview.height};
  const std::int64_t first_preview = across.FirstPreviewOf(first_column);
  const std::int64_t last_preview =
      std::min<std::int64_t>(across.LastPreviewOf(last_column), preview.width - 1);
  const std::int64_t columns = last_preview - first_preview + 1;

  // Each preview column first reduced across: one weighted sum per source row.
  std::vector<ChannelSums> row_sums(static_cast<std::size_t>(columns * source.height));
  for (std::int32_t y = 0; y < source.height; ++y) {
    const Colour* row = source.Row(y);
    for (std::int64_t p = first_preview; p <= last_preview; ++p) {
      ChannelSums& sums = row_sums[(p - first_preview) * source.height + y];
      for (std::int64_t x = across.FirstSourceOf(p); x <= across.LastSourceOf(p); ++x) {
        const std::uint64_t weight = across.Weight(p, x);
        sums[0] += weight * RedOf(row[x]);
        sums[1] += weight * GreenOf(row[x]);
        sums[2] += weight * BlueOf(row[x]);
      }
    }
  }
  // Then down.
  const std::uint64_t total_weight = static_cast<std::uint64_t>(source.width) * source.height;
  for (std::int64_t p = first_preview; p <= last_preview; ++p) {
    const ChannelSums* column = &row_sums[(p - first_preview) * source.height];
    for (std::int64_t q = 0; q < preview.height; ++q) {
      ChannelSums sums{};
      for (std::int64_t y = down.FirstSourceOf(q); y <= down.LastSourceOf(q); ++y) {
        const std::uint64_t weight = down.Weight(q, y);
        for (int c = 0; c < 3; ++c) sums[c] += weight * column[y][c];
      }
      preview.pixels[q * preview.width + p] = ScreenPixel(sums, total_weight);
    }
  }
  return {static_cast<std::int32_t>(first_preview), static_cast<std::int32_t>(last_preview)};
}

}  // namespace skyplate
