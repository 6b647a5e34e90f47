#include "pictures/groessen_schaetzung.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "pictures/byte_sink.h"
#include "pictures/jpeg_writer.h"
#include "pictures/png_writer.h"
#include "pictures/streifen_quelle.h"
#include "platform/pixel.h"

namespace tilvendo {
namespace {

uint8_t Kanal(double wert) {
  return static_cast<uint8_t>(std::clamp(wert, 0.0, 255.0));
}

// A narrow strip of soft gradients repeating every `periode` rows: few bytes per row of
// blocks, so that the header is a good part of a file.
Bitmap Ruhig(int32_t hoehe, int32_t periode) {
  Bitmap bild(96, hoehe, kPixelformat);
  for (int32_t y = 0; y < hoehe; ++y) {
    for (int32_t x = 0; x < 96; ++x) {
      WritePixel(bild, x, y, Farbe{Kanal(x * 2), Kanal(y % periode / 4.0), 120});
    }
  }
  return bild;
}

int64_t Kodiert(const Bitmap& bild, bool png, int qualitaet = 90) {
  MemorySink kodiert;
  Bildbeschreibung beschreibung;
  beschreibung.breite = bild.width();
  beschreibung.hoehe = bild.height();
  beschreibung.qualitaet = qualitaet;
  const std::unique_ptr<Bildschreiber> schreiber =
      png ? MakePngWriter(kodiert, beschreibung) : MakeJpegWriter(kodiert, beschreibung);
  BitmapStreifen quelle(bild);
  StreifenweiseLesen(quelle, [&](int32_t, const Zeilen& zeilen) { schreiber->Schreiben(zeilen); });
  schreiber->Beenden();
  return static_cast<int64_t>(kodiert.bytes().size());
}

// A sample that is the whole picture gives the file's length; a picture of four repeats of
// its sample is told from the sample within a few per cent for JPEG, its header counted
// once (on this calm strip, counted four times it would add half again), and a PNG's bytes
// per pixel carry over. Nothing is told of an empty sample, and a PNG never more than its
// file can take.
TEST(GroessenSchaetzung, ASampleIsCarriedOverByItsPixelsWithTheHeaderCountedOnce) {
  const Bitmap probe = Ruhig(256, 256);
  const Bitmap bild = Ruhig(1024, 256);
  for (const int qualitaet : {50, 90}) {
    BitmapStreifen ganz(probe);
    EXPECT_EQ(JpegGroesseHochrechnen(ganz, qualitaet, 96 * 256), Kodiert(probe, false, qualitaet));
    BitmapStreifen teil(probe);
    const double schaetzung =
        static_cast<double>(JpegGroesseHochrechnen(teil, qualitaet, 96 * 1024));
    EXPECT_NEAR(schaetzung / static_cast<double>(Kodiert(bild, false, qualitaet)), 1.0, 0.05)
        << qualitaet;
  }
  BitmapStreifen ganz(probe);
  EXPECT_EQ(PngGroesseHochrechnen(ganz, 96 * 256, UINT64_MAX), Kodiert(probe, true));
  BitmapStreifen teil(probe);
  EXPECT_NEAR(static_cast<double>(PngGroesseHochrechnen(teil, 96 * 1024, UINT64_MAX)) /
                  static_cast<double>(Kodiert(bild, true)),
              1.0, 0.15);
  BitmapStreifen gedeckelt(probe);
  EXPECT_EQ(PngGroesseHochrechnen(gedeckelt, 96 * 1024, 1000), 1000);
  const Bitmap leer;
  BitmapStreifen nichts(leer);
  EXPECT_EQ(JpegGroesseHochrechnen(nichts, 90, 1000), 0);
  EXPECT_EQ(PngGroesseHochrechnen(nichts, 1000, UINT64_MAX), 0);
}

TEST(GroessenSchaetzung, TheHeaderEndsWithTheStartOfTheScan) {
  // SOI, an APP0 segment of 16 bytes, a fill byte, SOS of 12 bytes, then coded data.
  std::vector<uint8_t> datei = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10};
  datei.resize(datei.size() + 14, 0x41);
  datei.insert(datei.end(), {0xFF, 0xFF, 0xDA, 0x00, 0x0C});
  datei.resize(datei.size() + 10, 0x01);
  const size_t kopf = datei.size();
  datei.insert(datei.end(), {0x12, 0x34, 0xFF, 0xD9});
  EXPECT_EQ(JpegKopfLaenge(datei), static_cast<int64_t>(kopf) + 2);

  // Cut before the scan starts, or not a JPEG at all.
  EXPECT_EQ(JpegKopfLaenge(std::span(datei).first(kopf - 1)), 0);
  EXPECT_EQ(JpegKopfLaenge(std::span(datei).subspan(2)), 0);
  datei[6] = 0x00;  // inside the APP0 segment: harmless
  EXPECT_EQ(JpegKopfLaenge(datei), static_cast<int64_t>(kopf) + 2);
  datei[20] = 0x00;  // where the next marker should start
  EXPECT_EQ(JpegKopfLaenge(datei), 0);

  // The writer's own file: header and coded data add up to the whole.
  const std::vector<uint8_t> kodiert = EncodeJpeg(Bitmap(64, 48, PixelFormat::k24), 90);
  const int64_t eigenerKopf = JpegKopfLaenge(kodiert);
  EXPECT_GT(eigenerKopf, 300);
  EXPECT_LT(eigenerKopf, 1000);
  const auto sos = static_cast<size_t>(eigenerKopf) - 2;
  EXPECT_EQ(kodiert.at(sos - 14), 0xFF);  // the SOS segment of three channels
  EXPECT_EQ(kodiert.at(sos - 13), 0xDA);
}

}  // namespace
}  // namespace tilvendo
