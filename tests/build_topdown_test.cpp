#include "topdown/build_topdown.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/png_reader.h"
#include "tests/recording_front_end.h"
#include "tests/test_files.h"
#include "tools/bmp_variants.h"
#include "topdown/bitmap_loader.h"
#include "topdown/bitmap_writer.h"
#include "topdown/compositing.h"

namespace skyplate {
namespace {

using testing::RecordingFrontEnd;
using testing::ScratchFolder;
using testing::WriteWholeFile;
using Calls = std::vector<std::string>;

constexpr PathStyle kNative = kNativePathStyle;

const std::string kMissingEntry = "message Error getting MaskMap filename | (default caption)";
const std::string kNotATrack = "message File is not a .track file. | Not a track file";

// A track in a scratch folder: a mask with a gradient in every channel and
// four flat tiles of sizes other than 256, so the build resamples them.
class TrackFolder {
 public:
  explicit TrackFolder(std::int32_t width = 40, std::int32_t height = 30) {
    std::filesystem::create_directory(folder.path() / "maps");
    mask = Bitmap::Blank(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
      for (std::int32_t x = 0; x < width; ++x) mask.Set(x, y, MakeColour(x * 6, y * 8, x * y));
    }
    Save(mask, "maps/Hill_mask.bmp");
    const Colour tile_colours[] = {MakeColour(200, 100, 50), MakeColour(0, 0, 0),
                                   MakeColour(255, 255, 255), MakeColour(10, 90, 170)};
    const char* names[] = {"base.bmp", "r.bmp", "g.bmp", "b.bmp"};
    for (int i = 0; i < 4; ++i) Save(Bitmap::Blank(100 + i, 80, tile_colours[i]), names[i]);
    WriteTrack(
        "[TerrainMaps]\nMaskMap=maps\\Hill_mask.bmp\nOverlay_Base=base.bmp\nOverlay_R=r.bmp\n"
        "Overlay_G=g.bmp\nOverlay_B=b.bmp\n");
  }

  void Save(const Bitmap& bitmap, const std::string& name) {
    std::string error;
    ASSERT_TRUE(SaveBitmapFile(bitmap, folder / name, &error)) << error;
  }
  void WriteTrack(const std::string& text) { WriteWholeFile(track(), text); }
  std::string track() const { return folder / "Hill.track"; }
  std::string output() const { return folder / "Hill_mask_Topdown.bmp"; }

  // The picture the build must write, pixel by pixel from the mask and the
  // tiles as the loading rule reads them.
  Bitmap Expected() const {
    OverlayTiles tiles;
    const char* names[] = {"base.bmp", "r.bmp", "g.bmp", "b.bmp"};
    std::string error;
    for (int i = 0; i < 4; ++i) {
      EXPECT_TRUE(LoadBitmapFile(folder / names[i], kTileSize, kTileSize, &tiles[i], &error));
    }
    Bitmap expected = Bitmap::Blank(mask.width, mask.height);
    for (std::int32_t y = 0; y < mask.height; ++y) {
      for (std::int32_t x = 0; x < mask.width; ++x) {
        // The tiles repeat every 256 pixels.
        const std::int32_t u = x % kTileSize;
        const std::int32_t v = y % kTileSize;
        expected.Set(x, y,
                     ComposePixel(mask.At(x, y), tiles[0].At(u, v), tiles[1].At(u, v),
                                  tiles[2].At(u, v), tiles[3].At(u, v)));
      }
    }
    return expected;
  }

  Bitmap Written() const {
    Bitmap written;
    std::string error;
    EXPECT_TRUE(LoadBitmapFile(output(), 0, 0, &written, &error)) << error;
    return written;
  }

