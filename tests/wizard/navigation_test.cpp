// The shell's rules: where "weiter" leads, the detour through the information page, the
// exit questions, the spin-box rule, the help texts and the help popup's placement.
#include <gtest/gtest.h>

#include <string>

#include "pictures/bildart.h"

#include "wizard/hilfe_fenster.h"
#include "wizard/hilfetexte.h"
#include "wizard/navigation.h"
#include "wizard/spin_wert.h"

namespace tilvendo::wizard {
namespace {

// "weiter" follows the page order and leads back to the overview; the information page
// returns to the page it was opened from.
TEST(Navigation, WeiterUndInformationsseite) {
  Navigation navigation;
  EXPECT_EQ(InfoVerlassen(navigation), 1);  // never opened: the first page
  const std::vector<std::pair<int, int>> tabelle = {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 7},
                                                    {6, 7}, {7, 6}, {8, 0}, {9, 0}, {10, 0}};
  for (const auto& [von, nach] : tabelle) EXPECT_EQ(NextPage(navigation, von), nach) << von;

  navigation.ZurUebersicht = true;
  EXPECT_EQ(NextPage(navigation, 3), 7);  // the tiling page no longer leads to the albums
  EXPECT_EQ(PageTitle(NextPage(navigation, 3)), "alles im Überblick");
  EXPECT_EQ(PageTitle(0), "");
  EXPECT_EQ(PageTitle(11), "");
  EXPECT_EQ(InfoOeffnen(navigation, 5), 9);
  EXPECT_EQ(InfoVerlassen(navigation), 5);
}

TEST(Navigation, AusstiegsfrageUndIhreAntworten) {
  EXPECT_EQ(AusstiegsfrageWaehlen(1), Ausstiegsfrage::WirklichVerlassen);
  EXPECT_EQ(AusstiegsfrageWaehlen(0), Ausstiegsfrage::ErgebnisSpeichern);
  EXPECT_EQ(Fragetext(Ausstiegsfrage::WirklichVerlassen),
            "Wollen Sie das Programm wirklich verlassen ?");

  using enum Antwort;
  EXPECT_EQ(AusstiegEntscheiden(Ausstiegsfrage::WirklichVerlassen, Ja), Ausstieg::Beenden);
  EXPECT_EQ(AusstiegEntscheiden(Ausstiegsfrage::WirklichVerlassen, Nein), Ausstieg::Bleiben);
  EXPECT_EQ(AusstiegEntscheiden(Ausstiegsfrage::ErgebnisSpeichern, Ja),
            Ausstieg::SpeichernDannEnden);
  EXPECT_EQ(AusstiegEntscheiden(Ausstiegsfrage::ErgebnisSpeichern, Nein), Ausstieg::Beenden);
  EXPECT_EQ(AusstiegEntscheiden(Ausstiegsfrage::ErgebnisSpeichern, Abbrechen), Ausstieg::Bleiben);
}

TEST(CheckSpinValue, BetragErsatzUndUntergrenze) {
  EXPECT_EQ(CheckSpinValue(-7, true, 0, 0), 7);
  EXPECT_EQ(CheckSpinValue(0, true, 0, 1), 1);   // the tiling page's 0 becomes 1
  EXPECT_EQ(CheckSpinValue(3, false, 5, 9), 9);  // below the low bound
  EXPECT_EQ(CheckSpinValue(3, true, 5, 9), 3);
  EXPECT_EQ(CheckSpinValue(INT32_MIN, true, 0, 0), INT32_MAX);
}

TEST(HelpText, SchluesselUndZeilen) {
  EXPECT_EQ(HilfeSchluessel(kHilfeArt, 4, 1, kSpracheDeutsch), 4151);
  EXPECT_EQ(HilfeSchluessel(kHilfeArt, 10, 1, kSpracheDeutsch), 10151);
  EXPECT_EQ(HilfeSchluessel(kInfoArt, 0, 1, kSpracheDeutsch), -1);

  EXPECT_EQ(HilfeZeilenTeilen("a^^b^"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(HilfeZeilenTeilen("a^b"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(HilfeZeilenTeilen("").empty());

  for (int seite : {1, 2, 3, 4, 5, 6, 7, 8, 10}) {
    EXPECT_FALSE(HelpText(kHilfeArt, seite).empty()) << seite;
  }
  EXPECT_TRUE(HelpText(kHilfeArt, 9).empty());
  for (int eintrag = 1; eintrag <= 6; ++eintrag) {
    EXPECT_FALSE(HelpText(kInfoArt, eintrag).empty()) << eintrag;
  }
}

TEST(HelpText, NenntJedeBildartDieDasProgrammLiest) {
  // The template page and the album editor tell which files they take.
  for (int seite : {1, 8}) {
    std::string text;
    for (const std::string& zeile : HelpText(kHilfeArt, seite)) text += zeile + "\n";
    for (const Bildendung& endung : kBildEndungen) {
      // Followed by a blank, comma, hyphen or bracket: ".tif" is not found inside ".tiff".
      bool genannt = false;
      for (size_t pos = text.find(endung.endung); pos != std::string::npos && !genannt;
           pos = text.find(endung.endung, pos + 1)) {
        const char danach = text[pos + endung.endung.size()];
        genannt = danach == ' ' || danach == ',' || danach == '-' || danach == ')';
      }
      EXPECT_TRUE(genannt) << "Seite " << seite << ": " << endung.endung;
    }
  }
}

TEST(Hilfefenster, GeometrieUndZweiterKlick) {
  EXPECT_EQ(HilfeFensterBreite(451), 225);
  // Lines of 15 pixels, or of the font's spacing where that is more, between margins.
  EXPECT_EQ(HilfeFensterHoehe(3, HilfeZeilenHoehe(12)), 57);
  EXPECT_EQ(HilfeFensterHoehe(3, HilfeZeilenHoehe(18)), 66);
  EXPECT_EQ(HilfeUmbruchBreite(451), 220);
  EXPECT_EQ(HilfeTextBreite(225), 205);
  // A screen of 1024 × 768 below a panel of 30; a button of 80 × 25.
  const Rect frei{0, 30, 1024, 768};
  EXPECT_EQ(HilfeFensterPlatzieren(frei, Rect{100, 500, 180, 525}, 225, 49),
            (HilfeFensterLage{100, 451, 49, false}));
  // Near the top it opens below; exactly 6 pixels clear of the top it still fits above.
  EXPECT_EQ(HilfeFensterPlatzieren(frei, Rect{100, 40, 180, 65}, 225, 49),
            (HilfeFensterLage{100, 65, 49, true}));
  EXPECT_EQ(HilfeFensterPlatzieren(frei, Rect{100, 85, 180, 110}, 225, 49),
            (HilfeFensterLage{100, 36, 49, false}));
  // 1017 pixels of text fit neither side: the larger side, as high as it allows, scrolls.
  EXPECT_EQ(HilfeFensterPlatzieren(frei, Rect{100, 500, 180, 525}, 225, 1017),
            (HilfeFensterLage{100, 36, 464, false}));
  EXPECT_EQ(HilfeFensterPlatzieren(frei, Rect{100, 200, 180, 225}, 225, 1017),
            (HilfeFensterLage{100, 225, 537, true}));
  // Too wide for the room right of the button: it moves left, never off the screen.
  EXPECT_EQ(HilfeFensterPlatzieren(frei, Rect{900, 500, 980, 525}, 225, 49).links, 793);
  EXPECT_EQ(HilfeFensterPlatzieren(frei, Rect{900, 500, 980, 525}, 2000, 49).links, 6);
  // A second screen to the right.
  EXPECT_EQ(
      HilfeFensterPlatzieren(Rect{1024, 0, 2048, 768}, Rect{1000, 500, 1080, 525}, 225, 49).links,
      1030);

  EXPECT_EQ(HilfeKlickPruefen(true, 150.0, 3), HilfeKlick::Schliessen);  // the closing click
  EXPECT_EQ(HilfeKlickPruefen(true, 250.0, 3), HilfeKlick::Oeffnen);
  EXPECT_EQ(HilfeKlickPruefen(false, 10.0, 3), HilfeKlick::Oeffnen);
  EXPECT_EQ(HilfeKlickPruefen(false, 1000.0, 11), HilfeKlick::Schliessen);
}

}  // namespace
}  // namespace tilvendo::wizard
