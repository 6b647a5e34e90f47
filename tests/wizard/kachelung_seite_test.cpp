#include "wizard/kachelung_seite.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tilvendo::wizard
