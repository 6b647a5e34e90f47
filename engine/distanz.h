// The distance between two signatures: the mean over the sub-cells of the summed
// absolute colour differences, rounded halves to even. The matching step evaluates it
// for every preselected picture of every cell, so besides the plain form there is one
// on packed bytes that the processor compares sixteen at a time.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/kachelsignatur.h"
#include "platform/rounding.h"

namespace tilvendo {

// Room for the red, green and blue bytes of 10 × 10 sub-cells, rounded up to whole
// 16-byte blocks. Unused bytes stay zero, so they add nothing to a distance.
inline constexpr int kBlockBytes = 16;
inline constexpr int kGepackteBytes =
    (3 * kMaxFormanalyse * kMaxFormanalyse + kBlockBytes - 1) / kBlockBytes * kBlockBytes;

// The sub-cell colours of a signature as consecutive red, green, blue bytes, sub-cell
// (i, j) at 3·(i·L + j).
struct alignas(kBlockBytes) GepackteFelder {
  std::array<uint8_t, kGepackteBytes> bytes{};
};

GepackteFelder Packen(const Kachelsignatur& signatur, int formanalyse);

// Number of 16-byte blocks that hold the colours of level `formanalyse`.
int Bloecke(int formanalyse);

// `Distanz` straight from the definition (0..765). Average colours and sums do not enter.
int32_t Distanz(const Kachelsignatur& a, const Kachelsignatur& b, int formanalyse);

// total / divisor rounded to the nearest integer, halves to the even neighbour
// (non-negative operands).
inline int32_t GerundeterQuotient(int64_t total, int64_t divisor) {
  return static_cast<int32_t>(DivideRoundHalfEven(total, divisor));
}

// Sum of the absolute differences of the first `bloecke` 16-byte blocks.
inline uint32_t AbstandSumme(const GepackteFelder& a, const GepackteFelder& b, int bloecke) {
#if defined(__SSE2__)
  __m128i summe = _mm_setzero_si128();
  for (int blk = 0; blk < bloecke; ++blk) {
    const __m128i va =
        _mm_load_si128(reinterpret_cast<const __m128i*>(a.bytes.data() + blk * kBlockBytes));
    const __m128i vb =
        _mm_load_si128(reinterpret_cast<const __m128i*>(b.bytes.data() + blk * kBlockBytes));
    summe = _mm_add_epi64(summe, _mm_sad_epu8(va, vb));
  }
  return static_cast<uint32_t>(_mm_cvtsi128_si32(summe) +
                               _mm_cvtsi128_si32(_mm_unpackhi_epi64(summe, summe)));
#else
  uint32_t summe = 0;
  const int bytes = bloecke * kBlockBytes;
  for (int k = 0; k < bytes; ++k) {
    summe += static_cast<uint32_t>(std::abs(a.bytes[k] - b.bytes[k]));
  }
  return summe;
#endif
}

// The same value from packed colours; `bloecke` = Bloecke(formanalyse). Inline because
// the ranking calls it for every preselected picture of every cell; the sum stays below
// 2^17, so 32-bit arithmetic suffices.
inline int32_t Distanz(const GepackteFelder& a, const GepackteFelder& b, int formanalyse,
                       int bloecke) {
  const uint32_t total = AbstandSumme(a, b, bloecke);
  const auto divisor = static_cast<uint32_t>(formanalyse * formanalyse);
  uint32_t quotient = total / divisor;
  const uint32_t doppelterRest = 2 * (total - quotient * divisor);
  if (doppelterRest > divisor || (doppelterRest == divisor && (quotient & 1u) != 0)) ++quotient;
  return static_cast<int32_t>(quotient);
}

}  // namespace tilvendo
