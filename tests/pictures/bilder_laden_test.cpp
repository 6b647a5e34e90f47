#include "pictures/bilder_laden.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "bild_vergleich.h"
#include "pictures/bild_einpassen.h"
#include "platform/stretch_copy.h"
#include "support/bild_dateien.h"
#include "support/bmp_bauer.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::Einfarbig;
using testing::TempFolder;
using testing::Vergleichen;

constexpr Farbe kGruen{40, 200, 30};  // blue, green, red
constexpr Farbe kGrau{90, 90, 90};

class BilderLaden : public ::testing::Test {
 protected:
  BilderLaden() {
    testing::WriteTestJpeg(ordner_ / "gruen.jpg", Einfarbig(40, 30, kGruen), 95);
    testing::WriteTestBmp(ordner_ / "gruen.bmp", Einfarbig(40, 30, kGruen));
  }

  void Kopieren(const std::string& von, const std::string& nach) const {
    testing::WriteWholeFile(ordner_ / nach, testing::ReadWholeFile(ordner_ / von));
  }

  // The target of the tile loader: grey everywhere.
  static Bitmap Ziel() { return Einfarbig(20, 20, kGrau); }

  const TempFolder ordner_;
  const TempFolder arbeitspfad_;
};

// Any letter case of an extension is known by name; a JPEG standing upright is read as
// stored, 24 bits.
TEST_F(BilderLaden, WholePicturesByExtensionInAnyCase) {
  Kopieren("gruen.jpg", "a.JpEg");
  Kopieren("gruen.bmp", "f.BMP");
  Bitmap bild;
  ASSERT_TRUE(LoadWholePicture(bild, ordner_ / "a.JpEg"));
  EXPECT_EQ(bild.format(), PixelFormat::k24);
  EXPECT_LE(testing::Farbabstand(ReadPixel(bild, 20, 15), kGruen), 4);
  ASSERT_TRUE(LoadWholePicture(bild, ordner_ / "f.BMP"));
  EXPECT_EQ(ReadPixel(bild, 39, 29), kGruen);
}

// What cannot be read leaves the bitmap or the tile's target as it was. Unknown
// extensions are not read even when the content is a picture.
TEST_F(BilderLaden, WhatCannotBeReadIsReportedAndLeavesTheTargetAlone) {
  Kopieren("gruen.jpg", "bild.gif");
  testing::WriteWholeFile(ordner_ / "kaputt.jpg", "kein Bild");
  testing::WriteWholeFile(ordner_ / "kaputt.bmp", "BM kein Bild");
  const std::string ganz = testing::ReadWholeFile(ordner_ / "gruen.bmp");
  testing::WriteWholeFile(ordner_ / "kurz.bmp", ganz.substr(0, ganz.size() - 100));
  Bitmap bild = Einfarbig(2, 2, kGrau);
  for (const std::string name : {"bild.gif", "kaputt.jpg", "kaputt.bmp", "fehlt.jpg", "ohne"}) {
    EXPECT_FALSE(LoadWholePicture(bild, ordner_ / name)) << name;
    EXPECT_EQ(bild.width(), 2) << name;
  }
  // A dot in a folder name is no extension.
  EXPECT_FALSE(LoadWholePicture(bild, ordner_.path() + "ordner.jpg/bild"));
  for (const std::string name : {"kaputt.jpg", "kurz.bmp", "fehlt.bmp"}) {
    Bitmap ziel = Ziel();
    EXPECT_FALSE(LoadTilePicture(ziel, Rect{0, 0, 20, 20}, ordner_ / name, arbeitspfad_.path()))
        << name;
    EXPECT_EQ(Vergleichen(ziel, Ziel()).maximum, 0) << name;
  }
}

TEST_F(BilderLaden, TilePictureOfTheTemporaryFileIsNeverUsed) {
  Kopieren("gruen.bmp", "x.bmp");
  testing::WriteWholeFile(arbeitspfad_ / kTemporaeresBild,
                          testing::ReadWholeFile(ordner_ / "gruen.bmp"));
  Bitmap ziel = Ziel();
  EXPECT_FALSE(LoadTilePicture(ziel, Rect{0, 0, 20, 20}, arbeitspfad_ / kTemporaeresBild,
                               arbeitspfad_.path()));
  EXPECT_EQ(Vergleichen(ziel, Ziel()).maximum, 0);
  // The same name in another folder is an ordinary picture.
  testing::WriteWholeFile(ordner_ / kTemporaeresBild, testing::ReadWholeFile(ordner_ / "x.bmp"));
  EXPECT_TRUE(
      LoadTilePicture(ziel, Rect{0, 0, 20, 20}, ordner_ / kTemporaeresBild, arbeitspfad_.path()));
  EXPECT_EQ(ReadPixel(ziel, 10, 10), kGruen);
}

