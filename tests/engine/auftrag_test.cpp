#include "engine/auftrag.h"

#include <gtest/gtest.h>

#include "engine/methodenparameter.h"
#include "platform/paths.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

TEST(Auftrag, StartsFromTheDefaults) {
  testing::TempFolder folder;
  Auftrag auftrag;
  Programmstart(auftrag, Startoptionen{{}, 42u, folder / "a/b/Alben"});
  StandardwerteSetzen(auftrag);
  EXPECT_EQ(auftrag.einstellungen.Helligkeitsfenster, -25);
  EXPECT_EQ(auftrag.einstellungen.Kandidatenzahl, -25);
  EXPECT_EQ(auftrag.einstellungen.ZoomX, 150);
  EXPECT_EQ(auftrag.analyse.Formanalyse, 5);
  EXPECT_EQ(auftrag.analyse.Abtastgroesse, 10);
  EXPECT_EQ(BenoetigteBilder(auftrag.einstellungen), 25);
  EXPECT_FALSE(auftrag.Protokoll);
  EXPECT_EQ(auftrag.AlbenPfad, folder / "a/b/Alben/");
  EXPECT_TRUE(FolderExists(auftrag.AlbenPfad));
  EXPECT_EQ(auftrag.Arbeitspfad, auftrag.ProgrammPfad);
  EXPECT_EQ(auftrag.ProgrammPfad.back(), '/');
}

TEST(Auftrag, TheLogSwitchIsAFirstArgumentL) {
  EXPECT_TRUE(ProtokollSchalter({"L"}));
  EXPECT_TRUE(ProtokollSchalter({"l", "x"}));
  EXPECT_FALSE(ProtokollSchalter({"LOG"}));
  EXPECT_FALSE(ProtokollSchalter({"x", "L"}));
  EXPECT_FALSE(ProtokollSchalter({}));
}

TEST(Einstellungen, TileSizeIsTheChosenSizeSharedOutAmongTheTiles) {
  Einstellungen e;
  e.ZielBreite = 600;
  e.ZielHoehe = 599;
  e.KachelnX = 10;
  e.KachelnY = 10;
  EXPECT_EQ(KachelBreite(e), 60);
  EXPECT_EQ(KachelHoehe(e), 59);  // truncated
  e.KachelnX = 0;                 // no tiling yet
  EXPECT_EQ(KachelBreite(e), 0);
}

}  // namespace
}  // namespace tilvendo
