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

Lage FensterHalten(Rect frei, Lage bisher, Size fenster) {
  return Lage{Halten(bisher.links, fenster.width, frei.left, frei.right),
              Halten(bisher.oben, fenster.height, frei.top, frei.bottom)};
}

}  // namespace tilvendo::wizard
