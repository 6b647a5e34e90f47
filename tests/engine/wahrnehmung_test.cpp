#include "engine/wahrnehmung.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/abgleich.h"
#include "engine/signatur.h"
#include "engine/vorlage_vorbereiten.h"
#include "lauf_testkacheln.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"
#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

TEST(Wahrnehmung, ConvertsKnownColoursAndKeepsTheSignatureReadableFromTheCache) {
  const auto nah = [](LabFarbe lab, double l, double a, double b) {
    EXPECT_NEAR(lab.L, l, 0.01);
    EXPECT_NEAR(lab.a, a, 0.01);
    EXPECT_NEAR(lab.b, b, 0.01);
  };
  nah(SrgbNachLab(255, 255, 255), 100.0, 0.0, 0.0);
  nah(SrgbNachLab(0, 0, 0), 0.0, 0.0, 0.0);
  nah(SrgbNachLab(255, 0, 0), 53.24, 80.09, 67.20);
  nah(SrgbNachLab(0, 0, 255), 32.30, 79.19, -107.86);
  nah(SrgbMittelNachLab(0.0, 0.0, 255.0), 32.30, 79.19, -107.86);
  nah(SrgbNachLab(10, 10, 10), 2.74, 0.0, 0.0);  // on the straight part of both curves

  // Level 2 with white, black, red and blue sub-cells.
  Kachelsignatur s = testing::EinfarbigeSignatur(7, Farbe{255, 255, 255}, 2);
  s.Felder[0][1] = Feld{0, 0, 0, 0};
  s.Felder[1][0] = Feld{255, 255, 0, 0};
  s.Felder[1][1] = Feld{255, 0, 0, 255};
  InWahrnehmungsraum(s, 2);
  EXPECT_EQ(s.Felder[0][0], (Feld{118 + 128 + 128, 118, 128, 128}));
  EXPECT_EQ(s.Felder[0][1], (Feld{256, 0, 128, 128}));
  EXPECT_EQ(s.Felder[1][0], (Feld{63 + 223 + 207, 63, 223, 207}));
  // Pure blue, the farthest b*, still fits without clamping.
  EXPECT_EQ(s.Felder[1][1], (Feld{38 + 221 + 1, 38, 221, 1}));
  EXPECT_EQ(s.Rot, 55);     // (118 + 0 + 63 + 38) / 4 = 54.75
  EXPECT_EQ(s.Gruen, 175);  // 700 / 4
  EXPECT_EQ(s.Blau, 116);   // 464 / 4
  EXPECT_EQ(s.Helligkeit, 55 + 175 + 116);
  EXPECT_EQ(s.Nummer, 7);
  std::vector<uint8_t> satz(SignaturGroesse(2));
  SignaturKodieren(s, 2, satz);
  EXPECT_EQ(SignaturDekodieren(satz, 2), s);
}

// A sand-coloured template and two tiles: a pink one nearer in summed RGB differences
// (135 against 240) and a brown one of the template's hue, less than half as far in
// colour difference.
TEST(Wahrnehmung, MatchingPicksTheTileOfTheTemplatesHue) {
  constexpr Farbe kSand{140, 200, 230};
  constexpr Farbe kRosa{180, 130, 255};
  constexpr Farbe kBraun{70, 120, 140};
  for (const bool wahrnehmung : {false, true}) {
    testing::TempFolder ordner;
    Auftrag auftrag;
    Einstellungen& e = auftrag.einstellungen;
    testing::RasterSetzen(e, 2, 2, 4, 4);
    e.minAbstand = e.Musterabstand = 0;
    e.Kandidatenzahl = 2;
    e.Helligkeitsfenster = 0;
    e.verfahren.Wahrnehmung = wahrnehmung;
    e.Raster = std::make_unique<Zellenraster>(2, 2);
    auftrag.analyse.Formanalyse = 3;
    auftrag.VorlageBild = testing::Einfarbig(8, 8, kSand);
    for (const Farbe farbe : {kRosa, kBraun}) {
      const auto nummer = static_cast<int32_t>(auftrag.Dateiliste.size());
      auftrag.Dateiliste.push_back(ordner / ("k" + std::to_string(nummer) + ".bmp"));
      testing::WriteTestBmp(auftrag.Dateiliste.back(), testing::Einfarbig(2, 2, farbe));
      Kachelsignatur s = testing::EinfarbigeSignatur(nummer, farbe, 3);
      if (wahrnehmung) InWahrnehmungsraum(s, 3);
      auftrag.kachelliste.KachelEinfuegen(s);
    }
    testing::TestBenutzer benutzer;
    Fortschritt fortschritt(auftrag, benutzer);
    Arbeitsgruppe gruppe(1);
    VorlageVorbereiten(auftrag, fortschritt);
    ASSERT_TRUE(KachelnZuordnen(auftrag, fortschritt, gruppe));
    const int32_t erwartet = wahrnehmung ? 1 : 0;
    EXPECT_EQ(testing::Bildnummern(*e.Raster), std::vector<int32_t>(4, erwartet));
  }
}

}  // namespace
}  // namespace tilvendo
