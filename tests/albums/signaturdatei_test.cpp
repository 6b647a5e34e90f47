#include "albums/signaturdatei.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "alben_helfer.h"
#include "albums/katalog.h"
#include "platform/paths.h"
#include "platform/profile_file.h"

namespace tilvendo {
namespace {

using testing::AlbenOrdner;
using testing::ReadWholeFile;
using testing::WriteWholeFile;

constexpr uint8_t kStufe = 5;

struct Cache : AlbenOrdner {
  Cache() {
    album.Name = "Urlaub";
    album.Dateiname = "Album 1";
    album.Dateien = {"/a/1.jpg"};
    AlbumSpeichern(kontext, album);
  }
  std::string Zustand(const std::string& schluessel = "Ak5") const {
    return ProfileFile::Load(kontext.Katalog()).ReadString("Urlaub", schluessel, "<fehlt>");
  }
  void ZustandSetzen(const std::string& wert) {
    WriteProfileString(kontext.Katalog(), "Urlaub", "Ak5", wert);
  }
  std::string CachePfad() const { return Datei("Album 1 5.nba"); }
  size_t DateienImOrdner() const {
    size_t anzahl = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.path())) {
      ++anzahl;
    }
    return anzahl;
  }

  TGalerieGlobal album;
};

SignaturDatensatz Datensatz(uint8_t wert) {
  SignaturDatensatz datensatz{};
  datensatz.fill(wert);
  return datensatz;
}

TEST(Signaturdatei, ARebuiltCacheBecomesValidOnCloseAndIsReadNextTime) {
  Cache c;
  Signaturdatei datei;
  EXPECT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheNeuAufbauen);
  EXPECT_EQ(c.album.NeuAufbau, kCacheNeuAufbauen);
  EXPECT_EQ(datei.modus(), Signaturdatei::Modus::Schreiben);
  // The old picture list is gone while the cache is rebuilt.
  EXPECT_FALSE(DateilisteVorhanden(c.kontext, c.album));
  datei.Schreiben(Datensatz(1));
  datei.Schreiben(Datensatz(2));
  EXPECT_FALSE(FileExists(c.CachePfad()));
  EXPECT_EQ(SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext), std::nullopt);
  EXPECT_EQ(datei.modus(), Signaturdatei::Modus::Geschlossen);
  EXPECT_EQ(ReadWholeFile(c.CachePfad()), std::string(12, '\1') + std::string(12, '\2'));
  EXPECT_EQ(c.Zustand(), "0");
  AlbumSpeichern(c.kontext, c.album);

  ASSERT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheLesen);
  EXPECT_EQ(c.album.NeuAufbau, kCacheLesen);
  SignaturDatensatz gelesen{};
  ASSERT_TRUE(datei.Lesen(gelesen));
  EXPECT_EQ(gelesen, Datensatz(1));
  ASSERT_TRUE(datei.Lesen(gelesen));
  EXPECT_EQ(gelesen, Datensatz(2));
  EXPECT_FALSE(datei.Lesen(gelesen));
  EXPECT_EQ(SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext), std::nullopt);
  EXPECT_EQ(c.Zustand(), "0");
}

TEST(Signaturdatei, EveryStateButAValidCacheWithItsListIsRebuilt) {
  Cache c;
  Signaturdatei datei;
  // Valid state and picture list, but no cache file of this level.
  c.ZustandSetzen("0");
  EXPECT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheNeuAufbauen);
  SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext);
  EXPECT_TRUE(FileExists(c.CachePfad()));

  // Valid state and cache file, but the list was removed by saving an empty one.
  c.album.Dateien.clear();
  AlbumSpeichern(c.kontext, c.album);
  EXPECT_EQ(c.Zustand(), "0");
  EXPECT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheNeuAufbauen);
  SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext);

  // After a scan (2), never built (missing key), and values whose low byte is 0.
  c.album.Dateien = {"/a/1.jpg"};
  for (const char* zustand : {"2", "256", "nichts"}) {
    AlbumSpeichern(c.kontext, c.album);
    c.ZustandSetzen(zustand);
    EXPECT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheNeuAufbauen)
        << zustand;
    SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext);
  }
  AlbumSpeichern(c.kontext, c.album);
  EXPECT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheLesen);
  SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext);
  // A catalogue that does not tell which list the cache belongs to (older versions
  // wrote none) has it rebuilt once.
  WriteProfileString(c.kontext.Katalog(), "Urlaub", "Lp5", "");
  EXPECT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheNeuAufbauen);
  SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext);
  AlbumSpeichern(c.kontext, c.album);
  EXPECT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheLesen);
  SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext);
  // Other levels have their own state and file.
  EXPECT_EQ(SignaturdateiOeffnen(datei, 3, c.album, c.kontext), kCacheNeuAufbauen);
  EXPECT_EQ(SignaturdateiName(c.album, 3), "Album 1 3.nba");
  SignaturdateiSchliessen(datei, 3, c.album, c.kontext);
  EXPECT_EQ(c.Zustand("Ak3"), "0");
}

