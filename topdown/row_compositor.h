// The compositing of runs of picture pixels, fast: the overlay tiles held as
// channel planes, the blend done on planes by BlendPlanes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "topdown/bitmap.h"
#include "topdown/plane_blend.h"

namespace skyplate {

inline constexpr std::int32_t kTileSize = 256;

// Overlay_Base, Overlay_R, Overlay_G and Overlay_B, each kTileSize square.
using OverlayTiles = std::array<Bitmap, 4>;

// One pixel as the BMP format stores 24-bit pixels.
struct BgrPixel {
  std::uint8_t blue, green, red;
};
static_assert(sizeof(BgrPixel) == 3);

class RowCompositor {
 public:
  explicit RowCompositor(const OverlayTiles& tiles);

  // Columns first..last (inclusive) of row y, from the mask's colours to the
  // picture's colours.
  void ComposeColours(const Colour* mask_row, std::int32_t y, std::int32_t first, std::int32_t last,
                      Colour* out_row) const;
  // The same for pixels stored as the BMP format stores 24-bit pixels.
  void ComposeBgr(const BgrPixel* mask_row, std::int32_t y, std::int32_t first, std::int32_t last,
                  BgrPixel* out_row) const;

 private:
  template <typename Pixel>
  void Compose(const Pixel* mask_row, std::int32_t y, std::int32_t first, std::int32_t last,
               Pixel* out_row) const;
  // Pixels u..u+count-1 of tile row v, all within one repeat of the tiles.
  void ComposeRun(const std::uint8_t* const mask[3], std::int32_t v, std::int32_t u, int count,
                  Planes out) const;
  ConstPlanes TilePlanes(int tile, std::int32_t v, std::int32_t u) const;

  // tile, channel (red, green, blue), row, column
  std::vector<std::uint8_t> planes_;
};

}  // namespace skyplate
