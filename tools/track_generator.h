// Synthetic tracks for examples, tests and benchmarks: a mask map and four
// overlay textures that look like terrain, with the track file naming them.
#pragma once

#include <cstdint>
#include <string>

#include "topdown/bitmap.h"

namespace skyplate::tools {

enum class MaskKind {
  kTerrain,  // smooth regions of ground, sharp edges, short gradients between
  kNoise,    // every channel uniform noise: the compositing's worst case
};

struct TrackRecipe {
  std::string name = "Hill";  // the track file is <name>.track, the mask <name>_mask.bmp
  std::int32_t width = 384;
  std::int32_t height = 256;
  MaskKind mask = MaskKind::kTerrain;
  std::uint32_t seed = 1;
};

Bitmap MakeMask(std::int32_t width, std::int32_t height, MaskKind kind, std::uint32_t seed);

// One of four ground textures (0 sand, 1 rock, 2 grass, 3 water) at a size
// of its own, so that a build also resamples.
Bitmap MakeTexture(int ground, std::int32_t size, std::uint32_t seed);

// Writes <folder>/<name>.track, the mask map beside it and the textures in
// <folder>/tiles, named with Windows separators as track files are.
bool WriteTrack(const std::string& folder, const TrackRecipe& recipe, std::string* error);

}  // namespace skyplate::tools
