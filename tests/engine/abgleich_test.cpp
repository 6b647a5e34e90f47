#include "engine/abgleich.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <list>
#include <random>
#include <utility>
#include <vector>

#include "lauf_testkacheln.h"
#include "support/temp_folder.h"
#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

using testing::EinfarbigeSignatur;
using testing::Zufallssignatur;

// A tile list of nodes with the given brightness values, numbered in insertion order.
Kachelliste ListeMit(const std::vector<int>& helligkeiten) {
  Kachelliste liste;
  int32_t nummer = 0;
  for (const int h : helligkeiten) {
    Kachelsignatur s;
    s.Nummer = nummer++;
    s.Helligkeit = static_cast<uint16_t>(h);
    liste.KachelEinfuegen(s);
  }
  return liste;
}

std::vector<int> Helligkeiten(const Kachelliste& liste, const std::vector<int32_t>& knoten) {
  std::vector<int> werte;
  for (const int32_t k : knoten) werte.push_back(liste.Knoten(k).signatur.Helligkeit);
  return werte;
}

// The preselection as node indices of `liste`.
std::vector<int32_t> Vorauswahl(const Kachelliste& liste, int t, int32_t k, int32_t w) {
  const Helligkeitsreihe reihe(liste, 1);
  std::vector<int32_t> raenge;
  VorauswahlBilden(reihe, t, k, w, raenge);
  std::vector<int32_t> knoten;
  for (const int32_t r : raenge) knoten.push_back(reihe.Knoten(r));
  return knoten;
}

TEST(Distanz, PackedFormGivesTheValueOfTheDefinition) {
  std::mt19937 gen(7);
  for (int formanalyse = 1; formanalyse <= kMaxFormanalyse; ++formanalyse) {
    for (int runde = 0; runde < 200; ++runde) {
      const Kachelsignatur a = Zufallssignatur(gen, formanalyse);
      const Kachelsignatur b = Zufallssignatur(gen, formanalyse);
      ASSERT_EQ(Distanz(Packen(a, formanalyse), Packen(b, formanalyse), formanalyse,
                        Bloecke(formanalyse)),
                Distanz(a, b, formanalyse))
          << "level " << formanalyse;
    }
  }
  // The extreme: black against white at the finest level.
  const Kachelsignatur schwarz = EinfarbigeSignatur(0, Farbe{0, 0, 0}, kMaxFormanalyse);
  const Kachelsignatur weiss = EinfarbigeSignatur(0, Farbe{255, 255, 255}, kMaxFormanalyse);
  EXPECT_EQ(Distanz(Packen(schwarz, 10), Packen(weiss, 10), 10, Bloecke(10)), 765);
}

TEST(Distanz, MeanIsRoundedHalfToEvenAndIgnoresAveragesAndSums) {
  Kachelsignatur a;
  Kachelsignatur b;
  b.Rot = 200;  // averages and sums do not enter
  b.Helligkeit = 200;
  b.Felder[0][0].Summe = 99;
  EXPECT_EQ(Distanz(a, b, 2), 0);
  b.Felder[1][1].Rot = 2;  // 2 / 4 = 0.5 → 0
  EXPECT_EQ(Distanz(a, b, 2), 0);
  b.Felder[1][1].Rot = 6;  // 1.5 → 2
  EXPECT_EQ(Distanz(a, b, 2), 2);
  b.Felder[1][1].Rot = 10;  // 2.5 → 2
  EXPECT_EQ(Distanz(a, b, 2), 2);
  b.Felder[1][0].Blau = 1;  // 11 / 4 = 2.75 → 3
  EXPECT_EQ(Distanz(a, b, 2), 3);
  b.Felder[2][2].Rot = 255;  // outside level 2
  EXPECT_EQ(Distanz(Packen(a, 2), Packen(b, 2), 2, Bloecke(2)), 3);
}

TEST(Vorauswahl, StartsAtTheNearerNeighbourAndTheBrighterOnEqualDistance) {
  const Kachelliste liste = ListeMit({100, 110});
  EXPECT_EQ(Helligkeiten(liste, Vorauswahl(liste, 104, 1, 0)), (std::vector<int>{100}));
  EXPECT_EQ(Helligkeiten(liste, Vorauswahl(liste, 105, 1, 0)), (std::vector<int>{110}));
  EXPECT_EQ(Helligkeiten(liste, Vorauswahl(liste, 106, 1, 0)), (std::vector<int>{110}));
  // t = 0 without a picture of brightness 0: the head itself.
  EXPECT_EQ(Helligkeiten(liste, Vorauswahl(liste, 0, 1, 0)), (std::vector<int>{100}));
  EXPECT_TRUE(Vorauswahl(Kachelliste(), 300, 5, 25).empty());
}

