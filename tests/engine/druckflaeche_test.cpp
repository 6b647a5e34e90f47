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
  EXPECT_EQ(DruckflaechenText(7874, 5511, 200, 1000, 700),
            "Druckgröße 100 × 70 cm, das ganze Papier");
  EXPECT_EQ(DruckflaechenText(3444, 5511, 200, 1000, 700),
            "Druckgröße 43,7 × 70 cm auf 100 × 70 cm: Rand links und rechts je 28,1 cm");
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

}  // namespace
}  // namespace tilvendo
