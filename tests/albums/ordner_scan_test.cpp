#include "albums/ordner_scan.h"

#include <gtest/gtest.h>

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

TEST(OrdnerScan, LeavesOutNamesWithLineBreaksThatNoAlbumFileCouldHold) {
  TempFolder root;
  fs::create_directories(root / "A/neue\nZeile");
  WriteWholeFile(root / "A/neue\nZeile/drin.jpg", "");
  WriteWholeFile(root / "A/zwei\nZeilen.jpg", "");
  WriteWholeFile(root / "A/gut.jpg", "");
  ProtokollBenutzer benutzer;
  std::vector<std::string> ergebnis;
  EXPECT_EQ(OrdnerScannen(benutzer, {root / "A/"}, ergebnis, true, false).gesamt, 1);
  EXPECT_EQ(ergebnis, std::vector<std::string>{root / "A/"});
}

TEST(OrdnerScan, MissingFoldersContributeNothing) {
  TempFolder root;
  ProtokollBenutzer benutzer;
  std::vector<std::string> ergebnis;
  EXPECT_EQ(OrdnerScannen(benutzer, {root / "fehlt/"}, ergebnis, true, false).gesamt, 0);
  EXPECT_EQ(ergebnis, std::vector<std::string>{root / "fehlt/"});
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
