#include "albums/signaturdatei.h"

#include <gtest/gtest.h>

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

SignaturDatensatz Datensatz(uint8_t wert) {
  SignaturDatensatz datensatz{};
  datensatz.fill(wert);
  return datensatz;
}

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
  // Writes whole signatures of level `stufe` (a head and a record per sub-cell), one per
  // line of the picture list, each record filled with `wert`.
  void Fuellen(Signaturdatei& datei, uint8_t wert = 1, uint8_t stufe = kStufe) const {
    for (size_t bild = 0; bild < album.Dateien.size() * Saetze(stufe); ++bild) {
      datei.Schreiben(Datensatz(wert));
    }
  }
  // Opens the cache, fills it when it is rebuilt, closes it and saves the album: a run
  // of the reading phase in short. Returns what the opening said.
  uint8_t Lauf(uint8_t stufe = kStufe, std::string_view variante = {}) {
    Signaturdatei datei;
    const uint8_t modus = SignaturdateiOeffnen(datei, stufe, album, kontext, variante);
    if (modus == kCacheNeuAufbauen) Fuellen(datei, 1, stufe);
    SignaturdateiSchliessen(datei, stufe, album, kontext, variante);
    AlbumSpeichern(kontext, album);
    return modus;
  }
  static size_t Saetze(uint8_t stufe) { return 1 + size_t{stufe} * stufe; }

  TGalerieGlobal album;
};

TEST(Signaturdatei, ARebuiltCacheBecomesValidOnCloseAndIsReadNextTime) {
  Cache c;
  Signaturdatei datei;
  EXPECT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheNeuAufbauen);
  EXPECT_EQ(c.album.NeuAufbau, kCacheNeuAufbauen);
  // The old picture list is gone while the cache is rebuilt, which appears only on close.
  EXPECT_FALSE(DateilisteVorhanden(c.kontext, c.album));
  c.Fuellen(datei, 2);
  EXPECT_FALSE(FileExists(c.CachePfad()));
  EXPECT_EQ(SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext), std::nullopt);
  EXPECT_EQ(datei.modus(), Signaturdatei::Modus::Geschlossen);
  EXPECT_EQ(ReadWholeFile(c.CachePfad()), std::string(12 * Cache::Saetze(kStufe), '\2'));
  EXPECT_EQ(c.Zustand(), "0");
  AlbumSpeichern(c.kontext, c.album);

  ASSERT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheLesen);
  EXPECT_EQ(c.album.NeuAufbau, kCacheLesen);
  SignaturDatensatz gelesen{};
  for (size_t i = 0; i < Cache::Saetze(kStufe); ++i) {
    ASSERT_TRUE(datei.Lesen(gelesen));
    EXPECT_EQ(gelesen, Datensatz(2));
  }
  EXPECT_FALSE(datei.Lesen(gelesen));
  EXPECT_EQ(SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext), std::nullopt);
  EXPECT_EQ(c.Zustand(), "0");
}

TEST(Signaturdatei, EveryStateButAValidCacheWithItsListIsRebuilt) {
  Cache c;
  Signaturdatei datei;
  // Valid state and picture list, but no cache file of this level.
  c.ZustandSetzen("0");
  EXPECT_EQ(c.Lauf(), kCacheNeuAufbauen);
  EXPECT_TRUE(FileExists(c.CachePfad()));

  // Valid state and cache file, but the list was removed by saving an empty one.
  c.album.Dateien.clear();
  AlbumSpeichern(c.kontext, c.album);
  EXPECT_EQ(c.Zustand(), "0");
  EXPECT_EQ(c.Lauf(), kCacheNeuAufbauen);

  // After a scan (2), never built (missing key), and values whose low byte is 0.
  c.album.Dateien = {"/a/1.jpg"};
  for (const char* zustand : {"2", "256", "nichts"}) {
    AlbumSpeichern(c.kontext, c.album);
    c.ZustandSetzen(zustand);
    EXPECT_EQ(c.Lauf(), kCacheNeuAufbauen) << zustand;
  }
  EXPECT_EQ(c.Lauf(), kCacheLesen);
  // A catalogue that does not tell which list the cache belongs to, or which records it
  // holds (older versions wrote neither), has it rebuilt once.
  for (const char* schluessel : {"Lp5", "Sp5"}) {
    WriteProfileString(c.kontext.Katalog(), "Urlaub", schluessel, "");
    EXPECT_EQ(c.Lauf(), kCacheNeuAufbauen) << schluessel;
    EXPECT_EQ(c.Lauf(), kCacheLesen) << schluessel;
  }
  // Other levels have their own state and file.
  EXPECT_EQ(c.Lauf(3), kCacheNeuAufbauen);
  EXPECT_EQ(SignaturdateiName(c.album, 3), "Album 1 3.nba");
  EXPECT_EQ(c.Zustand("Ak3"), "0");
  EXPECT_EQ(c.Lauf(3), kCacheLesen);
}

