// The command-line tool's batch logic: patterns, folder listings, the output
// plan and the closing line.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/batch_summary.h"
#include "cli/folders.h"
#include "cli/output_plan.h"
#include "cli/track_list.h"
#include "cli/wildcards.h"
#include "tests/test_files.h"

namespace skyplate {
namespace {

using testing::ScratchFolder;
using testing::WriteWholeFile;
using Paths = std::vector<std::string>;

constexpr char kTrack[] =
    "[TerrainMaps]\nMaskMap=Hill_mask.bmp\nOverlay_Base=a\nOverlay_R=b\nOverlay_G=c\n"
    "Overlay_B=d\n";

Paths TracksOf(const TrackList& list) {
  Paths paths;
  for (const BatchItem& item : list.items) paths.push_back(item.problem.empty() ? item.path : "!");
  return paths;
}

TEST(Wildcards, MatchLikeAShellWithoutRegardToCase) {
  EXPECT_TRUE(MatchesPattern("*.track", "Hill.track"));
  EXPECT_TRUE(MatchesPattern("*.track", "HILL.TRACK"));
  EXPECT_TRUE(MatchesPattern("*.TRACK", ".track"));
  EXPECT_TRUE(MatchesPattern("H?ll*", "Hill"));
  EXPECT_TRUE(MatchesPattern("*a*a*", "banana"));
  EXPECT_TRUE(MatchesPattern("**", ""));
  EXPECT_TRUE(MatchesPattern("*ab", "aab"));  // the star gives back what it took
  EXPECT_FALSE(MatchesPattern("*.track", "Hill.track.bak"));
  EXPECT_FALSE(MatchesPattern("*.track", "Hill.trac"));
  EXPECT_FALSE(MatchesPattern("?", ""));
  EXPECT_FALSE(MatchesPattern("H?ll", "Hll"));
  EXPECT_FALSE(MatchesPattern("*a*a*", "bnn a"));
  EXPECT_TRUE(HasWildcards("Tracks\\*.track"));
  EXPECT_TRUE(HasWildcards("a?"));
  EXPECT_FALSE(HasWildcards("My Tracks\\Hill.track"));
}

TEST(Wildcards, ListingOrderIgnoresCaseThenTellsCasesApart) {
  Paths names = {"b.track", "A.track", "a.track", "C.track", "_x.track"};
  std::sort(names.begin(), names.end(), ComesBefore);
  // Compared as capitals, '_' comes after every letter.
  EXPECT_EQ(names, (Paths{"A.track", "a.track", "b.track", "C.track", "_x.track"}));
}

TEST(Wildcards, ExpandInEveryFolderOfThePathInOrder) {
  ScratchFolder folder;
  std::filesystem::create_directories(folder.path() / "One");
  std::filesystem::create_directories(folder.path() / "two");
  std::filesystem::create_directories(folder.path() / "other");
  for (const char* name : {"One/b.TRACK", "One/a.track", "One/.hidden.track", "two/c.track",
                           "other/d.track", "One/notes.txt"}) {
    WriteWholeFile(folder / name, "");
  }
  const std::string root = JoinPath(folder.path().string(), "");
  EXPECT_EQ(ExpandPattern(root + "One/*.track"),
            (Paths{root + "One/a.track", root + "One/b.TRACK"}));
  EXPECT_EQ(ExpandPattern(root + "*o/*"), (Paths{root + "two/c.track"}));
  EXPECT_EQ(ExpandPattern(root + "?ne/.*"), (Paths{root + "One/.hidden.track"}));
  EXPECT_EQ(ExpandPattern(root + "O*"), (Paths{root + "One", root + "other"}));
  EXPECT_EQ(ExpandPattern(root + "*/notes.txt/*"), Paths{});  // a file is no folder
  EXPECT_EQ(ExpandPattern(root + "None/*.track"), Paths{});
}

TEST(TrackList, FoldersGiveTheirTracksByName) {
  ScratchFolder folder;
  const std::string tracks = folder / "Tracks";
  std::filesystem::create_directories(folder.path() / "Tracks/sub/deeper");
  std::filesystem::create_directories(folder.path() / "Tracks/empty");
  for (const char* name : {"Tracks/b.TRACK", "Tracks/A.track", "Tracks/mask.bmp",
                           "Tracks/sub/c.track", "Tracks/sub/deeper/d.track", "e.track"}) {
    WriteWholeFile(folder / name, "");
  }
  const std::string sub = JoinPath(tracks, "sub");

  TrackList flat = ListTracks({tracks}, false);
  EXPECT_EQ(TracksOf(flat), (Paths{JoinPath(tracks, "A.track"), JoinPath(tracks, "b.TRACK")}));
  EXPECT_TRUE(flat.open_ended);

  TrackList deep = ListTracks({tracks, folder / "e.track"}, true);
  EXPECT_EQ(
      TracksOf(deep),
      (Paths{JoinPath(tracks, "A.track"), JoinPath(tracks, "b.TRACK"), JoinPath(sub, "c.track"),
             JoinPath(JoinPath(sub, "deeper"), "d.track"), folder / "e.track"}));

  // A path that names nothing is left for the build to report.
  TrackList plain = ListTracks({folder / "none.track", folder / "e.track"}, false);
  EXPECT_EQ(TracksOf(plain), (Paths{folder / "none.track", folder / "e.track"}));
  EXPECT_FALSE(plain.open_ended);

  TrackList empty = ListTracks({JoinPath(tracks, "empty"), folder / "e.track"}, true);
  ASSERT_EQ(empty.items.size(), 2u);
  EXPECT_EQ(empty.items[0].path, JoinPath(tracks, "empty"));
  EXPECT_EQ(empty.items[0].problem, "no .track file in the folder or its subfolders");
}

#ifndef _WIN32
TEST(TrackList, LinksToFoldersAreNotFollowed) {
  ScratchFolder folder;
  std::filesystem::create_directories(folder.path() / "Tracks/real");
  WriteWholeFile(folder / "Tracks/real/a.track", "");
  WriteWholeFile(folder / "b.track", "");
  // A link back up would make the walk endless if it were followed.
  std::filesystem::create_directory_symlink(folder.path(), folder.path() / "Tracks/up");
  std::filesystem::create_symlink(folder.path() / "b.track", folder.path() / "Tracks/b.track");
  EXPECT_EQ(TracksOf(ListTracks({folder / "Tracks"}, true)),
            (Paths{folder / "Tracks/b.track", folder / "Tracks/real/a.track"}));
}

TEST(TrackList, PatternsAreTheShellsHere) {
  // The shell expanded what it meant to; what is left is a name.
  EXPECT_EQ(TracksOf(ListTracks({"Tracks/*.track"}, false)), Paths{"Tracks/*.track"});
}
#endif

class OutputPlanTest : public ::testing::Test {
 protected:
  OutputPlanTest() {
    std::filesystem::create_directories(folder.path() / "a");
    std::filesystem::create_directories(folder.path() / "b");
    for (const char* name : {"a/Hill.track", "b/Hill.track", "a/Other.track"}) {
      WriteWholeFile(folder / name, kTrack);
    }
    WriteWholeFile(folder / "a/Other.track",
                   "[TerrainMaps]\nMaskMap=Other_mask.bmp\nOverlay_Base=a\nOverlay_R=b\n"
                   "Overlay_G=c\nOverlay_B=d\n");
  }

