#include "topdown/compositing.h"

#include <algorithm>

#include "topdown/blend.h"

namespace skyplate {
namespace {

struct PercentTable {
  std::array<std::uint8_t, 256> of_mask{};
  PercentTable() {
    for (int m = 0; m < 256; ++m) of_mask[m] = static_cast<std::uint8_t>(BlendPercent(m));
  }
};
const PercentTable kPercent;

Colour BlendStep(Colour below, Colour over, std::uint8_t mask_channel) {
  const int percent = kPercent.of_mask[mask_channel];
  if (percent == 100) return below;
  if (percent == 0) return over;
  return BlendColors(below, over, percent);
}

}  // namespace

Colour ComposePixel(Colour mask, Colour base, Colour red, Colour green, Colour blue) {
  Colour c = BlendStep(base, red, RedOf(mask));
  c = BlendStep(c, green, GreenOf(mask));
  return BlendStep(c, blue, BlueOf(mask));
}

void ComposeRow(const Colour* mask_row, std::int32_t y, std::int32_t first, std::int32_t last,
                const OverlayTiles& tiles, Colour* out_row) {
  const std::int32_t v = y % kTileSize;
  const Colour* base = tiles[0].Row(v);
  const Colour* red = tiles[1].Row(v);
  const Colour* green = tiles[2].Row(v);
  const Colour* blue = tiles[3].Row(v);
  for (std::int32_t x = first; x <= last; ++x) {
    const std::int32_t u = x % kTileSize;
    out_row[x] = ComposePixel(mask_row[x], base[u], red[u], green[u], blue[u]);
  }
}

std::int32_t DisplaySize(std::int32_t picture_size) {
  // round(n / 3): a third is never exactly half-way between two integers.
  return picture_size >= 0 ? (picture_size + 1) / 3 : -((-picture_size + 1) / 3);
}

void CompositeTerrain(const Bitmap& mask, const OverlayTiles& tiles, Bitmap* result,
                      BuildFrontEnd* front_end) {
  front_end->OpenDisplay(DisplaySize(result->width), DisplaySize(result->height));
  auto compose_band = [&](std::int32_t first, std::int32_t last) {
    for (std::int32_t y = 0; y < result->height; ++y) {
      ComposeRow(mask.Row(y), y, first, last, tiles, result->Row(y));
    }
  };
  // Column bands that end where the display is refreshed: column 0, then
  // 1..16, 17..32 and so on.
  std::int32_t first = 0;
  for (std::int32_t point = 0; point < result->width; point += kRefreshPeriod) {
    compose_band(first, point);
    front_end->RefreshDisplay(*result, first, point);
    first = point + 1;
  }
  const std::int32_t last = result->width - 1;
  if (first <= last) compose_band(first, last);
  // The final refresh comes whether or not anything changed since the last.
  front_end->RefreshDisplay(*result, first, last);
}

}  // namespace skyplate