// The checksum in the catalogue tells a cache as it was written from one emptied, cut or
// overwritten since: such a cache is rebuilt in the same run, never read.
TEST(Signaturdatei, ACacheChangedSinceItWasWrittenIsRebuiltAtOnce) {
  Cache c;
  c.album.Dateien = {"/a/1.jpg", "/a/2.jpg", "/a/3.jpg"};
  Signaturdatei datei;
  ASSERT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheNeuAufbauen);
  const size_t satz = 12 * Cache::Saetze(kStufe);
  for (uint8_t bild = 0; bild < 3; ++bild) {
    for (size_t i = 0; i < Cache::Saetze(kStufe); ++i) {
      SignaturDatensatz datensatz = Datensatz(static_cast<uint8_t>(10 * bild + i % 7));
      datensatz[0] = bild;
      datei.Schreiben(datensatz);
    }
  }
  SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext);
  AlbumSpeichern(c.kontext, c.album);
  const std::string heil = ReadWholeFile(c.CachePfad());
  ASSERT_EQ(heil.size(), 3 * satz);

  std::string kopiert = heil;
  kopiert.replace(satz, satz, heil.substr(0, satz));
  std::string vertauscht = heil;
  vertauscht.replace(0, satz, heil.substr(satz, satz));
  vertauscht.replace(satz, satz, heil.substr(0, satz));
  std::string gekippt = heil;
  gekippt[satz + 7] = static_cast<char>(gekippt[satz + 7] ^ 1);
  const std::vector<std::pair<std::string, std::string>> faelle = {
      {"heil", heil},
      {"leer", ""},
      {"ein Bild zu kurz", heil.substr(0, 2 * satz)},
      {"mitten im Satz", heil.substr(0, 2 * satz + 5)},
      {"ein Bild zu lang", heil + heil.substr(0, satz)},
      {"Nullen", std::string(heil.size(), '\0')},
      {"Satz kopiert", kopiert},
      {"Bilder vertauscht", vertauscht},
      {"ein Bit", gekippt},
  };
  for (const auto& [fall, inhalt] : faelle) {
    WriteWholeFile(c.CachePfad(), inhalt);
    AlbumSpeichern(c.kontext, c.album);  // the list a rebuild deleted
    Signaturdatei offen;
    EXPECT_EQ(SignaturdateiOeffnen(offen, kStufe, c.album, c.kontext),
              fall == "heil" ? kCacheLesen : kCacheNeuAufbauen)
        << fall;
    // Not closed: an unfinished rebuild leaves the old state and file.
  }
}

// The mark of the picture list counts line ends: the same characters in other lines are
// another list, whose records would point at other pictures.
TEST(Signaturdatei, AListWithTheSameCharactersInOtherLinesIsAnotherList) {
  Cache c;
  c.album.Dateien = {"/bilder/ab", "c"};
  AlbumSpeichern(c.kontext, c.album);
  EXPECT_EQ(c.Lauf(), kCacheNeuAufbauen);
  EXPECT_EQ(c.Lauf(), kCacheLesen);
  c.album.Dateien = {"/bilder/a", "bc"};
  AlbumSpeichern(c.kontext, c.album);
  EXPECT_EQ(c.Lauf(), kCacheNeuAufbauen);
}

// Signatures measured one way are never read for another; a new picture list, though,
// moves the lines every variant counts in.
TEST(Signaturdatei, VariantsOfOneLevelAreKeptApartButShareThePictureList) {
  Cache c;
  Signaturdatei datei;
  const auto bauen = [&](std::string_view variante, uint8_t wert) {
    SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext, variante);
    c.Fuellen(datei, wert);
    SignaturdateiSchliessen(datei, kStufe, c.album, c.kontext, variante);
    AlbumSpeichern(c.kontext, c.album);
  };
  bauen("", 1);
  bauen("aw", 2);
  EXPECT_EQ(ReadWholeFile(c.CachePfad()), std::string(12 * Cache::Saetze(kStufe), '\1'));
  EXPECT_EQ(ReadWholeFile(c.Datei("Album 1 5aw.nba")),
            std::string(12 * Cache::Saetze(kStufe), '\2'));
  EXPECT_EQ(c.Lauf(kStufe, "aw"), kCacheLesen);
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
  const size_t vorher = testing::FilesIn(c.folder.path());
  {
    Signaturdatei datei;
    SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext);
    for (int i = 0; i < 10000; ++i) datei.Schreiben(Datensatz(7));  // past the buffer
  }
  EXPECT_FALSE(FileExists(c.CachePfad()));
  EXPECT_EQ(c.Zustand(), "<fehlt>");
  EXPECT_EQ(testing::FilesIn(c.folder.path()),
            vorher - 1);  // the picture list is gone, nothing added
}

TEST(Signaturdatei, DamagedOrDiscardedCachesAreRebuiltNextTime) {
  Cache c;
  Signaturdatei datei;
  ASSERT_EQ(c.Lauf(), kCacheNeuAufbauen);

  // A cache the engine found damaged while reading it.
  ASSERT_EQ(SignaturdateiOeffnen(datei, kStufe, c.album, c.kontext), kCacheLesen);
  SignaturDatensatz gelesen{};
  EXPECT_TRUE(datei.Lesen(gelesen));
  datei.AlsBeschaedigtMarkieren();
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
