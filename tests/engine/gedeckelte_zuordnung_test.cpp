// The matching under usage limits through KachelnZuordnen: against every assignment
// tried on small grids, and the limits and the minimum distance over random grids.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <vector>

#include "engine/abgleich.h"
#include "engine/distanz.h"
#include "lauf_testkacheln.h"
#include "support/temp_folder.h"
#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

// A grid of random cells and `bilder` photos of random colours, each behind a file.
struct Fall : testing::Zuordnungsjob {
  Fall(int kachelnX, int kachelnY, int bilder, uint32_t seed, int formanalyse = 2) {
    std::mt19937 gen(seed);
    Einstellungen& e = auftrag.einstellungen;
    testing::RasterSetzen(e, static_cast<uint16_t>(kachelnX), static_cast<uint16_t>(kachelnY), 4,
                          4);
    e.minAbstand = 0;
    e.Musterabstand = 0;
    e.Kandidatenzahl = 3;
    e.Helligkeitsfenster = 25;
    auftrag.analyse.Formanalyse = static_cast<uint8_t>(formanalyse);
    auftrag.zufall.seed(seed);
    for (int k = 0; k < bilder; ++k) {
      const std::string datei = ordner / ("foto" + std::to_string(k) + ".jpg");
      std::ofstream(datei) << "x";
      auftrag.Dateiliste.push_back(datei);
      auftrag.kachelliste.KachelEinfuegen(testing::Zufallssignatur(gen, formanalyse, k));
    }
    e.Raster = std::make_unique<Zellenraster>(e.KachelnX, e.KachelnY);
    for (int x = 1; x <= kachelnX; ++x) {
      for (int y = 1; y <= kachelnY; ++y) {
        e.Raster->at(x, y).signatur = testing::Zufallssignatur(gen, formanalyse, 0);
      }
    }
  }

  const Kachelsignatur& Foto(int32_t nummer) const {
    for (int32_t k = auftrag.kachelliste.Kopf(); k != kKeinKnoten;
         k = auftrag.kachelliste.Knoten(k).Hoeher) {
      if (auftrag.kachelliste.Knoten(k).signatur.Nummer == nummer) {
        return auftrag.kachelliste.Knoten(k).signatur;
      }
    }
    throw std::logic_error("no such photo");
  }

  // Distance of every cell (column by column) to every photo.
  std::vector<std::vector<int32_t>> Distanzen() const {
    const Zellenraster& r = *auftrag.einstellungen.Raster;
    std::vector<std::vector<int32_t>> d;
    for (int x = 1; x <= r.kachelnX(); ++x) {
      for (int y = 1; y <= r.kachelnY(); ++y) {
        std::vector<int32_t> zeile;
        for (int32_t p = 0; p < static_cast<int32_t>(auftrag.Dateiliste.size()); ++p) {
          zeile.push_back(Distanz(r.at(x, y).signatur, Foto(p), auftrag.analyse.Formanalyse));
        }
        d.push_back(zeile);
      }
    }
    return d;
  }

  int64_t Summe() const {
    const std::vector<std::vector<int32_t>> d = Distanzen();
    const std::vector<int32_t> bilder = Bilder();
    int64_t summe = 0;
    for (size_t c = 0; c < bilder.size(); ++c) summe += d[c][static_cast<size_t>(bilder[c])];
    return summe;
  }
};

TEST(GedeckeltZuordnen, SmallGridsReachTheBestOfAllAssignments) {
  struct Grenzen {
    int32_t deckel;
    bool jedesFoto;
  };
  // 3 × 2 cells and 4 photos: 4096 assignments. With every photo at least once and no
  // cap each photo takes at most ⌈6 ÷ 4⌉ = 2 cells.
  const Grenzen faelle[] = {{1, false}, {2, false}, {3, false}, {0, true}, {3, true}};
  for (const Grenzen& grenzen : faelle) {
    for (uint32_t seed = 1; seed <= 12; ++seed) {
      Fall fall(3, 2, grenzen.deckel == 1 ? 6 : 4, seed);
      Verfahren& v = fall.auftrag.einstellungen.verfahren;
      v.MaxVerwendungen = grenzen.deckel;
      v.JedesFoto = grenzen.jedesFoto;
      ASSERT_TRUE(fall.Zuordnen(2));
      const int32_t oben = grenzen.deckel > 0 ? grenzen.deckel : 2;
      const size_t fotos = fall.auftrag.Dateiliste.size();
      const int64_t optimum = testing::Durchprobiert(
          fall.Distanzen(), std::vector<int32_t>(fotos, grenzen.jedesFoto ? 1 : 0),
          std::vector<int32_t>(fotos, oben));
      const Zuordnungsbericht& z = fall.auftrag.zuordnung;
      ASSERT_TRUE(z.gerechnet);
      // Within the promised share of the optimum, and the bound below it.
      EXPECT_GE(z.summeFluss, optimum) << "cap " << grenzen.deckel << ", seed " << seed;
      EXPECT_LE(static_cast<double>(z.summeFluss), static_cast<double>(optimum) * 1.0009)
          << "cap " << grenzen.deckel << ", seed " << seed;
      EXPECT_LE(z.untereSchranke, optimum);
      // Radius 0: nothing to exchange, and the grid holds the flow's assignment.
      EXPECT_EQ(z.tausche, 0);
      EXPECT_EQ(z.summe, z.summeFluss);
      EXPECT_EQ(fall.Summe(), z.summe);
    }
  }
}

