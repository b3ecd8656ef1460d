#include "topdown/bmp_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tools/bmp_variants.h"

namespace skyplate {
namespace {

constexpr Colour kBlack = MakeColour(0, 0, 0);

Bitmap Decode(const std::vector<std::uint8_t>& file, std::string* error) {
  Bitmap picture;
  if (!DecodeBmp(file, &picture, error)) {
    EXPECT_TRUE(picture.empty());
  }
  return picture;
}

// Colours a variant can carry exactly: black first, then, for 5-bit channels,
// the corners of the colour cube, else assorted colours.
std::vector<Colour> ColoursFor(const BmpVariantInfo& info) {
  const int count =
      info.channel_bits < 8 ? 8 : std::min(info.max_colours == 0 ? 40 : info.max_colours, 40);
  std::vector<Colour> colours;
  for (int i = 0; i < count; ++i) {
    colours.push_back(info.channel_bits < 8
                          ? MakeColour((i & 1) * 255, (i >> 1 & 1) * 255, (i >> 2 & 1) * 255)
                          : MakeColour(i * 37 % 256, i * 91 % 256, i * 151 % 256));
  }
  return colours;
}

// 13 x 7: an odd width for row padding and half-filled bytes; pairs and
// triples of equal pixels, stretches of differing ones, and black runs that
// RLE skips: within a row, into the next row left and right of where it
// began, over a whole row, and at the end of the top row, the last in the
// file.
Bitmap PictureFor(const BmpVariantInfo& info) {
  const std::vector<Colour> colours = ColoursFor(info);
  const int count = static_cast<int>(colours.size());
  Bitmap picture = Bitmap::Blank(13, 7);
  for (std::int32_t y = 0; y < picture.height; ++y) {
    for (std::int32_t x = 0; x < picture.width; ++x) {
      const bool black_run = (y == 0 && x >= 8) || (y == 1 && x >= 4 && x < 10) ||
                             (y == 2 && x >= 6) || y == 3 || (y == 4 && x < 3) ||
                             (y == 5 && x < 4) || (y == 6 && x >= 2);
      const int stretch = y % 2 == 1 ? x + y : x / 3 + y;
      picture.Set(x, y, black_run ? kBlack : colours[stretch % count]);
    }
  }
  return picture;
}

TEST(DecodeBmp, EveryVariantRoundTrips) {
  for (const BmpVariantInfo& info : AllBmpVariants()) {
    SCOPED_TRACE(info.name);
    const Bitmap picture = PictureFor(info);
    const std::vector<std::uint8_t> file = EncodeBmpVariant(info.variant, picture);
    ASSERT_FALSE(file.empty());
    std::string error;
    const Bitmap decoded = Decode(file, &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(decoded.width, picture.width);
    EXPECT_EQ(decoded.height, picture.height);
    EXPECT_EQ(decoded.pixels, picture.pixels);
  }
}

// A variant's file with the pixel data replaced by `data`.
std::vector<std::uint8_t> WithPixelData(BmpVariant variant, const Bitmap& picture,
                                        const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> file = EncodeBmpVariant(variant, picture);
  file.resize(file[10] | file[11] << 8);
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

TEST(DecodeBmp, NarrowChannelsScaleToTheNearestOf255) {
  // 5-5-5: (31, 16, 1) and (0, 30, 15).
  const std::vector<std::uint8_t> rgb555 =
      WithPixelData(BmpVariant::kRgb555, Bitmap::Blank(2, 1), {0x01, 0x7E, 0xCF, 0x03});
  std::string error;
  Bitmap decoded = Decode(rgb555, &error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(decoded.At(0, 0), MakeColour(255, 132, 8));
  EXPECT_EQ(decoded.At(1, 0), MakeColour(0, 247, 123));
  // 5-6-5: (0, 63, 31) and (16, 32, 1), the 6-bit green 32 -> 130.
  const std::vector<std::uint8_t> bitfields565 =
      WithPixelData(BmpVariant::kBitFields565, Bitmap::Blank(2, 1), {0xFF, 0x07, 0x01, 0x84});
  decoded = Decode(bitfields565, &error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(decoded.At(0, 0), MakeColour(0, 255, 255));
  EXPECT_EQ(decoded.At(1, 0), MakeColour(132, 130, 8));
}

struct Corruption {
  const char* what;
  BmpVariant variant;
  std::size_t offset;
  std::uint32_t value;
  int bytes;
  const char* error;
};

// A 3 x 2 picture of three colours, so that every palette variant uses
// indices 0 to 2.
Bitmap SmallPicture() {
  Bitmap picture = Bitmap::Blank(3, 2, MakeColour(10, 20, 30));
  picture.Set(1, 1, MakeColour(40, 50, 60));
  picture.Set(2, 1, MakeColour(70, 80, 90));
  return picture;
}

TEST(DecodeBmp, DamagedHeadersFailWithTheirReason) {
  using V = BmpVariant;
  const Corruption corruptions[] = {
      {"signature", V::kBgr24BottomUp, 1, 'X', 1, "not a BMP file (no BM signature)"},
      {"header size", V::kBgr24BottomUp, 14, 64, 4, "unsupported header size 64"},
      {"planes", V::kBgr24BottomUp, 26, 2, 2, "number of colour planes is 2, not 1"},
      {"bit count", V::kBgr24BottomUp, 28, 2, 2, "unsupported bit count 2"},
      {"compression", V::kBgr24BottomUp, 30, 4, 4, "unsupported compression 4"},
      {"RLE8 bits", V::kBgr24BottomUp, 30, 1, 4, "RLE8 compression with 24 bits per pixel"},
      {"RLE4 bits", V::kRle8, 30, 2, 4, "RLE4 compression with 8 bits per pixel"},
      {"bit-field bits", V::kPalette8, 30, 3, 4, "bit-field compression with 8 bits per pixel"},
      {"zero width", V::kBgr24BottomUp, 18, 0, 4, "width 0 is not positive"},
      {"negative width", V::kBgr24BottomUp, 18, 0xFFFFFFFC, 4, "width -4 is not positive"},
      {"zero height", V::kBgr24BottomUp, 22, 0, 4, "height is zero"},
      {"INT_MIN height", V::kBgr24BottomUp, 22, 0x80000000, 4,
       "height -2147483648 is out of range"},
      {"huge width", V::kBgr24BottomUp, 18, 150000000, 4,
       "picture of 150000000 x 2 pixels exceeds the limit of 268435456"},
      {"huge core", V::kCoreHeader24, 18, 0xFFFFFFFF, 4,
       "picture of 65535 x 65535 pixels exceeds the limit of 268435456"},
      {"offset inside header", V::kBgr24BottomUp, 10, 20, 4,
       "pixel data offset 20 lies inside the header"},
      {"offset beyond file", V::kBgr24BottomUp, 10, 100000, 4,
       "pixel data offset 100000 lies beyond the end of the file"},
      {"more rows than data", V::kBgr24BottomUp, 22, 3, 4, "file is shorter than its pixel data"},
      {"palette too large", V::kPalette4, 46, 17, 4,
       "palette of 17 colours is too large for 4 bits per pixel"},
      {"palette beyond file", V::kPalette8Short, 46, 256, 4, "file is shorter than its palette"},
      {"index beyond palette", V::kPalette8Short, 46, 2, 4,
       "palette index 2 beyond a palette of 2 colours"},
      {"zero mask", V::kBitFields565, 54, 0, 4, "bit-field mask for red is zero"},
      {"gap in mask", V::kBitFields565, 58, 0x0FA0, 4,
       "bit-field mask for green 0xFA0 is not contiguous"},
      {"mask too wide", V::kBitFields565, 62, 0x10000, 4,
       "bit-field mask for blue 0x10000 exceeds 16 bits"},
      {"overlapping masks", V::kBitFields565, 58, 0x0FE0, 4, "bit-field masks overlap"},
      {"24-bit masks", V::kBitFields24, 54, 0xFF000000, 4,
       "24-bit picture with other than the standard bit-field masks"},
      {"top-down RLE", V::kRle8, 22, 0xFFFFFFFE, 4, "RLE-compressed picture stored top-down"},
  };
  for (const Corruption& corruption : corruptions) {
    SCOPED_TRACE(corruption.what);
    std::vector<std::uint8_t> file = EncodeBmpVariant(corruption.variant, SmallPicture());
    for (int i = 0; i < corruption.bytes; ++i) {
      file[corruption.offset + i] = static_cast<std::uint8_t>(corruption.value >> (8 * i));
    }
    std::string error;
    Decode(file, &error);
    EXPECT_EQ(error, corruption.error);
  }
}

TEST(DecodeBmp, EveryTruncationFailsCleanlyOrDecodes) {
  for (const BmpVariantInfo& info : AllBmpVariants()) {
    SCOPED_TRACE(info.name);
    const std::vector<std::uint8_t> file = EncodeBmpVariant(info.variant, PictureFor(info));
    for (std::size_t length = 0; length < file.size(); ++length) {
      const std::vector<std::uint8_t> prefix(file.begin(), file.begin() + length);
      Bitmap picture;
      std::string error;
      if (DecodeBmp(prefix, &picture, &error)) {
        EXPECT_EQ(picture.width, 13);
      } else {
        EXPECT_TRUE(picture.empty());
        EXPECT_NE(error, "");
      }
    }
  }
}

TEST(DecodeBmp, UncompressedFilesNeedAllTheirPixelData) {
  const std::vector<std::uint8_t> file =
      EncodeBmpVariant(BmpVariant::kPalette1, Bitmap::Blank(9, 4));
  std::string error;
  Decode({file.begin(), file.end() - 1}, &error);
  EXPECT_EQ(error, "file is shorter than its pixel data");
}

struct RleCase {
  const char* what;
  BmpVariant variant;
  std::vector<std::uint8_t> data;
  const char* error;
};

TEST(DecodeBmp, RleOutsideThePictureFails) {
  using V = BmpVariant;
  // A 4 x 2 picture with a palette of 2 colours.
  const RleCase cases[] = {
      {"encoded run", V::kRle8, {5, 0}, "RLE run past the end of row 0"},
      {"RLE4 run", V::kRle4, {3, 0x11, 2, 0x11}, "RLE run past the end of row 0"},
      {"absolute run", V::kRle8, {0, 0, 1, 0, 0, 4, 0, 1, 0, 1}, "RLE run past the end of row 1"},
      {"delta right", V::kRle8, {2, 0, 0, 2, 3, 0}, "RLE delta past the end of row 0"},
      {"delta down", V::kRle8, {0, 2, 0, 2}, "RLE delta past the last row"},
      {"after last row", V::kRle8, {0, 0, 0, 0, 1, 1}, "RLE data past the last row"},
      {"index", V::kRle8, {1, 7}, "palette index 7 beyond a palette of 2 colours"},
      {"RLE4 index", V::kRle4, {0, 3, 0x12, 0x30}, "palette index 2 beyond a palette of 2 colours"},
  };
  Bitmap picture = Bitmap::Blank(4, 2, MakeColour(1, 2, 3));
  picture.Set(0, 0, MakeColour(4, 5, 6));
  for (const RleCase& rle : cases) {
    SCOPED_TRACE(rle.what);
    std::vector<std::uint8_t> file = WithPixelData(rle.variant, picture, rle.data);
    file[46] = 2;  // biClrUsed: the RLE4 variant writes a full palette
    std::string error;
    Decode(file, &error);
    EXPECT_EQ(error, rle.error);
  }
}

TEST(DecodeBmp, RleSkipsAndEarlyEndsLeaveBlack) {
  Bitmap picture = Bitmap::Blank(4, 3, MakeColour(1, 2, 3));
  picture.Set(3, 2, MakeColour(4, 5, 6));
  // Rows in file order, the bottom first. Index 0 is (1, 2, 3).
  const std::vector<std::uint8_t> data = {
      1, 0,              // row 0: one pixel
      0, 2, 2, 1,        // delta to x 3 of row 1
      1, 0,              // one pixel
      0, 0,              // end of line: row 2
      0, 3, 0, 0, 0, 0,  // absolute run of three, padded
                         // the data ends without an end-of-bitmap mark
  };
  std::string error;
  const Bitmap decoded = Decode(WithPixelData(BmpVariant::kRle8, picture, data), &error);
  ASSERT_EQ(error, "");
  const Colour c = MakeColour(1, 2, 3);
  const std::vector<Colour> expected = {c,      c,      c,      kBlack,  // top: file row 2
                                        kBlack, kBlack, kBlack, c,       // file row 1
                                        c,      kBlack, kBlack, kBlack};
  EXPECT_EQ(decoded.pixels, expected);
}

}  // namespace
}  // namespace skyplate
