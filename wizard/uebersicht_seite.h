// The overview page without Qt: its list of the job's parts, the details and the preview
// of the selected part, and where a part leads back to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/auftrag.h"
#include "platform/rect.h"

namespace tilvendo::wizard {

// The entry "letzte Berechnung", present only while a mosaic exists.
inline constexpr int kEintragLetzteBerechnung = 5;

// The box every preview of the page is fitted into.
inline constexpr int32_t kVorschauBoxBreite = 150;
inline constexpr int32_t kVorschauBoxHoehe = 100;

// The titles of pages 1..5, and of page 6 while a mosaic exists. Entry i belongs to
// page i + 1.
std::vector<std::string> UebersichtEintraege(const Auftrag& auftrag);

// The entry selected after the list was refilled: the remembered one while it exists,
// else the first.
int EintragWiederfinden(int gemerkt, int anzahl);

// The page the user corrects an entry on.
uint16_t EintragsSeite(int eintrag);

// The heading and the lines of text the page shows for an entry.
struct Eintragsinfo {
  std::string InfoT;
  std::vector<std::string> InfoFeld;
};
Eintragsinfo EintragsInfo(const Auftrag& auftrag, int eintrag);

// What the preview of an entry shows.
enum class Vorschauart {
  Keine,          // the picture counts have no preview
  Vorlage,        // the template
  Raster,         // the template with the tile grid
  Abstandsregel,  // the template with the distance rule
  Ergebnis,       // the last result
};
Vorschauart VorschauArt(int eintrag);

// The preview's size: the box fitted to the template's proportions for the template
// entry, to the result's for the others (0 × 0 without a preview or proportions).
Size VorschauGroesse(const Auftrag& auftrag, int eintrag);

}  // namespace tilvendo::wizard