// The preselection walked over the linked tile list node by node, exactly as the
// matching describes it, to check the flat form against.
std::vector<int32_t> VorauswahlNachVorschrift(const Kachelliste& liste, int t, int32_t k,
                                              int32_t w) {
  std::vector<int32_t> ergebnis;
  int32_t m = liste.Kopf();
  for (int b = t; b >= 0; --b) {
    if (liste.Helligkeitsindex(b) != kKeinKnoten) {
      m = liste.Helligkeitsindex(b);
      break;
    }
  }
  if (m == kKeinKnoten) return ergebnis;
  const auto h = [&](int32_t knoten) {
    return static_cast<int>(liste.Knoten(knoten).signatur.Helligkeit);
  };
  const auto nah = [&](int32_t knoten) { return std::abs(h(knoten) - t) < w; };
  while (t > h(m) && liste.Knoten(m).Hoeher != kKeinKnoten) m = liste.Knoten(m).Hoeher;
  if (h(m) != t) {
    const int g = liste.Knoten(m).Luecke;
    if (std::abs(h(m) - g - t) < std::abs(h(m) - t) && liste.Knoten(m).Tiefer != kKeinKnoten) {
      m = liste.Knoten(m).Tiefer;
    }
  }
  ergebnis.push_back(m);
  if (static_cast<int32_t>(ergebnis.size()) >= k) return ergebnis;
  const auto wenigerAlsK = [&] { return static_cast<int32_t>(ergebnis.size()) < k; };
  int32_t u = m;
  int32_t d = m;
  while (wenigerAlsK() || (d != kKeinKnoten && nah(d)) || (u != kKeinKnoten && nah(u))) {
    if (d != kKeinKnoten) d = liste.Knoten(d).Tiefer;
    if (u != kKeinKnoten) u = liste.Knoten(u).Hoeher;
    if (d == kKeinKnoten && u == kKeinKnoten) break;
    if (u != kKeinKnoten && (wenigerAlsK() || nah(u))) ergebnis.push_back(u);
    if (d != kKeinKnoten && (wenigerAlsK() || nah(d))) ergebnis.push_back(d);
  }
  return ergebnis;
}

TEST(Vorauswahl, FlatWalkCollectsWhatTheListWalkCollectsInTheSameOrder) {
  std::mt19937 gen(17);
  for (int runde = 0; runde < 400; ++runde) {
    // Narrow brightness ranges, so that equal brightness, gaps and both ends are common.
    const int unten = static_cast<int>(gen() % 766);
    const int breite = static_cast<int>(gen() % 60);
    std::vector<int> werte(gen() % 40);
    for (int& wert : werte) {
      wert = std::min(kMaxHelligkeit, unten + static_cast<int>(gen() % (breite + 1)));
    }
    const Kachelliste liste = ListeMit(werte);
    for (int frage = 0; frage < 20; ++frage) {
      const int t = frage % 2 == 0
                        ? static_cast<int>(gen() % 766)
                        : std::min(kMaxHelligkeit, unten + static_cast<int>(gen() % (breite + 2)));
      const auto k = static_cast<int32_t>(gen() % 12);
      const auto w = static_cast<int32_t>(gen() % 4) * 10;
      ASSERT_EQ(Vorauswahl(liste, t, k, w), VorauswahlNachVorschrift(liste, t, k, w))
          << "round " << runde << ", t " << t << ", K " << k << ", W " << w;
    }
  }
}

// The ranking as a list into which each offered node is inserted, exactly as the matching
// describes it, to check the sorted form against.
std::vector<int32_t> RanglisteNachVorschrift(const std::vector<int32_t>& distanzen, int32_t k) {
  std::list<std::pair<int32_t, int32_t>> liste;  // (offer position, distance)
  int32_t angeboten = 0;
  for (int32_t i = 0; i < static_cast<int32_t>(distanzen.size()); ++i) {
    const int32_t e = distanzen[static_cast<size_t>(i)];
    auto platz = liste.begin();
    if (!liste.empty() && e > liste.front().second) {
      platz = liste.end();
      for (auto it = liste.begin(); it != liste.end(); ++it) {
        if (it->second >= e) {
          platz = it;
          break;
        }
      }
    }
    ++angeboten;
    if (angeboten > k && platz == liste.end()) continue;
    liste.insert(platz, {i, e});
    if (angeboten > k) liste.pop_back();
  }
  std::vector<int32_t> ergebnis;
  for (const auto& [position, distanz] : liste) ergebnis.push_back(position);
  return ergebnis;
}

