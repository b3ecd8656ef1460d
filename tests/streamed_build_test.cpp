// A streamed build writes the same bytes as a build in memory, for every form
// a mask file takes and every way one can be damaged, and cuts any picture
// into bands that cover it once.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "tests/png_reader.h"
#include "tests/recording_front_end.h"
#include "tests/test_files.h"
#include "tools/bmp_variants.h"
#include "topdown/band_layout.h"
#include "topdown/bitmap_writer.h"
#include "topdown/bmp_decoder.h"
#include "topdown/build_topdown.h"
#include "topdown/row_compositor.h"

namespace skyplate {
namespace {

using testing::ReadWholeFile;
using testing::Rle8File;
using testing::ScratchFolder;
using testing::WriteWholeFile;

// Records why an image did not load as well as which.
class ReasonsFrontEnd : public testing::RecordingFrontEnd {
 public:
  void ImageNotLoaded(std::string_view key, const std::string& path,
                      const std::string& reason) override {
    RecordingFrontEnd::ImageNotLoaded(key, path, reason);
    reasons.push_back(reason);
  }
  std::vector<std::string> reasons;
};

// A mask of `colours` colours (0: any), black among them, in runs so that
// run-length encoding has runs to find and black to skip.
Bitmap Mask(std::int32_t width, std::int32_t height, int colours) {
  Bitmap mask = Bitmap::Blank(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      if (colours == 0) {
        mask.Set(x, y, MakeColour(x * 5, y * 3, (x / 9) ^ y));
      } else {
        const int i = (x / 9 + y / 4) % colours;
        mask.Set(x, y, MakeColour(i * 255 / std::max(colours - 1, 1), i * 37, i * 91));
      }
    }
  }
  return mask;
}

// A track whose mask file holds given bytes; tiles that differ in every
// channel and place, so every mask value and tile phase shows.
class MaskTrack {
 public:
  MaskTrack() {
    for (int t = 0; t < 4; ++t) {
      Bitmap tile = Bitmap::Blank(kTileSize, kTileSize);
      for (std::int32_t y = 0; y < kTileSize; ++y) {
        for (std::int32_t x = 0; x < kTileSize; ++x) {
          tile.Set(x, y, MakeColour(x + 60 * t, y * 3 + t, (x ^ y) + 7 * t));
        }
      }
      std::string error;
      EXPECT_TRUE(SaveBitmapFile(tile, folder / ("t" + std::to_string(t) + ".bmp"), &error));
    }
    WriteWholeFile(folder / "T.track",
                   "[TerrainMaps]\nMaskMap=m.bmp\nOverlay_Base=t0.bmp\nOverlay_R=t1.bmp\n"
                   "Overlay_G=t2.bmp\nOverlay_B=t3.bmp\n");
  }

  void SetMask(const std::vector<std::uint8_t>& bytes) {
    WriteWholeFile(folder / "m.bmp", std::string(bytes.begin(), bytes.end()));
  }

  // The output file's bytes and why the mask did not load, if it did not.
  struct Built {
    BuildOutcome outcome;
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> reasons;
  };
  Built Build(bool stream, int jobs, PictureFormat format = PictureFormat::kBmp) {
    const std::string output =
        folder / (format == PictureFormat::kPng ? "m_Topdown.png" : "m_Topdown.bmp");
    std::filesystem::remove(output);
    ReasonsFrontEnd front_end;
    BuildOptions options;
    options.stream = stream;
    options.jobs = jobs;
    options.format = format;
    Built built{BuildTopdown(folder / "T.track", 0, &front_end, options), {}, front_end.reasons};
    if (std::filesystem::exists(output)) built.bytes = ReadWholeFile(output);
    return built;
  }

  // Streamed on `jobs` threads, the same as in memory.
  void ExpectStreamedAsInMemory(const std::string& name, int jobs = 2) {
    const Built in_memory = Build(false, 1);
    const Built streamed = Build(true, jobs);
    EXPECT_EQ(streamed.outcome, in_memory.outcome) << name;
    EXPECT_EQ(streamed.reasons, in_memory.reasons) << name;
    ASSERT_FALSE(in_memory.bytes.empty()) << name;
    EXPECT_TRUE(streamed.bytes == in_memory.bytes) << name;
  }

