#include "albums/alben_operationen.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

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
  EXPECT_EQ(std::tuple(erstes.name, erstes.position, zustand.AlbenAuswahl.back(),
                       zustand.AktAlbum.Name, zustand.AktAlbum.Verzeichnisse.size()),
            std::tuple("neues Album 1", 2u, "neues Album 1", "neues Album 1", 0u));
  AlbumBearbeitungAbschliessen(zustand, alben.kontext, erstes);

  // The first name is taken now.
  const AlbumImEditor zweites = Anlegen("Urlaub", {platte / "a"});
  EXPECT_EQ(zweites.anzahl.gesamt, 5);
  EXPECT_EQ(Namen(), (std::vector<std::string>{"neues Album 1", "Urlaub"}));
  ASSERT_EQ(std::tuple(zustand.AlbenAuswahl.size(), zustand.Albenliste.size()), std::tuple(4u, 4u));
  const TGalerieGlobal& urlaub = zustand.Albenliste[3];
  EXPECT_EQ(std::tuple(zustand.AlbenAuswahl[3], urlaub.Name, urlaub.Dateiname, urlaub.Verzeichnisse,
                       urlaub.AlleVerzeichnisse.size(), urlaub.Seriennummer),
            std::tuple("Urlaub", "Urlaub", "Album 2", std::vector<std::string>{platte / "a/"}, 2u,
                       "1111-2222"));

  TGalerieGlobal gespeichert;
  gespeichert.Name = "Urlaub";
  AlbumLaden(alben.kontext, gespeichert);
  EXPECT_EQ(std::tuple(gespeichert.Anzahl.gesamt, gespeichert.Verzeichnisse),
            std::tuple(5, urlaub.Verzeichnisse));
  EXPECT_EQ(NeuesAlbumBeginnen(zustand, alben.kontext, benutzer).name, "neues Album 2");
}

TEST_F(Operationen, ANewAlbumThatCannotBeSavedIsNotLeftChosen) {
  WriteWholeFile(platte / "datei", "x");
  const AlbenKontext unbeschreibbar{platte / "datei/Alben/"};
  AlbumImEditor editor = NeuesAlbumBeginnen(zustand, unbeschreibbar, benutzer);
  EXPECT_THROW(AlbumBearbeitungAbschliessen(zustand, unbeschreibbar, editor), WriteError);
  EXPECT_EQ(std::tuple(zustand.AlbenAuswahl.size(), zustand.Albenliste.size()), std::tuple(2u, 2u));
}

TEST_F(Operationen, EditingRenamesAChosenAlbumAndKeepsItsFiles) {
  Bilder(platte / "a/", 3);
  Bilder(platte / "b/", 4);
  Anlegen("Urlaub", {platte / "a"});
  WriteProfileString(alben.kontext.Katalog(), "Urlaub", "Ak5", "0");

  std::optional<AlbumImEditor> editor = AlbumBearbeitenBeginnen(zustand, 2);
  ASSERT_TRUE(editor);
  EXPECT_EQ(std::tuple(editor->name, editor->anzahl.gesamt), std::tuple("Urlaub", 3));
  OrdnerHinzufuegen(umgebung, zustand.AktAlbum, editor->anzahl, platte / "b/");
  editor->name = "Reise";
  AlbumBearbeitungAbschliessen(zustand, alben.kontext, *editor);

  EXPECT_EQ(Namen(), std::vector<std::string>{"Reise"});
  EXPECT_EQ(std::tuple(zustand.AlbenAuswahl[2], zustand.Albenliste[2].Name,
                       zustand.Albenliste[2].Anzahl.gesamt),
            std::tuple("Reise", "Reise", 7));
  TGalerieGlobal gespeichert;
  gespeichert.Name = "Reise";
  AlbumLaden(alben.kontext, gespeichert);
  EXPECT_EQ(std::tuple(gespeichert.Dateiname, gespeichert.Verzeichnisse.size()),
            std::tuple("Album 1", 2u));
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
  EXPECT_EQ(std::tuple(neu.AlbenAuswahl.size(), neu.Albenliste.size()), std::tuple(2u, 2u));
  EXPECT_FALSE(FileExists(alben.Datei("Album 1.nbd")));
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
  EXPECT_EQ(std::tuple(anzahl.gesamt, album.Seriennummer), std::tuple(0, std::string()));
  EXPECT_EQ(OrdnerHinzufuegen(umgebung, album, anzahl, cd / "fotos"), Aufnahme::Aufgenommen);
  EXPECT_EQ(std::tuple(album.Wechselmedium, album.MediumName, anzahl.gesamt),
            std::tuple(true, "Urlaubs-CD", 1));
}

}  // namespace
}  // namespace tilvendo
