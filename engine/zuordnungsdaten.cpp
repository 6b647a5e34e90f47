#include "engine/zuordnungsdaten.h"

namespace tilvendo {

Zuordnungsdaten::Zuordnungsdaten(const Zellenraster& raster, const Helligkeitsreihe& reihe,
                                 std::vector<int32_t> fotoRang, int formanalyse)
    : raster_(raster),
      reihe_(reihe),
      fotoRang_(std::move(fotoRang)),
      formanalyse_(formanalyse),
      bloecke_(Bloecke(formanalyse)),
      zellFelder_(static_cast<size_t>(raster.kachelnX()) * static_cast<size_t>(raster.kachelnY())),
      zellSummen_(zellFelder_.size()) {
  fotoSummen_.reserve(fotoRang_.size());
  for (size_t p = 0; p < fotoRang_.size(); ++p) {
    fotoSummen_.push_back(FarbsummenVon(FotoFelder(static_cast<int32_t>(p)), formanalyse_));
  }
}

const Kachelsignatur& Zuordnungsdaten::Signatur(size_t zelle) const {
  const auto zeilen = static_cast<size_t>(raster_.kachelnY());
  return raster_.at(static_cast<int>(zelle / zeilen) + 1, static_cast<int>(zelle % zeilen) + 1)
      .signatur;
}

void Zuordnungsdaten::ZelleVermessen(size_t zelle) {
  zellFelder_[zelle] = Packen(Signatur(zelle), formanalyse_);
  zellSummen_[zelle] = FarbsummenVon(zellFelder_[zelle], formanalyse_);
}

}  // namespace tilvendo