  // Streamed as a PNG on `jobs` threads, the pixels of the streamed BMP.
  void ExpectPngAsBmp(const std::string& name, int jobs = 2) {
    const Built bmp = Build(true, 1);
    const Built png = Build(true, jobs, PictureFormat::kPng);
    EXPECT_EQ(png.outcome, bmp.outcome) << name;
    EXPECT_EQ(png.reasons, bmp.reasons) << name;
    Bitmap expected;
    std::string error;
    ASSERT_TRUE(DecodeBmp(bmp.bytes, &expected, &error)) << name << ": " << error;
    testing::PngContents contents;
    ASSERT_TRUE(testing::ReadPng(png.bytes, &contents, &error)) << name << ": " << error;
    EXPECT_EQ(contents.picture.width, expected.width) << name;
    EXPECT_EQ(contents.picture.height, expected.height) << name;
    EXPECT_TRUE(contents.picture.pixels == expected.pixels) << name;
    // Every row but the top one is stored as its difference from the one above.
    ASSERT_EQ(contents.filters.size(), static_cast<std::size_t>(expected.height)) << name;
    for (std::size_t row = 0; row < contents.filters.size(); ++row) {
      EXPECT_EQ(contents.filters[row], row == 0 ? 0 : 2) << name << " row " << row;
    }
  }

