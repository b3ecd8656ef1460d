#include "topdown/blend.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace skyplate {
namespace {

// The weights are single-precision numbers, not exact decimals: for 10 % the
// kept share is 0.100000001490116... Each product of a channel and a weight
// needs at most 8 + 24 significant bits and their sum spans at most 38 bits,
// so doubles hold both exactly and only the final rounding rounds.
struct Weights {
  double retain;
  double give;
};

constexpr std::array<Weights, 101> MakeWeights() {
  std::array<Weights, 101> table{};
  for (int percent = 0; percent <= 100; ++percent) {
    table[percent].retain = static_cast<float>(percent / 100.0);
    table[percent].give = static_cast<float>((100 - percent) / 100.0);
  }
  return table;
}

constexpr std::array<Weights, 101> kWeights = MakeWeights();

// Rounds half to even, whatever the caller's rounding mode is: a tie here is
// an exact .5, which std::nearbyint would round by the current mode.
std::uint32_t RoundHalfToEven(double v) {
  double floor = std::floor(v);
  double fraction = v - floor;
  auto whole = static_cast<std::uint32_t>(floor);
  if (fraction > 0.5 || (fraction == 0.5 && (whole & 1) != 0)) ++whole;
  return whole;
}

}  // namespace

int BlendPercent(std::uint8_t mask) {
  // 100 * mask / 255 never ends in exactly one half, so plain rounding is exact.
  return 100 - (200 * mask + 255) / 510;
}

Colour BlendColors(Colour below, Colour over, std::int32_t percent) {
  const Weights& w = kWeights[std::clamp(percent, 0, 100)];
  Colour result = below & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    double v = ((below >> shift) & 0xFF) * w.retain + ((over >> shift) & 0xFF) * w.give;
    result |= RoundHalfToEven(v) << shift;
  }
  return result;
}

}  // namespace skyplate