TEST(GedeckeltZuordnen, LimitsAndMinimumDistanceHoldOnRandomGrids) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    std::mt19937 gen(seed);
    const int kachelnX = 8 + static_cast<int>(gen() % 4);
    const int kachelnY = 6 + static_cast<int>(gen() % 4);
    const int zellen = kachelnX * kachelnY;
    const bool jedesFoto = seed % 2 == 0;
    // Enough photos that more than eight have uses to spare: one of them always lies
    // outside a cell's eight neighbours.
    const int bilder = jedesFoto ? zellen * 2 / 3 : zellen / 3 + 12;
    Fall fall(kachelnX, kachelnY, bilder, seed, 3);
    Einstellungen& e = fall.auftrag.einstellungen;
    e.minAbstand = 1;
    e.Kandidatenzahl = 4;
    e.verfahren.JedesFoto = jedesFoto;
    e.verfahren.MaxVerwendungen = jedesFoto ? 0 : 3;
    ASSERT_TRUE(fall.Zuordnen(2));
    const Zellenraster& r = *e.Raster;
    std::map<int32_t, int32_t> nutzung;
    for (int x = 1; x <= kachelnX; ++x) {
      for (int y = 1; y <= kachelnY; ++y) {
        const int32_t bild = r.at(x, y).Bild;
        ASSERT_NE(bild, kKeinBild) << "seed " << seed;
        ++nutzung[bild];
        for (int nx = std::max(1, x - 1); nx <= std::min(kachelnX, x + 1); ++nx) {
          for (int ny = std::max(1, y - 1); ny <= std::min(kachelnY, y + 1); ++ny) {
            if (nx != x || ny != y) {
              EXPECT_NE(r.at(nx, ny).Bild, bild) << "seed " << seed << " at " << x << "," << y;
            }
          }
        }
      }
    }
    const int32_t oben = jedesFoto ? (zellen + bilder - 1) / bilder : 3;
    for (const auto& [bild, anzahl] : nutzung) EXPECT_LE(anzahl, oben) << "seed " << seed;
    if (jedesFoto) {
      EXPECT_EQ(static_cast<int>(nutzung.size()), bilder) << "seed " << seed;
    }
    const Zuordnungsbericht& z = fall.auftrag.zuordnung;
    EXPECT_EQ(z.offen, 0);
    EXPECT_GE(z.summe, z.untereSchranke);
    EXPECT_EQ(fall.Summe(), z.summe);
  }
}

TEST(GedeckeltZuordnen, AFileInTwoAlbumsIsOnePhotoAndAVanishedOneIsPassedOver) {
  Fall fall(4, 3, 6, 3);
  // Number 6 is the file of number 0 reached through a second album; number 7 is gone.
  fall.auftrag.Dateiliste.push_back(fall.auftrag.Dateiliste[0]);
  Kachelsignatur zweite = fall.Foto(0);
  zweite.Nummer = 6;
  fall.auftrag.kachelliste.KachelEinfuegen(zweite);
  fall.auftrag.Dateiliste.push_back(fall.ordner / "weg.jpg");
  Kachelsignatur weg = fall.Foto(1);
  weg.Nummer = 7;
  fall.auftrag.kachelliste.KachelEinfuegen(weg);
  fall.auftrag.einstellungen.verfahren.JedesFoto = true;
  fall.auftrag.einstellungen.verfahren.MaxVerwendungen = 2;
  ASSERT_TRUE(fall.Zuordnen(2));
  std::map<std::string, int32_t> nutzung;
  for (const int32_t bild : fall.Bilder()) {
    ASSERT_NE(bild, kKeinBild);
    ASSERT_NE(bild, 7);
    ++nutzung[fall.auftrag.Dateiliste[static_cast<size_t>(bild)]];
  }
  // Six files, each at least once and at most twice, whichever number shows it.
  EXPECT_EQ(nutzung.size(), 6u);
  for (const auto& [datei, anzahl] : nutzung) {
    EXPECT_GE(anzahl, 1);
    EXPECT_LE(anzahl, 2);
  }
  EXPECT_EQ(fall.auftrag.FehlendeBilder, 1);
}

TEST(GedeckeltZuordnen, PhotosThatCannotFillTheGridLeaveCellsEmpty) {
  // Four photos, one use each, six cells (counted apart from the start's check).
  Fall fall(3, 2, 4, 8);
  fall.auftrag.einstellungen.verfahren.MaxVerwendungen = 1;
  ASSERT_TRUE(fall.Zuordnen(2));
  const std::vector<int32_t> bilder = fall.Bilder();
  EXPECT_EQ(std::count(bilder.begin(), bilder.end(), kKeinBild), 2);
  std::vector<int32_t> gezeigt;
  for (const int32_t b : bilder) {
    if (b != kKeinBild) gezeigt.push_back(b);
  }
  std::sort(gezeigt.begin(), gezeigt.end());
  EXPECT_EQ(gezeigt, (std::vector<int32_t>{0, 1, 2, 3}));
}

// A cancel while the cells are ranked (one look at the flag per cell), or between the
// rounds of the flow (the next look comes while the first flow's pairs are priced), ends
// the phase with the grid left empty.
TEST(GedeckeltZuordnen, CancelDuringTheRankingOrBetweenTheRoundsOfTheFlowEndsThePhase) {
  for (const int32_t runde : {4, 6 * 5 + 1}) {
    Fall fall(6, 5, 20, 4);
    fall.auftrag.einstellungen.verfahren.MaxVerwendungen = 2;
    fall.benutzer.beimEreignis = [&](int32_t jetzt) {
      if (jetzt == runde) fall.auftrag.Abbruch = true;
    };
    EXPECT_FALSE(fall.Zuordnen(2));
    EXPECT_EQ(fall.auftrag.zuordnung.runden, runde == 4 ? 0 : 1);
    const std::vector<int32_t> bilder = fall.Bilder();
    EXPECT_EQ(std::count(bilder.begin(), bilder.end(), kKeinBild), 6 * 5);
  }
}

}  // namespace
}  // namespace tilvendo
