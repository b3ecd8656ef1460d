#include "topdown/preview_scaling.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace skyplate
