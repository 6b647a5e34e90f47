#include "wizard/lupen_kacheln.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo::wizard {
namespace {

using testing::Einfarbig;
using testing::TempFolder;
using testing::WriteTestJpeg;

constexpr Farbe kRot{0, 0, 220};
constexpr Farbe kGruen{0, 200, 0};
constexpr Farbe kBlau{210, 0, 0};
constexpr Farbe kGrau{128, 128, 128};
constexpr Size kKachel{40, 30};

bool Nahe(Farbe a, Farbe b) {
  const auto nah = [](int x, int y) { return std::abs(x - y) <= 6; };
  return nah(a.blue, b.blue) && nah(a.green, b.green) && nah(a.red, b.red);
}

// A grid of kachelnX × kachelnY cells of 40 × 30 pixels showing the photos `bilder`
// (column by column: (1,1) (1,2) … (2,1) …; kKeinBild for an empty cell) of `dateien`.
std::shared_ptr<Mosaikplan> Plan(int32_t kachelnX, int32_t kachelnY,
                                 const std::vector<std::string>& dateien,
                                 const std::vector<int32_t>& bilder, uint8_t farbangleich = 0) {
  Einstellungen e;
  e.KachelnX = static_cast<uint16_t>(kachelnX);
  e.KachelnY = static_cast<uint16_t>(kachelnY);
  e.ZellBreite = kKachel.width;
  e.ZellHoehe = kKachel.height;
  e.ZoomX = e.ZoomY = 100;
  e.ZielBreite = kachelnX * kKachel.width;
  e.ZielHoehe = kachelnY * kKachel.height;
  e.verfahren.Farbangleich = farbangleich;
  Analyse analyse;
  analyse.Formanalyse = 1;
  Verwendungsliste verwendung;
  for (int32_t x = 1; x <= kachelnX; ++x) {
    for (int32_t y = 1; y <= kachelnY; ++y) {
      const int32_t bild = bilder[static_cast<size_t>((x - 1) * kachelnY + (y - 1))];
      if (bild == kKeinBild) continue;
      const std::string& datei = dateien[static_cast<size_t>(bild)];
      const size_t k = verwendung.Finden(datei);
      if (k == Verwendungsliste::kNichtGefunden) {
        verwendung.Hinzufuegen(datei, Zellort{x, y});
      } else {
        verwendung.ZelleAnfuegen(k, Zellort{x, y});
      }
    }
  }
  return std::make_shared<Mosaikplan>(e, analyse, std::move(verwendung));
}

// A grid of 4 × 3 cells: pictures 0, 1, 2 are red, green and blue photos, picture 3 a
// file that is gone; cell (4, 3) is empty. Red is placed twice.
struct Sammlung {
  TempFolder ordner;
  std::vector<std::string> dateien;
  Lupenquelle quelle;

