#include "engine/einstellungen.h"

#include <algorithm>

namespace tilvendo {
int32_t KachelBreite(const Einstellungen& einstellungen) {
  if (einstellungen.KachelnX == 0) return 0;
  return std::max(einstellungen.ZielBreite, 0) / einstellungen.KachelnX;
}

int32_t KachelHoehe(const Einstellungen& einstellungen) {
  if (einstellungen.KachelnY == 0) return 0;
  return std::max(einstellungen.ZielHoehe, 0) / einstellungen.KachelnY;
}

int64_t BilderFuerVerwendungsgrenze(const Einstellungen& einstellungen) {
  const int64_t grenze = einstellungen.verfahren.MaxVerwendungen;
  if (grenze <= 0) return 0;
  const int64_t zellen = int64_t{einstellungen.KachelnX} * einstellungen.KachelnY;
  return (zellen + grenze - 1) / grenze;
}

Verwendungsgrenzen VerwendungsgrenzenFuer(const Einstellungen& einstellungen, int64_t fotos) {
  const int64_t zellen = int64_t{einstellungen.KachelnX} * einstellungen.KachelnY;
  const int64_t deckel = einstellungen.verfahren.MaxVerwendungen;
  Verwendungsgrenzen grenzen{0, zellen};
  if (deckel > 0) grenzen.oben = std::min(deckel, zellen);
  if (einstellungen.verfahren.JedesFoto && fotos > 0) {
    grenzen.unten = 1;
    const int64_t gleichmaessig = (zellen + fotos - 1) / fotos;
    grenzen.oben = deckel > 0 ? std::max(grenzen.oben, gleichmaessig) : gleichmaessig;
  }
  return grenzen;
}

bool MitVerwendungsgrenzen(const Einstellungen& einstellungen) {
  const int64_t zellen = int64_t{einstellungen.KachelnX} * einstellungen.KachelnY;
  const int64_t deckel = einstellungen.verfahren.MaxVerwendungen;
  return einstellungen.verfahren.JedesFoto || (deckel > 0 && deckel < zellen);
}

std::string CacheVariante(const Verfahren& verfahren) {
  // Fixed order, one letter each, so that one way always gives one name.
  std::string variante;
  if (verfahren.Aufrichten) variante += 'a';
  if (verfahren.SchnellLesen) variante += 's';
  if (verfahren.Wahrnehmung) variante += 'w';
  if (verfahren.Zuschneiden) variante += 'z';
  return variante;
}

}  // namespace tilvendo
