#include "pictures/bmp_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bild_vergleich.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::Abweichung;
using testing::TestdataPath;
using testing::Vergleichen;

std::string Suite(const std::string& name) {
  return TestdataPath("bmpsuite/" + name);
}

Bitmap Lesen(const std::string& path) {
  Bitmap bild;
  if (!testing::TestdataVorhanden()) return bild;  // the test skips itself
  EXPECT_TRUE(ReadBmpFile(bild, path)) << path;
  return bild;
}

std::vector<uint8_t> Bytes(const std::string& path) {
  const std::string inhalt = testing::ReadWholeFile(path);
  return {inhalt.begin(), inhalt.end()};
}

// Decodes exactly `laenge` bytes from their own heap block, so that a read past them is
// caught by the address sanitizer.
bool DecodeGenau(Bitmap& bild, const std::vector<uint8_t>& bytes, size_t laenge) {
  auto block = std::make_unique<uint8_t[]>(laenge == 0 ? 1 : laenge);
  std::memcpy(block.get(), bytes.data(), laenge);
  return DecodeBmp(bild, {block.get(), laenge});
}

bool IstGleich(const Bitmap& a, const Bitmap& b) {
  return a.width() == b.width() && a.height() == b.height() && Vergleichen(a, b).maximum == 0;
}

// The picture most files of the good set show.
class BmpSuiteGut : public ::testing::Test {
 protected:
  const Bitmap vorbild_ = Lesen(Suite("g/rgb24.bmp"));
  const Bitmap pal8_ = Lesen(Suite("g/pal8.bmp"));
};

TEST_F(BmpSuiteGut, TrueColourFilesShowTheSamePicture) {
  TESTDATEN_ERFORDERLICH();
  ASSERT_EQ(vorbild_.width(), 127);
  ASSERT_EQ(vorbild_.height(), 64);
  // Exact for 24 and 32 bits; five or six bits per channel are within half a step.
  const std::vector<std::pair<std::string, int>> dateien = {
      {"rgb24pal.bmp", 0}, {"rgb32.bmp", 0},      {"rgb32bf.bmp", 0},   {"rgb32bfdef.bmp", 0},
      {"rgb16.bmp", 4},    {"rgb16bfdef.bmp", 4}, {"rgb16-565.bmp", 4}, {"rgb16-565pal.bmp", 4}};
  for (const auto& [name, toleranz] : dateien) {
    const Bitmap bild = Lesen(Suite("g/" + name));
    ASSERT_EQ(bild.width(), 127) << name;
    ASSERT_EQ(bild.height(), 64) << name;
    EXPECT_LE(Vergleichen(bild, vorbild_).maximum, toleranz) << name;
  }
}

TEST_F(BmpSuiteGut, WhiteOfSixteenBitFilesIsFullWhite) {
  TESTDATEN_ERFORDERLICH();
  // This pixel of the picture is white; 5-bit 31 must become 255, not 248.
  ASSERT_EQ(ReadPixel(vorbild_, 31, 0), (Farbe{255, 255, 255}));
  for (const std::string name : {"rgb16.bmp", "rgb16-565.bmp"}) {
    EXPECT_EQ(ReadPixel(Lesen(Suite("g/" + name)), 31, 0), (Farbe{255, 255, 255})) << name;
  }
}

TEST_F(BmpSuiteGut, PalettedFilesShowTheSamePictureInEveryHeaderAndCoding) {
  TESTDATEN_ERFORDERLICH();
  // The 8-bit picture is a dithered reduction to 252 colours: each pixel lies within one
  // step of that palette (about 51) of the true-colour picture, on average much closer.
  const Abweichung abweichung = Vergleichen(pal8_, vorbild_);
  EXPECT_LE(abweichung.maximum, 51);
  EXPECT_LT(abweichung.mittel, 25);
  EXPECT_EQ(pal8_.format(), PixelFormat::k8);
  // Every other way of storing it must give exactly the same pixels.
  for (const std::string name : {"pal8-0.bmp", "pal8os2.bmp", "pal8rle.bmp", "pal8topdown.bmp",
                                 "pal8v4.bmp", "pal8v5.bmp"}) {
    EXPECT_TRUE(IstGleich(Lesen(Suite("g/" + name)), pal8_)) << name;
  }
}

