// The distance between two signatures: the mean over the sub-cells of the summed
// absolute colour differences, rounded halves to even. The matching step evaluates it
// for every preselected picture of every cell, so besides the plain form there is one
// on packed bytes that the processor compares sixteen at a time.
#pragma once

#include <array>
#include <cstdint>

#include "engine/kachelsignatur.h"

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

// The same value from packed colours; `bloecke` = Bloecke(formanalyse).
int32_t Distanz(const GepackteFelder& a, const GepackteFelder& b, int formanalyse, int bloecke);

// total / divisor rounded to the nearest integer, halves to the even neighbour
// (non-negative operands).
inline int32_t GerundeterQuotient(int64_t total, int64_t divisor) {
  int64_t quotient = total / divisor;
  const int64_t doppelterRest = 2 * (total % divisor);
  if (doppelterRest > divisor || (doppelterRest == divisor && quotient % 2 != 0)) ++quotient;
  return static_cast<int32_t>(quotient);
}

}  // namespace tilvendo
