// What --check finds in a track file's text and in an image's first bytes,
// from files a stranger could have written.
#include "cli/track_scan.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/file_format.h"
#include "topdown/limits.h"
#include "topdown/track_file.h"

namespace skyplate {
namespace {

TrackFileScan Scan(const std::string& text) {
  std::istringstream in(text);
  return ScanTrackText(in);
}

TEST(TrackScan, FindsWhatTheReaderWouldQuietlyTakeOrLose) {
  const TrackFileScan scan = Scan(
      "\xEF\xBB\xBF[Track]\n[Track]\n[terrainmaps]\nMaskMap=a.bmp\r\nMASKMAP=b.bmp\n[Track]\n"
      "[TerrainMaps]\nOverlay_R=c.bmp\n");
  EXPECT_EQ(scan.byte_order_mark, "UTF-8");
  // Behind the mark the first line is no section header to the reader.
  EXPECT_TRUE(scan.unread_encoding.empty());
  EXPECT_EQ(scan.duplicate_sections, (std::vector<std::string>{"Track", "TerrainMaps"}));
  EXPECT_EQ(scan.duplicate_keys, (std::vector<std::string>{"MASKMAP"}));
  EXPECT_TRUE(scan.cut_lines.empty());
}

TEST(TrackScan, ValuesAreCutAsTheReaderCutsThem) {
  const std::string longest(kMaxEntryBytes, 'v');
  const TrackFileScan scan =
      Scan("[TerrainMaps]\nMaskMap=\"" + longest + "\"\nOverlay_R = " + longest + "w\n" +
           "Overlay_G=" + longest + "\nOverlay_R=x\n");
  // Quotes the reader drops do not count; the first value of a key decides.
  EXPECT_FALSE(ValueWasCut(scan, "MaskMap"));
  EXPECT_TRUE(ValueWasCut(scan, "overlay_r"));
  EXPECT_FALSE(ValueWasCut(scan, "Overlay_G"));
  EXPECT_FALSE(ValueWasCut(scan, "Overlay_B"));
}

TEST(TrackScan, HostileTextStaysBounded) {
  std::string text = "[TerrainMaps]\n" + std::string(3 * kMaxLineBytes, 'x') + "\n";
  for (int i = 0; i < 5000; ++i) text += "[s" + std::to_string(i % 2500) + "]\n";
  for (int i = 0; i < 30; ++i) text += std::string(kMaxLineBytes + 1, '=') + "\n";
  const TrackFileScan scan = Scan(text);
  EXPECT_EQ(scan.cut_lines.front(), 2u);
  EXPECT_LE(scan.cut_lines.size(), 20u);
  EXPECT_LE(scan.duplicate_sections.size(), 1000u);
  EXPECT_FALSE(scan.duplicate_sections.empty());
  // A lone bracket or an unclosed section name is a section like any other.
  EXPECT_NO_THROW(Scan("[\n[TerrainMaps\n=\n"));
}

TEST(TrackScan, Utf16IsNamedWithOrWithoutMark) {
  const std::string marked("\xFF\xFE[\0T\0]\0\n\0", 10);
  EXPECT_EQ(Scan(marked).byte_order_mark, "UTF-16 LE");
  EXPECT_FALSE(Scan(marked).unread_encoding.empty());
  EXPECT_FALSE(Scan(std::string("\0[\0T\0]\0\n", 9)).unread_encoding.empty());
  EXPECT_EQ(Scan("\xFE\xFF").byte_order_mark, "UTF-16 BE");
}

TEST(FileFormat, NamesWhatAPaintingProgramSavesInstead) {
  auto of = [](const std::string& bytes) {
    return FileFormatOf({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  };
  EXPECT_EQ(of("BM\x36\0\0\0"), "");
  EXPECT_EQ(of("\x89PNG\r\n\x1a\n\0\0\0\rIHDR"), "a PNG file");
  EXPECT_EQ(of("\xFF\xD8\xFF\xE0"), "a JPEG file");
  EXPECT_EQ(of(std::string("MM\0*\0\0", 6)), "a TIFF file");
  EXPECT_EQ(of(std::string("MM\0+", 4)), "not a picture format the program knows");
  EXPECT_EQ(of(""), "an empty file");
  EXPECT_EQ(of("B"), "not a picture format the program knows");
}

}  // namespace
}  // namespace skyplate
