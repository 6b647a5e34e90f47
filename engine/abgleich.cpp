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

// A ranking key: the distance above, and below it the offer position counted down, so
// that on equal distance the later offered node sorts first.
constexpr uint64_t kPositionsMaske = std::numeric_limits<uint32_t>::max();

int Helligkeit(const Kachelliste& liste, int32_t knoten) {
  return liste.Knoten(knoten).signatur.Helligkeit;
}

}  // namespace

int32_t Startknoten(const Kachelliste& liste, int t) {
  for (int k = std::clamp(t, 0, kMaxHelligkeit); k >= 0; --k) {
    if (liste.Helligkeitsindex(k) != kKeinKnoten) return liste.Helligkeitsindex(k);
  }
  return liste.Kopf();
}

void VorauswahlBilden(const Kachelliste& liste, int t, int32_t kandidatenzahl,
                      int32_t helligkeitsfenster, std::vector<int32_t>& vorauswahl) {
  vorauswahl.clear();
  int32_t m = Startknoten(liste, t);
  if (m == kKeinKnoten) return;

  while (t > Helligkeit(liste, m) && liste.Knoten(m).Hoeher != kKeinKnoten) {
    m = liste.Knoten(m).Hoeher;
  }
  if (Helligkeit(liste, m) != t) {
    // The darker neighbour wins only when it is strictly nearer to t.
    const int hm = Helligkeit(liste, m);
    const int g = liste.Knoten(m).Luecke;
    if (std::abs(hm - g - t) < std::abs(hm - t) && liste.Knoten(m).Tiefer != kKeinKnoten) {
      m = liste.Knoten(m).Tiefer;
    }
  }
  vorauswahl.push_back(m);
  const auto k = static_cast<size_t>(std::max(kandidatenzahl, 0));
  if (vorauswahl.size() >= k) return;

  const auto imFenster = [&](int32_t knoten) {
    return std::abs(Helligkeit(liste, knoten) - t) < helligkeitsfenster;
  };
  const auto passt = [&](int32_t knoten) { return vorauswahl.size() < k || imFenster(knoten); };
  int32_t u = m;
  int32_t d = m;
  while (vorauswahl.size() < k || (d != kKeinKnoten && imFenster(d)) ||
         (u != kKeinKnoten && imFenster(u))) {
    if (d != kKeinKnoten) d = liste.Knoten(d).Tiefer;
    if (u != kKeinKnoten) u = liste.Knoten(u).Hoeher;
    if (d != kKeinKnoten && u != kKeinKnoten) {
      if (passt(u)) vorauswahl.push_back(u);
      if (passt(d)) vorauswahl.push_back(d);
    } else if (d != kKeinKnoten) {
      if (passt(d)) vorauswahl.push_back(d);
    } else if (u != kKeinKnoten) {
      if (passt(u)) vorauswahl.push_back(u);
    } else {
      break;
    }
  }
}

std::vector<GepackteFelder> KnotenPacken(const Kachelliste& liste, int formanalyse) {
  std::vector<GepackteFelder> felder(liste.Anzahl());
  for (size_t i = 0; i < liste.Anzahl(); ++i) {
    felder[i] = Packen(liste.Knoten(static_cast<int32_t>(i)).signatur, formanalyse);
  }
  return felder;
}

