#include "wizard/alben_seite.h"

#include <gtest/gtest.h>

#include <tuple>

#include "albums/alben_helfer.h"
#include "albums/alben_operationen.h"
#include "albums/katalog.h"
#include "wizard/album_editor.h"

namespace tilvendo::wizard {
namespace {

using testing::AlbenOrdner;
using testing::FalscheMedien;
using testing::ProtokollBenutzer;

struct AlbenSeite : ::testing::Test {
  void Anlegen(const std::string& name, int32_t bilder, bool wechselmedium = false) {
    TGalerieGlobal album;
    album.Name = name;
    album.Dateiname = AlbumDateiname(FreieAlbumNummer(alben.kontext));
    album.Anzahl.gesamt = bilder;
    album.AlleVerzeichnisseVorhanden = true;
    if (wechselmedium) {
      album.Wechselmedium = true;
      album.MediumName = "Sommer";
      album.Laufwerk = "/media/cd";
      album.Seriennummer = "0012-ABCD";
    }
    AlbumSpeichern(alben.kontext, album);
  }

  AlbenOrdner alben;
  FalscheMedien medien;
  ProtokollBenutzer benutzer;
  AlbenZustand zustand;
};

TEST_F(AlbenSeite, AnEmptyCatalogueShowsTheSummaryEntriesOnly) {
  EXPECT_EQ(ListeFuellen(zustand, alben.kontext),
            (std::vector<Listeneintrag>{{kAlleAlbenName, Zustandsbild::Keines},
                                        {kGewaehlteAlbenName, Zustandsbild::Keines}}));
  const Albenanzeige anzeige = AlbenChange(zustand, alben.kontext, std::nullopt);
  EXPECT_EQ(std::tuple(anzeige.aktAlbum, anzeige.anzahl, anzeige.aktMediumSichtbar,
                       anzeige.loeschen || anzeige.bearbeiten || anzeige.weiter),
            std::tuple("< kein Album gewählt >", Bildzahlen{}, false, false));
  EXPECT_FALSE(WeiterMoeglich(5, Bildzahlen{}));
}

TEST_F(AlbenSeite, ListAndLabelsFollowTheChosenAlbums) {
  Anlegen("urlaub", 120);
  Anlegen("Garten", 30);
  Anlegen("CD", 8, true);
  medien.media["/media/cd"] = {"0012-ABCD", kLaufwerksklasseWechselmedium};
  AlbumAuswaehlen(zustand, alben.kontext, medien, benutzer, "urlaub");
  AlbumAuswaehlen(zustand, alben.kontext, medien, benutzer, "Garten");

  EXPECT_EQ(ListeFuellen(zustand, alben.kontext),
            (std::vector<Listeneintrag>{{kAlleAlbenName, Zustandsbild::Keines},
                                        {kGewaehlteAlbenName, Zustandsbild::Keines},
                                        {"CD", Zustandsbild::KeinHaekchen},
                                        {"Garten", Zustandsbild::Haekchen},
                                        {"urlaub", Zustandsbild::Haekchen}}));

  Albenanzeige anzeige = AlbenChange(zustand, alben.kontext, kGewaehlteAlbenName);
  EXPECT_EQ(std::tuple(anzeige.tag, anzeige.anzahl.gesamt, anzeige.weiter,
                       anzeige.loeschen || anzeige.bearbeiten),
            std::tuple(1, 150, true, false));

  anzeige = AlbenChange(zustand, alben.kontext, "Garten");
  EXPECT_EQ(std::tuple(anzeige.tag, anzeige.loeschen, anzeige.bearbeiten),
            std::tuple(3, true, true));

  // An album not chosen is shown from the catalogue, with its removable medium.
  anzeige = AlbenChange(zustand, alben.kontext, "CD");
  EXPECT_EQ(
      std::tuple(anzeige.tag, anzeige.aktAlbum, anzeige.anzahl.gesamt, anzeige.aktMediumSichtbar,
                 anzeige.aktMedium, anzeige.loeschen, anzeige.bearbeiten,
                 zustand.AktMedium.Laufwerk, zustand.AktMedium.Seriennummer),
      std::tuple(kNichtGewaehlt, "CD", 8, true, "Sommer", true, false, "/media/cd", "0012-ABCD"));

  AlbenChange(zustand, alben.kontext, "urlaub");
  EXPECT_TRUE(zustand.AktMedium.Leer());
}

TEST_F(AlbenSeite, TheEditorsRules) {
  Anlegen("Urlaub", 1);
  // An album may keep its own name (the other names are below).
  EXPECT_TRUE(SchliessenMoeglich(alben.kontext, "Urlaub", "Urlaub"));
  EXPECT_FALSE(SchliessenMoeglich(alben.kontext, "neues Album 1", kAlleAlbenName));

  TGalerieGlobal album;
  album.Verzeichnisse = {"/daten/a/"};
  EXPECT_FALSE(AblegenMoeglich(album, "/daten/a"));
  EXPECT_TRUE(AblegenMoeglich(album, "/daten/b"));

  EXPECT_EQ(AuswahlNachHinzufuegen(std::nullopt), 0u);
  EXPECT_EQ(AuswahlNachHinzufuegen(3), 3u);
  EXPECT_EQ(AuswahlNachEntfernen(0, 2), std::optional<size_t>(0));
  EXPECT_EQ(AuswahlNachEntfernen(2, 2), std::optional<size_t>(1));
  EXPECT_EQ(AuswahlNachEntfernen(0, 0), std::nullopt);
}

TEST_F(AlbenSeite, TheEditorSaysWhyANameCannotBeTaken) {
  Anlegen("Urlaub", 1);
  const std::string eigener = "neues Album 1";
  const std::pair<std::string, std::string> faelle[] = {
      {"", "Bitte geben Sie dem Album einen Namen."},
      {"alle gewählten Alben zusammen", "Diesen Namen verwendet das Programm selbst."},
      {"ALBEN", "Diesen Namen verwendet das Programm selbst."},
      {"a=b", "Der Name darf kein „=“ enthalten."},
      {"Sommer]", "Der Name darf kein „]“ enthalten."},
      {"[Sommer", "Der Name darf nicht mit „[“ beginnen."},
      {"Sommer\t1", "Der Name darf keine Steuerzeichen enthalten."},
      {" Sommer", "Der Name darf nicht mit einem Leerzeichen beginnen oder enden."},
      {"Sommer ", "Der Name darf nicht mit einem Leerzeichen beginnen oder enden."},
      {"uRLAUB", "Ein anderes Album heißt schon so."},
  };
  for (const auto& [name, hinweis] : faelle) {
    EXPECT_EQ(NamensHinweis(alben.kontext, eigener, name), hinweis) << name;
    EXPECT_FALSE(SchliessenMoeglich(alben.kontext, eigener, name)) << name;
  }
  // A name that may be taken needs no word, the album's own included.
  for (const std::string name : {"neues Album 1", "Sommer 2024", "Urlaub [alt"}) {
    EXPECT_EQ(NamensHinweis(alben.kontext, eigener, name), "") << name;
    EXPECT_TRUE(SchliessenMoeglich(alben.kontext, eigener, name)) << name;
  }
  EXPECT_EQ(NamensHinweis(alben.kontext, "Urlaub", "Urlaub"), "");

  // "momentanes Verzeichnis".
  EXPECT_EQ(AktVerzText("/home/anna/Bilder"), "/home/anna/Bilder");
  EXPECT_EQ(AktVerzText(""), "-");
}

TEST_F(AlbenSeite, TheDriveChooserFollowsMediaArrivingAndLeaving) {
  medien.media["/"] = {"1111-2222", kLaufwerksklasseFestplatte};
  medien.media["/proc"] = {"", kLaufwerksklasseUngeeignet};
  medien.media["/media/stick"] = {"0012-ABCD", kLaufwerksklasseWechselmedium};
  const auto laufwerke = LaufwerkeAuflisten(
      medien, [](const std::string& punkt) { return punkt == "/media/stick" ? "STICK" : ""; });
  EXPECT_EQ(laufwerke,
            (std::vector<Laufwerk>{{"/", "/"}, {"/media/stick", "STICK (/media/stick)"}}));
  EXPECT_EQ(HeimLaufwerk(medien, "/home/anna"), "/");

  const std::vector<std::string> ohne = {"/", "/proc"};
  const std::vector<std::string> mit = {"/", "/proc", "/media/stick"};
  // A removable medium that arrives is switched to.
  EXPECT_EQ(LaufwerkNachAenderung(medien, ohne, mit, "/", "/"), "/media/stick");
  // A mount the user did not insert moves nothing.
  medien.media["/media/platte"] = {"3333-4444", kLaufwerksklasseFestplatte};
  EXPECT_EQ(LaufwerkNachAenderung(medien, mit, {"/", "/proc", "/media/stick", "/media/platte"},
                                  "/media/stick", "/"),
            std::nullopt);
  // The chosen medium gone: back to the home folder's drive.
  medien.media.erase("/media/stick");
  EXPECT_EQ(LaufwerkNachAenderung(medien, mit, ohne, "/media/stick", "/"), "/");
  EXPECT_FALSE(LaufwerkLesbar(medien, "/media/stick"));
}

}  // namespace
}  // namespace tilvendo::wizard
