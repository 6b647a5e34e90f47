// The writers of every format through the save routine: the pixels and the resolution in
// every file, the limits of a BMP, and what each file takes, as the table of formats tells
// it beforehand.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "pictures/bilder_laden.h"
#include "pictures/bmp_writer.h"
#include "pictures/speichern.h"
#include "pictures/streifen_quelle.h"
#include "pictures/tiff_writer.h"
#include "platform/zufall.h"
#include "speicher_testbilder.h"
#include "support/speicher_optionen.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::ReadWholeFile;
using testing::SpeicherOptionenFuer;
using testing::TempFolder;
using testing::Verlauf;
using testing::WriteWholeFile;

uint32_t Wort32(const std::string& bytes, size_t stelle) {
  uint32_t wert = 0;
  for (size_t i = 0; i < 4; ++i) wert |= uint32_t{static_cast<uint8_t>(bytes[stelle + i])} << 8 * i;
  return wert;
}

uint16_t GrossesWort16(const std::string& bytes, size_t stelle) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[stelle]) << 8 |
                               static_cast<uint8_t>(bytes[stelle + 1]));
}

// The pHYs chunk of a PNG file: pixels per metre and whether the unit is the metre.
struct Phys {
  uint32_t x = 0;
  uint32_t y = 0;
  int einheit = -1;
};
std::optional<Phys> PhysLesen(const std::string& pfad) {
  const std::string bytes = ReadWholeFile(pfad);
  const size_t stelle = bytes.find("pHYs");
  if (stelle == std::string::npos || stelle + 13 > bytes.size()) return std::nullopt;
  const auto wort = [&](size_t i) {
    return uint32_t{GrossesWort16(bytes, i)} << 16 | GrossesWort16(bytes, i + 2);
  };
  return Phys{wort(stelle + 4), wort(stelle + 8), bytes[stelle + 12]};
}

struct TiffAufloesung {
  float x = 0;
  float y = 0;
  uint16_t einheit = 0;
  uint16_t kompression = 0;
};
TiffAufloesung TiffAufloesungLesen(const std::string& pfad) {
  TiffAufloesung a;
  TIFF* tif = TIFFOpen(pfad.c_str(), "r");
  if (tif == nullptr) return a;
  TIFFGetField(tif, TIFFTAG_XRESOLUTION, &a.x);
  TIFFGetField(tif, TIFFTAG_YRESOLUTION, &a.y);
  TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &a.einheit);
  TIFFGetField(tif, TIFFTAG_COMPRESSION, &a.kompression);
  TIFFClose(tif);
  return a;
}

