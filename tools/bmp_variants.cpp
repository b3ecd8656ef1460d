#include "tools/bmp_variants.h"

#include <algorithm>
#include <array>
#include <bit>

#include "tools/bmp_rle_encoder.h"
#include "topdown/bmp_encoder.h"

namespace skyplate {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;

constexpr std::array<BmpVariantInfo, 20> kVariants = {{
    {BmpVariant::kPalette1, "palette1", 2, 8},
    {BmpVariant::kPalette4, "palette4", 16, 8},
    {BmpVariant::kPalette8, "palette8", 256, 8},
    {BmpVariant::kPalette8Short, "palette8_short", 256, 8},
    {BmpVariant::kRle4, "rle4", 16, 8},
    {BmpVariant::kRle8, "rle8", 256, 8},
    {BmpVariant::kRgb555, "rgb555", 0, 5},
    {BmpVariant::kBitFields565, "bitfields565", 0, 5},
    {BmpVariant::kBgr24BottomUp, "bgr24", 0, 8},
    {BmpVariant::kBgr24TopDown, "bgr24_top_down", 0, 8},
    {BmpVariant::kBitFields24, "bitfields24", 0, 8},
    {BmpVariant::kRgb32, "rgb32", 0, 8},
    {BmpVariant::kBitFields32Unusual, "bitfields32_unusual", 0, 8},
    {BmpVariant::kCoreHeader8, "core8", 256, 8},
    {BmpVariant::kCoreHeader24, "core24", 0, 8},
    {BmpVariant::kHeader52BitFields565, "header52_bitfields565", 0, 5},
    {BmpVariant::kHeader56Rgb32, "header56_rgb32", 0, 8},
    {BmpVariant::kV4Header24, "v4_bgr24", 0, 8},
    {BmpVariant::kV5HeaderBitFields32, "v5_bitfields32", 0, 8},
    {BmpVariant::kOffsetGap24, "offset_gap24", 0, 8},
}};

// How a variant lays out its file.
struct Layout {
  std::uint32_t header_size = 40;
  int bits = 24;
  std::uint32_t compression = kBiRgb;
  bool top_down = false;
  bool short_palette = false;
  std::array<std::uint32_t, 3> masks{};  // red, green, blue; packing and BI_BITFIELDS
  std::size_t gap = 0;
};

constexpr std::array<std::uint32_t, 3> kMasks555 = {0x7C00, 0x03E0, 0x001F};
constexpr std::array<std::uint32_t, 3> kMasks565 = {0xF800, 0x07E0, 0x001F};
constexpr std::array<std::uint32_t, 3> kMasks888 = {0xFF0000, 0x00FF00, 0x0000FF};
constexpr std::array<std::uint32_t, 3> kMasksUnusual = {0x0000FF00, 0xFF000000, 0x000000FF};

Layout LayoutOf(BmpVariant variant) {
  switch (variant) {
    case BmpVariant::kPalette1:
      return {.bits = 1};
    case BmpVariant::kPalette4:
      return {.bits = 4};
    case BmpVariant::kPalette8:
      return {.bits = 8};
    case BmpVariant::kPalette8Short:
      return {.bits = 8, .short_palette = true};
    case BmpVariant::kRle4:
      return {.bits = 4, .compression = kBiRle4};
    case BmpVariant::kRle8:
      return {.bits = 8, .compression = kBiRle8, .short_palette = true};
    case BmpVariant::kRgb555:
      return {.bits = 16, .masks = kMasks555};
    case BmpVariant::kBitFields565:
      return {.bits = 16, .compression = kBiBitFields, .masks = kMasks565};
    case BmpVariant::kBgr24BottomUp:
      return {};
    case BmpVariant::kBgr24TopDown:
      return {.top_down = true};
    case BmpVariant::kBitFields24:
      return {.compression = kBiBitFields, .masks = kMasks888};
    case BmpVariant::kRgb32:
      return {.bits = 32, .masks = kMasks888};
    case BmpVariant::kBitFields32Unusual:
      return {.bits = 32, .compression = kBiBitFields, .masks = kMasksUnusual};
    case BmpVariant::kCoreHeader8:
      return {.header_size = 12, .bits = 8};
    case BmpVariant::kCoreHeader24:
      return {.header_size = 12};
    case BmpVariant::kHeader52BitFields565:
      return {.header_size = 52, .bits = 16, .compression = kBiBitFields, .masks = kMasks565};
    case BmpVariant::kHeader56Rgb32:
      return {.header_size = 56, .bits = 32, .masks = kMasks888};
    case BmpVariant::kV4Header24:
      return {.header_size = 108};
    case BmpVariant::kV5HeaderBitFields32:
      return {.header_size = 124, .bits = 32, .compression = kBiBitFields, .masks = kMasksUnusual};
    case BmpVariant::kOffsetGap24:
      return {.gap = 7};
  }
  return {};
}

void Put(std::vector<std::uint8_t>* out, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) (*out)[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void Append(std::vector<std::uint8_t>* out, std::uint32_t value, int bytes) {
  out->resize(out->size() + bytes);
  Put(out, out->size() - bytes, value, bytes);
}

// A channel value rounded to the nearest step of `mask`, in place.
std::uint32_t PackChannel(std::uint8_t value, std::uint32_t mask) {
  const int shift = std::countr_zero(mask);
  const std::uint64_t max = mask >> shift;
  return static_cast<std::uint32_t>((value * max + 127) / 255 << shift);
}

std::uint32_t PackPixel(Colour colour, const std::array<std::uint32_t, 3>& masks) {
  return PackChannel(RedOf(colour), masks[0]) | PackChannel(GreenOf(colour), masks[1]) |
         PackChannel(BlueOf(colour), masks[2]);
}

std::int32_t PictureRowOf(const Layout& layout, const Bitmap& picture, std::int32_t file_row) {
  return layout.top_down ? file_row : picture.height - 1 - file_row;
}

// The picture's palette indices in file row order.
std::vector<std::uint8_t> Indices(const Layout& layout, const Bitmap& picture,
                                  const std::vector<Colour>& palette) {
  std::vector<std::uint8_t> indices;
  for (std::int32_t file_row = 0; file_row < picture.height; ++file_row) {
    const Colour* row = picture.Row(PictureRowOf(layout, picture, file_row));
    for (std::int32_t x = 0; x < picture.width; ++x) {
      indices.push_back(static_cast<std::uint8_t>(
          std::find(palette.begin(), palette.end(), row[x]) - palette.begin()));
    }
  }
  return indices;
}

std::vector<std::uint8_t> PackedRows(const Layout& layout, const Bitmap& picture,
                                     const std::vector<std::uint8_t>& indices) {
  const std::size_t stride = (static_cast<std::size_t>(picture.width) * layout.bits + 31) / 32 * 4;
  std::vector<std::uint8_t> data(stride * picture.height);
  for (std::int32_t file_row = 0; file_row < picture.height; ++file_row) {
    const std::size_t row_at = file_row * stride;
    const Colour* row = picture.Row(PictureRowOf(layout, picture, file_row));
    if (layout.bits == 24) {
      EncodeBmpRow(row, picture.width, &data[row_at]);
      continue;
    }
    for (std::int32_t x = 0; x < picture.width; ++x) {
      if (layout.bits <= 8) {
        const std::size_t bit = static_cast<std::size_t>(x) * layout.bits;
        const std::uint8_t index = indices[file_row * picture.width + x];
        data[row_at + bit / 8] |= static_cast<std::uint8_t>(index << (8 - layout.bits - bit % 8));
        continue;
      }
      std::uint32_t pixel = PackPixel(row[x], layout.masks);
      // A BI_RGB file's spare fourth byte must be ignored, so make it count.
      if (layout.bits == 32 && layout.compression == kBiRgb) pixel |= 0x5A000000;
      Put(&data, row_at + static_cast<std::size_t>(x) * layout.bits / 8, pixel, layout.bits / 8);
    }
  }
  return data;
}

std::vector<std::uint8_t> Headers(const Layout& layout, const Bitmap& picture,
                                  std::size_t palette_entries) {
  std::vector<std::uint8_t> out(14 + layout.header_size);
  out[0] = 'B';
  out[1] = 'M';
  Put(&out, 14, layout.header_size, 4);
  const bool core = layout.header_size == 12;
  const std::uint32_t height =
      static_cast<std::uint32_t>(layout.top_down ? -picture.height : picture.height);
  Put(&out, 18, static_cast<std::uint32_t>(picture.width), core ? 2 : 4);
  Put(&out, core ? 20 : 22, height, core ? 2 : 4);
  Put(&out, core ? 22 : 26, 1, 2);
  Put(&out, core ? 24 : 28, static_cast<std::uint32_t>(layout.bits), 2);
  if (core) return out;
  Put(&out, 30, layout.compression, 4);
  if (layout.short_palette) Put(&out, 46, static_cast<std::uint32_t>(palette_entries), 4);
  if (layout.compression == kBiBitFields) {
    if (layout.header_size == 40) out.resize(out.size() + 12);
    for (int i = 0; i < 3; ++i) Put(&out, 54 + 4 * i, layout.masks[i], 4);
  }
  return out;
}

}  // namespace

std::span<const BmpVariantInfo> AllBmpVariants() {
  return kVariants;
}

std::vector<std::uint8_t> EncodeBmpVariant(BmpVariant variant, const Bitmap& picture) {
  const Layout layout = LayoutOf(variant);
  std::vector<Colour> palette;
  if (layout.bits <= 8) {
    for (const Colour colour : picture.pixels) {
      if (std::find(palette.begin(), palette.end(), colour) == palette.end()) {
        palette.push_back(colour);
      }
    }
    const std::size_t full = std::size_t{1} << layout.bits;
    if (palette.size() > full) return {};
    if (!layout.short_palette) palette.resize(full, MakeColour(0, 0, 0));
  }
  std::vector<std::uint8_t> file = Headers(layout, picture, palette.size());
  for (const Colour colour : palette) {
    Append(&file, (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF),
           layout.header_size == 12 ? 3 : 4);
  }
  file.resize(file.size() + layout.gap, 0xEE);
  Put(&file, 10, static_cast<std::uint32_t>(file.size()), 4);
  const std::vector<std::uint8_t> indices =
      palette.empty() ? std::vector<std::uint8_t>{} : Indices(layout, picture, palette);
  std::vector<std::uint8_t> data;
  if (layout.compression == kBiRle4 || layout.compression == kBiRle8) {
    const auto black = std::find(palette.begin(), palette.end(), MakeColour(0, 0, 0));
    data = EncodeRle(indices, picture.width, picture.height, layout.compression == kBiRle4,
                     black == palette.end() ? -1 : static_cast<int>(black - palette.begin()));
  } else {
    data = PackedRows(layout, picture, indices);
  }
  file.insert(file.end(), data.begin(), data.end());
  Put(&file, 2, static_cast<std::uint32_t>(file.size()), 4);
  return file;
}

}  // namespace skyplate
