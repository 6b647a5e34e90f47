#include "engine/distanz.h"

#include <cstdlib>

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

}  // namespace tilvendo
