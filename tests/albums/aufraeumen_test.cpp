#include "albums/aufraeumen.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "alben_helfer.h"
#include "albums/katalog.h"
#include "platform/paths.h"

namespace tilvendo {
namespace {

namespace fs = std::filesystem;
using testing::AlbenOrdner;
using testing::TempFolder;
using testing::WriteWholeFile;

// A process id that surely belongs to no running process.
pid_t BeendeterProzess() {
  const pid_t kind = ::fork();
  if (kind == 0) ::_exit(0);
  ::waitpid(kind, nullptr, 0);
  return kind;
}

TEST(Aufraeumen, RemovesOnlyLeftOversOfOurOwnNamingThatNoAlbumNamesAndNoWriterUses) {
  AlbenOrdner alben;
  TempFolder draussen;
  const auto alt = [&](const std::string& name) {
    fs::last_write_time(alben.Datei(name), fs::file_time_type::clock::now() - 2 * kVerwaistNach);
  };
  const auto anlegen = [&](const std::string& name) {
    WriteWholeFile(alben.Datei(name), "x");
    alt(name);
  };
  // Without a catalogue no album file is anybody's left-over.
  anlegen("Album 2.nbd");
  EXPECT_EQ(AlbenordnerAufraeumen(alben.kontext), 0u);
  EXPECT_TRUE(FileExists(alben.Datei("Album 2.nbd")));

  TGalerieGlobal eins;
  eins.Name = "Eins";
  eins.Dateiname = "Album 1";
  eins.Dateien = {"/a.jpg"};
  AlbumSpeichern(alben.kontext, eins);
  const std::vector<std::string> verwaist = {"Album 2.nbd", "Album 2.nbf", "Album 2 5.nba",
                                             "Album 7 10.nba", "Album 2 5aw.nba"};
  const std::vector<std::string> bleiben = {"Album 1.nbd",    "Album 1.nbf",    "Album 1 5.nba",
                                            "Album 1 5a.nba", "Album 2 5A.nba", "Album 2 a.nba",
                                            "Album 2.txt",    "Album 02.nbd",   "Album 2 x.nba",
                                            "album 2.nbd",    "Notizen.nbd",    "Album 2.nbd.bak"};
  for (const auto& name : verwaist) anlegen(name);
  for (const auto& name : bleiben) anlegen(name);
  WriteWholeFile(alben.Datei("Album 3.nbd"), "gerade geschrieben");
  ASSERT_TRUE(CreateFolders(alben.Datei("Album 4.nbd/")));
  WriteWholeFile(draussen / "ziel.nbd", "fremd");
  fs::create_symlink(draussen / "ziel.nbd", alben.Datei("Album 5.nbd"));
  const auto temporaer = [&](pid_t pid) {
    return ".Album 1 5.nba.tilvendo-" + std::to_string(pid) + "-a1B2c3";
  };
  const std::string laeuft = temporaer(::getppid());
  const std::string beendet = temporaer(BeendeterProzess());
  anlegen(laeuft);
  anlegen(beendet);

  EXPECT_EQ(AlbenordnerAufraeumen(alben.kontext), verwaist.size() + 1);
  for (const auto& name : verwaist) EXPECT_FALSE(FileExists(alben.Datei(name))) << name;
  EXPECT_FALSE(FileExists(alben.Datei(beendet)));
  for (const auto& name : bleiben) EXPECT_TRUE(FileExists(alben.Datei(name))) << name;
  for (const char* name : {"Album 3.nbd", "Album 4.nbd", "Album 5.nbd"}) {
    EXPECT_TRUE(fs::exists(fs::symlink_status(alben.Datei(name)))) << name;
  }
  EXPECT_TRUE(FileExists(alben.Datei(laeuft)));
  EXPECT_TRUE(FileExists(draussen / "ziel.nbd"));
}

// An album whose line in "Alben" was lost is still in the catalogue: its files are not
// left-overs, and no new album may take its file name.
TEST(Aufraeumen, KeepsTheFilesOfAnAlbumWhoseLineInTheListWasLost) {
  AlbenOrdner alben;
  for (const auto& [name, datei] : {std::pair{"Eins", "Album 1"}, std::pair{"Zwei", "Album 2"}}) {
    TGalerieGlobal album;
    album.Name = name;
    album.Dateiname = datei;
    album.Dateien = {"/a.jpg"};
    AlbumSpeichern(alben.kontext, album);
  }
  WriteWholeFile(alben.Datei("Album 2 5.nba"), std::string(312, '\1'));
  // "Zwei" falls out of the list, its section stays; a second section of the name "Eins"
  // names the files of a third album.
  std::string katalog = alben.Katalog();
  katalog.replace(katalog.find("2=Zwei"), 6, "2=");
  katalog += "[Eins]\r\nDN=Album 3\r\n";
  WriteWholeFile(alben.kontext.Katalog(), katalog);
  WriteWholeFile(alben.Datei("Album 3.nbd"), "x");
  WriteWholeFile(alben.Datei("Album 4.nbd"), "x");
  for (const auto& eintrag : fs::directory_iterator(alben.folder.path())) {
    fs::last_write_time(eintrag.path(), fs::file_time_type::clock::now() - 2 * kVerwaistNach);
  }

  EXPECT_EQ(AlbenordnerAufraeumen(alben.kontext), 1u);
  for (const char* name : {"Album 2.nbd", "Album 2.nbf", "Album 2 5.nba", "Album 3.nbd"}) {
    EXPECT_TRUE(FileExists(alben.Datei(name))) << name;
  }
  EXPECT_FALSE(FileExists(alben.Datei("Album 4.nbd")));
  // Nor does a new album get those names, though Album 3's own files are gone by now.
  fs::remove(alben.Datei("Album 3.nbd"));
  EXPECT_EQ(FreierAlbumDateiname(alben.kontext), "Album 4");
  // Deleting the album that shares a Dateiname with the unlisted one keeps the files.
  TGalerieGlobal teilt;
  teilt.Name = "Teilt";
  teilt.Dateiname = "Album 2";
  KatalogEintragSchreiben(alben.kontext, teilt);
  AlbumLoeschen(alben.kontext, "Teilt");
  EXPECT_TRUE(FileExists(alben.Datei("Album 2.nbd")));
  EXPECT_TRUE(FileExists(alben.Datei("Album 2 5.nba")));
}

}  // namespace
}  // namespace tilvendo
