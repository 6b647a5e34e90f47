// Key texts of the pages in English, with English numbers and durations.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "albums/alben_zustand.h"
#include "albums/katalog.h"
#include "engine/fortschritt.h"
#include "platform/clock.h"
#include "platform/free_space.h"
#include "platform/translate.h"
#include "support/sprache_wechseln.h"
#include "support/temp_folder.h"
#include "wizard/album_editor.h"
#include "wizard/druckformat.h"
#include "wizard/ergebnis_seite.h"
#include "wizard/hilfetexte.h"
#include "wizard/kachelung_seite.h"
#include "wizard/seiten.h"
#include "wizard/speichern_optionen.h"

namespace tilvendo::wizard {
namespace {

constexpr double kSekunde = 1.0 / kSecondsPerDay;

TEST(Englisch, TextsNumbersAndDurationsOfThePages) {
  const testing::InSprache englisch("en_US.UTF-8");
  ASSERT_EQ(englisch.sprache(), "en");
  EXPECT_EQ(PageTitle(1), "Choose the template");
  EXPECT_EQ(KachelAnzahlText(40, 30), "40 x 30 tiles, 1200 in total");
  EXPECT_EQ(DauerText((3600 + 15 * 60 + 30) * kSekunde), "1 h 15 min 30 s");
  EXPECT_EQ(DauerText(65 * kSekunde), "01 min 05 s");
  EXPECT_EQ(Skalierungstext(727, 2000, 2000, 1500),
            "Photo mosaic scaled to 36.35% of its full size (2000 x 1500 pixels)");
  EXPECT_EQ(KachelkantenText(Kachelmass{127, 95}), "Tile edge in print: 12.7 × 9.5 mm");
  EXPECT_EQ(KachelkantenText(Kachelmass{240, 240}), "Tile edge in print: 24 mm");
  EXPECT_EQ(DruckgroessenText(5512, 4130, 200), "70 × 52 cm at 200 dpi");
  EXPECT_EQ(SizeText(1234567), "1.2 MB");
  EXPECT_EQ(SizeText(999), "999 bytes");
  EXPECT_EQ(GroessenText(1536), "expected file size: 1.50 kilobytes");
  EXPECT_EQ(QualitaetsText(90), "Quality: 90% (very good)");
}

TEST(Englisch, TheHelpPopupsAndTheInformationPageSpeakEnglishLineForLine) {
  const std::vector<std::pair<int32_t, int32_t>> texte = {
      {kHilfeArt, 1}, {kHilfeArt, 2}, {kHilfeArt, 3}, {kHilfeArt, 4},  {kHilfeArt, 5},
      {kHilfeArt, 6}, {kHilfeArt, 7}, {kHilfeArt, 8}, {kHilfeArt, 10}, {kInfoArt, 1},
      {kInfoArt, 2},  {kInfoArt, 3},  {kInfoArt, 4},  {kInfoArt, 5},   {kInfoArt, 6}};
  std::vector<std::vector<std::string>> deutsch;
  for (const auto& [art, seite] : texte) deutsch.push_back(HelpText(art, seite));
  const testing::InSprache englisch("en_US.UTF-8");
  EXPECT_EQ(HelpText(kHilfeArt, 1).front(),
            "Choose the template here: the picture your photo mosaic shall show from a distance.");
  // Each text keeps the lines and empty lines of its German one.
  for (size_t i = 0; i < texte.size(); ++i) {
    const std::vector<std::string> zeilen = HelpText(texte[i].first, texte[i].second);
    EXPECT_EQ(zeilen.size(), deutsch[i].size()) << i;
    EXPECT_NE(zeilen, deutsch[i]) << i;
  }
}

TEST(Englisch, PaperSizesOfBothSystemsAndInchesInInches) {
  const testing::InSprache englisch("en_US.UTF-8");
  std::set<std::string> namen;
  for (const Druckformat& format : kDruckformate) namen.insert(_(format.text));
  for (const char* name :
       {"A4 (21 × 29.7 cm)", "A0 (84.1 × 118.9 cm)", "70 × 100 cm", "Letter (8.5 × 11 in)",
        "Legal (8.5 × 14 in)", "Tabloid (11 × 17 in)", "18 × 24 in", "24 × 36 in"}) {
    EXPECT_EQ(namen.count(name), 1u) << name;
  }
  // Every size once, so that choosing one by its paper finds it.
  std::set<std::pair<int32_t, int32_t>> masse;
  for (const Druckformat& format : kDruckformate) masse.insert({format.kurz, format.lang});
  EXPECT_EQ(masse.size(), kDruckformate.size());
  // Letter is 8.5 × 11 inches, to the nearest millimetre.
  const Papiermass letter = PapierFuer(kDruckformate[10], Ausrichtung::Hochformat);
  EXPECT_EQ(std::pair(letter.breite, letter.hoehe), std::pair(216, 279));
}

TEST(Englisch, TheAlbumListsSummaryEntriesAreNamedInEnglishAndNoAlbumMayTakeTheirNames) {
  testing::TempFolder ordner;
  const AlbenKontext kontext{ordner.path()};
  const testing::InSprache englisch("en_US.UTF-8");
  AlbenZustand zustand;
  EXPECT_EQ(zustand.Albenliste[kAlleAlbenPosition].Name, "all albums together");
  EXPECT_EQ(zustand.Position("all chosen albums together"),
            static_cast<int>(kGewaehlteAlbenPosition));
  // Neither in English nor in German, so that a list in either language stays clear.
  for (const char* name : {"All albums together", "alle gewählten Alben zusammen"}) {
    EXPECT_FALSE(AlbumnameFrei(kontext, kAlleAlbenName, kGewaehlteAlbenName, name, "")) << name;
    EXPECT_EQ(NamensHinweis(kontext, "", name), "The program uses this name itself.") << name;
  }
  EXPECT_TRUE(AlbumnameFrei(kontext, kAlleAlbenName, kGewaehlteAlbenName, "Holidays", ""));
}

}  // namespace
}  // namespace tilvendo::wizard
