#include "wizard/erweitert_seite.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/methodenparameter.h"

namespace tilvendo::wizard {
namespace {

Bildzahlen BildzahlenMit(int32_t gesamt) {
  Bildzahlen anzahl;
  anzahl.gesamt = gesamt;
  return anzahl;
}

TEST(ErweitertSeite, ShowsTheBoundTheBoxValueAndTheNeededPictures) {
  Einstellungen e;  // start values: distance 2, Musterabstand 2
  e.KachelnX = 40;
  e.KachelnY = 30;
  // The start distance drops to the bound once the "Standard" pattern is applied.
  EXPECT_EQ(ErweitertAnwenden(e, BildzahlenMit(30), 0, 0, e.minAbstand), (Abstandsanzeige{1, 1, 25}));
  EXPECT_EQ(e.minAbstand, 1);

  // One tile and no pictures: nothing to choose.
  e.KachelnX = e.KachelnY = 1;
  EXPECT_EQ(ErweitertAnwenden(e, BildzahlenMit(0), 0, 0, 1), (Abstandsanzeige{0, 0, 16}));

  // The box never offers more than 100; a negative reading counts as its absolute value.
  e.KachelnX = 400;
  e.KachelnY = 300;
  EXPECT_EQ(ErweitertAnwenden(e, BildzahlenMit(1'000'000), 3, 1, -5), (Abstandsanzeige{100, 5, 36}));
  EXPECT_EQ(e.Musterabstand, 0);
  EXPECT_EQ(e.Berechnungsart, 3);

  // A usage cap needs cells ÷ cap pictures, rounded up, when that is more.
  e.verfahren.MaxVerwendungen = 7;
  EXPECT_EQ(ErweitertAnwenden(e, BildzahlenMit(1'000'000), 3, 1, 5).benoetigteBilder, 17143);
  e.verfahren.MaxVerwendungen = 120'000;
  EXPECT_EQ(ErweitertAnwenden(e, BildzahlenMit(1'000'000), 3, 1, 5).benoetigteBilder, 36);

  // Every photo at least once: at most one picture per cell.
  e.verfahren.JedesFoto = true;
  const Abstandsanzeige jedes = ErweitertAnwenden(e, BildzahlenMit(1'000'000), 3, 1, 5);
  EXPECT_EQ(jedes.hoechstensBilder, 120'000);
  EXPECT_EQ(BenoetigteBilderText(jedes), "36 bis 120000");
  e.verfahren.JedesFoto = false;
  EXPECT_EQ(BenoetigteBilderText(ErweitertAnwenden(e, BildzahlenMit(1'000'000), 3, 1, 5)), "36");
}

TEST(ErweitertSeite, TheCandidatesFollowTheDistanceWhicheverControlChanged) {
  Einstellungen e;
  e.KachelnX = e.KachelnY = 100;
  ErweitertAnwenden(e, BildzahlenMit(10'000), 1, 3, 2);  // "Schnell": base 100, needed (2+5+1)² = 64
  EXPECT_EQ(e.Kandidatenzahl, 100);
  // Only the distance changes: the needed count (15+5+1)² = 441 raises the candidates.
  ErweitertAnwenden(e, BildzahlenMit(10'000), 1, 3, 15);
  EXPECT_EQ(e.Kandidatenzahl, BenoetigteBilder(e));
  EXPECT_EQ(e.Kandidatenzahl, 441);
}

TEST(ErweitertSeite, PreviewAndListPositions) {
  Einstellungen e;
  e.ZielBreite = 1200;
  e.ZielHoehe = 900;
  EXPECT_EQ(ErweitertVorschauGroesse(e), (Size{160, 120}));
  e.ZielBreite = 2500;
  e.ZielHoehe = 100;
  EXPECT_EQ(ErweitertVorschauGroesse(e), (Size{190, 8}));  // 7.6 rounds to 8
  e.ZielBreite = 0;
  EXPECT_EQ(ErweitertVorschauGroesse(e), (Size{0, 0}));

  EXPECT_EQ(ListenPosition(3, 4), 3);
  EXPECT_EQ(ListenPosition(7, 4), 0);  // a stored value the list lacks shows the first item
}

TEST(ErweitertSeite, TheButtonForCloseMosaicsSetsItsThreeWaysAndNothingElse) {
  Verfahren v;
  v.Aufrichten = false;
  v.SchnellLesen = true;
  v.MaxVerwendungen = 3;
  v.Farbangleich = 80;
  AehnlicheMosaikeEinstellen(v);
  EXPECT_TRUE(v.Wahrnehmung);
  EXPECT_EQ(v.Farbangleich, 50);
  EXPECT_TRUE(v.Zuschneiden);
  EXPECT_FALSE(v.Aufrichten);
  EXPECT_TRUE(v.SchnellLesen);
  EXPECT_EQ(v.MaxVerwendungen, 3);
}

}  // namespace
}  // namespace tilvendo::wizard