  ScratchFolder folder;
};

TEST(StreamedBuild, EqualsTheBuildInMemoryForEveryVariant) {
  MaskTrack track;
  struct Shape {
    std::int32_t width, height;
  };
  // Several bands of rows with row padding, and RLE data longer than one
  // read of the file; then rows wider than a band, cut into pieces, the last
  // one short.
  const Shape shapes[] = {{999, 301}, {65536 + 301, 2}};
  for (const BmpVariantInfo& info : AllBmpVariants()) {
    for (const Shape& shape : shapes) {
      const bool core =
          info.variant == BmpVariant::kCoreHeader8 || info.variant == BmpVariant::kCoreHeader24;
      if (core && shape.width > 0xFFFF) continue;  // 16-bit sizes
      track.SetMask(
          EncodeBmpVariant(info.variant, Mask(shape.width, shape.height, info.max_colours)));
      const std::string name = std::string(info.name) + " " + std::to_string(shape.width);
      track.ExpectStreamedAsInMemory(name);
    }
  }
  // Bands held one at a time, and more of them than there are rows.
  track.SetMask(EncodeBmpVariant(BmpVariant::kRle8, Mask(37, 23, 256)));
  track.ExpectStreamedAsInMemory("rle8 one job", 1);
  track.ExpectStreamedAsInMemory("rle8 five jobs", 5);
  track.SetMask(EncodeBmpVariant(BmpVariant::kBgr24TopDown, Mask(1, 70000, 0)));
  track.ExpectStreamedAsInMemory("one column, top down", 3);
}

TEST(StreamedBuild, DamagedMasksReadAsBlackAsInMemory) {
  MaskTrack track;
  const Bitmap mask = Mask(301, 700, 0);
  const auto bgr24 = EncodeBmpVariant(BmpVariant::kBgr24BottomUp, mask);
  struct Case {
    const char* name;
    std::vector<std::uint8_t> file;
  };
  std::vector<Case> cases;
  cases.push_back({"24-bit data cut short", {bgr24.begin(), bgr24.end() - 1}});
  cases.push_back({"24-bit header alone", {bgr24.begin(), bgr24.begin() + 54}});
  auto offset_past_end = bgr24;
  offset_past_end[12] = 0x10;  // pixel data offset 1 MiB and more
  cases.push_back({"pixel data past the end", offset_past_end});
  auto unknown_header = bgr24;
  unknown_header[14] = 41;
  cases.push_back({"unknown header size", unknown_header});

  // A palette index beyond a short palette in the last rows in the file,
  // long after the first bands were written.
  auto indexed = EncodeBmpVariant(BmpVariant::kPalette8Short, Mask(301, 700, 3));
  indexed[indexed.size() - 2] = 200;
  cases.push_back({"palette index beyond the palette", indexed});

  // RLE: empty rows, then a run past the end of the last row.
  std::vector<std::uint8_t> rle;
  for (int row = 0; row < 699; ++row) rle.insert(rle.end(), {0, 0});
  rle.insert(rle.end(), {200, 1, 200, 1});
  cases.push_back({"RLE run past the last row's end", Rle8File(301, 700, rle)});
  cases.push_back({"RLE data too short for its picture", Rle8File(301, 700, {0, 0, 0, 1})});
  std::vector<std::uint8_t> eol_only(2 * 800, 0);
  cases.push_back({"RLE ends of line past the last row", Rle8File(301, 700, eol_only)});

  for (const Case& c : cases) {
    track.SetMask(c.file);
    // With one job every band is written before the next is decoded.
    for (int jobs : {1, 2}) track.ExpectStreamedAsInMemory(c.name, jobs);
  }
}

// A PNG takes whole rows from the top down: rows wider than a band are joined
// from their pieces, each filtered against the same columns of the row
// above; bottom-up and top-down masks, indexed ones and RLE ones (built in
// memory) all give the BMP's pixels, and so do masks redone as black.
TEST(StreamedBuild, PngHoldsTheStreamedBmpsPixels) {
  MaskTrack track;
  for (const BmpVariant variant : {BmpVariant::kBgr24BottomUp, BmpVariant::kBgr24TopDown,
                                   BmpVariant::kPalette8, BmpVariant::kRle8}) {
    const std::string name = "variant " + std::to_string(static_cast<int>(variant));
    // Indexed masks change colour every fourth row.
    const bool indexed = variant == BmpVariant::kPalette8 || variant == BmpVariant::kRle8;
    track.SetMask(EncodeBmpVariant(variant, Mask(70000, indexed ? 6 : 3, indexed ? 256 : 0)));
    track.ExpectPngAsBmp(name + " 70000 wide", 2);
    track.SetMask(EncodeBmpVariant(variant, Mask(999, 301, indexed ? 256 : 0)));
    track.ExpectPngAsBmp(name + " 999 x 301", 3);
  }
  // Three pieces a row, more bands than jobs, and one band at a time.
  track.SetMask(EncodeBmpVariant(BmpVariant::kBgr24BottomUp, Mask(2 * 65536 + 5, 7, 0)));
  track.ExpectPngAsBmp("three pieces a row", 5);
  track.ExpectPngAsBmp("three pieces a row, one job", 1);
  track.SetMask(EncodeBmpVariant(BmpVariant::kBgr24TopDown, Mask(1, 70000, 0)));
  track.ExpectPngAsBmp("one column, top down", 3);

  // The bad index is in the file's last rows, the picture's top: the first
  // band a PNG reads. Then at the picture's bottom, after bands were written.
  auto top_bad = EncodeBmpVariant(BmpVariant::kPalette8Short, Mask(301, 700, 3));
  top_bad[top_bad.size() - 2] = 200;
  track.SetMask(top_bad);
  for (int jobs : {1, 2}) track.ExpectPngAsBmp("bad index at the top", jobs);
  auto bottom_bad = EncodeBmpVariant(BmpVariant::kPalette8Short, Mask(301, 700, 3));
  bottom_bad[bottom_bad.size() - 300 * 700] = 200;
  track.SetMask(bottom_bad);
  for (int jobs : {1, 2}) track.ExpectPngAsBmp("bad index at the bottom", jobs);
  const auto bgr24 = EncodeBmpVariant(BmpVariant::kBgr24BottomUp, Mask(301, 700, 0));
  track.SetMask({bgr24.begin(), bgr24.end() - 1});
  track.ExpectPngAsBmp("24-bit data cut short");
}

TEST(StreamedBuild, MasksWithoutASizeWriteNothingEitherWay) {
  MaskTrack track;
  track.SetMask({'B', 'M'});
  const MaskTrack::Built in_memory = track.Build(false, 1);
  const MaskTrack::Built streamed = track.Build(true, 2);
  EXPECT_EQ(streamed.outcome, BuildOutcome::kNotWritten);
  EXPECT_EQ(in_memory.outcome, BuildOutcome::kNotWritten);
  EXPECT_TRUE(streamed.bytes.empty());
}

TEST(BandLayout, CoversEveryPixelOnceInBoundedBands) {
  constexpr std::int64_t kBand = 1024;
  const PictureSize sizes[] = {{1, 1}, {1, 5000}, {1024, 3}, {1025, 3}, {300, 7}, {5000, 2}};
  for (const PictureSize size : sizes) {
    const BandLayout layout(size, kBand);
    std::set<std::pair<std::int32_t, std::int32_t>> starts;
    std::int64_t pixels = 0;
    for (std::int64_t i = 0; i < layout.count(); ++i) {
      const Band band = layout.At(i);
      const std::string where = std::to_string(size.width) + "x" + std::to_string(size.height) +
                                " band " + std::to_string(i);
      EXPECT_LE(std::int64_t{band.rows} * band.columns, kBand) << where;
      EXPECT_TRUE(band.rows == 1 || band.columns == size.width) << where;
      EXPECT_EQ(band.first_column % kTileSize, 0) << where;
      EXPECT_EQ(band.ends_row, band.first_column + band.columns == size.width) << where;
      EXPECT_EQ(layout.IndexOf(band.first_column, band.first_row), i) << where;
      EXPECT_EQ(
          layout.IndexOf(band.first_column + band.columns - 1, band.first_row + band.rows - 1), i)
          << where;
      EXPECT_TRUE(starts.emplace(band.first_row, band.first_column).second) << where;
      pixels += std::int64_t{band.rows} * band.columns;
    }
    EXPECT_EQ(pixels, std::int64_t{size.width} * size.height);
  }
}

}  // namespace
}  // namespace skyplate
