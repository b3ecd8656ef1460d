#include "topdown/preview_scaling.h"

#include <algorithm>
#include <array>

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
  // The source pixels preview pixel p covers: those inside it whole, each of
  // weight preview_size, and one partly covered at either end.
  struct Span {
    std::int64_t first, last;
    std::uint64_t first_weight, last_weight, inner_weight;
    std::uint64_t WeightOf(std::int64_t s) const {
      return s == first ? first_weight : s == last ? last_weight : inner_weight;
    }
  };
  Span SpanOf(std::int64_t p) const {
    const std::int64_t first = FirstSourceOf(p);
    const std::int64_t last = LastSourceOf(p);
    return {first, last, static_cast<std::uint64_t>(Weight(p, first)),
            static_cast<std::uint64_t>(Weight(p, last)), static_cast<std::uint64_t>(preview_size)};
  }
};

using ChannelSums = std::array<std::uint64_t, 3>;

// Preview columns summed side by side; a refresh usually reaches a few.
constexpr std::int64_t kColumnsAtATime = 32;

void AddWeighted(ChannelSums& sums, Colour colour, std::uint64_t weight) {
  sums[0] += weight * RedOf(colour);
  sums[1] += weight * GreenOf(colour);
  sums[2] += weight * BlueOf(colour);
}

// The weighted sum of one source row's pixels under a preview column.
ChannelSums SumAcross(const Colour* row, const Axis::Span& span) {
  ChannelSums inner{};
  for (std::int64_t x = span.first + 1; x < span.last; ++x) AddWeighted(inner, row[x], 1);
  ChannelSums sums{inner[0] * span.inner_weight, inner[1] * span.inner_weight,
                   inner[2] * span.inner_weight};
  AddWeighted(sums, row[span.first], span.first_weight);
  if (span.last > span.first) AddWeighted(sums, row[span.last], span.last_weight);
  return sums;
}

// The rounded average (sum + total / 2) / total of each channel. A double
// holds the sums exactly, and the quotient lies at least 1 / total from the
// next integer unless it is one, far more than a double's rounding error at
// these magnitudes, so flooring the double's quotient is exact; it spares
// three integer divisions per preview pixel.
std::uint32_t ScreenPixel(const ChannelSums& sums, std::uint64_t total_weight) {
  const double total = static_cast<double>(total_weight);
  const double half = static_cast<double>(total_weight / 2);
  const auto channel = [&](int c) {
    return static_cast<std::uint32_t>((static_cast<double>(sums[c]) + half) / total);
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
  const std::uint64_t total_weight = static_cast<std::uint64_t>(source.width) * source.height;
  // A few preview columns at a time, each preview pixel summed over its
  // source area in one go, so that a refresh needs no memory of its own.
  std::array<Axis::Span, kColumnsAtATime> spans;
  std::array<ChannelSums, kColumnsAtATime> row_sums;  // one source row, reduced across
  std::array<ChannelSums, kColumnsAtATime> sums;
  for (std::int64_t chunk = first_preview; chunk <= last_preview; chunk += kColumnsAtATime) {
    const std::int64_t count = std::min(kColumnsAtATime, last_preview - chunk + 1);
    for (std::int64_t i = 0; i < count; ++i) spans[i] = across.SpanOf(chunk + i);
    // A source row on the edge between two preview rows is reduced once for both.
    std::int64_t reduced_row = -1;
    for (std::int64_t q = 0; q < preview.height; ++q) {
      std::fill_n(sums.begin(), count, ChannelSums{});
      const Axis::Span rows = down.SpanOf(q);
      for (std::int64_t y = rows.first; y <= rows.last; ++y) {
        if (y != reduced_row) {
          const Colour* row = source.Row(static_cast<std::int32_t>(y));
          for (std::int64_t i = 0; i < count; ++i) row_sums[i] = SumAcross(row, spans[i]);
          reduced_row = y;
        }
        const std::uint64_t weight = rows.WeightOf(y);
        for (std::int64_t i = 0; i < count; ++i) {
          for (int c = 0; c < 3; ++c) sums[i][c] += weight * row_sums[i][c];
        }
      }
      std::uint32_t* out = preview.pixels + q * preview.width + chunk;
      for (std::int64_t i = 0; i < count; ++i) out[i] = ScreenPixel(sums[i], total_weight);
    }
  }
  return {static_cast<std::int32_t>(first_preview), static_cast<std::int32_t>(last_preview)};
}

}  // namespace skyplate
