// An in-memory picture: width x height colours, rows stored top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "topdown/colour.h"
#include "topdown/limits.h"

namespace skyplate {

struct Bitmap {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<Colour> pixels;  // width * height colours, row by row from the top

  // A bitmap of the given size filled with `fill`. The caller keeps
  // width * height within kMaxInMemoryPixels.
  static Bitmap Blank(std::int32_t width, std::int32_t height, Colour fill = 0);

  bool empty() const { return pixels.empty(); }
  Colour* Row(std::int32_t y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
  const Colour* Row(std::int32_t y) const {
    return pixels.data() + static_cast<std::size_t>(y) * width;
  }
  Colour At(std::int32_t x, std::int32_t y) const { return Row(y)[x]; }
  void Set(std::int32_t x, std::int32_t y, Colour c) { Row(y)[x] = c; }
};

// True when a width x height picture may be held in memory.
bool FitsInMemory(std::int64_t width, std::int64_t height);

}  // namespace skyplate
