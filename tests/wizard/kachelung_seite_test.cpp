#include "wizard/kachelung_seite.h"

#include <gtest/gtest.h>

#include "wizard/druckformat.h"
#include "wizard/spin_wert.h"
#include "wizard/zielgroesse_seite.h"

namespace tilvendo::wizard {
namespace {

TEST(KachelungSeite, LabelAndShapeAnalysisChoices) {
  EXPECT_EQ(KachelAnzahlText(40, 30), "40 x 30 Kacheln, 1200 insgesamt");
  EXPECT_EQ(KachelAnzahlText(1, 1), "1 x 1 Kacheln, 1 insgesamt");
  EXPECT_EQ(KachelAnzahlText(999, 999), "999 x 999 Kacheln, 998001 insgesamt");

  EXPECT_EQ(FormanalyseWahl(1), 0);
  EXPECT_EQ(FormanalyseWahl(5), 1);
  EXPECT_EQ(FormanalyseWahl(3), std::nullopt);  // the group keeps what it shows
  // Closing the page overwrites any other level with the choice's.
  EXPECT_EQ(FormanalyseStufe(0, 3), 1);
  EXPECT_EQ(FormanalyseStufe(1, 3), 5);
  EXPECT_EQ(FormanalyseStufe(std::nullopt, 3), 3);
}

// The notes beside boxes whose typed number was held within its bounds: none for a number
// on a bound, the bound and its reason beyond it.
TEST(Grenzhinweise, NameTheBoundAndWhyOnlyBeyondIt) {
  const char* hoechstens = "höchstens {} Pixel, weil";
  const char* mindestens = "mindestens {} Pixel";
  EXPECT_EQ(GrenzHinweis(2500, 1, 2500, hoechstens, mindestens), "");
  EXPECT_EQ(GrenzHinweis(1, 1, 2500, hoechstens, mindestens), "");
  EXPECT_EQ(GrenzHinweis(2501, 1, 2500, hoechstens, mindestens), "höchstens 2500 Pixel, weil");
  EXPECT_EQ(GrenzHinweis(0, 1, 2500, hoechstens, mindestens), "mindestens 1 Pixel");
  EXPECT_EQ(DpiHinweis(10000), "höchstens 9999 dpi");
  EXPECT_EQ(KachelHinweis(300, 300, true), "");
  EXPECT_EQ(KachelHinweis(301, 300, false),
            "höchstens 300 Kacheln, damit jede Kachel mindestens 4 Pixel hoch bleibt");
  EXPECT_EQ(KachelHinweis(1000, 999, true), "höchstens 999 Kacheln");
  EXPECT_EQ(KachelHinweis(0, 300, true), "mindestens 1 Kachel");
  EXPECT_EQ(PixelHinweis(2600, 2500, false),
            "höchstens 2500 Pixel; mehr mit „Großformat für den Druck“");
  EXPECT_EQ(PixelHinweis(60001, 60000, true), "höchstens 60000 Pixel");
  EXPECT_EQ(ZoomHinweis(312, 312, 2500), "");
  EXPECT_EQ(ZoomHinweis(313, 312, 2500),
            "höchstens 312 %, damit das Ergebnis höchstens 2500 Pixel breit und hoch wird");
  // Up to 2 m the resolution bounds the paper; the 2 m are the program's own bound.
  EXPECT_EQ(PapierHinweis(1189, 1058, 1440),
            "höchstens 1058 mm bei 1440 dpi, damit das Ergebnis höchstens 60000 Pixel breit und "
            "hoch wird");
  EXPECT_EQ(PapierHinweis(3000, 2000, 200), "höchstens 2000 mm");
}

}  // namespace
}  // namespace tilvendo::wizard