bool GleicheBytes(const Bitmap& a, const Bitmap& b) {
  if (a.width() != b.width() || a.height() != b.height() || a.format() != b.format()) return false;
  const size_t bytes = static_cast<size_t>(a.width()) * BytesPerPixel(a.format());
  for (int32_t y = 0; y < a.height(); ++y) {
    if (std::memcmp(a.row(y), b.row(y), bytes) != 0) return false;
  }
  return true;
}

TEST_F(BilderLaden, TilePictureGivesTheSameBytesAsLoadingWholeAndFitting) {
  // The tile loader keeps only the pixels the reduction picks while decoding; the result
  // must be exactly that of the whole picture drawn with BildEinpassen into its rectangle
  // only, down to the fourth byte of 32-bit bitmaps, for every coding and row order.
  testing::WriteTestJpeg(ordner_ / "farbe.jpg", testing::Rauschen(457, 331, PixelFormat::k24));
  testing::WriteTestJpeg(ordner_ / "grau.jpg", testing::Rauschen(457, 331, PixelFormat::k8));
  testing::JpegArt progressiv;
  progressiv.progressiv = true;
  testing::WriteTestJpeg(ordner_ / "progressiv.jpg", testing::Rauschen(301, 157, PixelFormat::k24),
                         progressiv);
  const std::vector<std::pair<std::string, testing::BmpAufbau>> bitmaps = {
      {"rgb24.bmp", {.bits = 24}},
      {"oben32.bmp", {.bits = 32, .vonOben = true}},
      {"feld16.bmp",
       {.bits = 16, .kompression = testing::kBmpBitfelder, .masken = {0xF800, 0x07E0, 0x001F, 0}}},
      {"feld32.bmp",
       {.kopfGroesse = 56,
        .bits = 32,
        .kompression = testing::kBmpAlphaBitfelder,
        .masken = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}},
      {"index1.bmp", {.bits = 1}},
      {"index8.bmp", {.bits = 8}},
      {"rle8.bmp", {.bits = 8, .kompression = testing::kBmpRle8}},
      {"rle4.bmp", {.bits = 4, .kompression = testing::kBmpRle4}}};
  std::vector<std::string> namen = {"farbe.jpg", "grau.jpg", "progressiv.jpg"};
  for (const auto& [name, aufbau] : bitmaps) {
    const int bits = aufbau.bits <= 8 ? aufbau.bits : 8;
    Bitmap vorbild = testing::BmpVorbild(bits);
    if (aufbau.bits > 8) {
      Bitmap farbig(vorbild.width(), vorbild.height(), PixelFormat::k24);
      StretchCopy(vorbild, farbig, Rect{0, 0, vorbild.width(), vorbild.height()});
      vorbild = std::move(farbig);
    }
    testing::WriteWholeFile(ordner_ / name, testing::BmpBauen(vorbild, aufbau));
    namen.push_back(name);
  }
  const std::vector<Rect> rechtecke = {
      {0, 0, 10, 10},   {3, 4, 63, 49},   {0, 0, 1, 1},     {0, 0, 40, 300},  // one axis only
      {-5, -5, 15, 15}, {10, 10, 90, 90}, {0, 0, 305, 221},                   // factor 1.5
      {0, 0, 600, 400}, {5, 5, 5, 20}};                                       // larger, empty
  for (const std::string& name : namen) {
    Bitmap ganz;
    ASSERT_TRUE(LoadWholePicture(ganz, ordner_ / name)) << name;
    for (const Rect& rect : rechtecke) {
      Bitmap erwartet(80, 80, PixelFormat::k32);
      BildEinpassen(erwartet, rect, ganz);
      Bitmap ziel(80, 80, PixelFormat::k32);
      ASSERT_TRUE(LoadTilePicture(ziel, rect, ordner_ / name, arbeitspfad_.path())) << name;
      EXPECT_TRUE(GleicheBytes(ziel, erwartet))
          << name << " " << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
    }
  }
}

TEST_F(BilderLaden, TilePictureTakesEveryOtherExtensionAsJpeg) {
  Kopieren("gruen.jpg", "gruen.jfif");
  Bitmap ziel = Ziel();
  EXPECT_TRUE(
      LoadTilePicture(ziel, Rect{0, 0, 20, 20}, ordner_ / "gruen.jfif", arbeitspfad_.path()));
  EXPECT_LE(testing::Farbabstand(ReadPixel(ziel, 10, 10), kGruen), 4);
}

}  // namespace
}  // namespace tilvendo
