#include "wizard/info_seite.h"

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "support/temp_folder.h"

namespace tilvendo::wizard {
namespace {

TEST(InfoSeite, EveryEntryHasItsTextAndOnlyContactSwapsTheIconForThePanel) {
  for (int eintrag = 0; eintrag < static_cast<int>(kInfoEintraege.size()); ++eintrag) {
    EXPECT_FALSE(InfoText(eintrag).empty()) << eintrag;
    const bool kontakt = eintrag == kInfoEintragKontakt;
    EXPECT_EQ(InfoPanels(eintrag), (InfoSichtbarkeit{!kontakt, kontakt})) << eintrag;
  }
  EXPECT_EQ(kInfoEintraege[kInfoEintragKontakt], "Kontakt");
  EXPECT_NE(InfoText(0).find("Nubo Tilvendo"), std::string::npos);
  // Lines of the stored text become lines of the field, empty ones included.
  EXPECT_NE(InfoText(0).find("\n\n"), std::string::npos);
  EXPECT_TRUE(InfoText(-1).empty());  // nothing selected
  EXPECT_TRUE(InfoText(static_cast<int>(kInfoEintraege.size())).empty());
  EXPECT_EQ(InfoPanels(-1), (InfoSichtbarkeit{true, false}));
}

TEST(InfoSeite, LinksWithoutTargetOrFileAreHidden) {
  const std::string ordner = "/nirgends/bin/";
  EXPECT_FALSE(LinkAufloesen({"Fehler:", LinkArt::Mail, "", ""}, ordner));
  EXPECT_EQ(LinkAufloesen({"Fehler:", LinkArt::Mail, "fehler@example.org", ""}, ordner),
            (LinkZiel{"mailto:fehler@example.org", false, "fehler@example.org"}));
  EXPECT_EQ(LinkAufloesen({"Website:", LinkArt::Webseite, "example.org", "Startseite"}, ordner),
            (LinkZiel{"https://example.org", false, "Startseite"}));
  EXPECT_FALSE(LinkAufloesen({"Website:", LinkArt::Datei, "../x.md", ""}, ordner));
}

TEST(InfoSeite, TheFileLinkFindsTheInstalledReadme) {
  // The layout `cmake --install` makes: bin/ beside share/doc/nubo-tilvendo/.
  testing::TempFolder praefix;
  ASSERT_TRUE(CreateFolders(praefix / "bin/"));
  ASSERT_TRUE(CreateFolders(praefix / "share/doc/nubo-tilvendo/"));
  testing::WriteWholeFile(praefix / "share/doc/nubo-tilvendo/README.md", "# Nubo Tilvendo\n");
  int dateiLinks = 0;
  for (const Kontaktlink& link : Kontaktlinks()) {
    if (link.art != LinkArt::Datei) continue;
    ++dateiLinks;
    const std::optional<LinkZiel> ziel = LinkAufloesen(link, praefix / "bin/");
    ASSERT_TRUE(ziel);
    EXPECT_TRUE(ziel->lokaleDatei);
    EXPECT_EQ(testing::ReadWholeFile(ziel->adresse), "# Nubo Tilvendo\n");
  }
  EXPECT_EQ(dateiLinks, 1);
}

}  // namespace
}  // namespace tilvendo::wizard
