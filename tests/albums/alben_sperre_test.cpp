#include "albums/alben_sperre.h"

#include <gtest/gtest.h>

#include <chrono>

#include "alben_helfer.h"
#include "albums/alben_operationen.h"
#include "albums/katalog.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/profile_file.h"
#include "support/fremde_sperre.h"
#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

using testing::AlbenOrdner;
using testing::ReadWholeFile;
using testing::TestBenutzer;

constexpr std::chrono::milliseconds kKurz{150};
// A wait long enough to tell one from two on a busy machine.
constexpr std::chrono::milliseconds kZweiteln{400};

TGalerieGlobal Album(const std::string& name, const std::string& dateiname) {
  TGalerieGlobal album;
  album.Name = name;
  album.Dateiname = dateiname;
  album.Verzeichnisse = {"/bilder/" + name + "/"};
  album.AlleVerzeichnisse = album.Verzeichnisse;
  return album;
}

// Another program holds the album folder: a change waits with a note and gives up after
// the time allowed, having changed nothing.
TEST(AlbenSperre, AChangeWaitsWithANoteAndGivesUpUnchangedAfterTheTimeAllowed) {
  AlbenOrdner alben;
  AlbumSpeichern(alben.kontext, Album("Eins", "Album 1"));
  const std::string vorher = alben.Katalog();
  TestBenutzer benutzer;
  AlbenKontext kontext = alben.kontext;
  kontext.benutzer = &benutzer;
  kontext.sperrFrist = kKurz;
  const testing::FremdeSperre anderer(alben.folder.path());

  const auto gesperrt = [&](const std::function<void()>& aenderung) {
    benutzer.hinweise.clear();
    try {
      aenderung();
      ADD_FAILURE() << "changed while another program held the album folder";
    } catch (const WriteError& fehler) {
      EXPECT_EQ(fehler.what(), MeldungAlbenGesperrt(alben.folder.path()));
    }
    EXPECT_EQ(benutzer.hinweise, std::vector<std::string>{HinweisAlbenWarten(alben.folder.path())});
  };
  gesperrt([&] { AlbumSpeichern(kontext, Album("Zwei", "Album 2")); });
  gesperrt([&] { AlbumLoeschen(kontext, "Eins"); });
  gesperrt([&] { AlbumUmbenennen(kontext, "Eins", "Drei"); });
  gesperrt([&] { SignaturenVeralten(kontext, "Eins", 2); });
  gesperrt([&] { FreierAlbumDateiname(kontext); });
  EXPECT_GT(benutzer.ereignisRunden, 0);  // the window stayed alive meanwhile
  EXPECT_EQ(alben.Katalog(), vorher);
  EXPECT_FALSE(FileExists(alben.Datei("Album 2.nbd")));

  // A new album tidies the folder and reserves its files in one turn: it waits the time
  // allowed once, not once per step.
  AlbenZustand zustand;
  kontext.sperrFrist = kZweiteln;
  const auto anfang = std::chrono::steady_clock::now();
  gesperrt([&] { NeuesAlbumBeginnen(zustand, kontext, benutzer); });
  const auto gewartet = std::chrono::steady_clock::now() - anfang;
  EXPECT_GE(gewartet, kZweiteln);
  EXPECT_LT(gewartet, kZweiteln * 3 / 2);
}

// Each new file name is taken at once: the next program asking gets another one.
TEST(AlbenSperre, ANewFileNameIsReservedAtOnce) {
  AlbenOrdner alben;
  EXPECT_EQ(FreierAlbumDateiname(alben.kontext), "Album 1");
  EXPECT_EQ(FreierAlbumDateiname(alben.kontext), "Album 2");
  EXPECT_EQ(ReadWholeFile(alben.Datei("Album 1.nbd")), "");
  // The reserved, empty folder file holds no folders: an album naming it was never
  // scanned and is scanned when it is chosen.
  TGalerieGlobal album = Album("Eins", "Album 1");
  KatalogEintragSchreiben(alben.kontext, album);
  TGalerieGlobal geladen;
  geladen.Name = "Eins";
  AlbumLaden(alben.kontext, geladen);
  EXPECT_FALSE(geladen.AlleVerzeichnisseVorhanden);
  EXPECT_EQ(OrdnerdateiPruefen(alben.kontext, geladen), Ordnerdateizustand::Fehlt);
}

