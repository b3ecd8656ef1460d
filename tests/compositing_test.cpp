#include "topdown/compositing.h"

#include <gtest/gtest.h>

#include "tests/recording_front_end.h"

namespace skyplate {
namespace {

using testing::RecordingFrontEnd;

// Tiles whose every pixel tells which tile and which place it comes from.
OverlayTiles NumberedTiles() {
  OverlayTiles tiles;
  for (int t = 0; t < 4; ++t) {
    tiles[t] = Bitmap::Blank(kTileSize, kTileSize);
    for (int v = 0; v < kTileSize; ++v) {
      for (int u = 0; u < kTileSize; ++u) tiles[t].Set(u, v, MakeColour(u, v, 60 * t));
    }
  }
  return tiles;
}

Bitmap Composite(const Bitmap& mask, const OverlayTiles& tiles, RecordingFrontEnd* front_end) {
  Bitmap result = Bitmap::Blank(mask.width, mask.height);
  CompositeTerrain(mask, tiles, &result, front_end, 2);
  return result;
}

TEST(Compositing, PureMaskColoursShowOneTileEach) {
  const OverlayTiles tiles = NumberedTiles();
  const std::pair<Colour, int> cases[] = {
      {MakeColour(0, 0, 0), 0},       {MakeColour(255, 0, 0), 1}, {MakeColour(255, 255, 0), 2},
      {MakeColour(255, 255, 255), 3}, {MakeColour(1, 1, 1), 0},   {MakeColour(0, 254, 0), 2}};
  for (auto [mask_colour, tile] : cases) {
    RecordingFrontEnd front_end;
    const Bitmap result = Composite(Bitmap::Blank(300, 17, mask_colour), tiles, &front_end);
    for (int y = 0; y < 17; ++y) {
      for (int x = 0; x < 300; ++x) {
        ASSERT_EQ(result.At(x, y), tiles[tile].At(x % 256, y)) << x << "," << y;
      }
    }
  }
}

TEST(Compositing, AMaskThatFailedToLoadReadsAsBlack) {
  const OverlayTiles tiles = NumberedTiles();
  RecordingFrontEnd front_end;
  Bitmap result = Bitmap::Blank(300, 17);
  CompositeTerrain(Bitmap{}, tiles, &result, &front_end, 2);
  EXPECT_EQ(result.pixels, Composite(Bitmap::Blank(300, 17), tiles, &front_end).pixels);
}

TEST(Compositing, TheStepsRoundInTurn) {
  const Colour base = MakeColour(200, 100, 50);
  const Colour c = ComposePixel(MakeColour(128, 128, 0), base, MakeColour(0, 0, 0),
                                MakeColour(255, 255, 255), MakeColour(9, 9, 9));
  EXPECT_EQ(c, MakeColour(178, 152, 140));
}

TEST(Compositing, TilesRepeatFromTheTopLeftCorner) {
  OverlayTiles tiles = NumberedTiles();
  Bitmap mask = Bitmap::Blank(300, 260, MakeColour(255, 0, 0));
  RecordingFrontEnd front_end;
  const Bitmap result = Composite(mask, tiles, &front_end);
  EXPECT_EQ(result.At(299, 259), tiles[1].At(43, 3));
  EXPECT_EQ(result.At(256, 256), tiles[1].At(0, 0));
  EXPECT_EQ(result.At(255, 255), tiles[1].At(255, 255));
}

TEST(Compositing, RefreshesAfterEverySixteenthColumnAndAtTheEnd) {
  const OverlayTiles tiles = NumberedTiles();
  RecordingFrontEnd front_end;
  Composite(Bitmap::Blank(17, 2), tiles, &front_end);
  EXPECT_EQ(front_end.calls, std::vector<std::string>{"display 6x1"});
  using Range = std::pair<std::int32_t, std::int32_t>;
  EXPECT_EQ(front_end.refreshes, (std::vector<Range>{{0, 0}, {1, 16}, {17, 16}}));

  RecordingFrontEnd wider;
  Composite(Bitmap::Blank(40, 1), tiles, &wider);
  EXPECT_EQ(wider.refreshes, (std::vector<Range>{{0, 0}, {1, 16}, {17, 32}, {33, 39}}));

  RecordingFrontEnd empty;
  Composite(Bitmap{}, tiles, &empty);
  EXPECT_EQ(empty.calls, std::vector<std::string>{"display 0x0"});
  EXPECT_EQ(empty.refreshes, (std::vector<Range>{{0, -1}}));
}

// A mask whose channels change from pixel to pixel, so that every pixel blends.
Bitmap BlendingMask(std::int32_t width, std::int32_t height) {
  Bitmap mask = Bitmap::Blank(width, height);
  for (std::size_t i = 0; i < mask.pixels.size(); ++i) {
    mask.pixels[i] = MakeColour(i * 37 % 256, i * 91 % 256, i * 151 % 256);
  }
  return mask;
}

// Checks at every refresh that the columns it names, and every column before
// them, hold their final colours in every row, whatever the number of jobs.
class CheckingFrontEnd final : public RecordingFrontEnd {
 public:
  explicit CheckingFrontEnd(const Bitmap& expected) : expected_(expected) {}
  void RefreshDisplay(const Bitmap& picture, std::int32_t first, std::int32_t last) override {
    RecordingFrontEnd::RefreshDisplay(picture, first, last);
    for (std::int32_t y = 0; y < picture.height; ++y) {
      for (std::int32_t x = 0; x <= last; ++x) {
        if (picture.At(x, y) != expected_.At(x, y)) ++early;
      }
    }
  }
  int early = 0;  // pixels a refresh saw before they were composited

 private:
  const Bitmap& expected_;
};

TEST(Compositing, EveryRefreshFindsItsColumnsComposited) {
  const OverlayTiles tiles = NumberedTiles();
  const Bitmap mask = BlendingMask(203, 300);
  RecordingFrontEnd reference;
  const Bitmap expected = Composite(mask, tiles, &reference);
  for (int jobs : {1, 2, 3, 8}) {
    CheckingFrontEnd front_end(expected);
    Bitmap result = Bitmap::Blank(mask.width, mask.height);
    CompositeTerrain(mask, tiles, &result, &front_end, jobs);
    EXPECT_EQ(front_end.early, 0) << jobs << " jobs";
    EXPECT_EQ(front_end.refreshes, reference.refreshes) << jobs << " jobs";
    EXPECT_TRUE(result.pixels == expected.pixels) << jobs << " jobs";
  }
}

TEST(Compositing, OverItsOwnMaskGivesTheSamePicture) {
  const OverlayTiles tiles = NumberedTiles();
  Bitmap mask = BlendingMask(300, 40);
  RecordingFrontEnd apart;
  const Bitmap expected = Composite(mask, tiles, &apart);
  RecordingFrontEnd in_place;
  CompositeTerrain(mask, tiles, &mask, &in_place, 3);
  EXPECT_TRUE(mask.pixels == expected.pixels);
  EXPECT_EQ(in_place.refreshes, apart.refreshes);
}

TEST(Compositing, DisplayIsAThirdOfThePicture) {
  EXPECT_EQ(DisplaySize(1000), 333);
  EXPECT_EQ(DisplaySize(1001), 334);
  EXPECT_EQ(DisplaySize(1024), 341);
  EXPECT_EQ(DisplaySize(2048), 683);
  EXPECT_EQ(DisplaySize(2), 1);
  EXPECT_EQ(DisplaySize(1), 0);
  EXPECT_EQ(DisplaySize(0), 0);
}

}  // namespace
}  // namespace skyplate