  Sammlung() {
    const std::vector<Farbe> farben{kRot, kGruen, kBlau};
    for (size_t i = 0; i < farben.size(); ++i) {
      dateien.push_back(ordner / ("foto" + std::to_string(i) + ".jpg"));
      WriteTestJpeg(dateien.back(), Einfarbig(160, 120, farben[i]));
    }
    dateien.push_back(ordner / "weg.jpg");
    quelle.plan = Plan(4, 3, dateien, {0, 1, 2, 1, 2, 0, 2, 3, 0, 0, 1, kKeinBild});
    quelle.arbeitspfad = ordner.path();
  }
};

TEST(Lupenkacheln, ReadsEachPlacedPictureOnceAtTheSizeOfItsLevel) {
  Sammlung s;
  std::atomic<int> angekommen{0};
  Lupenkacheln kacheln(s.quelle, [&] { ++angekommen; });
  EXPECT_EQ(kacheln.Kachel(Zellort{1, 1}, 0), nullptr);  // not asked for yet
  kacheln.Anfordern(Zellbereich{1, 1, 4, 3}, 0);
  kacheln.Abwarten();
  // Four files, the lost one among them; none twice, and no empty cell.
  EXPECT_EQ(kacheln.Gelesen(), 4);
  EXPECT_EQ(angekommen.load(), 4);

  const auto rot = kacheln.Kachel(Zellort{1, 1}, 0);
  ASSERT_NE(rot, nullptr);
  EXPECT_EQ(rot->bild.width(), kKachel.width);
  EXPECT_EQ(rot->bild.height(), kKachel.height);
  EXPECT_TRUE(Nahe(ReadPixel(rot->bild, 20, 15), kRot));
  EXPECT_EQ(kacheln.Kachel(Zellort{3, 3}, 0), rot);  // the same picture, the same tile
  const auto blau = kacheln.Kachel(Zellort{1, 3}, 0);
  ASSERT_NE(blau, nullptr);
  EXPECT_TRUE(Nahe(ReadPixel(blau->bild, 0, 0), kBlau));
  EXPECT_EQ(kacheln.Kachel(Zellort{3, 2}, 0), nullptr);  // the file that is gone
  EXPECT_EQ(kacheln.Kachel(Zellort{4, 3}, 0), nullptr);  // the empty cell
  EXPECT_EQ(kacheln.DateiIn(Zellort{4, 3}), "");
  EXPECT_EQ(kacheln.DateiIn(Zellort{2, 1}), s.ordner / "foto1.jpg");
  EXPECT_EQ(kacheln.DateiIn(Zellort{5, 1}), "");

  // What was read, also an unreadable file, is not read again.
  kacheln.Anfordern(Zellbereich{1, 1, 4, 3}, 0);
  kacheln.Abwarten();
  EXPECT_EQ(kacheln.Gelesen(), 4);

  // Another level is a tile of its own size.
  kacheln.Anfordern(Zellbereich{2, 1, 2, 1}, 1);
  kacheln.Abwarten();
  const auto halb = kacheln.Kachel(Zellort{2, 1}, 1);
  ASSERT_NE(halb, nullptr);
  EXPECT_EQ(halb->bild.width(), 20);
  EXPECT_EQ(halb->bild.height(), 15);
  EXPECT_EQ(kacheln.GehalteneBytes(), 3 * rot->bild.byteSize() + halb->bild.byteSize());
}

TEST(Lupenkacheln, GivesUpWhatIsNoLongerShownButNeverWhatIsShown) {
  Sammlung s;
  const uint64_t eineKachel = Bitmap(kKachel.width, kKachel.height).byteSize();
  Lupenkacheln kacheln(s.quelle, nullptr, eineKachel);
  kacheln.Anfordern(Zellbereich{1, 1, 1, 3}, 0);  // red, green and blue
  kacheln.Abwarten();
  // All three are shown, so all are kept beyond the share.
  EXPECT_EQ(kacheln.GehalteneBytes(), 3 * eineKachel);
  EXPECT_NE(kacheln.Kachel(Zellort{1, 1}, 0), nullptr);

  kacheln.Anfordern(Zellbereich{2, 1, 2, 1}, 1);  // the window moved on
  kacheln.Abwarten();
  EXPECT_LE(kacheln.GehalteneBytes(), eineKachel);
  EXPECT_NE(kacheln.Kachel(Zellort{2, 1}, 1), nullptr);
  EXPECT_EQ(kacheln.Kachel(Zellort{1, 1}, 0), nullptr);
  // Shown again, it is read again.
  kacheln.Anfordern(Zellbereich{1, 1, 1, 1}, 0);
  kacheln.Abwarten();
  EXPECT_NE(kacheln.Kachel(Zellort{1, 1}, 0), nullptr);
  EXPECT_EQ(kacheln.Gelesen(), 5);
  // Still shown when the window widens: a tile read before is kept beside the new one.
  kacheln.Anfordern(Zellbereich{1, 1, 1, 2}, 0);
  kacheln.Abwarten();
  EXPECT_EQ(kacheln.GehalteneBytes(), 2 * eineKachel);
  EXPECT_EQ(kacheln.Gelesen(), 6);
}

TEST(Lupenkacheln, DropsTheWishesOfAWindowThatMovedOn) {
  Sammlung s;
  Lupenkacheln* selbst = nullptr;
  bool weiter = false;
  // One worker: while it reads the first tile, the window moves to cell (2, 1).
  Lupenkacheln kacheln(
      s.quelle,
      [&] {
        if (weiter) return;
        weiter = true;
        selbst->Anfordern(Zellbereich{2, 1, 2, 1}, 1);
      },
      kLupenSpeicher, 1);
  selbst = &kacheln;
  kacheln.Anfordern(Zellbereich{1, 1, 4, 3}, 0);
  kacheln.Abwarten();
  EXPECT_EQ(kacheln.Gelesen(), 2);
  EXPECT_NE(kacheln.Kachel(Zellort{2, 1}, 1), nullptr);
}

TEST(Lupenkacheln, ReadsTheMiddleOfTheWindowFirst) {
  Sammlung s;
  std::vector<std::string> reihenfolge;
  Lupenkacheln* selbst = nullptr;
  Lupenkacheln kacheln(
      s.quelle,
      [&] {
        for (int x = 1; x <= 4; ++x) {
          for (int y = 1; y <= 3; ++y) {
            if (selbst->Kachel(Zellort{x, y}, 0) == nullptr) continue;
            const std::string datei = selbst->DateiIn(Zellort{x, y});
            if (std::find(reihenfolge.begin(), reihenfolge.end(), datei) == reihenfolge.end()) {
              reihenfolge.push_back(datei);
            }
          }
        }
      },
      kLupenSpeicher, 1);
  selbst = &kacheln;
  // Cells (1..3, 1..3): the middle (2, 2) shows blue.
  kacheln.Anfordern(Zellbereich{1, 1, 3, 3}, 0);
  kacheln.Abwarten();
  ASSERT_FALSE(reihenfolge.empty());
  EXPECT_EQ(reihenfolge.front(), s.ordner / "foto2.jpg");
}

// On a grid with more rows than columns, each cell's tile is moved toward its own cell of
// the template: one grey photo in all six cells of a 2 × 3 grid over a template of six
// colours.
TEST(Lupenkacheln, MovesTilesTowardTheirCellsAsTheRunDid) {
  Sammlung s;
  const std::array<Farbe, 6> farben = {
      kRot, kBlau, kGruen, Farbe{0, 0, 0}, Farbe{250, 250, 250}, Farbe{40, 90, 200}};
  // Cell (x, y) of the template has colour (x − 1) × 3 + (y − 1).
  Bitmap vorlage(80, 90);
  for (int32_t y = 0; y < 90; ++y) {
    for (int32_t x = 0; x < 80; ++x) WritePixel(vorlage, x, y, farben[(x / 40) * 3 + y / 30]);
  }
  WriteTestJpeg(s.dateien[0], Einfarbig(160, 120, kGrau));
  s.quelle.plan = Plan(2, 3, s.dateien, {0, 0, 0, 0, 0, 0}, 100);
  s.quelle.vorlage = &vorlage;
  Lupenkacheln kacheln(s.quelle, nullptr);
  kacheln.Anfordern(Zellbereich{1, 1, 2, 3}, 0);
  kacheln.Abwarten();
  // The same photo, one tile per cell.
  EXPECT_EQ(kacheln.Gelesen(), 6);
  for (int32_t x = 1; x <= 2; ++x) {
    for (int32_t y = 1; y <= 3; ++y) {
      const auto kachel = kacheln.Kachel(Zellort{x, y}, 0);
      ASSERT_NE(kachel, nullptr);
      EXPECT_TRUE(
          Nahe(ReadPixel(kachel->bild, 5, 5), farben[static_cast<size_t>((x - 1) * 3 + y - 1)]))
          << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace tilvendo::wizard
