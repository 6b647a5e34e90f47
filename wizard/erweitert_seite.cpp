#include "wizard/erweitert_seite.h"

#include "engine/vorbereitung.h"
#include "platform/fit_to_box.h"
#include "platform/translate.h"
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
  // A usage cap may ask for more distinct pictures than the distance rule does; the
  // start counts by the same rule.
  const Bilderbedarf bedarf = BilderbedarfErmitteln(einstellungen);
  return Abstandsanzeige{Min(AbstandsGrenze(anzahl, einstellungen), kMaxMindestabstand),
                         einstellungen.minAbstand, static_cast<int32_t>(bedarf.mindestens),
                         bedarf.hoechstens};
}

std::string BenoetigteBilderText(const Abstandsanzeige& anzeige) {
  std::string text = std::to_string(anzeige.benoetigteBilder);
  if (anzeige.hoechstensBilder != kKeineObergrenze) {
    text += Format(_(" bis {}"), anzeige.hoechstensBilder);
  }
  return text;
}

void AehnlicheMosaikeEinstellen(Verfahren& verfahren) {
  verfahren.Wahrnehmung = true;
  verfahren.Farbangleich = kAehnlichFarbangleich;
  verfahren.Zuschneiden = true;
}

int ListenPosition(uint8_t wert, int eintraege) {
  return wert < eintraege ? wert : 0;
}

}  // namespace tilvendo::wizard
