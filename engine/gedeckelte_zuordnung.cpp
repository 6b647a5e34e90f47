#include "engine/gedeckelte_zuordnung.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tilvendo {
namespace {

// Candidates kept per cell for the placing over the whole grid; a cell that loses all of
// them is served by the wider search.
constexpr size_t kKandidatenJeZelle = 64;
// Pairs kept at most (64 MB), so that a grid of a million cells still fits.
constexpr size_t kPaareHoechstens = size_t{1} << 23;

// A pair packed into one sortable number: distance (0..765, 10 bits) above the cell
// (below 2^22) above the picture's position in the brightness order.
constexpr unsigned kDistanzStelle = 54;
constexpr unsigned kZellStelle = 32;
constexpr uint64_t kZellMaske = (uint64_t{1} << (kDistanzStelle - kZellStelle)) - 1;
constexpr uint64_t kRangMaske = (uint64_t{1} << kZellStelle) - 1;

// How much wider each step of the search for a cell left empty looks.
constexpr int64_t kAusweitungsFaktor = 4;

int32_t Ausweitung(int32_t weite, int32_t alle) {
  return static_cast<int32_t>(
      std::min<int64_t>(alle, std::max<int64_t>(weite, 1) * kAusweitungsFaktor));
}

}  // namespace

bool GedeckeltZuordnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
                       const Helligkeitsreihe& reihe, Platzierer& platzierer) {
  const Einstellungen& e = auftrag.einstellungen;
  const Zellenraster& raster = *e.Raster;
  const int formanalyse = auftrag.analyse.Formanalyse;
  const int kachelnY = raster.kachelnY();
  const size_t zellen = static_cast<size_t>(raster.kachelnX()) * static_cast<size_t>(kachelnY);
  const auto ort = [&](size_t c) {
    return Zellort{static_cast<int32_t>(c / static_cast<size_t>(kachelnY)) + 1,
                   static_cast<int32_t>(c % static_cast<size_t>(kachelnY)) + 1};
  };

  // 1. Every cell's best candidates.
  const size_t jeZelle = std::clamp<size_t>(
      kPaareHoechstens / std::max<size_t>(zellen, 1), 1,
      std::min<size_t>(kKandidatenJeZelle, static_cast<size_t>(std::max(e.Kandidatenzahl, 1))));
  std::vector<uint64_t> paare;
  paare.reserve(zellen * jeZelle);
  std::vector<int32_t> radius(zellen);
  const size_t block = Blockgroesse(reihe, gruppe);
  std::vector<Rangliste> ranglisten(block);
  int32_t zaehler = 0;
  for (size_t anfang = 0; anfang < zellen; anfang += block) {
    const size_t anzahl = std::min(block, zellen - anfang);
    if (auftrag.Abbruch) return false;
    RanglistenBilden(raster, reihe, formanalyse, e.Kandidatenzahl, e.Helligkeitsfenster, anfang,
                     anzahl, ranglisten, gruppe);
    for (size_t i = 0; i < anzahl; ++i) {
      if (auftrag.Abbruch) return false;
      fortschritt.FortschrittAnzeigen(++zaehler);
      const size_t c = anfang + i;
      radius[c] = AbstandZiehen(e, auftrag.zufall);
      Rangliste& rangliste = ranglisten[i];
      for (size_t k = 0; k < std::min(jeZelle, rangliste.Anzahl()); ++k) {
        const auto rang = static_cast<uint64_t>(rangliste.Eintrag(k));
        paare.push_back((static_cast<uint64_t>(rangliste.EintragsDistanz(k)) << kDistanzStelle) |
                        (static_cast<uint64_t>(c) << kZellStelle) | rang);
      }
    }
  }

  // 2. The closest pairs first, over the whole grid.
  std::sort(paare.begin(), paare.end());
  std::vector<uint8_t> belegt(zellen, 0);
  for (const uint64_t paar : paare) {
    const auto c = static_cast<size_t>((paar >> kZellStelle) & kZellMaske);
    if (belegt[c] != 0) continue;
    const Zellort z = ort(c);
    const int32_t p = reihe.Nummer(static_cast<int32_t>(paar & kRangMaske));
    if (platzierer.Platzieren(z.x, z.y, radius[c], p, Abstandsregel::Ringsum)) belegt[c] = 1;
  }
  paare = {};

  // 3. The cells left, column by column: ever wider searches, each ranking its cells in
  // parallel before they are placed in turn.
  std::vector<size_t> offen;
  for (size_t c = 0; c < zellen; ++c) {
    if (belegt[c] == 0) offen.push_back(c);
  }
  std::vector<size_t> weiter;
  for (int32_t weite = Ausweitung(e.Kandidatenzahl, reihe.Anzahl()); !offen.empty() && weite > 0;
       weite = Ausweitung(weite, reihe.Anzahl())) {
    const bool ganz = weite >= reihe.Anzahl();
    weiter.clear();
    for (size_t anfang = 0; anfang < offen.size(); anfang += block) {
      if (auftrag.Abbruch) return false;
      const size_t anzahl = std::min(block, offen.size() - anfang);
      gruppe.FuerAlle(anzahl, [&](size_t i) {
        const Zellort z = ort(offen[anfang + i]);
        const Kachelsignatur& signatur = raster.at(z.x, z.y).signatur;
        thread_local std::vector<int32_t> vorauswahl;
        VorauswahlBilden(reihe, signatur.Helligkeit, weite, e.Helligkeitsfenster, vorauswahl);
        ranglisten[i].Bilden(reihe.Felder(), vorauswahl, Packen(signatur, formanalyse), formanalyse,
                             weite);
      });
      for (size_t i = 0; i < anzahl; ++i) {
        const size_t c = offen[anfang + i];
        const Zellort z = ort(c);
        Rangliste& rangliste = ranglisten[i];
        bool platziert = false;
        for (const Abstandsregel regel : {Abstandsregel::Ringsum, Abstandsregel::Keine}) {
          if (platziert || (regel == Abstandsregel::Keine && !ganz)) break;
          for (size_t k = 0; k < rangliste.Anzahl() && !platziert; ++k) {
            platziert = platzierer.Platzieren(z.x, z.y, radius[c],
                                              reihe.Nummer(rangliste.Eintrag(k)), regel);
          }
        }
        if (!platziert) weiter.push_back(c);
      }
    }
    offen.swap(weiter);
    if (ganz) break;
  }
  return true;
}

}  // namespace tilvendo