// Every pixel comes back from PNG and TIFF as it went in, in strips of any height, and
// the resolution stands in every format where its readers look for it, as finely as the
// format allows: whole pixels per metre (rounded, not cut: 72 dpi are 2834.6 of them,
// 150 dpi 5905.5), a TIFF's rational, a JPEG's whole dots per inch; across and down each
// its own where they differ, as a poster of whole tiles needs them.
TEST(Bildschreiber, LosslessFormatsKeepEveryPixelAndEveryFormatItsResolution) {
  TempFolder ordner;
  const Bitmap bild = Verlauf(37, 2 * kStreifenZeilen + 9);
  struct Fall {
    double dpi;
    uint32_t jeMeter;
    uint16_t jfif;
    double dpiY = 0;  // down, where it differs
    uint32_t jeMeterY = 0;
    uint16_t jfifY = 0;
  };
  for (Fall fall :
       {Fall{0, 3780, 1}, Fall{72, 2835, 72}, Fall{150, 5906, 150}, Fall{300, 11811, 300},
        Fall{299.7, 11799, 300}, Fall{72, 2835, 72, 150, 5906, 150},
        Fall{199.644, 7860, 200, 199.673, 7861, 200}}) {
    const std::string name = "b" + std::to_string(static_cast<int>(fall.dpi * 10)) + "_" +
                             std::to_string(static_cast<int>(fall.dpiY * 10));
    if (fall.dpiY == 0) {
      fall.dpiY = fall.dpi;
      fall.jeMeterY = fall.jeMeter;
      fall.jfifY = fall.jfif;
    }
    for (const uint8_t format : {kFormatPng, kFormatTiff, kFormatJpeg, kFormatBmp}) {
      SpeicherOptionen optionen =
          SpeicherOptionenFuer(ordner, name + kDateiformate[format].endung, format, kFarbtiefe24);
      optionen.Aufloesung = fall.dpi;
      optionen.AufloesungY = fall.dpiY;
      BitmapStreifen quelle(bild);
      ASSERT_TRUE(BildSpeichern(quelle, optionen));
      // What the table says a file of the format keeps of the resolution.
      const double erwartet = fall.dpi == 0           ? 0
                              : format == kFormatJpeg ? fall.jfif
                              : format == kFormatTiff ? static_cast<float>(fall.dpi)
                                                      : fall.jeMeter * 0.0254;
      EXPECT_NEAR(kDateiformate[format].gespeicherteDpi(fall.dpi), erwartet, 1e-9)
          << optionen.Datei;
    }
    for (const std::string& pfad : {ordner / (name + ".png"), ordner / (name + ".tif")}) {
      Bitmap gelesen;
      ASSERT_TRUE(LoadWholePicture(gelesen, pfad)) << pfad;
      ASSERT_EQ(gelesen.width(), bild.width());
      ASSERT_EQ(gelesen.height(), bild.height());
      EXPECT_EQ(testing::GroessterFehler(gelesen, bild), 0) << pfad;
    }
    const std::optional<Phys> phys = PhysLesen(ordner / (name + ".png"));
    const TiffAufloesung tiff = TiffAufloesungLesen(ordner / (name + ".tif"));
    const std::string jfif = ReadWholeFile(ordner / (name + ".jpg"));
    const std::string bitmap = ReadWholeFile(ordner / (name + ".bmp"));
    EXPECT_EQ(tiff.kompression, COMPRESSION_NONE);
    EXPECT_EQ(Wort32(bitmap, 38), fall.jeMeter) << fall.dpi;
    EXPECT_EQ(Wort32(bitmap, 42), fall.jeMeterY) << fall.dpiY;
    EXPECT_EQ(GrossesWort16(jfif, 14), fall.jfif) << fall.dpi;
    EXPECT_EQ(GrossesWort16(jfif, 16), fall.jfifY) << fall.dpiY;
    if (fall.dpi == 0) {
      // Without a resolution the files say nothing about paper: no pHYs, a mere aspect
      // ratio in TIFF and JFIF, and the 96 dpi BMPs always had.
      EXPECT_FALSE(phys.has_value());
      EXPECT_EQ(tiff.einheit, RESUNIT_NONE);
      EXPECT_EQ(jfif[13], 0);
      continue;
    }
    ASSERT_TRUE(phys.has_value());
    EXPECT_EQ(phys->x, fall.jeMeter) << fall.dpi;
    EXPECT_EQ(phys->y, fall.jeMeterY) << fall.dpiY;
    EXPECT_EQ(phys->einheit, 1);  // the metre
    EXPECT_EQ(tiff.einheit, RESUNIT_INCH);
    EXPECT_FLOAT_EQ(tiff.x, static_cast<float>(fall.dpi));
    EXPECT_FLOAT_EQ(tiff.y, static_cast<float>(fall.dpiY));
    EXPECT_EQ(jfif[13], 1);  // dots per inch
  }
}

// A source that knows its size but must never be read.
class Unlesbar : public StreifenQuelle {
 public:
  Unlesbar(int32_t breite, int32_t hoehe) : breite_(breite), hoehe_(hoehe) {}
  int32_t Breite() const override { return breite_; }
  int32_t Hoehe() const override { return hoehe_; }
  Zeilen Streifen(int32_t, int32_t) override {
    ADD_FAILURE() << "read before the size was checked";
    throw SchreibenAbgebrochen();
  }

 private:
  int32_t breite_;
  int32_t hoehe_;
};

