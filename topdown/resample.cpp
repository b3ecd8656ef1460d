#include "topdown/resample.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "topdown/divider_rounding_to_even.h"

namespace skyplate {
namespace {

// Exact area averaging in integers. Along an axis of `source_size` pixels
// mapped onto `target_size`, measure in units of 1 / target_size of a source
// pixel: target pixel i covers [i * source_size, (i + 1) * source_size) and
// source pixel j covers [j * target_size, (j + 1) * target_size), so every
// overlap is a whole number of units and a target pixel's weights sum to
// source_size. The two passes multiply, a target pixel's weights summing to
// source width * source height, which stays within kMaxInMemoryPixels; 64-bit
// accumulators hold 255 times that with room to spare, so nothing is rounded
// until the end, where each channel is rounded to nearest, ties to even.
//
// The spans of one axis are worked out once: target pixel i takes the
// weights[end[i - 1]] to weights[end[i] - 1] (from 0 for i = 0) of the source
// pixels from first[i] on. There are fewer than source_size + target_size
// weights in all. When enlarging, most target pixels lie inside one source
// pixel, as their neighbour does: repeats[i] says that target pixel i takes
// the same source pixels with the same weights as i - 1, and so equals it.
struct Spans {
  std::vector<std::int32_t> first;
  std::vector<std::uint32_t> end;
  std::vector<std::uint32_t> weights;
  std::vector<bool> repeats;

