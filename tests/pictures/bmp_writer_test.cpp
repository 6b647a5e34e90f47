#include "pictures/bmp_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "pictures/bmp_reader.h"
#include "pictures/farbreduktion.h"
#include "pictures/speichern.h"
#include "platform/paths.h"
#include "speicher_testbilder.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::GroessterFehler;
using testing::MittlererFehler;
using testing::TempFolder;
using testing::Verlauf;
using testing::WriteWholeFile;

// Writes `bild` as a BMP of `format` through the save routine.
void BmpSchreiben(const Bitmap& bild, PixelFormat format, const std::string& pfad) {
  SpeicherOptionen optionen;
  optionen.Pfad = FolderOf(pfad);
  optionen.Datei = FileNameOf(pfad);
  optionen.Format = kFormatBmp;
  optionen.Farbtiefe = format == PixelFormat::k8    ? kFarbtiefe8
                       : format == PixelFormat::k16 ? kFarbtiefe16
                       : format == PixelFormat::k24 ? kFarbtiefe24
                                                    : kFarbtiefe32;
  BitmapStreifen quelle(bild);
  ASSERT_TRUE(BildSpeichern(quelle, optionen));
}

Bitmap Lesen(const std::string& path) {
  Bitmap bild;
  EXPECT_TRUE(ReadBmpFile(bild, path)) << path;
  return bild;
}

// A picture of a few colours that differ in their top five bits, in blocks.
Bitmap WenigeFarben(int32_t width, int32_t height) {
  const Farbe farben[] = {{0, 0, 0},     {255, 255, 255}, {200, 16, 40},
                          {8, 120, 248}, {64, 200, 96},   {128, 128, 128}};
  Bitmap bild(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) WritePixel(bild, x, y, farben[(x / 3 + y / 2) % 6]);
  }
  return bild;
}

// Odd widths make every depth pad its rows.
constexpr int32_t kBreite = 23;
constexpr int32_t kHoehe = 9;

// 16 bits keep the top 5-6-5 bits of every pixel; 8 bits keep a few colours exactly.
TEST(BmpWriter, SixteenBitsKeepTheTop565BitsEightBitsAFewColoursAndOwnFormatsAllBits) {
  TempFolder ordner;
  const Bitmap verlauf = Verlauf(kBreite, kHoehe);
  BmpSchreiben(verlauf, PixelFormat::k16, ordner / "16.bmp");
  const Bitmap gelesen = Lesen(ordner / "16.bmp");
  ASSERT_EQ(gelesen.width(), kBreite);
  for (int32_t y = 0; y < kHoehe; ++y) {
    for (int32_t x = 0; x < kBreite; ++x) {
      const Farbe o = ReadPixel(verlauf, x, y);
      const Farbe p = ReadPixel(gelesen, x, y);
      ASSERT_EQ(std::tuple(p.red >> 3, p.green >> 2, p.blue >> 3),
                std::tuple(o.red >> 3, o.green >> 2, o.blue >> 3));
    }
  }
  const Bitmap wenige = WenigeFarben(kBreite, kHoehe);
  BmpSchreiben(wenige, PixelFormat::k8, ordner / "8.bmp");
  EXPECT_EQ(GroessterFehler(Lesen(ordner / "8.bmp"), wenige), 0);

  // Pictures already in the file's format are written as they are: an 8-bit one with its
  // own palette, a 16-bit one with its bits.
  Bitmap acht(kBreite, kHoehe, PixelFormat::k8);
  acht.palette()[7] = PaletteEntry{10, 20, 30, 0};
  acht.row(kHoehe - 1)[kBreite - 1] = 7;
  WriteBmpFile(acht, ordner / "acht.bmp");
  const Bitmap achtGelesen = Lesen(ordner / "acht.bmp");
  EXPECT_EQ(ReadPixel(achtGelesen, kBreite - 1, kHoehe - 1), (Farbe{10, 20, 30}));
  EXPECT_EQ(ReadPixel(achtGelesen, 0, 0), (Farbe{0, 0, 0}));
  Bitmap sechzehn(kBreite, kHoehe, PixelFormat::k16);
  WritePixel(sechzehn, 3, 0, Farbe{248, 252, 8});
  WriteBmpFile(sechzehn, ordner / "sechzehn.bmp");
  EXPECT_EQ(ReadPixel(Lesen(ordner / "sechzehn.bmp"), 3, 0), ReadPixel(sechzehn, 3, 0));
}

