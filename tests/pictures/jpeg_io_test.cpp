#include "pictures/jpeg_io.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "bild_vergleich.h"
#include "platform/rect.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::Abweichung;
using testing::Einfarbig;
using testing::TempFolder;
using testing::TestdataPath;
using testing::Vergleichen;
using testing::WriteTestJpeg;

constexpr Farbe kRosa{120, 80, 230};  // blue, green, red

// A binary PPM ("P6", maximum 255) as a 24-bit picture; empty when it is not one.
Bitmap PpmLesen(const std::string& path) {
  const std::string inhalt = testing::ReadWholeFile(path);
  std::istringstream kopf(inhalt);
  std::string magie;
  int32_t breite = 0;
  int32_t hoehe = 0;
  int maximum = 0;
  kopf >> magie >> breite >> hoehe >> maximum;
  if (!kopf || magie != "P6" || maximum != 255 || breite <= 0 || hoehe <= 0) return {};
  const size_t start = static_cast<size_t>(kopf.tellg()) + 1;  // one white-space byte
  if (inhalt.size() < start + static_cast<size_t>(breite) * hoehe * 3) return {};
  Bitmap bild(breite, hoehe, PixelFormat::k24);
  const auto* rgb = reinterpret_cast<const uint8_t*>(inhalt.data() + start);
  for (int32_t y = 0; y < hoehe; ++y) {
    for (int32_t x = 0; x < breite; ++x, rgb += 3)
      WritePixel(bild, x, y, Farbe{rgb[2], rgb[1], rgb[0]});
  }
  return bild;
}

// A smooth colourful picture, so that JPEG keeps it close.
Bitmap Verlauf(int32_t breite, int32_t hoehe) {
  Bitmap bild(breite, hoehe, PixelFormat::k24);
  for (int32_t y = 0; y < hoehe; ++y) {
    for (int32_t x = 0; x < breite; ++x) {
      WritePixel(bild, x, y,
                 Farbe{static_cast<uint8_t>(255 * x / breite),
                       static_cast<uint8_t>(255 * y / hoehe), static_cast<uint8_t>(128)});
    }
  }
  return bild;
}

// A four-channel (CMYK) JPEG, which the program does not read.
void CmykJpegSchreiben(const std::string& path, int32_t breite, int32_t hoehe) {
  std::FILE* datei = std::fopen(path.c_str(), "wb");
  ASSERT_NE(datei, nullptr);
  jpeg_compress_struct info;
  jpeg_error_mgr fehler;
  info.err = jpeg_std_error(&fehler);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, datei);
  info.image_width = static_cast<JDIMENSION>(breite);
  info.image_height = static_cast<JDIMENSION>(hoehe);
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> zeile(static_cast<size_t>(breite) * 4, 100);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = zeile.data();
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(datei);
}

bool IstUnveraendert(const Bitmap& bild, const Bitmap& vorher) {
  return bild.format() == vorher.format() && bild.width() == vorher.width() &&
         bild.height() == vorher.height() && Vergleichen(bild, vorher).maximum == 0;
}

TEST(JpegLeser, ReferencePicturesDecodeCloseToTheirOriginal) {
  TESTDATEN_ERFORDERLICH();
  const Bitmap original = PpmLesen(TestdataPath("jpeg/testorig.ppm"));
  ASSERT_EQ(original.width(), 227);
  ASSERT_EQ(original.height(), 149);
  // The same picture, Huffman-coded baseline and arithmetic-coded.
  for (const std::string name : {"testorig.jpg", "testimgari.jpg", "testimgint.jpg"}) {
    Bitmap bild;
    ASSERT_TRUE(ReadJpegFile(bild, TestdataPath("jpeg/" + name), true, 0)) << name;
    ASSERT_EQ(bild.format(), PixelFormat::k24) << name;
    ASSERT_EQ(bild.width(), 227) << name;
    ASSERT_EQ(bild.height(), 149) << name;
    const Abweichung abweichung = Vergleichen(bild, original);
    EXPECT_LT(abweichung.mittel, 4) << name;
    EXPECT_LE(abweichung.maximum, 80) << name;
  }
}

TEST(JpegLeser, TwelveBitFilesAreRefusedAndTheBitmapKept) {
  TESTDATEN_ERFORDERLICH();
  Bitmap bild = Einfarbig(4, 3, kRosa);
  const Bitmap vorher = bild.Clone();
  EXPECT_FALSE(ReadJpegFile(bild, TestdataPath("jpeg/monkey12.jpg"), true, 0));
  EXPECT_TRUE(IstUnveraendert(bild, vorher));
}

TEST(JpegLeser, FourChannelFilesAreRefusedAndTheBitmapKept) {
  const TempFolder ordner;
  CmykJpegSchreiben(ordner / "cmyk.jpg", 16, 8);
  Bitmap bild = Einfarbig(4, 3, kRosa);
  const Bitmap vorher = bild.Clone();
  EXPECT_FALSE(ReadJpegFile(bild, ordner / "cmyk.jpg", true, 0));
  EXPECT_TRUE(IstUnveraendert(bild, vorher));
}

