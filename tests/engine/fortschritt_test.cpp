#include "engine/fortschritt.h"

#include <gtest/gtest.h>

#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

double Sekunden(double s) {
  return s / kSecondsPerDay;
}

TEST(Fortschritt, PhaseLinesTurnIntoFinishedLinesWithTheirDurations) {
  Auftrag auftrag;
  auftrag.BilderAnzahl.gesamt = 40;
  auftrag.einstellungen.KachelnX = 10;
  auftrag.einstellungen.KachelnY = 8;
  auftrag.PhasenZeiten[Phase::Einlesen] = {100.0, 100.0 + Sekunden(75)};
  auftrag.PhasenZeiten[Phase::Vorbereiten] = {200.0, 200.0 + Sekunden(4)};
  // An hour shows its hours too.
  auftrag.PhasenZeiten[Phase::Berechnen] = {300.0, 300.0 + Sekunden(3600 + 125)};
  auftrag.PhasenZeiten[Phase::Zusammenstellen] = {400.0, 400.0};
  testing::TestBenutzer benutzer;
  Fortschritt fortschritt(auftrag, benutzer);

  fortschritt.PhaseAnzeigen(1);
  EXPECT_EQ(fortschritt.Zeilen(), std::vector<std::string>{"Einlesen der Bilddateien ..."});
  EXPECT_EQ(fortschritt.Maximum(), 40);
  fortschritt.PhaseAnzeigen(2);
  EXPECT_EQ(fortschritt.Maximum(), 80);
  fortschritt.PhaseAnzeigen(3);
  fortschritt.PhaseAnzeigen(4, 7);
  EXPECT_EQ(fortschritt.Maximum(), 7);
  fortschritt.PhaseAnzeigen(5);
  EXPECT_EQ(fortschritt.Maximum(), 100);
  const std::vector<std::string> erwartet = {
      "Einlesen der Bilddateien ... fertig (01 min. und 15 sek.)",
      "Vorbereiten der Vorlage ... fertig (00 min. und 04 sek.)",
      "Berechnen des Mosaiks ... fertig (1 Std. 02 min. und 05 sek.)",
      "Zusammenstellen des Mosaiks ... fertig (00 min. und 00 sek.)"};
  EXPECT_EQ(fortschritt.Zeilen(), erwartet);
  ASSERT_EQ(benutzer.zeilenStaende.size(), 5u);
  EXPECT_EQ(benutzer.zeilenStaende[2].back(), "Berechnen des Mosaiks ...");
  EXPECT_EQ(benutzer.zeilenStaende[4], erwartet);
  EXPECT_EQ(benutzer.balkenStaende.back(), (testing::Balkenstand{0, 100}));

  // A new run starts the list afresh.
  fortschritt.PhaseAnzeigen(1);
  EXPECT_EQ(fortschritt.Zeilen().size(), 1u);
}

TEST(Fortschritt, DurationsNameTheHoursFromTheFirstHourOn) {
  EXPECT_EQ(DauerText(Sekunden(0)), "00 min. und 00 sek.");
  EXPECT_EQ(DauerText(Sekunden(3599)), "59 min. und 59 sek.");
  EXPECT_EQ(DauerText(Sekunden(3600)), "1 Std. 00 min. und 00 sek.");
  EXPECT_EQ(DauerText(Sekunden(75 * 60 + 30)), "1 Std. 15 min. und 30 sek.");
  EXPECT_EQ(DauerText(Sekunden(26 * 3600 + 61)), "26 Std. 01 min. und 01 sek.");
  // Just below a whole second after a long run is still that second, not the one before.
  EXPECT_EQ(DauerText(Sekunden(7199.9996)), "2 Std. 00 min. und 00 sek.");
}

TEST(Fortschritt, GaugeMovesInStepsOfOnePercentButEventsRunEveryTime) {
  Auftrag auftrag;
  testing::TestBenutzer benutzer;
  Fortschritt fortschritt(auftrag, benutzer);
  fortschritt.PhaseAnzeigen(3, 1000);
  benutzer.balkenStaende.clear();
  for (int32_t k = 1; k <= 1000; ++k) fortschritt.FortschrittAnzeigen(k);
  EXPECT_EQ(benutzer.ereignisRunden, 1000);
  ASSERT_EQ(benutzer.balkenStaende.size(), 100u);
  for (size_t i = 0; i < benutzer.balkenStaende.size(); ++i) {
    EXPECT_EQ(benutzer.balkenStaende[i].position, static_cast<int32_t>(10 * (i + 1)));
  }

  // A small maximum moves on every unit.
  fortschritt.PhaseAnzeigen(4, 3);
  benutzer.balkenStaende.clear();
  for (int32_t k = 1; k <= 3; ++k) fortschritt.FortschrittAnzeigen(k);
  EXPECT_EQ(benutzer.balkenStaende.size(), 3u);
}

TEST(Fortschritt, EmptyPhaseKeepsTheGaugeStill) {
  Auftrag auftrag;  // no pictures, no cells
  testing::TestBenutzer benutzer;
  Fortschritt fortschritt(auftrag, benutzer);
  fortschritt.PhaseAnzeigen(1);
  benutzer.balkenStaende.clear();
  fortschritt.FortschrittAnzeigen(1);
  EXPECT_TRUE(benutzer.balkenStaende.empty());
  EXPECT_EQ(benutzer.ereignisRunden, 1);
}

}  // namespace
}  // namespace tilvendo
