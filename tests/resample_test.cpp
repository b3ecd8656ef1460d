#include "topdown/resample.h"

#include <gtest/gtest.h>

namespace skyplate {
namespace {

Bitmap Row(std::initializer_list<Colour> colours) {
  Bitmap row = Bitmap::Blank(static_cast<std::int32_t>(colours.size()), 1);
  row.pixels = colours;
  return row;
}

Colour Grey(std::uint32_t level) {
  return MakeColour(level, level, level);
}

TEST(ResampleAreaAverage, SameSizeIsIdentity) {
  Bitmap picture = Bitmap::Blank(7, 5);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    picture.pixels[i] = MakeColour(i * 37 % 256, i * 91 % 256, i * 151 % 256);
  }
  EXPECT_EQ(ResampleAreaAverage(picture, 7, 5).pixels, picture.pixels);
}

// Each 2 x 2 block holds base + {0, 0, 1, 1} in red, base + {1, 1, 2, 2} in
// green and base + {0, 0, 0, 3} in blue, the base changing from block to
// block, so halving ties at .5 in red and green.
TEST(ResampleAreaAverage, HalvingAveragesBlocksRoundingTiesToEven) {
  Bitmap source = Bitmap::Blank(512, 512);
  const auto base = [](std::int32_t bx, std::int32_t by) { return (bx + 2 * by) % 5 * 3; };
  for (std::int32_t y = 0; y < 512; ++y) {
    for (std::int32_t x = 0; x < 512; ++x) {
      const int b = base(x / 2, y / 2), lower = y % 2, corner = x % 2 + lower;
      source.Set(x, y, MakeColour(b + lower, b + 1 + lower, b + (corner == 2 ? 3 : 0)));
    }
  }
  const Bitmap target = ResampleAreaAverage(source, 256, 256);
  for (std::int32_t y = 0; y < 256; ++y) {
    for (std::int32_t x = 0; x < 256; ++x) {
      const int b = base(x, y);
      ASSERT_EQ(target.At(x, y), MakeColour(b + b % 2, b + 2 - b % 2, b + 1)) << x << "," << y;
    }
  }
}

TEST(ResampleAreaAverage, PartialPixelsWeighByTheirShare) {
  // 3 -> 2: the middle pixel is split between the two halves.
  EXPECT_EQ(ResampleAreaAverage(Row({Grey(0), Grey(255), Grey(30)}), 2, 1).pixels,
            Row({Grey(85), Grey(105)}).pixels);
  // 2 -> 3: the middle target straddles both; (10 + 21) / 2 = 15.5 -> 16.
  EXPECT_EQ(ResampleAreaAverage(Row({Grey(10), Grey(21)}), 3, 1).pixels,
            Row({Grey(10), Grey(16), Grey(21)}).pixels);
}

TEST(ResampleAreaAverage, EnlargingAConstantPictureKeepsItConstant) {
  const Colour colour = MakeColour(201, 3, 77);
  const Bitmap target = ResampleAreaAverage(Bitmap::Blank(100, 80, colour), 256, 256);
  EXPECT_EQ(target.pixels, Bitmap::Blank(256, 256, colour).pixels);
  EXPECT_EQ(ResampleAreaAverage(Bitmap::Blank(1, 1, colour), 5, 3).pixels,
            Bitmap::Blank(5, 3, colour).pixels);
}

TEST(ResampleAreaAverage, CheckerAveragesToMidGrey) {
  Bitmap checker = Bitmap::Blank(8, 6);
  for (std::int32_t y = 0; y < 6; ++y) {
    for (std::int32_t x = 0; x < 8; ++x) checker.Set(x, y, Grey((x + y) % 2 * 255));
  }
  // 127.5 rounds to the even 128.
  EXPECT_EQ(ResampleAreaAverage(checker, 1, 1).pixels, Bitmap::Blank(1, 1, Grey(128)).pixels);
  EXPECT_EQ(ResampleAreaAverage(checker, 4, 3).pixels, Bitmap::Blank(4, 3, Grey(128)).pixels);
}

}  // namespace
}  // namespace skyplate
