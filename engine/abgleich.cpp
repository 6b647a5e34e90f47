#include "engine/abgleich.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>

#include "engine/gedeckelte_zuordnung.h"
#include "engine/platzierer.h"
#include "platform/bitmap.h"

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
    // Twice as many as before each time: a walk that goes on far is served in a few
    // steps, and one that stops soon never pays for ordering the whole list.
    const size_t bis = std::min(schluessel_.size(), std::max(2 * sortiert_, i + 1));
    std::partial_sort(schluessel_.begin() + static_cast<std::ptrdiff_t>(sortiert_),
                      schluessel_.begin() + static_cast<std::ptrdiff_t>(bis), schluessel_.end());
    sortiert_ = bis;
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

int32_t Platzierungen::NaechsteWiederholung(int x, int y, int32_t r, int32_t p) const {
  int64_t naechste = static_cast<int64_t>(r) + 1;
  const std::vector<Zellort>& orte = orte_[static_cast<size_t>(p)];
  for (auto it = orte.rbegin(); it != orte.rend(); ++it) {
    const int64_t spalten = static_cast<int64_t>(x) - it->x;
    if (spalten > r) break;
    naechste = std::min(naechste, std::max(spalten, static_cast<int64_t>(std::abs(it->y - y))));
  }
  return static_cast<int32_t>(naechste);
}

bool Platzierungen::RingsumFrei(int x, int y, int32_t r, int32_t p) const {
  for (const Zellort& ort : orte_[static_cast<size_t>(p)]) {
    if (std::abs(ort.x - x) <= r && std::abs(ort.y - y) <= r && !(ort.x == x && ort.y == y)) {
      return false;
    }
  }
  return true;
}

int32_t AbstandZiehen(const Einstellungen& einstellungen, Zufall& zufall) {
  const auto bereich = static_cast<int32_t>(std::min<int64_t>(
      static_cast<int64_t>(einstellungen.Musterabstand) + 1, std::numeric_limits<int32_t>::max()));
  return static_cast<int32_t>(einstellungen.minAbstand) + zufall.next(bereich);
}

size_t Blockgroesse(const Helligkeitsreihe& reihe, const Arbeitsgruppe& gruppe) {
  return std::max<size_t>(gruppe.Threads(),
                          std::min(kZellenProThread * gruppe.Threads(),
                                   kEintraegeProBlock / std::max<size_t>(reihe.Anzahl(), 1)));
}

void RanglistenBilden(const Zellenraster& raster, const Helligkeitsreihe& reihe, int formanalyse,
                      int32_t kandidatenzahl, int32_t fenster, size_t anfang, size_t anzahl,
                      std::vector<Rangliste>& ranglisten, Arbeitsgruppe& gruppe) {
  const auto kachelnY = static_cast<size_t>(raster.kachelnY());
  gruppe.FuerAlle(anzahl, [&](size_t i) {
    const size_t c = anfang + i;
    const Kachelsignatur& signatur =
        raster.at(static_cast<int>(c / kachelnY) + 1, static_cast<int>(c % kachelnY) + 1).signatur;
    thread_local std::vector<int32_t> vorauswahl;
    VorauswahlBilden(reihe, signatur.Helligkeit, kandidatenzahl, fenster, vorauswahl);
    ranglisten[i].Bilden(reihe.Felder(), vorauswahl, Packen(signatur, formanalyse), formanalyse,
                         kandidatenzahl);
  });
}

std::optional<Verwendungsliste> KachelnZuordnen(Auftrag& auftrag, Fortschritt& fortschritt,
                                                Arbeitsgruppe& gruppe) {
  auftrag.PhasenZeiten[Phase::Berechnen].beginn = Jetzt();
  const Einstellungen& e = auftrag.einstellungen;
  Zellenraster& raster = *e.Raster;
  const int formanalyse = auftrag.analyse.Formanalyse;
  if (formanalyse < 1 || formanalyse > kMaxFormanalyse) {
    throw std::invalid_argument("Ungültige Formanalyse: " + std::to_string(formanalyse));
  }

  // The mosaic shown so far is gone; until a new one is finished there is none to show.
  auftrag.Ergebnis.reset();
  auftrag.ErgebnisFertig = false;

  const Helligkeitsreihe reihe(auftrag.kachelliste, formanalyse);
  const int32_t kandidatenzahl = e.Kandidatenzahl;
  const int32_t fenster = e.Helligkeitsfenster;

  Platzierer platzierer(auftrag);
  if (MitVerwendungsgrenzen(e)) {
    if (!GedeckeltZuordnen(auftrag, fortschritt, gruppe, reihe, platzierer)) return std::nullopt;
    auftrag.PhasenZeiten[Phase::Berechnen].ende = Jetzt();
    return std::move(platzierer.Verwendung());
  }

  const int kachelnY = raster.kachelnY();
  const size_t zellen = static_cast<size_t>(raster.kachelnX()) * static_cast<size_t>(kachelnY);
  const size_t block = Blockgroesse(reihe, gruppe);
  std::vector<Rangliste> ranglisten(block);
  int32_t zaehler = 0;

  for (size_t anfang = 0; anfang < zellen; anfang += block) {
    const size_t anzahl = std::min(block, zellen - anfang);
    if (!auftrag.Abbruch) {
      RanglistenBilden(raster, reihe, formanalyse, kandidatenzahl, fenster, anfang, anzahl,
                       ranglisten, gruppe);
    }
    for (size_t i = 0; i < anzahl; ++i) {
      if (auftrag.Abbruch) return std::nullopt;
      fortschritt.FortschrittAnzeigen(++zaehler);
      const size_t c = anfang + i;
      const int x = static_cast<int>(c / kachelnY) + 1;
      const int y = static_cast<int>(c % kachelnY) + 1;
      const int32_t r = AbstandZiehen(e, auftrag.zufall);
      Rangliste& rangliste = ranglisten[i];
      bool platziert = false;
      for (size_t eintrag = 0; eintrag < rangliste.Anzahl() && !platziert; ++eintrag) {
        const int32_t p = reihe.Nummer(rangliste.Eintrag(eintrag));
        platziert = platzierer.Platzieren(x, y, r, p, Abstandsregel::Links);
      }
      // A black tile is worse than a repetition closer than wished.
      if (!platziert) {
        std::vector<int32_t> kandidaten(rangliste.Anzahl());
        for (size_t eintrag = 0; eintrag < kandidaten.size(); ++eintrag) {
          kandidaten[eintrag] = reihe.Nummer(rangliste.Eintrag(eintrag));
        }
        platzierer.Ausweichen(x, y, r, kandidaten);
      }
    }
  }
  auftrag.PhasenZeiten[Phase::Berechnen].ende = Jetzt();
  return std::move(platzierer.Verwendung());
}

}  // namespace tilvendo
