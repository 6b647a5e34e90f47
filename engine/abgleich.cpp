#include "engine/abgleich.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>

#include "platform/bitmap.h"
#include "platform/paths.h"

namespace tilvendo {
namespace {

// Cells whose rankings are computed together before the walk places them; enough to keep
// every thread busy, few enough that a cancel is seen soon and the rankings stay small.
constexpr size_t kZellenProThread = 32;

// A cell's preselection can hold every picture of a huge collection, so the cells of one
// block together keep at most about this many entries (some 200 MB), but every thread
// still gets one cell.
constexpr size_t kEintraegeProBlock = size_t{1} << 24;

// A ranking key: the distance above, and below it the offer position counted down, so
// that on equal distance the later offered node sorts first.
constexpr uint64_t kPositionsMaske = std::numeric_limits<uint32_t>::max();

// Entries sorted at once when a ranking is made; the walk rarely needs more.
constexpr size_t kSofortSortiert = 16;

// How much wider each step of the search for a cell whose candidates are all used up
// looks than the step before.
constexpr int64_t kAusweitungsFaktor = 4;

int32_t Ausweitung(int32_t weite, int32_t alle) {
  return static_cast<int32_t>(
      std::min<int64_t>(alle, std::max<int64_t>(weite, 1) * kAusweitungsFaktor));
}

// The usage cap of a run: remembers the picture numbers whose file has been placed the
// allowed number of times, so that the walk passes them over without a file lookup.
class Verwendungsdeckel {
 public:
  Verwendungsdeckel(int32_t maximum, size_t bilder)
      : maximum_(maximum), voll_(maximum > 0 ? bilder : 0, 0) {}

  bool Aktiv() const { return maximum_ > 0; }
  bool Voll(int32_t p) const { return Aktiv() && voll_[static_cast<size_t>(p)] != 0; }

  // Notes that the file of picture p now has `verwendungen` uses; true when that is as
  // many as allowed.
  bool Erreicht(int32_t p, size_t verwendungen) {
    if (!Aktiv() || verwendungen < static_cast<size_t>(maximum_)) return false;
    voll_[static_cast<size_t>(p)] = 1;
    return true;
  }

