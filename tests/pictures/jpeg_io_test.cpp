#include "pictures/jpeg_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "bild_vergleich.h"
#include "platform/rect.h"
#include "speicher_testbilder.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::Abweichung;
using testing::Einfarbig;
using testing::TempFolder;
using testing::Vergleichen;
using testing::Verlauf;
using testing::WriteTestJpeg;

constexpr Farbe kRosa{120, 80, 230};  // blue, green, red

bool IstUnveraendert(const Bitmap& bild, const Bitmap& vorher) {
  return bild.format() == vorher.format() && bild.width() == vorher.width() &&
         bild.height() == vorher.height() && Vergleichen(bild, vorher).maximum == 0;
}

// Every coding a camera or a program may write, in colour and in grey.
struct Kodierung {
  const char* name;
  testing::JpegArt art;
  bool grau = false;
};
const std::vector<Kodierung> kKodierungen = {
    {"baseline", {}},
    {"progressive", {.progressiv = true}},
    {"arithmetic", {.arithmetisch = true}},
    {"progressive arithmetic", {.progressiv = true, .arithmetisch = true}},
    {"restart every row", {.neustartZeilen = 1}},
    {"progressive, restart every other row", {.progressiv = true, .neustartZeilen = 2}},
    {"grey", {}, true},
    {"grey progressive arithmetic", {.progressiv = true, .arithmetisch = true}, true},
};

// A picture of odd size in the given coding; `vorlage` receives what it shows.
void KodiertSchreiben(const std::string& path, const Kodierung& kodierung, Bitmap& vorlage) {
  vorlage = Verlauf(101, 51);
  if (kodierung.grau) {
    Bitmap grau(101, 51, PixelFormat::k8);
    for (int i = 0; i < 256; ++i) {
      const auto stufe = static_cast<uint8_t>(i);
      grau.palette()[i] = {stufe, stufe, stufe, 0};
    }
    for (int32_t y = 0; y < 51; ++y) {
      for (int32_t x = 0; x < 101; ++x) grau.row(y)[x] = ReadPixel(vorlage, x, y).green;
    }
    vorlage = std::move(grau);
  }
  WriteTestJpeg(path, vorlage, kodierung.art);
}

TEST(JpegLeser, EveryCodingDecodesCloseToItsOriginalAtEveryScale) {
  const TempFolder ordner;
  // Reduced sizes are rounded up; a reduced pixel shows about the middle of its block.
  const std::vector<Size> groessen = {{101, 51}, {51, 26}, {26, 13}, {13, 7}};
  for (const Kodierung& kodierung : kKodierungen) {
    Bitmap vorlage;
    KodiertSchreiben(ordner / "bild.jpg", kodierung, vorlage);
    for (int scale = 0; scale <= kJpegScaleMax; ++scale) {
      Bitmap bild;
      ASSERT_TRUE(ReadJpegFile(bild, ordner / "bild.jpg", true, scale)) << kodierung.name;
      EXPECT_EQ((Size{bild.width(), bild.height()}), groessen[scale]) << kodierung.name;
      EXPECT_EQ(bild.format(), kodierung.grau ? PixelFormat::k8 : PixelFormat::k24);
      const int32_t f = 1 << scale;
      const Abweichung abweichung = Vergleichen(bild, [&](int32_t x, int32_t y) {
        return ReadPixel(vorlage, std::min(x * f + f / 2, 100), std::min(y * f + f / 2, 50));
      });
      EXPECT_LT(abweichung.mittel, 3) << kodierung.name << " " << scale;
      EXPECT_LE(abweichung.maximum, 16) << kodierung.name << " " << scale;
    }
  }
  Bitmap bild;
  EXPECT_FALSE(ReadJpegFile(bild, ordner / "bild.jpg", true, kJpegScaleMax + 1));
  EXPECT_FALSE(ReadJpegFile(bild, ordner / "bild.jpg", true, -1));
}

TEST(JpegLeser, PixelFormatRules) {
  const TempFolder ordner;
  WriteTestJpeg(ordner / "farbe.jpg", Einfarbig(8, 8, kRosa));
  Bitmap grauVorlage(8, 8, PixelFormat::k8);
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 8; ++x) grauVorlage.row(y)[x] = 100;
  }
  WriteTestJpeg(ordner / "grau.jpg", grauVorlage);

  // A 32-bit bitmap may not take the picture unless its format may change.
  Bitmap bild = Einfarbig(3, 3, Farbe{1, 2, 3});
  const Bitmap vorher = bild.Clone();
  EXPECT_FALSE(ReadJpegFile(bild, ordner / "farbe.jpg", false, 0));
  EXPECT_TRUE(IstUnveraendert(bild, vorher));
  ASSERT_TRUE(ReadJpegFile(bild, ordner / "farbe.jpg", true, 0));
  EXPECT_EQ(bild.format(), PixelFormat::k24);
  // Row padding gets defined contents (8 × 3 bytes need none; 5 × 3 do).
  WriteTestJpeg(ordner / "schmal.jpg", Einfarbig(5, 3, kRosa));
  ASSERT_TRUE(ReadJpegFile(bild, ordner / "schmal.jpg", true, 0));
  EXPECT_EQ(bild.row(0)[15], 0);

  // Grey files become 8-bit with a grey palette.
  ASSERT_TRUE(ReadJpegFile(bild, ordner / "grau.jpg", true, 0));
  EXPECT_EQ(bild.format(), PixelFormat::k8);
  EXPECT_LE(testing::Farbabstand(ReadPixel(bild, 4, 4), Farbe{100, 100, 100}), 1);

  // A fixed 8-bit bitmap reads a colour file as grey ...
  Bitmap grau(1, 1, PixelFormat::k8);
  ASSERT_TRUE(ReadJpegFile(grau, ordner / "farbe.jpg", false, 0));
  EXPECT_EQ(grau.format(), PixelFormat::k8);
  const Farbe g = ReadPixel(grau, 4, 4);
  const double helligkeit = 0.299 * kRosa.red + 0.587 * kRosa.green + 0.114 * kRosa.blue;
  EXPECT_NEAR(g.green, helligkeit, 4);
  EXPECT_EQ(g.red, g.blue);
  // ... and a fixed 24-bit bitmap a grey file as three equal channels.
  Bitmap farbig(1, 1, PixelFormat::k24);
  ASSERT_TRUE(ReadJpegFile(farbig, ordner / "grau.jpg", false, 0));
  EXPECT_EQ(farbig.format(), PixelFormat::k24);
  const Farbe f = ReadPixel(farbig, 4, 4);
  EXPECT_EQ(f.red, f.green);
  EXPECT_EQ(f.green, f.blue);
  EXPECT_NEAR(f.green, 100, 1);
}

