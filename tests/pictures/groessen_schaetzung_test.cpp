#include "pictures/groessen_schaetzung.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "pictures/blending.h"
#include "pictures/byte_sink.h"
#include "pictures/jpeg_writer.h"
#include "pictures/speichern.h"
#include "pictures/streifen_quelle.h"
#include "platform/pixel.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::TempFolder;

// Small random numbers that are the same on every run.
class Wuerfel {
 public:
  explicit Wuerfel(uint32_t saat) : zustand_(saat * 2654435761u + 1u) {}
  uint32_t Zahl() {
    zustand_ ^= zustand_ << 13;
    zustand_ ^= zustand_ >> 17;
    zustand_ ^= zustand_ << 5;
    return zustand_;
  }
  int Bis(int n) { return static_cast<int>(Zahl() % static_cast<uint32_t>(n)); }
  double Anteil() { return static_cast<double>(Zahl() % 10000u) / 10000.0; }

 private:
  uint32_t zustand_;
};

uint8_t Kanal(double wert) {
  return static_cast<uint8_t>(std::clamp(static_cast<int>(wert), 0, 255));
}

// A photo as a tile shows it: a soft gradient between two colours of its own, a texture
// of some frequency, a few hard-edged shapes and sensor grain, drawn into `bild` at
// (links, oben) in a w × h cell.
void FotoZeichnen(Bitmap& bild, int32_t links, int32_t oben, int32_t w, int32_t h, uint32_t saat) {
  Wuerfel wuerfel(saat);
  double oberFarbe[3];
  double unterFarbe[3];
  for (int c = 0; c < 3; ++c) {
    oberFarbe[c] = 30 + wuerfel.Bis(200);
    unterFarbe[c] = 20 + wuerfel.Bis(200);
  }
  const double frequenz = 2 + 25 * wuerfel.Anteil();
  const double textur = 5 + 35 * wuerfel.Anteil();
  const int korn = 2 + wuerfel.Bis(14);
  struct Form {
    double x0, y0, x1, y1;
    double farbe[3];
    bool rund;
  };
  std::vector<Form> formen(static_cast<size_t>(1 + wuerfel.Bis(4)));
  for (Form& f : formen) {
    f.x0 = wuerfel.Anteil();
    f.y0 = wuerfel.Anteil();
    f.x1 = f.x0 + 0.1 + 0.5 * wuerfel.Anteil();
    f.y1 = f.y0 + 0.1 + 0.5 * wuerfel.Anteil();
    for (double& c : f.farbe) c = wuerfel.Bis(256);
    f.rund = wuerfel.Bis(2) == 0;
  }
  for (int32_t y = 0; y < h; ++y) {
    const double v = static_cast<double>(y) / h;
    uint8_t* zeile = bild.row(oben + y) + 4 * static_cast<size_t>(links);
    for (int32_t x = 0; x < w; ++x) {
      const double u = static_cast<double>(x) / w;
      double farbe[3];
      const double welle = textur * std::sin(frequenz * (u + 0.7 * v) + 3 * std::sin(5 * v));
      for (int c = 0; c < 3; ++c) farbe[c] = oberFarbe[c] * (1 - v) + unterFarbe[c] * v + welle;
      for (const Form& f : formen) {
        bool innen = u >= f.x0 && u < f.x1 && v >= f.y0 && v < f.y1;
        if (innen && f.rund) {
          const double du = (u - (f.x0 + f.x1) / 2) / (f.x1 - f.x0);
          const double dv = (v - (f.y0 + f.y1) / 2) / (f.y1 - f.y0);
          innen = du * du + dv * dv < 0.25;
        }
        if (innen) std::copy(std::begin(f.farbe), std::end(f.farbe), farbe);
      }
      const int grain = wuerfel.Bis(2 * korn + 1) - korn;
      for (int c = 0; c < 3; ++c) zeile[4 * x + c] = Kanal(farbe[c] + grain);
      zeile[4 * x + 3] = 0;
    }
  }
}

// An ordinary mosaic: `spalten` × `zeilen` tiles drawn from a collection of `fotos`
// photos, many of them repeated, as the matching leaves them.
Bitmap Mosaik(int32_t breite, int32_t hoehe, int32_t spalten, int32_t zeilen, int fotos,
              uint32_t saat) {
  Bitmap mosaik(breite, hoehe, kPixelformat);
  Wuerfel wuerfel(saat);
  for (int32_t i = 0; i < spalten; ++i) {
    for (int32_t j = 0; j < zeilen; ++j) {
      const int32_t x0 = breite * i / spalten;
      const int32_t y0 = hoehe * j / zeilen;
      const int32_t x1 = breite * (i + 1) / spalten;
      const int32_t y1 = hoehe * (j + 1) / zeilen;
      FotoZeichnen(mosaik, x0, y0, x1 - x0, y1 - y0, saat * 1000 + wuerfel.Bis(fotos));
    }
  }
  return mosaik;
}

