#include "wizard/fensterlage.h"

#include <algorithm>

namespace tilvendo::wizard {
namespace {

// One direction: moved back by what reaches beyond the far edge, but never before the
// near one.
int32_t Halten(int32_t anfang, int32_t laenge, int32_t freiAnfang, int32_t freiEnde) {
  const int32_t zurueck = std::max(anfang + laenge - freiEnde, 0);
  return std::max(anfang - zurueck, freiAnfang);
}

}  // namespace

Lage FensterZentrieren(Size bildschirm, Size fenster) {
  return Lage{(bildschirm.width - fenster.width) / 2, (bildschirm.height - fenster.height) / 2};
}

Size FensterRaum(Rect frei, Lage lage) {
  return Size{frei.right - std::max(lage.links, frei.left),
              frei.bottom - std::max(lage.oben, frei.top)};
}

Size FensterGroesse(Size bisher, Size wunsch, Size mindest, Size raum, bool vomBenutzer) {
  const bool gesetzt = bisher.width > 0 && bisher.height > 0;
  const auto seite = [&](int32_t alt, int32_t gewuenscht, int32_t wenigstens, int32_t platz) {
    int32_t groesse = !gesetzt ? gewuenscht : vomBenutzer ? alt : std::max(alt, gewuenscht);
    groesse = std::min(groesse, platz);
    return std::max(groesse, wenigstens);
  };
  return Size{seite(bisher.width, wunsch.width, mindest.width, raum.width),
              seite(bisher.height, wunsch.height, mindest.height, raum.height)};
}

Lage FensterHalten(Rect frei, Lage bisher, Size fenster) {
  return Lage{Halten(bisher.links, fenster.width, frei.left, frei.right),
              Halten(bisher.oben, fenster.height, frei.top, frei.bottom)};
}

}  // namespace tilvendo::wizard
