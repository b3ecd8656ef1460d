#include "topdown/path_parts.h"

#include <gtest/gtest.h>

#include "topdown/build_topdown.h"

namespace skyplate {
namespace {

void ExpectParts(std::string_view path, PathStyle style, std::string_view folder,
                 std::string_view name, std::string_view extension) {
  const PathParts parts = SplitPath(path, style);
  EXPECT_EQ(parts.folder_prefix, folder) << path;
  EXPECT_EQ(parts.name, name) << path;
  EXPECT_EQ(parts.extension, extension) << path;
  EXPECT_EQ(parts.file_name, std::string(name) + std::string(extension)) << path;
}

TEST(SplitPath, WindowsSeparatesAtBackslashAndColonOnly) {
  const auto w = PathStyle::kWindows;
  ExpectParts("C:\\T\\Hill.track", w, "C:\\T\\", "Hill", ".track");
  ExpectParts("C:/T/Hill.track", w, "C:", "/T/Hill", ".track");
  ExpectParts("Hill.track", w, "", "Hill", ".track");
  ExpectParts("maps\\Hill_mask.bmp", w, "maps\\", "Hill_mask", ".bmp");
  ExpectParts("maps/Hill_mask.bmp", w, "", "maps/Hill_mask", ".bmp");
  ExpectParts("mask", w, "", "mask", "");
  ExpectParts("mask.old.bmp", w, "", "mask.old", ".bmp");
  ExpectParts("dir.d\\mask", w, "dir.d\\", "mask", "");
  ExpectParts("maps\\", w, "maps\\", "", "");
}

TEST(SplitPath, PosixSeparatesAtBothSlashesButNotColon) {
  const auto p = PathStyle::kPosix;
  ExpectParts("/home/u/T/Hill.track", p, "/home/u/T/", "Hill", ".track");
  ExpectParts("maps\\Hill_mask.bmp", p, "maps\\", "Hill_mask", ".bmp");
  ExpectParts("maps/Hill_mask.bmp", p, "maps/", "Hill_mask", ".bmp");
  ExpectParts("C:Hill.track", p, "", "C:Hill", ".track");
}

TEST(OutputName, NamedAfterTheMaskMapInTheTrackFolder) {
  EXPECT_EQ(OutputNameFor("maps\\Hill_mask.bmp", PathStyle::kWindows), "Hill_mask_Topdown.bmp");
  EXPECT_EQ(OutputNameFor("maps/Hill_mask.bmp", PathStyle::kWindows), "maps/Hill_mask_Topdown.bmp");
  EXPECT_EQ(OutputNameFor("maps/Hill_mask.bmp", PathStyle::kPosix), "Hill_mask_Topdown.bmp");
  EXPECT_EQ(OutputNameFor("mask", PathStyle::kWindows), "mask_Topdown.bmp");
  EXPECT_EQ(OutputNameFor("mask.old.bmp", PathStyle::kPosix), "mask.old_Topdown.bmp");
  EXPECT_EQ(OutputNameFor("maps\\", PathStyle::kWindows), "_Topdown.bmp");
  EXPECT_EQ(OutputNameFor("maps\\Hill_mask.bmp", PathStyle::kWindows, PictureFormat::kPng),
            "Hill_mask_Topdown.png");
}

TEST(TrackPathFromText, DropsOneQuoteAtEachEnd) {
  for (auto style : {PathStyle::kWindows, PathStyle::kPosix}) {
    EXPECT_EQ(TrackPathFromText("\"a b.track\"", style), "a b.track");
    EXPECT_EQ(TrackPathFromText("\"\"a.track\"\"", style), "\"a.track\"");
    EXPECT_EQ(TrackPathFromText("\"a.track\" ", style), "a.track\" ");
    EXPECT_EQ(TrackPathFromText("a.track\"", style), "a.track");
    EXPECT_EQ(TrackPathFromText("\"", style), "");
  }
}

TEST(TrackPathFromText, OnlyWindowsCutsTo255Bytes) {
  const std::string deep = std::string(300, 'd') + ".track";
  EXPECT_EQ(TrackPathFromText(deep, PathStyle::kWindows), deep.substr(0, 255));
  EXPECT_EQ(TrackPathFromText("\"" + deep + "\"", PathStyle::kPosix), deep);
}

}  // namespace
}  // namespace skyplate