TEST_F(BmpSuiteGut, OtherSizesAreCropsOrEveryOtherRow) {
  TESTDATEN_ERFORDERLICH();
  // Documented exceptions: these show the top-left part of the picture ...
  for (const std::string name : {"pal8w124.bmp", "pal8w125.bmp", "pal8w126.bmp"}) {
    const Bitmap bild = Lesen(Suite("g/" + name));
    EXPECT_EQ(bild.width(), 124 + (name[7] - '4')) << name;
    EXPECT_EQ(bild.height(), 61 + (name[7] - '4')) << name;
    const Abweichung abweichung = Vergleichen(bild, vorbild_);
    EXPECT_LE(abweichung.maximum, 51) << name;
    EXPECT_LT(abweichung.mittel, 25) << name;
  }
  // ... and this one, with pixels twice as high as wide, every other row.
  const Bitmap flach = Lesen(Suite("g/pal8nonsquare.bmp"));
  ASSERT_EQ(flach.width(), 127);
  ASSERT_EQ(flach.height(), 32);
  const Abweichung abweichung =
      Vergleichen(flach, [&](int32_t x, int32_t y) { return ReadPixel(vorbild_, x, 2 * y); });
  EXPECT_LE(abweichung.maximum, 51);
  EXPECT_LT(abweichung.mittel, 25);
}

TEST_F(BmpSuiteGut, GreyFilesShowTheBrightnessOfThePicture) {
  TESTDATEN_ERFORDERLICH();
  // Documented exceptions: grey palettes of 252 and 12 levels.
  const std::vector<std::pair<std::string, double>> dateien = {{"pal8gs.bmp", 8},
                                                               {"pal4gs.bmp", 12}};
  for (const auto& [name, mittel] : dateien) {
    const Bitmap bild = Lesen(Suite("g/" + name));
    const Abweichung abweichung = Vergleichen(bild, [&](int32_t x, int32_t y) {
      const Farbe farbe = ReadPixel(vorbild_, x, y);
      const auto grau =
          static_cast<uint8_t>(0.299 * farbe.red + 0.587 * farbe.green + 0.114 * farbe.blue + 0.5);
      return Farbe{grau, grau, grau};
    });
    EXPECT_LT(abweichung.mittel, mittel) << name;
  }
}

TEST_F(BmpSuiteGut, FewColourFilesAgreeWithEachOther) {
  TESTDATEN_ERFORDERLICH();
  // Documented exceptions: a 12-colour and a two-colour version of the picture. Their
  // encodings must agree with each other, and only palette colours may appear.
  const Bitmap pal4 = Lesen(Suite("g/pal4.bmp"));
  EXPECT_TRUE(IstGleich(Lesen(Suite("g/pal4rle.bmp")), pal4));
  std::set<uint8_t> indizes;
  for (int32_t y = 0; y < pal4.height(); ++y) {
    for (int32_t x = 0; x < pal4.width(); ++x) indizes.insert(pal4.row(y)[x]);
  }
  EXPECT_LE(indizes.size(), 12u);
  EXPECT_LT(*indizes.rbegin(), 12);

  // Black-first and white-first palettes give the same picture.
  const Bitmap pal1 = Lesen(Suite("g/pal1.bmp"));
  EXPECT_TRUE(IstGleich(Lesen(Suite("g/pal1wb.bmp")), pal1));
  // Other colours: the same pattern.
  const Bitmap bunt = Lesen(Suite("g/pal1bg.bmp"));
  const Farbe schwarzWird = ReadPixel(bunt, 0, 0);
  const bool ecke = ReadPixel(pal1, 0, 0) == Farbe{};
  int falsch = 0;
  for (int32_t y = 0; y < pal1.height(); ++y) {
    for (int32_t x = 0; x < pal1.width(); ++x) {
      const bool schwarz = ReadPixel(pal1, x, y) == Farbe{};
      const bool wieEcke = ReadPixel(bunt, x, y) == schwarzWird;
      falsch += (schwarz == ecke) != wieEcke;
    }
  }
  EXPECT_EQ(falsch, 0);
}

TEST_F(BmpSuiteGut, EveryFileOfTheGoodSetDecodes) {
  TESTDATEN_ERFORDERLICH();
  int anzahl = 0;
  for (const auto& eintrag : std::filesystem::directory_iterator(Suite("g"))) {
    Bitmap bild;
    EXPECT_TRUE(ReadBmpFile(bild, eintrag.path().string())) << eintrag.path();
    ++anzahl;
  }
  EXPECT_EQ(anzahl, 27);
}

