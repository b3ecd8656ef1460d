#include "topdown/plane_blend.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "topdown/blend.h"
#include "topdown/compositing.h"
#include "topdown/row_compositor.h"

namespace skyplate {
namespace {

// Every (below, over, mask value) combination, each channel plane holding a
// different arrangement of them, against BlendColors.
TEST(BlendPlanes, ExactForEveryCombination) {
  constexpr int kRun = 256;
  std::array<std::vector<std::uint8_t>, 3> below, over;
  std::vector<std::uint8_t> mask(kRun);
  for (int c = 0; c < 3; ++c) {
    below[c].resize(kRun);
    over[c].resize(kRun);
  }
  for (int m = 0; m < 256; ++m) {
    // Vary the mask within a run too, so each lane sees other percents.
    for (int i = 0; i < kRun; ++i) mask[i] = static_cast<std::uint8_t>(m + (i % 7) * 37);
    for (int b = 0; b < 256; ++b) {
      for (int i = 0; i < kRun; ++i) {
        below[0][i] = below[1][i] = static_cast<std::uint8_t>(b);
        over[0][i] = static_cast<std::uint8_t>(i);
        over[1][i] = static_cast<std::uint8_t>(255 - i);
        below[2][i] = static_cast<std::uint8_t>(i);
        over[2][i] = static_cast<std::uint8_t>(b);
      }
      const auto before = below;
      BlendPlanes(mask.data(), {over[0].data(), over[1].data(), over[2].data()},
                  {below[0].data(), below[1].data(), below[2].data()}, kRun);
      for (int i = 0; i < kRun; ++i) {
        const Colour want =
            BlendColors(MakeColour(before[0][i], before[1][i], before[2][i]),
                        MakeColour(over[0][i], over[1][i], over[2][i]), BlendPercent(mask[i]));
        ASSERT_EQ(MakeColour(below[0][i], below[1][i], below[2][i]), want)
            << "mask " << int(mask[i]) << " below " << b << " lane " << i;
      }
    }
  }
}

TEST(BlendPlanes, ShortRunsAndTailsAreExact) {
  std::mt19937 random(7);
  for (int count = 1; count <= 40; ++count) {
    std::vector<std::uint8_t> mask(count);
    std::array<std::vector<std::uint8_t>, 6> planes;
    for (auto& plane : planes) plane.resize(count);
    for (int i = 0; i < count; ++i) {
      mask[i] = random() & 0xFF;
      for (auto& plane : planes) plane[i] = random() & 0xFF;
    }
    const auto before = planes;
    BlendPlanes(mask.data(), {planes[3].data(), planes[4].data(), planes[5].data()},
                {planes[0].data(), planes[1].data(), planes[2].data()}, count);
    for (int i = 0; i < count; ++i) {
      const Colour want =
          BlendColors(MakeColour(before[0][i], before[1][i], before[2][i]),
                      MakeColour(before[3][i], before[4][i], before[5][i]), BlendPercent(mask[i]));
      ASSERT_EQ(MakeColour(planes[0][i], planes[1][i], planes[2][i]), want) << count;
    }
  }
}

// The fast compositing (vector form where the processor has one) against the
// pixel definition for every (below, over, mask value) of each blend step in
// turn: the base tile holds every below value along x, the step's tile every
// over value along y, and the other mask channels are 0.
TEST(RowCompositor, ExactForEveryCombination) {
  for (int step = 0; step < 3; ++step) {
    OverlayTiles tiles;
    for (Bitmap& tile : tiles) tile = Bitmap::Blank(kTileSize, kTileSize);
    for (std::int32_t v = 0; v < kTileSize; ++v) {
      for (std::int32_t u = 0; u < kTileSize; ++u) {
        tiles[0].Set(u, v, MakeColour(u, 255 - u, u ^ v));
        tiles[step + 1].Set(u, v, MakeColour(v, u, 255 - v));
      }
    }
    const RowCompositor compositor(tiles);
    std::vector<Colour> mask(kTileSize), out(kTileSize);
    std::vector<BgrPixel> mask_bgr(kTileSize), out_bgr(kTileSize);
    const int shift = 8 * step;  // red, green, blue
    for (int m = 0; m < 256; ++m) {
      for (std::int32_t x = 0; x < kTileSize; ++x) {
        // Vary the mask within a row too, so each lane sees other percents.
        mask[x] = static_cast<Colour>((m + (x % 7) * 37) & 0xFF) << shift;
        mask_bgr[x] = {BlueOf(mask[x]), GreenOf(mask[x]), RedOf(mask[x])};
      }
      for (std::int32_t y = 0; y < kTileSize; ++y) {
        compositor.ComposeColours(mask.data(), y, 0, kTileSize - 1, out.data());
        compositor.ComposeBgr(mask_bgr.data(), y, 0, kTileSize - 1, out_bgr.data());
        for (std::int32_t x = 0; x < kTileSize; ++x) {
          const Colour want = ComposePixel(mask[x], tiles[0].At(x, y), tiles[1].At(x, y),
                                           tiles[2].At(x, y), tiles[3].At(x, y));
          ASSERT_EQ(out[x], want) << "step " << step << " mask " << ((mask[x] >> shift) & 0xFF)
                                  << " at " << x << "," << y;
          ASSERT_EQ(MakeColour(out_bgr[x].red, out_bgr[x].green, out_bgr[x].blue), want);
        }
      }
    }
  }
}

TEST(RowCompositor, MatchesThePixelDefinitionAcrossTileRepeats) {
  std::mt19937 random(3);
  OverlayTiles tiles;
  for (Bitmap& tile : tiles) {
    tile = Bitmap::Blank(kTileSize, kTileSize);
    for (Colour& c : tile.pixels) c = random() & 0xFFFFFF;
  }
  const RowCompositor compositor(tiles);
  const std::int32_t width = 700;
  std::vector<Colour> mask(width), out(width);
  std::vector<BgrPixel> mask_bgr(width), out_bgr(width);
  for (std::int32_t y : {0, 255, 256, 1000}) {
    for (std::int32_t x = 0; x < width; ++x) {
      // Runs of pure 0 and 255 channels as well as noise, to take every road.
      const std::uint32_t noise = random();
      mask[x] = (x / 50) % 3 == 0 ? noise & 0xFFFFFF : (x / 50) % 3 == 1 ? 0 : 0xFFFFFF;
      mask_bgr[x] = {BlueOf(mask[x]), GreenOf(mask[x]), RedOf(mask[x])};
    }
    for (auto [first, last] : {std::pair{0, width - 1}, std::pair{17, 300}, std::pair{255, 256}}) {
      compositor.ComposeColours(mask.data(), y, first, last, out.data());
      compositor.ComposeBgr(mask_bgr.data(), y, first, last, out_bgr.data());
      for (std::int32_t x = first; x <= last; ++x) {
        const std::int32_t u = x % kTileSize, v = y % kTileSize;
        const Colour want = ComposePixel(mask[x], tiles[0].At(u, v), tiles[1].At(u, v),
                                         tiles[2].At(u, v), tiles[3].At(u, v));
        ASSERT_EQ(out[x], want) << x << "," << y;
        ASSERT_EQ(MakeColour(out_bgr[x].red, out_bgr[x].green, out_bgr[x].blue), want);
      }
    }
  }
}

}  // namespace
}  // namespace skyplate
