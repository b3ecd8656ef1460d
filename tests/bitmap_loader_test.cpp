#include "topdown/bitmap_loader.h"

#include <gtest/gtest.h>

#include "tests/test_files.h"
#include "tools/bmp_variants.h"

namespace skyplate {
namespace {

using testing::ScratchFolder;
using testing::WriteWholeFile;

// A 4 x 2 picture of two 2 x 2 blocks, each of one colour.
Bitmap TwoBlocks() {
  Bitmap picture = Bitmap::Blank(4, 2, MakeColour(10, 20, 30));
  for (std::int32_t y = 0; y < 2; ++y) {
    picture.Set(2, y, MakeColour(50, 60, 70));
    picture.Set(3, y, MakeColour(50, 60, 70));
  }
  return picture;
}

class LoadBitmapFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = folder_ / name;
    WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));
    return path;
  }

  ScratchFolder folder_;
  Bitmap out_;
  std::string error_;
};

TEST_F(LoadBitmapFileTest, MissingFileFailsWithAReason) {
  EXPECT_FALSE(LoadBitmapFile(folder_ / "missing.bmp", 256, 256, &out_, &error_));
  EXPECT_EQ(error_.rfind("cannot open the file: ", 0), 0u) << error_;
  EXPECT_TRUE(out_.empty());
}

TEST_F(LoadBitmapFileTest, ZeroWidthOrHeightKeepsTheFilesOwnSize) {
  const std::string path = Write("own.bmp", EncodeBmpVariant(BmpVariant::kRle8, TwoBlocks()));
  ASSERT_TRUE(LoadBitmapFile(path, 0, 256, &out_, &error_)) << error_;
  EXPECT_EQ(out_.pixels, TwoBlocks().pixels);
  ASSERT_TRUE(LoadBitmapFile(path, 256, 0, &out_, &error_)) << error_;
  EXPECT_EQ(out_.width, 4);
}

TEST_F(LoadBitmapFileTest, OwnSizeIsUsedAsLoadedOtherSizesResampled) {
  std::vector<std::uint8_t> bytes = EncodeBmpVariant(BmpVariant::kBgr24TopDown, TwoBlocks());
  bytes.resize(bytes.size() + 100, 0xAB);  // trailing bytes are never read
  const std::string path = Write("blocks.bmp", bytes);
  ASSERT_TRUE(LoadBitmapFile(path, 4, 2, &out_, &error_)) << error_;
  EXPECT_EQ(out_.pixels, TwoBlocks().pixels);
  ASSERT_TRUE(LoadBitmapFile(path, 2, 1, &out_, &error_)) << error_;
  EXPECT_EQ(out_.pixels, std::vector<Colour>({MakeColour(10, 20, 30), MakeColour(50, 60, 70)}));
}

// Cached images are known by their contents and size: a tile saved again
// between two builds is decoded anew, a copy of one at another path is the
// same image, and another size of it is resampled again.
TEST_F(LoadBitmapFileTest, ACacheKnowsImagesByContentsAndSize) {
  ImageCache cache;
  const std::string path =
      Write("tile.bmp", EncodeBmpVariant(BmpVariant::kBgr24TopDown, TwoBlocks()));
  ASSERT_TRUE(LoadBitmapFile(path, 2, 1, &out_, &error_, &cache)) << error_;
  const Colour grey = MakeColour(1, 2, 3);
  Write("tile.bmp", EncodeBmpVariant(BmpVariant::kBgr24TopDown, Bitmap::Blank(4, 2, grey)));
  ASSERT_TRUE(LoadBitmapFile(path, 2, 1, &out_, &error_, &cache)) << error_;
  EXPECT_EQ(out_.pixels, std::vector<Colour>(2, grey));

  const std::string copy =
      Write("copy.bmp", EncodeBmpVariant(BmpVariant::kBgr24TopDown, TwoBlocks()));
  ASSERT_TRUE(LoadBitmapFile(copy, 2, 1, &out_, &error_, &cache)) << error_;
  EXPECT_EQ(out_.pixels, std::vector<Colour>({MakeColour(10, 20, 30), MakeColour(50, 60, 70)}));
  ASSERT_TRUE(LoadBitmapFile(copy, 1, 1, &out_, &error_, &cache)) << error_;
  EXPECT_EQ(out_.width, 1);
}

TEST_F(LoadBitmapFileTest, DamagedFilesAndImpossibleSizesFail) {
  const std::string text = Write("text.bmp", {'h', 'e', 'l', 'l', 'o'});
  EXPECT_FALSE(LoadBitmapFile(text, 0, 0, &out_, &error_));
  EXPECT_EQ(error_, "not a BMP file (no BM signature)");
  std::vector<std::uint8_t> bytes = EncodeBmpVariant(BmpVariant::kBgr24BottomUp, TwoBlocks());
  bytes[22] = 0xFF;  // a height of 255 rows that the file does not hold
  EXPECT_FALSE(LoadBitmapFile(Write("short.bmp", bytes), 0, 0, &out_, &error_));
  EXPECT_EQ(error_, "file is shorter than its pixel data");
  const std::string blocks = Write("blocks.bmp", EncodeBmpVariant(BmpVariant::kRgb32, TwoBlocks()));
  EXPECT_FALSE(LoadBitmapFile(blocks, 4, -2, &out_, &error_));
  EXPECT_EQ(error_, "requested size of 4 x -2 pixels is out of range");
  EXPECT_FALSE(LoadBitmapFile(blocks, 70000, 70000, &out_, &error_));
  EXPECT_EQ(error_, "requested size of 70000 x 70000 pixels is out of range");
  EXPECT_TRUE(out_.empty());
}

}  // namespace
}  // namespace skyplate