// Signatures measured one way are never read for another; a new picture list, though,
// moves the lines every variant counts in.
TEST(Signaturdatei, VariantsOfOneLevelAreKeptApartButShareThePictureList) {
  Cache c;
  Signaturdatei datei;
  const auto bauen = [&](std::string_view variante, uint8_t wert) {
    SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext, variante);
    datei.Schreiben(Datensatz(wert));
    SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext, variante);
    AlbumSpeichern(c.kontext, c.album);
  };
  bauen("", 1);
  bauen("aw", 2);
  EXPECT_EQ(ReadWholeFile(c.CachePfad()), std::string(12, '\1'));
  EXPECT_EQ(ReadWholeFile(c.Datei("Album 1 5aw.nba")), std::string(12, '\2'));
  EXPECT_EQ(c.Zustand("Ak5") + c.Zustand("Ak5aw") + c.Zustand("Lz5aw"), "001");
  EXPECT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext, "a"), kCacheNeuAufbauen);
  SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext, "a");
  AlbumSpeichern(c.kontext, c.album);
  c.album.Dateien.push_back("/a/2.jpg");
  bauen("aw", 3);
  EXPECT_EQ(c.Zustand("Ak5") + c.Zustand("Ak5a") + c.Zustand("Ak5aw"), "110");
  EXPECT_THROW(SignaturdateiName(c.album, kStufe, "A"), std::invalid_argument);
  EXPECT_THROW(SignaturdateiName(c.album, 1, "0"), std::invalid_argument);
}

TEST(Signaturdatei, ARebuildThatNeverClosesLeavesNoCacheAndNoTrace) {
  Cache c;
  const size_t vorher = c.DateienImOrdner();
  {
    Signaturdatei datei;
    SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext);
    for (int i = 0; i < 10000; ++i) datei.Schreiben(Datensatz(7));  // past the buffer
  }
  EXPECT_FALSE(FileExists(c.CachePfad()));
  EXPECT_EQ(c.Zustand(), "<fehlt>");
  EXPECT_EQ(c.DateienImOrdner(), vorher - 1);  // the picture list is gone, nothing added
}

TEST(Signaturdatei, ACacheThatCannotBeWrittenIsReportedAndStaysInvalid) {
  Cache c;
  c.ZustandSetzen("0");
  // A folder where the cache file should go: the finished cache cannot replace it.
  std::filesystem::create_directory(c.CachePfad());
  Signaturdatei datei;
  EXPECT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheNeuAufbauen);
  datei.Schreiben(Datensatz(1));
  EXPECT_EQ(SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext),
            "nach " + c.CachePfad() + " kann nicht geschrieben werden");
  EXPECT_EQ(c.Zustand(), "1");
}

TEST(Signaturdatei, DamagedOrDiscardedCachesAreRebuiltNextTime) {
  Cache c;
  Signaturdatei datei;
  SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext);
  datei.Schreiben(Datensatz(1));
  SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext);
  AlbumSpeichern(c.kontext, c.album);

  // A cache cut off inside a record.
  WriteWholeFile(c.CachePfad(), std::string(12, '\1') + std::string(5, '\2'));
  ASSERT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheLesen);
  SignaturDatensatz gelesen{};
  EXPECT_TRUE(datei.Lesen(gelesen));
  EXPECT_FALSE(datei.Lesen(gelesen));
  EXPECT_TRUE(datei.Beschaedigt());
  EXPECT_EQ(SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext), std::nullopt);
  EXPECT_EQ(c.Zustand(), "1");

  // A rebuild the engine throws away (cancelled) keeps the old file and stays invalid.
  const std::string alt = ReadWholeFile(c.CachePfad());
  ASSERT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheNeuAufbauen);
  datei.Schreiben(Datensatz(9));
  datei.AlsBeschaedigtMarkieren();
  EXPECT_EQ(SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext), std::nullopt);
  EXPECT_EQ(ReadWholeFile(c.CachePfad()), alt);
  EXPECT_EQ(c.Zustand(), "1");
}

TEST(Signaturdatei, AnAlbumWithoutAUsableFileNameWritesNothing) {
  AlbenOrdner alben;
  TGalerieGlobal album;
  album.Name = "Kaputt";
  album.Dateiname = "../ausserhalb";
  Signaturdatei datei;
  EXPECT_EQ(SignaturdateiOeffnen(datei, kStufe, album, alben.kontext), kCacheNeuAufbauen);
  datei.Schreiben(Datensatz(1));
  EXPECT_TRUE(SignaturdateiSchliessen(datei, kStufe, album, alben.kontext).has_value());
  EXPECT_FALSE(FileExists(alben.folder.path() + "../ausserhalb 5.nba"));
}

}  // namespace
}  // namespace tilvendo
