#include "wizard/zielgroesse_seite.h"

#include "platform/fit_to_box.h"
#include "wizard/vorlage_seite.h"

namespace tilvendo::wizard {
namespace {

constexpr int32_t kMillimeterStellen = 1000;

}  // namespace

Papiermass PapierAusNummer(int32_t nummer) {
  return Papiermass{nummer / kMillimeterStellen, nummer % kMillimeterStellen};
}

Size ZielVorschauGroesse(const Einstellungen& einstellungen) {
  return FitToBox(einstellungen.ZielBreite, einstellungen.ZielHoehe, kVorschauBreite,
                  kVorschauHoehe);
}

bool ZielgroesseBereit(const Einstellungen& einstellungen) {
  return static_cast<int32_t>(einstellungen.ZoomX) * einstellungen.ZoomY != 0;
}

}  // namespace tilvendo::wizard