TEST(Bildschreiber, ABmpOrJpegBeyondItsSizeFieldsIsRefusedBeforeAnythingIsWritten) {
  TempFolder ordner;
  Unlesbar quelle(40000, 30000);
  try {
    BildSpeichern(quelle, SpeicherOptionenFuer(ordner, "plakat.bmp", kFormatBmp, kFarbtiefe32));
    ADD_FAILURE() << "a 4.8 GB BMP was accepted";
  } catch (const WriteError& fehler) {
    const std::string meldung = fehler.what();
    EXPECT_NE(meldung.find("höchstens 4,3 GB"), std::string::npos) << meldung;
    EXPECT_NE(meldung.find("bräuchte 4,8 GB"), std::string::npos) << meldung;
    EXPECT_NE(meldung.find("40000 x 30000"), std::string::npos) << meldung;
  }
  EXPECT_EQ(testing::FilesIn(ordner.path()), 0u);
  // The same picture in 24 bits (3.6 GB) fits, and so does a file of 4 GiB − 10 bytes;
  // 12 bytes more do not.
  EXPECT_NO_THROW(CheckBmpSize(40000, 30000, PixelFormat::k24));
  EXPECT_EQ(BmpFileBytes(4, 357913936, PixelFormat::k24), 4294967286u);
  EXPECT_NO_THROW(CheckBmpSize(4, 357913936, PixelFormat::k24));
  EXPECT_THROW(CheckBmpSize(4, 357913937, PixelFormat::k24), WriteError);
  // The largest side libjpeg encodes is 65,500 pixels, across or down.
  const Dateiformat& jpeg = kDateiformate[kFormatJpeg];
  Bildbeschreibung b;
  b.breite = 65500;
  b.hoehe = 1;
  EXPECT_NO_THROW(GroessePruefen(jpeg, b));
  b.breite = 65501;
  EXPECT_THROW(GroessePruefen(jpeg, b), WriteError);
  b.breite = 1;
  b.hoehe = 65501;
  EXPECT_THROW(GroessePruefen(jpeg, b), WriteError);
}

// What the table says a file takes agrees with the writers: exactly for BMP in every depth
// and TIFF, exactly from a sample that is the whole picture for JPEG and PNG, and never
// beyond the largest a save can take, also for pure noise, which no photo mosaic
// compresses worse.
TEST(Bildschreiber, TheTableOfFormatsTellsWhatEveryFileTakes) {
  TempFolder ordner;
  Bitmap rauschen(301, 207);
  Zufall zufall(7);
  for (size_t i = 0; i < rauschen.byteSize(); ++i) {
    rauschen.data()[i] = static_cast<uint8_t>(zufall.next(256));
  }
  const Bitmap verlauf = Verlauf(301, 207);
  for (const Bitmap* bild : {static_cast<const Bitmap*>(&rauschen), &verlauf}) {
    for (const uint8_t format : {kFormatBmp, kFormatJpeg, kFormatPng, kFormatTiff}) {
      for (const uint8_t stufe : {uint8_t{5}, uint8_t{90}, uint8_t{100}}) {
        for (const uint8_t farbtiefe : {kFarbtiefe8, kFarbtiefe16, kFarbtiefe24, kFarbtiefe32}) {
          if (format != kFormatBmp && farbtiefe != kFarbtiefe24) continue;
          SpeicherOptionen optionen = SpeicherOptionenFuer(
              ordner, "b" + std::string(kDateiformate[format].endung), format, farbtiefe);
          optionen.Qualitaet = stufe;
          BitmapStreifen quelle(*bild);
          ASSERT_TRUE(BildSpeichern(quelle, optionen));
          const auto groesse =
              static_cast<int64_t>(std::filesystem::file_size(ordner / optionen.Datei));
          const Dateiformat& f = kDateiformate[format];
          const Bildbeschreibung b = BeschreibungFuer(optionen, bild->width(), bild->height());
          BitmapStreifen probe(*bild);
          const std::string wie = optionen.Datei + " quality " + std::to_string(stufe) + " depth " +
                                  std::to_string(farbtiefe);
          EXPECT_LE(groesse, static_cast<int64_t>(f.hoechstBytes(b))) << wie;
          if (format == kFormatTiff) {
            EXPECT_LE(DateiBytes(f, b, nullptr) - groesse, 4096) << wie;
          } else {
            EXPECT_EQ(DateiBytes(f, b, &probe), groesse) << wie;
          }
        }
      }
    }
  }
  EXPECT_EQ(FormatVon(9), nullptr);
  EXPECT_FALSE(TiffNeedsBigTiff(40000, 30000));  // 3.6 GB
  EXPECT_TRUE(TiffNeedsBigTiff(40000, 36000));   // 4.3 GB
}

}  // namespace
}  // namespace tilvendo