void RanglisteBilden(const std::vector<GepackteFelder>& knotenFelder,
                     const std::vector<int32_t>& vorauswahl, const GepackteFelder& anfrage,
                     int formanalyse, int32_t kandidatenzahl, std::vector<int32_t>& rangliste) {
  rangliste.clear();
  if (kandidatenzahl <= 0 || vorauswahl.empty()) return;
  const int bloecke = Bloecke(formanalyse);
  thread_local std::vector<uint64_t> schluessel;
  schluessel.resize(vorauswahl.size());
  for (size_t i = 0; i < vorauswahl.size(); ++i) {
    const auto distanz = static_cast<uint64_t>(
        Distanz(anfrage, knotenFelder[static_cast<size_t>(vorauswahl[i])], formanalyse, bloecke));
    schluessel[i] = (distanz << 32) | (kPositionsMaske - i);
  }
  const size_t behalten = std::min(schluessel.size(), static_cast<size_t>(kandidatenzahl));
  const auto ende = schluessel.begin() + static_cast<std::ptrdiff_t>(behalten);
  if (behalten < schluessel.size()) std::nth_element(schluessel.begin(), ende, schluessel.end());
  std::sort(schluessel.begin(), ende);
  rangliste.reserve(behalten);
  for (auto it = schluessel.begin(); it != ende; ++it) {
    rangliste.push_back(vorauswahl[kPositionsMaske - (*it & kPositionsMaske)]);
  }
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
  if (breite > std::numeric_limits<int32_t>::max() || hoehe > std::numeric_limits<int32_t>::max()) {
    throw PictureTooLarge("Bild zu groß: " + std::to_string(breite) + " × " +
                          std::to_string(hoehe) + " Pixel");
  }
  auftrag.MosaikBild.emplace(static_cast<int32_t>(breite), static_cast<int32_t>(hoehe));

  const Kachelliste& liste = auftrag.kachelliste;
  const std::vector<GepackteFelder> knotenFelder = KnotenPacken(liste, formanalyse);
  const int32_t kandidatenzahl = e.Kandidatenzahl;
  const int32_t fenster = e.Helligkeitsfenster;
  const int32_t zufallsBereich = static_cast<int32_t>(std::min<int64_t>(
      static_cast<int64_t>(e.Musterabstand) + 1, std::numeric_limits<int32_t>::max()));

  const size_t bilder = auftrag.Dateiliste.size();
  Platzierungen platzierungen(bilder);
  std::vector<uint8_t> fehlt(bilder, 0);  // files found missing once are not tested again
  Verwendungsliste verwendung;

  const int kachelnY = raster.kachelnY();
  const size_t zellen = static_cast<size_t>(raster.kachelnX()) * static_cast<size_t>(kachelnY);
  const size_t block = kZellenProThread * gruppe.Threads();
  std::vector<std::vector<int32_t>> ranglisten(block);
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
        VorauswahlBilden(liste, signatur.Helligkeit, kandidatenzahl, fenster, vorauswahl);
        RanglisteBilden(knotenFelder, vorauswahl, Packen(signatur, formanalyse), formanalyse,
                        kandidatenzahl, ranglisten[i]);
      });
    }
    for (size_t i = 0; i < anzahl; ++i) {
      if (auftrag.Abbruch) return std::nullopt;
      fortschritt.FortschrittAnzeigen(++zaehler);
      const size_t c = anfang + i;
      const int x = static_cast<int>(c / kachelnY) + 1;
      const int y = static_cast<int>(c % kachelnY) + 1;
      const int32_t r = static_cast<int32_t>(e.minAbstand) + auftrag.zufall.next(zufallsBereich);
      for (const int32_t knoten : ranglisten[i]) {
        const int32_t p = liste.Knoten(knoten).signatur.Nummer;
        if (p < 0 || static_cast<size_t>(p) >= bilder) continue;
        if (!platzierungen.AbstandFrei(x, y, r, p)) continue;
        const std::string& datei = auftrag.Dateiliste[static_cast<size_t>(p)];
        const size_t k = verwendung.Finden(datei);
        if (k != Verwendungsliste::kNichtGefunden) {
          verwendung.ZelleAnfuegen(k, Zellort{x, y});
        } else {
          // A picture that vanished since its signature was taken is passed over.
          if (fehlt[static_cast<size_t>(p)] != 0) continue;
          if (!FileExists(datei)) {
            fehlt[static_cast<size_t>(p)] = 1;
            continue;
          }
          verwendung.Hinzufuegen(datei, Zellort{x, y});
        }
        raster.at(x, y).Bild = p;
        platzierungen.Platzieren(x, y, p);
        break;
      }
    }
  }
  auftrag.PhasenZeiten[7] = Jetzt();
  return verwendung;
}

}  // namespace tilvendo
