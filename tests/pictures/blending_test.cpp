#include "pictures/blending.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "pictures/bild_einpassen.h"
#include "speicher_testbilder.h"
#include "support/bild_dateien.h"

namespace tilvendo {
namespace {

using testing::Einfarbig;
using testing::GroessterFehler;
using testing::Verlauf;

TEST(Blending, SliderMapsToBlendValueAndTemplateShare) {
  EXPECT_EQ(BlendwertAusRegler(-20), 255);
  EXPECT_EQ(BlendwertAusRegler(-15), 191);
  EXPECT_EQ(BlendwertAusRegler(-1), 12);
  EXPECT_EQ(BlendwertAusRegler(0), 0);
  // Positions beyond the slider's ends must not wrap around the byte.
  EXPECT_EQ(BlendwertAusRegler(-21), 255);
  EXPECT_EQ(BlendwertAusRegler(3), 0);
  EXPECT_EQ(VorlagenAnteil(-15), 25);
  EXPECT_EQ(VorlagenAnteil(-20), 0);
  EXPECT_EQ(VorlagenAnteil(0), 100);
}

TEST(Blending, EveryChannelWithinOneOfTheExactBlendAndExactAtTheEnds) {
  for (int a = 0; a <= 255; ++a) {
    for (int m = 0; m <= 255; m += 3) {
      // One row of every template value at once, so the vectorised loop and its tail
      // are both exercised.
      uint8_t t[256];
      uint8_t mosaik[256];
      uint8_t out[256];
      for (int i = 0; i < 256; ++i) {
        t[i] = static_cast<uint8_t>(i);
        mosaik[i] = static_cast<uint8_t>(m);
      }
      BlendBytes(t, mosaik, out, 256, static_cast<uint8_t>(a));
      for (int i = 0; i < 256; ++i) {
        const double exakt = (m * a + i * (255.0 - a)) / 255.0;
        ASSERT_LE(std::fabs(out[i] - exakt), 1.0) << "a=" << a << " m=" << m << " t=" << i;
        if (a == 0) {
          ASSERT_EQ(out[i], i);
        }
        if (a == 255) {
          ASSERT_EQ(out[i], m);
        }
      }
    }
  }
}

TEST(Blending, DestinationDecidesTheSizeEvenDownToOnePixel) {
  const Bitmap mosaik = Einfarbig(50, 40, Farbe{200, 100, 0});
  const Bitmap vorlage = Einfarbig(8, 8, Farbe{0, 100, 200});
  Bitmap punkt(1, 1);
  BlendTemplateIntoMosaic(punkt, mosaik, vorlage, 128);
  ASSERT_EQ(punkt.width(), 1);
  const Farbe p = ReadPixel(punkt, 0, 0);
  EXPECT_NEAR(p.blue, 100, 1);
  EXPECT_EQ(p.green, 100);
  EXPECT_NEAR(p.red, 100, 1);

  // A destination in another format is made a working picture of its size.
  Bitmap anderes(5, 4, PixelFormat::k24);
  BlendTemplateIntoMosaic(anderes, mosaik, vorlage, 255);
  EXPECT_EQ(anderes.format(), kPixelformat);
  EXPECT_EQ(ReadPixel(anderes, 4, 3), (Farbe{200, 100, 0}));
}

TEST(Blending, MismatchedPicturesAreRefused) {
  const Bitmap klein(4, 4);
  const Bitmap gross(5, 4);
  Bitmap ziel(4, 4);
  EXPECT_THROW(BlendBitmaps(klein, gross, ziel, 10), std::invalid_argument);
  const Bitmap falschesFormat(4, 4, PixelFormat::k24);
  EXPECT_THROW(BlendBitmaps(falschesFormat, klein, ziel, 10), std::invalid_argument);
}

// The strips the writers read must be exactly the whole-picture blend, whatever rows
// are asked for and however the template has to be scaled; at the ends that blend is the
// stretched template or the mosaic itself, without loss.
TEST(Blending, StripsMatchTheWholePictureBlend) {
  const Bitmap mosaik = Verlauf(37, 29);
  struct Fall {
    Bitmap vorlage;
    uint8_t a;
  };
  Fall faelle[] = {
      {Verlauf(9, 5), 191},     // enlarged
      {Verlauf(400, 300), 77},  // reduced in stages
      {Verlauf(9, 5), 0},      {Verlauf(9, 5), 255},
      {Bitmap(), 100},  // no template: it counts as black
  };
  for (Fall& fall : faelle) {
    Bitmap ganz(mosaik.width(), mosaik.height());
    BlendTemplateIntoMosaic(ganz, mosaik, fall.vorlage, fall.a);
    if (fall.a == 0 && !fall.vorlage.empty()) {
      Bitmap gestreckt(mosaik.width(), mosaik.height());
      BildEinpassen(gestreckt, Rect{0, 0, mosaik.width(), mosaik.height()}, fall.vorlage);
      EXPECT_EQ(GroessterFehler(ganz, gestreckt), 0);
    }
    if (fall.a == 255) {
      EXPECT_EQ(GroessterFehler(ganz, mosaik), 0);
    }
    UeberblendeteStreifen streifen(mosaik, fall.vorlage, fall.a);
    ASSERT_EQ(streifen.Breite(), 37);
    ASSERT_EQ(streifen.Hoehe(), 29);
    for (int32_t first : {0, 5, 28, 13}) {
      const int32_t anzahl = std::min(11, 29 - first);
      const Zeilen zeilen = streifen.Streifen(first, anzahl);
      for (int32_t i = 0; i < anzahl; ++i) {
        for (int32_t x = 0; x < 37; ++x) {
          const uint8_t* p = zeilen.Zeile(i) + 4 * x;
          ASSERT_EQ((Farbe{p[0], p[1], p[2]}), ReadPixel(ganz, x, first + i))
              << "a=" << int(fall.a) << " row " << first + i << " x " << x;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tilvendo
