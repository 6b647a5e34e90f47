#include "pictures/speichern.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "pictures/blending.h"
#include "pictures/bmp_reader.h"
#include "pictures/byte_sink.h"
#include "pictures/jpeg_io.h"
#include "pictures/jpeg_writer.h"
#include "pictures/streifen_quelle.h"
#include "speicher_testbilder.h"
#include "support/bild_dateien.h"
#include "support/speicher_optionen.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::Einfarbig;
using testing::GroessterFehler;
using testing::MittlererFehler;
using testing::ReadWholeFile;
using testing::SpeicherOptionenFuer;
using testing::TempFolder;
using testing::Verlauf;
using testing::WriteWholeFile;

std::string Erzwungen(uint8_t format, std::string name) {
  ForceSaveExtension(format, name);
  return name;
}

std::set<std::string> DateienIn(const std::string& ordner) {
  std::set<std::string> namen;
  for (const auto& eintrag : std::filesystem::directory_iterator(ordner)) {
    namen.insert(eintrag.path().filename().string());
  }
  return namen;
}

// The blend every saved file must show.
Bitmap Erwartet(const Bitmap& mosaik, const Bitmap& vorlage, uint8_t a) {
  Bitmap bild(mosaik.width(), mosaik.height());
  BlendTemplateIntoMosaic(bild, mosaik, vorlage, a);
  return bild;
}

TEST(Speichern, ForceSaveExtension) {
  EXPECT_EQ(Erzwungen(kFormatJpeg, "bild.bmp"), "bild.jpg");
  EXPECT_EQ(Erzwungen(kFormatJpeg, "bild.JPEG"), "bild.jpg");
  EXPECT_EQ(Erzwungen(kFormatJpeg, "bild"), "bild.jpg");
  EXPECT_EQ(Erzwungen(kFormatJpeg, "bild.JPG"), "bild.JPG");
  EXPECT_EQ(Erzwungen(kFormatBmp, "urlaub.2024.jpg"), "urlaub.2024.bmp");
  EXPECT_EQ(Erzwungen(kFormatBmp, "a.b/c"), "a.b/c.bmp");
  EXPECT_EQ(Erzwungen(kFormatBmp, "bild."), "bild.bmp");
  // A dot in the name starts no extension unless a picture's extension follows it.
  EXPECT_EQ(Erzwungen(kFormatJpeg, "Urlaub 2024.07"), "Urlaub 2024.07.jpg");
  EXPECT_EQ(Erzwungen(kFormatJpeg, "bericht.txt"), "bericht.txt.jpg");
  EXPECT_EQ(Erzwungen(kFormatPng, "a.heif"), "a.png");
  EXPECT_EQ(Erzwungen(kFormatJpeg, "a.webp"), "a.jpg");
  EXPECT_EQ(Erzwungen(kFormatJpeg, "Urlaub 2024.07/bild"), "Urlaub 2024.07/bild.jpg");
  EXPECT_EQ(Erzwungen(kFormatPng, "bild.jpg"), "bild.png");
  // A TIFF keeps either of its extensions.
  EXPECT_EQ(Erzwungen(kFormatTiff, "plakat.TIFF"), "plakat.TIFF");
  EXPECT_EQ(Erzwungen(kFormatTiff, "plakat.tif"), "plakat.tif");
  EXPECT_EQ(Erzwungen(kFormatTiff, "plakat.png"), "plakat.tif");
  EXPECT_EQ(Erzwungen(kFormatBmp, "plakat.tiff"), "plakat.bmp");
  EXPECT_EQ(Erzwungen(7, "bild.gif"), "bild.gif");

  SpeicherOptionen optionen;
  optionen.Format = kFormatJpeg;
  DateinameUebernehmen(optionen, "/home/anna/Bilder/mosaik.bmp");
  EXPECT_EQ(optionen.Pfad, "/home/anna/Bilder/");
  EXPECT_EQ(optionen.Datei, "mosaik.jpg");
}

