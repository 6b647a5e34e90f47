#include "albums/alben_operationen.h"

#include <gtest/gtest.h>

#include "alben_helfer.h"
#include "albums/album_bearbeitung.h"
#include "albums/katalog.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/profile_file.h"

namespace tilvendo {
namespace {

using testing::AlbenOrdner;
using testing::FalscheMedien;
using testing::ProtokollBenutzer;
using testing::TempFolder;
using testing::WriteWholeFile;

// Two disks made of temporary folders: `platte` a fixed one, `cd` a removable one.
struct Operationen : ::testing::Test {
  Operationen() {
    medien.media[Ohne(platte.path())] = {"1111-2222", kLaufwerksklasseFestplatte};
    medien.media[Ohne(cd.path())] = {"0012-ABCD", kLaufwerksklasseWechselmedium};
  }
  static std::string Ohne(std::string pfad) {
    pfad.pop_back();
    return pfad;
  }
  // `anzahl` pictures in `ordner` (made); the scan only looks at the names.
  static void Bilder(const std::string& ordner, int anzahl) {
    CreateFolders(ordner);
    for (int i = 0; i < anzahl; ++i) WriteWholeFile(ordner + std::to_string(i) + ".jpg", "");
  }
  // A new album with `ordner` through the editor's steps, saved under `name`.
  AlbumImEditor Anlegen(const std::string& name, const std::vector<std::string>& ordner) {
    AlbumImEditor editor = NeuesAlbumBeginnen(zustand, alben.kontext, benutzer);
    for (const std::string& o : ordner) {
      OrdnerHinzufuegen(umgebung, zustand.AktAlbum, editor.anzahl, o);
    }
    editor.name = name;
    AlbumBearbeitungAbschliessen(zustand, alben.kontext, editor);
    return editor;
  }
  std::vector<std::string> Namen() {
    std::vector<std::string> namen;
    AlbennamenLaden(alben.kontext, namen);
    return namen;
  }