 private:
  int32_t maximum_;
  std::vector<uint8_t> voll_;
};

}  // namespace

Helligkeitsreihe::Helligkeitsreihe(const Kachelliste& liste, int formanalyse)
    : start_(kMaxHelligkeit + 1, kKeinKnoten) {
  const size_t anzahl = liste.Anzahl();
  knoten_.reserve(anzahl);
  helligkeit_.reserve(anzahl);
  luecke_.reserve(anzahl);
  nummer_.reserve(anzahl);
  felder_.reserve(anzahl);
  std::vector<int32_t> rang(anzahl, kKeinKnoten);
  for (int32_t k = liste.Kopf(); k != kKeinKnoten; k = liste.Knoten(k).Hoeher) {
    const KachelKnoten& knoten = liste.Knoten(k);
    rang[static_cast<size_t>(k)] = static_cast<int32_t>(knoten_.size());
    knoten_.push_back(k);
    helligkeit_.push_back(knoten.signatur.Helligkeit);
    luecke_.push_back(knoten.Luecke);
    nummer_.push_back(knoten.signatur.Nummer);
    felder_.push_back(Packen(knoten.signatur, formanalyse));
  }
  // The start for every brightness, looked up once instead of once per cell.
  int32_t letzter = knoten_.empty() ? kKeinKnoten : 0;
  for (int t = 0; t <= kMaxHelligkeit; ++t) {
    const int32_t eintrag = liste.Helligkeitsindex(t);
    if (eintrag != kKeinKnoten) letzter = rang[static_cast<size_t>(eintrag)];
    start_[static_cast<size_t>(t)] = letzter;
  }
}

void VorauswahlBilden(const Helligkeitsreihe& reihe, int t, int32_t kandidatenzahl,
                      int32_t helligkeitsfenster, std::vector<int32_t>& vorauswahl) {
  vorauswahl.clear();
  int32_t m = reihe.Start(t);
  if (m == kKeinKnoten) return;
  const int32_t letzter = reihe.Anzahl() - 1;

  while (t > reihe.Helligkeit(m) && m < letzter) ++m;
  if (reihe.Helligkeit(m) != t) {
    // The darker neighbour wins only when it is strictly nearer to t.
    const int hm = reihe.Helligkeit(m);
    const int g = reihe.Luecke(m);
    if (std::abs(hm - g - t) < std::abs(hm - t) && m > 0) --m;
  }
  vorauswahl.push_back(m);
  const auto k = static_cast<size_t>(std::max(kandidatenzahl, 0));
  if (vorauswahl.size() >= k) return;

  const auto imFenster = [&](int32_t r) {
    return std::abs(reihe.Helligkeit(r) - t) < helligkeitsfenster;
  };
  const auto passt = [&](int32_t r) { return vorauswahl.size() < k || imFenster(r); };
  constexpr int32_t kKeiner = -1;
  int32_t u = m;  // walks to brighter nodes
  int32_t d = m;  // walks to darker nodes
  while (vorauswahl.size() < k || (d != kKeiner && imFenster(d)) ||
         (u != kKeiner && imFenster(u))) {
    if (d != kKeiner) d = d > 0 ? d - 1 : kKeiner;
    if (u != kKeiner) u = u < letzter ? u + 1 : kKeiner;
    if (d != kKeiner && u != kKeiner) {
      if (passt(u)) vorauswahl.push_back(u);
      if (passt(d)) vorauswahl.push_back(d);
    } else if (d != kKeiner) {
      if (passt(d)) vorauswahl.push_back(d);
    } else if (u != kKeiner) {
      if (passt(u)) vorauswahl.push_back(u);
    } else {
      break;
    }
  }
}

void Rangliste::Bilden(const std::vector<GepackteFelder>& felder, std::vector<int32_t>& vorauswahl,
                       const GepackteFelder& anfrage, int formanalyse, int32_t kandidatenzahl) {
  schluessel_.clear();
  sortiert_ = 0;
  vorauswahl_.swap(vorauswahl);
  if (kandidatenzahl <= 0 || vorauswahl_.empty()) return;
  const int bloecke = Bloecke(formanalyse);
  schluessel_.resize(vorauswahl_.size());
  for (size_t i = 0; i < vorauswahl_.size(); ++i) {
    const auto distanz = static_cast<uint64_t>(
        Distanz(anfrage, felder[static_cast<size_t>(vorauswahl_[i])], formanalyse, bloecke));
    schluessel_[i] = (distanz << 32) | (kPositionsMaske - i);
  }
  // Keep the K smallest keys; order only the first few of them now.
  const size_t behalten = std::min(schluessel_.size(), static_cast<size_t>(kandidatenzahl));
  if (behalten < schluessel_.size()) {
    std::nth_element(schluessel_.begin(),
                     schluessel_.begin() + static_cast<std::ptrdiff_t>(behalten),
                     schluessel_.end());
    schluessel_.resize(behalten);
  }
  sortiert_ = std::min(kSofortSortiert, behalten);
  std::partial_sort(schluessel_.begin(),
                    schluessel_.begin() + static_cast<std::ptrdiff_t>(sortiert_),
                    schluessel_.end());
}

int32_t Rangliste::Eintrag(size_t i) {
  if (i >= sortiert_) {
    std::sort(schluessel_.begin() + static_cast<std::ptrdiff_t>(sortiert_), schluessel_.end());
    sortiert_ = schluessel_.size();
  }
  return vorauswahl_[kPositionsMaske - (schluessel_[i] & kPositionsMaske)];
}

bool AbstandFrei(const Zellenraster& raster, int x, int y, int32_t r, int32_t p) {
  for (int32_t i = 0; i <= r; ++i) {
    for (int32_t j = -r; j <= r; ++j) {
      if (i == 0 && j == 0) continue;
      const int32_t sx = x - i;
      const int32_t sy = y - j;
      if (sx >= 1 && sx <= raster.kachelnX() && sy >= 1 && sy <= raster.kachelnY() &&
          raster.at(sx, sy).Bild == p) {
        return false;
      }
    }
  }
  return true;
}

bool Platzierungen::AbstandFrei(int x, int y, int32_t r, int32_t p) const {
  // Cells are filled column by column, so the placements of p lie in ascending column
  // order and only the latest ones can be near the current cell.
  const std::vector<Zellort>& orte = orte_[static_cast<size_t>(p)];
  for (auto it = orte.rbegin(); it != orte.rend(); ++it) {
    if (static_cast<int64_t>(it->x) < static_cast<int64_t>(x) - r) break;
    if (std::abs(it->y - y) <= r && !(it->x == x && it->y == y)) return false;
  }
  return true;
}

std::optional<Verwendungsliste> KachelnZuordnen(Auftrag& auftrag, Fortschritt& fortschritt,
                                                Arbeitsgruppe& gruppe) {
  auftrag.PhasenZeiten[2] = Jetzt();
  const Einstellungen& e = auftrag.einstellungen;
  Zellenraster& raster = *e.Raster;
  const int formanalyse = auftrag.analyse.Formanalyse;
  if (formanalyse < 1 || formanalyse > kMaxFormanalyse) {
    throw std::invalid_argument("Ungültige Formanalyse: " + std::to_string(formanalyse));
  }

  // The new mosaic, black until the composing step fills it.
  const int64_t breite = static_cast<int64_t>(raster.kachelnX()) * KachelBreite(e);
  const int64_t hoehe = static_cast<int64_t>(raster.kachelnY()) * KachelHoehe(e);
  // The mosaic shown so far is gone; until a new one is finished there is none to show.
  auftrag.MosaikBild.reset();
  auftrag.ErgebnisFertig = false;
  CheckPictureSize(breite, hoehe);
  auftrag.MosaikBild.emplace(static_cast<int32_t>(breite), static_cast<int32_t>(hoehe));

  const Helligkeitsreihe reihe(auftrag.kachelliste, formanalyse);
  const int32_t kandidatenzahl = e.Kandidatenzahl;
  const int32_t fenster = e.Helligkeitsfenster;
  const int32_t zufallsBereich = static_cast<int32_t>(std::min<int64_t>(
      static_cast<int64_t>(e.Musterabstand) + 1, std::numeric_limits<int32_t>::max()));

  const size_t bilder = auftrag.Dateiliste.size();
  Platzierungen platzierungen(bilder);
  std::vector<uint8_t> fehlt(bilder, 0);  // files found missing once are not tested again
  Verwendungsliste verwendung;

  // Places picture p in cell (x, y) unless the repetition rule (when `abstand` is kept),
  // the usage cap or a vanished file forbids it.
  Verwendungsdeckel deckel(e.verfahren.MaxVerwendungen, bilder);
  const auto platzieren = [&](int x, int y, int32_t r, int32_t p, bool abstand) {
    if (p < 0 || static_cast<size_t>(p) >= bilder) return false;
    if (abstand && !platzierungen.AbstandFrei(x, y, r, p)) return false;
    if (deckel.Voll(p)) return false;
    const std::string& datei = auftrag.Dateiliste[static_cast<size_t>(p)];
    size_t k = verwendung.Finden(datei);
    if (k != Verwendungsliste::kNichtGefunden) {
      // The cap counts uses of the file, whichever album number reached it.
      if (deckel.Erreicht(p, verwendung[k].zellen.size())) return false;
      verwendung.ZelleAnfuegen(k, Zellort{x, y});
    } else {
      // A picture that vanished since its signature was taken is passed over.
      if (fehlt[static_cast<size_t>(p)] != 0) return false;
      if (!FileExists(datei)) {
        fehlt[static_cast<size_t>(p)] = 1;
        ++auftrag.FehlendeBilder;
        return false;
      }
      verwendung.Hinzufuegen(datei, Zellort{x, y});
      k = verwendung.Anzahl() - 1;
    }
    deckel.Erreicht(p, verwendung[k].zellen.size());
    raster.at(x, y).Bild = p;
    platzierungen.Platzieren(x, y, p);
    return true;
  };

  const int kachelnY = raster.kachelnY();
  const size_t zellen = static_cast<size_t>(raster.kachelnX()) * static_cast<size_t>(kachelnY);
  const size_t block = std::max<size_t>(
      gruppe.Threads(), std::min(kZellenProThread * gruppe.Threads(),
                                 kEintraegeProBlock / std::max<size_t>(reihe.Anzahl(), 1)));
  std::vector<Rangliste> ranglisten(block);
  std::vector<int32_t> weiteVorauswahl;
  Rangliste weiteRangliste;
  int32_t zaehler = 0;

  for (size_t anfang = 0; anfang < zellen; anfang += block) {
    const size_t anzahl = std::min(block, zellen - anfang);
    if (!auftrag.Abbruch) {
      gruppe.FuerAlle(anzahl, [&](size_t i) {
        const size_t c = anfang + i;
        const Kachelsignatur& signatur =
            raster.at(static_cast<int>(c / kachelnY) + 1, static_cast<int>(c % kachelnY) + 1)
                .signatur;
        thread_local std::vector<int32_t> vorauswahl;
        VorauswahlBilden(reihe, signatur.Helligkeit, kandidatenzahl, fenster, vorauswahl);
        ranglisten[i].Bilden(reihe.Felder(), vorauswahl, Packen(signatur, formanalyse), formanalyse,
                             kandidatenzahl);
      });
    }
    for (size_t i = 0; i < anzahl; ++i) {
      if (auftrag.Abbruch) return std::nullopt;
      fortschritt.FortschrittAnzeigen(++zaehler);
      const size_t c = anfang + i;
      const int x = static_cast<int>(c / kachelnY) + 1;
      const int y = static_cast<int>(c % kachelnY) + 1;
      const int32_t r = static_cast<int32_t>(e.minAbstand) + auftrag.zufall.next(zufallsBereich);
      Rangliste& rangliste = ranglisten[i];
      bool platziert = false;
      for (size_t eintrag = 0; eintrag < rangliste.Anzahl() && !platziert; ++eintrag) {
        platziert = platzieren(x, y, r, reihe.Nummer(rangliste.Eintrag(eintrag)), true);
      }
      if (platziert || !deckel.Aktiv()) continue;
      // With the cap on, the nearest pictures run out as the mosaic fills; a cell left
      // black would be a plain hole. Search ever wider in brightness, the whole list at
      // last, and only when even that finds no picture outside the distance, give up
      // the distance rather than the cap.
      const Kachelsignatur& signatur = raster.at(x, y).signatur;
      const GepackteFelder anfrage = Packen(signatur, formanalyse);
      for (int32_t weite = Ausweitung(kandidatenzahl, reihe.Anzahl()); !platziert && weite > 0;
           weite = Ausweitung(weite, reihe.Anzahl())) {
        VorauswahlBilden(reihe, signatur.Helligkeit, weite, fenster, weiteVorauswahl);
        weiteRangliste.Bilden(reihe.Felder(), weiteVorauswahl, anfrage, formanalyse, weite);
        const bool ganz = weite >= reihe.Anzahl();
        for (int abstand = 1; abstand >= (ganz ? 0 : 1) && !platziert; --abstand) {
          for (size_t eintrag = 0; eintrag < weiteRangliste.Anzahl() && !platziert; ++eintrag) {
            platziert =
                platzieren(x, y, r, reihe.Nummer(weiteRangliste.Eintrag(eintrag)), abstand != 0);
          }
        }
        if (ganz) break;
      }
    }
  }
  auftrag.PhasenZeiten[7] = Jetzt();
  return verwendung;
}

}  // namespace tilvendo
