// Sixteen picture pixels at a time with AVX2: the mask's channels and the
// tiles' planes go into 16-bit lanes, all three blend steps run in registers,
// and the finished pixels go back in their stored form. The arithmetic is the
// exact integer form that plane_blend.cpp explains. Built with -mavx2 and
// only called on processors that have it.

#include "topdown/row_compositor_avx2.h"

#include <immintrin.h>

#include <array>

namespace skyplate {
namespace {

using ShuffleMask = std::array<std::int8_t, 16>;

// pshufb masks that gather channel `channel` of 16 pixels of `bytes` bytes
// each from the 16-byte chunk `chunk` of their stored form.
constexpr ShuffleMask GatherChannel(int bytes, int channel, int chunk) {
  ShuffleMask mask{};
  for (int pixel = 0; pixel < 16; ++pixel) {
    const int at = pixel * bytes + channel - chunk * 16;
    mask[pixel] = static_cast<std::int8_t>(at >= 0 && at < 16 ? at : -128);
  }
  return mask;
}

// pshufb masks that place channel `channel` of 16 pixels into the 16-byte
// chunk `chunk` of their stored form of `bytes` bytes a pixel.
constexpr ShuffleMask ScatterChannel(int bytes, int channel, int chunk) {
  ShuffleMask mask{};
  for (int j = 0; j < 16; ++j) {
    const int at = chunk * 16 + j;
    mask[j] = static_cast<std::int8_t>(at % bytes == channel ? at / bytes : -128);
  }
  return mask;
}

__m128i Mask(const ShuffleMask& mask) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask.data()));
}

// Pixel layouts: where red, green and blue sit in a pixel's bytes.
struct BgrLayout {
  static constexpr int kBytes = 3;
  static constexpr int kRed = 2, kGreen = 1, kBlue = 0;
};
struct ColourLayout {
  static constexpr int kBytes = 4;
  static constexpr int kRed = 0, kGreen = 1, kBlue = 2;
};

template <typename Layout>
struct Shuffles {
  static constexpr int kChunks = Layout::kBytes;  // 16 pixels fill this many chunks
  std::array<std::array<ShuffleMask, kChunks>, Layout::kBytes> gather{}, scatter{};
  constexpr Shuffles() {
    for (int channel = 0; channel < Layout::kBytes; ++channel) {
      for (int chunk = 0; chunk < kChunks; ++chunk) {
        gather[channel][chunk] = GatherChannel(Layout::kBytes, channel, chunk);
        scatter[channel][chunk] = ScatterChannel(Layout::kBytes, channel, chunk);
      }
    }
  }
};

template <typename Layout>
constexpr Shuffles<Layout> kShuffles{};

// Channel `channel` of 16 stored pixels, as 16-bit lanes.
template <typename Layout>
__m256i LoadChannel(const std::uint8_t* pixels, int channel) {
  __m128i gathered = _mm_setzero_si128();
  for (int chunk = 0; chunk < Layout::kBytes; ++chunk) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 16 * chunk));
    gathered = _mm_or_si128(
        gathered, _mm_shuffle_epi8(bytes, Mask(kShuffles<Layout>.gather[channel][chunk])));
  }
  return _mm256_cvtepu8_epi16(gathered);
}

// Stores 16 pixels from their three channels (16-bit lanes holding bytes);
// a fourth byte of a pixel is written as 0.
template <typename Layout>
void StorePixels(const __m256i (&channels)[3], std::uint8_t* pixels) {
  __m128i bytes[4] = {};  // by position in the pixel
  const int positions[3] = {Layout::kRed, Layout::kGreen, Layout::kBlue};
  for (int c = 0; c < 3; ++c) {
    bytes[positions[c]] = _mm_packus_epi16(_mm256_castsi256_si128(channels[c]),
                                           _mm256_extracti128_si256(channels[c], 1));
  }
  for (int chunk = 0; chunk < Layout::kBytes; ++chunk) {
    __m128i out = _mm_setzero_si128();
    for (int position = 0; position < Layout::kBytes; ++position) {
      out = _mm_or_si128(
          out, _mm_shuffle_epi8(bytes[position], Mask(kShuffles<Layout>.scatter[position][chunk])));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + 16 * chunk), out);
  }
}

__m256i LoadPlane(const std::uint8_t* plane) {
  return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(plane)));
}

// BlendPercent of sixteen mask values: 100 - round(100 m / 255), where
// round(t / 255) for t = 100 m + 127 < 65280 is (t + 1 + (t >> 8)) >> 8.
__m256i Percent(__m256i mask) {
  const __m256i t =
      _mm256_add_epi16(_mm256_mullo_epi16(mask, _mm256_set1_epi16(100)), _mm256_set1_epi16(127));
  const __m256i rounded = _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_add_epi16(t, _mm256_set1_epi16(1)), _mm256_srli_epi16(t, 8)), 8);
  return _mm256_sub_epi16(_mm256_set1_epi16(100), rounded);
}

