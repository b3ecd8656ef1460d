#include "topdown/resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "topdown/divider_rounding_to_even.h"

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

// The area average written out pixel by pixel, without spans, caches or
// shortcuts: target pixel (x, y) covers [x * sw, (x + 1) * sw) x [y * sh,
// (y + 1) * sh) and source pixel (i, j) covers [i * tw, (i + 1) * tw) x
// [j * th, (j + 1) * th); each channel is the overlap-weighted sum divided by
// sw * sh, rounded to nearest with ties to even.
Bitmap ReferenceAreaAverage(const Bitmap& source, std::int32_t width, std::int32_t height) {
  const std::int64_t sw = source.width, sh = source.height, tw = width, th = height;
  const auto overlap = [](std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
    return std::max<std::int64_t>(0, std::min(b, d) - std::max(a, c));
  };
  Bitmap target = Bitmap::Blank(width, height);
  for (std::int64_t y = 0; y < th; ++y) {
    for (std::int64_t x = 0; x < tw; ++x) {
      std::array<std::uint64_t, 3> sums{};
      for (std::int64_t j = y * sh / th; j * th < (y + 1) * sh; ++j) {
        const std::int64_t oy = overlap(y * sh, (y + 1) * sh, j * th, (j + 1) * th);
        for (std::int64_t i = x * sw / tw; i * tw < (x + 1) * sw; ++i) {
          const std::uint64_t w = oy * overlap(x * sw, (x + 1) * sw, i * tw, (i + 1) * tw);
          const Colour c = source.At(static_cast<std::int32_t>(i), static_cast<std::int32_t>(j));
          sums[0] += w * RedOf(c);
          sums[1] += w * GreenOf(c);
          sums[2] += w * BlueOf(c);
        }
      }
      std::array<std::uint32_t, 3> channels{};
      const std::uint64_t d = static_cast<std::uint64_t>(sw * sh);
      for (int c = 0; c < 3; ++c) {
        const std::uint64_t q = sums[c] / d, r = sums[c] % d;
        channels[c] = static_cast<std::uint32_t>(q + (2 * r > d || (2 * r == d && q % 2 == 1)));
      }
      target.Set(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                 MakeColour(channels[0], channels[1], channels[2]));
    }
  }
  return target;
}

// Pixels from a small generator, either of any colour or drawn from
// `palette`: two levels make the sums tie at one half wherever the divisor is
// even.
Bitmap Scrambled(std::int32_t width, std::int32_t height, std::uint32_t seed,
                 const std::vector<Colour>& palette = {}) {
  Bitmap picture = Bitmap::Blank(width, height);
  std::uint32_t state = seed;
  for (Colour& pixel : picture.pixels) {
    state = state * 1664525 + 1013904223;
    pixel = palette.empty() ? state >> 8 : palette[(state >> 16) % palette.size()];
  }
  return picture;
}

struct Sizes {
  std::int32_t source_width, source_height, width, height;
};

void ExpectEqualsReference(const Bitmap& source, std::int32_t width, std::int32_t height) {
  const Bitmap fast = ResampleAreaAverage(source, width, height);
  const Bitmap reference = ReferenceAreaAverage(source, width, height);
  ASSERT_EQ(fast.width, width);
  ASSERT_EQ(fast.height, height);
  for (std::size_t i = 0; i < reference.pixels.size(); ++i) {
    ASSERT_EQ(fast.pixels[i], reference.pixels[i])
        << source.width << "x" << source.height << " -> " << width << "x" << height << " at "
        << i % static_cast<std::size_t>(width) << "," << i / static_cast<std::size_t>(width);
  }
}

