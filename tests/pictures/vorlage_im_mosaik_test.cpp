#include "pictures/vorlage_im_mosaik.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "pictures/bild_einpassen.h"
#include "pictures/blending.h"
#include "speicher_testbilder.h"

namespace tilvendo {
namespace {

using testing::Verlauf;

// The template rows of a mosaic asked for band by band, as the composer does.
Bitmap InBaendern(const VorlageImMosaik& vorlage, int32_t band) {
  Bitmap ganz(vorlage.breite(), vorlage.hoehe());
  for (int32_t first = 0; first < vorlage.hoehe(); first += band) {
    Bitmap teil(vorlage.breite(), std::min(band, vorlage.hoehe() - first));
    vorlage.Zeilen(first, teil);
    for (int32_t y = 0; y < teil.height(); ++y) {
      std::memcpy(ganz.row(first + y), teil.row(y), teil.stride());
    }
  }
  return ganz;
}

// The positions sample the source at the pixel centres: eight pixels from two have the
// end pixels in their outer quarters and blend in the middle; one to one is the identity.
TEST(VorlageImMosaik, ABlackAndWhiteTemplateBecomesASmoothRamp) {
  Bitmap vorlage(2, 1);
  WritePixel(vorlage, 1, 0, Farbe{255, 255, 255});
  const VorlageImMosaik gross(vorlage, 8, 3, Vorlagenskalierung::Bilinear);
  const Bitmap rampe = InBaendern(gross, 2);
  const uint8_t erwartet[] = {0, 0, 32, 96, 159, 223, 255, 255};
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(ReadPixel(rampe, x, y).red, erwartet[x]) << x;
  }
  const Bitmap verlauf = Verlauf(5, 3);
  const VorlageImMosaik gleich(verlauf, 5, 3, Vorlagenskalierung::Bilinear);
  EXPECT_EQ(testing::GroessterFehler(InBaendern(gleich, 2), verlauf), 0);
}

// However the rows are split into bands, they are the rows of the whole; the exact way
// gives the whole-picture blend's template, the bilinear way never repeats a pixel of
// an enlarged template in blocks, and a template larger than the mosaic is reduced with
// the staged resampler in both ways.
TEST(VorlageImMosaik, BandsAreTheRowsOfTheWholeInEitherWay) {
  const Bitmap klein = Verlauf(9, 5);
  const Bitmap gross = Verlauf(400, 300);
  for (const Bitmap* vorlage : {&klein, &gross}) {
    Bitmap erwartet(37, 29);
    BlendTemplateIntoMosaic(erwartet, Bitmap(37, 29), *vorlage, 0);
    const VorlageImMosaik genau(*vorlage, 37, 29, Vorlagenskalierung::WieGanz);
    const VorlageImMosaik glatt(*vorlage, 37, 29, Vorlagenskalierung::Bilinear);
    const Bitmap ganzGlatt = InBaendern(glatt, 29);
    for (const int32_t band : {1, 4, 11, 29}) {
      EXPECT_EQ(testing::GroessterFehler(InBaendern(genau, band), erwartet), 0) << band;
      EXPECT_EQ(testing::GroessterFehler(InBaendern(glatt, band), ganzGlatt), 0) << band;
    }
    if (vorlage == &gross) {
      Bitmap reduziert(37, 29);
      BildEinpassen(reduziert, Rect{0, 0, 37, 29}, gross);
      EXPECT_EQ(testing::GroessterFehler(ganzGlatt, reduziert), 0);
    } else {
      // Neighbouring columns of the enlarged gradient differ, unlike repeated pixels.
      EXPECT_NE(ReadPixel(ganzGlatt, 17, 14), ReadPixel(ganzGlatt, 18, 14));
      EXPECT_EQ(ReadPixel(InBaendern(genau, 29), 17, 14), ReadPixel(InBaendern(genau, 29), 18, 14));
    }
  }
  // No template counts as black.
  const Bitmap keine;
  const VorlageImMosaik leer(keine, 5, 4, Vorlagenskalierung::Bilinear);
  EXPECT_EQ(ReadPixel(InBaendern(leer, 3), 4, 3), (Farbe{0, 0, 0}));
}

// Any crossing of columns and rows, in any order and repeated, is the pixel the rows
// hand out there, in either way; a position outside the mosaic is refused.
TEST(VorlageImMosaik, SamplesAreThePixelsOfTheRows) {
  const Bitmap klein = Verlauf(9, 5);
  const Bitmap gross = Verlauf(400, 300);
  const std::vector<int32_t> spalten{0, 5, 6, 6, 36, 17, 2};
  const std::vector<int32_t> zeilen{28, 0, 1, 1, 14, 27, 13};
  for (const Bitmap* vorlage : {&klein, &gross}) {
    for (const auto art : {Vorlagenskalierung::WieGanz, Vorlagenskalierung::Bilinear}) {
      const VorlageImMosaik skaliert(*vorlage, 37, 29, art);
      const Bitmap ganz = InBaendern(skaliert, 29);
      Bitmap probe(static_cast<int32_t>(spalten.size()), static_cast<int32_t>(zeilen.size()));
      skaliert.Abtasten(spalten, zeilen, probe);
      for (size_t j = 0; j < zeilen.size(); ++j) {
        for (size_t i = 0; i < spalten.size(); ++i) {
          EXPECT_EQ(ReadPixel(probe, static_cast<int32_t>(i), static_cast<int32_t>(j)),
                    ReadPixel(ganz, spalten[i], zeilen[j]))
              << vorlage->width() << " " << static_cast<int>(art) << " " << i << "," << j;
        }
      }
      Bitmap eins(1, 1);
      const std::vector<int32_t> null{0};
      EXPECT_THROW(skaliert.Abtasten(std::vector<int32_t>{37}, null, eins), std::invalid_argument);
      EXPECT_THROW(skaliert.Abtasten(null, std::vector<int32_t>{-1}, eins), std::invalid_argument);
      EXPECT_THROW(skaliert.Abtasten(spalten, null, eins), std::invalid_argument);
    }
  }
}

}  // namespace
}  // namespace tilvendo
