#include "albums/ordner_scan.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "alben_helfer.h"
#include "platform/profile_file.h"

namespace tilvendo {
namespace {

using testing::AlbenOrdner;
using testing::ProtokollBenutzer;
using testing::TempFolder;
using testing::WriteWholeFile;

namespace fs = std::filesystem;

// A picture tree:
//   Bilder/  Urlaub.JPEG Urlaub.Jpg .x.bmp x.jpe x.gif notiz.txt y.jpg/ (folder)
//            .versteckt/a.bmp  Unter/b.jpeg  zurueck -> Bilder (link)  link.jpg -> Urlaub.Jpg
//            tot.jpg -> missing
//   Bilder2/ c.bmp
struct Baum {
  Baum() {
    const std::string bilder = root / "Bilder/";
    fs::create_directories(bilder + "y.jpg");
    fs::create_directories(bilder + ".versteckt");
    fs::create_directories(bilder + "Unter");
    fs::create_directories(root / "Bilder2");
    for (const char* datei : {"Urlaub.JPEG", "Urlaub.Jpg", ".x.bmp", "x.jpe", "x.gif", "notiz.txt",
                              ".versteckt/a.bmp", "Unter/b.jpeg", "y.jpg/innen.jpg"}) {
      WriteWholeFile(bilder + datei, "");
    }
    WriteWholeFile(root / "Bilder2/c.bmp", "");
    fs::create_directory_symlink(bilder, bilder + "zurueck");
    fs::create_symlink(bilder + "Urlaub.Jpg", bilder + "link.jpg");
    fs::create_symlink(bilder + "fehlt.jpg", bilder + "tot.jpg");
  }
  std::string Pfad(const std::string& relativ) const { return root / relativ; }

