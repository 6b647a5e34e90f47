#include "wizard/hilfe_fenster.h"

#include <algorithm>

#include "wizard/seiten.h"

namespace tilvendo::wizard {
namespace {

// What the wrapping width keeps off half the page's width.
constexpr int32_t kUmbruchAbzug = 5;

}  // namespace

int32_t HilfeFensterBreite(int32_t elternBreite) {
  return elternBreite / 2;
}

int32_t HilfeUmbruchBreite(int32_t seitenBreite) {
  return seitenBreite / 2 - kUmbruchAbzug;
}

int32_t HilfeTextBreite(int32_t fensterBreite) {
  return fensterBreite - 2 * kHilfeRandLinks;
}

int32_t HilfeZeilenHoehe(int32_t zeilenabstand) {
  return std::max(kHilfeZeilenHoehe, zeilenabstand);
}

int32_t HilfeFensterHoehe(int32_t zeilen, int32_t zeilenHoehe) {
  return kHilfeRandOben + zeilen * zeilenHoehe + kHilfeRandUnten;
}

HilfeFensterLage HilfeFensterPlatzieren(Rect frei, Rect knopf, int32_t breite, int32_t hoehe) {
  HilfeFensterLage lage;
  const int32_t rechts = frei.right - kHilfeBildschirmRand - breite;
  lage.links = std::max(std::min(knopf.left, rechts), frei.left + kHilfeBildschirmRand);
  const int32_t platzOben = knopf.top - (frei.top + kHilfeBildschirmRand);
  const int32_t platzUnten = frei.bottom - kHilfeBildschirmRand - knopf.bottom;
  lage.unterhalb = hoehe > platzOben && (hoehe <= platzUnten || platzUnten > platzOben);
  lage.hoehe = std::min(hoehe, lage.unterhalb ? platzUnten : platzOben);
  lage.oben = lage.unterhalb ? knopf.bottom : knopf.top - lage.hoehe;
  return lage;
}

HilfeKlick HilfeKlickPruefen(bool offen, double msSeitSchliessen, int32_t seite) {
  if (offen && msSeitSchliessen <= kHilfeSchliessZeitMs) return HilfeKlick::Schliessen;
  if (seite < 1 || seite > kSeitenAnzahl) return HilfeKlick::Schliessen;
  return HilfeKlick::Oeffnen;
}

}  // namespace tilvendo::wizard
