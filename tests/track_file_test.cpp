#include "topdown/track_file.h"

#include <gtest/gtest.h>

namespace skyplate {
namespace {

std::string Find(const std::string& text, std::string_view key) {
  return FindIniEntry(text, kTerrainSection, key);
}

TEST(TrackFile, MatchesSectionAndKeyWithoutCaseAndTrimsBlanks) {
  EXPECT_EQ(Find("[terrainmaps]\nmaskmap=a.bmp\n", "MaskMap"), "a.bmp");
  EXPECT_EQ(Find("[TerrainMaps]\n  MaskMap \t=  Hill_mask.bmp \t\r\n", "MaskMap"), "Hill_mask.bmp");
  EXPECT_EQ(Find("  [ TerrainMaps ]  \r\nOverlay_R=r.bmp", "Overlay_R"), "r.bmp");
}

TEST(TrackFile, RemovesOnePairOfMatchingQuotes) {
  EXPECT_EQ(Find("[TerrainMaps]\nMaskMap=\"my mask.bmp\"\n", "MaskMap"), "my mask.bmp");
  EXPECT_EQ(Find("[TerrainMaps]\nMaskMap='a.bmp'\n", "MaskMap"), "a.bmp");
  EXPECT_EQ(Find("[TerrainMaps]\nMaskMap=\"a.bmp'\n", "MaskMap"), "\"a.bmp'");
  EXPECT_EQ(Find("[TerrainMaps]\nMaskMap=\"\n", "MaskMap"), "\"");
}

TEST(TrackFile, MissingAndEmptyEntries) {
  EXPECT_EQ(Find("[Other]\nMaskMap=a.bmp\n[TerrainMaps]\nOverlay_R=r\n", "MaskMap"), kNotFound);
  EXPECT_EQ(Find("[TerrainMaps]\nMaskMap=\n", "MaskMap"), "");
  EXPECT_EQ(Find("[TerrainMaps]\nMaskMap=Not Found\n", "MaskMap"), kNotFound);
  EXPECT_EQ(Find("MaskMap=a.bmp\n", "MaskMap"), kNotFound);
  EXPECT_EQ(Find("", "MaskMap"), kNotFound);
  EXPECT_EQ(Find("[TerrainMaps]\nMaskMap a.bmp\n", "MaskMap"), kNotFound);
}

TEST(TrackFile, FirstEntryWinsAcrossRepeatedSections) {
  const std::string text =
      "[TerrainMaps]\nOverlay_R=r1\n[Cars]\nMaskMap=car\n[TerrainMaps]\nMaskMap=m2\nOverlay_R=r2\n";
  EXPECT_EQ(Find(text, "Overlay_R"), "r1");
  EXPECT_EQ(Find(text, "MaskMap"), "m2");
}

TEST(TrackFile, ValuesAreCutAndEndAtAZeroByte) {
  const std::string long_value(600, 'v');
  EXPECT_EQ(Find("[TerrainMaps]\nMaskMap=" + long_value, "MaskMap"), long_value.substr(0, 254));
  EXPECT_EQ(Find(std::string("[TerrainMaps]\nMaskMap=ab\0cd\n", 25), "MaskMap"), "ab");
}

TEST(TrackFile, HugeLinesAndManySectionsStayCheap) {
  std::string text = "[TerrainMaps]\nJunk=" + std::string(10 << 20, 'x') + "\n";
  for (int i = 0; i < 100000; ++i) text += "[S]\n";
  text += "[TerrainMaps]\nMaskMap=end.bmp";  // no newline at the end
  EXPECT_EQ(Find(text, "MaskMap"), "end.bmp");
}

TEST(TrackFile, UnreadableFileGivesNoText) {
  std::string text, error;
  EXPECT_FALSE(ReadTrackText("/nonexistent/dir/x.track", &text, &error));
  EXPECT_EQ(error.rfind("cannot open the file: ", 0), 0u) << error;
  EXPECT_FALSE(ReadTrackText(::testing::TempDir(), &text, &error));  // a folder
  EXPECT_EQ(error, "is a folder, not a regular file");
}

}  // namespace
}  // namespace skyplate
