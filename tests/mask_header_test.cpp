#include "topdown/mask_header.h"

#include <gtest/gtest.h>

#include <vector>

namespace skyplate {
namespace {

std::vector<std::uint8_t> Header(std::uint32_t header_size, std::int32_t width,
                                 std::int32_t height) {
  std::vector<std::uint8_t> bytes(26, 0);
  auto put = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put(14, header_size);
  put(18, static_cast<std::uint32_t>(width));
  put(22, static_cast<std::uint32_t>(height));
  return bytes;
}

TEST(MaskHeader, ReadsWidthAndHeight) {
  auto size = ParseMaskSize(Header(40, 1024, 768));
  EXPECT_EQ(size.width, 1024);
  EXPECT_EQ(size.height, 768);
}

TEST(MaskHeader, TopDownHeightCountsByItsMagnitude) {
  EXPECT_EQ(ParseMaskSize(Header(124, 5, -7)).height, 7);
  EXPECT_EQ(ParseMaskSize(Header(40, 5, INT32_MIN)).height, 0);
}

TEST(MaskHeader, CoreHeaderHasSixteenBitSizes) {
  auto bytes = Header(12, 0, 0);
  bytes[18] = 0x2C;  // width 300
  bytes[19] = 0x01;
  bytes[20] = 17;  // height 17
  auto size = ParseMaskSize(bytes);
  EXPECT_EQ(size.width, 300);
  EXPECT_EQ(size.height, 17);
}

TEST(MaskHeader, MissingBytesCountAsZero) {
  auto bytes = Header(40, 0x01020304, 0x05060708);
  bytes.resize(24);  // the height's two high bytes are missing
  auto size = ParseMaskSize(bytes);
  EXPECT_EQ(size.width, 0x01020304);
  EXPECT_EQ(size.height, 0x0708);
  EXPECT_EQ(ParseMaskSize({}).width, 0);
  PictureSize read{1, 1};
  std::string error;
  EXPECT_FALSE(ReadMaskSize("/nonexistent/mask.bmp", &read, &error));
  EXPECT_EQ(read.height, 0);
}

}  // namespace
}  // namespace skyplate
