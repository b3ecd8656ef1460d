#include "topdown/blend.h"

#include <gtest/gtest.h>

#include <cmath>

namespace skyplate {
namespace {

// x87 code keeps a float quotient at extended precision for as long as it
// stays in a register, which would make 99 / 100 the exact decimal; the blend's
// weights are true single-precision numbers. A volatile store rounds.
float SinglePrecisionQuotient(int numerator, int denominator) {
  const volatile float quotient = static_cast<float>(numerator) / static_cast<float>(denominator);
  return quotient;
}

// The blend written out as plainly as it can be, to hold the real one to.
int PlainBlendChannel(int below, int over, int percent) {
  const float retain = SinglePrecisionQuotient(percent, 100);
  const float give = SinglePrecisionQuotient(100 - percent, 100);
  const double v = static_cast<double>(below) * retain + static_cast<double>(over) * give;
  return static_cast<int>(std::nearbyint(v));  // default mode: half to even
}

TEST(BlendColors, MatchesThePlainFormulaForEveryCombination) {
  for (int percent = 0; percent <= 100; ++percent) {
    for (int below = 0; below < 256; ++below) {
      for (int over = 0; over < 256; ++over) {
        const int expected = PlainBlendChannel(below, over, percent);
        // Each channel is blended on its own; rotate the pair through all three.
        const Colour got =
            BlendColors(MakeColour(below, over, below), MakeColour(over, below, over), percent);
        ASSERT_EQ(RedOf(got), expected) << below << " " << over << " " << percent;
        ASSERT_EQ(GreenOf(got), PlainBlendChannel(over, below, percent));
        ASSERT_EQ(BlueOf(got), expected);
      }
    }
  }
}

TEST(BlendColors, SinglePrecisionWeightsAndTiesToEven) {
  auto red = [](int below, int over, int percent) {
    return RedOf(BlendColors(MakeColour(below, 0, 0), MakeColour(over, 0, 0), percent));
  };
  EXPECT_EQ(red(1, 0, 50), 0);
  EXPECT_EQ(red(3, 0, 50), 2);
  EXPECT_EQ(red(255, 0, 50), 128);
  EXPECT_EQ(red(16, 1, 10), 2);    // exactly 2.5 with single-precision weights
  EXPECT_EQ(red(0, 150, 1), 149);  // 148.5000014...
  EXPECT_EQ(red(5, 0, 10), 1);     // 0.5000000075...
}

TEST(BlendColors, ClampsPercentAndKeepsByteThreeOfBelow) {
  const Colour below = 0xAB102030;
  const Colour over = 0x00C0D0E0;
  EXPECT_EQ(BlendColors(below, over, -5), BlendColors(below, over, 0));
  EXPECT_EQ(BlendColors(below, over, 250), BlendColors(below, over, 100));
  EXPECT_EQ(BlendColors(below, over, 100), below);
  EXPECT_EQ(BlendColors(below, over, 0), 0xAB000000 | over);
}

TEST(BlendPercent, FollowsTheMaskChannel) {
  const std::pair<int, int> cases[] = {{0, 100},  {1, 100}, {2, 99}, {127, 50},
                                       {128, 50}, {254, 0}, {255, 0}};
  for (auto [mask, percent] : cases) EXPECT_EQ(BlendPercent(mask), percent) << mask;
  for (int m = 0; m < 256; ++m) {
    EXPECT_EQ(BlendPercent(m), static_cast<int>(std::lround(100.0 - 100.0 * m / 255.0))) << m;
  }
}

}  // namespace
}  // namespace skyplate
