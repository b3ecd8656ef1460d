#include "topdown/track_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/test_files.h"
#include "topdown/input_file.h"
#include "topdown/limits.h"
#include "topdown/track_text.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

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

// The bytes of `text` in UTF-16, after the byte-order mark of its order.
std::string Utf16File(std::u16string_view text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(TrackText, ByteOrderMarksAreReadAsEditorsWriteThem) {
  const std::string track = "[TerrainMaps]\r\nMaskMap=a.bmp\r\n";
  EXPECT_EQ(Find(DecodeTrackText("\xEF\xBB\xBF" + track), "MaskMap"), "a.bmp");
  const std::u16string wide = u"[TerrainMaps]\r\nMaskMap=a.bmp\r\n";
  EXPECT_EQ(Find(DecodeTrackText(Utf16File(wide, false)), "MaskMap"), "a.bmp");
  EXPECT_EQ(Find(DecodeTrackText(Utf16File(wide, true)), "MaskMap"), "a.bmp");
  // Without a mark the bytes stand as they are, single-byte ANSI included.
  EXPECT_EQ(DecodeTrackText("MaskMap=H\xFCgel.bmp"), "MaskMap=H\xFCgel.bmp");
  EXPECT_EQ(DecodeTrackText(""), "");
}

TEST(TrackText, Utf16BecomesUtf8WhateverItHolds) {
  EXPECT_EQ(Utf8FromUtf16(u"H\u00FCgel \u0416 \u20AC"), "H\xC3\xBCgel \xD0\x96 \xE2\x82\xAC");
  EXPECT_EQ(Utf8FromUtf16(u"\U0001F3D4"), "\xF0\x9F\x8F\x94");  // a surrogate pair
  const char16_t lone[] = {u'a', 0xD83C, u'b', 0xDF14, 0};
  EXPECT_EQ(Utf8FromUtf16(lone),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
  EXPECT_EQ(DecodeTrackText(Utf16File(u"ab", false) + "c"), "ab");  // half a unit at the end
}

// A name with letters beyond ASCII in a UTF-16 track file opens the file of
// that name, as the game's own reader finds it.
TEST(TrackText, NonAsciiNamesOpenTheirFiles) {
  testing::ScratchFolder folder;
  const std::u16string name = u"H\u00FCgel_\u00E9t\u00E9.bmp";
  std::ofstream(folder.path() / std::filesystem::path(name)) << "BM";
  for (bool big_endian : {false, true}) {
    testing::WriteWholeFile(folder / "Hill.track",
                            Utf16File(u"[TerrainMaps]\r\nMaskMap=" + name + u"\r\n", big_endian));
    std::string text, error;
    ASSERT_TRUE(ReadTrackText(folder / "Hill.track", &text, &error)) << error;
    // Joined as bytes, as the build joins them: a std::filesystem::path
    // would take the name for UTF-8 on Windows too.
    InputFile file;
    EXPECT_TRUE(file.Open(folder.path().string() + "/" + Find(text, "MaskMap"), &error)) << error;
    EXPECT_EQ(file.size(), 2u);
  }
}

TEST(TrackText, OnlyRegularFilesOfSensibleSizeAreRead) {
  testing::ScratchFolder folder;
  std::string text, error;
  const std::string large = folder / "large.track";
  testing::WriteWholeFile(large, "");
  std::filesystem::resize_file(large, kMaxTrackFileBytes + 1);  // sparse: costs no disk
  EXPECT_FALSE(ReadTrackText(large, &text, &error));
  EXPECT_EQ(error, "is too large to be a track file (more than 64 MiB)");
  std::filesystem::resize_file(large, kMaxTrackFileBytes);
  EXPECT_TRUE(ReadTrackText(large, &text, &error)) << error;
#ifndef _WIN32
  // Neither may block: a FIFO without a writer, a device without an end.
  const std::string fifo = folder / "fifo.track";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadTrackText(fifo, &text, &error));
  EXPECT_EQ(error, "is not a regular file");
  std::filesystem::create_symlink("/dev/zero", folder.path() / "zero.track");
  EXPECT_FALSE(ReadTrackText(folder / "zero.track", &text, &error));
  EXPECT_EQ(error, "is not a regular file");
#endif
}

}  // namespace
}  // namespace skyplate