TEST(JpegLeser, BrokenMissingAndTwelveBitFilesAreRefusedQuietlyAndTheBitmapKept) {
  const TempFolder ordner;
  WriteTestJpeg(ordner / "ganz.jpg", Verlauf(64, 48));
  const std::string ganz = testing::ReadTestFile(ordner / "ganz.jpg");
  testing::WriteWholeFile(ordner / "kopf.jpg", ganz.substr(0, 300));
  testing::WriteWholeFile(ordner / "leer.jpg", "");
  testing::WriteWholeFile(ordner / "text.jpg", "kein Bild");
  // 12-bit samples: an 8-bit file whose frame header claims 12 bits.
  std::string zwoelf = ganz;
  const size_t rahmen = zwoelf.find("\xFF\xC0");
  ASSERT_NE(rahmen, std::string::npos);
  ASSERT_EQ(zwoelf[rahmen + 4], 8);  // marker, two length bytes, precision
  zwoelf[rahmen + 4] = 12;
  testing::WriteWholeFile(ordner / "zwoelf.jpg", zwoelf);
  // Only the end marker missing: every row is there, so the picture is used.
  testing::WriteWholeFile(ordner / "ohne_ende.jpg", ganz.substr(0, ganz.size() - 2));

  Bitmap bild = Einfarbig(2, 2, kRosa);
  const Bitmap vorher = bild.Clone();
  for (const std::string name : {"kopf.jpg", "leer.jpg", "text.jpg", "fehlt.jpg", "zwoelf.jpg"}) {
    EXPECT_FALSE(ReadJpegFile(bild, ordner / name, true, 0)) << name;
    EXPECT_TRUE(IstUnveraendert(bild, vorher)) << name;
  }
  EXPECT_FALSE(ReadJpegFile(bild, ordner.path(), true, 0));
  for (int scale = 0; scale <= kJpegScaleMax; ++scale) {
    EXPECT_TRUE(ReadJpegFile(bild, ordner / "ohne_ende.jpg", true, scale)) << scale;
  }
  EXPECT_EQ(bild.width(), 8);
  Bitmap grau(40, 40, PixelFormat::k8);
  WriteTestJpeg(ordner / "grau.jpg", grau);
  const std::string grauGanz = testing::ReadTestFile(ordner / "grau.jpg");
  testing::WriteWholeFile(ordner / "grau_ohne_ende.jpg", grauGanz.substr(0, grauGanz.size() - 2));
  EXPECT_TRUE(ReadJpegFile(bild, ordner / "grau_ohne_ende.jpg", true, 0));

  // Every coding cut off in its data.
  for (const Kodierung& kodierung : kKodierungen) {
    Bitmap vorlage;
    KodiertSchreiben(ordner / "voll.jpg", kodierung, vorlage);
    const std::string voll = testing::ReadTestFile(ordner / "voll.jpg");
    for (const size_t viertel : {1u, 2u, 3u}) {
      testing::WriteWholeFile(ordner / "kurz.jpg", voll.substr(0, voll.size() * viertel / 4));
      EXPECT_FALSE(ReadJpegFile(bild, ordner / "kurz.jpg", true, 0))
          << kodierung.name << " " << viertel << "/4";
    }
  }
}

TEST(JpegLeser, SeveralThreadsDecodeAtOnce) {
  const TempFolder ordner;
  WriteTestJpeg(ordner / "ganz.jpg", Verlauf(64, 48));
  const std::string ganz = testing::ReadTestFile(ordner / "ganz.jpg");
  testing::WriteWholeFile(ordner / "halb.jpg", ganz.substr(0, ganz.size() / 2));
  WriteTestJpeg(ordner / "arithmetisch.jpg", Verlauf(227, 149),
                {.progressiv = true, .arithmetisch = true});
  Bitmap muster;
  ASSERT_TRUE(ReadJpegFile(muster, ordner / "arithmetisch.jpg", true, 0));

  constexpr int kFaeden = 4;
  std::vector<int> fehler(kFaeden, 0);
  std::vector<std::thread> faeden;
  for (int f = 0; f < kFaeden; ++f) {
    faeden.emplace_back([&, f] {
      for (int i = 0; i < 5; ++i) {
        Bitmap bild;
        if (!ReadJpegFile(bild, ordner / "arithmetisch.jpg", true, 0) ||
            Vergleichen(bild, muster).maximum != 0) {
          ++fehler[f];
        }
        if (ReadJpegFile(bild, ordner / "halb.jpg", true, 0)) ++fehler[f];
      }
    });
  }
  for (std::thread& faden : faeden) faden.join();
  for (int f = 0; f < kFaeden; ++f) EXPECT_EQ(fehler[f], 0) << f;
}

}  // namespace
}  // namespace tilvendo
