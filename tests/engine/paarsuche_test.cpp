// The searches the flow relies on to find pairs without measuring all of them: the bound
// from the colour sums, the price search, and the first assignment.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "engine/abstandsausgleich.h"
#include "engine/paarsuche.h"
#include "engine/preissuche.h"
#include "engine/vorbelegung.h"
#include "engine/zuordnungsdaten.h"

namespace tilvendo {
namespace {

constexpr int kFormanalyse = 3;

Kachelsignatur GestreuteSignatur(std::mt19937& gen, int32_t nummer, int streuung, int von = 0,
                               int bis = 255) {
  std::uniform_int_distribution<int> basis(von, bis);
  std::uniform_int_distribution<int> abweichung(-streuung, streuung);
  const int r = basis(gen), g = basis(gen), b = basis(gen);
  Kachelsignatur s;
  s.Nummer = nummer;
  for (int i = 0; i < kFormanalyse; ++i) {
    for (int j = 0; j < kFormanalyse; ++j) {
      Feld& f = s.Felder[i][j];
      f.Rot = static_cast<uint8_t>(std::clamp(r + abweichung(gen), 0, 255));
      f.Gruen = static_cast<uint8_t>(std::clamp(g + abweichung(gen), 0, 255));
      f.Blau = static_cast<uint8_t>(std::clamp(b + abweichung(gen), 0, 255));
      f.Summe = static_cast<uint16_t>(f.Rot + f.Gruen + f.Blau);
    }
  }
  s.Helligkeit = static_cast<uint16_t>(r + g + b);
  return s;
}

// Cells and photos of random colours, every photo its own file.
struct Bestand {
  Zellenraster raster;
  Kachelliste liste;
  std::unique_ptr<Helligkeitsreihe> reihe;
  std::unique_ptr<Zuordnungsdaten> daten;

