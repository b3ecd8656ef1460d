// Division of many values by one divisor, rounded to nearest with ties to
// even, for the channel averages of resampling.
#pragma once

#include <cstdint>

#include "topdown/limits.h"

namespace skyplate {

// A multiplication by the reciprocal and a check for ties, far cheaper than
// a division per channel and exact for this range: the estimate of a quotient
// below 256 is off by less than 2^-43, while a quotient that is no tie lies at
// least 1 / (2 * divisor) >= 2^-29 from the nearest half, so only ties can be
// rounded the wrong way, and those are found in exact integers.
class DividerRoundingToEven {
 public:
  // `divisor` is 1 to kMaxInMemoryPixels.
  explicit DividerRoundingToEven(std::int64_t divisor)
      : divisor_(divisor), reciprocal_(1 / static_cast<double>(divisor)) {}

  // `value` is 0 to 255 * divisor.
  std::uint32_t operator()(std::int64_t value) const {
    const auto nearest = static_cast<std::uint32_t>(static_cast<double>(value) * reciprocal_ + 0.5);
    // A tie lies half a step below or above `nearest`, where this is 0 or
    // 2 * divisor; an odd `nearest` then gives way to its even neighbour. No
    // branches: ties are rare but odd quotients are not.
    const std::int64_t from_half_below = 2 * value - (2 * std::int64_t{nearest} - 1) * divisor_;
    const std::uint32_t odd = nearest & 1;
    const std::uint32_t tie_below = from_half_below == 0;
    const std::uint32_t tie_above = from_half_below == 2 * divisor_;
    return nearest - (odd & tie_below) + (odd & tie_above);
  }

 private:
  std::int64_t divisor_;
  double reciprocal_;
};

}  // namespace skyplate