// All ones where a tie rounds down: the weights' error is negative, or zero
// with an even quotient, which is odd once rounded up.
__m256i TieRoundsDown(__m256i below, __m256i over, __m256i errors_low, __m256i errors_high,
                      __m256i rounded_up) {
  const __m256i low = _mm256_madd_epi16(_mm256_unpacklo_epi16(below, over), errors_low);
  const __m256i high = _mm256_madd_epi16(_mm256_unpackhi_epi16(below, over), errors_high);
  const __m256i zero = _mm256_setzero_si256();
  const __m256i negative =
      _mm256_packs_epi32(_mm256_cmpgt_epi32(zero, low), _mm256_cmpgt_epi32(zero, high));
  const __m256i exact =
      _mm256_packs_epi32(_mm256_cmpeq_epi32(low, zero), _mm256_cmpeq_epi32(high, zero));
  const __m256i odd =
      _mm256_cmpeq_epi16(_mm256_and_si256(rounded_up, _mm256_set1_epi16(1)), _mm256_set1_epi16(1));
  return _mm256_or_si256(negative, _mm256_and_si256(exact, odd));
}

// One blend step over sixteen pixels: `below` (three channels) becomes the
// blend of below and `over` as the mask values say. Inlined: called, it
// passed the channels through memory, which cost the noisiest masks a tenth.
[[gnu::always_inline]] inline void BlendStep(__m256i mask, const __m256i (&over)[3],
                                             __m256i (&below)[3], const BlendTerms& terms) {
  const __m256i percent = Percent(mask);
  const __m256i rest = _mm256_sub_epi16(_mm256_set1_epi16(100), percent);
  __m256i rounded[3], tie[3];
  __m256i any_tie = _mm256_setzero_si256();
  for (int c = 0; c < 3; ++c) {
    // h = n + 50 <= 25550, where h * 5243 >> 19 is h / 100: n / 100 rounded
    // half up. A tie, n mod 100 = 50, leaves h a multiple of 100.
    const __m256i h = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(below[c], percent), _mm256_mullo_epi16(over[c], rest)),
        _mm256_set1_epi16(50));
    rounded[c] = _mm256_srli_epi16(_mm256_mulhi_epu16(h, _mm256_set1_epi16(5243)), 3);
    tie[c] = _mm256_cmpeq_epi16(h, _mm256_mullo_epi16(rounded[c], _mm256_set1_epi16(100)));
    any_tie = _mm256_or_si256(any_tie, tie[c]);
  }
  if (_mm256_testz_si256(any_tie, any_tie)) {
    for (int c = 0; c < 3; ++c) below[c] = rounded[c];
    return;
  }
  // unpacklo and unpackhi put pixels 0-3 and 8-11, and 4-7 and 12-15, in
  // the order in which madd pairs (below, over).
  const __m256i zero = _mm256_setzero_si256();
  const auto* table = reinterpret_cast<const int*>(terms.error_pairs);
  const __m256i errors_low = _mm256_i32gather_epi32(table, _mm256_unpacklo_epi16(percent, zero), 4);
  const __m256i errors_high =
      _mm256_i32gather_epi32(table, _mm256_unpackhi_epi16(percent, zero), 4);
  for (int c = 0; c < 3; ++c) {
    const __m256i down = TieRoundsDown(below[c], over[c], errors_low, errors_high, rounded[c]);
    // Compare results are -1 where true: adding takes one off.
    below[c] = _mm256_add_epi16(rounded[c], _mm256_and_si256(tie[c], down));
  }
}

template <typename Layout>
int ComposeBlocks(const std::uint8_t* mask, const ConstPlanes (&tiles)[4], int count,
                  std::uint8_t* out) {
  const BlendTerms& terms = GetBlendTerms();
  const int blocks = count / 16;
  const int mask_channels[3] = {Layout::kRed, Layout::kGreen, Layout::kBlue};
  for (int block = 0; block < blocks; ++block) {
    const int i = block * 16;
    __m256i below[3] = {LoadPlane(tiles[0].red + i), LoadPlane(tiles[0].green + i),
                        LoadPlane(tiles[0].blue + i)};
    for (int step = 0; step < 3; ++step) {
      const __m256i m = LoadChannel<Layout>(mask + i * Layout::kBytes, mask_channels[step]);
      // Mask values 0 and 1 leave the colour underneath and 254 and 255
      // replace it, which realistic masks have over large areas: nothing to
      // compute.
      if (_mm256_testz_si256(m, _mm256_set1_epi16(0xFE))) continue;
      const ConstPlanes& tile = tiles[step + 1];
      const __m256i over[3] = {LoadPlane(tile.red + i), LoadPlane(tile.green + i),
                               LoadPlane(tile.blue + i)};
      if (_mm256_movemask_epi8(_mm256_cmpgt_epi16(m, _mm256_set1_epi16(253))) == -1) {
        for (int c = 0; c < 3; ++c) below[c] = over[c];
        continue;
      }
      BlendStep(m, over, below, terms);
    }
    StorePixels<Layout>(below, out + i * Layout::kBytes);
  }
  return blocks * 16;
}

}  // namespace

int ComposeBlocksAvx2(const BgrPixel* mask, const ConstPlanes (&tiles)[4], int count,
                      BgrPixel* out) {
  return ComposeBlocks<BgrLayout>(reinterpret_cast<const std::uint8_t*>(mask), tiles, count,
                                  reinterpret_cast<std::uint8_t*>(out));
}

int ComposeBlocksAvx2(const Colour* mask, const ConstPlanes (&tiles)[4], int count, Colour* out) {
  return ComposeBlocks<ColourLayout>(reinterpret_cast<const std::uint8_t*>(mask), tiles, count,
                                     reinterpret_cast<std::uint8_t*>(out));
}

}  // namespace skyplate