TEST(BmpWriter, EightBitsDiffuseTheErrorSoAreasKeepTheirColour) {
  // Far more than 256 colours: single pixels may be off, but 8 × 8 blocks keep their
  // mean colour much better than any single pixel could.
  const Bitmap bild = Verlauf(128, 96);
  const Bitmap acht = InFormatWandeln(bild, PixelFormat::k8);
  ASSERT_EQ(acht.format(), PixelFormat::k8);
  const double pixelFehler = MittlererFehler(acht, bild);
  EXPECT_LT(pixelFehler, 6.0);
  double blockFehler = 0;
  int bloecke = 0;
  for (int32_t by = 0; by < 96; by += 8) {
    for (int32_t bx = 0; bx < 128; bx += 8) {
      int differenz[3] = {0, 0, 0};
      for (int32_t y = by; y < by + 8; ++y) {
        for (int32_t x = bx; x < bx + 8; ++x) {
          const Farbe a = ReadPixel(acht, x, y);
          const Farbe b = ReadPixel(bild, x, y);
          differenz[0] += a.red - b.red;
          differenz[1] += a.green - b.green;
          differenz[2] += a.blue - b.blue;
        }
      }
      for (int k = 0; k < 3; ++k) blockFehler += std::abs(differenz[k]) / 64.0;
      ++bloecke;
    }
  }
  EXPECT_LT(blockFehler / (3 * bloecke), pixelFehler / 2);
}

// Header fields as a reader that shares nothing with ours sees them.
TEST(BmpWriter, HeadersReadByAnIndependentReader) {
  const std::string python = testing::Python();
  if (python.empty()) GTEST_SKIP() << "python3 fehlt";
  TempFolder ordner;
  const Bitmap bild = Verlauf(kBreite, kHoehe);
  const std::string skript =
      "import struct,sys\n"
      "for name in sys.argv[1:]:\n"
      "  d=open(name,'rb').read()\n"
      "  m,size,_,off=struct.unpack('<2sIII',d[:14])\n"
      "  hs,w,h,pl,bpp,comp,img,_,_,used,_=struct.unpack('<IiiHHIIiiII',d[14:54])\n"
      "  masks=struct.unpack('<III',d[54:66]) if comp==3 else ()\n"
      "  stride=(w*bpp+31)//32*4\n"
      "  assert m==b'BM' and size==len(d) and off+stride*h==len(d) and pl==1 and hs==40\n"
      "  print(w,h,bpp,comp,used,off,' '.join(hex(x) for x in masks))\n";
  WriteWholeFile(ordner / "pruefen.py", skript);
  std::string befehl = python + " " + ordner / "pruefen.py";
  for (PixelFormat format :
       {PixelFormat::k8, PixelFormat::k16, PixelFormat::k24, PixelFormat::k32}) {
    const std::string name = ordner / ("bild" + std::to_string(static_cast<int>(format)) + ".bmp");
    BmpSchreiben(bild, format, name);
    befehl += " " + name;
  }
  std::string ausgabe;
  EXPECT_TRUE(testing::Ausfuehren(befehl, ausgabe));
  EXPECT_EQ(ausgabe,
            "23 9 8 0 256 1078 \n"
            "23 9 16 3 0 66 0xf800 0x7e0 0x1f\n"
            "23 9 24 0 0 54 \n"
            "23 9 32 0 0 54 \n");
}

}  // namespace
}  // namespace tilvendo
