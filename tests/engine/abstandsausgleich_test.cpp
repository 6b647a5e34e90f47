#include "engine/abstandsausgleich.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace tilvendo {
namespace {

// Distances from a table, every photo a candidate of every cell, nearest first.
class Tabellenkosten : public Ausgleichskosten {
 public:
  explicit Tabellenkosten(std::vector<std::vector<int32_t>> tabelle)
      : tabelle_(std::move(tabelle)) {
    for (const std::vector<int32_t>& zeile : tabelle_) {
      std::vector<int32_t> fotos(zeile.size());
      std::iota(fotos.begin(), fotos.end(), 0);
      std::stable_sort(fotos.begin(), fotos.end(), [&](int32_t a, int32_t b) {
        return zeile[static_cast<size_t>(a)] < zeile[static_cast<size_t>(b)];
      });
      kandidaten_.push_back(std::move(fotos));
    }
  }
  int32_t Distanz(size_t zelle, int32_t foto) const override {
    return tabelle_[zelle][static_cast<size_t>(foto)];
  }
  std::span<const int32_t> Kandidaten(size_t zelle) const override { return kandidaten_[zelle]; }

 private:
  std::vector<std::vector<int32_t>> tabelle_;
  std::vector<std::vector<int32_t>> kandidaten_;
};

int64_t Summe(const Belegung& b, const Ausgleichskosten& kosten) {
  int64_t summe = 0;
  for (size_t c = 0; c < b.foto.size(); ++c) summe += kosten.Distanz(c, b.foto[c]);
  return summe;
}

int32_t Konflikte(const Belegung& b) {
  int32_t anzahl = 0;
  for (size_t c = 0; c < b.foto.size(); ++c) {
    for (size_t e = 0; e < b.foto.size(); ++e) {
      if (c != e && b.foto[c] == b.foto[e] && ZuNah(b, c, e)) {
        ++anzahl;
        break;
      }
    }
  }
  return anzahl;
}

TEST(AbstandAusgleichen, LeavesNoPhotoTooCloseAndKeepsTheLimits) {
  std::mt19937 gen(21);
  const std::atomic<bool> abbruch{false};
  for (int runde = 0; runde < 40; ++runde) {
    // 12 × 9 cells, radius 1 or 2, at most 3 uses: with 80 photos a photo with uses to
    // spare always lies outside any cell's neighbourhood.
    Belegung b;
    b.kachelnX = 12;
    b.kachelnY = 9;
    const size_t zellen = 12 * 9;
    const size_t fotos = 80;
    std::uniform_int_distribution<int32_t> radius(1, 2);
    std::uniform_int_distribution<int32_t> abstand(0, 200);
    for (size_t c = 0; c < zellen; ++c) b.radius.push_back(radius(gen));
    for (size_t p = 0; p < fotos; ++p) {
      b.unten.push_back(p % 3 == 0 ? 1 : 0);
      b.oben.push_back(3);
    }
    // Every photo that must be used once first, then random photos with uses to spare,
    // so that repetitions side by side are common.
    std::vector<int32_t> nutzung(fotos, 0);
    for (size_t c = 0; c < zellen; ++c) {
      int32_t p = 0;
      if (3 * c < fotos) {
        p = static_cast<int32_t>(3 * c);
      } else {
        do {
          p = static_cast<int32_t>(gen() % 8);  // few photos: many repetitions
          if (nutzung[static_cast<size_t>(p)] >= 3) p = static_cast<int32_t>(gen() % fotos);
        } while (nutzung[static_cast<size_t>(p)] >= 3);
      }
      ++nutzung[static_cast<size_t>(p)];
      b.foto.push_back(p);
    }
    std::vector<std::vector<int32_t>> tabelle(zellen, std::vector<int32_t>(fotos));
    for (auto& zeile : tabelle) {
      for (int32_t& d : zeile) d = abstand(gen);
    }
    const Tabellenkosten kosten(tabelle);
    const int32_t vorher = Konflikte(b);
    ASSERT_GT(vorher, 0);
    const std::optional<Ausgleich> ausgleich = AbstandAusgleichen(b, kosten, abbruch);
    ASSERT_TRUE(ausgleich);
    EXPECT_EQ(ausgleich->offen, 0) << "round " << runde;
    EXPECT_EQ(Konflikte(b), 0) << "round " << runde;
    EXPECT_GT(ausgleich->tausche, 0);
    EXPECT_LE(ausgleich->tausche, vorher);
    std::fill(nutzung.begin(), nutzung.end(), 0);
    for (const int32_t p : b.foto) ++nutzung[static_cast<size_t>(p)];
    for (size_t p = 0; p < fotos; ++p) {
      EXPECT_GE(nutzung[p], b.unten[p]);
      EXPECT_LE(nutzung[p], b.oben[p]);
    }
  }
}

TEST(AbstandAusgleichen, TakesTheExchangeThatAddsTheLeastDistance) {
  // One column of three cells, radius 1: cells 0 and 1 both show photo A (0).
  Belegung b;
  b.kachelnX = 1;
  b.kachelnY = 3;
  b.radius = {1, 1, 1};
  b.unten = {0, 0, 0};
  b.oben = {2, 2, 2};
  b.foto = {0, 0, 1};  // A, A, B
  // Moving cell 0 to B adds 10 (B two cells away is allowed), cell 1 to C adds 5; cell 1
  // to B would sit next to B.
  const Tabellenkosten kosten({{0, 10, 50}, {0, 1, 5}, {40, 0, 40}});
  const std::atomic<bool> abbruch{false};
  const std::optional<Ausgleich> ausgleich = AbstandAusgleichen(b, kosten, abbruch);
  ASSERT_TRUE(ausgleich);
  EXPECT_EQ(b.foto, (std::vector<int32_t>{0, 2, 1}));
  EXPECT_EQ(ausgleich->tausche, 1);
  EXPECT_EQ(Summe(b, kosten), 5);

  // No photo has uses to spare: two cells swap their photos.
  b.kachelnY = 4;
  b.radius = {1, 1, 1, 1};
  b.unten = {0, 0};
  b.oben = {2, 2};
  b.foto = {0, 0, 1, 1};
  const Tabellenkosten gleich({{0, 0}, {0, 0}, {0, 0}, {0, 0}});
  ASSERT_TRUE(AbstandAusgleichen(b, gleich, abbruch));
  EXPECT_EQ(Konflikte(b), 0);
  EXPECT_EQ(std::count(b.foto.begin(), b.foto.end(), 0), 2);

  // A photo that must stay is not taken away even to mend a repetition.
  b.kachelnY = 2;
  b.radius = {1, 1};
  b.unten = {2, 0};
  b.oben = {2, 2};
  b.foto = {0, 0};
  const std::optional<Ausgleich> fest = AbstandAusgleichen(b, gleich, abbruch);
  ASSERT_TRUE(fest);
  EXPECT_EQ(b.foto, (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(fest->tausche, 0);
  EXPECT_EQ(fest->offen, 2);
}

TEST(AbstandAusgleichen, NeighbourhoodCountsTheLargerRadiusOfTheTwoCells) {
  Belegung b;
  b.kachelnX = 4;
  b.kachelnY = 1;
  b.radius = {0, 0, 3, 0};
  // Cells 0 and 3 lie three apart: too close only because cell 2's radius is not theirs.
  EXPECT_FALSE(ZuNah(b, 0, 3));
  EXPECT_TRUE(ZuNah(b, 0, 2));
  EXPECT_TRUE(ZuNah(b, 2, 0));
  EXPECT_FALSE(ZuNah(b, 0, 1));
  b.radius = {1, 0, 0, 0};
  EXPECT_TRUE(ZuNah(b, 0, 1));
  EXPECT_TRUE(ZuNah(b, 1, 0));
}

TEST(AbstandAusgleichen, CancelLeavesNoResult) {
  Belegung b;
  b.kachelnX = 1;
  b.kachelnY = 2;
  b.radius = {1, 1};
  b.unten = {0, 0};
  b.oben = {2, 2};
  b.foto = {0, 0};
  const Tabellenkosten kosten({{0, 1}, {0, 1}});
  const std::atomic<bool> abbruch{true};
  EXPECT_FALSE(AbstandAusgleichen(b, kosten, abbruch));
}

}  // namespace
}  // namespace tilvendo
