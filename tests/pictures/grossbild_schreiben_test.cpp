// The writers a poster goes through: PNG and TIFF beside BMP and JPEG, the resolution in
// every file, the limits of a BMP, the size estimate and a cancelled write.
#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "pictures/bilder_laden.h"
#include "pictures/bmp_writer.h"
#include "pictures/jpeg_writer.h"
#include "pictures/png_writer.h"
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

constexpr int32_t kDpi = 300;
constexpr uint32_t kPixelJeMeter300 = 11811;  // 300 / 0.0254, rounded

size_t DateienIn(const std::string& ordner) {
  size_t anzahl = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(ordner)) ++anzahl;
  return anzahl;
}

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
  png_uint_32 x = 0;
  png_uint_32 y = 0;
  int einheit = -1;
};
std::optional<Phys> PhysLesen(const std::string& pfad) {
  std::FILE* datei = std::fopen(pfad.c_str(), "rb");
  if (datei == nullptr) return std::nullopt;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, datei);
  png_read_info(png, info);
  Phys phys;
  const bool da = png_get_pHYs(png, info, &phys.x, &phys.y, &phys.einheit) != 0;
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(datei);
  if (!da) return std::nullopt;
  return phys;
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
// the resolution stands in every format where its readers look for it.
TEST(Bildschreiber, LosslessFormatsKeepEveryPixelAndEveryFormatItsResolution) {
  TempFolder ordner;
  const Bitmap bild = Verlauf(37, 2 * kStreifenZeilen + 9);
  for (const int32_t dpi : {0, kDpi}) {
    BitmapStreifen quelle(bild);
    const std::string png = ordner / ("b" + std::to_string(dpi) + ".png");
    const std::string tif = ordner / ("b" + std::to_string(dpi) + ".tif");
    const std::string jpg = ordner / ("b" + std::to_string(dpi) + ".jpg");
    const std::string bmp = ordner / ("b" + std::to_string(dpi) + ".bmp");
    WritePngFile(quelle, png, dpi);
    WriteTiffFile(quelle, tif, dpi);
    WriteJpegFile(quelle, jpg, 90, dpi);
    WriteBmpFile(quelle, PixelFormat::k24, bmp, dpi);
    for (const std::string& pfad : {png, tif}) {
      Bitmap gelesen;
      ASSERT_TRUE(LoadWholePicture(gelesen, pfad)) << pfad;
      ASSERT_EQ(gelesen.width(), bild.width());
      ASSERT_EQ(gelesen.height(), bild.height());
      EXPECT_EQ(testing::GroessterFehler(gelesen, bild), 0) << pfad;
    }
    const std::optional<Phys> phys = PhysLesen(png);
    const TiffAufloesung tiff = TiffAufloesungLesen(tif);
    const std::string jfif = ReadWholeFile(jpg);
    const std::string bitmap = ReadWholeFile(bmp);
    EXPECT_EQ(tiff.kompression, COMPRESSION_NONE);
    if (dpi == 0) {
      // Without a resolution the files say nothing about paper: no pHYs, a mere aspect
      // ratio in TIFF and JFIF, and the 96 dpi BMPs always had.
      EXPECT_FALSE(phys.has_value());
      EXPECT_EQ(tiff.einheit, RESUNIT_NONE);
      EXPECT_EQ(jfif[13], 0);
      EXPECT_EQ(GrossesWort16(jfif, 14), 1);
      EXPECT_EQ(Wort32(bitmap, 38), 3780u);
    } else {
      ASSERT_TRUE(phys.has_value());
      EXPECT_EQ(phys->x, kPixelJeMeter300);
      EXPECT_EQ(phys->y, kPixelJeMeter300);
      EXPECT_EQ(phys->einheit, PNG_RESOLUTION_METER);
      EXPECT_EQ(tiff.einheit, RESUNIT_INCH);
      EXPECT_FLOAT_EQ(tiff.x, 300.0f);
      EXPECT_FLOAT_EQ(tiff.y, 300.0f);
      EXPECT_EQ(jfif[13], 1);  // dots per inch
      EXPECT_EQ(GrossesWort16(jfif, 14), kDpi);
      EXPECT_EQ(GrossesWort16(jfif, 16), kDpi);
      EXPECT_EQ(Wort32(bitmap, 38), kPixelJeMeter300);
      EXPECT_EQ(Wort32(bitmap, 42), kPixelJeMeter300);
    }
  }
}

// A source that knows its size but must never be read.
class Unlesbar : public StreifenQuelle {
 public:
  Unlesbar(int32_t breite, int32_t hoehe) : breite_(breite), hoehe_(hoehe) {}
  int32_t width() const override { return breite_; }
  int32_t height() const override { return hoehe_; }
  Zeilen Streifen(int32_t, int32_t) override {
    ADD_FAILURE() << "read before the size was checked";
    throw SchreibenAbgebrochen();
  }