// A template with large calm areas and a few strong edges: sky, a sun, a hill.
Bitmap Vorlage(int32_t breite, int32_t hoehe) {
  Bitmap vorlage(breite, hoehe, kPixelformat);
  for (int32_t y = 0; y < hoehe; ++y) {
    for (int32_t x = 0; x < breite; ++x) {
      const double u = static_cast<double>(x) / breite;
      const double v = static_cast<double>(y) / hoehe;
      Farbe farbe{Kanal(80 + 120 * v), Kanal(140 + 60 * v), Kanal(230 - 50 * v)};
      if ((u - 0.7) * (u - 0.7) + (v - 0.25) * (v - 0.25) < 0.01) farbe = Farbe{250, 220, 60};
      if (v > 0.6 + 0.15 * std::sin(6 * u)) farbe = Farbe{Kanal(40 + 60 * u), 120, 50};
      WritePixel(vorlage, x, y, farbe);
    }
  }
  return vorlage;
}

int64_t EchteLaenge(StreifenQuelle& quelle, int qualitaet) {
  MemorySink kodiert;
  WriteJpeg(kodiert, quelle, qualitaet);
  return static_cast<int64_t>(kodiert.bytes().size());
}

struct Fall {
  int32_t breite, hoehe, spalten, zeilen;
  int fotos;
};

// Each estimate within this share of the real length. Users are promised ±20 %; the
// sample of whole rows of blocks does far better on mosaics, and a looser bound would
// let a miscounted row or header pass.
constexpr double kToleranz = 0.03;
constexpr int kQualitaeten[] = {50, 70, 90, 100};