TEST_F(BmpSuiteGut, QuestionableFilesWeUnderstandDecodeCorrectly) {
  TESTDATEN_ERFORDERLICH();
  for (const std::string name :
       {"pal8offs.bmp", "pal8oversizepal.bmp", "pal8os2sp.bmp", "pal8os2-hs.bmp", "pal8os2-sz.bmp",
        "pal8os2v2.bmp", "pal8os2v2-16.bmp", "pal8os2v2-sz.bmp", "pal8os2v2-40sz.bmp"}) {
    EXPECT_TRUE(IstGleich(Lesen(Suite("q/" + name)), pal8_)) << name;
  }
  const std::vector<std::pair<std::string, int>> dateien = {
      {"rgb32-xbgr.bmp", 0},    {"rgb32h52.bmp", 0},   {"rgb32fakealpha.bmp", 0},
      {"rgb24largepal.bmp", 0}, {"rgb24prof.bmp", 0},  {"rgb24lprof.bmp", 0},
      {"rgb32-111110.bmp", 1},  {"rgb32-7187.bmp", 1}, {"rgb16faketrns.bmp", 4},
      {"rgba16-5551.bmp", 4}};
  for (const auto& [name, toleranz] : dateien) {
    EXPECT_LE(Vergleichen(Lesen(Suite("q/" + name)), vorbild_).maximum, toleranz) << name;
  }
}

TEST(BmpSuiteSchlecht, BrokenAndUnusualFilesAreDecodedOrRefusedSafely) {
  TESTDATEN_ERFORDERLICH();
  // Run under the address sanitizer this also proves that nothing is read out of bounds.
  for (const std::string ordner : {"b", "q", "x"}) {
    for (const auto& eintrag : std::filesystem::directory_iterator(Suite(ordner))) {
      Bitmap bild;
      if (ReadBmpFile(bild, eintrag.path().string())) {
        EXPECT_FALSE(bild.empty()) << eintrag.path();
      } else {
        EXPECT_TRUE(bild.empty()) << eintrag.path();
      }
    }
  }
}

TEST(BmpSuiteSchlecht, LiesAndUnsupportedCodingsAreRefused) {
  TESTDATEN_ERFORDERLICH();
  for (const std::string name :
       {"b/badbitcount.bmp", "b/badheadersize.bmp", "b/badplanes.bmp", "b/badwidth.bmp",
        "b/reallybig.bmp", "b/rletopdown.bmp", "b/shortfile.bmp", "q/rgb24jpeg.bmp",
        "q/rgb24png.bmp", "q/rgb24rle24.bmp", "q/pal1huffmsb.bmp", "q/rgba64.bmp", "x/ba-bm.bmp"}) {
    Bitmap bild = testing::Einfarbig(3, 2, Farbe{1, 2, 3});
    EXPECT_FALSE(ReadBmpFile(bild, Suite(name))) << name;
    // A failed read leaves the bitmap as it was.
    EXPECT_EQ(bild.width(), 3) << name;
    EXPECT_EQ(ReadPixel(bild, 2, 1), (Farbe{1, 2, 3})) << name;
  }
}

TEST(BmpLeser, EveryCutOffFileIsRefusedOrDecodedWithinItsBytes) {
  TESTDATEN_ERFORDERLICH();
  // Cut the files at every length in the headers and palette and at many lengths in the
  // pixels: an uncompressed file missing pixel bytes must be refused.
  for (const std::string name : {"g/pal1.bmp", "g/pal4rle.bmp", "g/pal8os2.bmp", "g/pal8v5.bmp",
                                 "g/pal8rle.bmp", "g/rgb16-565.bmp", "g/rgb24.bmp", "g/rgb32bf.bmp",
                                 "q/rgba32h56.bmp", "q/pal8os2v2-16.bmp"}) {
    const std::vector<uint8_t> bytes = Bytes(Suite(name));
    ASSERT_FALSE(bytes.empty()) << name;
    const bool lauflaengen = name.find("rle") != std::string::npos;
    for (size_t laenge = 0; laenge < bytes.size(); laenge += laenge < 1200 ? 1 : 61) {
      Bitmap bild;
      const bool gelesen = DecodeGenau(bild, bytes, laenge);
      if (!lauflaengen) {
        EXPECT_FALSE(gelesen) << name << " cut to " << laenge;
      }
    }
    Bitmap ganz;
    EXPECT_TRUE(DecodeGenau(ganz, bytes, bytes.size())) << name;
  }
}

