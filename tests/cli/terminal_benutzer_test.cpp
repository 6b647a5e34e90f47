#include "cli/terminal_benutzer.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tilvendo::cli {
namespace {

const std::vector<std::string> kPhase1 = {"Einlesen der Bilddateien ..."};
const std::vector<std::string> kPhase2 = {
    "Einlesen der Bilddateien ... fertig (00 min. und 03 sek.)", "Vorbereiten der Vorlage ..."};

TEST(TerminalBenutzer, WritesPlainLinesWhenNotATerminal) {
  std::ostringstream fehler;
  TerminalBenutzer benutzer(fehler, /*istTerminal=*/false);
  benutzer.FortschrittsZeilen(kPhase1);
  benutzer.Fortschrittsbalken(50, 100);
  benutzer.FortschrittsZeilen(kPhase2);
  benutzer.Warnung("Achtung");
  EXPECT_EQ(fehler.str(),
            "Einlesen der Bilddateien ...\n"
            "Einlesen der Bilddateien ... fertig (00 min. und 03 sek.)\n"
            "Vorbereiten der Vorlage ...\n"
            "Warnung: Achtung\n");
  EXPECT_EQ(benutzer.Warnungen(), 1);
}

TEST(TerminalBenutzer, DrawsTheRunningPhaseWithABarOnATerminal) {
  std::ostringstream fehler;
  TerminalBenutzer benutzer(fehler, /*istTerminal=*/true);
  benutzer.FortschrittsZeilen(kPhase1);
  benutzer.Fortschrittsbalken(1, 2);
  const std::string halb = fehler.str();
  EXPECT_NE(halb.find("Einlesen der Bilddateien ... [###############...............] 50 %"),
            std::string::npos);
  EXPECT_EQ(halb.find('\n'), std::string::npos);  // redrawn in place

  benutzer.FortschrittsZeilen(kPhase2);  // the finished line replaces the bar
  benutzer.ZeileAbschliessen();
  const std::string alles = fehler.str();
  EXPECT_NE(alles.find("\r\033[KEinlesen der Bilddateien ... fertig (00 min. und 03 sek.)\n"),
            std::string::npos);
  EXPECT_EQ(alles.back(), 'K');  // the open bar line was erased at the end
}

TEST(TerminalBenutzer, AsksForAMediumNameOnlyWithAnInput) {
  std::ostringstream fehler;
  std::istringstream eingabe("Urlaub 2009\n");
  TerminalBenutzer fragend(fehler, false, &eingabe);
  EXPECT_EQ(fragend.MediumNameErfragen(), "Urlaub 2009");
  TerminalBenutzer stumm(fehler, false);
  EXPECT_EQ(stumm.MediumNameErfragen(), "");
}

}  // namespace
}  // namespace tilvendo::cli
