#include "pictures/bild_einpassen.h"

#include <gtest/gtest.h>

#include "platform/pixel.h"

namespace tilvendo {
namespace {

using Stufen = std::vector<Size>;

TEST(EinpassStufen, SmallFactorsCopyHalvesRoundToEvenAndLargeReductionsGoInStagesOfTen) {
  EXPECT_EQ(EinpassStufen(100, 100, 80, 80), Stufen{});    // 1.25 → 1
  EXPECT_EQ(EinpassStufen(100, 100, 400, 300), Stufen{});  // enlargement
  EXPECT_EQ(EinpassStufen(14, 14, 10, 10), Stufen{});      // 1.4 → 1
  EXPECT_EQ(EinpassStufen(100, 100, 0, 10), Stufen{});     // empty rectangles
  EXPECT_EQ(EinpassStufen(100, 100, 10, 0), Stufen{});
  // 1.5 → 2, 2.5 → 2, 3.5 → 4 and 5 need one intermediate of the rectangle's size.
  for (const int32_t breite : {15, 25, 35, 50}) {
    EXPECT_EQ(EinpassStufen(breite, 10, 10, 10), (Stufen{{10, 10}})) << breite;
  }
  // A tenth, a hundredth, then the rectangle; a side only 10 times too large reaches it at
  // once.
  EXPECT_EQ(EinpassStufen(4000, 3000, 10, 10), (Stufen{{400, 300}, {40, 30}, {10, 10}}));
  EXPECT_EQ(EinpassStufen(4000, 100, 10, 10), (Stufen{{400, 10}, {40, 10}, {10, 10}}));
  EXPECT_EQ(EinpassStufen(350, 350, 10, 10), (Stufen{{35, 35}, {10, 10}}));
  EXPECT_EQ(EinpassStufen(2500, 2500, 10, 10), (Stufen{{250, 250}, {25, 25}, {10, 10}}));
}

TEST(BildEinpassen, DrawsTheWholeSourceIntoTheRectangle) {
  Bitmap source(4000, 3000);
  for (int32_t y = 0; y < 3000; ++y) {
    for (int32_t x = 0; x < 4000; ++x) {
      WritePixel(source, x, y, x < 2000 ? Farbe{255, 0, 0} : Farbe{0, 0, 255});
    }
  }
  Bitmap target(12, 12);
  BildEinpassen(target, Rect{1, 1, 11, 11}, source);
  EXPECT_EQ(ReadPixel(target, 0, 0), Farbe{});
  EXPECT_EQ(ReadPixel(target, 1, 1), (Farbe{255, 0, 0}));
  EXPECT_EQ(ReadPixel(target, 10, 10), (Farbe{0, 0, 255}));
  EXPECT_EQ(ReadPixel(target, 11, 11), Farbe{});

  Bitmap untouched(4, 4);
  BildEinpassen(untouched, Rect{0, 0, 0, 4}, source);
  EXPECT_EQ(ReadPixel(untouched, 0, 0), Farbe{});
}

}  // namespace
}  // namespace tilvendo
