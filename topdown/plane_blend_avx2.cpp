// BlendPlanes sixteen pixels at a time with AVX2, in the exact integer form
// that plane_blend.cpp explains. Built with -mavx2 and only called on
// processors that have it.

#include <immintrin.h>

#include <cstring>

#include "topdown/plane_blend.h"

namespace skyplate {
namespace {

struct Lanes {
  __m256i quotient;  // N / 100
  __m256i above;     // all ones where N mod 100 > 50
  __m256i tie;       // all ones where N mod 100 == 50
};

__m256i Load16(const std::uint8_t* bytes) {
  return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)));
}

void Store16(__m256i words, std::uint8_t* bytes) {
  const __m128i packed =
      _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), packed);
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

Lanes Divide(__m256i below, __m256i over, __m256i percent, __m256i rest) {
  const __m256i n =
      _mm256_add_epi16(_mm256_mullo_epi16(below, percent), _mm256_mullo_epi16(over, rest));
  // n <= 25500, where n * 5243 >> 19 is n / 100.
  const __m256i quotient = _mm256_srli_epi16(_mm256_mulhi_epu16(n, _mm256_set1_epi16(5243)), 3);
  const __m256i remainder =
      _mm256_sub_epi16(n, _mm256_mullo_epi16(quotient, _mm256_set1_epi16(100)));
  return {quotient, _mm256_cmpgt_epi16(remainder, _mm256_set1_epi16(50)),
          _mm256_cmpeq_epi16(remainder, _mm256_set1_epi16(50))};
}

// All ones where a tie rounds up: the weights' error is positive, or zero
// with an odd quotient.
__m256i TieRoundsUp(__m256i below, __m256i over, __m256i errors_low, __m256i errors_high,
                    __m256i quotient) {
  const __m256i low = _mm256_madd_epi16(_mm256_unpacklo_epi16(below, over), errors_low);
  const __m256i high = _mm256_madd_epi16(_mm256_unpackhi_epi16(below, over), errors_high);
  const __m256i zero = _mm256_setzero_si256();
  const __m256i positive =
      _mm256_packs_epi32(_mm256_cmpgt_epi32(low, zero), _mm256_cmpgt_epi32(high, zero));
  const __m256i exact =
      _mm256_packs_epi32(_mm256_cmpeq_epi32(low, zero), _mm256_cmpeq_epi32(high, zero));
  const __m256i odd =
      _mm256_cmpeq_epi16(_mm256_and_si256(quotient, _mm256_set1_epi16(1)), _mm256_set1_epi16(1));
  return _mm256_or_si256(positive, _mm256_and_si256(exact, odd));
}

}  // namespace

void BlendPlanesAvx2(const std::uint8_t* mask, ConstPlanes over, Planes below, int count) {
  const BlendTerms& terms = GetBlendTerms();
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m256i percent = Percent(Load16(mask + i));
    const __m256i rest = _mm256_sub_epi16(_mm256_set1_epi16(100), percent);

    std::uint8_t* below_planes[3] = {below.red + i, below.green + i, below.blue + i};
    const std::uint8_t* over_planes[3] = {over.red + i, over.green + i, over.blue + i};
    __m256i below_words[3], over_words[3];
    Lanes lanes[3];
    __m256i any_tie = _mm256_setzero_si256();
    for (int c = 0; c < 3; ++c) {
      below_words[c] = Load16(below_planes[c]);
      over_words[c] = Load16(over_planes[c]);
      lanes[c] = Divide(below_words[c], over_words[c], percent, rest);
      any_tie = _mm256_or_si256(any_tie, lanes[c].tie);
    }
    __m256i errors_low = _mm256_setzero_si256(), errors_high = _mm256_setzero_si256();
    const bool has_tie = !_mm256_testz_si256(any_tie, any_tie);
    if (has_tie) {
      // unpacklo and unpackhi put pixels 0-3 and 8-11, and 4-7 and 12-15,
      // in the order in which madd pairs (below, over) below.
      const __m256i zero = _mm256_setzero_si256();
      const auto* table = reinterpret_cast<const int*>(terms.error_pairs);
      errors_low = _mm256_i32gather_epi32(table, _mm256_unpacklo_epi16(percent, zero), 4);
      errors_high = _mm256_i32gather_epi32(table, _mm256_unpackhi_epi16(percent, zero), 4);
    }
    for (int c = 0; c < 3; ++c) {
      __m256i up = lanes[c].above;
      if (has_tie) {
        const __m256i tie_up =
            TieRoundsUp(below_words[c], over_words[c], errors_low, errors_high, lanes[c].quotient);
        up = _mm256_or_si256(up, _mm256_and_si256(lanes[c].tie, tie_up));
      }
      // Compare results are -1 where true: subtracting adds one.
      Store16(_mm256_sub_epi16(lanes[c].quotient, up), below_planes[c]);
    }
  }
  if (i < count) {
    BlendPlanesPortable(mask + i, {over.red + i, over.green + i, over.blue + i},
                        {below.red + i, below.green + i, below.blue + i}, count - i);
  }
}

}  // namespace skyplate