  // Base colours between `von` and `bis` in each channel.
  Bestand(int kachelnX, int kachelnY, int fotos, uint32_t seed, int streuung = 40, int von = 0,
          int bis = 255)
      : raster(static_cast<uint16_t>(kachelnX), static_cast<uint16_t>(kachelnY)) {
    std::mt19937 gen(seed);
    for (int k = 0; k < fotos; ++k) {
      liste.KachelEinfuegen(GestreuteSignatur(gen, k, streuung, von, bis));
    }
    for (int x = 1; x <= kachelnX; ++x) {
      for (int y = 1; y <= kachelnY; ++y) {
        raster.at(x, y).signatur = GestreuteSignatur(gen, 0, streuung, von, bis);
      }
    }
    reihe = std::make_unique<Helligkeitsreihe>(liste, kFormanalyse);
    std::vector<int32_t> rang(static_cast<size_t>(fotos));
    for (int32_t r = 0; r < reihe->Anzahl(); ++r) rang[static_cast<size_t>(reihe->Nummer(r))] = r;
    daten = std::make_unique<Zuordnungsdaten>(raster, *reihe, rang, kFormanalyse);
    for (size_t c = 0; c < daten->Zellen(); ++c) daten->ZelleVermessen(c);
  }
};

TEST(Paarsuche, GridWalkMissesNoPhotoNearerThanItsBoundAndNarrowsWithIt) {
  // Colours crowded into a part of the cube, so that near photos lie in many rings.
  const Bestand b(6, 5, 300, 5, 10, 60, 160);
  const Zuordnungsdaten& d = *b.daten;
  std::vector<int32_t> alle(d.Fotos());
  std::iota(alle.begin(), alle.end(), 0);
  Farbgitter gitter(alle, d.AlleFotoSummen(), kFormanalyse);
  for (size_t c = 0; c < d.Zellen(); ++c) {
    for (const int32_t schranke : {1, 20, 40, 60, 90, 200, 800}) {
      std::vector<int32_t> besucht;
      gitter.Durchsuchen(d.ZellSummen(c), schranke, [&](int32_t foto) {
        besucht.push_back(foto);
        return schranke;
      });
      std::sort(besucht.begin(), besucht.end());
      EXPECT_TRUE(std::adjacent_find(besucht.begin(), besucht.end()) == besucht.end());
      for (const int32_t p : alle) {
        if (d.Distanz(c, p) < schranke) {
          ASSERT_TRUE(std::binary_search(besucht.begin(), besucht.end(), p))
              << "cell " << c << ", bound " << schranke;
        }
      }
      // A small bound leaves most photos unmeasured.
      if (schranke == 1) {
        EXPECT_LT(besucht.size(), alle.size() / 2);
      }
      // Nor does the walk visit a photo whose colours together lie farther off than the
      // bound and the width of a bin in each colour, up and down (6 × 16), allow.
      for (const int32_t p : besucht) {
        ASSERT_LE(Mindestdistanz(d.ZellSummen(c), d.FotoSummen(p), kFormanalyse), schranke + 96)
            << "cell " << c << ", bound " << schranke;
      }
    }
    // The nearest photo, found with a bound that narrows to the best so far.
    int32_t beste = 1000;
    int32_t bestes = -1;
    gitter.Durchsuchen(d.ZellSummen(c), beste, [&](int32_t foto) {
      if (d.Distanz(c, foto) < beste) {
        beste = d.Distanz(c, foto);
        bestes = foto;
      }
      return beste;
    });
    int32_t erwartet = 1000;
    for (const int32_t p : alle) erwartet = std::min(erwartet, d.Distanz(c, p));
    EXPECT_EQ(beste, erwartet);
    // A photo taken out is not visited any more.
    Farbgitter ohne = gitter;
    ohne.Entfernen(bestes, d.FotoSummen(bestes));
    bool gesehen = false;
    ohne.Durchsuchen(d.ZellSummen(c), 1000, [&](int32_t foto) {
      gesehen = gesehen || foto == bestes;
      return 1000;
    });
    EXPECT_FALSE(gesehen);
  }
}

TEST(Preissuche, FindsEveryPairWithNegativeReducedCostAndTheMostNegative) {
  std::mt19937 gen(13);
  const Bestand b(9, 7, 300, 17, 20, 40, 200);
  const Zuordnungsdaten& d = *b.daten;
  for (int runde = 0; runde < 20; ++runde) {
    // Prices as a flow might give them: most photos alike, a few dear ones; in every
    // other round 150 dear ones, so that a group large enough for the grid holds
    // dear and cheap ones, and cells priced near the cheap ones look only close by.
    Flussloesung loesung;
    std::uniform_int_distribution<int64_t> zellPreis(runde % 2 == 0 ? -90 : -2, -1);
    std::uniform_int_distribution<int64_t> aufschlag(0, 120);
    for (size_t c = 0; c < d.Zellen(); ++c) loesung.zellPotential.push_back(zellPreis(gen));
    for (size_t p = 0; p < d.Fotos(); ++p) {
      if (runde % 2 == 0) {
        loesung.fotoPotential.push_back(p % 9 == 0 ? aufschlag(gen) : 0);
      } else {
        loesung.fotoPotential.push_back(p < 150 ? 50 + aufschlag(gen) : 0);
      }
    }
    const Preissuche suche(d, loesung);
    for (size_t c = 0; c < d.Zellen(); ++c) {
      const int32_t zugeordnet = static_cast<int32_t>(c % d.Fotos());
      Partnerliste neu;
      const int64_t kleinste = suche.Bewerten(c, zugeordnet, d.Fotos(), neu);
      std::vector<int32_t> erwartet;
      int64_t erwarteteKleinste = 0;
      for (int32_t p = 0; p < static_cast<int32_t>(d.Fotos()); ++p) {
        const int64_t r = d.Distanz(c, p) + loesung.zellPotential[c] -
                          loesung.fotoPotential[static_cast<size_t>(p)];
        if (p != zugeordnet && r < 0) {
          erwartet.push_back(p);
          erwarteteKleinste = std::min(erwarteteKleinste, r);
        }
      }
      std::vector<int32_t> gefunden = neu.partner;
      std::sort(gefunden.begin(), gefunden.end());
      ASSERT_EQ(gefunden, erwartet) << "round " << runde << ", cell " << c;
      EXPECT_EQ(kleinste, erwarteteKleinste);
      for (size_t k = 0; k < neu.partner.size(); ++k) {
        EXPECT_EQ(neu.distanz[k], d.Distanz(c, neu.partner[k]));
      }
      // Only the most promising when fewer are asked for: the most negative reduced
      // costs, on equal ones the photo numbered first.
      std::vector<std::pair<int64_t, int32_t>> rangfolge;
      for (const int32_t p : erwartet) {
        rangfolge.emplace_back(d.Distanz(c, p) + loesung.zellPotential[c] -
                                   loesung.fotoPotential[static_cast<size_t>(p)],
                               p);
      }
      std::sort(rangfolge.begin(), rangfolge.end());
      for (const size_t hoechstens : {size_t{0}, size_t{1}, size_t{3}}) {
        Partnerliste wenige;
        EXPECT_EQ(suche.Bewerten(c, zugeordnet, hoechstens, wenige), erwarteteKleinste);
        ASSERT_EQ(wenige.partner.size(), std::min(hoechstens, erwartet.size()));
        for (size_t k = 0; k < wenige.partner.size(); ++k) {
          EXPECT_EQ(wenige.partner[k], rangfolge[k].second) << "round " << runde << ", cell " << c;
        }
      }
    }
  }
}

TEST(Preissuche, FindsPairsOfEqualSignaturesThatSaveTheLeast) {
  // Flat cells and photos of a few colours, many of them equal (distance 0): with every
  // photo priced one above the cells, exactly these pairs save one, the least a pair can.
  const Bestand b(6, 5, 200, 29, 0, 100, 101);
  const Zuordnungsdaten& d = *b.daten;
  Flussloesung loesung;
  loesung.zellPotential.assign(d.Zellen(), -1);
  loesung.fotoPotential.assign(d.Fotos(), 0);
  const Preissuche suche(d, loesung);
  for (size_t c = 0; c < d.Zellen(); ++c) {
    std::vector<int32_t> gleich;
    for (int32_t p = 0; p < static_cast<int32_t>(d.Fotos()); ++p) {
      if (d.Distanz(c, p) == 0) gleich.push_back(p);
    }
    ASSERT_FALSE(gleich.empty()) << "cell " << c;
    Partnerliste neu;
    EXPECT_EQ(suche.Bewerten(c, kKeinBild, d.Fotos(), neu), -1) << "cell " << c;
    std::sort(neu.partner.begin(), neu.partner.end());
    EXPECT_EQ(neu.partner, gleich) << "cell " << c;
  }
}

TEST(Vorbelegen, FillsEveryCellWithinTheLimitsAndPlacesThePhotosThatMustBeUsed) {
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    Bestand b(8, 6, 30, seed);
    Zuordnungsdaten& d = *b.daten;
    const size_t fotos = d.Fotos();
    std::vector<int32_t> unten(fotos, 0);
    std::vector<int32_t> oben(fotos, 2);
    d.naheFotos.assign(d.Zellen(), Partnerliste{});
    d.naheZellen.assign(fotos, Partnerliste{});
    for (size_t c = 0; c < d.Zellen(); ++c) {
      // Only the first three photos are near: the rest must come from the wider search.
      for (int32_t p = 0; p < 3; ++p) {
        d.naheFotos[c].partner.push_back(p);
        d.naheFotos[c].distanz.push_back(d.Distanz(c, p));
      }
    }
    for (size_t p = 20; p < fotos; ++p) {
      unten[p] = 1;
      d.naheZellen[p].partner.push_back(static_cast<int32_t>(p));
      d.naheZellen[p].distanz.push_back(d.Distanz(p, static_cast<int32_t>(p)));
    }
    const std::vector<int32_t> foto = Vorbelegen(d, unten, oben);
    std::vector<int32_t> nutzung(fotos, 0);
    for (const int32_t p : foto) {
      ASSERT_NE(p, kKeinBild);
      ++nutzung[static_cast<size_t>(p)];
    }
    for (size_t p = 0; p < fotos; ++p) EXPECT_LE(nutzung[p], oben[p]);
    // Each photo that must be used took its one near cell.
    for (size_t p = 20; p < fotos; ++p) EXPECT_EQ(foto[p], static_cast<int32_t>(p));
    // A cell left by the near photos got the nearest photo that still had uses to spare.
    for (size_t c = 0; c < d.Zellen(); ++c) {
      if (c >= 20 && c < fotos) continue;
      const int32_t p = foto[c];
      if (p < 3) continue;
      for (int32_t q = 3; q < static_cast<int32_t>(fotos); ++q) {
        if (nutzung[static_cast<size_t>(q)] < oben[static_cast<size_t>(q)]) {
          EXPECT_LE(d.Distanz(c, p), d.Distanz(c, q)) << "seed " << seed;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tilvendo
