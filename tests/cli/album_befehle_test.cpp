#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "albums/aufraeumen.h"
#include "albums/katalog.h"
#include "cli/album_befehle.h"
#include "kommandozeile.h"
#include "platform/paths.h"
#include "platform/profile_file.h"

namespace tilvendo::testing {
namespace {

TEST(AlbumBefehle, CreateListShowRescanRenameAndDelete) {
  Kommandozeile tilvendo;
  FotosSchreiben(tilvendo / "fotos", 3);
  FotosSchreiben(tilvendo / "fotos/innen", 2);

  Ergebnis e = tilvendo({"album", "anlegen", "Urlaub", tilvendo / "fotos"});
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(Enthaelt(e.aus, "5 Bilder in 2 Ordnern")) << e.aus;
  e = tilvendo({"album", "anlegen", "Flach", tilvendo / "fotos", "--ohne-unterordner"});
  EXPECT_TRUE(Enthaelt(e.aus, "3 Bilder in 1 Ordnern")) << e.aus;

  e = tilvendo({"album", "liste"});
  EXPECT_EQ(e.aus,
            "Flach\t3 Bilder\tFestplatte (1234-ABCD)\n"
            "Urlaub\t5 Bilder\tFestplatte (1234-ABCD)\n");

  e = tilvendo({"album", "zeigen", "Urlaub"});
  EXPECT_TRUE(Enthaelt(e.aus, "gewählte Ordner:\n  " + tilvendo / "fotos/\n")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "mit Unterordnern: ja")) << e.aus;

  FotosSchreiben(tilvendo / "fotos/neu", 4);
  e = tilvendo({"album", "aktualisieren", "Urlaub"});
  EXPECT_TRUE(Enthaelt(e.aus, "9 Bilder in 3 Ordnern")) << e.aus;

  ASSERT_EQ(tilvendo({"album", "umbenennen", "Urlaub", "Reise"}).code, 0);
  e = tilvendo({"album", "zeigen", "Reise"});
  EXPECT_TRUE(Enthaelt(e.aus, "Bilder: 9")) << e.aus;  // the album kept its files