TEST(Speichern, EveryFormatShowsTheBlendAtFullSize) {
  TempFolder ordner;
  const Bitmap mosaik = Verlauf(45, 2 * kStreifenZeilen + 7);
  const Bitmap vorlage = Verlauf(8, 5);
  const uint8_t a = BlendwertAusRegler(kReglerStandard);
  const Bitmap erwartet = Erwartet(mosaik, vorlage, a);

  struct Fall {
    uint8_t farbtiefe;
    int groessterFehler;
    double mittlererFehler;
  };
  for (const Fall& fall : {Fall{kFarbtiefe24, 0, 0}, Fall{kFarbtiefe32, 0, 0},
                           Fall{kFarbtiefe16, 7, 4}, Fall{kFarbtiefe8, 40, 6}}) {
    ASSERT_TRUE(MosaikSpeichern(vorlage, mosaik, a,
                                SpeicherOptionenFuer(ordner, "m.bmp", kFormatBmp, fall.farbtiefe)));
    Bitmap gelesen;
    ASSERT_TRUE(ReadBmpFile(gelesen, ordner / "m.bmp"));
    ASSERT_EQ(gelesen.width(), mosaik.width());
    ASSERT_EQ(gelesen.height(), mosaik.height());
    EXPECT_LE(GroessterFehler(gelesen, erwartet), fall.groessterFehler);
    EXPECT_LE(MittlererFehler(gelesen, erwartet), fall.mittlererFehler);
  }

  ASSERT_TRUE(
      MosaikSpeichern(vorlage, mosaik, a, SpeicherOptionenFuer(ordner, "m.jpg", kFormatJpeg)));
  Bitmap gelesen;
  ASSERT_TRUE(ReadJpegFile(gelesen, ordner / "m.jpg", true, 0));
  ASSERT_EQ(gelesen.width(), mosaik.width());
  EXPECT_LT(MittlererFehler(gelesen, erwartet), 3.0);
  EXPECT_EQ(DateienIn(ordner.path()), (std::set<std::string>{"m.bmp", "m.jpg"}));
}

TEST(Speichern, UnknownFormatWritesNothingAndAnEmptyMosaicIsAnError) {
  TempFolder ordner;
  const Bitmap mosaik = Verlauf(4, 4);
  EXPECT_FALSE(MosaikSpeichern(mosaik, mosaik, 0, SpeicherOptionenFuer(ordner, "m.xyz", 9)));
  EXPECT_THROW(
      MosaikSpeichern(mosaik, Bitmap(), 0, SpeicherOptionenFuer(ordner, "m.bmp", kFormatBmp)),
      WriteError);
  EXPECT_TRUE(std::filesystem::is_empty(ordner.path()));
}

TEST(Speichern, AFolderThatCannotBeWrittenIsReportedWithThePath) {
  TempFolder ordner;
  WriteWholeFile(ordner / "datei", "kein Ordner");
  struct Fall {
    std::string name;
    uint8_t format;
    std::string meldung;
  };
  const std::vector<Fall> faelle = {
      {"m.bmp", kFormatBmp, "nach " + ordner / "datei/m.bmp" + " kann nicht geschrieben werden"},
      {"m.jpg", kFormatJpeg, "nach " + ordner / "datei/m.jpg" + " kann nicht geschrieben werden"},
  };
  for (const Fall& fall : faelle) {
    SpeicherOptionen optionen = SpeicherOptionenFuer(ordner, fall.name, fall.format);
    optionen.Pfad = ordner / "datei/";
    try {
      MosaikSpeichern(Verlauf(4, 4), Verlauf(6, 6), 100, optionen);
      ADD_FAILURE() << fall.name << ": kein Fehler";
    } catch (const WriteError& fehler) {
      EXPECT_EQ(std::string(fehler.what()), fall.meldung);
    }
  }
  EXPECT_EQ(ReadWholeFile(ordner / "datei"), "kein Ordner");
}

// Lets the process write files of at most `bytes` bytes, as a nearly full disk would:
// writing beyond fails with EFBIG instead of the signal that would end the process.
class DateiGrenze {
 public:
  explicit DateiGrenze(rlim_t bytes) {
    alterHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &alt_);
    rlimit neu = alt_;
    neu.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &neu);
  }
  ~DateiGrenze() {
    ::setrlimit(RLIMIT_FSIZE, &alt_);
    std::signal(SIGXFSZ, alterHandler_);
  }

 private:
  rlimit alt_{};
  void (*alterHandler_)(int) = nullptr;
};

TEST(Speichern, AWriteThatFailsOnTheDiskLeavesTheOldFileByteForByte) {
  TempFolder ordner;
  const std::string alt(5000, '\x42');
  const Bitmap mosaik = Verlauf(100, 100);
  for (uint8_t format : {kFormatBmp, kFormatJpeg}) {
    const std::string datei = format == kFormatBmp ? "m.bmp" : "m.jpg";
    WriteWholeFile(ordner / datei, alt);
    {
      DateiGrenze grenze(1000);
      try {
        MosaikSpeichern(mosaik, mosaik, 0, SpeicherOptionenFuer(ordner, datei, format));
        ADD_FAILURE() << datei << ": kein Fehler";
      } catch (const WriteError& fehler) {
        EXPECT_EQ(std::string(fehler.what()), "nach " + ordner / datei +
                                                  " kann nicht geschrieben werden: die Datei "
                                                  "wäre größer, als das System erlaubt");
      }
    }
    EXPECT_EQ(ReadWholeFile(ordner / datei), alt);
    EXPECT_EQ(DateienIn(ordner.path()).size(), format == kFormatBmp ? 1u : 2u);
  }
}

