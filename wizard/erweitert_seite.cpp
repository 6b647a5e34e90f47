#include "wizard/erweitert_seite.h"

#include "engine/methodenparameter.h"
#include "engine/vorbereitung.h"
#include "platform/fit_to_box.h"
#include "wizard/spin_wert.h"

namespace tilvendo::wizard {

Size ErweitertVorschauGroesse(const Einstellungen& einstellungen) {
  return FitToBox(einstellungen.ZielBreite, einstellungen.ZielHoehe, kErweitertVorschauBreite,
                  kErweitertVorschauHoehe);
}

Abstandsanzeige ErweitertAnwenden(Einstellungen& einstellungen, const Bildzahlen& anzahl,
                                  uint8_t berechnungsart, uint8_t musterbildung,
                                  int32_t abstandsfeld) {
  const int32_t gewuenscht = CheckSpinValue(abstandsfeld, false, 0, 0);
  ErweiterteEinstellungenSetzen(einstellungen, anzahl, berechnungsart, musterbildung, gewuenscht);
  return Abstandsanzeige{Min(AbstandsGrenze(anzahl, einstellungen), kMaxMindestabstand),
                         einstellungen.minAbstand, BenoetigteBilder(einstellungen)};
}

int ListenPosition(uint8_t wert, int eintraege) {
  return wert < eintraege ? wert : 0;
}

}  // namespace tilvendo::wizard
