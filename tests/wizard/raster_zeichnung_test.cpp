#include "wizard/raster_zeichnung.h"

#include <gtest/gtest.h>

namespace tilvendo::wizard {
namespace {

TEST(RasterZeichnung, LinienOhneRechtenUndUnterenRand) {
  EXPECT_EQ(RasterLinien(230, 3), (std::vector<int32_t>{0, 77, 153}));
  EXPECT_EQ(RasterLinien(10, 4), (std::vector<int32_t>{0, 2, 5, 8}));  // 2.5 → 2, 7.5 → 8
  EXPECT_EQ(RasterLinien(230, 1), (std::vector<int32_t>{0}));
  EXPECT_TRUE(RasterLinien(230, 0).empty());
  EXPECT_EQ(ZellRechteck(100, 50, 10, 10, {3, 4}), (Rect{30, 20, 40, 25}));
}

// 300 × 210 tiles in a preview of 230 pixels would be lines a pixel apart: no grid; a
// few pixels a cell draw it faintly.
TEST(RasterZeichnung, DichteRasterWerdenBlasserOderFallenWeg) {
  EXPECT_EQ(RasterDeckkraft(230, 300), 0);
  EXPECT_EQ(RasterDeckkraft(230, 77), 0);    // 2,99 Pixel
  EXPECT_EQ(RasterDeckkraft(231, 77), 35);   // genau 3
  EXPECT_EQ(RasterDeckkraft(230, 39), 35);   // 5,9
  EXPECT_EQ(RasterDeckkraft(234, 39), 100);  // genau 6
  EXPECT_EQ(RasterDeckkraft(230, 1), 100);
  EXPECT_EQ(RasterDeckkraft(230, 0), 100);
}

TEST(RasterZeichnung, AbstandsregelMitUndOhneAbstand) {
  const Abstandsregel d2 = AbstandsregelZellen(10, 10, 2);
  ASSERT_EQ(d2.blau.size(), 9u);
  EXPECT_EQ(d2.blau.front(), (ZellIndex{3, 3}));
  EXPECT_EQ(d2.blau.back(), (ZellIndex{5, 5}));
  const std::vector<ZellIndex> rot = {{6, 3}, {6, 4}, {6, 5}, {6, 6}, {3, 6},
                                      {4, 6}, {5, 6}, {6, 6}, {3, 3}};
  EXPECT_EQ(d2.rot, rot);

  const Abstandsregel d0 = AbstandsregelZellen(10, 10, 0);
  EXPECT_EQ(d0.blau, (std::vector<ZellIndex>{{4, 4}}));
  EXPECT_EQ(d0.rot.back(), (ZellIndex{4, 4}));  // the single blue cell is painted red
  EXPECT_EQ(d0.rot.front(), (ZellIndex{5, 4}));
}

}  // namespace
}  // namespace tilvendo::wizard