TEST(Speichern, BmpEstimateCountsBytesPerPixelPlusHeaderRoom) {
  const Bitmap mosaik(1000, 500);
  const Bitmap vorlage(10, 10);
  SpeicherOptionen optionen;
  optionen.Format = kFormatBmp;
  Bitmap cache;
  Bitmap vorschau;
  const std::pair<uint8_t, int64_t> faelle[] = {
      {kFarbtiefe16, 1'002'048}, {kFarbtiefe8, 502'048}, {kFarbtiefe24, 1'502'048},
      {kFarbtiefe32, 2'002'048}, {0, 2'002'048},  // a depth never chosen counts 4 bytes
  };
  for (const auto& [farbtiefe, schaetzung] : faelle) {
    optionen.Farbtiefe = farbtiefe;
    EXPECT_EQ(MakeSavePreview(vorlage, mosaik, 128, 236, 170, optionen, cache, vorschau),
              schaetzung);
    EXPECT_EQ(vorschau.format(), BmpPixelFormat(farbtiefe));
  }
  optionen.Format = 5;
  EXPECT_EQ(MakeSavePreview(vorlage, mosaik, 128, 236, 170, optionen, cache, vorschau), -1);
}

TEST(Speichern, PreviewFitsTheBoxAndUsesItsCache) {
  const Bitmap mosaik = Einfarbig(2000, 1000, Farbe{0, 0, 0});
  const Bitmap vorlage = Einfarbig(20, 20, Farbe{200, 200, 200});
  SpeicherOptionen optionen;
  optionen.Format = kFormatBmp;
  optionen.Farbtiefe = kFarbtiefe32;
  Bitmap cache;
  Bitmap vorschau;
  MakeSavePreview(vorlage, mosaik, 0, 236, 170, optionen, cache, vorschau);
  EXPECT_EQ(vorschau.width(), 236);
  EXPECT_EQ(vorschau.height(), 118);
  EXPECT_EQ(ReadPixel(vorschau, 100, 50), (Farbe{200, 200, 200}));
  ASSERT_EQ(cache.width(), 236);

  // The same size again comes from the cache, not from a new blend.
  WritePixel(cache, 100, 50, Farbe{1, 2, 3});
  MakeSavePreview(vorlage, mosaik, 0, 236, 170, optionen, cache, vorschau);
  EXPECT_EQ(ReadPixel(vorschau, 100, 50), (Farbe{1, 2, 3}));
  // Another size is blended afresh.
  MakeSavePreview(vorlage, mosaik, 255, 100, 100, optionen, cache, vorschau);
  EXPECT_EQ(vorschau.width(), 100);
  EXPECT_EQ(ReadPixel(vorschau, 10, 10), (Farbe{0, 0, 0}));

  EXPECT_EQ(MakeSavePreview(vorlage, mosaik, 0, 0, 170, optionen, cache, vorschau), -1);
}

TEST(Speichern, JpegPreviewShowsTheArtefactsAndEstimatesFromTheFullPicture) {
  const Bitmap mosaik = Verlauf(200, 100);
  const Bitmap vorlage = Verlauf(30, 30);
  SpeicherOptionen optionen;
  optionen.Format = kFormatJpeg;
  optionen.Qualitaet = 100;
  Bitmap cache;
  Bitmap vorschau;
  const int64_t schaetzung =
      MakeSavePreview(vorlage, mosaik, 191, 100, 50, optionen, cache, vorschau);
  // A mosaic this small is measured whole: the estimate is the length of the file.
  MemorySink kodiert;
  UeberblendeteStreifen voll(mosaik, vorlage, 191);
  WriteJpeg(kodiert, voll, 100);
  EXPECT_EQ(schaetzung, static_cast<int64_t>(kodiert.bytes().size()));
  // The preview is the decoded JPEG, artefacts and all.
  EXPECT_EQ(vorschau.format(), PixelFormat::k24);
  EXPECT_EQ(vorschau.width(), 100);
  EXPECT_GT(GroessterFehler(vorschau, cache), 0);
  EXPECT_LT(MittlererFehler(vorschau, cache), 3.0);

  // A mosaic smaller than its preview is estimated by its own size as well.
  const int64_t klein =
      MakeSavePreview(vorlage, Verlauf(80, 40), 191, 236, 170, optionen, cache, vorschau);
  MemorySink kleinKodiert;
  const Bitmap kleinMosaik = Verlauf(80, 40);
  UeberblendeteStreifen kleinVoll(kleinMosaik, vorlage, 191);
  WriteJpeg(kleinKodiert, kleinVoll, 100);
  EXPECT_EQ(klein, static_cast<int64_t>(kleinKodiert.bytes().size()));
  EXPECT_EQ(vorschau.width(), 236);
}

}  // namespace
}  // namespace tilvendo