TEST(JpegLeser, ReducedSizesAreRoundedUp) {
  const TempFolder ordner;
  WriteTestJpeg(ordner / "verlauf.jpg", Verlauf(101, 51));
  const std::vector<Size> erwartet = {{101, 51}, {51, 26}, {26, 13}, {13, 7}};
  for (int scale = 0; scale <= kJpegScaleMax; ++scale) {
    Bitmap bild;
    ASSERT_TRUE(ReadJpegFile(bild, ordner / "verlauf.jpg", true, scale)) << scale;
    EXPECT_EQ((Size{bild.width(), bild.height()}), erwartet[scale]) << scale;
    EXPECT_EQ(bild.format(), PixelFormat::k24);
  }
  Bitmap bild;
  EXPECT_FALSE(ReadJpegFile(bild, ordner / "verlauf.jpg", true, 4));
  EXPECT_FALSE(ReadJpegFile(bild, ordner / "verlauf.jpg", true, -1));
}

TEST(JpegLeser, ColoursKeepTheirChannelsAndThePictureStandsUpright) {
  const TempFolder ordner;
  Bitmap vorlage = Einfarbig(32, 32, kRosa);
  for (int32_t y = 0; y < 16; ++y) {  // top half white
    for (int32_t x = 0; x < 32; ++x) WritePixel(vorlage, x, y, Farbe{255, 255, 255});
  }
  WriteTestJpeg(ordner / "bild.jpg", vorlage, 95);
  Bitmap bild;
  ASSERT_TRUE(ReadJpegFile(bild, ordner / "bild.jpg", true, 0));
  EXPECT_LE(testing::Farbabstand(ReadPixel(bild, 5, 5), Farbe{255, 255, 255}), 3);
  EXPECT_LE(testing::Farbabstand(ReadPixel(bild, 5, 28), kRosa), 4);
  // Row padding gets defined contents: 32 × 3 bytes need none, so try an odd width too.
  WriteTestJpeg(ordner / "schmal.jpg", Einfarbig(5, 3, kRosa));
  ASSERT_TRUE(ReadJpegFile(bild, ordner / "schmal.jpg", true, 0));
  EXPECT_EQ(bild.row(0)[15], 0);
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

TEST(JpegLeser, BrokenAndMissingFilesAreRefusedQuietly) {
  TESTDATEN_ERFORDERLICH();
  const TempFolder ordner;
  WriteTestJpeg(ordner / "ganz.jpg", Verlauf(64, 48));
  const std::string ganz = testing::ReadWholeFile(ordner / "ganz.jpg");
  testing::WriteWholeFile(ordner / "halb.jpg", ganz.substr(0, ganz.size() / 2));
  testing::WriteWholeFile(ordner / "kopf.jpg", ganz.substr(0, 300));
  testing::WriteWholeFile(ordner / "leer.jpg", "");
  testing::WriteWholeFile(ordner / "text.jpg", "kein Bild");
  // Only the end marker missing: every row is there, so the picture is used.
  testing::WriteWholeFile(ordner / "ohne_ende.jpg", ganz.substr(0, ganz.size() - 2));

  Bitmap bild = Einfarbig(2, 2, kRosa);
  const Bitmap vorher = bild.Clone();
  for (const std::string name : {"halb.jpg", "kopf.jpg", "leer.jpg", "text.jpg", "fehlt.jpg"}) {
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
  const std::string grauGanz = testing::ReadWholeFile(ordner / "grau.jpg");
  testing::WriteWholeFile(ordner / "grau_ohne_ende.jpg", grauGanz.substr(0, grauGanz.size() - 2));
  EXPECT_TRUE(ReadJpegFile(bild, ordner / "grau_ohne_ende.jpg", true, 0));

  // Cut-off reference files, Huffman- and arithmetic-coded.
  for (const std::string name : {"testorig.jpg", "testimgari.jpg"}) {
    const std::string referenz = testing::ReadWholeFile(TestdataPath("jpeg/" + name));
    testing::WriteWholeFile(ordner / "kurz.jpg", referenz.substr(0, referenz.size() * 3 / 4));
    EXPECT_FALSE(ReadJpegFile(bild, ordner / "kurz.jpg", true, 0)) << name;
  }
}

TEST(JpegLeser, SeveralThreadsDecodeAtOnce) {
  TESTDATEN_ERFORDERLICH();
  const TempFolder ordner;
  WriteTestJpeg(ordner / "ganz.jpg", Verlauf(64, 48));
  const std::string ganz = testing::ReadWholeFile(ordner / "ganz.jpg");
  testing::WriteWholeFile(ordner / "halb.jpg", ganz.substr(0, ganz.size() / 2));
  Bitmap muster;
  ASSERT_TRUE(ReadJpegFile(muster, TestdataPath("jpeg/testorig.jpg"), true, 0));

  constexpr int kFaeden = 4;
  std::vector<int> fehler(kFaeden, 0);
  std::vector<std::thread> faeden;
  for (int f = 0; f < kFaeden; ++f) {
    faeden.emplace_back([&, f] {
      for (int i = 0; i < 5; ++i) {
        Bitmap bild;
        if (!ReadJpegFile(bild, TestdataPath("jpeg/testorig.jpg"), true, 0) ||
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
