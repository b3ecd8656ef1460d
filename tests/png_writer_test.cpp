#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <random>
#include <thread>

#include "tests/png_reader.h"
#include "tests/test_files.h"
#include "topdown/bitmap_writer.h"
#include "topdown/bmp_encoder.h"
#include "topdown/png_chunks.h"
#include "topdown/png_picture_writer.h"

namespace skyplate {
namespace {

using testing::PngContents;
using testing::ReadWholeFile;
using testing::ScratchFolder;
using Bytes = std::vector<std::uint8_t>;

// Colours that deflate cannot squeeze much, so that segments are large.
Bitmap Noise(std::int32_t width, std::int32_t height) {
  Bitmap picture = Bitmap::Blank(width, height);
  std::mt19937 random(12345);
  for (Colour& c : picture.pixels) c = random() & 0xFFFFFF;
  return picture;
}

PngContents ReadBack(const std::string& path) {
  PngContents contents;
  std::string error;
  EXPECT_TRUE(testing::ReadPng(ReadWholeFile(path), &contents, &error)) << error;
  return contents;
}

// Rows top .. top + rows - 1 of `picture` laid out as a band of a BMP file.
struct Band {
  Band(const Bitmap& picture, std::int32_t top, std::int32_t rows) : top(top), rows(rows) {
    const std::size_t stride = BmpStride(picture.width);
    pixels.resize(stride * rows);
    above.resize(stride);
    for (std::int32_t i = 0; i < rows; ++i) {
      EncodeBmpRow(picture.Row(top + rows - 1 - i), picture.width, &pixels[i * stride]);
    }
    if (top > 0) EncodeBmpRow(picture.Row(top - 1), picture.width, above.data());
  }
  PictureBand view() const { return {top, rows, pixels.data(), top > 0 ? above.data() : nullptr}; }

