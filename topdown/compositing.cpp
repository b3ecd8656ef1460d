#include "topdown/compositing.h"

#include <algorithm>
#include <vector>

#include "topdown/blend.h"
#include "topdown/worker_pool.h"

namespace skyplate {

Colour ComposePixel(Colour mask, Colour base, Colour red, Colour green, Colour blue) {
  Colour c = BlendColors(base, red, BlendPercent(RedOf(mask)));
  c = BlendColors(c, green, BlendPercent(GreenOf(mask)));
  return BlendColors(c, blue, BlendPercent(BlueOf(mask)));
}

std::int32_t DisplaySize(std::int32_t picture_size) {
  // round(n / 3): a third is never exactly half-way between two integers.
  // Pictures here are never of negative size.
  return (picture_size + 1) / 3;
}

void CompositeTerrain(const Bitmap& mask, const OverlayTiles& tiles, Bitmap* result,
                      BuildFrontEnd* front_end, int jobs) {
  front_end->OpenDisplay(DisplaySize(result->width), DisplaySize(result->height));
  const RowCompositor compositor(tiles);
  WorkerPool pool(jobs);
  // An empty mask (one that failed to load) reads as black: one black row
  // serves every row.
  const std::vector<Colour> black_row(mask.empty() ? result->width : 0, 0);
  auto compose_band = [&](std::int32_t first, std::int32_t last) {
    pool.Run(result->height, [&](int, std::int64_t begin, std::int64_t end) {
      for (auto y = static_cast<std::int32_t>(begin); y < end; ++y) {
        const Colour* mask_row = mask.empty() ? black_row.data() : mask.Row(y);
        compositor.ComposeColours(mask_row, y, first, last, result->Row(y));
      }
    });
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
