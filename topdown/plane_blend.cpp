// The blend in exact integers.
//
// BlendColors computes v = b * retain + o * give with single-precision
// weights and rounds half to even. With N = b * p + o * (100 - p), the same v
// is N / 100 + e, where e = b * dr + o * dg comes from the weights' rounding
// errors dr and dg and never reaches 2^-15. So when N mod 100 differs from 50
// the fraction of v is at least 0.01 away from one half and v rounds as
// N / 100 does; when it is 50, the sign of e decides, and e = 0 (no error)
// leaves the tie to even. Scaled by 100 * 2^30, dr and dg are integers below
// 3,300 in magnitude, so the sign of e is exact in 32-bit arithmetic.

#include "topdown/plane_blend.h"

#include <cmath>

#include "topdown/blend.h"

namespace skyplate {
namespace {

BlendTerms MakeBlendTerms() {
  BlendTerms terms{};
  const std::int64_t scale = std::int64_t{1} << 30;
  for (int p = 0; p <= 100; ++p) {
    // Single-precision weights have 24 significant bits and are at least
    // 0.01 > 2^-7 when not 0, so times 2^30 they are whole numbers.
    const auto retain = static_cast<std::int64_t>(std::ldexp(static_cast<float>(p / 100.0), 30));
    const auto give =
        static_cast<std::int64_t>(std::ldexp(static_cast<float>((100 - p) / 100.0), 30));
    terms.error_pairs[p][0] = static_cast<std::int16_t>(100 * retain - p * scale);
    terms.error_pairs[p][1] = static_cast<std::int16_t>(100 * give - (100 - p) * scale);
  }
  for (int m = 0; m < 256; ++m) {
    terms.percent_of_mask[m] =
        static_cast<std::uint8_t>(BlendPercent(static_cast<std::uint8_t>(m)));
  }
  return terms;
}

std::uint8_t BlendChannel(std::uint32_t below, std::uint32_t over, std::uint32_t percent,
                          std::int32_t retain_error, std::int32_t give_error) {
  const std::uint32_t n = below * percent + over * (100 - percent);
  const std::uint32_t quotient = n / 100;
  const std::uint32_t remainder = n - quotient * 100;
  std::uint32_t up = remainder > 50;
  if (remainder == 50) {
    const std::int32_t error = static_cast<std::int32_t>(below) * retain_error +
                               static_cast<std::int32_t>(over) * give_error;
    up = error > 0 || (error == 0 && (quotient & 1) != 0);
  }
  return static_cast<std::uint8_t>(quotient + up);
}

}  // namespace

const BlendTerms& GetBlendTerms() {
  static const BlendTerms terms = MakeBlendTerms();
  return terms;
}

void BlendPlanes(const std::uint8_t* mask, ConstPlanes over, Planes below, int count) {
  const BlendTerms& terms = GetBlendTerms();
  for (int i = 0; i < count; ++i) {
    const int p = terms.percent_of_mask[mask[i]];
    const int dr = terms.error_pairs[p][0];
    const int dg = terms.error_pairs[p][1];
    below.red[i] = BlendChannel(below.red[i], over.red[i], p, dr, dg);
    below.green[i] = BlendChannel(below.green[i], over.green[i], p, dr, dg);
    below.blue[i] = BlendChannel(below.blue[i], over.blue[i], p, dr, dg);
  }
}

}  // namespace skyplate
