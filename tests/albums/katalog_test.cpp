#include "albums/katalog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <tuple>
#include <utility>

#include "alben_helfer.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/profile_file.h"

namespace tilvendo {
namespace {

using testing::AlbenOrdner;
using testing::ReadWholeFile;
using testing::WriteWholeFile;

constexpr const char* kAlle = "alle vorhandenen Alben zusammen";
constexpr const char* kGewaehlt = "alle gewählten Alben zusammen";

TGalerieGlobal NeuesAlbum(const AlbenKontext& kontext, const std::string& name) {
  TGalerieGlobal album;
  album.Name = name;
  album.Dateiname = AlbumDateiname(FreieAlbumNummer(kontext));
  album.Verzeichnisse = {"/bilder/" + name + "/"};
  album.AlleVerzeichnisse = album.Verzeichnisse;
  return album;
}

std::vector<std::string> Namen(const AlbenKontext& kontext) {
  std::vector<std::string> namen = {"vorher"};
  AlbennamenLaden(kontext, namen);
  return namen;
}

std::string Wert(const AlbenKontext& kontext, const std::string& sektion, const std::string& key) {
  return ProfileFile::Load(kontext.Katalog()).ReadString(sektion, key, "<fehlt>");
}

TEST(Katalog, EmptyCatalogueHasNoNamesAndTheFirstAlbumTakesSlotOne) {
  AlbenOrdner alben;
  EXPECT_TRUE(Namen(alben.kontext).empty());
  WriteWholeFile(alben.kontext.Katalog(), "");
  EXPECT_TRUE(Namen(alben.kontext).empty());
  EXPECT_EQ(SlotSuchen(alben.kontext, "Urlaub"), 1);

  TGalerieGlobal urlaub = NeuesAlbum(alben.kontext, "Urlaub");
  urlaub.Anzahl = {120, 1, 2, 3};
  urlaub.Laufwerk = "/media/anna/URLAUB";
  urlaub.Seriennummer = "0012-ABCD";
  urlaub.Wechselmedium = true;
  AlbumSpeichern(alben.kontext, urlaub);
  EXPECT_EQ(alben.Katalog(),
            "[Alben]\r\n1=Urlaub\r\n[Urlaub]\r\nDN=Album 1\r\nVe=1.9\r\nMN=\r\nSN=0012-ABCD\r\n"
            "MB=/media/anna/URLAUB\r\nAG=120\r\nAH=1\r\nAQ=2\r\nAS=3\r\nWM=1\r\nmUV=1\r\n");
  EXPECT_EQ(ReadWholeFile(alben.Datei("Album 1.nbd")),
            "/bilder/Urlaub/\r\n<<<<<---------->>>>>\r\n/bilder/Urlaub/\r\n");

  TGalerieGlobal gelesen;
  gelesen.Name = "Urlaub";
  AlbumLaden(alben.kontext, gelesen);
  EXPECT_EQ(std::tuple(gelesen.Dateiname, gelesen.Anzahl, gelesen.Laufwerk, gelesen.Seriennummer,
                       gelesen.Wechselmedium, gelesen.AlleVerzeichnisseVorhanden),
            std::tuple("Album 1", Bildzahlen{120, 1, 2, 3}, "/media/anna/URLAUB", "0012-ABCD", true,
                       true));
  EXPECT_EQ(std::pair(gelesen.Verzeichnisse, gelesen.AlleVerzeichnisse),
            std::pair(urlaub.Verzeichnisse, urlaub.AlleVerzeichnisse));
}

TEST(Katalog, BlankSlotsAreSkippedFoundPastAndReused) {
  AlbenOrdner alben;
  for (const char* name : {"Urlaub", "Familie", "Garten"}) {
    AlbumSpeichern(alben.kontext, NeuesAlbum(alben.kontext, name));
  }
  AlbumLoeschen(alben.kontext, "Familie");
  EXPECT_EQ(Wert(alben.kontext, "Alben", "2"), "");
  EXPECT_EQ(Namen(alben.kontext), (std::vector<std::string>{"Garten", "Urlaub"}));
  EXPECT_FALSE(FileExists(alben.Datei("Album 2.nbd")));

  // Listed after the blank slot: found, and saved again into its own slot.
  EXPECT_EQ(SlotSuchen(alben.kontext, "Garten"), 3);
  TGalerieGlobal garten;
  garten.Name = "Garten";
  AlbumLaden(alben.kontext, garten);
  AlbumSpeichern(alben.kontext, garten);
  EXPECT_EQ(Wert(alben.kontext, "Alben", "3"), "Garten");
  EXPECT_EQ(Wert(alben.kontext, "Alben", "2"), "");

  // A new album fills the blank slot and the freed file number.
  const TGalerieGlobal neu = NeuesAlbum(alben.kontext, "Hochzeit");
  EXPECT_EQ(neu.Dateiname, "Album 2");
  AlbumSpeichern(alben.kontext, neu);
  EXPECT_EQ(Wert(alben.kontext, "Alben", "2"), "Hochzeit");
  EXPECT_EQ(Wert(alben.kontext, "Alben", "4"), "<fehlt>");
}

TEST(Katalog, NamesAreSortedWithoutRegardToLetterCaseAndUmlauts) {
  AlbenOrdner alben;
  WriteWholeFile(alben.kontext.Katalog(),
                 "[Alben]\n1=zoo\n2=Äpfel\n3=\n4=Birnen\n5=apfel\n6=Zebra\n");
  EXPECT_EQ(Namen(alben.kontext),
            (std::vector<std::string>{"apfel", "Äpfel", "Birnen", "Zebra", "zoo"}));
}

TEST(Katalog, MissingKeysReadAsDefaultsAndGarbageDoesNoHarm) {
  AlbenOrdner alben;
  WriteWholeFile(alben.kontext.Katalog(),
                 "[Alben]\r\n1=Alt\r\n2=Kaputt\r\n[Alt]\r\nAG=0x10\r\n[Kaputt]\r\nDN=../../etc\r\n"
                 "AG=viele\r\nmUV=0\r\nWM\xff\xfe\x01garbage\r\n[Kap");
  TGalerieGlobal alt;
  alt.Name = "Alt";
  AlbumKopfLaden(alben.kontext, alt);
  EXPECT_EQ(
      std::tuple(alt.Dateiname, alt.Version, alt.Seriennummer, alt.Laufwerk, alt.Anzahl.gesamt,
                 alt.Wechselmedium, alt.mitUnterverzeichnissen, alt.AlleVerzeichnisseVorhanden),
      std::tuple("", "1.0", "0-0", "z", 16, false, true, false));

  // A file base name leading out of the album folder is never used for a file.
  TGalerieGlobal kaputt;
  kaputt.Name = "Kaputt";
  AlbumLaden(alben.kontext, kaputt);
  EXPECT_EQ(kaputt.Anzahl.gesamt, 0);
  EXPECT_FALSE(kaputt.mitUnterverzeichnissen);
  EXPECT_THROW(AlbumSpeichern(alben.kontext, kaputt), WriteError);
  AlbumLoeschen(alben.kontext, "Kaputt");
  EXPECT_EQ(Namen(alben.kontext), std::vector<std::string>{"Alt"});
}

TEST(Katalog, AbsurdPictureCountsAreRecountedAndSumsNeverWrap) {
  AlbenOrdner alben;
  TGalerieGlobal album = NeuesAlbum(alben.kontext, "Urlaub");
  album.Dateien = {"/a.jpg", "/b.jpg", "/c.jpg"};
  album.Anzahl = {3, 0, 0, 0};
  AlbumSpeichern(alben.kontext, album);
  for (const char* absurd : {"-5", "99999999999", "0x1FFFFFFFF", "viele"}) {
    WriteProfileString(alben.kontext.Katalog(), "Urlaub", "AG", absurd);
    WriteProfileString(alben.kontext.Katalog(), "Urlaub", "AH", "-7");
    TGalerieGlobal geladen;
    geladen.Name = "Urlaub";
    AlbumKopfLaden(alben.kontext, geladen);
    EXPECT_EQ(geladen.Anzahl, Bildzahlen{}) << absurd;
    AlbumLaden(alben.kontext, geladen);
    EXPECT_EQ(geladen.Anzahl, (Bildzahlen{3, 0, 0, 0})) << absurd;
  }
  // Without a picture list yet, the picture files of its folders are counted.
  testing::TempFolder bilder;
  for (const char* name : {"a.jpg", "b.BMP", "c.txt"}) WriteWholeFile(bilder / name, "");
  album.Dateien.clear();
  album.AlleVerzeichnisse = {bilder.path()};
  AlbumSpeichern(alben.kontext, album);
  WriteProfileString(alben.kontext.Katalog(), "Urlaub", "AG", "-1");
  TGalerieGlobal ohneListe;
  ohneListe.Name = "Urlaub";
  AlbumLaden(alben.kontext, ohneListe);
  EXPECT_EQ(ohneListe.Anzahl.gesamt, 2);

  Bildzahlen summe{std::numeric_limits<int32_t>::max() - 1, 0, 0, 0};
  summe += Bildzahlen{std::numeric_limits<int32_t>::max(), 0, 0, 0};
  EXPECT_EQ(summe.gesamt, std::numeric_limits<int32_t>::max());
}

TEST(Katalog, FolderFileWithoutSeparatorAndAnyLineEnds) {
  AlbenOrdner alben;
  TGalerieGlobal album = NeuesAlbum(alben.kontext, "Urlaub");
  AlbumSpeichern(alben.kontext, album);
  WriteWholeFile(alben.Datei("Album 1.nbd"), "/a/\r\n/b/\r/c/\n");
  album.AlleVerzeichnisse = {"/alt/"};
  AlbumLaden(alben.kontext, album);
  EXPECT_EQ(album.Verzeichnisse, (std::vector<std::string>{"/a/", "/b/", "/c/"}));
  EXPECT_TRUE(album.AlleVerzeichnisse.empty());
  EXPECT_TRUE(album.AlleVerzeichnisseVorhanden);

  // Without a folder file the lists are empty and the counts 0; the scanned folders of
  // the record stay.
  album.Anzahl = {5, 0, 0, 0};
  std::filesystem::remove(alben.Datei("Album 1.nbd"));
  album.AlleVerzeichnisse = {"/gescannt/"};
  AlbumListenLaden(alben.kontext, album);
  EXPECT_TRUE(album.Verzeichnisse.empty());
  EXPECT_EQ(album.AlleVerzeichnisse, std::vector<std::string>{"/gescannt/"});
  EXPECT_EQ(album.Anzahl, Bildzahlen{});
}

TEST(Katalog, PictureListExistsOnlyWhileNotEmpty) {
  AlbenOrdner alben;
  TGalerieGlobal album = NeuesAlbum(alben.kontext, "Urlaub");
  album.Dateien = {"/a/1.jpg", "/a/2.jpg"};
  AlbumSpeichern(alben.kontext, album);
  EXPECT_EQ(ReadWholeFile(alben.Datei("Album 1.nbf")), "/a/1.jpg\r\n/a/2.jpg\r\n");
  EXPECT_TRUE(DateilisteVorhanden(alben.kontext, album));
  album.Dateien.clear();
  AlbumSpeichern(alben.kontext, album);
  EXPECT_FALSE(DateilisteVorhanden(alben.kontext, album));
  // A picture whose name holds a line break would shift the list against the cache.
  album.Dateien = {"/a/1.jpg", "/a/zwei\nZeilen.jpg"};
  AlbumSpeichern(alben.kontext, album);
  EXPECT_FALSE(DateilisteVorhanden(alben.kontext, album));
  // Both lists empty: the separator is still written.
  album.Verzeichnisse.clear();
  album.AlleVerzeichnisse.clear();
  AlbumSpeichern(alben.kontext, album);
  EXPECT_EQ(ReadWholeFile(alben.Datei("Album 1.nbd")), "<<<<<---------->>>>>\r\n");
}

TEST(Katalog, DeletingRemovesEveryFileOfTheAlbumAndNothingElse) {
  AlbenOrdner alben;
  TGalerieGlobal eins = NeuesAlbum(alben.kontext, "Eins");
  eins.Dateien = {"/a.jpg"};
  AlbumSpeichern(alben.kontext, eins);
  for (const char* name :
       {"Album 1 5.nba", "Album 1 10.nba", ".Album 1 3.nba.Ab12Cd", "Album 1 5a.nba",
        "Album 1 10aswz.nba", ".Album 1 3w.nba.Ab12Cd", "Album 12 5.nba", "Album 1 x.nba",
        ".Album 12 3.nba.Ab12Cd", "Album 12 5a.nba", "Album 1 5A.nba"}) {
    WriteWholeFile(alben.Datei(name), "");
  }
  AlbumLoeschen(alben.kontext, "Unbekannt");
  EXPECT_TRUE(FileExists(alben.Datei("Album 1.nbd")));

  AlbumLoeschen(alben.kontext, "Eins");
  for (const char* weg :
       {"Album 1.nbd", "Album 1.nbf", "Album 1 5.nba", "Album 1 10.nba", ".Album 1 3.nba.Ab12Cd",
        "Album 1 5a.nba", "Album 1 10aswz.nba", ".Album 1 3w.nba.Ab12Cd"}) {
    EXPECT_FALSE(FileExists(alben.Datei(weg))) << weg;
  }
  EXPECT_TRUE(FileExists(alben.Datei("Album 12 5.nba")));
  EXPECT_TRUE(FileExists(alben.Datei("Album 1 x.nba")));
  EXPECT_TRUE(FileExists(alben.Datei("Album 12 5a.nba")));
  EXPECT_TRUE(FileExists(alben.Datei("Album 1 5A.nba")));  // no name of ours
  EXPECT_TRUE(FileExists(alben.Datei(".Album 12 3.nba.Ab12Cd")));
  EXPECT_FALSE(ProfileFile::Load(alben.kontext.Katalog()).HasSection("Eins"));
}

// A hand-edited catalogue in which two albums name the same files.
TEST(Katalog, AlbumsSharingFilesByHandNeverOverwriteOrDeleteEachOthers) {
  AlbenOrdner alben;
  TGalerieGlobal eins = NeuesAlbum(alben.kontext, "Eins");
  eins.Dateien = {"/bilder/Eins/a.jpg"};
  AlbumSpeichern(alben.kontext, eins);
  const auto teilen = [&] {
    WriteProfileString(alben.kontext.Katalog(), "Alben", "2", "Zwei");
    WriteProfileString(alben.kontext.Katalog(), "Zwei", "DN", "Album 1");
    WriteProfileString(alben.kontext.Katalog(), "Zwei", "Ak5", "0");
  };
  teilen();
  const std::string ordnerdatei = ReadWholeFile(alben.Datei("Album 1.nbd"));

  // Loading one of them gives it files of its own, with what it read, and a rebuild.
  TGalerieGlobal zwei;
  zwei.Name = "Zwei";
  AlbumLaden(alben.kontext, zwei);
  EXPECT_EQ(zwei.Dateiname, "Album 2");
  EXPECT_EQ(zwei.Verzeichnisse, eins.Verzeichnisse);
  EXPECT_EQ(zwei.Dateien, eins.Dateien);
  EXPECT_EQ(Wert(alben.kontext, "Zwei", "DN"), "Album 2");
  EXPECT_EQ(Wert(alben.kontext, "Zwei", "Ak5"), "1");
  EXPECT_EQ(ReadWholeFile(alben.Datei("Album 2.nbd")), ordnerdatei);
  EXPECT_EQ(Wert(alben.kontext, "Eins", "DN"), "Album 1");

  // Deleting one of two sharing albums keeps the files the other still names; a new
  // album never takes files an album names, even when they are missing.
  teilen();
  WriteProfileString(alben.kontext.Katalog(), "Alben", "3", "Drei");
  WriteProfileString(alben.kontext.Katalog(), "Drei", "DN", "Album 3");
  AlbumLoeschen(alben.kontext, "Zwei");
  EXPECT_EQ(ReadWholeFile(alben.Datei("Album 1.nbd")), ordnerdatei);
  EXPECT_TRUE(FileExists(alben.Datei("Album 1.nbf")));
  EXPECT_EQ(FreierAlbumDateiname(alben.kontext), "Album 4");
  AlbumLoeschen(alben.kontext, "Eins");
  EXPECT_FALSE(FileExists(alben.Datei("Album 1.nbd")));
}

TEST(Katalog, RenamingKeepsFileNameAndCacheStates) {
  AlbenOrdner alben;
  TGalerieGlobal album = NeuesAlbum(alben.kontext, "Urlaub");
  AlbumSpeichern(alben.kontext, NeuesAlbum(alben.kontext, "Davor"));
  album.Dateiname = AlbumDateiname(FreieAlbumNummer(alben.kontext));
  AlbumSpeichern(alben.kontext, album);
  WriteProfileString(alben.kontext.Katalog(), "Urlaub", "Ak5", "0");
  WriteProfileString(alben.kontext.Katalog(), "Urlaub", "Ak1", "2");

  AlbumUmbenennen(alben.kontext, "Urlaub", "Ferien 2024");
  // Listed under the new name at once: a crash before the album is saved loses nothing.
  EXPECT_EQ(Wert(alben.kontext, "Alben", "2"), "Ferien 2024");
  const std::string katalog = ReadWholeFile(alben.kontext.Katalog());
  AlbumUmbenennen(alben.kontext, "Ferien 2024", "Ferien 2024");
  EXPECT_EQ(ReadWholeFile(alben.kontext.Katalog()), katalog);
  album.Name = "Ferien 2024";
  AlbumSpeichern(alben.kontext, album);

  EXPECT_EQ(Wert(alben.kontext, "Alben", "2"), "Ferien 2024");
  EXPECT_EQ(Wert(alben.kontext, "Ferien 2024", "DN"), "Album 2");
  EXPECT_EQ(Wert(alben.kontext, "Ferien 2024", "Ak5"), "0");
  EXPECT_EQ(Wert(alben.kontext, "Ferien 2024", "Ak1"), "2");
  EXPECT_FALSE(ProfileFile::Load(alben.kontext.Katalog()).HasSection("Urlaub"));
  EXPECT_TRUE(FileExists(alben.Datei("Album 2.nbd")));

  // Only the letter case changes: the section stays one.
  AlbumUmbenennen(alben.kontext, "Ferien 2024", "FERIEN 2024");
  album.Name = "FERIEN 2024";
  AlbumSpeichern(alben.kontext, album);
  EXPECT_EQ(Wert(alben.kontext, "Alben", "2"), "FERIEN 2024");
  EXPECT_EQ(Wert(alben.kontext, "FERIEN 2024", "Ak5"), "0");
}

TEST(Katalog, AlbumNamesThatWouldBreakTheCatalogueOrClashAreNotFree) {
  AlbenOrdner alben;
  AlbumSpeichern(alben.kontext, NeuesAlbum(alben.kontext, "Urlaub"));
  const auto frei = [&](std::string_view kandidat, std::string_view eigener = "") {
    return AlbumnameFrei(alben.kontext, kAlle, kGewaehlt, kandidat, eigener);
  };
  EXPECT_TRUE(frei("Garten"));
  EXPECT_TRUE(frei("Urlaub", "Urlaub"));
  EXPECT_TRUE(frei("URLAUB", "Urlaub"));
  EXPECT_FALSE(frei("Urlaub"));
  EXPECT_FALSE(frei("urlaub", "Garten"));
  EXPECT_FALSE(frei(""));
  EXPECT_FALSE(frei(kAlle));
  EXPECT_FALSE(frei("ALLE GEWÄHLTEN ALBEN ZUSAMMEN"));
  EXPECT_FALSE(frei("alben"));
  for (const char* kaputt :
       {"a]b", "[Alben", "A=B", "Zeile\neins", "Zeile\reins", "Tab\there", " Rand", "Rand "}) {
    EXPECT_FALSE(frei(kaputt)) << kaputt;
  }
  EXPECT_TRUE(frei("Urlaub (2024) & mehr [Teil 2"));
}

TEST(Katalog, FreeNumberSkipsFolderFilesWithoutCatalogueEntry) {
  AlbenOrdner alben;
  EXPECT_EQ(FreieAlbumNummer(alben.kontext), 1);
  WriteWholeFile(alben.Datei("Album 1.nbd"), "");
  WriteWholeFile(alben.Datei("Album 2.nbd"), "");
  WriteWholeFile(alben.Datei("Album 4.nbd"), "");
  EXPECT_EQ(FreieAlbumNummer(alben.kontext), 3);
  // A picture list or a cache alone, left by an album the catalogue lost, holds its
  // number as well, also for the name a new album reserves.
  WriteWholeFile(alben.Datei("Album 3.nbf"), "x");
  WriteWholeFile(alben.Datei("Album 5 5a.nba"), "x");
  EXPECT_EQ(FreieAlbumNummer(alben.kontext), 6);
  EXPECT_EQ(FreierAlbumDateiname(alben.kontext), "Album 6");
}

TEST(Katalog, OutdatingTouchesOnlyTheCacheStatesThatExist) {
  AlbenOrdner alben;
  WriteWholeFile(alben.kontext.Katalog(),
                 "[Alben]\n1=U\n[U]\nDN=Album 1\nAk1=0\nak3=0\nAk10=1\nAk5aw=0\nLz5aw=3\nAG=0\n");
  SignaturenVeralten(alben.kontext, "U", 2);
  const ProfileFile katalog = ProfileFile::Load(alben.kontext.Katalog());
  EXPECT_EQ(katalog.Read("U", "Ak1"), "2");
  EXPECT_EQ(katalog.Read("U", "Ak10"), "2");
  EXPECT_EQ(katalog.Read("U", "Ak5aw"), "2");  // every way of measuring
  EXPECT_EQ(katalog.Read("U", "Lz5aw"), "3");
  EXPECT_EQ(katalog.Read("U", "ak3"), "0");  // the prefix is compared exactly
  EXPECT_EQ(katalog.Read("U", "Ak5"), std::nullopt);
  EXPECT_EQ(katalog.Read("U", "AG"), "0");
  SignaturenVeralten(alben.kontext, "", 2);
  SignaturenVeralten(alben.kontext, "Fehlt", 2);
  EXPECT_FALSE(ProfileFile::Load(alben.kontext.Katalog()).HasSection("Fehlt"));
}

// The stored state a long run compares before it saves: every change another program
// makes to the album counts, the cache marks and the picture list the run writes itself
// do not.
TEST(Katalog, TheStoredStateOfAnAlbumChangesWithWhatOthersChange) {
  AlbenOrdner alben;
  const AlbenKontext& k = alben.kontext;
  TGalerieGlobal urlaub = NeuesAlbum(k, "Urlaub");
  urlaub.Dateien = {"/bilder/Urlaub/a.jpg"};
  AlbumSpeichern(k, urlaub);
  const std::string vorher = AlbumStand(k, "Urlaub");

  SignaturenVeralten(k, "Urlaub", 1);
  ProfileFile katalog = ProfileFile::Load(k.Katalog());
  katalog.Write("Urlaub", "Ak5", "0");
  katalog.Write("Urlaub", "Lz5", "1");
  katalog.Save();
  urlaub.Dateien = {"/bilder/Urlaub/b.jpg"};
  AlbumListenSpeichern(k, urlaub);
  EXPECT_EQ(AlbumStand(k, "Urlaub"), vorher);

  const auto geaendert = [&](const std::function<void(TGalerieGlobal&)>& aenderung) {
    TGalerieGlobal album = urlaub;
    aenderung(album);
    AlbumSpeichern(k, album);
    const bool anders = AlbumStand(k, "Urlaub") != vorher;
    AlbumSpeichern(k, urlaub);
    EXPECT_EQ(AlbumStand(k, "Urlaub"), vorher);
    return anders;
  };
  // Every key of the entry and the folder file, each alone: another medium under the same
  // mount point differs only in its serial number.
  const std::vector<std::pair<const char*, std::function<void(TGalerieGlobal&)>>> aenderungen = {
      {"Ordner", [](TGalerieGlobal& a) { a.AlleVerzeichnisse.push_back("/bilder/x/"); }},
      {"gewählt", [](TGalerieGlobal& a) { a.Verzeichnisse.push_back("/bilder/y/"); }},
      {"DN", [](TGalerieGlobal& a) { a.Dateiname = "Album 9"; }},
      {"Ve", [](TGalerieGlobal& a) { a.Version = "1.0"; }},
      {"MN", [](TGalerieGlobal& a) { a.MediumName = "CD"; }},
      {"SN", [](TGalerieGlobal& a) { a.Seriennummer = "0012-ABCE"; }},
      {"MB", [](TGalerieGlobal& a) { a.Laufwerk = "/media/b"; }},
      {"AG", [](TGalerieGlobal& a) { a.Anzahl.gesamt = 2; }},
      {"AH", [](TGalerieGlobal& a) { a.Anzahl.hochkant = 1; }},
      {"AQ", [](TGalerieGlobal& a) { a.Anzahl.querformat = 1; }},
      {"AS", [](TGalerieGlobal& a) { a.Anzahl.quadratisch = 1; }},
      {"WM", [](TGalerieGlobal& a) { a.Wechselmedium = !a.Wechselmedium; }},
      {"mUV", [](TGalerieGlobal& a) { a.mitUnterverzeichnissen = !a.mitUnterverzeichnissen; }},
  };
  for (const auto& [was, aenderung] : aenderungen) EXPECT_TRUE(geaendert(aenderung)) << was;

  katalog = ProfileFile::Load(k.Katalog());
  katalog.Write(kAlbenSektion, "1", "");
  katalog.Save();
  EXPECT_NE(AlbumStand(k, "Urlaub"), vorher);  // no longer listed, its section still there
}

}  // namespace
}  // namespace tilvendo
