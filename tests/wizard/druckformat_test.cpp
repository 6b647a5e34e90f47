#include "wizard/druckformat.h"

#include <gtest/gtest.h>

#include "engine/vorbereitung.h"

namespace tilvendo::wizard {
namespace {

TEST(Druckformat, PaperStandsAsTheTemplateDoes) {
  const Druckformat& a2 = kDruckformate[2];
  EXPECT_EQ(PapierFuer(a2, AusrichtungFuer(800, 600)), (Papiermass{594, 420}));
  EXPECT_EQ(PapierFuer(a2, AusrichtungFuer(600, 800)), (Papiermass{420, 594}));
  // A square template prints upright.
  EXPECT_EQ(AusrichtungFuer(500, 500), Ausrichtung::Hochformat);
  const Druckformat& poster = kDruckformate[9];
  EXPECT_EQ(PapierFuer(poster, Ausrichtung::Querformat), (Papiermass{1000, 700}));
}

TEST(Druckformat, TheDropDownFindsAPresetOnlyInTheTemplatesOrientation) {
  EXPECT_EQ(DruckformatVon(Papiermass{594, 420}, Ausrichtung::Querformat), size_t{2});
  EXPECT_EQ(DruckformatVon(Papiermass{210, 297}, Ausrichtung::Hochformat), size_t{0});
  EXPECT_EQ(DruckformatVon(Papiermass{841, 1189}, Ausrichtung::Hochformat), size_t{4});
  EXPECT_EQ(DruckformatVon(Papiermass{600, 400}, Ausrichtung::Querformat), size_t{6});
  // Turned against the template it is a size of its own.
  EXPECT_EQ(DruckformatVon(Papiermass{420, 594}, Ausrichtung::Querformat), std::nullopt);
  EXPECT_EQ(DruckformatVon(Papiermass{123, 456}, Ausrichtung::Hochformat), std::nullopt);
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

TEST(Druckformat, TileEdgeOnPaperFollowsTheOverviewsRule) {
  Vorlage vorlage;
  vorlage.VorlageBreite = 800;
  vorlage.VorlageHoehe = 600;
  Einstellungen e;
  e.ZoomX = e.ZoomY = 1000;
  e.KachelnX = 40;  // 20 template pixels a cell, 200 result pixels a tile
  e.KachelnY = 30;
  EXPECT_EQ(KachelImDruck(vorlage, e, 200), (Kachelmass{254, 254}));
  EXPECT_EQ(KachelkantenText(KachelImDruck(vorlage, e, 200)), "Kachelkante im Druck: 25,4 mm");
  e.KachelnY = 25;  // 24 template pixels, 240 result pixels: 30,48 mm
  EXPECT_EQ(KachelkantenText(KachelImDruck(vorlage, e, 200)),
            "Kachelkante im Druck: 25,4 × 30,5 mm");
  // 800 ÷ 33 = 24 template pixels (truncated), 240 result pixels at 254 dpi: 24 mm.
  e.KachelnX = 33;
  EXPECT_EQ(KachelImDruck(vorlage, e, 254).breite, 240);
  EXPECT_EQ(KachelkantenText(Kachelmass{240, 240}), "Kachelkante im Druck: 24 mm");
  // Before the tiling page was closed, its start value counts: 800 ÷ 25 = 32.
  e.KachelnX = e.KachelnY = 0;
  EXPECT_EQ(KachelImDruck(vorlage, e, 254).breite, 320);
  EXPECT_EQ(KachelImDruck(vorlage, e, 0), Kachelmass{});
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
