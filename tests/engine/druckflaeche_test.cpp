#include "engine/druckflaeche.h"

#include <gtest/gtest.h>

namespace tilvendo {
namespace {

// The two choices of a poster said in words: the cut, and the printed size with its
// margins.
TEST(Druckflaeche, TheCutAndTheMarginsAreSaidToThePixelAndTheMillimetre) {
  EXPECT_EQ(ZuschnittText(Size{2560, 1600}, Rect{137, 0, 2423, 1600}),
            "Die Vorlage wird auf die Form des Papiers zugeschnitten: 2286 × 1600 von 2560 × "
            "1600 Pixel, links und rechts je 137 Pixel weg.");
  EXPECT_EQ(ZuschnittText(Size{160, 257}, Rect{0, 72, 160, 184}),
            "Die Vorlage wird auf die Form des Papiers zugeschnitten: 160 × 112 von 160 × 257 "
            "Pixel, oben 72 und unten 73 Pixel weg.");
  EXPECT_EQ(ZuschnittText(Size{2560, 1600}, Rect{}), "");
  EXPECT_EQ(ZuschnittText(Size{2560, 1600}, Rect{0, 0, 2560, 1600}), "");

  // 4921 pixels at 200 dpi are 624,97 mm: 3,75 cm left above and below, to the even mm.
  EXPECT_EQ(DruckflaechenText(7874, 4921, 200, 1000, 700),
            "Druckgröße 100 × 62,5 cm auf 100 × 70 cm: Rand oben und unten je 3,8 cm");
  // A margin below a millimetre is none; one of exactly a millimetre is said.
  EXPECT_EQ(DruckflaechenText(1000, 992, 254, 100, 100),
            "Druckgröße 10 × 9,9 cm, das ganze Papier");
  EXPECT_EQ(DruckflaechenText(1000, 980, 254, 100, 100),
            "Druckgröße 10 × 9,8 cm auf 10 × 10 cm: Rand oben und unten je 0,1 cm");
  EXPECT_EQ(DruckflaechenText(980, 1000, 254, 100, 100),
            "Druckgröße 9,8 × 10 cm auf 10 × 10 cm: Rand links und rechts je 0,1 cm");
  EXPECT_EQ(DruckflaechenText(992, 1000, 254, 100, 100),
            "Druckgröße 9,9 × 10 cm, das ganze Papier");
  EXPECT_EQ(DruckflaechenText(900, 980, 254, 100, 100),
            "Druckgröße 9 × 9,8 cm auf 10 × 10 cm: Rand links und rechts je 0,5 cm, oben und "
            "unten je 0,1 cm");
  EXPECT_EQ(DruckflaechenText(900, 980, 0, 100, 100), "");
}

// 100 × 70 cm at 200 dpi are 7874 × 5511 pixels; whole tiles leave fewer, and the file's
// resolution brings the print back to the paper, within a millimetre each way.
TEST(Druckflaeche, TheFilesResolutionPrintsWholeTilesAtThePapersSize) {
  struct Fall {
    int32_t kachelnX, kachelnY;
    Size mosaik;
  };
  const Size ziel{7874, 5511};
  for (const Fall& fall : {Fall{60, 42, Size{7860, 5502}}, Fall{300, 210, Size{7800, 5460}},
                           Fall{7, 300, Size{7868, 5400}}}) {
    const Dateiaufloesung dpi = DateiAufloesung(fall.mosaik, ziel, 200);
    EXPECT_NEAR(GedruckteMillimeter(fall.mosaik.width, dpi.x), 1000.0, 1.0) << fall.kachelnX;
    EXPECT_NEAR(GedruckteMillimeter(fall.mosaik.height, dpi.y), 700.0, 1.0) << fall.kachelnY;
    // At the resolution chosen the whole tiles would print short.
    EXPECT_LT(GedruckteMillimeter(fall.mosaik.height, 200), 699.0) << fall.kachelnY;
  }
  // 60 × 42 tiles: the print of the rounded resolution, not of 200 dpi.
  const Dateiaufloesung dpi = DateiAufloesung(Size{7860, 5502}, ziel, 200);
  EXPECT_NEAR(dpi.x, 199.644, 0.001);
  EXPECT_NEAR(dpi.y, 199.673, 0.001);
  // A mosaic of the very size chosen keeps the resolution chosen; none without one.
  EXPECT_EQ(DateiAufloesung(ziel, ziel, 200), (Dateiaufloesung{200.0, 200.0}));
  EXPECT_EQ(DateiAufloesung(ziel, ziel, 0), Dateiaufloesung{});
  EXPECT_EQ(DateiAufloesung(Size{}, ziel, 200), Dateiaufloesung{});
  EXPECT_EQ(GedruckteMillimeter(200, 0.0), 0.0);
}

}  // namespace
}  // namespace tilvendo
