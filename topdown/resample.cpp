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
// A target pixel's span: the `count` source pixels from `first` on, the first
// weighing `head` units, the last (when there are two or more) `tail`, and
// every one between them target_size, as they lie wholly inside. Spans thus
// take no memory per source pixel, however large a hostile picture is.
struct Span {
  std::int32_t first = 0, count = 0;
  std::int64_t head = 0, tail = 0;

  bool operator==(const Span&) const = default;
};

// `repeats[i]`: target pixel i has the same span as i - 1, and so equals it,
// as most target pixels of an enlarged picture do.
struct Spans {
  std::int64_t inner_weight = 0;
  std::vector<Span> spans;
  std::vector<bool> repeats;
};

Spans AxisSpans(std::int64_t source_size, std::int64_t target_size) {
  Spans axis;
  axis.inner_weight = target_size;
  axis.spans.reserve(static_cast<std::size_t>(target_size));
  axis.repeats.reserve(static_cast<std::size_t>(target_size));
  for (std::int64_t i = 0; i < target_size; ++i) {
    const std::int64_t begin = i * source_size, end = begin + source_size;
    const std::int64_t first = begin / target_size, last = (end - 1) / target_size;
    Span span;
    span.first = static_cast<std::int32_t>(first);
    span.count = static_cast<std::int32_t>(last - first + 1);
    span.head = std::min(end, (first + 1) * target_size) - begin;
    span.tail = span.count > 1 ? end - last * target_size : 0;
    axis.repeats.push_back(!axis.spans.empty() && axis.spans.back() == span);
    axis.spans.push_back(span);
  }
  return axis;
}

// The weight of the k-th source pixel of `span`.
std::int64_t WeightAt(const Spans& axis, const Span& span, std::int32_t k) {
  if (k == 0) return span.head;
  return k == span.count - 1 ? span.tail : axis.inner_weight;
}

// Signed, so that the final conversion to floating point is one instruction.
struct Sums {
  std::int64_t red = 0, green = 0, blue = 0;

  Sums& operator+=(const Sums& other) {
    red += other.red, green += other.green, blue += other.blue;
    return *this;
  }
  Sums operator*(std::int64_t weight) const {
    return {red * weight, green * weight, blue * weight};
  }
};

// A horizontal pass sums a row's pixels three channels at a time...
struct ChannelByChannel {
  using Pixel = Colour;
  using Value = Sums;
  static Value Of(Pixel pixel) { return {RedOf(pixel), GreenOf(pixel), BlueOf(pixel)}; }
  static Sums Total(const Value& value) { return value; }
};

// ...or, for rows of up to kMaxLanedWidth pixels, in 21-bit lanes of one
// integer, one addition or multiplication serving all three. A target pixel's
// horizontal weights sum to the source width, so its lanes stay below
// 255 * kMaxLanedWidth < 2^21 and never carry into each other.
constexpr std::int32_t kMaxLanedWidth = 8192;
struct InLanes {
  using Pixel = std::uint64_t;
  using Value = std::uint64_t;
  static Pixel Spread(Colour pixel) {
    return RedOf(pixel) | std::uint64_t{GreenOf(pixel)} << 21 | std::uint64_t{BlueOf(pixel)} << 42;
  }
  static Value Of(Pixel pixel) { return pixel; }
  static Sums Total(Value lanes) {
    constexpr std::uint64_t kLane = (1 << 21) - 1;
    return {static_cast<std::int64_t>(lanes & kLane),
            static_cast<std::int64_t>(lanes >> 21 & kLane), static_cast<std::int64_t>(lanes >> 42)};
  }
};

template <typename Channels>
void SumRow(const typename Channels::Pixel* source, const Spans& columns, Sums* out) {
  // Repeats copy from `sums`, not from out[x - 1]: reading back what was just
  // stored stalls the store forwarding.
  Sums sums;
  for (std::size_t x = 0; x < columns.spans.size(); ++x) {
    if (!columns.repeats[x]) {
      const Span& span = columns.spans[x];
      const typename Channels::Pixel* pixel = source + span.first;
      auto total = Channels::Of(pixel[0]) * span.head;
      if (span.count > 1) {
        typename Channels::Value inner{};
        for (std::int32_t k = 1; k < span.count - 1; ++k) inner += Channels::Of(pixel[k]);
        total += inner * columns.inner_weight;
        total += Channels::Of(pixel[span.count - 1]) * span.tail;
      }
      sums = Channels::Total(total);
    }
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
  std::vector<InLanes::Pixel> laned_row(laned ? static_cast<std::size_t>(source.width) : 0);
  std::vector<Sums> target_sums(static_cast<std::size_t>(width));
  for (std::int32_t y = 0; y < height; ++y) {
    Colour* out = target.Row(y);
    if (rows.repeats[y]) {
      std::memcpy(out, target.Row(y - 1), static_cast<std::size_t>(width) * sizeof(Colour));
      continue;
    }
    std::fill(target_sums.begin(), target_sums.end(), Sums{});
    const Span& span = rows.spans[y];
    for (std::int32_t k = 0; k < span.count; ++k) {
      const std::int32_t source_y = span.first + k;
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
      const std::int64_t weight = WeightAt(rows, span, k);
      for (std::size_t x = 0; x < target_sums.size(); ++x) {
        target_sums[x] += source_row[x] * weight;
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