TEST(BmpLeser, FilesAndBytesInMemoryDecodeAlike) {
  TESTDATEN_ERFORDERLICH();
  // Plain rows are read from the file straight into the picture, everything else from
  // the whole file in memory; both ways must agree on every file of the suite.
  for (const std::string ordner : {"g", "q", "b", "x"}) {
    for (const auto& eintrag : std::filesystem::directory_iterator(Suite(ordner))) {
      const std::vector<uint8_t> bytes = Bytes(eintrag.path().string());
      Bitmap ausDatei;
      Bitmap ausSpeicher;
      const bool datei = ReadBmpFile(ausDatei, eintrag.path().string());
      ASSERT_EQ(datei, DecodeGenau(ausSpeicher, bytes, bytes.size())) << eintrag.path();
      if (datei) {
        EXPECT_EQ(ausDatei.format(), ausSpeicher.format()) << eintrag.path();
        EXPECT_TRUE(IstGleich(ausDatei, ausSpeicher)) << eintrag.path();
      }
    }
  }
  // A cut-off file of plain rows is refused on the direct way too.
  const testing::TempFolder temp;
  const std::vector<uint8_t> ganz = Bytes(Suite("g/rgb24.bmp"));
  for (const size_t weniger : {1u, 3u, 400u}) {
    testing::WriteWholeFile(temp / "kurz.bmp",
                            std::string(ganz.begin(), ganz.end() - static_cast<long>(weniger)));
    Bitmap bild;
    // One missing byte is only the last row's padding (127 × 3 = 381 of 384 bytes).
    EXPECT_EQ(ReadBmpFile(bild, temp / "kurz.bmp"), weniger <= 3) << weniger;
  }
}

TEST(BmpLeser, DamagedHeadersNeverLeadOutOfBounds) {
  TESTDATEN_ERFORDERLICH();
  // Deterministic random damage to the first bytes of several files.
  std::mt19937 zufall(4711);
  for (const std::string name : {"g/pal4.bmp", "g/pal8rle.bmp", "g/pal4rle.bmp", "g/pal8os2.bmp",
                                 "g/rgb16-565.bmp", "g/rgb32bf.bmp", "g/pal8v5.bmp"}) {
    const std::vector<uint8_t> original = Bytes(Suite(name));
    for (int versuch = 0; versuch < 120; ++versuch) {
      std::vector<uint8_t> bytes = original;
      const int stellen = 1 + static_cast<int>(zufall() % 4);
      for (int i = 0; i < stellen; ++i) {
        const size_t stelle = zufall() % std::min<size_t>(bytes.size(), 160);
        bytes[stelle] = static_cast<uint8_t>(zufall());
      }
      Bitmap bild;
      DecodeGenau(bild, bytes, bytes.size());
    }
    // Damage in the run-length data itself.
    if (name.find("rle") != std::string::npos) {
      for (int versuch = 0; versuch < 120; ++versuch) {
        std::vector<uint8_t> bytes = original;
        for (int i = 0; i < 8; ++i) {
          const size_t stelle = 120 + zufall() % (bytes.size() - 120);
          bytes[stelle] = static_cast<uint8_t>(zufall());
        }
        Bitmap bild;
        DecodeGenau(bild, bytes, bytes.size());
      }
    }
  }
}

