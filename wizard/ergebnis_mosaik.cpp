#include "wizard/ergebnis_mosaik.h"

#include "engine/grossformat.h"

namespace tilvendo::wizard {

bool ErgebnisVorhanden(const Auftrag& auftrag) {
  if (auftrag.MosaikBild) return true;
  return auftrag.MosaikInBaendern && auftrag.ErgebnisFertig && !auftrag.AnzeigeBild.empty() &&
         auftrag.einstellungen.Raster != nullptr;
}

Size ErgebnisGroesse(const Auftrag& auftrag) {
  if (auftrag.MosaikBild) return Size{auftrag.MosaikBild->width(), auftrag.MosaikBild->height()};
  if (!ErgebnisVorhanden(auftrag)) return {};
  return Mosaikgroesse(auftrag.einstellungen);
}

Mosaikraster ErgebnisRaster(const Auftrag& auftrag) {
  const Zellenraster* raster = auftrag.einstellungen.Raster.get();
  if (raster == nullptr || raster->kachelnX() <= 0 || raster->kachelnY() <= 0) return {};
  const Size groesse = ErgebnisGroesse(auftrag);
  // The mosaic is a whole number of equal tiles.
  return Mosaikraster{Size{groesse.width / raster->kachelnX(), groesse.height / raster->kachelnY()},
                      raster->kachelnX(), raster->kachelnY()};
}

}  // namespace tilvendo::wizard
