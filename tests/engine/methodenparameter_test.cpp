#include "engine/methodenparameter.h"

#include <gtest/gtest.h>

namespace tilvendo {
namespace {

Bildzahlen BildzahlenMit(int32_t gesamt) {
  return Bildzahlen{gesamt, 0, 0, 0};
}

TEST(BenoetigteBilder, IsTheSquareOfTheLargestDistancePlusOne) {
  Einstellungen e;
  EXPECT_EQ(BenoetigteBilder(e), 25);  // start values 2 and 2
  SetzeMusterbildung(e, 0);
  EXPECT_EQ(BenoetigteBilder(e), 36);
  e.minAbstand = 0;
  SetzeMusterbildung(e, 1);
  EXPECT_EQ(BenoetigteBilder(e), 1);
  e.minAbstand = UINT16_MAX;
  e.Musterabstand = INT32_MAX - UINT16_MAX;  // absurd, must not overflow
  EXPECT_EQ(BenoetigteBilder(e), INT32_MAX);
}

TEST(Bilderbedarf, CountsDistanceAndCapAndBoundsEveryPhotoByTheCells) {
  Einstellungen e;
  e.KachelnX = 60;
  e.KachelnY = 45;  // 2700 cells; start distance needs 25 pictures
  EXPECT_EQ(BilderbedarfErmitteln(e).mindestens, 25);
  EXPECT_EQ(BilderbedarfErmitteln(e).hoechstens, kKeineObergrenze);
  e.verfahren.MaxVerwendungen = 3;
  EXPECT_EQ(BilderbedarfErmitteln(e).mindestens, 900);
  e.verfahren.MaxVerwendungen = 2699;  // ⌈2700 ÷ 2699⌉ = 2, below the distance's 25
  EXPECT_EQ(BilderbedarfErmitteln(e).mindestens, 25);
  e.verfahren.JedesFoto = true;
  EXPECT_EQ(BilderbedarfErmitteln(e).hoechstens, 2700);
}

TEST(Verwendungsgrenzen, EveryPhotoOnceSpreadsTheCellsUnlessTheCapAllowsMore) {
  Einstellungen e;
  e.KachelnX = 10;
  e.KachelnY = 10;
  EXPECT_FALSE(MitVerwendungsgrenzen(e));
  EXPECT_EQ(VerwendungsgrenzenFuer(e, 30).unten, 0);
  EXPECT_EQ(VerwendungsgrenzenFuer(e, 30).oben, 100);
  e.verfahren.MaxVerwendungen = 100;  // as many as cells: no cap
  EXPECT_FALSE(MitVerwendungsgrenzen(e));
  e.verfahren.MaxVerwendungen = 99;
  EXPECT_TRUE(MitVerwendungsgrenzen(e));
  EXPECT_EQ(VerwendungsgrenzenFuer(e, 30).oben, 99);
  e.verfahren.MaxVerwendungen = 0;
  e.verfahren.JedesFoto = true;
  EXPECT_TRUE(MitVerwendungsgrenzen(e));
  // 100 cells, 30 photos: each at least once and at most ⌈100 ÷ 30⌉ = 4 times.
  EXPECT_EQ(VerwendungsgrenzenFuer(e, 30).unten, 1);
  EXPECT_EQ(VerwendungsgrenzenFuer(e, 30).oben, 4);
  EXPECT_EQ(VerwendungsgrenzenFuer(e, 100).oben, 1);
  e.verfahren.MaxVerwendungen = 7;  // the cap says more
  EXPECT_EQ(VerwendungsgrenzenFuer(e, 30).oben, 7);
  e.verfahren.MaxVerwendungen = 2;  // too few to fill the grid: the even share holds
  EXPECT_EQ(VerwendungsgrenzenFuer(e, 30).oben, 4);
}

TEST(MaxAbstand, FindsTheLargestDistanceThePicturesAllow) {
  Einstellungen e;
  e.Musterabstand = 3;
  EXPECT_EQ(MaxAbstand(BildzahlenMit(0), e), 0);
  EXPECT_EQ(MaxAbstand(BildzahlenMit(24), e), 0);
  EXPECT_EQ(MaxAbstand(BildzahlenMit(25), e), 1);
  EXPECT_EQ(MaxAbstand(BildzahlenMit(36), e), 2);
  EXPECT_EQ(e.minAbstand, 2);  // the caller's record stays as it was
  EXPECT_EQ(MaxAbstand(BildzahlenMit(INT32_MAX), e), 46336);
}

TEST(SetzeBerechnungsart, CollectsAtLeastTheRequiredAndAtMostTheAvailable) {
  Einstellungen e;
  SetzeMusterbildung(e, 0);  // required 36
  SetzeBerechnungsart(e, 10'000, 0);
  EXPECT_EQ(e.Kandidatenzahl, 350);
  EXPECT_EQ(e.Helligkeitsfenster, 25);
  SetzeBerechnungsart(e, 10'000, 3);
  EXPECT_EQ(e.Kandidatenzahl, 2500);
  EXPECT_EQ(e.Helligkeitsfenster, 150);
  for (uint8_t methode = 0; methode < 4; ++methode) {
    SetzeBerechnungsart(e, 20, methode);
    EXPECT_EQ(e.Kandidatenzahl, 20);
  }
  SetzeBerechnungsart(e, 0, 2);
  EXPECT_EQ(e.Kandidatenzahl, 0);
  SetzeBerechnungsart(e, 2'000'000, 3);
  EXPECT_EQ(e.Kandidatenzahl, 201'500);
}

TEST(SetzeBerechnungsart, UnknownValuesBehaveLikeTheFirstAndAreStored) {
  Einstellungen e;
  SetzeBerechnungsart(e, 10'000, 7);
  EXPECT_EQ(e.Helligkeitsfenster, 25);
  EXPECT_EQ(e.Berechnungsart, 7);
  SetzeMusterbildung(e, 9);
  EXPECT_EQ(e.Musterabstand, 3);
  EXPECT_EQ(e.Musterbildung, 9);
  SetzeMusterbildung(e, 3);
  EXPECT_EQ(e.Musterabstand, 5);
}

TEST(ZoomAngleichen, FollowsTheChangedValueWithinBothLimits) {
  EXPECT_EQ(ZoomAngleichen(true, 200, 150, 10000, 10000), 200);
  EXPECT_EQ(ZoomAngleichen(false, 100, 150, 10000, 10000), 100);
  EXPECT_EQ(ZoomAngleichen(true, 900, 150, 800, 10000), 800);
  EXPECT_EQ(ZoomAngleichen(true, 150, 300, 10000, 250), 250);
  // Zoom Y of a 4000 × 3000 template raised past zoom X's limit: both stay at 62.
  EXPECT_EQ(ZoomAngleichen(true, 62, 63, 62, 83), 62);
}

}  // namespace
}  // namespace tilvendo
