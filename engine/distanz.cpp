#include "engine/distanz.h"

#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tilvendo {

GepackteFelder Packen(const Kachelsignatur& signatur, int formanalyse) {
  GepackteFelder gepackt;
  size_t k = 0;
  for (int i = 0; i < formanalyse; ++i) {
    for (int j = 0; j < formanalyse; ++j) {
      const Feld& feld = signatur.Felder[i][j];
      gepackt.bytes[k++] = feld.Rot;
      gepackt.bytes[k++] = feld.Gruen;
      gepackt.bytes[k++] = feld.Blau;
    }
  }
  return gepackt;
}

int Bloecke(int formanalyse) {
  return (3 * formanalyse * formanalyse + kBlockBytes - 1) / kBlockBytes;
}

int32_t Distanz(const Kachelsignatur& a, const Kachelsignatur& b, int formanalyse) {
  int64_t total = 0;
  for (int i = 0; i < formanalyse; ++i) {
    for (int j = 0; j < formanalyse; ++j) {
      const Feld& fa = a.Felder[i][j];
      const Feld& fb = b.Felder[i][j];
      total +=
          std::abs(fa.Rot - fb.Rot) + std::abs(fa.Gruen - fb.Gruen) + std::abs(fa.Blau - fb.Blau);
    }
  }
  return GerundeterQuotient(total, static_cast<int64_t>(formanalyse) * formanalyse);
}

int32_t Distanz(const GepackteFelder& a, const GepackteFelder& b, int formanalyse, int bloecke) {
  int64_t total = 0;
#if defined(__SSE2__)
  // Sum of absolute differences of 16 bytes at a time into two 64-bit lanes.
  __m128i summe = _mm_setzero_si128();
  for (int blk = 0; blk < bloecke; ++blk) {
    const __m128i va =
        _mm_load_si128(reinterpret_cast<const __m128i*>(a.bytes.data() + blk * kBlockBytes));
    const __m128i vb =
        _mm_load_si128(reinterpret_cast<const __m128i*>(b.bytes.data() + blk * kBlockBytes));
    summe = _mm_add_epi64(summe, _mm_sad_epu8(va, vb));
  }
  total = _mm_cvtsi128_si32(summe) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(summe, summe));
#else
  const int bytes = bloecke * kBlockBytes;
  for (int k = 0; k < bytes; ++k) total += std::abs(a.bytes[k] - b.bytes[k]);
#endif
  return GerundeterQuotient(total, static_cast<int64_t>(formanalyse) * formanalyse);
}

}  // namespace tilvendo
