#include "wizard/druckformat.h"

#include <gtest/gtest.h>

#include "engine/vorbereitung.h"

namespace tilvendo::wizard {
namespace {

// The paper stands as the template does; the drop-down finds a preset only in the
// template's orientation.
TEST(Druckformat, PaperStandsAsTheTemplateDoesAndThePresetsFollow) {
  const Druckformat& a2 = kDruckformate[2];
  EXPECT_EQ(PapierFuer(a2, AusrichtungFuer(800, 600)), (Papiermass{594, 420}));
  EXPECT_EQ(PapierFuer(a2, AusrichtungFuer(600, 800)), (Papiermass{420, 594}));
  // A square template prints upright.
  EXPECT_EQ(AusrichtungFuer(500, 500), Ausrichtung::Hochformat);
  const Druckformat& poster = kDruckformate[9];
  EXPECT_EQ(PapierFuer(poster, Ausrichtung::Querformat), (Papiermass{1000, 700}));
  EXPECT_EQ(DruckformatVon(Papiermass{594, 420}, Ausrichtung::Querformat), size_t{2});
  EXPECT_EQ(DruckformatVon(Papiermass{210, 297}, Ausrichtung::Hochformat), size_t{0});
  EXPECT_EQ(DruckformatVon(Papiermass{841, 1189}, Ausrichtung::Hochformat), size_t{4});
  EXPECT_EQ(DruckformatVon(Papiermass{600, 400}, Ausrichtung::Querformat), size_t{6});
  // Turned against the template it is a size of its own.
  EXPECT_EQ(DruckformatVon(Papiermass{420, 594}, Ausrichtung::Querformat), std::nullopt);
  EXPECT_EQ(DruckformatVon(Papiermass{123, 456}, Ausrichtung::Hochformat), std::nullopt);
}

// Width, height, the orientation the presets take and the label follow the paper's
// edges; a square paper takes the template's orientation.
TEST(Druckformat, OrientationAndItsLabelFollowThePapersEdges) {
  const Ausrichtung quer = Ausrichtung::Querformat;
  const Ausrichtung hoch = Ausrichtung::Hochformat;
  EXPECT_EQ(AusrichtungsText(Papiermass{1000, 700}, quer), "quer, wie die Vorlage");
  EXPECT_EQ(AusrichtungsText(Papiermass{300, 700}, quer), "hoch, anders als die Vorlage");
  EXPECT_EQ(PapierAusrichtung(Papiermass{300, 700}, quer), hoch);
  EXPECT_EQ(AusrichtungsText(Papiermass{701, 700}, hoch), "quer, anders als die Vorlage");
  EXPECT_EQ(AusrichtungsText(Papiermass{700, 700}, quer), "quadratisch");
  EXPECT_EQ(PapierAusrichtung(Papiermass{700, 700}, quer), quer);
  EXPECT_EQ(PapierAusrichtung(Papiermass{700, 700}, hoch), hoch);
  EXPECT_EQ(GanzePapiermasse(999.5, 624.97), (Papiermass{1000, 625}));
  EXPECT_EQ(GanzePapiermasse(998.5, 0.4), (Papiermass{998, 0}));
}

TEST(Druckformat, LongestPaperEdgeKeepsTheResultWithinTheLargeBound) {
  EXPECT_EQ(GroesstePapierkante(200), tilvendo::kMaxPapierkante);
  EXPECT_EQ(GroesstePapierkante(720), tilvendo::kMaxPapierkante);
  const int32_t kante = GroesstePapierkante(1440);
  EXPECT_EQ(kante, 1058);
  EXPECT_LE(DruckPixel(kante, 1440), kMaxZielgroesseGross);
  EXPECT_GT(DruckPixel(kante + 1, 1440), kMaxZielgroesseGross);
  EXPECT_LE(DruckPixel(GroesstePapierkante(9999), 9999), kMaxZielgroesseGross);
}

TEST(Druckformat, TileEdgeOnPaperFollowsTheMosaicsRule) {
  Einstellungen e;
  e.ZielBreite = 8000;
  e.ZielHoehe = 6000;
  e.KachelnX = 40;  // 200 result pixels a tile
  e.KachelnY = 30;
  EXPECT_EQ(KachelImDruck(e, 200), (Kachelmass{254, 254}));
  EXPECT_EQ(KachelkantenText(KachelImDruck(e, 200)), "Kachelkante im Druck: 25,4 mm");
  e.KachelnY = 25;  // 240 result pixels: 30,48 mm
  EXPECT_EQ(KachelkantenText(KachelImDruck(e, 200)), "Kachelkante im Druck: 25,4 × 30,5 mm");
  // 8000 ÷ 33 = 242 result pixels (truncated) at 254 dpi: 24,2 mm.
  e.KachelnX = 33;
  EXPECT_EQ(KachelImDruck(e, 254).breite, 242);
  EXPECT_EQ(KachelkantenText(Kachelmass{240, 240}), "Kachelkante im Druck: 24 mm");
  // Before the tiling page was closed, its start value counts: 8000 ÷ 25 = 320.
  e.KachelnX = e.KachelnY = 0;
  EXPECT_EQ(KachelImDruck(e, 254).breite, 320);
  EXPECT_EQ(KachelImDruck(e, 0), Kachelmass{});
}

TEST(Druckformat, PrintSizeInWholeCentimetres) {
  // 70 cm at 200 dpi are 5511 pixels; a 4:3 template gives 4133 below: 52,49 cm.
  EXPECT_EQ(DruckPixel(700, 200), 5511);
  EXPECT_EQ(DruckgroessenText(5511, 4133, 200), "70 × 52 cm bei 200 dpi");
  // 2,5 cm (from 100 pixels at 1016 dpi) round to the even 2, 3,5 cm to 4.
  EXPECT_EQ(DruckgroessenText(1000, 1400, 1016), "2 × 4 cm bei 1016 dpi");
  EXPECT_EQ(DruckgroessenText(1000, 1400, 0), "");
}

}  // namespace
}  // namespace tilvendo::wizard