TEST(Rangliste, KeepsTheKSmallestWithLaterOfferedFirstOnEqualDistance) {
  std::mt19937 gen(11);
  const int formanalyse = 1;
  for (const int32_t k : {1, 2, 3, 7, 17, 40}) {
    for (int runde = 0; runde < 50; ++runde) {
      // Few distinct colours, so that equal distances are common.
      std::vector<GepackteFelder> felder;
      std::vector<int32_t> vorauswahl;
      const int anzahl = 1 + runde;
      for (int i = 0; i < anzahl; ++i) {
        felder.push_back(Packen(Zufallssignatur(gen, formanalyse, 0, 4), formanalyse));
        vorauswahl.push_back(anzahl - 1 - i);  // offered in reverse node order
      }
      const GepackteFelder anfrage = Packen(Zufallssignatur(gen, formanalyse, 0, 4), formanalyse);
      std::vector<int32_t> distanzen;
      for (const int32_t knoten : vorauswahl) {
        distanzen.push_back(Distanz(anfrage, felder[static_cast<size_t>(knoten)], formanalyse, 1));
      }
      std::vector<int32_t> angeboten = vorauswahl;
      Rangliste liste;
      liste.Bilden(felder, angeboten, anfrage, formanalyse, k);
      std::vector<int32_t> rangliste;
      for (size_t i = 0; i < liste.Anzahl(); ++i) rangliste.push_back(liste.Eintrag(i));
      std::vector<int32_t> erwartet;
      for (const int32_t position : RanglisteNachVorschrift(distanzen, k)) {
        erwartet.push_back(vorauswahl[static_cast<size_t>(position)]);
      }
      ASSERT_EQ(rangliste, erwartet) << "K " << k << ", round " << runde;
    }
  }
  Rangliste leer;
  std::vector<int32_t> einer = {0};
  leer.Bilden({GepackteFelder{}}, einer, GepackteFelder{}, 1, 0);
  EXPECT_EQ(leer.Anzahl(), 0u);
}

TEST(AbstandFrei, RadiusZeroLetsEqualPicturesTouchRadiusOneKeepsTheNeighboursFree) {
  Zellenraster raster(5, 5);
  raster.at(2, 2).Bild = 7;
  Platzierungen platz(8);
  platz.Platzieren(2, 2, 7);
  for (int x = 1; x <= 5; ++x) {
    for (int y = 1; y <= 5; ++y) {
      if (x < 2 || (x == 2 && y <= 2)) continue;  // cells filled before (2, 2)
      EXPECT_TRUE(AbstandFrei(raster, x, y, 0, 7));
      const bool nachbar = x - 2 <= 1 && std::abs(y - 2) <= 1;
      EXPECT_EQ(AbstandFrei(raster, x, y, 1, 7), !nachbar) << x << "," << y;
      EXPECT_EQ(platz.AbstandFrei(x, y, 1, 7), !nachbar) << x << "," << y;
      EXPECT_TRUE(AbstandFrei(raster, x, y, 1, 6));
    }
  }
}

TEST(AbstandFrei, PlacementListsAgreeWithTheGridScan) {
  std::mt19937 gen(3);
  std::uniform_int_distribution<int32_t> bild(0, 5);
  std::uniform_int_distribution<int32_t> radius(0, 4);
  Zellenraster raster(9, 7);
  Platzierungen platz(6);
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 7; ++y) {
      for (int32_t p = 0; p < 6; ++p) {
        const int32_t r = radius(gen);
        ASSERT_EQ(platz.AbstandFrei(x, y, r, p), AbstandFrei(raster, x, y, r, p));
      }
      const int32_t p = bild(gen);
      raster.at(x, y).Bild = p;
      platz.Platzieren(x, y, p);
    }
  }
}