  std::int32_t top;
  std::int32_t rows;
  Bytes pixels;
  Bytes above;
};

TEST(PngChunks, HeadAndTailAreExactBytes) {
  const Bytes head = {0x89, 'P',  'N',  'G',  '\r', '\n', 0x1A, '\n',  // signature
                      0,    0,    0,    13,   'I',  'H',  'D',  'R',  0,
                      0,    0,    2,    0,    0,    0,    1,                 // 2 x 1
                      8,    2,    0,    0,    0,    0x7B, 0x40, 0xE8, 0xDD,  // 8-bit RGB
                      0,    0,    0,    2,    'I',  'D',  'A',  'T',  0x78,
                      0x01, 0xEC, 0x1A, 0x7E, 0xD2};
  EXPECT_EQ(PngHead(2, 1), head);
  const Bytes tail = {0,    0,    0, 4, 'I', 'D', 'A', 'T', 0,   0,   0,    1,    0x9D, 0x24,
                      0xD7, 0x91, 0, 0, 0,   0,   'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  EXPECT_EQ(PngTail(1), tail);
}

TEST(PngChunks, SizesFromOneToTheFormatsLimit) {
  EXPECT_TRUE(FitsPngFile(1, 1));
  EXPECT_TRUE(FitsPngFile(2147483647, 2147483647));
  EXPECT_FALSE(FitsPngFile(0, 1));
  EXPECT_FALSE(FitsPngFile(1, 0));
  EXPECT_FALSE(FitsPngFile(2147483648, 1));
}

TEST(SavePictureFile, APngHoldsTheExactPixels) {
  ScratchFolder folder;
  Bitmap picture = Bitmap::Blank(3, 2);
  const Colour colours[] = {MakeColour(255, 0, 0), MakeColour(0, 255, 0), MakeColour(0, 0, 255),
                            MakeColour(1, 2, 3),   MakeColour(0, 0, 0),   MakeColour(200, 100, 7)};
  std::copy(std::begin(colours), std::end(colours), picture.pixels.begin());
  std::string error;
  ASSERT_TRUE(SavePictureFile(picture, folder / "out.png", PictureFormat::kPng, 1, &error))
      << error;
  const PngContents contents = ReadBack(folder / "out.png");
  EXPECT_EQ(contents.picture.pixels, picture.pixels);
  EXPECT_EQ(contents.chunks, (std::vector<std::string>{"IHDR", "IDAT", "IDAT", "IDAT", "IEND"}));
  // The top row has no row above to predict from.
  EXPECT_EQ(contents.filters, (Bytes{0, 2}));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.png"});
}

TEST(SavePictureFile, BandsCompressedOnSeveralThreadsJoinIntoOneStream) {
  ScratchFolder folder;
  // About 230 rows a band: five bands, the last one short.
  const Bitmap picture = Noise(1500, 1000);
  std::string error;
  ASSERT_TRUE(SavePictureFile(picture, folder / "out.png", PictureFormat::kPng, 3, &error))
      << error;
  const PngContents contents = ReadBack(folder / "out.png");
  EXPECT_EQ(contents.picture.pixels, picture.pixels);
  EXPECT_GE(contents.chunks.size(), 8u);
}

TEST(PngPictureWriter, TakesBandsInAnyOrderFromAnyThread) {
  ScratchFolder folder;
  const Bitmap picture = Noise(37, 48);
  const auto writer = MakePngPictureWriter();
  std::string error;
  ASSERT_TRUE(writer->Create(folder / "out.png", {37, 48}, &error)) << error;
  std::vector<Band> bands;
  for (std::int32_t top = 0; top < 48; top += 4) bands.emplace_back(picture, top, 4);
  std::vector<std::future<bool>> handed;
  for (auto band = bands.rbegin(); band != bands.rend(); ++band) {
    handed.push_back(std::async(std::launch::async, [&, band] {
      std::string band_error;
      return writer->WriteBand(band->view(), &band_error);
    }));
  }
  for (auto& result : handed) EXPECT_TRUE(result.get());
  ASSERT_TRUE(writer->Commit(&error)) << error;
  EXPECT_EQ(ReadBack(folder / "out.png").picture.pixels, picture.pixels);
}

TEST(PngPictureWriter, AnAbandonedPictureReleasesWaitingThreadsAndLeavesNothing) {
  ScratchFolder folder;
  // Random bands of 4.3 MB: one that comes early is more than the writer
  // keeps, so its thread waits for the bands above it.
  const Bitmap picture = Noise(1024, 2800);
  const Band second(picture, 1400, 1400);
  {
    const auto writer = MakePngPictureWriter();
    std::string error;
    ASSERT_TRUE(writer->Create(folder / "out.png", {1024, 2800}, &error)) << error;
    auto early = std::async(std::launch::async, [&] {
      std::string band_error;
      return writer->WriteBand(second.view(), &band_error);
    });
    EXPECT_EQ(early.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
    writer->Abandon();
    EXPECT_FALSE(early.get());
    EXPECT_FALSE(writer->WriteBand(Band(picture, 0, 1400).view(), &error));
    EXPECT_FALSE(writer->Commit(&error));
  }
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(PngPictureWriter, AnIncompletePictureIsNeverPutInPlace) {
  ScratchFolder folder;
  const Bitmap picture = Noise(8, 8);
  std::string error;
  {
    const auto writer = MakePngPictureWriter();
    ASSERT_TRUE(writer->Create(folder / "out.png", {8, 8}, &error)) << error;
    ASSERT_TRUE(writer->WriteBand(Band(picture, 0, 4).view(), &error)) << error;
    EXPECT_FALSE(writer->Commit(&error));
  }
  EXPECT_TRUE(folder.Entries().empty());
  EXPECT_FALSE(MakePngPictureWriter()->Create(folder / "missing/out.png", {8, 8}, &error));
  EXPECT_FALSE(MakePngPictureWriter()->Create(folder / "out.png", {0, 8}, &error));
  EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
}  // namespace skyplate
