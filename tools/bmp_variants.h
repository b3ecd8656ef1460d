// Encoders of a picture as every BMP variant the decoder reads: test fixtures
// and seeds for fuzzing corpora.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "topdown/bitmap.h"

namespace skyplate {

enum class BmpVariant {
  kPalette1,
  kPalette4,
  kPalette8,
  kPalette8Short,  // only the colours used, counted in biClrUsed
  kRle4,           // with deltas, ends of line and absolute runs
  kRle8,
  kRgb555,  // 16 bits, the implied 5-5-5 masks
  kBitFields565,
  kBgr24BottomUp,
  kBgr24TopDown,
  kBitFields24,         // 24 bits marked BI_BITFIELDS with the standard masks
  kRgb32,               // the spare fourth byte is not zero
  kBitFields32Unusual,  // masks in an unusual order, one byte unused
  kCoreHeader8,         // 12-byte header, 3-byte palette entries
  kCoreHeader24,
  kHeader52BitFields565,  // the masks inside the header
  kHeader56Rgb32,
  kV4Header24,
  kV5HeaderBitFields32,
  kOffsetGap24,  // unused bytes between the headers and the pixel data
};

struct BmpVariantInfo {
  BmpVariant variant;
  const char* name;  // short and unique, fit for test and file names
  int max_colours;   // distinct colours the variant holds; 0 for any number
  int channel_bits;  // bits the narrowest channel keeps; 8 when exact
};

std::span<const BmpVariantInfo> AllBmpVariants();

// `picture` as a BMP file of `variant`. Palette variants take the picture's
// colours in order of first appearance; empty when the picture has more than
// the variant's max_colours. Channels of fewer than 8 bits are rounded to the
// nearest value. RLE variants skip runs of black with deltas and ends of line.
std::vector<std::uint8_t> EncodeBmpVariant(BmpVariant variant, const Bitmap& picture);

}  // namespace skyplate