  std::uint32_t Begin(std::size_t i) const { return i == 0 ? 0 : end[i - 1]; }
};

bool SameAsPrevious(const Spans& spans, std::size_t i) {
  if (i == 0 || spans.first[i] != spans.first[i - 1]) return false;
  const std::uint32_t begin = spans.Begin(i), previous = spans.Begin(i - 1);
  return begin - previous == spans.end[i] - begin &&
         std::equal(spans.weights.begin() + previous, spans.weights.begin() + begin,
                    spans.weights.begin() + begin);
}

Spans AxisSpans(std::int64_t source_size, std::int64_t target_size) {
  Spans spans;
  spans.first.reserve(static_cast<std::size_t>(target_size));
  spans.end.reserve(static_cast<std::size_t>(target_size));
  spans.repeats.reserve(static_cast<std::size_t>(target_size));
  spans.weights.reserve(static_cast<std::size_t>(source_size + target_size - 1));
  for (std::int64_t i = 0; i < target_size; ++i) {
    const std::int64_t begin = i * source_size, end = begin + source_size;
    const std::int64_t first = begin / target_size;
    for (std::int64_t j = first; j * target_size < end; ++j) {
      const std::int64_t overlap =
          std::min(end, (j + 1) * target_size) - std::max(begin, j * target_size);
      spans.weights.push_back(static_cast<std::uint32_t>(overlap));
    }
    spans.first.push_back(static_cast<std::int32_t>(first));
    spans.end.push_back(static_cast<std::uint32_t>(spans.weights.size()));
    spans.repeats.push_back(SameAsPrevious(spans, static_cast<std::size_t>(i)));
  }
  return spans;
}

// Signed, so that the final conversion to floating point is one instruction.
struct Sums {
  std::int64_t red = 0, green = 0, blue = 0;
};

// A horizontal pass multiplies every weight with three channels, one at a
// time...
struct ChannelByChannel {
  Sums sums;
  void Add(std::int64_t weight, Colour pixel) {
    sums.red += weight * RedOf(pixel);
    sums.green += weight * GreenOf(pixel);
    sums.blue += weight * BlueOf(pixel);
  }
  Sums Total() const { return sums; }
};

// ...or with all three at once, in 21-bit lanes of one integer. A target
// pixel's horizontal weights sum to the source width, so its lanes stay below
// 255 * kMaxLanedWidth < 2^21 and never carry into each other.
constexpr std::int32_t kMaxLanedWidth = 8192;
struct InLanes {
  static std::uint64_t Spread(Colour pixel) {
    return RedOf(pixel) | std::uint64_t{GreenOf(pixel)} << 21 | std::uint64_t{BlueOf(pixel)} << 42;
  }
  std::uint64_t lanes = 0;
  void Add(std::int64_t weight, std::uint64_t pixel) {
    lanes += static_cast<std::uint64_t>(weight) * pixel;
  }
  Sums Total() const {
    constexpr std::uint64_t kLane = (1 << 21) - 1;
    return {static_cast<std::int64_t>(lanes & kLane),
            static_cast<std::int64_t>(lanes >> 21 & kLane), static_cast<std::int64_t>(lanes >> 42)};
  }
};

template <typename Accumulator, typename Pixel>
void SumRow(const Pixel* source, const Spans& columns, Sums* out) {
  const std::uint32_t* weight = columns.weights.data();
  // Repeats copy from `sums`, not from out[x - 1]: reading back what was just
  // stored stalls the store forwarding.
  Sums sums;
  for (std::size_t x = 0; x < columns.first.size(); ++x) {
    const std::uint32_t* const last = columns.weights.data() + columns.end[x];
    if (!columns.repeats[x]) {
      const Pixel* pixel = source + columns.first[x];
      Accumulator accumulator;
      for (; weight != last; ++weight, ++pixel) accumulator.Add(*weight, *pixel);
      sums = accumulator.Total();
    }
    weight = last;
    out[x] = sums;
  }
}

}  // namespace

Bitmap ResampleAreaAverage(const Bitmap& source, std::int32_t width, std::int32_t height) {
  const Spans columns = AxisSpans(source.width, width);
  const Spans rows = AxisSpans(source.height, height);
  const DividerRoundingToEven divide(std::int64_t{source.width} * source.height);
  Bitmap target = Bitmap::Blank(width, height);
  // Neighbouring target rows share at most their boundary source row, so one
  // cached row saves all repeated horizontal passes.
  std::vector<Sums> source_row(static_cast<std::size_t>(width));
  std::int32_t cached_row = -1;
  const bool laned = source.width <= kMaxLanedWidth;
  std::vector<std::uint64_t> laned_row(laned ? static_cast<std::size_t>(source.width) : 0);
  std::vector<Sums> target_sums(static_cast<std::size_t>(width));
  for (std::int32_t y = 0; y < height; ++y) {
    Colour* out = target.Row(y);
    if (rows.repeats[y]) {
      std::memcpy(out, target.Row(y - 1), static_cast<std::size_t>(width) * sizeof(Colour));
      continue;
    }
    std::fill(target_sums.begin(), target_sums.end(), Sums{});
    std::int32_t source_y = rows.first[y];
    for (std::uint32_t k = rows.Begin(static_cast<std::size_t>(y)); k < rows.end[y];
         ++k, ++source_y) {
      if (source_y != cached_row) {
        const Colour* row = source.Row(source_y);
        if (laned) {
          std::transform(row, row + source.width, laned_row.begin(), InLanes::Spread);
          SumRow<InLanes>(laned_row.data(), columns, source_row.data());
        } else {
          SumRow<ChannelByChannel>(row, columns, source_row.data());
        }
        cached_row = source_y;
      }
      const std::int64_t weight = rows.weights[k];
      for (std::size_t x = 0; x < target_sums.size(); ++x) {
        target_sums[x].red += weight * source_row[x].red;
        target_sums[x].green += weight * source_row[x].green;
        target_sums[x].blue += weight * source_row[x].blue;
      }
    }
    Colour colour = 0;
    for (std::size_t x = 0; x < target_sums.size(); ++x) {
      if (!columns.repeats[x]) {
        colour = MakeColour(divide(target_sums[x].red), divide(target_sums[x].green),
                            divide(target_sums[x].blue));
      }
      out[x] = colour;
    }
  }
  return target;
}

}  // namespace skyplate