// A bottom-up 8-bit run-length file of the given size and data, with a palette of two
// entries: 0 blue, 1 red.
std::vector<uint8_t> Rle8Datei(int32_t breite, int32_t hoehe, const std::vector<uint8_t>& daten) {
  constexpr size_t kKopf = 14 + 40 + 8;
  std::vector<uint8_t> bytes(kKopf + daten.size());
  std::copy(daten.begin(), daten.end(), bytes.begin() + kKopf);
  auto setze32 = [&](size_t stelle, uint32_t wert) {
    for (int i = 0; i < 4; ++i) bytes[stelle + i] = static_cast<uint8_t>(wert >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  setze32(10, kKopf);
  setze32(14, 40);
  setze32(18, static_cast<uint32_t>(breite));
  setze32(22, static_cast<uint32_t>(hoehe));
  bytes[26] = 1;    // planes
  bytes[28] = 8;    // bits per pixel
  setze32(30, 1);   // RLE8
  setze32(46, 2);   // colours used
  bytes[54] = 255;  // palette 0: blue
  bytes[60] = 255;  // palette 1: red
  return bytes;
}

TEST(BmpLeser, RunLengthCodesPlacePixelsAndLeaveSkippedOnesAtIndexZero) {
  // 4 × 3 picture, stored from the bottom row up:
  //   bottom row: a run of two 1s, then end of line
  //   middle row: delta (+1 right, +1 up) skips it and the start of the top row
  //   top row (from x = 1): two literal pixels 1, 1 (padded), then end of picture
  const std::vector<uint8_t> daten = {2, 1, 0, 0,        // run, end of line
                                      0, 2, 1, 1,        // delta
                                      0, 3, 1, 0, 1, 0,  // three literal pixels + pad
                                      0, 1};             // end of picture
  const std::vector<uint8_t> bytes = Rle8Datei(4, 3, daten);
  Bitmap bild;
  ASSERT_TRUE(DecodeGenau(bild, bytes, bytes.size()));
  ASSERT_EQ(bild.format(), PixelFormat::k8);
  const std::vector<std::vector<uint8_t>> erwartet = {{0, 1, 0, 1}, {0, 0, 0, 0}, {1, 1, 0, 0}};
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(bild.row(y)[x], erwartet[y][x]) << x << "," << y;
  }
  EXPECT_EQ(ReadPixel(bild, 0, 0), (Farbe{255, 0, 0}));  // palette entry 0: blue
  EXPECT_EQ(ReadPixel(bild, 1, 0), (Farbe{0, 0, 255}));  // palette entry 1: red
  EXPECT_EQ(bild.palette()[2].blue, 0);                  // entries not in the file: black
}

TEST(BmpLeser, RunsPastTheEdgeAreClippedAndCutDataIsRefused) {
  // A run of 200 pixels in a 4-pixel row, a delta far beyond the picture.
  const std::vector<uint8_t> ueberlang = Rle8Datei(4, 2, {200, 1, 0, 2, 250, 250});
  Bitmap bild;
  ASSERT_TRUE(DecodeGenau(bild, ueberlang, ueberlang.size()));
  EXPECT_EQ(bild.row(1)[3], 1);
  // The data ends before the picture is complete and without its end code.
  const std::vector<uint8_t> abgeschnitten = Rle8Datei(4, 2, {4, 1, 0, 0, 0, 4, 1});
  EXPECT_FALSE(DecodeGenau(bild, abgeschnitten, abgeschnitten.size()));
}

TEST(BmpLeser, ReadsWhatTheTestWriterWrites) {
  const testing::TempFolder ordner;
  Bitmap bild(5, 3, PixelFormat::k32);
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 5; ++x) {
      WritePixel(bild, x, y, Farbe{static_cast<uint8_t>(40 * x), static_cast<uint8_t>(80 * y), 7});
    }
  }
  testing::WriteTestBmp(ordner / "bild.bmp", bild);
  Bitmap gelesen;
  ASSERT_TRUE(ReadBmpFile(gelesen, ordner / "bild.bmp"));
  EXPECT_EQ(gelesen.format(), PixelFormat::k24);
  EXPECT_TRUE(IstGleich(gelesen, bild));
}

TEST(BmpLeser, MissingFilesFoldersAndEmptyFilesAreRefused) {
  const testing::TempFolder ordner;
  testing::WriteWholeFile(ordner / "leer.bmp", "");
  Bitmap bild;
  EXPECT_FALSE(ReadBmpFile(bild, ordner / "fehlt.bmp"));
  EXPECT_FALSE(ReadBmpFile(bild, ordner / "leer.bmp"));
  EXPECT_FALSE(ReadBmpFile(bild, ordner.path()));
}

TEST(BmpLeser, RealWorldFilesDecode) {
  TESTDATEN_ERFORDERLICH();
  for (const std::string name : {"shira_bird8.bmp", "vgl_6434_0018a.bmp", "vgl_6548_0026a.bmp"}) {
    Bitmap bild;
    ASSERT_TRUE(ReadBmpFile(bild, TestdataPath("jpeg/" + name))) << name;
    EXPECT_FALSE(bild.empty());
  }
  Bitmap vogel;
  ASSERT_TRUE(ReadBmpFile(vogel, TestdataPath("jpeg/shira_bird8.bmp")));
  EXPECT_EQ(vogel.width(), 192);
  EXPECT_EQ(vogel.height(), 144);
}

}  // namespace
}  // namespace tilvendo
