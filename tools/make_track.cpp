// make-track: writes a synthetic track (track file, mask map, four textures).

#include <CLI/CLI.hpp>
#include <cstdio>

#include "tools/track_generator.h"

int main(int argc, char** argv) {
  CLI::App app("Writes a synthetic Dunerally track for examples, tests and benchmarks.",
               "make-track");
  std::string folder;
  skyplate::tools::TrackRecipe recipe;
  std::string mask = "terrain";
  app.add_option("FOLDER", folder, "Folder to write the track into")->required();
  app.add_option("--name", recipe.name, "Track name")->capture_default_str();
  app.add_option("--width", recipe.width, "Mask map width")
      ->capture_default_str()
      ->check(CLI::Range(1, 65535));
  app.add_option("--height", recipe.height, "Mask map height")
      ->capture_default_str()
      ->check(CLI::Range(1, 65535));
  app.add_option("--mask", mask, "Mask kind")
      ->capture_default_str()
      ->check(CLI::IsMember({"terrain", "noise"}));
  app.add_option("--seed", recipe.seed, "Random seed")->capture_default_str();
  CLI11_PARSE(app, argc, argv);
  recipe.mask =
      mask == "noise" ? skyplate::tools::MaskKind::kNoise : skyplate::tools::MaskKind::kTerrain;
  std::string error;
  if (!skyplate::tools::WriteTrack(folder, recipe, &error)) {
    std::fprintf(stderr, "make-track: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
