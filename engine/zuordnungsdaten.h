// What the matching under usage limits knows of the cells and the photos: their packed
// colours and colour sums, the distance of any pair, each cell's nearest photos from its
// ranking and, for photos that must be used, their nearest cells. Cells are counted
// column by column from 0; photos are the files of the tile list, numbered from 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/abgleich.h"
#include "engine/distanz.h"
#include "engine/einstellungen.h"
#include "engine/paarsuche.h"

namespace tilvendo {

// Partners (photos of a cell, or cells of a photo) with their distances, nearest first.
struct Partnerliste {
  std::vector<int32_t> partner;
  std::vector<int32_t> distanz;
};

class Zuordnungsdaten {
 public:
  // `fotoRang`: per photo the position of its signature in `reihe`.
  Zuordnungsdaten(const Zellenraster& raster, const Helligkeitsreihe& reihe,
                  std::vector<int32_t> fotoRang, int formanalyse);

  size_t Zellen() const { return zellFelder_.size(); }
  size_t Fotos() const { return fotoRang_.size(); }
  int Formanalyse() const { return formanalyse_; }
  int KachelnX() const { return raster_.kachelnX(); }
  int KachelnY() const { return raster_.kachelnY(); }

  const Kachelsignatur& Signatur(size_t zelle) const;
  // Packs the colours of cell `zelle` and sums them; cells may be measured in parallel.
  void ZelleVermessen(size_t zelle);

  const GepackteFelder& ZellFelder(size_t zelle) const { return zellFelder_[zelle]; }
  const GepackteFelder& FotoFelder(int32_t foto) const {
    return reihe_.Felder()[static_cast<size_t>(fotoRang_[static_cast<size_t>(foto)])];
  }
  const Farbsummen& ZellSummen(size_t zelle) const { return zellSummen_[zelle]; }
  const Farbsummen& FotoSummen(int32_t foto) const {
    return fotoSummen_[static_cast<size_t>(foto)];
  }
  const std::vector<Farbsummen>& AlleFotoSummen() const { return fotoSummen_; }
  const std::vector<Farbsummen>& AlleZellSummen() const { return zellSummen_; }
  int32_t FotoRang(int32_t foto) const { return fotoRang_[static_cast<size_t>(foto)]; }

  int32_t Distanz(size_t zelle, int32_t foto) const {
    return tilvendo::Distanz(zellFelder_[zelle], FotoFelder(foto), formanalyse_, bloecke_);
  }

  std::vector<Partnerliste> naheFotos;   // per cell: its nearest photos by its ranking
  std::vector<Partnerliste> naheZellen;  // per photo that must be used: its nearest cells

 private:
  const Zellenraster& raster_;
  const Helligkeitsreihe& reihe_;
  std::vector<int32_t> fotoRang_;
  int formanalyse_;
  int bloecke_;
  std::vector<GepackteFelder> zellFelder_;
  std::vector<Farbsummen> zellSummen_;
  std::vector<Farbsummen> fotoSummen_;
};

}  // namespace tilvendo
