#include "wizard/lupe.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/kachelspeicher.h"

namespace tilvendo::wizard {
namespace {

constexpr Size kPoster{20000, 15000};
constexpr Size kFenster{1000, 750};
// 100 × 75 tiles of 200 pixels.
const Mosaikraster kRaster{Size{200, 200}, 100, 75};

void ErwartePunkt(Punkt ist, Punkt soll) {
  EXPECT_NEAR(ist.x, soll.x, 1e-6);
  EXPECT_NEAR(ist.y, soll.y, 1e-6);
}

TEST(Lupe, StepsGoBySquareRootOfTwoUpToTheFullResolution) {
  const std::vector<double> stufen = ZoomStufen(0.05);
  ASSERT_EQ(stufen.size(), 10u);  // 0.05 · √2⁸ = 0.8 is still more than half a step below 1
  EXPECT_DOUBLE_EQ(stufen.front(), 0.05);
  for (size_t i = 1; i + 1 < stufen.size(); ++i) {
    EXPECT_NEAR(stufen[i] / stufen[i - 1], std::sqrt(2.0), 1e-12);
  }
  EXPECT_DOUBLE_EQ(stufen.back(), 1.0);
  // 0.5 · √2 = 0.707 is more than half a step below 1; 0.6 · √2 = 0.85 is not.
  EXPECT_EQ(ZoomStufen(0.5).size(), 3u);
  EXPECT_EQ(ZoomStufen(0.6), (std::vector<double>{0.6, 1.0}));
  // A mosaic no larger than the window cannot be enlarged.
  EXPECT_EQ(ZoomStufen(1.0), std::vector<double>{1.0});
}

TEST(Lupe, StartsWithTheWholeMosaic) {
  const Lupe lupe(kPoster, kFenster);
  EXPECT_FALSE(lupe.Vergroessert());
  EXPECT_DOUBLE_EQ(lupe.Massstab(), 0.05);
  const Ausschnitt alles = lupe.Sichtbar();
  EXPECT_DOUBLE_EQ(alles.links, 0.0);
  EXPECT_DOUBLE_EQ(alles.breite, 20000.0);
  EXPECT_DOUBLE_EQ(alles.hoehe, 15000.0);
  // A window rounded a pixel short of the proportions is still covered whole.
  const Lupe gerundet(kPoster, Size{1000, 749});
  EXPECT_LE(gerundet.Sichtbar().hoehe, 15000.0);
  EXPECT_DOUBLE_EQ(gerundet.Sichtbar().breite, 20000.0);
}

TEST(Lupe, ZoomKeepsThePointUnderTheCursor) {
  Lupe lupe(kPoster, kFenster);
  const Punkt zeiger{600, 300};
  const Punkt darunter = lupe.ImMosaik(zeiger);
  ASSERT_TRUE(lupe.Zoomen(3, zeiger));
  EXPECT_EQ(lupe.Stufe(), 3);
  EXPECT_NEAR(lupe.Massstab(), 0.05 * std::pow(2.0, 1.5), 1e-12);
  ErwartePunkt(lupe.ImMosaik(zeiger), darunter);
  ErwartePunkt(lupe.ImFenster(darunter), zeiger);
  const Punkt anderer{400, 500};
  const Punkt dortDarunter = lupe.ImMosaik(anderer);
  ASSERT_TRUE(lupe.Zoomen(-1, anderer));
  ErwartePunkt(lupe.ImMosaik(anderer), dortDarunter);

  // Up to the full resolution and no further.
  while (lupe.Zoomen(1, zeiger)) {
  }
  EXPECT_DOUBLE_EQ(lupe.Massstab(), 1.0);
  EXPECT_DOUBLE_EQ(lupe.Sichtbar().breite, 1000.0);
  EXPECT_FALSE(lupe.Zoomen(1, zeiger));
  // All the way out shows the whole mosaic again, wherever the cursor is.
  EXPECT_TRUE(lupe.Zoomen(-100, Punkt{999, 0}));
  EXPECT_FALSE(lupe.Vergroessert());
  EXPECT_DOUBLE_EQ(lupe.Sichtbar().links, 0.0);
  EXPECT_DOUBLE_EQ(lupe.Sichtbar().oben, 0.0);
}

TEST(Lupe, TheShownPartNeverLeavesTheMosaic) {
  Lupe lupe(kPoster, kFenster);
  // Zooming at the corner keeps the corner in the corner.
  lupe.Zoomen(100, Punkt{0, 0});
  ErwartePunkt(lupe.ImMosaik(Punkt{0, 0}), Punkt{0, 0});
  lupe.Zoomen(-100, Punkt{0, 0});
  lupe.Zoomen(100, Punkt{1000, 750});
  ErwartePunkt(lupe.ImMosaik(Punkt{1000, 750}), Punkt{20000, 15000});

  // Dragging the picture to the right shows more of its left part, down to its edge.
  lupe.Verschieben(Punkt{300, 0});
  EXPECT_DOUBLE_EQ(lupe.Sichtbar().links, 20000.0 - 1000.0 - 300.0);
  lupe.Verschieben(Punkt{-5000, 0});
  EXPECT_DOUBLE_EQ(lupe.Sichtbar().links, 19000.0);
  lupe.Verschieben(Punkt{100000, 100000});
  EXPECT_DOUBLE_EQ(lupe.Sichtbar().links, 0.0);
  EXPECT_DOUBLE_EQ(lupe.Sichtbar().oben, 0.0);
  // At 0.4 window pixels per mosaic pixel a dragged pixel is 2.5 mosaic pixels.
  lupe.Zoomen(-100, Punkt{0, 0});
  lupe.Zoomen(6, Punkt{0, 0});
  ASSERT_NEAR(lupe.Massstab(), 0.4, 1e-12);
  lupe.Verschieben(Punkt{-10, -20});
  EXPECT_NEAR(lupe.Sichtbar().links, 25.0, 1e-9);
  EXPECT_NEAR(lupe.Sichtbar().oben, 50.0, 1e-9);
}

TEST(Lupe, CellsTheShownPartTouchesAndTheCellUnderAPoint) {
  EXPECT_EQ(SichtbareZellen(Ausschnitt{450, 0, 1000, 700}, kRaster), (Zellbereich{3, 1, 8, 4}));
  // Edges that meet a tile's border take no part of the next tile.
  EXPECT_EQ(SichtbareZellen(Ausschnitt{400, 200, 200, 200}, kRaster), (Zellbereich{3, 2, 3, 2}));
  // The whole mosaic, and a part beyond its edge, stay within the grid.
  EXPECT_EQ(SichtbareZellen(Ausschnitt{0, 0, 20000, 15000}, kRaster).Anzahl(), 7500);
  EXPECT_EQ(SichtbareZellen(Ausschnitt{19900, -50, 500, 100}, kRaster),
            (Zellbereich{100, 1, 100, 1}));
  EXPECT_TRUE(SichtbareZellen(Ausschnitt{0, 0, 0, 100}, kRaster).leer());
  EXPECT_TRUE(SichtbareZellen(Ausschnitt{0, 0, 100, 100}, Mosaikraster{}).leer());

  EXPECT_EQ(ZelleBei(Punkt{0, 0}, kRaster), (Zellort{1, 1}));
  EXPECT_EQ(ZelleBei(Punkt{199.9, 200}, kRaster), (Zellort{1, 2}));
  EXPECT_EQ(ZelleBei(Punkt{19999, 14999}, kRaster), (Zellort{100, 75}));
  EXPECT_EQ(ZelleBei(Punkt{20000, 0}, kRaster), std::nullopt);
  EXPECT_EQ(ZelleBei(Punkt{0, 15000}, kRaster), std::nullopt);
  EXPECT_EQ(ZelleBei(Punkt{-0.5, 3}, kRaster), std::nullopt);
}

TEST(Lupe, PhotosAreReadOnceTilesAreLargeEnoughAndAtTheSizeShown) {
  const Size kachel{200, 200};
  EXPECT_FALSE(FotosZeigen(0.05, 0.05, kachel));  // the whole mosaic: the reduced picture
  EXPECT_FALSE(FotosZeigen(0.1, 0.05, kachel));   // 20 pixels a tile
  EXPECT_TRUE(FotosZeigen(0.12, 0.05, kachel));   // 24
  EXPECT_FALSE(FotosZeigen(0.12, 0.12, kachel));

  EXPECT_EQ(DetailStufe(1.0), 0);
  EXPECT_EQ(DetailStufe(0.71), 0);
  EXPECT_EQ(DetailStufe(0.5), 1);
  EXPECT_EQ(DetailStufe(0.36), 1);
  EXPECT_EQ(DetailStufe(0.25), 2);
  EXPECT_EQ(DetailStufe(0.09), 3);
  EXPECT_EQ(KachelAufStufe(Size{200, 150}, 0), (Size{200, 150}));
  EXPECT_EQ(KachelAufStufe(Size{200, 150}, 1), (Size{100, 75}));
  EXPECT_EQ(KachelAufStufe(Size{201, 151}, 1), (Size{101, 76}));
  EXPECT_EQ(KachelAufStufe(Size{3, 3}, 5), (Size{1, 1}));
  // A tile read at its level is never smaller than it is shown.
  for (double s : ZoomStufen(0.03)) {
    const Size gelesen = KachelAufStufe(kachel, DetailStufe(s));
    EXPECT_GE(gelesen.width, kachel.width * s - 1e-9) << s;
    EXPECT_LT(gelesen.width, 2 * kachel.width * s + 1) << s;
  }
}

}  // namespace
}  // namespace tilvendo::wizard
