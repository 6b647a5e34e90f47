#include "engine/vorlage_vorbereiten.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

TEST(VorlageVorbereiten, SubCellEdgeFollowsTheRowsOnly) {
  EXPECT_EQ(VorlagenTeilkante(5, 10), 2);  // 60 / 50 = 1.2
  EXPECT_EQ(VorlagenTeilkante(5, 12), 2);  // 60 / 60 = 1
  EXPECT_EQ(VorlagenTeilkante(1, 100), 1);
  EXPECT_EQ(VorlagenTeilkante(5, 5), 3);  // KachelnX = 100 does not enter: P is 1500 × 75
  EXPECT_EQ(VorlagenTeilkante(1, 1), 61);
  EXPECT_EQ(VorlagenTeilkante(5, 0), 1);  // no rows: nothing to measure, no division by 0
}

struct Vorbereitung {
  Auftrag auftrag;
  testing::TestBenutzer benutzer;
  Fortschritt fortschritt{auftrag, benutzer};

  Vorbereitung(Bitmap vorlage, int kachelnX, int kachelnY, int formanalyse) {
    auftrag.VorlageBild = std::move(vorlage);
    auftrag.einstellungen.KachelnX = static_cast<uint16_t>(kachelnX);
    auftrag.einstellungen.KachelnY = static_cast<uint16_t>(kachelnY);
    auftrag.einstellungen.Raster = std::make_unique<Zellenraster>(kachelnX, kachelnY);
    auftrag.analyse.Formanalyse = static_cast<uint8_t>(formanalyse);
    fortschritt.PhaseAnzeigen(kPhaseVorbereiten);
  }
  const Kachelsignatur& Zelle(int x, int y) const {
    return auftrag.einstellungen.Raster->at(x, y).signatur;
  }
};

TEST(VorlageVorbereiten, UniformTemplateGivesEveryCellAndSubCellItsColour) {
  Vorbereitung v(testing::Einfarbig(37, 23, Farbe{30, 120, 200}), 4, 3, 5);
  VorlageVorbereiten(v.auftrag, v.fortschritt);
  for (int x = 1; x <= 4; ++x) {
    for (int y = 1; y <= 3; ++y) {
      const Kachelsignatur& s = v.Zelle(x, y);
      EXPECT_EQ(std::tuple(s.Rot, s.Gruen, s.Blau, s.Helligkeit), std::tuple(200, 120, 30, 350));
      EXPECT_EQ(s.Felder[4][4], (Feld{350, 200, 120, 30}));
    }
  }
  EXPECT_EQ(v.benutzer.ereignisRunden, 12);
  const Zeitspanne& zeit = v.auftrag.PhasenZeiten[Phase::Vorbereiten];
  EXPECT_GE(zeit.ende, zeit.beginn);
  EXPECT_GT(zeit.beginn, 0.0);
}

TEST(VorlageVorbereiten, SubCellsAndAveragesAreRoundedHalfToEven) {
  // Level 2 and 20 rows: n = Trunc(60 / 40) + 1 = 2, so each sub-cell is 2 × 2 pixels of
  // P. A template already of P's size (4 × 80) is copied pixel for pixel.
  Bitmap vorlage(4, 80);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 4; ++x) WritePixel(vorlage, x, y, Farbe{0, 0, 0});
  }
  // Cell (1, 1): sub-cell (0, 0) gets red 1, 2, 2, 2 → 7 / 4 = 1.75 → 2; sub-cell (1, 0)
  // gets red 1, 1, 0, 0 → 0.5 → 0; sub-cell (0, 1) gets red 3, 3, 3, 3 → 3 and
  // sub-cell (1, 1) red 6, 6, 6, 7 → 6.25 → 6.
  const auto rot = [&](int x, int y, uint8_t r) { WritePixel(vorlage, x, y, Farbe{0, 0, r}); };
  rot(0, 0, 1), rot(1, 0, 2), rot(0, 1, 2), rot(1, 1, 2);
  rot(2, 0, 1), rot(3, 0, 1);
  rot(0, 2, 3), rot(1, 2, 3), rot(0, 3, 3), rot(1, 3, 3);
  rot(2, 2, 6), rot(3, 2, 6), rot(2, 3, 6), rot(3, 3, 7);
  Vorbereitung v(std::move(vorlage), 1, 20, 2);
  VorlageVorbereiten(v.auftrag, v.fortschritt);
  const Kachelsignatur& s = v.Zelle(1, 1);
  EXPECT_EQ(s.Felder[0][0].Rot, 2);
  EXPECT_EQ(s.Felder[1][0].Rot, 0);
  EXPECT_EQ(s.Felder[0][1].Rot, 3);
  EXPECT_EQ(s.Felder[1][1].Rot, 6);
  EXPECT_EQ(s.Felder[1][1].Summe, 6);
  EXPECT_EQ(s.Rot, 3);  // (2 + 0 + 3 + 6) / 4 = 2.75 → 3
  EXPECT_EQ(s.Helligkeit, 3);
  EXPECT_EQ(v.Zelle(1, 2).Helligkeit, 0);
}

TEST(VorlageVorbereiten, CellsFollowTheTemplateColumnByColumn) {
  // Left half red, right half blue, stretched to the working picture.
  Bitmap vorlage(20, 10);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 20; ++x) {
      WritePixel(vorlage, x, y, x < 10 ? Farbe{0, 0, 255} : Farbe{255, 0, 0});
    }
  }
  Vorbereitung v(std::move(vorlage), 2, 3, 1);
  VorlageVorbereiten(v.auftrag, v.fortschritt);
  EXPECT_EQ(
      std::tuple(v.Zelle(1, 3).Rot, v.Zelle(1, 3).Blau, v.Zelle(2, 1).Rot, v.Zelle(2, 1).Blau),
      std::tuple(255, 0, 0, 255));
}

TEST(VorlageVorbereiten, CancelLeavesTheRemainingCellsWithoutSignature) {
  Vorbereitung v(testing::Einfarbig(10, 10, Farbe{50, 50, 50}), 3, 3, 1);
  v.benutzer.beimEreignis = [&](int32_t runde) {
    if (runde == 2) v.auftrag.Abbruch = true;
  };
  VorlageVorbereiten(v.auftrag, v.fortschritt);
  EXPECT_EQ(v.Zelle(1, 2).Helligkeit, 150);
  EXPECT_EQ(v.Zelle(1, 3).Helligkeit, 0);
  EXPECT_EQ(v.benutzer.ereignisRunden, 2);
  EXPECT_GE(v.auftrag.PhasenZeiten[Phase::Vorbereiten].ende,
            v.auftrag.PhasenZeiten[Phase::Vorbereiten].beginn);
}

}  // namespace
}  // namespace tilvendo