  ASSERT_EQ(tilvendo({"album", "loeschen", "Reise"}).code, 0);
  EXPECT_EQ(tilvendo({"album", "liste"}).aus, "Flach\t3 Bilder\tFestplatte (1234-ABCD)\n");
  EXPECT_TRUE(FolderExists(tilvendo / "fotos/neu"));  // the pictures stay
  // The slot of the first album stays blank for the next; once the last album is gone,
  // no slot is left.
  const std::string katalog = tilvendo.alben() + "/Alben.nbx";
  EXPECT_TRUE(Enthaelt(ReadWholeFile(katalog), "[Alben]\r\n1=\r\n2=Flach\r\n"));
  ASSERT_EQ(tilvendo({"album", "loeschen", "Flach"}).code, 0);
  EXPECT_EQ(ReadWholeFile(katalog), "[Alben]\r\n");
}

TEST(AlbumBefehle, RefuseBadNamesFoldersAndUnknownAlbums) {
  Kommandozeile tilvendo;
  FotosSchreiben(tilvendo / "fotos", 1);
  ASSERT_EQ(tilvendo({"album", "anlegen", "A", tilvendo / "fotos"}).code, 0);

  struct Fall {
    std::vector<std::string> argumente;
    std::string meldung;
  };
  const std::vector<Fall> faelle = {
      {{"album", "anlegen", "A", tilvendo / "fotos"}, "ist schon vergeben"},
      {{"album", "anlegen", "a", tilvendo / "fotos"}, "ist schon vergeben"},
      {{"album", "anlegen", "alle gewählten Alben zusammen", tilvendo / "fotos"}, "nicht erlaubt"},
      {{"album", "anlegen", "B", tilvendo / "fehlt"}, "Den Ordner „" + tilvendo / "fehlt"},
      {{"album", "zeigen", "Z"}, "Das Album „Z“ gibt es nicht."},
      {{"album", "aktualisieren", "Z"}, "Das Album „Z“ gibt es nicht."},
      {{"album", "loeschen", "Z"}, "Das Album „Z“ gibt es nicht."},
      {{"album", "umbenennen", "Z", "Y"}, "Das Album „Z“ gibt es nicht."},
      {{"album", "umbenennen", "A", ""}, kMeldungAlbumnameLeer},
      {{"album", "anlegen", "", tilvendo / "fotos"}, kMeldungAlbumnameLeer},
  };
  for (const Fall& fall : faelle) {
    const Ergebnis e = tilvendo(fall.argumente);
    EXPECT_EQ(e.code, 1) << fall.argumente[1];
    EXPECT_TRUE(Enthaelt(e.fehler, "tilvendo: ")) << e.fehler;
    EXPECT_TRUE(Enthaelt(e.fehler, fall.meldung)) << e.fehler;
  }
  EXPECT_EQ(tilvendo({"album", "liste"}).aus, "A\t1 Bild\tFestplatte (1234-ABCD)\n");

  // Nothing asked for at all is wrong use too: the usage, and exit code 2.
  const Ergebnis e = tilvendo({});
  EXPECT_EQ(e.code, 2);
  EXPECT_TRUE(e.aus.empty());
  EXPECT_TRUE(e.fehler.starts_with("Aufruf: tilvendo")) << e.fehler;
}

// Without its folder list a rescan would find no folder and save the album empty.
TEST(AlbumBefehle, RescanRefusesAnAlbumWhoseFolderListIsMissingOrDamaged) {
  Kommandozeile tilvendo;
  FotosSchreiben(tilvendo / "fotos", 3);
  ASSERT_EQ(tilvendo({"album", "anlegen", "Urlaub", tilvendo / "fotos"}).code, 0);
  const std::string ordnerliste = tilvendo.alben() + "/Album 1.nbd";
  const std::string heil = ReadWholeFile(ordnerliste);
  const std::string katalog = ReadWholeFile(tilvendo.alben() + "/Alben.nbx");
  const std::vector<std::pair<std::string, std::string>> faelle = {
      {"", cli::MeldungOrdnerlisteFehlt("Urlaub", ordnerliste)},
      {"\x01\xff M\xfcll\r\n", cli::MeldungOrdnerlisteBeschaedigt("Urlaub", ordnerliste)},
      {heil.substr(0, heil.find('<')), cli::MeldungOrdnerlisteBeschaedigt("Urlaub", ordnerliste)},
  };
  for (const auto& [inhalt, meldung] : faelle) {
    WriteWholeFile(ordnerliste, inhalt);
    const Ergebnis e = tilvendo({"album", "aktualisieren", "Urlaub"});
    EXPECT_EQ(e.code, 1);
    EXPECT_EQ(e.fehler, "tilvendo: " + meldung + "\n");
    EXPECT_EQ(ReadWholeFile(ordnerliste), inhalt);
    EXPECT_EQ(ReadWholeFile(tilvendo.alben() + "/Alben.nbx"), katalog);
  }
  std::remove(ordnerliste.c_str());
  Ergebnis e = tilvendo({"album", "aktualisieren", "Urlaub"});
  EXPECT_EQ(e.fehler, "tilvendo: " + cli::MeldungOrdnerlisteFehlt("Urlaub", ordnerliste) + "\n");
  EXPECT_EQ(ReadWholeFile(tilvendo.alben() + "/Alben.nbx"), katalog);
  EXPECT_FALSE(FileExists(ordnerliste));

  WriteWholeFile(ordnerliste, heil);
  e = tilvendo({"album", "aktualisieren", "Urlaub"});
  EXPECT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(Enthaelt(e.aus, "3 Bilder in 1 Ordnern")) << e.aus;
}

// A catalogue deleted (or cut short) loses no album: making new albums keeps the files of
// the old ones and never takes their numbers, "liste" names them, and "wiederherstellen"
// takes them back with their folders.
TEST(AlbumBefehle, ALostCatalogueCostsNoAlbumAndItsAlbumsCanBeTakenBack) {
  Kommandozeile tilvendo;
  FotosSchreiben(tilvendo / "fotos/eins", 3);
  FotosSchreiben(tilvendo / "fotos/eins/innen", 1);
  FotosSchreiben(tilvendo / "flach", 2);
  FotosSchreiben(tilvendo / "flach/nicht", 2);
  FotosSchreiben(tilvendo / "neu", 1);
  ASSERT_EQ(tilvendo({"album", "anlegen", "Alt", tilvendo / "fotos/eins"}).code, 0);
  ASSERT_EQ(tilvendo({"album", "anlegen", "Flach", tilvendo / "flach", "--ohne-unterordner"}).code,
            0);
  const std::string alben = tilvendo.alben() + "/";
  const std::string sicherung = ReadWholeFile(alben + "Alben.nbx");
  std::remove((alben + "Alben.nbx").c_str());
  // Old enough for any tidying that would take them for left-overs.
  for (const auto& eintrag : std::filesystem::directory_iterator(alben)) {
    std::filesystem::last_write_time(
        eintrag.path(), std::filesystem::file_time_type::clock::now() - 2 * kVerwaistNach);
  }
  const std::string altOrdner = ReadWholeFile(alben + "Album 1.nbd");
  ASSERT_EQ(tilvendo({"album", "anlegen", "Neu1", tilvendo / "neu"}).code, 0);
  ASSERT_EQ(tilvendo({"album", "anlegen", "Neu2", tilvendo / "neu"}).code, 0);
  EXPECT_EQ(ReadWholeFile(alben + "Album 1.nbd"), altOrdner);
  EXPECT_TRUE(FileExists(alben + "Album 2.nbd"));
  const ProfileFile katalog = ProfileFile::Load(alben + "Alben.nbx");
  EXPECT_EQ(katalog.ReadString("Neu1", "DN", ""), "Album 3");
  EXPECT_EQ(katalog.ReadString("Neu2", "DN", ""), "Album 4");

  Ergebnis e = tilvendo({"album", "liste"});
  EXPECT_EQ(e.aus,
            "Neu1\t1 Bild\tFestplatte (1234-ABCD)\n"
            "Neu2\t1 Bild\tFestplatte (1234-ABCD)\n"
            "Album 1\t4 Bilder\tverwaist: nicht im Katalog\n"
            "Album 2\t2 Bilder\tverwaist: nicht im Katalog\n");
  EXPECT_TRUE(Enthaelt(e.fehler, "„tilvendo album wiederherstellen DATEINAME [NAME]“")) << e.fehler;

  e = tilvendo({"album", "wiederherstellen", "Album 1", "Alt"});
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_EQ(e.aus, "Album „Alt“ wiederhergestellt: 4 Bilder in 2 Ordnern.\n");
  e = tilvendo({"album", "zeigen", "Alt"});
  EXPECT_TRUE(Enthaelt(e.aus, "gewählte Ordner:\n  " + tilvendo / "fotos/eins/\n")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "mit Unterordnern: ja")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "Medium: Festplatte (1234-ABCD)")) << e.aus;
  // Without a name of its own it is called after its files; its subfolders stay out.
  e = tilvendo({"album", "wiederherstellen", "Album 2"});
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(Enthaelt(tilvendo({"album", "zeigen", "Album 2"}).aus, "mit Unterordnern: nein"));
  e = tilvendo({"album", "aktualisieren", "Album 2"});
  EXPECT_TRUE(Enthaelt(e.aus, "2 Bilder in 1 Ordnern")) << e.aus;

  e = tilvendo({"album", "wiederherstellen", "Album 1", "Noch"});
  EXPECT_EQ(e.code, 1);
  EXPECT_TRUE(Enthaelt(e.fehler, "kein verwaistes Album „Album 1“")) << e.fehler;
  EXPECT_TRUE(tilvendo({"album", "liste"}).fehler.empty());

  // The files were never touched: the catalogue kept elsewhere works as before.
  WriteWholeFile(alben + "Alben.nbx", sicherung);
  EXPECT_TRUE(Enthaelt(tilvendo({"album", "zeigen", "Alt"}).aus, tilvendo / "fotos/eins/\n"));
}

