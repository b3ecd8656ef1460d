#include "topdown/resample.h"

#include <algorithm>
#include <array>
#include <vector>

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
struct Footprint {
  std::int32_t first = 0;              // first source pixel covered
  std::vector<std::uint64_t> weights;  // one per source pixel from `first`
};

std::vector<Footprint> Footprints(std::int64_t source_size, std::int64_t target_size) {
  std::vector<Footprint> footprints(static_cast<std::size_t>(target_size));
  for (std::int64_t i = 0; i < target_size; ++i) {
    const std::int64_t begin = i * source_size, end = begin + source_size;
    Footprint& footprint = footprints[static_cast<std::size_t>(i)];
    footprint.first = static_cast<std::int32_t>(begin / target_size);
    for (std::int64_t j = footprint.first; j * target_size < end; ++j) {
      const std::int64_t overlap =
          std::min(end, (j + 1) * target_size) - std::max(begin, j * target_size);
      footprint.weights.push_back(static_cast<std::uint64_t>(overlap));
    }
  }
  return footprints;
}

using Sums = std::array<std::uint64_t, 3>;  // red, green, blue

void ResampleRow(const Colour* source, const std::vector<Footprint>& columns,
                 std::vector<Sums>* out) {
  for (std::size_t x = 0; x < columns.size(); ++x) {
    Sums sums{};
    const Colour* pixel = source + columns[x].first;
    for (const std::uint64_t weight : columns[x].weights) {
      sums[0] += weight * RedOf(*pixel);
      sums[1] += weight * GreenOf(*pixel);
      sums[2] += weight * BlueOf(*pixel);
      ++pixel;
    }
    (*out)[x] = sums;
  }
}

// `value` is below 2^36 and `divisor` at most 2^28, so both are exact as
// doubles, and a quotient below 256 that is not whole lies at least
// 1 / divisor below the next whole number, far more than the division's
// rounding error: truncating the floating-point quotient gives the integer
// one exactly, at a fraction of the cost of a 64-bit integer division.
std::uint64_t DivideRoundingToEven(std::uint64_t value, std::uint64_t divisor) {
  const auto quotient =
      static_cast<std::uint64_t>(static_cast<double>(value) / static_cast<double>(divisor));
  const std::uint64_t remainder = value - quotient * divisor;
  const bool up = 2 * remainder > divisor || (2 * remainder == divisor && quotient % 2 == 1);
  return quotient + (up ? 1 : 0);
}

}  // namespace

Bitmap ResampleAreaAverage(const Bitmap& source, std::int32_t width, std::int32_t height) {
  const std::vector<Footprint> columns = Footprints(source.width, width);
  const std::vector<Footprint> rows = Footprints(source.height, height);
  const std::uint64_t divisor =
      static_cast<std::uint64_t>(source.width) * static_cast<std::uint64_t>(source.height);
  Bitmap target = Bitmap::Blank(width, height);
  // Neighbouring target rows share at most their boundary source row, so one
  // cached row saves all repeated horizontal passes.
  std::vector<Sums> source_row(static_cast<std::size_t>(width));
  std::int32_t cached_row = -1;
  std::vector<Sums> target_sums(static_cast<std::size_t>(width));
  for (std::int32_t y = 0; y < height; ++y) {
    std::fill(target_sums.begin(), target_sums.end(), Sums{});
    std::int32_t source_y = rows[y].first;
    for (const std::uint64_t weight : rows[y].weights) {
      if (source_y != cached_row) {
        ResampleRow(source.Row(source_y), columns, &source_row);
        cached_row = source_y;
      }
      for (std::size_t x = 0; x < target_sums.size(); ++x) {
        for (int c = 0; c < 3; ++c) target_sums[x][c] += weight * source_row[x][c];
      }
      ++source_y;
    }
    Colour* out = target.Row(y);
    for (std::size_t x = 0; x < target_sums.size(); ++x) {
      out[x] =
          MakeColour(static_cast<std::uint32_t>(DivideRoundingToEven(target_sums[x][0], divisor)),
                     static_cast<std::uint32_t>(DivideRoundingToEven(target_sums[x][1], divisor)),
                     static_cast<std::uint32_t>(DivideRoundingToEven(target_sums[x][2], divisor)));
    }
  }
  return target;
}

}  // namespace skyplate
