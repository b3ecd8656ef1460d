#include "topdown/preview_scaling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace skyplate {
namespace {

constexpr std::uint32_t kUntouched = 0x00123456;

struct Preview {
  Preview(std::int32_t width, std::int32_t height)
      : pixels(static_cast<std::size_t>(width) * height, kUntouched),
        view{width, height, pixels.data()} {}
  std::uint32_t At(std::int32_t x, std::int32_t y) const { return pixels[y * view.width + x]; }
  std::vector<std::uint32_t> pixels;
  PreviewPixels view;
};

TEST(PreviewScaling, EvenPictureStaysEvenAtAThirdInScreenLayout) {
  const Bitmap picture = Bitmap::Blank(1000, 1001, MakeColour(200, 100, 50));
  Preview preview(333, 334);
  const ColumnRange columns = ScaleColumnsIntoPreview(picture, 0, 999, preview.view);
  EXPECT_EQ(columns.first, 0);
  EXPECT_EQ(columns.last, 332);
  for (std::uint32_t pixel : preview.pixels) ASSERT_EQ(pixel, 0x00C86432u);
}

TEST(PreviewScaling, AveragesTheCoveredAreaByShare) {
  // Three columns into two: each preview column covers one and a half.
  Bitmap picture = Bitmap::Blank(3, 1);
  picture.Set(0, 0, MakeColour(0, 0, 0));
  picture.Set(1, 0, MakeColour(90, 0, 0));
  picture.Set(2, 0, MakeColour(180, 0, 0));
  Preview preview(2, 1);
  ScaleColumnsIntoPreview(picture, 0, 2, preview.view);
  EXPECT_EQ(preview.At(0, 0), 30u << 16);   // (0 + 90 / 2) / 1.5
  EXPECT_EQ(preview.At(1, 0), 150u << 16);  // (90 / 2 + 180) / 1.5
}

TEST(PreviewScaling, RecomputesOnlyThePreviewColumnsTheChangedColumnsReach) {
  Bitmap picture = Bitmap::Blank(6, 3, MakeColour(255, 255, 255));
  Preview preview(2, 1);
  EXPECT_EQ(ScaleColumnsIntoPreview(picture, 0, 2, preview.view).last, 0);
  EXPECT_EQ(preview.At(0, 0), 0x00FFFFFFu);
  EXPECT_EQ(preview.At(1, 0), kUntouched);

  // Each preview column covers three source columns of its own.
  const ColumnRange right = ScaleColumnsIntoPreview(picture, 3, 3, preview.view);
  EXPECT_EQ(right.first, 1);
  EXPECT_EQ(right.last, 1);
  EXPECT_EQ(preview.At(1, 0), 0x00FFFFFFu);
}

TEST(PreviewScaling, ColumnSharedByTwoPreviewColumnsRedrawsBoth) {
  const Bitmap picture = Bitmap::Blank(3, 3, MakeColour(0, 0, 9));
  Preview preview(2, 2);
  const ColumnRange columns = ScaleColumnsIntoPreview(picture, 1, 1, preview.view);
  EXPECT_EQ(columns.first, 0);
  EXPECT_EQ(columns.last, 1);
  for (std::uint32_t pixel : preview.pixels) EXPECT_EQ(pixel, 9u);
}

TEST(PreviewScaling, EnlargesToo) {
  const Bitmap picture = Bitmap::Blank(1, 1, MakeColour(1, 2, 3));
  Preview preview(2, 3);
  ScaleColumnsIntoPreview(picture, 0, 0, preview.view);
  for (std::uint32_t pixel : preview.pixels) EXPECT_EQ(pixel, 0x00010203u);
}

TEST(PreviewScaling, NothingToDoLeavesThePreviewAlone) {
  const Bitmap picture = Bitmap::Blank(4, 4, MakeColour(1, 1, 1));
  Preview preview(2, 2);
  EXPECT_TRUE(ScaleColumnsIntoPreview(picture, 3, 2, preview.view).empty());
  EXPECT_TRUE(ScaleColumnsIntoPreview(picture, 4, 9, preview.view).empty());
  EXPECT_TRUE(ScaleColumnsIntoPreview(Bitmap{}, 0, 0, preview.view).empty());
  for (std::uint32_t pixel : preview.pixels) EXPECT_EQ(pixel, kUntouched);

  Preview empty(0, 0);
  EXPECT_TRUE(ScaleColumnsIntoPreview(picture, 0, 3, empty.view).empty());
  EXPECT_TRUE(ScaleColumnsIntoPreview(picture, 0, 3, PreviewPixels{1, 0, nullptr}).empty());
}

// Each preview pixel straight from its definition: every source pixel
// weighted by the area it shares with the preview pixel, in units of
// 1 / (source size * preview size) per axis.
std::uint32_t DirectAverage(const Bitmap& source, std::int32_t width, std::int32_t height,
                            std::int32_t px, std::int32_t py) {
  const auto overlap = [](std::int64_t p, std::int64_t s, std::int64_t source_size,
                          std::int64_t preview_size) {
    return std::max<std::int64_t>(0, std::min((p + 1) * source_size, (s + 1) * preview_size) -
                                         std::max(p * source_size, s * preview_size));
  };
  std::uint64_t sums[3] = {};
  for (std::int32_t y = 0; y < source.height; ++y) {
    for (std::int32_t x = 0; x < source.width; ++x) {
      const std::uint64_t weight =
          overlap(px, x, source.width, width) * overlap(py, y, source.height, height);
      const Colour c = source.At(x, y);
      sums[0] += weight * RedOf(c);
      sums[1] += weight * GreenOf(c);
      sums[2] += weight * BlueOf(c);
    }
  }
  const std::uint64_t total = static_cast<std::uint64_t>(source.width) * source.height;
  const auto channel = [&](int c) {
    return static_cast<std::uint32_t>((sums[c] + total / 2) / total);
  };
  return channel(0) << 16 | channel(1) << 8 | channel(2);
}

TEST(PreviewScaling, RefreshesInBandsMatchTheDirectAverage) {
  // Awkward sizes, more preview columns than are summed side by side, and
  // colours that leave remainders everywhere.
  Bitmap picture = Bitmap::Blank(211, 100);
  std::uint32_t state = 12345;
  for (Colour& pixel : picture.pixels) {
    state = state * 1103515245u + 12345u;
    pixel = MakeColour(state >> 24, state >> 16 & 0xFF, state >> 8 & 0xFF);
  }
  Preview preview(70, 33);
  std::int32_t first = 0;
  for (std::int32_t point = 0; point < picture.width; point += 16) {
    ScaleColumnsIntoPreview(picture, first, point, preview.view);
    first = point + 1;
  }
  ScaleColumnsIntoPreview(picture, first, picture.width - 1, preview.view);
  for (std::int32_t y = 0; y < 33; ++y) {
    for (std::int32_t x = 0; x < 70; ++x) {
      ASSERT_EQ(preview.At(x, y), DirectAverage(picture, 70, 33, x, y)) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace skyplate
