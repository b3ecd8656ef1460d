#include "topdown/bmp_signature.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/test_files.h"
#include "topdown/bitmap_loader.h"
#include "topdown/file_failure.h"

namespace skyplate {
namespace {

using testing::ScratchFolder;
using testing::WriteWholeFile;

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

std::string_view FormatOf(std::string_view head, std::string_view tail = {}) {
  const auto head_bytes = Bytes(head), tail_bytes = Bytes(tail);
  return OtherPictureFormat(head_bytes, tail_bytes);
}

TEST(OtherPictureFormat, KnowsTheFormatsMasksAreSavedIn) {
  using namespace std::string_view_literals;
  EXPECT_EQ(FormatOf("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR"sv), "PNG");
  EXPECT_EQ(FormatOf("\xFF\xD8\xFF\xE0\0\x10JFIF"sv), "JPEG");
  EXPECT_EQ(FormatOf("GIF89a"), "GIF");
  EXPECT_EQ(FormatOf("GIF87a"), "GIF");
  EXPECT_EQ(FormatOf("II*\0\x08\0\0\0"sv), "TIFF");
  EXPECT_EQ(FormatOf("MM\0*\0\0\0\x08"sv), "TIFF");
  EXPECT_EQ(FormatOf("RIFF\x10\0\0\0WEBPVP8 "sv), "WebP");
  EXPECT_EQ(FormatOf("DDS |\0\0\0"sv), "DDS");
  EXPECT_EQ(FormatOf("8BPS\0\x01"sv), "PSD");
  EXPECT_EQ(FormatOf("\0\0\x02\0\0\0\0\0"sv, "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.\0"sv), "TGA");
}

TEST(OtherPictureFormat, LeavesBmpsTextAndLookalikesUnnamed) {
  using namespace std::string_view_literals;
  EXPECT_EQ(FormatOf("BM\x36\0\0\0"sv), "");
  EXPECT_EQ(FormatOf("[TerrainMaps]"), "");
  EXPECT_EQ(FormatOf("RIFF\x10\0\0\0WAVEfmt "sv), "");  // a sound, not a picture
  EXPECT_EQ(FormatOf("\x89PNG"), "");                   // too short to be sure
  EXPECT_EQ(FormatOf("GIF"), "");
  EXPECT_EQ(FormatOf("", "TRUEVISION-XFILE."), "");  // the footer ends in a zero byte
}

// Whatever a file is, the loader says so in words FileFailureText can put
// after its name, and those words reach the user unchanged.
TEST(LoadBitmapFile, SaysWhatAFileIsWhenItIsNoBmp) {
  ScratchFolder folder;
  auto reason = [&](const std::string& name) {
    Bitmap out;
    std::string error;
    EXPECT_FALSE(LoadBitmapFile(folder / name, 256, 256, &out, &error)) << name;
    EXPECT_TRUE(out.empty());
    return FileFailureText(name, error);
  };
  WriteWholeFile(folder / "mask.png",
                 std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x80\x01", 20));
  EXPECT_EQ(reason("mask.png"), "mask.png is a PNG file, not a BMP: save it as a 24-bit BMP");
  WriteWholeFile(folder / "rock.tga",
                 std::string(18, '\0') + std::string(8, '\0') + "TRUEVISION-XFILE." + '\0');
  EXPECT_EQ(reason("rock.tga"), "rock.tga is a TGA file, not a BMP: save it as a 24-bit BMP");
  WriteWholeFile(folder / "empty.bmp", "");
  EXPECT_EQ(reason("empty.bmp"), "empty.bmp is empty");
  WriteWholeFile(folder / "notes.bmp", "just text");
  EXPECT_EQ(reason("notes.bmp"), "notes.bmp: not a BMP file (no BM signature)");
  std::filesystem::create_directory(folder.path() / "tiles.bmp");
  EXPECT_EQ(reason("tiles.bmp"), "tiles.bmp is a folder, not a regular file");
  EXPECT_EQ(reason("missing.bmp").rfind("missing.bmp: cannot open the file: ", 0), 0u);
}

}  // namespace
}  // namespace skyplate