  TempFolder root;
};

TEST(OrdnerScan, CountsPictureFilesByExtensionAndNeverFollowsFolderLinks) {
  Baum baum;
  ProtokollBenutzer benutzer;
  std::vector<std::string> ergebnis = {"alt"};
  const Bildzahlen zahlen = OrdnerScannen(benutzer, {baum.Pfad("Bilder/")}, ergebnis, true, false);
  // Urlaub.JPEG, Urlaub.Jpg, .x.bmp, link.jpg, and in subfolders a.bmp, b.jpeg, innen.jpg.
  EXPECT_EQ(zahlen, (Bildzahlen{7, 0, 0, 0}));
  EXPECT_EQ(ergebnis,
            (std::vector<std::string>{baum.Pfad("Bilder/"), baum.Pfad("Bilder/.versteckt/"),
                                      baum.Pfad("Bilder/Unter/"), baum.Pfad("Bilder/y.jpg/")}));
  EXPECT_TRUE(benutzer.scan.empty());
  EXPECT_EQ(benutzer.ereignisse, 0);
}

TEST(OrdnerScan, WithoutSubfoldersListsExactlyTheChosenFoldersNotThoseInsideOthers) {
  Baum baum;
  ProtokollBenutzer benutzer;
  std::vector<std::string> ergebnis;
  const Bildzahlen zahlen = OrdnerScannen(
      benutzer, {baum.Pfad("Bilder2/"), baum.Pfad("Bilder/Unter/"), baum.Pfad("Bilder/")}, ergebnis,
      false, false);
  // Bilder/Unter/ lies inside Bilder/ and is neither listed nor counted; Bilder/ is no
  // prefix of Bilder2/.
  EXPECT_EQ(zahlen.gesamt, 4 + 1);
  EXPECT_EQ(ergebnis, (std::vector<std::string>{baum.Pfad("Bilder/"), baum.Pfad("Bilder2/")}));
}

TEST(OrdnerScan, WorkingListDropsNestedAndRepeatedFoldersAndAddsTheTrailingSlash) {
  EXPECT_EQ(ArbeitslisteBilden({"/b/", "/a/x/", "/a", "/b/", "/a2/", "/A/y/"}),
            (std::vector<std::string>{"/b/", "/a/", "/a2/", "/A/y/"}));
  EXPECT_TRUE(ArbeitslisteBilden({}).empty());
}

TEST(OrdnerScan, ReportsEveryFolderAndRunningCountAndPumpsEvents) {
  TempFolder root;
  fs::create_directories(root / "A/B");
  WriteWholeFile(root / "A/1.jpg", "");
  WriteWholeFile(root / "A/B/2.jpg", "");
  ProtokollBenutzer benutzer;
  std::vector<std::string> ergebnis;
  OrdnerScannen(benutzer, {root / "A/"}, ergebnis, true, true);
  EXPECT_EQ(benutzer.scan, (std::vector<std::string>{"leeren", "ordner " + root / "A/", "1",
                                                     "ordner " + root / "A/B/", "2", "leeren"}));
  EXPECT_EQ(benutzer.ereignisse, 4);
}

TEST(OrdnerScan, HostileNamesAndFileTypesAreCountedOrSkippedButNeverHang) {
  TempFolder root;
  const std::string a = root / "A/";
  fs::create_directories(a + "\xC3(ungueltig");
  for (const char* name : {"-rf.jpg", "--help.bmp", "\xFF\xFE.jpg", "\xC3(ungueltig/x.jpg"}) {
    WriteWholeFile(a + name, "");
  }
  fs::create_symlink(a + "schleife2.jpg", a + "schleife1.jpg");
  fs::create_symlink(a + "schleife1.jpg", a + "schleife2.jpg");
  ASSERT_EQ(::mkfifo((a + "rohr.jpg").c_str(), 0600), 0);
  fs::create_symlink(a + "rohr.jpg", a + "zum-rohr.jpg");
  fs::create_symlink("/dev/zero", a + "null.jpg");
  fs::create_directory_symlink(a + "\xC3(ungueltig", a + "kreis");
  ProtokollBenutzer benutzer;
  std::vector<std::string> ergebnis;
  EXPECT_EQ(OrdnerScannen(benutzer, {a}, ergebnis, true, false).gesamt, 4);
  EXPECT_EQ(ergebnis, (std::vector<std::string>{a, a + "\xC3(ungueltig/"}));
}

// A user interface that, while the scan announces a folder, swaps it for a link to a
// tree outside the chosen folders.
struct TauschenderBenutzer : ProtokollBenutzer {
  void EreignisseVerarbeiten() override {
    ProtokollBenutzer::EreignisseVerarbeiten();
    if (scan.empty() || scan.back() != "ordner " + ziel) return;
    fs::rename(ziel, ziel.substr(0, ziel.size() - 1) + ".weg");
    fs::create_directory_symlink(draussen, ziel.substr(0, ziel.size() - 1));
  }
  std::string ziel;
  std::string draussen;
};

TEST(OrdnerScan, AFolderSwappedForALinkWhileScanningIsNotFollowed) {
  TempFolder root;
  TempFolder draussen;
  fs::create_directories(root / "A/B");
  WriteWholeFile(root / "A/B/b.jpg", "");
  WriteWholeFile(draussen / "fremd.jpg", "");
  TauschenderBenutzer benutzer;
  benutzer.ziel = root / "A/B/";
  benutzer.draussen = draussen.path();
  std::vector<std::string> ergebnis;
  EXPECT_EQ(OrdnerScannen(benutzer, {root / "A/"}, ergebnis, true, true).gesamt, 0);
}

TEST(OrdnerScan, PathsBeyondTheSystemLimitsEndTheScanCleanly) {
  TempFolder root;
  const std::string langerName(NAME_MAX - 5, 'n');
  {
    // Deeper than a path can name: each folder is made from its parent's handle.
    int ordner = ::open(root.path().c_str(), O_RDONLY | O_DIRECTORY);
    for (size_t tiefe = 0; tiefe * (langerName.size() + 1) < 2 * PATH_MAX; ++tiefe) {
      ASSERT_EQ(::mkdirat(ordner, langerName.c_str(), 0700), 0);
      ::close(::openat(ordner, "bild.jpg", O_CREAT | O_WRONLY, 0600));
      const int unter = ::openat(ordner, langerName.c_str(), O_RDONLY | O_DIRECTORY);
      ::close(ordner);
      ordner = unter;
    }
    ::close(ordner);
  }
  ProtokollBenutzer benutzer;
  std::vector<std::string> ergebnis;
  const int32_t gezaehlt = OrdnerScannen(benutzer, {root.path()}, ergebnis, true, false).gesamt;
  EXPECT_GT(gezaehlt, 0);
  for (const std::string& pfad : ergebnis) EXPECT_LT(pfad.size(), size_t{PATH_MAX});
  EXPECT_EQ(ergebnis.size(), static_cast<size_t>(gezaehlt));
}

TEST(OrdnerScan, MissingOrUnnameableFoldersContributeNothing) {
  TempFolder root;
  ProtokollBenutzer benutzer;
  std::vector<std::string> ergebnis;
  const std::string zuLang = root / (std::string(NAME_MAX + 1, 'x') + "/");
  EXPECT_EQ(OrdnerScannen(benutzer, {root / "fehlt/", zuLang}, ergebnis, true, false).gesamt, 0);
  EXPECT_EQ(ergebnis, (std::vector<std::string>{root / "fehlt/", zuLang}));
}

TEST(OrdnerScan, AlbumScanMarksEveryCacheOfTheAlbumForRebuilding) {
  AlbenOrdner alben;
  WriteWholeFile(alben.kontext.Katalog(), "[Alben]\n1=U\n[U]\nDN=Album 1\nAk1=0\nAk5=0\n");
  ProtokollBenutzer benutzer;
  std::vector<std::string> ergebnis = {"alt"};
  EXPECT_EQ(AlbumScannen(alben.kontext, benutzer, "U", {}, ergebnis, true, true), Bildzahlen{});
  EXPECT_TRUE(ergebnis.empty());
  const ProfileFile katalog = ProfileFile::Load(alben.kontext.Katalog());
  EXPECT_EQ(katalog.Read("U", "Ak1"), "2");
  EXPECT_EQ(katalog.Read("U", "Ak5"), "2");
}

}  // namespace
}  // namespace tilvendo