// The nearest repetition that the last resort of a cell weighs is exactly the largest
// radius at which the rule still forbids the picture, plus one.
TEST(AbstandFrei, NearestRepetitionIsWhereTheRuleStartsToAllow) {
  std::mt19937 gen(8);
  std::uniform_int_distribution<int32_t> bild(0, 3);
  constexpr int32_t kRadius = 4;
  Platzierungen platz(4);
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 7; ++y) {
      for (int32_t p = 0; p < 4; ++p) {
        const int32_t naechste = platz.NaechsteWiederholung(x, y, kRadius, p);
        ASSERT_GE(naechste, 1);
        ASSERT_LE(naechste, kRadius + 1);
        for (int32_t r = 0; r <= kRadius; ++r) {
          ASSERT_EQ(platz.AbstandFrei(x, y, r, p), naechste > r) << x << "," << y << " " << r;
        }
      }
      platz.Platzieren(x, y, bild(gen));
    }
  }
}

// A job with a grid of random cells and `bilder` tiles of random colours behind files.
struct Zuordnungsfall : testing::Zuordnungsjob {
  Zuordnungsfall(int kachelnX, int kachelnY, int bilder, uint32_t seed) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> wert(0, 255);
    Einstellungen& e = auftrag.einstellungen;
    testing::RasterSetzen(e, static_cast<uint16_t>(kachelnX), static_cast<uint16_t>(kachelnY), 4,
                          4);
    e.minAbstand = 1;
    e.Musterabstand = 2;
    e.Kandidatenzahl = 8;
    e.Helligkeitsfenster = 25;
    auftrag.analyse.Formanalyse = 3;
    auftrag.zufall.seed(seed);
    for (int i = 0; i < bilder; ++i) {
      testing::KachelHinzufuegen(
          auftrag, ordner,
          Farbe{static_cast<uint8_t>(wert(gen)), static_cast<uint8_t>(wert(gen)),
                static_cast<uint8_t>(wert(gen))},
          2, 2);
    }
    e.Raster = std::make_unique<Zellenraster>(e.KachelnX, e.KachelnY);
    for (int x = 1; x <= kachelnX; ++x) {
      for (int y = 1; y <= kachelnY; ++y) {
        e.Raster->at(x, y).signatur = Zufallssignatur(gen, 3);
      }
    }
  }
};

// A job of `kachelnX` × `kachelnY` cells whose colours the test sets, matched on one
// field against tiles the test adds, without the brightness window or a pattern distance.
struct Handfall : testing::Zuordnungsjob {
  Handfall(uint16_t kachelnX, uint16_t kachelnY, int32_t minAbstand, int32_t kandidaten) {
    Einstellungen& e = auftrag.einstellungen;
    e.KachelnX = kachelnX;
    e.KachelnY = kachelnY;
    e.minAbstand = minAbstand;
    e.Musterabstand = 0;
    e.Kandidatenzahl = kandidaten;
    e.Helligkeitsfenster = 0;
    auftrag.analyse.Formanalyse = 1;
    e.Raster = std::make_unique<Zellenraster>(kachelnX, kachelnY);
  }

  std::string Kachel(Farbe farbe) { return testing::KachelHinzufuegen(auftrag, ordner, farbe); }
  void Zelle(int x, int y, Farbe farbe) {
    auftrag.einstellungen.Raster->at(x, y).signatur = EinfarbigeSignatur(0, farbe, 1);
  }
};

// When the repetition rule forbids every candidate, the cell takes the one whose
// nearest repetition lies farthest away instead of staying black.
TEST(KachelnZuordnen, ACellTheRuleLeavesEmptyTakesThePictureRepeatedFarthestAway) {
  Handfall fall(1, 6, 2, 5);
  fall.Kachel(Farbe{10, 10, 10});
  fall.Kachel(Farbe{60, 60, 60});
  for (int y = 1; y <= 6; ++y) fall.Zelle(1, y, Farbe{10, 10, 10});
  ASSERT_TRUE(fall.Zuordnen());
  // Row 3: picture 0 lies two rows up, picture 1 one: 0 is taken, though the rule wants
  // three rows between them. Row 5 likewise.
  EXPECT_EQ(fall.Bilder(), (std::vector<int32_t>{0, 1, 0, 1, 0, 1}));
}

TEST(KachelnZuordnen, VanishedPictureIsPassedOverAndCellListsReadAsPairs) {
  Handfall fall(1, 2, 0, 5);
  const std::string weg = fall.Kachel(Farbe{10, 10, 10});
  const std::string da = fall.Kachel(Farbe{40, 40, 40});
  std::remove(weg.c_str());
  fall.Zelle(1, 1, Farbe{10, 10, 10});
  fall.Zelle(1, 2, Farbe{10, 10, 10});
  const auto verwendung = fall.Zuordnen();
  ASSERT_TRUE(verwendung);
  EXPECT_EQ(fall.Bilder(), (std::vector<int32_t>{1, 1}));
  EXPECT_EQ(verwendung->Zeilen(), (std::vector<std::string>{da, "1|1|1|2|"}));
}

