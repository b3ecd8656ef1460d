// Hostile input: every input that once crashed, hung or over-allocated must
// fail cleanly (or decode cleanly), and no header may make us allocate what
// its file's bytes could not fill.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "fuzz/track_bundle.h"
#include "tests/recording_front_end.h"
#include "tests/test_files.h"
#include "topdown/bmp_decoder.h"
#include "topdown/bmp_header.h"
#include "topdown/build_topdown.h"
#include "topdown/mask_header.h"
#include "topdown/resample.h"
#include "topdown/track_file.h"
#include "topdown/track_text.h"

namespace skyplate {
namespace {

namespace fs = std::filesystem;
using testing::ReadWholeFile;
using testing::Rle8File;
using testing::ScratchFolder;

TEST(HostileInput, RleDataMustBeLongEnoughForItsPicture) {
  Bitmap picture;
  std::string error;
  EXPECT_FALSE(DecodeBmp(Rle8File(16384, 16384, {0, 1}), &picture, &error));
  EXPECT_EQ(error, "RLE data of 2 bytes is too short for a picture of 16384 x 16384 pixels");
  EXPECT_TRUE(picture.empty());

  // The thinnest honest picture: an end of line for each empty row.
  std::vector<std::uint8_t> empty_rows;
  for (int row = 0; row < 4; ++row) empty_rows.insert(empty_rows.end(), {0, 0});
  empty_rows.insert(empty_rows.end(), {1, 1, 0, 1});  // one white pixel, end of bitmap
  ASSERT_TRUE(DecodeBmp(Rle8File(2048, 5, empty_rows), &picture, &error)) << error;
  EXPECT_EQ(picture.At(0, 0), MakeColour(255, 255, 255));
  EXPECT_EQ(picture.At(0, 4), MakeColour(0, 0, 0));
}

// Feeds one saved input to what its fuzz target exercised.
void Replay(const std::string& target, const std::vector<std::uint8_t>& input) {
  std::string error;
  if (target == "bmp_decoder") {
    Bitmap picture;
    if (DecodeBmp(input, &picture, &error)) {
      EXPECT_FALSE(picture.empty());
      ResampleAreaAverage(picture, 256, 256);
    } else {
      EXPECT_TRUE(picture.empty());
      EXPECT_NE(error, "");
    }
  } else if (target == "mask_header") {
    ParseMaskSize(input);
    BmpHeader header;
    ReadBmpHeader(input, &header, &error, kMaxStreamedPixels);
  } else if (target == "track_file") {
    const std::string text = DecodeTrackText(std::string(input.begin(), input.end()));
    EXPECT_LE(FindIniEntry(text, kTerrainSection, "MaskMap").size(), kMaxEntryBytes);
  } else if (target == "build") {
    ScratchFolder folder;
    const fuzz::TrackBundle bundle = fuzz::SplitTrackBundle(input);
    const char* names[] = {"m.bmp", "a.bmp", "r.bmp", "g.bmp", "b.bmp"};
    for (std::size_t i = 0; i < bundle.images.size(); ++i) {
      testing::WriteWholeFile(folder / names[i],
                              std::string(bundle.images[i].begin(), bundle.images[i].end()));
    }
    testing::WriteWholeFile(folder / "T.track",
                            "[TerrainMaps]\nMaskMap=m.bmp\nOverlay_Base=a.bmp\nOverlay_R=r.bmp\n"
                            "Overlay_G=g.bmp\nOverlay_B=b.bmp\n");
    testing::RecordingFrontEnd front_end;
    BuildOptions options;
    options.stream = bundle.stream;
    const BuildOutcome outcome = BuildTopdown(folder / "T.track", 0, &front_end, options);
    EXPECT_TRUE(outcome == BuildOutcome::kBuilt || outcome == BuildOutcome::kNotWritten);
    for (const std::string& name : folder.Entries()) EXPECT_EQ(name.find(".tmp"), name.npos);
  } else {
    ADD_FAILURE() << "no fuzz target " << target;
  }
}

TEST(HostileInput, EverySavedCrasherFailsCleanly) {
  const fs::path crashers = SKYPLATE_CRASHERS_DIR;
  int replayed = 0;
  for (const auto& folder : fs::directory_iterator(crashers)) {
    if (!folder.is_directory()) continue;
    for (const auto& file : fs::directory_iterator(folder.path())) {
      SCOPED_TRACE(file.path().string());
      Replay(folder.path().filename().string(), ReadWholeFile(file.path().string()));
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace skyplate
