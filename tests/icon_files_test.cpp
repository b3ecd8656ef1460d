// The icon files the resources name: every entry's directory record agrees
// with its bitmap header, and the main window's icon holds its three sizes
// in 256 colours.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/test_files.h"

namespace skyplate {
namespace {

struct IconEntry {
  int width, height, bit_count;
  std::uint32_t size, offset;
  // From the entry's BITMAPINFOHEADER.
  std::uint32_t header_size;
  std::int32_t header_width, header_height;
  int header_bit_count;
};

std::uint32_t Le(const std::vector<std::uint8_t>& bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes.at(at + i);
  return value;
}

// The entries of an .ico file; fails the test on a malformed directory.
std::vector<IconEntry> ReadIconEntries(const std::string& name) {
  const std::vector<std::uint8_t> bytes =
      testing::ReadWholeFile(std::string(SKYPLATE_RESOURCES_DIR) + "/" + name);
  std::vector<IconEntry> entries;
  if (bytes.size() < 6 || Le(bytes, 0, 2) != 0 || Le(bytes, 2, 2) != 1) {
    ADD_FAILURE() << name << " is no icon file";
    return entries;
  }
  const std::uint32_t count = Le(bytes, 4, 2);
  for (std::uint32_t i = 0; i < count && 6 + 16 * (i + 1) <= bytes.size(); ++i) {
    const std::size_t at = 6 + 16 * i;
    IconEntry entry{};
    // A width or height byte of 0 stands for 256.
    entry.width = bytes[at] == 0 ? 256 : bytes[at];
    entry.height = bytes[at + 1] == 0 ? 256 : bytes[at + 1];
    entry.bit_count = static_cast<int>(Le(bytes, at + 6, 2));
    entry.size = Le(bytes, at + 8, 4);
    entry.offset = Le(bytes, at + 12, 4);
    if (entry.offset > bytes.size() || entry.size > bytes.size() - entry.offset ||
        entry.size < 40) {
      ADD_FAILURE() << name << " entry " << i << " lies outside the file";
      return entries;
    }
    entry.header_size = Le(bytes, entry.offset, 4);
    entry.header_width = static_cast<std::int32_t>(Le(bytes, entry.offset + 4, 4));
    entry.header_height = static_cast<std::int32_t>(Le(bytes, entry.offset + 8, 4));
    entry.header_bit_count = static_cast<int>(Le(bytes, entry.offset + 14, 2));
    entries.push_back(entry);
  }
  EXPECT_EQ(entries.size(), count) << name;
  return entries;
}

// Palette, colour rows and the 1-bit transparency rows, each row padded to 4 bytes.
std::uint32_t BitmapBytes(const IconEntry& entry) {
  const int bits = entry.header_bit_count;
  const std::uint32_t palette = bits <= 8 ? 4u << bits : 0;
  const std::uint32_t colour_row = (entry.width * bits + 31) / 32 * 4;
  const std::uint32_t mask_row = (entry.width + 31) / 32 * 4;
  return 40 + palette + (colour_row + mask_row) * entry.height;
}

TEST(IconFiles, EveryEntryIsTheBitmapItsDirectoryDescribes) {
  for (const char* name : {"topdown.ico", "skyplate_app.ico"}) {
    const std::vector<IconEntry> entries = ReadIconEntries(name);
    EXPECT_FALSE(entries.empty()) << name;
    for (const IconEntry& entry : entries) {
      SCOPED_TRACE(std::string(name) + " " + std::to_string(entry.width));
      EXPECT_EQ(entry.header_size, 40u);
      EXPECT_EQ(entry.header_width, entry.width);
      // The height covers the colour rows and the mask rows.
      EXPECT_EQ(entry.header_height, 2 * entry.height);
      EXPECT_EQ(entry.header_bit_count, entry.bit_count);
      EXPECT_EQ(entry.size, BitmapBytes(entry));
    }
  }
}

TEST(IconFiles, MainWindowIconHoldsThreeSizesIn256Colours) {
  const std::vector<IconEntry> entries = ReadIconEntries("topdown.ico");
  std::vector<int> sizes;
  for (const IconEntry& entry : entries) {
    sizes.push_back(entry.width);
    EXPECT_EQ(entry.height, entry.width);
    EXPECT_EQ(entry.header_bit_count, 8) << entry.width;
  }
  EXPECT_EQ(sizes, (std::vector<int>{48, 32, 16}));
}

}  // namespace
}  // namespace skyplate