TEST(KachelnZuordnen, EmptyTileListLeavesEveryCellEmptyButStillDrawsPerCell) {
  testing::Zuordnungsjob job;
  Auftrag& auftrag = job.auftrag;
  Einstellungen& e = auftrag.einstellungen;
  e.KachelnX = 4;
  e.KachelnY = 3;
  e.Musterabstand = 3;
  e.Kandidatenzahl = 5;
  e.Helligkeitsfenster = 25;
  e.Raster = std::make_unique<Zellenraster>(4, 3);
  auftrag.zufall.seed(99);
  Zufall erwartet(99);
  for (int i = 0; i < 12; ++i) erwartet.next(4);
  const auto verwendung = job.Zuordnen(2);
  ASSERT_TRUE(verwendung);
  EXPECT_EQ(verwendung->Anzahl(), 0u);
  EXPECT_EQ(auftrag.zufall.state(), erwartet.state());
  EXPECT_EQ(e.Raster->at(4, 3).Bild, kKeinBild);
}

// A digest of the grid's picture numbers, the cell lists of the pictures placed (not
// their file names, which lie in a fresh folder) and the random generator's state.
uint64_t Fingerabdruck(const Zuordnungsfall& fall, const Verwendungsliste& verwendung) {
  uint64_t h = 1469598103934665603u;
  const auto mischen = [&](uint64_t wert) {
    for (int i = 0; i < 8; ++i) {
      h = (h ^ ((wert >> (8 * i)) & 0xFF)) * 1099511628211u;
    }
  };
  for (const int32_t bild : fall.Bilder()) mischen(static_cast<uint64_t>(bild));
  const std::vector<std::string> zeilen = verwendung.Zeilen();
  for (size_t i = 1; i < zeilen.size(); i += 2) {
    for (const char zeichen : zeilen[i]) mischen(static_cast<unsigned char>(zeichen));
  }
  mischen(fall.auftrag.zufall.state());
  return h;
}

TEST(KachelnZuordnen, WithoutUsageLimitsTheMatchingIsTheOriginalOne) {
  // The digests of the matching as it was before usage limits could change it: without a
  // cap, or with one no smaller than the cells, the grid must come out the same. (The
  // first differs from the earliest version's only in the cells the repetition rule left
  // black there, which now take the ranked picture repeated farthest away.)
  for (const int32_t deckel : {0, 23 * 17}) {
    Zuordnungsfall fall(23, 17, 40, 5);
    fall.auftrag.einstellungen.verfahren.MaxVerwendungen = deckel;
    const auto verwendung = fall.Zuordnen(2);
    ASSERT_TRUE(verwendung);
    EXPECT_EQ(Fingerabdruck(fall, *verwendung), 5000408544070870772u) << "cap " << deckel;
    EXPECT_FALSE(fall.auftrag.zuordnung.gerechnet);
  }
  Zuordnungsfall optimal(31, 12, 300, 8);
  optimal.auftrag.einstellungen.Kandidatenzahl = 60;
  optimal.auftrag.einstellungen.Helligkeitsfenster = 150;
  const auto verwendung = optimal.Zuordnen(3);
  ASSERT_TRUE(verwendung);
  EXPECT_EQ(Fingerabdruck(optimal, *verwendung), 7039502625412776942u);
}

TEST(KachelnZuordnen, CancelEndsThePhaseAndLeavesNoResultToShow) {
  Zuordnungsfall fall(6, 5, 10, 2);
  fall.auftrag.ErgebnisFertig = true;  // from an earlier run
  fall.benutzer.beimEreignis = [&](int32_t runde) {
    if (runde == 4) fall.auftrag.Abbruch = true;
  };
  EXPECT_FALSE(fall.Zuordnen(2));
  EXPECT_EQ(fall.benutzer.ereignisRunden, 4);
  EXPECT_FALSE(fall.auftrag.ErgebnisFertig);
  EXPECT_EQ(fall.auftrag.einstellungen.Raster->at(1, 5).Bild, kKeinBild);
}

}  // namespace
}  // namespace tilvendo