TEST(AlbumBefehle, AnOrphanIsTakenBackOnlyUnderAFreeNameAndWithASoundFolderList) {
  Kommandozeile tilvendo;
  FotosSchreiben(tilvendo / "fotos", 2);
  ASSERT_EQ(tilvendo({"album", "anlegen", "A", tilvendo / "fotos"}).code, 0);
  const std::string alben = tilvendo.alben() + "/";
  WriteWholeFile(alben + "Album 7.nbd", ReadWholeFile(alben + "Album 1.nbd"));
  WriteWholeFile(alben + "Album 8.nbd", "M\xfcll\r\n");
  WriteWholeFile(alben + "Album 9 5.nba", std::string(24, '\0'));  // a cache alone

  struct Fall {
    std::vector<std::string> argumente;
    std::string meldung;
  };
  for (const Fall& fall : std::vector<Fall>{
           {{"Album 7", "a"}, "ist schon vergeben"},
           {{"Album 7", ""}, kMeldungAlbumnameLeer},
           {{"Album 1", "B"}, "kein verwaistes Album „Album 1“"},
           {{"Album 8", "B"}, "fehlt oder ist beschädigt"},
           {{"Album 9", "B"}, "fehlt oder ist beschädigt"},
           {{"Alben", "B"}, "kein verwaistes Album"},
       }) {
    std::vector<std::string> argumente = {"album", "wiederherstellen"};
    argumente.insert(argumente.end(), fall.argumente.begin(), fall.argumente.end());
    const Ergebnis e = tilvendo(argumente);
    EXPECT_EQ(e.code, 1) << fall.argumente[0];
    EXPECT_TRUE(Enthaelt(e.fehler, fall.meldung)) << e.fehler;
  }
  EXPECT_EQ(tilvendo({"album", "liste"}).aus,
            "A\t2 Bilder\tFestplatte (1234-ABCD)\n"
            "Album 7\t2 Bilder\tverwaist: nicht im Katalog\n"
            "Album 8\t0 Bilder\tverwaist: nicht im Katalog, ohne Ordnerliste\n"
            "Album 9\t0 Bilder\tverwaist: nicht im Katalog, ohne Ordnerliste\n");
  // On a medium that is not there: none of its folders can be looked at.
  std::filesystem::rename(tilvendo / "fotos", tilvendo / "weg");
  const Ergebnis e = tilvendo({"album", "wiederherstellen", "Album 7", "B"});
  EXPECT_TRUE(Enthaelt(e.fehler, "Keiner der Ordner des Albums „Album 7“ ist erreichbar"))
      << e.fehler;
}

