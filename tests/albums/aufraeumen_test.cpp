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

// An album the catalogue does not name may be one it lost: its files stay, to be taken
// back. Only what holds nothing of the user's goes: temporaries of writers that are gone,
// and a name reserved by a program that never saved its album.
TEST(Aufraeumen, RemovesTemporariesAndLoneEmptyReservationsButNoAlbumFile) {
  AlbenOrdner alben;
  TempFolder draussen;
  const auto alt = [&](const std::string& name) {
    fs::last_write_time(alben.Datei(name), fs::file_time_type::clock::now() - 2 * kVerwaistNach);
  };
  const auto anlegen = [&](const std::string& name, const std::string& inhalt) {
    WriteWholeFile(alben.Datei(name), inhalt);
    alt(name);
  };
  // Without a catalogue not even a reservation is anybody's left-over.
  anlegen("Album 8.nbd", "");
  EXPECT_EQ(AlbenordnerAufraeumen(alben.kontext), 0u);
  EXPECT_TRUE(FileExists(alben.Datei("Album 8.nbd")));

  TGalerieGlobal eins;
  eins.Name = "Eins";
  eins.Dateiname = "Album 1";
  eins.Dateien = {"/a.jpg"};
  AlbumSpeichern(alben.kontext, eins);
  const std::vector<std::string> bleiben = {
      "Album 2.nbd",     "Album 2.nbf",     "Album 2 5.nba",        "Album 7 10.nba",
      "Album 2 5aw.nba", "Album 1 5.nba",   "Album 2.txt",          "album 2.nbd",
      "Notizen.nbd",     "Album 2.nbd.bak", ".Alben.nbx.tilvendo-x"};
  for (const auto& name : bleiben) anlegen(name, "x");
  // Empty, but with a cache beside it: the cache is the user's.
  anlegen("Album 9.nbd", "");
  anlegen("Album 9 5.nba", "x");
  // A number with a leading zero is none we write: the file is not ours to remove.
  anlegen("Album 08.nbd", "");
  WriteWholeFile(alben.Datei("Album 3.nbd"), "");  // being made just now
  ASSERT_TRUE(CreateFolders(alben.Datei("Album 4.nbd/")));
  WriteWholeFile(draussen / "ziel.nbd", "");
  fs::create_symlink(draussen / "ziel.nbd", alben.Datei("Album 5.nbd"));
  const auto temporaer = [&](pid_t pid) {
    return ".Album 1 5.nba.tilvendo-" + std::to_string(pid) + "-a1B2c3";
  };
  const std::string laeuft = temporaer(::getppid());
  const std::string beendet = temporaer(BeendeterProzess());
  anlegen(laeuft, "x");
  anlegen(beendet, "x");

  EXPECT_EQ(AlbenordnerAufraeumen(alben.kontext), 2u);
  EXPECT_FALSE(FileExists(alben.Datei("Album 8.nbd")));
  EXPECT_FALSE(FileExists(alben.Datei(beendet)));
  for (const auto& name : bleiben) EXPECT_TRUE(FileExists(alben.Datei(name))) << name;
  for (const char* name :
       {"Album 3.nbd", "Album 4.nbd", "Album 5.nbd", "Album 9.nbd", "Album 08.nbd"}) {
    EXPECT_TRUE(fs::exists(fs::symlink_status(alben.Datei(name)))) << name;
  }
  EXPECT_TRUE(FileExists(alben.Datei(laeuft)));
  EXPECT_TRUE(FileExists(draussen / "ziel.nbd"));
  // No number whose files exist is given to a new album, a cache alone included.
  EXPECT_EQ(FreierAlbumDateiname(alben.kontext), "Album 6");
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
  WriteWholeFile(alben.Datei("Album 3.nbd"), "");
  for (const auto& eintrag : fs::directory_iterator(alben.folder.path())) {
    fs::last_write_time(eintrag.path(), fs::file_time_type::clock::now() - 2 * kVerwaistNach);
  }

  // Album 3's empty folder file is named by a section: no lone reservation.
  EXPECT_EQ(AlbenordnerAufraeumen(alben.kontext), 0u);
  for (const char* name : {"Album 2.nbd", "Album 2.nbf", "Album 2 5.nba", "Album 3.nbd"}) {
    EXPECT_TRUE(FileExists(alben.Datei(name))) << name;
  }
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
