#include "wizard/seiten_druck.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace tilvendo::wizard {
namespace {

TEST(SeitenDruck, SaysTheSheetsAndDrawsEachOverTheMosaicOrSaysWhyNot) {
  // At 254 dpi 5000 × 3000 pixels lie on 2 × 2 A4 sheets turned sideways (see the grid's
  // own test); shown at a tenth, their parts overlap by 10 pixels.
  Seitenwahl wahl;
  const Seitenangabe angabe = SeitenAngeben(Size{5000, 3000}, 254.0, 254.0, wahl);
  ASSERT_TRUE(angabe.raster.has_value());
  EXPECT_EQ(angabe.text,
            "4 Blätter (2 x 2), je 297 x 210 mm, quer, dazu ein Blatt zum Zusammensetzen");
  std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t>> ecken;
  for (const Rect& r : BlattUmrisse(*angabe.raster, Size{500, 300})) {
    ecken.emplace_back(r.left, r.top, r.right, r.bottom);
  }
  EXPECT_EQ(ecken,
            (decltype(ecken){
                {0, 0, 287, 200}, {277, 0, 500, 200}, {0, 190, 287, 300}, {277, 190, 500, 300}}));
  wahl.uebersicht = false;
  wahl.lage = Blattlage::Hoch;
  EXPECT_EQ(SeitenAngeben(Size{2000, 2870}, 254.0, 254.0, wahl).text,
            "1 Blatt (1 x 1), 210 x 297 mm, hoch");
  wahl.randMm = 0;
  const Seitenangabe keine = SeitenAngeben(Size{5000, 3000}, 254.0, 254.0, wahl);
  EXPECT_FALSE(keine.raster.has_value());
  EXPECT_EQ(keine.text, "Der Rand muss größer als 0 mm sein.");
}

}  // namespace
}  // namespace tilvendo::wizard
