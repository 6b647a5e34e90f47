#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "cli/album_befehle.h"
#include "kommandozeile.h"
#include "platform/paths.h"
#include "platform/profile_file.h"

namespace tilvendo::testing {
namespace {

bool Enthaelt(const std::string& text, const std::string& teil) {
  return text.find(teil) != std::string::npos;
}

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
      {{"album", "umbenennen", "A", ""}, "nicht erlaubt"},
  };
  for (const Fall& fall : faelle) {
    const Ergebnis e = tilvendo(fall.argumente);
    EXPECT_EQ(e.code, 1) << fall.argumente[1];
    EXPECT_TRUE(Enthaelt(e.fehler, "tilvendo: ")) << e.fehler;
    EXPECT_TRUE(Enthaelt(e.fehler, fall.meldung)) << e.fehler;
  }
  EXPECT_EQ(tilvendo({"album", "liste"}).aus, "A\t1 Bild\tFestplatte (1234-ABCD)\n");
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

// Programs that make albums at the same moment take turns on the catalogue and never
// choose the same file name: every album survives with files of its own.
TEST(AlbumBefehle, ProgramsMakingAlbumsAtTheSameTimeLoseNone) {
  constexpr int kRunden = 15;
  constexpr int kProgramme = 3;
  Kommandozeile tilvendo;
  const auto ordner = [&](int p) { return tilvendo / ("fotos" + std::to_string(p)); };
  const auto name = [](int runde, int p) {
    return "R" + std::to_string(runde) + "P" + std::to_string(p);
  };
  for (int p = 0; p < kProgramme; ++p) FotosSchreiben(ordner(p), p + 1);
  ASSERT_EQ(tilvendo({"album", "liste"}).code, 0);  // the album folder exists

  for (int runde = 0; runde < kRunden; ++runde) {
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> kinder;
    for (int p = 0; p < kProgramme; ++p) {
      const pid_t kind = ::fork();
      ASSERT_GE(kind, 0);
      if (kind == 0) {
        ::close(start[1]);
        char los = 0;
        (void)!::read(start[0], &los, 1);  // all begin when the pipe closes
        ::_exit(tilvendo({"album", "anlegen", name(runde, p), ordner(p)}).code);
      }
      kinder.push_back(kind);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t kind : kinder) {
      int status = 0;
      ASSERT_EQ(::waitpid(kind, &status, 0), kind);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << runde;
    }
  }

  const ProfileFile katalog = ProfileFile::Load(tilvendo.alben() + "/Alben.nbx");
  std::set<std::string> gelistet;
  for (const auto& [slot, wert] : katalog.Entries("Alben")) gelistet.insert(wert);
  std::set<std::string> dateinamen;
  for (int runde = 0; runde < kRunden; ++runde) {
    for (int p = 0; p < kProgramme; ++p) {
      const std::string album = name(runde, p);
      EXPECT_EQ(gelistet.count(album), 1u) << album;
      const std::string dateiname = katalog.ReadString(album, "DN", "");
      EXPECT_TRUE(dateinamen.insert(dateiname).second) << album << " " << dateiname;
      EXPECT_EQ(katalog.ReadInteger(album, "AG", 0), p + 1) << album;
      EXPECT_TRUE(Enthaelt(ReadWholeFile(tilvendo.alben() + "/" + dateiname + ".nbd"),
                           ordner(p) + "/\r\n<<<<<"))
          << album;
    }
  }
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