 private:
  int32_t breite_;
  int32_t hoehe_;
};

TEST(Bildschreiber, ABmpBeyondItsSizeFieldsIsRefusedBeforeAnythingIsWritten) {
  TempFolder ordner;
  Unlesbar quelle(40000, 30000);
  try {
    WriteBmpFile(quelle, PixelFormat::k32, ordner / "plakat.bmp");
    ADD_FAILURE() << "a 4.8 GB BMP was accepted";
  } catch (const WriteError& fehler) {
    const std::string meldung = fehler.what();
    EXPECT_NE(meldung.find("höchstens 4,3 GB"), std::string::npos) << meldung;
    EXPECT_NE(meldung.find("bräuchte 4,8 GB"), std::string::npos) << meldung;
    EXPECT_NE(meldung.find("40000 x 30000"), std::string::npos) << meldung;
  }
  EXPECT_EQ(DateienIn(ordner.path()), 0u);
  // The same picture in 24 bits (3.6 GB) fits, and so does a file of 4 GiB − 10 bytes;
  // 12 bytes more do not.
  EXPECT_NO_THROW(BmpGroessePruefen(40000, 30000, PixelFormat::k24));
  EXPECT_EQ(BmpDateiBytes(4, 357913936, PixelFormat::k24), 4294967286u);
  EXPECT_NO_THROW(BmpGroessePruefen(4, 357913936, PixelFormat::k24));
  EXPECT_THROW(BmpGroessePruefen(4, 357913937, PixelFormat::k24), WriteError);
}

// Hands out a gradient and stops the writer at its second strip, as Ctrl+C does.
class AbbrechendeQuelle : public StreifenQuelle {
 public:
  AbbrechendeQuelle() : bild_(Verlauf(50, 5 * kStreifenZeilen)), quelle_(bild_) {}
  int32_t width() const override { return bild_.width(); }
  int32_t height() const override { return bild_.height(); }
  Zeilen Streifen(int32_t first, int32_t count) override {
    if (++streifen_ == 2) throw SchreibenAbgebrochen();
    return quelle_.Streifen(first, count);
  }

 private:
  Bitmap bild_;
  BitmapStreifen quelle_;
  int streifen_ = 0;
};

TEST(Bildschreiber, ACancelledWriteLeavesTheOldFileAndNoTemporary) {
  TempFolder ordner;
  for (const uint8_t format : {kFormatBmp, kFormatJpeg, kFormatPng, kFormatTiff}) {
    for (const uint8_t farbtiefe : {kFarbtiefe8, kFarbtiefe24}) {
      const std::string datei = "alt" + std::string(kSpeicherFormate[format].endung);
      WriteWholeFile(ordner / datei, "das alte Bild");
      const SpeicherOptionen optionen = SpeicherOptionenFuer(ordner, datei, format, farbtiefe);
      AbbrechendeQuelle quelle;
      EXPECT_THROW(BildSchreiben(quelle, optionen), SchreibenAbgebrochen) << datei;
      EXPECT_EQ(ReadWholeFile(ordner / datei), "das alte Bild") << datei;
      EXPECT_EQ(DateienIn(ordner.path()), 1u) << datei;
      std::filesystem::remove(ordner / datei);
    }
  }
}

// The estimate before a large save is an upper bound for every format (exact for BMP),
// also for pure noise, which no photo mosaic compresses worse.
TEST(Bildschreiber, TheSizeEstimateIsAnUpperBoundOfTheFile) {
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
        SpeicherOptionen optionen = SpeicherOptionenFuer(
            ordner, "b" + std::string(kSpeicherFormate[format].endung), format, kFarbtiefe16);
        optionen.Qualitaet = stufe;
        BitmapStreifen quelle(*bild);
        ASSERT_TRUE(BildSchreiben(quelle, optionen));
        const auto groesse = std::filesystem::file_size(ordner / optionen.Datei);
        const uint64_t schaetzung = DateiHoechstBytes(optionen, bild->width(), bild->height());
        EXPECT_LE(groesse, schaetzung) << optionen.Datei << " quality " << int{stufe};
        if (format == kFormatBmp) {
          EXPECT_EQ(groesse, schaetzung);
        }
        if (format == kFormatTiff) {
          EXPECT_LE(schaetzung - groesse, 4096u);
        }
      }
    }
  }
  SpeicherOptionen unbekannt;
  unbekannt.Format = 9;
  EXPECT_EQ(DateiHoechstBytes(unbekannt, 10, 10), 0u);
  EXPECT_FALSE(TiffBrauchtBigTiff(40000, 30000));  // 3.6 GB
  EXPECT_TRUE(TiffBrauchtBigTiff(40000, 36000));   // 4.3 GB
}

}  // namespace
}  // namespace tilvendo