TEST(GroessenSchaetzung, OrdinaryMosaicsAreEstimatedCloselyAtEveryQuality) {
  // Tiles of 30, 16 and 75 × 70 pixels; a small sample, so every case is sampled.
  const Fall faelle[] = {
      {1200, 900, 40, 30, 60},
      {1600, 1000, 100, 62, 200},
      {900, 1400, 12, 20, 40},
  };
  const uint8_t a = BlendwertAusRegler(kReglerStandard);
  uint32_t saat = 1;
  for (const Fall& fall : faelle) {
    const Bitmap mosaik =
        Mosaik(fall.breite, fall.hoehe, fall.spalten, fall.zeilen, fall.fotos, saat++);
    const Bitmap vorlage = Vorlage(fall.breite * 2 / 3, fall.hoehe * 2 / 3);
    for (int qualitaet : kQualitaeten) {
      UeberblendeteStreifen fuerSchaetzung(mosaik, vorlage, a);
      const int64_t schaetzung = JpegGroesseSchaetzen(fuerSchaetzung, qualitaet, 150'000);
      UeberblendeteStreifen fuerDatei(mosaik, vorlage, a);
      const int64_t echt = EchteLaenge(fuerDatei, qualitaet);
      EXPECT_NEAR(static_cast<double>(schaetzung) / static_cast<double>(echt), 1.0, kToleranz)
          << fall.breite << " x " << fall.hoehe << ", Qualität " << qualitaet << ": geschätzt "
          << schaetzung << ", echt " << echt;
    }
  }
}

TEST(GroessenSchaetzung, ThePreviewEstimatesTheSavedFile) {
  // A 1600 × 1200 template made into a 2400 × 1800 mosaic of 60 × 45 tiles, the template
  // blended in as the result page starts: the saved file, not a preview, is the measure.
  TempFolder ordner;
  const Bitmap mosaik = Mosaik(2400, 1800, 60, 45, 300, 7);
  const Bitmap vorlage = Vorlage(1600, 1200);
  const uint8_t a = BlendwertAusRegler(kReglerStandard);
  SpeicherOptionen optionen;
  optionen.Pfad = ordner.path();
  optionen.Datei = "mosaik.jpg";
  optionen.Format = kFormatJpeg;
  for (int qualitaet : {50, 90}) {
    optionen.Qualitaet = static_cast<uint8_t>(qualitaet);
    Bitmap cache;
    Bitmap vorschau;
    const int64_t schaetzung =
        MakeSavePreview(vorlage, mosaik, a, 236, 170, optionen, cache, vorschau);
    ASSERT_TRUE(MosaikSpeichern(vorlage, mosaik, a, optionen));
    const auto echt = static_cast<int64_t>(std::filesystem::file_size(ordner / "mosaik.jpg"));
    EXPECT_NEAR(static_cast<double>(schaetzung) / static_cast<double>(echt), 1.0, kToleranz)
        << "Qualität " << qualitaet << ": geschätzt " << schaetzung << ", echt " << echt;
  }
}

TEST(GroessenSchaetzung, ACalmPictureCountsItsHeaderOnce) {
  // A narrow strip of soft gradients takes few bytes per row of blocks: the header is a
  // good part of the file, and counted once per sampled stretch it would double it.
  Bitmap ruhig(96, 3000, kPixelformat);
  for (int32_t y = 0; y < ruhig.height(); ++y) {
    for (int32_t x = 0; x < ruhig.width(); ++x) {
      WritePixel(ruhig, x, y, Farbe{Kanal(x * 2), Kanal(y / 12), 120});
    }
  }
  for (int qualitaet : {50, 90}) {
    BitmapStreifen fuerSchaetzung(ruhig);
    const int64_t schaetzung = JpegGroesseSchaetzen(fuerSchaetzung, qualitaet, 1000);
    BitmapStreifen fuerDatei(ruhig);
    const int64_t echt = EchteLaenge(fuerDatei, qualitaet);
    EXPECT_NEAR(static_cast<double>(schaetzung) / static_cast<double>(echt), 1.0, kToleranz)
        << "Qualität " << qualitaet << ": geschätzt " << schaetzung << ", echt " << echt;
  }
}

TEST(GroessenSchaetzung, RowsRepeatingWithTheSampleStretchesDoNotMisleadIt) {
  // Every fourth row of blocks is busy, the rest plain; 96 rows sampled by 24 stretches
  // of four. A sample taken at one fixed place in every stretch would see only busy or
  // only plain rows and miss by a factor of four or more.
  Bitmap streifig(1024, 96 * 16, kPixelformat);
  Wuerfel wuerfel(9);
  for (int32_t y = 0; y < streifig.height(); ++y) {
    const bool unruhig = (y / 16) % 4 == 0;
    for (int32_t x = 0; x < streifig.width(); ++x) {
      const uint8_t wert = unruhig ? static_cast<uint8_t>(wuerfel.Bis(256)) : 128;
      WritePixel(streifig, x, y, Farbe{wert, wert, 128});
    }
  }
  BitmapStreifen fuerSchaetzung(streifig);
  const int64_t schaetzung = JpegGroesseSchaetzen(fuerSchaetzung, 90, 1000);
  BitmapStreifen fuerDatei(streifig);
  const int64_t echt = EchteLaenge(fuerDatei, 90);
  EXPECT_NEAR(static_cast<double>(schaetzung) / static_cast<double>(echt), 1.0, kToleranz)
      << "geschätzt " << schaetzung << ", echt " << echt;
}

TEST(GroessenSchaetzung, ASmallPictureIsEncodedWholeAndMeasuredExactly) {
  const Bitmap mosaik = Mosaik(300, 200, 10, 8, 20, 3);
  for (int qualitaet : kQualitaeten) {
    BitmapStreifen fuerSchaetzung(mosaik);
    BitmapStreifen fuerDatei(mosaik);
    EXPECT_EQ(JpegGroesseSchaetzen(fuerSchaetzung, qualitaet), EchteLaenge(fuerDatei, qualitaet));
  }
  // Too few rows of blocks to leave any out: measured whole as well.
  const Bitmap flach = Mosaik(8000, 200, 200, 5, 20, 4);
  BitmapStreifen fuerSchaetzung(flach);
  BitmapStreifen fuerDatei(flach);
  EXPECT_EQ(JpegGroesseSchaetzen(fuerSchaetzung, 90, 1000), EchteLaenge(fuerDatei, 90));

  const Bitmap leer;
  BitmapStreifen nichts(leer);
  EXPECT_EQ(JpegGroesseSchaetzen(nichts, 90), 0);
}

TEST(GroessenSchaetzung, ABmpFileIsItsPixelsPlusAtMostTheHeaderRoom) {
  TempFolder ordner;
  const Bitmap mosaik = Mosaik(1000, 500, 10, 5, 10, 6);
  SpeicherOptionen optionen;
  optionen.Pfad = ordner.path();
  optionen.Datei = "mosaik.bmp";
  optionen.Format = kFormatBmp;
  constexpr int64_t kKopfRaum = 2048;
  for (uint8_t farbtiefe : {kFarbtiefe8, kFarbtiefe16, kFarbtiefe24, kFarbtiefe32}) {
    optionen.Farbtiefe = farbtiefe;
    Bitmap cache;
    Bitmap vorschau;
    const int64_t schaetzung =
        MakeSavePreview(mosaik, mosaik, 255, 236, 170, optionen, cache, vorschau);
    ASSERT_TRUE(MosaikSpeichern(mosaik, mosaik, 255, optionen));
    const auto echt = static_cast<int64_t>(std::filesystem::file_size(ordner / "mosaik.bmp"));
    EXPECT_LE(echt, schaetzung) << int{farbtiefe};
    EXPECT_GE(echt, schaetzung - kKopfRaum) << int{farbtiefe};
  }
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
  MemorySink kodiert;
  const Bitmap bild = Mosaik(64, 48, 2, 2, 2, 5);
  BitmapStreifen quelle(bild);
  WriteJpeg(kodiert, quelle, 90);
  const int64_t eigenerKopf = JpegKopfLaenge(kodiert.bytes());
  EXPECT_GT(eigenerKopf, 300);
  EXPECT_LT(eigenerKopf, 1000);
  const auto sos = static_cast<size_t>(eigenerKopf) - 2;
  EXPECT_EQ(kodiert.bytes().at(sos - 14), 0xFF);  // the SOS segment of three channels
  EXPECT_EQ(kodiert.bytes().at(sos - 13), 0xDA);
}

}  // namespace
}  // namespace tilvendo