  AlbenOrdner alben;
  TempFolder platte;
  TempFolder cd;
  FalscheMedien medien;
  ProtokollBenutzer benutzer;
  AlbenZustand zustand;
  Bearbeitungsumgebung umgebung{alben.kontext, medien, benutzer};
};

TEST_F(Operationen, NewAlbumsAreNumberedChosenAtOnceAndSaved) {
  Bilder(platte / "a/", 3);
  Bilder(platte / "a/innen/", 2);

  AlbumImEditor erstes = NeuesAlbumBeginnen(zustand, alben.kontext, benutzer);
  EXPECT_EQ(erstes.name, "neues Album 1");
  EXPECT_EQ(erstes.position, 2u);
  EXPECT_EQ(zustand.AlbenAuswahl.back(), "neues Album 1");
  EXPECT_EQ(zustand.AktAlbum.Name, "neues Album 1");
  EXPECT_TRUE(zustand.AktAlbum.Verzeichnisse.empty());
  AlbumBearbeitungAbschliessen(zustand, alben.kontext, erstes);

  // The first name is taken now.
  const AlbumImEditor zweites = Anlegen("Urlaub", {platte / "a"});
  EXPECT_EQ(zweites.anzahl.gesamt, 5);
  EXPECT_EQ(Namen(), (std::vector<std::string>{"neues Album 1", "Urlaub"}));
  ASSERT_EQ(zustand.AlbenAuswahl.size(), 4u);
  EXPECT_EQ(zustand.Albenliste.size(), 4u);
  EXPECT_EQ(zustand.AlbenAuswahl[3], "Urlaub");
  const TGalerieGlobal& urlaub = zustand.Albenliste[3];
  EXPECT_EQ(urlaub.Name, "Urlaub");
  EXPECT_EQ(urlaub.Dateiname, "Album 2");
  EXPECT_EQ(urlaub.Verzeichnisse, std::vector<std::string>{platte / "a/"});
  EXPECT_EQ(urlaub.AlleVerzeichnisse.size(), 2u);
  EXPECT_EQ(urlaub.Seriennummer, "1111-2222");

  TGalerieGlobal gespeichert;
  gespeichert.Name = "Urlaub";
  AlbumLaden(alben.kontext, gespeichert);
  EXPECT_EQ(gespeichert.Anzahl.gesamt, 5);
  EXPECT_EQ(gespeichert.Verzeichnisse, urlaub.Verzeichnisse);
  EXPECT_EQ(NeuesAlbumBeginnen(zustand, alben.kontext, benutzer).name, "neues Album 2");
}

TEST_F(Operationen, ANewAlbumThatCannotBeSavedIsNotLeftChosen) {
  WriteWholeFile(platte / "datei", "x");
  const AlbenKontext unbeschreibbar{platte / "datei/Alben/"};
  AlbumImEditor editor = NeuesAlbumBeginnen(zustand, unbeschreibbar, benutzer);
  EXPECT_THROW(AlbumBearbeitungAbschliessen(zustand, unbeschreibbar, editor), WriteError);
  EXPECT_EQ(zustand.AlbenAuswahl.size(), 2u);
  EXPECT_EQ(zustand.Albenliste.size(), 2u);
}

TEST_F(Operationen, EditingRenamesAChosenAlbumAndKeepsItsFiles) {
  Bilder(platte / "a/", 3);
  Bilder(platte / "b/", 4);
  Anlegen("Urlaub", {platte / "a"});
  WriteProfileString(alben.kontext.Katalog(), "Urlaub", "Ak5", "0");

  std::optional<AlbumImEditor> editor = AlbumBearbeitenBeginnen(zustand, 2);
  ASSERT_TRUE(editor);
  EXPECT_EQ(editor->name, "Urlaub");
  EXPECT_EQ(editor->anzahl.gesamt, 3);
  OrdnerHinzufuegen(umgebung, zustand.AktAlbum, editor->anzahl, platte / "b/");
  editor->name = "Reise";
  AlbumBearbeitungAbschliessen(zustand, alben.kontext, *editor);

  EXPECT_EQ(Namen(), std::vector<std::string>{"Reise"});
  EXPECT_EQ(zustand.AlbenAuswahl[2], "Reise");
  EXPECT_EQ(zustand.Albenliste[2].Name, "Reise");
  EXPECT_EQ(zustand.Albenliste[2].Anzahl.gesamt, 7);
  TGalerieGlobal gespeichert;
  gespeichert.Name = "Reise";
  AlbumLaden(alben.kontext, gespeichert);
  EXPECT_EQ(gespeichert.Dateiname, "Album 1");
  EXPECT_EQ(gespeichert.Verzeichnisse.size(), 2u);
  // The rescan marked the cache for rebuilding, and the mark moved with the name.
  EXPECT_EQ(ProfileFile::Load(alben.kontext.Katalog()).Read("Reise", "Ak5"), "2");

  EXPECT_FALSE(AlbumBearbeitenBeginnen(zustand, 1));
  EXPECT_FALSE(AlbumBearbeitenBeginnen(zustand, 3));
}

TEST_F(Operationen, ChoosingUnchoosingAndDeletingKeepTheListsParallel) {
  Bilder(platte / "a/", 120);
  Bilder(platte / "b/", 30);
  Anlegen("Urlaub", {platte / "a"});
  Anlegen("Garten", {platte / "b"});
  AlbenZustand neu;  // a new program run: nothing chosen

  EXPECT_EQ(AlbumAuswahlUmschalten(neu, alben.kontext, medien, benutzer, "Urlaub"), 2);
  EXPECT_EQ(AlbumAuswahlUmschalten(neu, alben.kontext, medien, benutzer, "Garten"), 3);
  EXPECT_EQ(neu.GewaehlteBilderZaehlen().gesamt, 150);
  // The summary entries are neither chosen nor unchosen.
  EXPECT_EQ(AlbumAuswahlUmschalten(neu, alben.kontext, medien, benutzer, kAlleAlbenName), 0);
  AlbumLoeschenUndAbwaehlen(neu, alben.kontext, kGewaehlteAlbenName);
  EXPECT_EQ(neu.AlbenAuswahl.size(), 4u);

  // Unchoosing keeps the album in the catalogue.
  EXPECT_EQ(AlbumAuswahlUmschalten(neu, alben.kontext, medien, benutzer, "Urlaub"), -1);
  EXPECT_EQ(neu.AlbenAuswahl,
            (std::vector<std::string>{kAlleAlbenName, kGewaehlteAlbenName, "Garten"}));
  EXPECT_EQ(neu.Albenliste.size(), 3u);
  EXPECT_EQ(neu.GewaehlteBilderZaehlen().gesamt, 30);
  EXPECT_EQ(Namen(), (std::vector<std::string>{"Garten", "Urlaub"}));

  AlbumLoeschenUndAbwaehlen(neu, alben.kontext, "Garten");
  AlbumLoeschenUndAbwaehlen(neu, alben.kontext, "Urlaub");
  EXPECT_TRUE(Namen().empty());
  EXPECT_EQ(neu.AlbenAuswahl.size(), 2u);
  EXPECT_EQ(neu.Albenliste.size(), 2u);
  EXPECT_FALSE(FileExists(alben.Datei("Album 1.nbd")));
}

TEST_F(Operationen, ARemovableAlbumIsChosenOnlyWithItsDisc) {
  Bilder(cd / "fotos/", 2);
  Anlegen("Sommer", {cd / "fotos"});
  EXPECT_EQ(benutzer.namensfragen, 1);
  EXPECT_TRUE(zustand.Albenliste[2].Wechselmedium);
  EXPECT_EQ(zustand.Albenliste[2].Laufwerk, Ohne(cd.path()));

  AlbenZustand neu;
  medien.media[Ohne(cd.path())].kennung = "9999-0000";  // another disc in the drive
  EXPECT_EQ(AlbumAuswahlUmschalten(neu, alben.kontext, medien, benutzer, "Sommer"), -1);
  EXPECT_EQ(benutzer.warnungen,
            std::vector<std::string>{"Bitte legen Sie erst das ensprechende Medium "
                                     "\"Urlaubs-CD\" in Laufwerk \"" +
                                     Ohne(cd.path()) + "\" ein."});
  EXPECT_EQ(neu.AlbenAuswahl.size(), 2u);

  medien.media[Ohne(cd.path())].kennung = "0012-ABCD";
  EXPECT_EQ(AlbumAuswahlUmschalten(neu, alben.kontext, medien, benutzer, "Sommer"), 2);
}

TEST_F(Operationen, TheEditorKeepsOneMediumAndRescansOnEveryChange) {
  Bilder(platte / "a/", 3);
  Bilder(platte / "a/innen/", 2);
  Bilder(cd / "fotos/", 1);
  AlbumImEditor editor = NeuesAlbumBeginnen(zustand, alben.kontext, benutzer);
  TGalerieGlobal& album = zustand.AktAlbum;
  Bildzahlen& anzahl = editor.anzahl;

  EXPECT_EQ(OrdnerHinzufuegen(umgebung, album, anzahl, platte / "a"), Aufnahme::Aufgenommen);
  EXPECT_EQ(OrdnerHinzufuegen(umgebung, album, anzahl, platte / "a/"), Aufnahme::SchonVorhanden);
  EXPECT_EQ(album.Verzeichnisse, std::vector<std::string>{platte / "a/"});
  EXPECT_EQ(anzahl.gesamt, 5);
  EXPECT_FALSE(benutzer.scan.empty());  // the editor shows the scan

  UnterverzeichnisseSetzen(umgebung, album, anzahl, false);
  EXPECT_EQ(anzahl.gesamt, 3);
  UnterverzeichnisseSetzen(umgebung, album, anzahl, true);
  EXPECT_EQ(anzahl.gesamt, 5);

  // A folder of another medium is refused; the album stays as it was.
  EXPECT_EQ(OrdnerHinzufuegen(umgebung, album, anzahl, cd / "fotos"), Aufnahme::Abgelehnt);
  EXPECT_EQ(benutzer.warnungen, std::vector<std::string>{kWarnungEinMedium});
  EXPECT_EQ(album.Verzeichnisse.size(), 1u);

  // The last folder gone, the album takes folders of another medium.
  EXPECT_FALSE(OrdnerEntfernen(umgebung, album, anzahl, 1));
  EXPECT_TRUE(OrdnerEntfernen(umgebung, album, anzahl, 0));
  EXPECT_EQ(anzahl.gesamt, 0);
  EXPECT_TRUE(album.Seriennummer.empty());
  EXPECT_EQ(OrdnerHinzufuegen(umgebung, album, anzahl, cd / "fotos"), Aufnahme::Aufgenommen);
  EXPECT_TRUE(album.Wechselmedium);
  EXPECT_EQ(album.MediumName, "Urlaubs-CD");
  EXPECT_EQ(anzahl.gesamt, 1);
}

}  // namespace
}  // namespace tilvendo
