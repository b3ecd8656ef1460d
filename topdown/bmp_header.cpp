#include "topdown/bmp_header.h"

#include <bit>
#include <climits>
#include <cstdio>

#include "topdown/bitmap.h"

namespace skyplate {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kCoreHeaderBytes = 12;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kMaskBytes = 12;  // red, green and blue masks

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;

std::uint16_t U16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
std::uint32_t U32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(U16(bytes, at)) | static_cast<std::uint32_t>(U16(bytes, at + 2))
                                                          << 16;
}

bool Fail(std::string* error, std::string reason) {
  *error = std::move(reason);
  return false;
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

bool KnownHeaderSize(std::uint32_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// The fields the core header and the info headers share, widened to the
// info header's types.
struct RawFields {
  std::uint32_t header_size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t planes = 0;
  std::uint16_t bit_count = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colours_used = 0;
};

RawFields ReadRawFields(std::span<const std::uint8_t> head, std::uint32_t header_size) {
  RawFields raw;
  raw.header_size = header_size;
  if (header_size == kCoreHeaderBytes) {
    raw.width = U16(head, 18);
    raw.height = U16(head, 20);
    raw.planes = U16(head, 22);
    raw.bit_count = U16(head, 24);
    return raw;
  }
  raw.width = static_cast<std::int32_t>(U32(head, 18));
  raw.height = static_cast<std::int32_t>(U32(head, 22));
  raw.planes = U16(head, 26);
  raw.bit_count = U16(head, 28);
  raw.compression = U32(head, 30);
  raw.colours_used = U32(head, 46);
  return raw;
}

bool CheckSize(const RawFields& raw, std::int64_t max_pixels, BmpHeader* out, std::string* error) {
  if (raw.width <= 0) return Fail(error, "width " + std::to_string(raw.width) + " is not positive");
  if (raw.height == 0) return Fail(error, "height is zero");
  if (raw.height == INT_MIN)
    return Fail(error, "height " + std::to_string(raw.height) + " is out of range");
  out->width = raw.width;
  out->height = raw.height < 0 ? -raw.height : raw.height;
  out->top_down = raw.height < 0;
  if (out->width > max_pixels / out->height) {
    return Fail(error, "picture of " + std::to_string(out->width) + " x " +
                           std::to_string(out->height) + " pixels exceeds the limit of " +
                           std::to_string(max_pixels));
  }
  return true;
}

bool ChoosePixelFormat(const RawFields& raw, BmpHeader* out, std::string* error) {
  const int bits = raw.bit_count;
  const std::string bits_text = std::to_string(bits);
  out->bits_per_pixel = bits;
  switch (raw.compression) {
    case kBiRgb:
      if (bits == 1 || bits == 4 || bits == 8) {
        out->format = BmpPixelFormat::kIndexed;
      } else if (bits == 16 || bits == 32) {
        out->format = BmpPixelFormat::kBitFields;
      } else if (bits == 24) {
        out->format = BmpPixelFormat::kBgr24;
      } else {
        return Fail(error, "unsupported bit count " + bits_text);
      }
      return true;
    case kBiRle8:
      if (bits != 8) return Fail(error, "RLE8 compression with " + bits_text + " bits per pixel");
      out->format = BmpPixelFormat::kRle8;
      return true;
    case kBiRle4:
      if (bits != 4) return Fail(error, "RLE4 compression with " + bits_text + " bits per pixel");
      out->format = BmpPixelFormat::kRle4;
      return true;
    case kBiBitFields:
      if (bits != 16 && bits != 24 && bits != 32) {
        return Fail(error, "bit-field compression with " + bits_text + " bits per pixel");
      }
      out->format = bits == 24 ? BmpPixelFormat::kBgr24 : BmpPixelFormat::kBitFields;
      return true;
    default:
      return Fail(error, "unsupported compression " + std::to_string(raw.compression));
  }
}

bool MakeChannel(std::uint32_t mask, int bits_per_pixel, const char* name, BmpChannel* out,
                 std::string* error) {
  const std::string what = std::string("bit-field mask for ") + name;
  if (mask == 0) return Fail(error, what + " is zero");
  if (bits_per_pixel < 32 && mask >> bits_per_pixel != 0) {
    return Fail(error,
                what + " " + Hex(mask) + " exceeds " + std::to_string(bits_per_pixel) + " bits");
  }
  out->mask = mask;
  out->shift = std::countr_zero(mask);
  out->max = mask >> out->shift;
  if ((out->max & (out->max + 1)) != 0) {
    return Fail(error, what + " " + Hex(mask) + " is not contiguous");
  }
  return true;
}

bool MakeChannels(std::uint32_t red, std::uint32_t green, std::uint32_t blue, BmpHeader* out,
                  std::string* error) {
  const int bits = out->bits_per_pixel;
  if (!MakeChannel(red, bits, "red", &out->red, error) ||
      !MakeChannel(green, bits, "green", &out->green, error) ||
      !MakeChannel(blue, bits, "blue", &out->blue, error)) {
    return false;
  }
  if ((red & green) != 0 || (red & blue) != 0 || (green & blue) != 0) {
    return Fail(error, "bit-field masks overlap");
  }
  return true;
}

// Reads the masks of a BI_BITFIELDS file, or sets the implied ones of a
// BI_RGB file, and returns where the headers and masks end.
bool ReadMasks(std::span<const std::uint8_t> head, const RawFields& raw, BmpHeader* out,
               std::size_t* end, std::string* error) {
  *end = kFileHeaderBytes + raw.header_size;
  if (raw.compression != kBiBitFields) {
    if (out->bits_per_pixel == 16) return MakeChannels(0x7C00, 0x03E0, 0x001F, out, error);
    if (out->bits_per_pixel == 32) return MakeChannels(0xFF0000, 0xFF00, 0xFF, out, error);
    return true;
  }
  // The masks follow a 40-byte header and sit inside the longer ones, at the
  // same place either way.
  const std::size_t at = kFileHeaderBytes + kInfoHeaderBytes;
  if (raw.header_size == kInfoHeaderBytes) {
    *end += kMaskBytes;
    if (head.size() < *end) return Fail(error, "file is shorter than its bit-field masks");
  }
  const std::uint32_t red = U32(head, at), green = U32(head, at + 4), blue = U32(head, at + 8);
  if (out->format == BmpPixelFormat::kBgr24) {
    if (red != 0xFF0000 || green != 0xFF00 || blue != 0xFF) {
      return Fail(error, "24-bit picture with other than the standard bit-field masks");
    }
    return true;
  }
  return MakeChannels(red, green, blue, out, error);
}

bool ReadPalette(std::span<const std::uint8_t> head, const RawFields& raw, std::size_t at,
                 BmpHeader* out, std::string* error) {
  if (out->format != BmpPixelFormat::kIndexed && out->format != BmpPixelFormat::kRle4 &&
      out->format != BmpPixelFormat::kRle8) {
    return true;
  }
  const std::uint32_t full = std::uint32_t{1} << out->bits_per_pixel;
  const std::uint32_t count = raw.colours_used == 0 ? full : raw.colours_used;
  if (count > full) {
    return Fail(error, "palette of " + std::to_string(count) + " colours is too large for " +
                           std::to_string(out->bits_per_pixel) + " bits per pixel");
  }
  const std::size_t entry_bytes = raw.header_size == kCoreHeaderBytes ? 3 : 4;
  if (head.size() < at + count * entry_bytes)
    return Fail(error, "file is shorter than its palette");
  out->palette.resize(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = head.data() + at + i * entry_bytes;  // blue, green, red
    out->palette[i] = MakeColour(entry[2], entry[1], entry[0]);
  }
  return true;
}

// Sizes the pixel data. RLE data is capped at what a sensible encoder
// writes: at most 2 bytes a pixel (runs of one, or absolute runs of three
// or more with their padding), an end of line for each row and the end of
// the bitmap.
void SizePixelData(BmpHeader* out) {
  const auto width = static_cast<std::uint64_t>(out->width);
  const auto height = static_cast<std::uint64_t>(out->height);
  if (out->format == BmpPixelFormat::kRle4 || out->format == BmpPixelFormat::kRle8) {
    out->pixel_bytes = 2 * (width * height + height + 1);
    return;
  }
  out->row_stride = (width * static_cast<std::uint64_t>(out->bits_per_pixel) + 31) / 32 * 4;
  out->pixel_bytes = out->row_stride * height;
}

}  // namespace

bool LookUpPalette(const BmpHeader& header, std::uint32_t index, Colour* colour,
                   std::string* error) {
  if (index >= header.palette.size()) {
    return Fail(error, "palette index " + std::to_string(index) + " beyond a palette of " +
                           std::to_string(header.palette.size()) + " colours");
  }
  *colour = header.palette[index];
  return true;
}

bool ReadBmpHeader(std::span<const std::uint8_t> head, BmpHeader* out, std::string* error,
                   std::int64_t max_pixels) {
  *out = BmpHeader{};
  if (head.size() < 2 || head[0] != 'B' || head[1] != 'M') {
    return Fail(error, "not a BMP file (no BM signature)");
  }
  if (head.size() < kFileHeaderBytes + 4) return Fail(error, "file is shorter than its header");
  const std::uint32_t header_size = U32(head, kFileHeaderBytes);
  if (!KnownHeaderSize(header_size)) {
    return Fail(error, "unsupported header size " + std::to_string(header_size));
  }
  if (head.size() < kFileHeaderBytes + header_size) {
    return Fail(error, "file is shorter than its header");
  }
  const RawFields raw = ReadRawFields(head, header_size);
  if (raw.planes != 1) {
    return Fail(error, "number of colour planes is " + std::to_string(raw.planes) + ", not 1");
  }
  if (!CheckSize(raw, max_pixels, out, error) || !ChoosePixelFormat(raw, out, error)) return false;
  const bool rle = out->format == BmpPixelFormat::kRle4 || out->format == BmpPixelFormat::kRle8;
  if (rle && out->top_down) return Fail(error, "RLE-compressed picture stored top-down");
  std::size_t headers_end = 0;
  if (!ReadMasks(head, raw, out, &headers_end, error) ||
      !ReadPalette(head, raw, headers_end, out, error)) {
    return false;
  }
  out->pixel_offset = U32(head, 10);
  if (out->pixel_offset < headers_end) {
    return Fail(error, "pixel data offset " + std::to_string(out->pixel_offset) +
                           " lies inside the header");
  }
  SizePixelData(out);
  return true;
}

}  // namespace skyplate
