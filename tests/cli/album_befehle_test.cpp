#include <gtest/gtest.h>

#include "kommandozeile.h"
#include "platform/paths.h"

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
