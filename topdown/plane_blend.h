// The blend of one overlay onto a run of pixels held as separate red, green
// and blue planes: the form the compositing's inner loop runs in.
#pragma once

#include <cstdint>

namespace skyplate {

// Three channel planes of one run of pixels.
struct Planes {
  std::uint8_t* red;
  std::uint8_t* green;
  std::uint8_t* blue;
};
struct ConstPlanes {
  const std::uint8_t* red;
  const std::uint8_t* green;
  const std::uint8_t* blue;
};

// Blends `over` onto `below`, pixel i as strongly as mask value mask[i] says,
// with exactly the results of BlendColors(below, over, BlendPercent(mask)),
// in exact integer arithmetic that vector forms can share.
void BlendPlanes(const std::uint8_t* mask, ConstPlanes over, Planes below, int count);

// Where exact-integer terms of the blend come from; see plane_blend.cpp.
struct BlendTerms {
  // By percent, (retain - percent/100) and (give - (100-percent)/100), scaled
  // by 100 * 2^30: small exact integers whose weighted sum breaks the ties of
  // the decimal form. Kept as pairs so that vector forms look both up at once.
  std::int16_t error_pairs[101][2];
  std::uint8_t percent_of_mask[256];
};
const BlendTerms& GetBlendTerms();

}  // namespace skyplate
