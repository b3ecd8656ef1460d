#include "topdown/bitmap_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/test_files.h"
#include "topdown/bmp_encoder.h"

namespace skyplate {
namespace {

using testing::ReadWholeFile;
using testing::ScratchFolder;
using testing::WriteWholeFile;

TEST(BmpEncoder, StrideRoundsThreeBytesAPixelUpToFour) {
  EXPECT_EQ(BmpStride(1), 4u);
  EXPECT_EQ(BmpStride(2), 8u);
  EXPECT_EQ(BmpStride(3), 12u);
  EXPECT_EQ(BmpStride(4), 12u);
  EXPECT_EQ(BmpStride(5), 16u);
  EXPECT_EQ(BmpStride(1024), 3072u);
}

TEST(BmpEncoder, FileSizeMustFitItsThirtyTwoBitField) {
  EXPECT_TRUE(FitsBmpFile(1, 1));
  EXPECT_FALSE(FitsBmpFile(0, 1));
  EXPECT_FALSE(FitsBmpFile(1, 0));
  EXPECT_TRUE(FitsBmpFile(37837, 37837));   // 4,294,953,598 bytes
  EXPECT_FALSE(FitsBmpFile(37838, 37838));  // 4,295,218,462 bytes
}

TEST(SaveBitmapFile, WritesTheExactLayout) {
  ScratchFolder folder;
  Bitmap picture = Bitmap::Blank(2, 1);
  picture.Set(0, 0, MakeColour(255, 0, 0));
  picture.Set(1, 0, MakeColour(0, 0, 255));
  std::string error;
  ASSERT_TRUE(SaveBitmapFile(picture, folder / "out.bmp", &error)) << error;
  const std::vector<std::uint8_t> expected = {
      0x42, 0x4D, 0x3E, 0, 0, 0, 0, 0, 0, 0, 0x36, 0,    0, 0,           // file header
      0x28, 0,    0,    0, 2, 0, 0, 0, 1, 0, 0,    0,    1, 0, 0x18, 0,  // info header
      0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0,    0,    0, 0, 0,    0,
      0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0,    0};  // red, blue, padding
  EXPECT_EQ(ReadWholeFile(folder / "out.bmp"), expected);
}

TEST(SaveBitmapFile, StoresTheTopRowLast) {
  ScratchFolder folder;
  Bitmap picture = Bitmap::Blank(1, 3);
  picture.Set(0, 0, MakeColour(1, 2, 3));
  picture.Set(0, 2, MakeColour(7, 8, 9));
  std::string error;
  ASSERT_TRUE(SaveBitmapFile(picture, folder / "out.bmp", &error)) << error;
  const auto bytes = ReadWholeFile(folder / "out.bmp");
  ASSERT_EQ(bytes.size(), 54u + 3 * 4);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 54, bytes.begin() + 58),
            (std::vector<std::uint8_t>{9, 8, 7, 0}));
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 4, bytes.end()),
            (std::vector<std::uint8_t>{3, 2, 1, 0}));
}

TEST(SaveBitmapFile, ReplacesOlderFilesOfAnySize) {
  ScratchFolder folder;
  const std::string path = folder / "out.bmp";
  const Bitmap picture = Bitmap::Blank(1024, 1024, MakeColour(10, 20, 30));
  std::string error;
  WriteWholeFile(path, std::string(5'000'000, 'x'));
  ASSERT_TRUE(SaveBitmapFile(picture, path, &error)) << error;
  EXPECT_EQ(ReadWholeFile(path).size(), 3'145'782u);
  WriteWholeFile(path, "short");
  ASSERT_TRUE(SaveBitmapFile(picture, path, &error)) << error;
  EXPECT_EQ(ReadWholeFile(path).size(), 3'145'782u);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.bmp"});
}

TEST(SaveBitmapFile, AFailedSaveLeavesTheOlderFileAndNoLitter) {
  ScratchFolder folder;
  const Bitmap picture = Bitmap::Blank(4, 4);
  std::string error;
  EXPECT_FALSE(SaveBitmapFile(picture, folder / "missing/out.bmp", &error));
  EXPECT_NE(error, "");
  EXPECT_FALSE(SaveBitmapFile(picture, "", &error));
  EXPECT_FALSE(SaveBitmapFile(Bitmap{}, folder / "empty.bmp", &error));

  // A folder where the output should go cannot be replaced by a file.
  std::filesystem::create_directory(folder.path() / "taken.bmp");
  EXPECT_FALSE(SaveBitmapFile(picture, folder / "taken.bmp", &error));
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "taken.bmp"));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"taken.bmp"});
}

TEST(SaveBitmapFile, AReadOnlyPictureStaysAsItIs) {
  namespace fs = std::filesystem;
  ScratchFolder folder;
  const std::string path = folder / "out.bmp";
  WriteWholeFile(path, "older picture");
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  std::string error;
  EXPECT_FALSE(SaveBitmapFile(Bitmap::Blank(4, 4), path, &error));
  EXPECT_EQ(error, "the picture is read-only");
  EXPECT_EQ(ReadWholeFile(path).size(), 13u);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.bmp"});
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
}

#ifndef _WIN32
// The link is what the user keeps the picture under; the file it points to
// is what they want renewed, and the temporary file must be made beside it
// for the final rename to stay within one file system.
TEST(SaveBitmapFile, ALinkedPictureIsReplacedWhereItPoints) {
  namespace fs = std::filesystem;
  ScratchFolder folder;
  fs::create_directory(folder.path() / "pictures");
  WriteWholeFile(folder / "pictures/real.bmp", "older picture");
  fs::create_symlink("pictures/real.bmp", folder.path() / "hop.bmp");
  fs::create_symlink("hop.bmp", folder.path() / "out.bmp");
  fs::create_symlink("pictures/new.bmp", folder.path() / "dangling.bmp");
  std::string error;
  ASSERT_TRUE(SaveBitmapFile(Bitmap::Blank(4, 4), folder / "out.bmp", &error)) << error;
  ASSERT_TRUE(SaveBitmapFile(Bitmap::Blank(2, 2), folder / "dangling.bmp", &error)) << error;
  EXPECT_TRUE(fs::is_symlink(folder.path() / "out.bmp"));
  EXPECT_TRUE(fs::is_symlink(folder.path() / "hop.bmp"));
  EXPECT_TRUE(fs::is_symlink(folder.path() / "dangling.bmp"));
  EXPECT_EQ(ReadWholeFile(folder / "pictures/real.bmp").size(), 54u + 4 * 12);
  EXPECT_EQ(ReadWholeFile(folder / "pictures/new.bmp").size(), 54u + 2 * 8);
  EXPECT_EQ(folder.Entries(),
            (std::vector<std::string>{"dangling.bmp", "hop.bmp", "out.bmp", "pictures"}));

  fs::create_symlink("loop.bmp", folder.path() / "loop.bmp");
  EXPECT_FALSE(SaveBitmapFile(Bitmap::Blank(2, 2), folder / "loop.bmp", &error));
  EXPECT_EQ(error, "the picture is a chain of too many symbolic links");
}
#endif

}  // namespace
}  // namespace skyplate
