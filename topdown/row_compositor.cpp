#include "topdown/row_compositor.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include "topdown/row_compositor_avx2.h"
#define SKYPLATE_HAVE_AVX2_FORM 1
#endif

namespace skyplate {
namespace {

constexpr std::size_t kPlaneBytes = std::size_t{kTileSize} * kTileSize;

void Split(const Colour* pixels, int count, std::uint8_t* const planes[3]) {
  for (int i = 0; i < count; ++i) {
    planes[0][i] = RedOf(pixels[i]);
    planes[1][i] = GreenOf(pixels[i]);
    planes[2][i] = BlueOf(pixels[i]);
  }
}

void Split(const BgrPixel* pixels, int count, std::uint8_t* const planes[3]) {
  for (int i = 0; i < count; ++i) {
    planes[0][i] = pixels[i].red;
    planes[1][i] = pixels[i].green;
    planes[2][i] = pixels[i].blue;
  }
}

void Join(const Planes& planes, int count, Colour* pixels) {
  for (int i = 0; i < count; ++i) {
    pixels[i] = MakeColour(planes.red[i], planes.green[i], planes.blue[i]);
  }
}

void Join(const Planes& planes, int count, BgrPixel* pixels) {
  for (int i = 0; i < count; ++i) pixels[i] = {planes.blue[i], planes.green[i], planes.red[i]};
}

// The smallest and largest value of a run, in one pass the compiler can
// vectorise.
std::pair<std::uint8_t, std::uint8_t> Range(const std::uint8_t* values, int count) {
  std::uint8_t low = 255, high = 0;
  for (int i = 0; i < count; ++i) {
    low = std::min(low, values[i]);
    high = std::max(high, values[i]);
  }
  return {low, high};
}

void CopyPlanes(ConstPlanes from, Planes to, int count) {
  std::memcpy(to.red, from.red, count);
  std::memcpy(to.green, from.green, count);
  std::memcpy(to.blue, from.blue, count);
}

}  // namespace

#ifdef SKYPLATE_HAVE_AVX2_FORM
bool HaveAvx2() {
  // Static initialisers may run before the compiler's own CPU detection.
  static const bool have = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
  return have;
}
#endif

RowCompositor::RowCompositor(const OverlayTiles& tiles) : planes_(4 * 3 * kPlaneBytes) {
  for (int t = 0; t < 4; ++t) {
    // A tile of another size is a caller's mistake; it reads as black.
    if (tiles[t].width != kTileSize || tiles[t].height != kTileSize) continue;
    for (std::int32_t v = 0; v < kTileSize; ++v) {
      std::uint8_t* planes[3];
      for (int c = 0; c < 3; ++c) planes[c] = &planes_[(t * 3 + c) * kPlaneBytes + v * kTileSize];
      Split(tiles[t].Row(v), kTileSize, planes);
    }
  }
}

ConstPlanes RowCompositor::TilePlanes(int tile, std::int32_t v, std::int32_t u) const {
  const std::uint8_t* row = &planes_[tile * 3 * kPlaneBytes + v * kTileSize + u];
  return {row, row + kPlaneBytes, row + 2 * kPlaneBytes};
}

void RowCompositor::ComposeRun(const std::uint8_t* const mask[3], std::int32_t v, std::int32_t u,
                               int count, Planes out) const {
  CopyPlanes(TilePlanes(0, v, u), out, count);
  for (int step = 0; step < 3; ++step) {
    // Mask values 0 and 1 leave the colour underneath, 254 and 255 replace
    // it: realistic masks are mostly such runs, which need no arithmetic.
    const auto [low, high] = Range(mask[step], count);
    if (high <= 1) continue;
    const ConstPlanes over = TilePlanes(step + 1, v, u);
    if (low >= 254) {
      CopyPlanes(over, out, count);
    } else {
      BlendPlanes(mask[step], over, out, count);
    }
  }
}

template <typename Pixel>
void RowCompositor::Compose(const Pixel* mask_row, std::int32_t y, std::int32_t first,
                            std::int32_t last, Pixel* out_row) const {
  alignas(32) std::uint8_t mask_planes[3][kTileSize];
  alignas(32) std::uint8_t out_planes[3][kTileSize];
  const std::uint8_t* const mask[3] = {mask_planes[0], mask_planes[1], mask_planes[2]};
  std::uint8_t* const split[3] = {mask_planes[0], mask_planes[1], mask_planes[2]};
  const Planes out = {out_planes[0], out_planes[1], out_planes[2]};
  const std::int32_t v = y % kTileSize;
  for (std::int32_t x = first; x <= last;) {
    const std::int32_t u = x % kTileSize;
    int count = static_cast<int>(std::min<std::int64_t>(last - x + 1, kTileSize - u));
#ifdef SKYPLATE_HAVE_AVX2_FORM
    if (HaveAvx2()) {
      const ConstPlanes tiles[4] = {TilePlanes(0, v, u), TilePlanes(1, v, u), TilePlanes(2, v, u),
                                    TilePlanes(3, v, u)};
      const int done = ComposeBlocksAvx2(mask_row + x, tiles, count, out_row + x);
      x += done;
      count -= done;
      if (count == 0) continue;
    }
#endif
    Split(mask_row + x, count, split);
    ComposeRun(mask, v, x % kTileSize, count, out);
    Join(out, count, out_row + x);
    x += count;
  }
}

void RowCompositor::ComposeColours(const Colour* mask_row, std::int32_t y, std::int32_t first,
                                   std::int32_t last, Colour* out_row) const {
  Compose(mask_row, y, first, last, out_row);
}

void RowCompositor::ComposeBgr(const BgrPixel* mask_row, std::int32_t y, std::int32_t first,
                               std::int32_t last, BgrPixel* out_row) const {
  Compose(mask_row, y, first, last, out_row);
}

}  // namespace skyplate
