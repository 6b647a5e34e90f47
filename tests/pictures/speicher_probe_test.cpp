// The save preview of the lossless formats, and of a mosaic not held whole, made from a
// reduced sample of it.
#include <gtest/gtest.h>

#include "pictures/bild_einpassen.h"
#include "pictures/bmp_writer.h"
#include "pictures/byte_sink.h"
#include "pictures/groessen_schaetzung.h"
#include "pictures/png_writer.h"
#include "pictures/speichern.h"
#include "pictures/tiff_writer.h"
#include "speicher_testbilder.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::Einfarbig;
using testing::ReadWholeFile;
using testing::TempFolder;
using testing::Verlauf;

constexpr int32_t kBoxBreite = 236;
constexpr int32_t kBoxHoehe = 170;

SpeicherOptionen Optionen(uint8_t format) {
  SpeicherOptionen optionen;
  optionen.Format = format;
  optionen.Qualitaet = kStandardQualitaet;
  optionen.Farbtiefe = kFarbtiefe24;
  return optionen;
}

int64_t Vorschau(const Bitmap& mosaik, uint8_t format, Bitmap& vorschau) {
  Bitmap cache;
  return MakeSavePreview(Einfarbig(40, 30, Farbe{10, 20, 30}), mosaik, 200, kBoxBreite, kBoxHoehe,
                         Optionen(format), cache, vorschau);
}

TEST(SpeicherVorschau, TiffIsEstimatedByItsSizeAndPngByABandAtFullSize) {
  TempFolder ordner;
  const Bitmap mosaik = Verlauf(900, 600);
  const Bitmap vorlage = Einfarbig(40, 30, Farbe{10, 20, 30});
  Bitmap vorschau;
  for (const uint8_t format : {kFormatTiff, kFormatPng}) {
    SpeicherOptionen optionen = Optionen(format);
    optionen.Pfad = ordner.path();
    optionen.Datei = format == kFormatTiff ? "a.tif" : "a.png";
    ASSERT_TRUE(MosaikSpeichern(vorlage, mosaik, 200, optionen));
    const auto datei = static_cast<int64_t>(ReadWholeFile(ordner / optionen.Datei).size());
    const int64_t schaetzung = Vorschau(mosaik, format, vorschau);
    // The preview is the blended picture itself, fitted into the box.
    EXPECT_EQ(vorschau.width(), kBoxBreite);
    EXPECT_EQ(vorschau.height(), 157);
    if (format == kFormatTiff) {
      EXPECT_GE(schaetzung, datei);
      EXPECT_LE(schaetzung, datei + 4096);
    } else {
      // A band of the picture at its full size compresses as the whole file does.
      EXPECT_NEAR(static_cast<double>(schaetzung) / datei, 1.0, 0.1);
      EXPECT_LE(schaetzung, static_cast<int64_t>(PngHoechstBytes(900, 600)));
    }
  }
}

// A sample that counts how often it is read.
class ZaehlendeProbe : public StreifenQuelle {
 public:
  explicit ZaehlendeProbe(const Bitmap& bild) : quelle_(bild) {}
  int32_t width() const override { return quelle_.width(); }
  int32_t height() const override { return quelle_.height(); }
  Zeilen Streifen(int32_t first, int32_t count) override {
    ++gelesen;
    return quelle_.Streifen(first, count);
  }
  int gelesen = 0;

 private:
  BitmapStreifen quelle_;
};

TEST(SpeicherVorschau, APosterIsShownFromItsScreenCopyAndSizedByItsSample) {
  const Bitmap vorlage = Einfarbig(40, 30, Farbe{10, 20, 30});
  const Bitmap anzeige = Verlauf(400, 300);
  const Bitmap stichprobe = Verlauf(300, 200);
  const Size poster{20000, 15000};
  const int64_t posterPixel = int64_t{20000} * 15000;
  Bitmap cache;
  Bitmap vorschau;
  // Uncompressed formats store every pixel: their size is exact, and the sample is not
  // read at all.
  ZaehlendeProbe probe(stichprobe);
  SpeicherOptionen bmp = Optionen(kFormatBmp);
  EXPECT_EQ(MakeSavePreviewAusProbe(vorlage, anzeige, poster, probe, 200, kBoxBreite, kBoxHoehe,
                                    bmp, cache, vorschau),
            static_cast<int64_t>(BmpDateiBytes(20000, 15000, PixelFormat::k24)));
  EXPECT_EQ(vorschau.height(), kBoxHoehe);  // the screen copy's 4:3, fitted
  EXPECT_EQ(MakeSavePreviewAusProbe(vorlage, anzeige, poster, probe, 200, kBoxBreite, kBoxHoehe,
                                    Optionen(kFormatTiff), cache, vorschau),
            static_cast<int64_t>(TiffHoechstBytes(20000, 15000)));
  EXPECT_EQ(probe.gelesen, 0);

  // Compressed ones carry the sample's bytes per pixel over to the poster's pixels (a
  // JPEG's header once); the preview is still the screen copy's.
  BitmapStreifen fuerJpeg(stichprobe);
  EXPECT_EQ(MakeSavePreviewAusProbe(vorlage, anzeige, poster, probe, 200, kBoxBreite, kBoxHoehe,
                                    Optionen(kFormatJpeg), cache, vorschau),
            JpegGroesseHochrechnen(fuerJpeg, kStandardQualitaet, posterPixel));
  EXPECT_GT(probe.gelesen, 0);
  EXPECT_EQ(vorschau.width(), 227);
  EXPECT_EQ(vorschau.height(), kBoxHoehe);
  MemorySink png;
  BitmapStreifen fuerPng(stichprobe);
  WritePng(png, fuerPng);
  const int64_t pngSchaetzung =
      MakeSavePreviewAusProbe(vorlage, anzeige, poster, probe, 200, kBoxBreite, kBoxHoehe,
                              Optionen(kFormatPng), cache, vorschau);
  EXPECT_NEAR(static_cast<double>(pngSchaetzung),
              static_cast<double>(png.bytes().size()) * posterPixel / (300 * 200), 1.0);
  EXPECT_LE(pngSchaetzung, static_cast<int64_t>(PngHoechstBytes(20000, 15000)));

  // Nothing to show or no mosaic: no estimate.
  EXPECT_EQ(MakeSavePreviewAusProbe(vorlage, Bitmap(), poster, probe, 200, kBoxBreite, kBoxHoehe,
                                    bmp, cache, vorschau),
            -1);
  EXPECT_EQ(MakeSavePreviewAusProbe(vorlage, anzeige, Size{}, probe, 200, kBoxBreite, kBoxHoehe,
                                    bmp, cache, vorschau),
            -1);
  bmp.Format = 9;
  EXPECT_EQ(MakeSavePreviewAusProbe(vorlage, anzeige, poster, probe, 200, kBoxBreite, kBoxHoehe,
                                    bmp, cache, vorschau),
            -1);
}

}  // namespace
}  // namespace tilvendo