TEST(ResampleAreaAverage, EqualsTheDirectAverageForManySizes) {
  const std::vector<Colour> two_levels = {Grey(0), MakeColour(255, 1, 254)};
  const Sizes cases[] = {// Overlays onto tiles: single pixels, lines, around the tile size,
                         // primes, small and odd shapes.
                         {1, 1, 256, 256},
                         {1, 37, 256, 256},
                         {37, 1, 256, 256},
                         {1, 256, 256, 256},
                         {255, 255, 256, 256},
                         {256, 256, 256, 256},
                         {257, 257, 256, 256},
                         {511, 511, 256, 256},
                         {512, 512, 256, 256},
                         {255, 257, 256, 256},
                         {13, 7, 256, 256},
                         {251, 241, 256, 256},
                         {509, 3, 256, 256},
                         {3, 509, 256, 256},
                         {100, 80, 256, 256},
                         {300, 300, 256, 256},
                         {1021, 1021, 256, 256},
                         // Other targets, as a mask map whose header disagrees with its pixels
                         // gets: shrinking to a point, enlarging unevenly, swapping the axes.
                         {256, 256, 1, 1},
                         {7, 5, 3, 2},
                         {5, 7, 11, 13},
                         {256, 256, 1021, 3},
                         {1000, 1, 1, 1000},
                         {2, 3, 255, 257}};
  std::uint32_t seed = 1;
  for (const Sizes& c : cases) {
    ExpectEqualsReference(Scrambled(c.source_width, c.source_height, seed++), c.width, c.height);
    ExpectEqualsReference(Scrambled(c.source_width, c.source_height, seed++, two_levels), c.width,
                          c.height);
    if (HasFatalFailure()) return;
  }
}

// Rows up to 8192 pixels wide are summed with all three channels in one
// integer, where white rows fill every channel's sum to its largest value;
// from 8225 pixels on those sums would carry into the next channel.
TEST(ResampleAreaAverage, EqualsTheDirectAverageForTheWidestRows) {
  for (const std::int32_t width : {8192, 8193, 8225}) {
    ExpectEqualsReference(Bitmap::Blank(width, 2, Grey(255)), 256, 3);
    ExpectEqualsReference(Scrambled(width, 3, static_cast<std::uint32_t>(width)), 256, 2);
    ExpectEqualsReference(Scrambled(width, 2, 7, {Grey(255), Grey(254)}), 3, 1);
    if (HasFatalFailure()) return;
  }
}

TEST(ResampleAreaAverage, EqualsTheDirectAverageForLargeSources) {
  ExpectEqualsReference(Scrambled(4096, 4096, 11), 256, 256);
  ExpectEqualsReference(Scrambled(1 << 22, 1, 12), 256, 2);
  ExpectEqualsReference(Scrambled(1, 1 << 22, 13, {Grey(0), Grey(255)}), 2, 256);
  ExpectEqualsReference(Bitmap::Blank(1 << 22, 1, Grey(255)), 3, 1);
}

// The divider's estimate is checked only at ties, so it must be right
// everywhere else up to the largest divisor: every value near each whole
// quotient and each half, and at both ends of the range.
TEST(DividerRoundingToEven, RoundsLikeIntegerDivisionUpToTheLargestDivisor) {
  const auto expected = [](std::int64_t value, std::int64_t divisor) {
    const std::int64_t q = value / divisor, r = value % divisor;
    return static_cast<std::uint32_t>(q + (2 * r > divisor || (2 * r == divisor && q % 2 == 1)));
  };
  for (std::int64_t divisor = 1; divisor <= 256; ++divisor) {
    const DividerRoundingToEven divide(divisor);
    for (std::int64_t value = 0; value <= 255 * divisor; ++value) {
      ASSERT_EQ(divide(value), expected(value, divisor)) << value << " / " << divisor;
    }
  }
  // Odd divisors have no ties; even ones whose reciprocal is inexact put the
  // estimate of a tie on either side of it.
  const std::int64_t large[] = {65535,          65536,         65537,         90000,
                                1000002,        1000003,       (1 << 27) + 2, 3 << 26,
                                (1 << 28) - 57, (1 << 28) - 2, (1 << 28) - 1, 1 << 28};
  for (const std::int64_t divisor : large) {
    const DividerRoundingToEven divide(divisor);
    for (std::int64_t k = 0; k <= 255; ++k) {
      for (const std::int64_t point : {2 * k * divisor, (2 * k + 1) * divisor}) {
        for (std::int64_t step = -2; step <= 2; ++step) {
          const std::int64_t twice = point + step;
          if (twice < 0 || twice % 2 == 1 || twice > 2 * 255 * divisor) continue;
          ASSERT_EQ(divide(twice / 2), expected(twice / 2, divisor))
              << twice / 2 << " / " << divisor;
        }
      }
    }
  }
}

}  // namespace
}  // namespace skyplate