  TrackList Tracks(const Paths& paths) {
    TrackList list;
    for (const std::string& path : paths) list.items.push_back({path, ""});
    return list;
  }

  // As the command line hands it on: on Windows the build takes '\\' alone.
  std::string Path(const std::string& name) const { return CommandLinePath(folder / name); }

  ScratchFolder folder;
  OutputPlan plan;
  std::string error;
};

TEST_F(OutputPlanTest, OneTrackNamesItsPictureFile) {
  const std::string picture = folder / "Map.BMP";
  ASSERT_TRUE(
      PlanOutputs(Tracks({Path("a/Hill.track")}), picture, std::nullopt, {}, &plan, &error));
  EXPECT_EQ(plan.paths, Paths{picture});
  EXPECT_EQ(plan.folder, "");

  EXPECT_FALSE(
      PlanOutputs(Tracks({Path("a/Hill.track")}), "Map.jpg", std::nullopt, {}, &plan, &error));
  EXPECT_EQ(error, "Map.jpg: a picture's name ends in .bmp or .png");
  EXPECT_FALSE(PlanOutputs(Tracks({Path("a/Hill.track")}), "Map", std::nullopt, {}, &plan, &error));
}

// -o's extension and --format name the format together or alone; named
// apart, they must agree.
TEST_F(OutputPlanTest, TheNamesExtensionAndFormatAgree) {
  const auto hill = Tracks({Path("a/Hill.track")});
  const std::string png = folder / "Map.Png";
  ASSERT_TRUE(PlanOutputs(hill, png, std::nullopt, {}, &plan, &error));
  EXPECT_EQ(plan.format, PictureFormat::kPng);
  EXPECT_EQ(plan.paths, Paths{png});
  ASSERT_TRUE(PlanOutputs(hill, png, PictureFormat::kPng, {}, &plan, &error));
  EXPECT_EQ(plan.format, PictureFormat::kPng);
  ASSERT_TRUE(PlanOutputs(hill, folder / "Map.bmp", std::nullopt, {}, &plan, &error));
  EXPECT_EQ(plan.format, PictureFormat::kBmp);

  EXPECT_FALSE(PlanOutputs(hill, "Map.bmp", PictureFormat::kPng, {}, &plan, &error));
  EXPECT_EQ(error, "Map.bmp: the name ends in .bmp but --format asks for png");
  EXPECT_FALSE(PlanOutputs(hill, "Map.png", PictureFormat::kBmp, {}, &plan, &error));
  EXPECT_EQ(error, "Map.png: the name ends in .png but --format asks for bmp");

  // A folder, or no -o, takes the format asked for, BMP by default.
  ASSERT_TRUE(
      PlanOutputs(hill, JoinPath(folder / "out", ""), PictureFormat::kPng, {}, &plan, &error));
  EXPECT_EQ(plan.format, PictureFormat::kPng);
  ASSERT_TRUE(PlanOutputs(hill, "", PictureFormat::kPng, {}, &plan, &error));
  EXPECT_EQ(plan.format, PictureFormat::kPng);
  ASSERT_TRUE(PlanOutputs(hill, "", std::nullopt, {}, &plan, &error));
  EXPECT_EQ(plan.format, PictureFormat::kBmp);
}

TEST_F(OutputPlanTest, TwoPngsOfOneNameAreRefusedToo) {
  const Paths both = {Path("a/Hill.track"), Path("b/Hill.track")};
  EXPECT_FALSE(PlanOutputs(Tracks(both), folder / "out", PictureFormat::kPng, {}, &plan, &error));
  EXPECT_EQ(error, both[0] + " and " + both[1] + " would both write " +
                       JoinPath(folder / "out", "Hill_mask_Topdown.png"));
}

TEST_F(OutputPlanTest, SeveralTracksAFolderOrASeparatorNameAFolder) {
  const std::string out = folder / "out";
  const std::string in_out = JoinPath(out, "");
  ASSERT_TRUE(PlanOutputs(Tracks({Path("a/Hill.track"), Path("a/Other.track")}), out, std::nullopt,
                          {}, &plan, &error));
  EXPECT_EQ(plan.folder, out);
  EXPECT_EQ(plan.paths, (Paths{in_out, in_out}));

  TrackList open_ended = Tracks({Path("a/Hill.track")});
  open_ended.open_ended = true;
  ASSERT_TRUE(PlanOutputs(open_ended, out, std::nullopt, {}, &plan, &error));
  EXPECT_EQ(plan.paths, Paths{in_out});

  ASSERT_TRUE(PlanOutputs(Tracks({Path("a/Hill.track")}), in_out, std::nullopt, {}, &plan, &error));
  EXPECT_EQ(plan.folder, in_out);
  ASSERT_TRUE(
      PlanOutputs(Tracks({Path("a/Hill.track")}), folder / "b", std::nullopt, {}, &plan, &error));
  EXPECT_EQ(plan.paths, Paths{JoinPath(folder / "b", "")});
}

TEST_F(OutputPlanTest, TwoTracksWritingOneFileAreRefusedNamingBoth) {
  const Paths both = {Path("a/Other.track"), Path("a/Hill.track"), Path("b/Hill.track")};
  EXPECT_FALSE(PlanOutputs(Tracks(both), folder / "out", std::nullopt, {}, &plan, &error));
  EXPECT_EQ(error, both[1] + " and " + both[2] + " would both write " +
                       JoinPath(folder / "out", "Hill_mask_Topdown.bmp"));
  // Beside their tracks they write two files; the same track twice, one.
  EXPECT_TRUE(PlanOutputs(Tracks(both), "", std::nullopt, {}, &plan, &error));
  const std::string again = JoinPath(JoinPath(folder / "a", "."), "Hill.track");
  EXPECT_FALSE(PlanOutputs(Tracks({both[1], again}), "", std::nullopt, {}, &plan, &error));
  // Paths that are no track files are left for the build to refuse.
  EXPECT_TRUE(PlanOutputs(Tracks({folder / "x.txt", folder / "x.txt"}), "", std::nullopt, {}, &plan,
                          &error));
}

TEST(BatchSummary, CountsAndNamesTheFailedAndKeepsTheFirstStatus) {
  BatchSummary summary;
  summary.Add("a.track", 0);
  summary.Add("b.track", 3);
  summary.Add("c.track", 0);
  summary.Add("d.track", 2);
  EXPECT_EQ(summary.Line(), "4 tracks: 2 built, 2 failed: b.track, d.track");
  EXPECT_EQ(summary.ExitStatus(), 3);
  BatchSummary built;
  built.Add("a.track", 0);
  built.Add("b.track", 0);
  EXPECT_EQ(built.Line(), "2 tracks: 2 built, 0 failed");
  EXPECT_EQ(built.ExitStatus(), 0);
}

}  // namespace
}  // namespace skyplate
