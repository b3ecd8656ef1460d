// make-fuzz-seeds: writes the seed corpus of every fuzz target into
// OUTPUT/<target>/: each BMP variant the decoder reads, track files, and whole
// tracks built of them.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/track_bundle.h"
#include "tools/bmp_variants.h"

namespace {

namespace fs = std::filesystem;
using skyplate::Bitmap;
using skyplate::BmpVariantInfo;

// A picture a variant holds: no more colours than it has, black runs for RLE
// to skip, an odd width for row padding.
Bitmap PictureFor(const BmpVariantInfo& info, std::int32_t width, std::int32_t height) {
  const int colours = info.max_colours == 0 ? 64 : std::min(info.max_colours, 64);
  Bitmap picture = Bitmap::Blank(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const int index = (x / 3 + y * 5) % colours;
      const bool black = (x + y) % 7 < 2;
      picture.Set(
          x, y,
          black ? 0 : skyplate::MakeColour(index * 37 % 256, index * 91 % 256, index * 151 % 256));
    }
  }
  return picture;
}

void Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-fuzz-seeds OUTPUT\n");
    return 1;
  }
  const fs::path out = argv[1];
  for (const char* target : {"bmp_decoder", "mask_header", "track_file", "build"}) {
    fs::create_directories(out / target);
  }
  std::vector<std::vector<std::uint8_t>> images;
  for (const BmpVariantInfo& info : skyplate::AllBmpVariants()) {
    for (const auto& [width, height] : {std::pair{13, 7}, std::pair{37, 29}}) {
      std::vector<std::uint8_t> file =
          skyplate::EncodeBmpVariant(info.variant, PictureFor(info, width, height));
      const std::string name = std::string(info.name) + "_" + std::to_string(width) + ".bmp";
      Write(out / "bmp_decoder" / name, file);
      Write(out / "mask_header" / name, file);
      images.push_back(std::move(file));
    }
  }

  Write(out / "track_file" / "plain.track",
        std::string("[TerrainMaps]\nMaskMap=Hill_mask.bmp\nOverlay_Base=tiles\\sand.bmp\n"
                    "Overlay_R=tiles\\rock.bmp\nOverlay_G=tiles\\grass.bmp\n"
                    "Overlay_B=tiles\\water.bmp\n"));
  Write(out / "track_file" / "odd.track",
        std::string("; comment\r\n[Other]\r\nMaskMap=no.bmp\r\n[ terrainmaps ]\r\n"
                    "maskmap = \"Hill mask.bmp\"\r\noverlay_base='a.bmp'\r\nOverlay_R=\r\n"
                    "Overlay_G=Not Found\r\nOverlay_B=b.bmp=c\r\n[TerrainMaps]\r\nMaskMap=x"));

  // Each variant once as the mask, with the overlays taken round the others.
  for (std::size_t i = 0; i < images.size(); ++i) {
    std::array<std::vector<std::uint8_t>, 5> track;
    for (std::size_t k = 0; k < track.size(); ++k) track[k] = images[(i + 3 * k) % images.size()];
    Write(out / "build" / ("track_" + std::to_string(i)),
          skyplate::fuzz::JoinTrackBundle(i % 2 == 1, track));
  }
  return 0;
}