  ScratchFolder folder;
  Bitmap mask;
};

TEST(BuildTopdown, BuildsThePictureBesideTheTrack) {
  TrackFolder track;
  RecordingFrontEnd front_end;
  EXPECT_EQ(BuildTopdown(track.track(), 0, &front_end), BuildOutcome::kBuilt);
  EXPECT_EQ(front_end.calls,
            (Calls{"status " + track.output(), "display 13x10", "show", "status All Done"}));
  EXPECT_EQ(front_end.refreshes.front(), std::make_pair(0, 0));
  EXPECT_EQ(front_end.refreshes.back(), std::make_pair(33, 39));
  const Bitmap written = track.Written();
  EXPECT_EQ(written.pixels, track.Expected().pixels);
}

TEST(BuildTopdown, AcceptsQuotesAndAnyCaseOfTheExtension) {
  TrackFolder track;
  std::filesystem::rename(track.track(), track.folder / "Hill.TRACK");
  RecordingFrontEnd front_end;
  EXPECT_EQ(BuildTopdown("\"" + (track.folder / "Hill.TRACK") + "\"", 0, &front_end),
            BuildOutcome::kBuilt);
  EXPECT_EQ(front_end.calls.back(), "status All Done");
}

TEST(BuildTopdown, RefusesOtherExtensions) {
  for (const char* name : {"Hill.track.bak", "Hill.tracks", "Hill.track ", "Hill"}) {
    RecordingFrontEnd front_end;
    EXPECT_EQ(BuildTopdown(name, 0, &front_end), BuildOutcome::kNotATrack);
    EXPECT_EQ(front_end.calls, (Calls{"show", "status File is not a .track file.", kNotATrack}));
  }
}

TEST(BuildTopdown, CloseOnErrorStillReadsTheEntries) {
  TrackFolder track;
  std::filesystem::copy_file(track.track(), track.folder / "Hill.txt");
  RecordingFrontEnd front_end;
  EXPECT_EQ(BuildTopdown(track.folder / "Hill.txt", 1, &front_end), BuildOutcome::kBuilt);
  ASSERT_GE(front_end.calls.size(), 5u);
  EXPECT_EQ(Calls(front_end.calls.begin(), front_end.calls.begin() + 5),
            (Calls{"show", "status File is not a .track file.", kNotATrack, "close",
                   "status " + track.output()}));
}

TEST(BuildTopdown, StopsAtTheFirstMissingEntry) {
  TrackFolder track;
  track.WriteTrack("[TerrainMaps]\nMaskMap=m.bmp\nOverlay_Base=a\nOverlay_R=b\nOverlay_B=c\n");
  RecordingFrontEnd front_end;
  EXPECT_EQ(BuildTopdown(track.track(), 0, &front_end), BuildOutcome::kMissingEntry);
  EXPECT_EQ(front_end.calls, Calls{kMissingEntry});
  EXPECT_NE(front_end.details[0].find("Overlay_G"), std::string::npos);

  RecordingFrontEnd no_file;
  EXPECT_EQ(BuildTopdown(track.folder / "none.track", 0, &no_file), BuildOutcome::kMissingEntry);
  EXPECT_EQ(no_file.calls, Calls{kMissingEntry});
  EXPECT_NE(no_file.details[0].find("cannot open"), std::string::npos);

  // A folder or a device has no entries either, and reading one must end.
  RecordingFrontEnd folder;
  std::filesystem::create_directory(track.folder / "maps.track");
  EXPECT_EQ(BuildTopdown(track.folder / "maps.track", 0, &folder), BuildOutcome::kMissingEntry);
  EXPECT_EQ(folder.calls, Calls{kMissingEntry});
  EXPECT_EQ(folder.details[0], track.folder / "maps.track is a folder, not a regular file");
}

TEST(BuildTopdown, ImagesThatFailToLoadReadAsBlack) {
  TrackFolder track;
  WriteWholeFile(track.folder / "r.bmp", "not a picture");
  track.WriteTrack(
      "[TerrainMaps]\nMaskMap=maps\\Hill_mask.bmp\nOverlay_Base=base.bmp\nOverlay_R=r.bmp\n"
      "Overlay_G=\nOverlay_B=b.bmp\n");
  RecordingFrontEnd front_end;
  EXPECT_EQ(BuildTopdown(track.track(), 0, &front_end), BuildOutcome::kBuilt);
  EXPECT_EQ(front_end.calls,
            (Calls{"status " + track.output(), "not loaded Overlay_R", "not loaded Overlay_G",
                   "display 13x10", "show", "status All Done"}));
  const Bitmap written = track.Written();
  // Mask (6, 8, 1) at (1, 1): the base keeps 98 % against the black red
  // tile, then 97 % of that against the black green one; blue has no effect.
  EXPECT_EQ(written.At(1, 1), MakeColour(190, 95, 48));
}

TEST(BuildTopdown, ATopDownMaskGivesTheSamePicture) {
  TrackFolder track;
  // Rewrite the mask with rows stored top first: a negative height.
  auto bytes = testing::ReadWholeFile(track.folder / "maps/Hill_mask.bmp");
  const std::size_t stride = (3 * 40 + 3) / 4 * 4;
  std::vector<std::uint8_t> flipped(bytes.begin(), bytes.begin() + 54);
  for (int row = 29; row >= 0; --row) {
    flipped.insert(flipped.end(), bytes.begin() + 54 + row * stride,
                   bytes.begin() + 54 + (row + 1) * stride);
  }
  flipped[22] = static_cast<std::uint8_t>(-30);
  flipped[23] = flipped[24] = flipped[25] = 0xFF;
  WriteWholeFile(track.folder / "maps/Hill_mask.bmp", std::string(flipped.begin(), flipped.end()));
  RecordingFrontEnd front_end;
  EXPECT_EQ(BuildTopdown(track.track(), 0, &front_end), BuildOutcome::kBuilt);
  EXPECT_EQ(track.Written().pixels, track.Expected().pixels);
}

TEST(BuildTopdown, NoPictureSizeWritesNoFileButFinishes) {
  TrackFolder track;
  std::filesystem::remove(track.folder / "maps/Hill_mask.bmp");
  WriteWholeFile(track.output(), "older picture");
  RecordingFrontEnd front_end;
  EXPECT_EQ(BuildTopdown(track.track(), 0, &front_end), BuildOutcome::kNotWritten);
  EXPECT_EQ(front_end.calls, (Calls{"status " + track.output(), "display 0x0", "not written",
                                    "show", "status All Done"}));
  EXPECT_EQ(testing::ReadWholeFile(track.output()).size(), 13u);
}

TEST(BuildTopdown, StrictWritesNothingWhenAnImageCannotBeLoaded) {
  for (const bool stream : {false, true}) {
    TrackFolder track;
    WriteWholeFile(track.folder / "r.bmp", "not a picture");
    std::filesystem::remove(track.folder / "g.bmp");
    WriteWholeFile(track.output(), "older picture");
    BuildOptions options;
    options.strict = true;
    options.stream = stream;
    RecordingFrontEnd front_end;
    EXPECT_EQ(BuildTopdown(track.track(), 0, &front_end, options), BuildOutcome::kImageNotLoaded);
    // Every image is tried, so that one run names all that need fixing.
    EXPECT_EQ(front_end.calls,
              (Calls{"status " + track.output(), "not loaded Overlay_R", "not loaded Overlay_G"}));
    EXPECT_EQ(testing::ReadWholeFile(track.output()).size(), 13u);
  }
  TrackFolder damaged_mask;
  WriteWholeFile(
      damaged_mask.folder / "maps/Hill_mask.bmp",
      std::string(54, '\0').replace(0, 2, "BM").replace(18, 1, "\x28").replace(22, 1, "\x1e"));
  BuildOptions options;
  options.strict = true;
  options.stream = true;
  RecordingFrontEnd front_end;
  EXPECT_EQ(BuildTopdown(damaged_mask.track(), 0, &front_end, options),
            BuildOutcome::kImageNotLoaded);
  EXPECT_EQ(front_end.calls.back(), "not loaded MaskMap");
}

TEST(BuildTopdown, OutputPathNamesAFileOrAFolder) {
  TrackFolder track;
  std::filesystem::create_directory(track.folder.path() / "out");
  const std::string folder = track.folder / "out";
  const std::string in_folder = folder + (kNative == PathStyle::kWindows ? "\\" : "/");
  for (const auto& [wanted, written] :
       {std::pair{track.folder / "Map.bmp", track.folder / "Map.bmp"},
        std::pair{in_folder, in_folder + "Hill_mask_Topdown.bmp"}}) {
    BuildOptions options;
    options.output_path = wanted;
    RecordingFrontEnd front_end;
    EXPECT_EQ(BuildTopdown(track.track(), 0, &front_end, options), BuildOutcome::kBuilt);
    EXPECT_EQ(front_end.calls.front(), "status " + written);
    EXPECT_TRUE(std::filesystem::exists(written)) << written;
    const std::optional<TrackPlan> plan = PlanTrack(track.track(), options);
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(plan->output_path, written);
    EXPECT_EQ(plan->size.width, 40);
    EXPECT_EQ(plan->size.height, 30);
  }
  EXPECT_FALSE(std::filesystem::exists(track.output()));
  EXPECT_EQ(PlanTrack(track.track(), {})->output_path, track.output());
  EXPECT_FALSE(PlanTrack(track.folder / "Hill.txt", {}).has_value());
  track.WriteTrack("[TerrainMaps]\nOverlay_Base=base.bmp\n");
  EXPECT_FALSE(PlanTrack(track.track(), {}).has_value());
}

// A mask that gives no picture size is named, with what is wrong with it,
// where the user hears that no picture was written; none is read as a
// picture of the size its first bytes happen to spell.
TEST(BuildTopdown, AMaskThatGivesNoSizeIsNamedWithItsReason) {
  TrackFolder track;
  const std::string mask = track.folder / "maps/Hill_mask.bmp";
  auto reason = [&] {
    RecordingFrontEnd front_end;
    EXPECT_EQ(BuildTopdown(track.track(), 0, &front_end, {.stream = true}),
              BuildOutcome::kNotWritten);
    EXPECT_FALSE(std::filesystem::exists(track.output()));
    return front_end.details.empty() ? "" : front_end.details.back();
  };
  auto reason_for = [&](const std::string& content) {
    WriteWholeFile(mask, content);
    return reason();
  };
  const std::string prefix = "the mask map " + track.folder / "maps\\Hill_mask.bmp";
  // Big-endian 32769 x 34078721 where a BMP keeps its size.
  const char png[] = "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x80\x01\x02\x08\0\x01\x08\x06";
  EXPECT_EQ(reason_for(std::string(png, sizeof png - 1)),
            prefix + " is a PNG file, not a BMP: save it as a 24-bit BMP");
  EXPECT_EQ(reason_for(""), prefix + " is empty");
  EXPECT_EQ(reason_for("BM0123456789"), prefix + " is too short to be a BMP (12 bytes)");
  std::filesystem::remove(mask);
  EXPECT_EQ(reason().rfind(prefix + ": cannot open the file: ", 0), 0u);
  std::filesystem::create_directory(mask);
  EXPECT_EQ(reason(), prefix + " is a folder, not a regular file");
}

// Streamed masks come in bands of 65,536 pixels, each composited and
// compressed on its own thread: masks of 200 x 1500 make five bands; masks
// stored bottom-up are read from their last band to give the picture from its
// top. Run-length encoded masks are built in memory for a PNG.
TEST(BuildTopdown, PngPicturesHoldTheBuildsPixelsWhateverTheMasksLayout) {
  for (const BmpVariant variant : {BmpVariant::kBgr24BottomUp, BmpVariant::kBgr24TopDown,
                                   BmpVariant::kPalette8, BmpVariant::kRle8}) {
    for (const bool stream : {true, false}) {
      SCOPED_TRACE(::testing::Message()
                   << "variant " << static_cast<int>(variant) << ", stream " << stream);
      TrackFolder track;
      // 256 colours, so that palette variants hold them all.
      track.mask = Bitmap::Blank(200, 1500);
      for (std::int32_t y = 0; y < 1500; ++y) {
        for (std::int32_t x = 0; x < 200; ++x) {
          track.mask.Set(x, y, MakeColour(x % 16 * 17, y % 8 * 36, (x / 16 + y / 8) % 2 * 255));
        }
      }
      const auto file = EncodeBmpVariant(variant, track.mask);
      WriteWholeFile(track.folder / "maps/Hill_mask.bmp", std::string(file.begin(), file.end()));
      BuildOptions options;
      options.stream = stream;
      options.jobs = 3;
      options.format = PictureFormat::kPng;
      RecordingFrontEnd front_end;
      EXPECT_EQ(BuildTopdown(track.track(), 0, &front_end, options), BuildOutcome::kBuilt);
      const std::string output = track.folder / "Hill_mask_Topdown.png";
      EXPECT_EQ(front_end.calls.front(), "status " + output);
      // Only a build in memory shows the display.
      const bool in_memory = !stream || variant == BmpVariant::kRle8;
      EXPECT_EQ(front_end.calls[1].starts_with("display "), in_memory);
      testing::PngContents contents;
      std::string error;
      ASSERT_TRUE(testing::ReadPng(testing::ReadWholeFile(output), &contents, &error)) << error;
      EXPECT_EQ(contents.picture.pixels, track.Expected().pixels);
    }
  }
}

TEST(BuildTopdown, AStreamedPngThatCannotBeWrittenLeavesNothing) {
  TrackFolder track;
  std::filesystem::create_directory(track.folder / "Hill_mask_Topdown.png");
  BuildOptions options;
  options.stream = true;
  options.format = PictureFormat::kPng;
  RecordingFrontEnd front_end;
  EXPECT_EQ(BuildTopdown(track.track(), 0, &front_end, options), BuildOutcome::kNotWritten);
  for (const std::string& name : track.folder.Entries()) EXPECT_EQ(name.find(".tmp"), name.npos);
}

#ifndef _WIN32
TEST(BuildTopdown, WindowsNamesWorkElsewhereWhateverTheirCase) {
  TrackFolder track;
  track.WriteTrack(
      "[TerrainMaps]\nMaskMap=MAPS\\hill_MASK.bmp\nOverlay_Base=Base.BMP\nOverlay_R=r.bmp\n"
      "Overlay_G=g.bmp\nOverlay_B=b.bmp\n");
  RecordingFrontEnd front_end;
  EXPECT_EQ(BuildTopdown(track.track(), 0, &front_end), BuildOutcome::kBuilt);
  EXPECT_EQ(front_end.calls.front(), "status " + (track.folder / "hill_MASK_Topdown.bmp"));
  EXPECT_EQ(front_end.calls.size(), 4u);  // nothing failed to load
}
#endif

}  // namespace
}  // namespace skyplate