// Only the name changes, in one write of the catalogue: an album whose other entries are
// damaged is renamed all the same, and the command says so.
TEST(AlbumBefehle, RenamingAnAlbumOfADamagedCatalogueIsDoneWholeAndSucceeds) {
  Kommandozeile tilvendo;
  FotosSchreiben(tilvendo / "fotos", 2);
  ASSERT_EQ(tilvendo({"album", "anlegen", "A", tilvendo / "fotos"}).code, 0);
  const std::string katalog = tilvendo.alben() + "/Alben.nbx";
  std::string text = ReadWholeFile(katalog);
  text.erase(text.find("DN=Album 1\r\n"), 12);
  WriteWholeFile(katalog, text);
  const Ergebnis e = tilvendo({"album", "umbenennen", "A", "B"});
  EXPECT_EQ(e.code, 0) << e.fehler;
  EXPECT_EQ(e.aus, "Album „A“ heißt jetzt „B“.\n");
  const ProfileFile gelesen = ProfileFile::Load(katalog);
  EXPECT_EQ(gelesen.Read("Alben", "1"), "B");
  EXPECT_FALSE(gelesen.HasSection("A"));
  EXPECT_EQ(gelesen.ReadString("B", "SN", ""), "1234-ABCD");
}

// Paths with a line break cannot stand on one line of an album file: what the scan left
// out is named, and a chosen folder of that kind is refused.
TEST(AlbumBefehle, NamesWithALineBreakAreNamedWhenLeftOut) {
  Kommandozeile tilvendo;
  FotosSchreiben(tilvendo / "fotos", 2);
  FotosSchreiben(tilvendo / "fotos/zwei\nzeilen", 3);
  std::filesystem::copy_file(tilvendo / "fotos/foto0.jpg", tilvendo / "fotos/a\nb.jpg");
  std::filesystem::copy_file(tilvendo / "fotos/foto0.jpg", tilvendo / "fotos/c\rd.jpg");
  WriteWholeFile(tilvendo / "fotos/notiz\n.txt", "x");  // no picture: no word about it
  Ergebnis e = tilvendo({"album", "anlegen", "A", tilvendo / "fotos"});
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(Enthaelt(e.aus, "2 Bilder in 1 Ordnern")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.fehler,
                       "Hinweis: 1 Ordner und 2 Bilder wurden nicht aufgenommen, weil "
                       "ein Zeilenumbruch im Namen steht"))
      << e.fehler;
  EXPECT_TRUE(Enthaelt(e.fehler, "⏎")) << e.fehler;
  e = tilvendo({"album", "anlegen", "Flach", tilvendo / "fotos", "--ohne-unterordner"});
  // Without subfolders the folder is not left out but not looked for: only the pictures.
  EXPECT_TRUE(Enthaelt(e.fehler, "Hinweis: 2 Bilder wurden nicht aufgenommen")) << e.fehler;
  e = tilvendo({"album", "anlegen", "B", tilvendo / "fotos/zwei\nzeilen"});
  EXPECT_EQ(e.code, 1);
  EXPECT_TRUE(Enthaelt(e.fehler, "enthält einen Zeilenumbruch")) << e.fehler;
}

TEST(AlbumBefehle, ReportAnAlbumFolderThatCannotBeWritten) {
  Kommandozeile tilvendo;
  FotosSchreiben(tilvendo / "fotos", 1);
  WriteWholeFile(tilvendo / "datei", "x");
  std::ostringstream fehler;
  cli::TerminalBenutzer benutzer(fehler, false);
  EineFestplatte medien;
  std::ostringstream aus;
  cli::Umgebung umgebung{aus, fehler, benutzer, medien};
  // The album folder lies "inside" a regular file.
  const int code = cli::Ausfuehren(
      {"--alben-pfad", tilvendo / "datei/Alben", "album", "anlegen", "A", tilvendo / "fotos"},
      umgebung, false);
  EXPECT_EQ(code, 1);
  EXPECT_TRUE(Enthaelt(fehler.str(), "kann nicht geschrieben werden")) << fehler.str();
}

}  // namespace
}  // namespace tilvendo::testing
