// The extended settings page without Qt: what its controls show after each change, and
// the box its distance-rule preview is fitted into.
#pragma once

#include <cstdint>
#include <string>

#include "albums/bildzahlen.h"
#include "engine/einstellungen.h"
#include "engine/methodenparameter.h"
#include "platform/rect.h"
#include "platform/translate.h"

namespace tilvendo::wizard {

// The box the preview is fitted into.
inline constexpr int32_t kErweitertVorschauBreite = 190;
inline constexpr int32_t kErweitertVorschauHoehe = 120;

// The preview takes the proportions of the result; empty while no result size is chosen.
Size ErweitertVorschauGroesse(const Einstellungen& einstellungen);

// What the page shows once its choices are applied.
struct Abstandsanzeige {
  int32_t obergrenze = 0;        // the distance box's upper bound
  int32_t minAbstand = 0;        // the distance box's value
  int32_t benoetigteBilder = 0;  // "benötigte Bilder zum Erstellen des Mosaiks:"
  // With every photo at least once: the most pictures the job can show, one per cell.
  int64_t hoechstensBilder = kKeineObergrenze;
  friend bool operator==(const Abstandsanzeige&, const Abstandsanzeige&) = default;
};

// The text after "benötigte Bilder zum Erstellen des Mosaiks:": the needed count, and
// with every photo at least once the most pictures as well ("25 bis 1200").
std::string BenoetigteBilderText(const Abstandsanzeige& anzeige);

// Applies the page's method, pattern handling and distance box value to the job, as
// every change on the page does: both tables for the available pictures, the distance
// read like every spin box and lowered to the bound that grid and pictures allow.
// Applying all three on every change keeps the derived numbers (Kandidatenzahl follows
// the needed count) consistent whichever control changed last.
Abstandsanzeige ErweitertAnwenden(Einstellungen& einstellungen, const Bildzahlen& anzahl,
                                  uint8_t berechnungsart, uint8_t musterbildung,
                                  int32_t abstandsfeld);

// "für möglichst ähnliche Mosaike": the ways of reading and matching the photos that
// together bring a mosaic closest to its template, at about the same speed: colours
// compared as the eye sees them, each tile's colours moved halfway to its cell's, and
// photos cut to the tiles' shape. The other ways stay as they are; the user may change
// each afterwards.
inline constexpr uint8_t kAehnlichFarbangleich = 50;
void AehnlicheMosaikeEinstellen(Verfahren& verfahren);
// The button's caption, and its hint: what each of the ways it sets does.
inline constexpr const char* kAehnlichKnopf = N_("für möglichst ähnliche Mosaike");
inline constexpr const char* kAehnlichHinweis =
    N_("Stellt ein, was das Mosaik der Vorlage ähnlicher macht, ohne die Berechnung zu "
       "verlangsamen:\n"
       "– „Farben vergleichen wie das Auge“ wählt die Fotos nach dem Farbeindruck,\n"
       "– „Farben angleichen“ 50 % tönt jede Kachel halb zur Farbe ihrer Stelle in der Vorlage,\n"
       "– „zuschneiden statt stauchen“ schneidet die Fotos auf die Form der Kacheln zu.\n"
       "Jede Einstellung lässt sich danach einzeln ändern.");

// The list item that shows a stored method or pattern value: the value itself, the first
// item for a value the list does not have.
int ListenPosition(uint8_t wert, int eintraege);

}  // namespace tilvendo::wizard