// Between checking a new album's name and saving it, another program may have saved an
// album of that name, or (while an editor stayed open long) taken its file name.
TEST(AlbenSperre, ANewAlbumNeverOverwritesOneSavedMeanwhile) {
  AlbenOrdner alben;
  TGalerieGlobal neu = Album("Urlaub", FreierAlbumDateiname(alben.kontext));
  TGalerieGlobal anderes = Album("URLAUB", "Album 9");
  AlbumSpeichern(alben.kontext, anderes);
  const std::string vorher = alben.Katalog();
  EXPECT_THROW(NeuesAlbumSpeichern(alben.kontext, neu), AlbumnameVergeben);
  EXPECT_EQ(alben.Katalog(), vorher);

  AlbumLoeschen(alben.kontext, "URLAUB");
  TGalerieGlobal dieb = Album("Dieb", neu.Dateiname);
  AlbumSpeichern(alben.kontext, dieb);
  NeuesAlbumSpeichern(alben.kontext, neu);
  EXPECT_NE(neu.Dateiname, dieb.Dateiname);
  EXPECT_EQ(ProfileFile::Load(alben.kontext.Katalog()).ReadString("Urlaub", "DN", ""),
            neu.Dateiname);
  EXPECT_EQ(ReadWholeFile(alben.Datei(dieb.Dateiname + ".nbd")),
            "/bilder/Dieb/\r\n<<<<<---------->>>>>\r\n/bilder/Dieb/\r\n");
  EXPECT_EQ(ReadWholeFile(alben.Datei(neu.Dateiname + ".nbd")),
            "/bilder/Urlaub/\r\n<<<<<---------->>>>>\r\n/bilder/Urlaub/\r\n");
}

TEST(AlbenSperre, AFolderFileIsSoundOnlyWithItsSeparatorAndFolderPaths) {
  AlbenOrdner alben;
  const TGalerieGlobal album = Album("Eins", "Album 1");
  const auto zustand = [&](const std::string& inhalt) {
    testing::WriteWholeFile(alben.Datei("Album 1.nbd"), inhalt);
    return OrdnerdateiPruefen(alben.kontext, album);
  };
  EXPECT_EQ(OrdnerdateiPruefen(alben.kontext, album), Ordnerdateizustand::Fehlt);
  EXPECT_EQ(zustand(""), Ordnerdateizustand::Fehlt);
  EXPECT_EQ(zustand("<<<<<---------->>>>>\r\n"), Ordnerdateizustand::Vorhanden);
  EXPECT_EQ(zustand("/\n/a b/\r<<<<<---------->>>>>\r\n/a b/\r\n/a b/c/\n\n"),
            Ordnerdateizustand::Vorhanden);
  EXPECT_EQ(zustand("/bilder/\r\n"), Ordnerdateizustand::Beschaedigt);
  EXPECT_EQ(zustand("/bilder/\r\n<<<<<---------->>>>>\r\n/bilder/x"),
            Ordnerdateizustand::Beschaedigt);
  EXPECT_EQ(zustand("bilder/\r\n<<<<<---------->>>>>\r\n"), Ordnerdateizustand::Beschaedigt);
  static constexpr char kMitNull[] = "/a\0/\n<<<<<---------->>>>>\n";
  EXPECT_EQ(zustand(std::string(kMitNull, sizeof(kMitNull) - 1)), Ordnerdateizustand::Beschaedigt);
}

}  // namespace
}  // namespace tilvendo
