#include "tools/track_generator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include "topdown/bitmap_writer.h"

namespace skyplate::tools {
namespace {

// Smooth value noise: a lattice of random values, blended with a smoothstep.
class ValueNoise {
 public:
  explicit ValueNoise(std::uint32_t seed) {
    std::mt19937 random(seed);
    for (float& v : lattice_) v = std::uniform_real_distribution<float>(0, 1)(random);
  }
  // Noise in 0..1 at (x, y) measured in lattice cells.
  float At(float x, float y) const {
    const float fx = std::floor(x), fy = std::floor(y);
    const float tx = Smooth(x - fx), ty = Smooth(y - fy);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float top = Lerp(Cell(ix, iy), Cell(ix + 1, iy), tx);
    const float bottom = Lerp(Cell(ix, iy + 1), Cell(ix + 1, iy + 1), tx);
    return Lerp(top, bottom, ty);
  }
  // Several octaves, each half as strong and twice as fine.
  float Fractal(float x, float y, int octaves) const {
    float sum = 0, weight = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
      sum += weight * At(x, y);
      total += weight;
      weight /= 2;
      x *= 2;
      y *= 2;
    }
    return sum / total;
  }

 private:
  static constexpr int kSide = 64;
  static float Smooth(float t) { return t * t * (3 - 2 * t); }
  static float Lerp(float a, float b, float t) { return a + (b - a) * t; }
  float Cell(int x, int y) const {
    return lattice_[((y % kSide + kSide) % kSide) * kSide + (x % kSide + kSide) % kSide];
  }
  std::array<float, kSide * kSide> lattice_{};
};

std::uint8_t ToByte(float v) {
  return static_cast<std::uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255 + 0.5f);
}

// Mostly 0 or 255, with a short ramp where the field crosses its threshold.
std::uint8_t Region(float field, float threshold) {
  return ToByte((field - threshold) * 12 + 0.5f);
}

Colour Shade(const std::array<float, 3>& colour, float light) {
  return MakeColour(ToByte(colour[0] * light), ToByte(colour[1] * light),
                    ToByte(colour[2] * light));
}

}  // namespace

Bitmap MakeMask(std::int32_t width, std::int32_t height, MaskKind kind, std::uint32_t seed) {
  Bitmap mask = Bitmap::Blank(width, height);
  if (kind == MaskKind::kNoise) {
    std::mt19937 random(seed);
    for (Colour& c : mask.pixels) c = random() & 0xFFFFFF;
    return mask;
  }
  const ValueNoise rock(seed), grass(seed + 1), water(seed + 2);
  // Features about a fifth of the shorter side across, whatever the size.
  const float scale = 5.0f / static_cast<float>(std::max(1, std::min(width, height)));
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const float fx = x * scale, fy = y * scale;
      mask.Set(x, y,
               MakeColour(Region(rock.Fractal(fx, fy, 3), 0.55f),
                          Region(grass.Fractal(fx + 7, fy + 3, 3), 0.52f),
                          Region(water.Fractal(fx + 13, fy + 5, 2), 0.62f)));
    }
  }
  return mask;
}

Bitmap MakeTexture(int ground, std::int32_t size, std::uint32_t seed) {
  static constexpr std::array<std::array<float, 3>, 4> kColours = {{
      {0.86f, 0.76f, 0.52f},  // sand
      {0.55f, 0.52f, 0.50f},  // rock
      {0.30f, 0.55f, 0.22f},  // grass
      {0.18f, 0.40f, 0.70f},  // water
  }};
  const ValueNoise noise(seed * 31 + ground);
  std::mt19937 grain(seed + ground);
  Bitmap texture = Bitmap::Blank(size, size);
  // Textures tile: the noise lattice repeats once across the texture.
  const float cells = 64.0f / static_cast<float>(size);
  for (std::int32_t y = 0; y < size; ++y) {
    for (std::int32_t x = 0; x < size; ++x) {
      const float light = 0.75f + 0.4f * noise.Fractal(x * cells, y * cells, 3) +
                          0.05f * std::uniform_real_distribution<float>(-1, 1)(grain);
      texture.Set(x, y, Shade(kColours[ground], light));
    }
  }
  return texture;
}

bool WriteTrack(const std::string& folder, const TrackRecipe& recipe, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(fs::path(folder) / "tiles", ec);
  if (ec) {
    *error = folder + ": " + ec.message();
    return false;
  }
  static constexpr std::array<const char*, 4> kTextures = {"sand", "rock", "grass", "water"};
  // Sizes other than 256 make every build resample, shrinking and enlarging.
  static constexpr std::array<std::int32_t, 4> kSizes = {256, 512, 128, 300};
  const std::string mask_name = recipe.name + "_mask.bmp";
  if (!SaveBitmapFile(MakeMask(recipe.width, recipe.height, recipe.mask, recipe.seed),
                      (fs::path(folder) / mask_name).string(), error)) {
    return false;
  }
  std::ofstream track(fs::path(folder) / (recipe.name + ".track"), std::ios::binary);
  track << "[Track]\r\nName=" << recipe.name << "\r\n\r\n[TerrainMaps]\r\nMaskMap=" << mask_name
        << "\r\n";
  static constexpr std::array<const char*, 4> kKeys = {"Overlay_Base", "Overlay_R", "Overlay_G",
                                                       "Overlay_B"};
  for (int i = 0; i < 4; ++i) {
    const std::string file = std::string(kTextures[i]) + ".bmp";
    if (!SaveBitmapFile(MakeTexture(i, kSizes[i], recipe.seed),
                        (fs::path(folder) / "tiles" / file).string(), error)) {
      return false;
    }
    track << kKeys[i] << " = tiles\\" << file << "\r\n";
  }
  track.close();
  if (!track) {
    *error = folder + ": cannot write the track file";
    return false;
  }
  return true;
}

}  // namespace skyplate::tools
