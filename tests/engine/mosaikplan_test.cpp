#include "engine/mosaikplan.h"

#include <gtest/gtest.h>

#include <utility>

#include "engine/auftrag.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"

namespace tilvendo {
namespace {

// 4 × 3 cells of 15 × 4 pixels: 60 × 12.
Einstellungen Raster4x3() {
  Einstellungen e;
  e.KachelnX = 4;
  e.KachelnY = 3;
  e.ZellBreite = 10;
  e.ZellHoehe = 8;
  e.ZoomX = 150;
  e.ZoomY = 50;
  return e;
}

TEST(Mosaikplan, TellsWhichPhotoEachCellAndEachPixelShows) {
  Verwendungsliste verwendung;
  verwendung.Hinzufuegen("a.jpg", Zellort{1, 1});
  verwendung.ZelleAnfuegen(0, Zellort{4, 3});
  verwendung.ZelleAnfuegen(0, Zellort{5, 1});  // outside the grid: ignored
  verwendung.Hinzufuegen("b.jpg", Zellort{2, 1});
  verwendung.ZelleAnfuegen(1, Zellort{1, 0});
  const Mosaikplan plan(Raster4x3(), Analyse{}, std::move(verwendung));

  EXPECT_EQ(plan.Kachel(), (Size{15, 4}));
  EXPECT_EQ(plan.Mosaik(), (Size{60, 12}));
  ASSERT_NE(plan.Foto(1, 1), nullptr);
  EXPECT_EQ(*plan.Foto(1, 1), "a.jpg");
  ASSERT_NE(plan.Foto(4, 3), nullptr);
  EXPECT_EQ(*plan.Foto(4, 3), "a.jpg");
  ASSERT_NE(plan.Foto(2, 1), nullptr);
  EXPECT_EQ(*plan.Foto(2, 1), "b.jpg");
  EXPECT_EQ(plan.Foto(3, 2), nullptr);  // left empty
  for (const Zellort z : {Zellort{0, 1}, Zellort{5, 1}, Zellort{1, 0}, Zellort{1, 4}}) {
    EXPECT_EQ(plan.Foto(z.x, z.y), nullptr) << z.x << "," << z.y;
  }

  EXPECT_EQ(plan.ZelleAn(0, 0), (Zellort{1, 1}));
  EXPECT_EQ(plan.ZelleAn(14, 3), (Zellort{1, 1}));
  EXPECT_EQ(plan.ZelleAn(15, 4), (Zellort{2, 2}));
  EXPECT_EQ(plan.ZelleAn(59, 11), (Zellort{4, 3}));
  EXPECT_FALSE(plan.ZelleAn(60, 0));
  EXPECT_FALSE(plan.ZelleAn(0, 12));
  EXPECT_FALSE(plan.ZelleAn(-1, 0));
}

// The template a large result's colours were adjusted toward is kept when the job's
// template is replaced (the first time only: later ones are no run's); a result without
// colour adjustment, or one held whole, needs none.
TEST(Mosaikplan, ALargeResultKeepsTheTemplateItsColoursWereAdjustedToward) {
  const Farbe lauf{10, 20, 30};
  Einstellungen e = Raster4x3();
  e.verfahren.Farbangleich = 40;
  Auftrag auftrag;
  auftrag.VorlageBild = testing::Einfarbig(8, 6, lauf);
  auftrag.MosaikPlan.emplace(e, auftrag.analyse, Verwendungsliste{});
  const Mosaikplan& plan = *auftrag.MosaikPlan;
  EXPECT_EQ(&plan.Angleichvorlage(auftrag.VorlageBild), &auftrag.VorlageBild);

  VorlageBildErsetzen(auftrag, testing::Einfarbig(5, 5, Farbe{1, 1, 1}));
  VorlageBildErsetzen(auftrag, testing::Einfarbig(7, 7, Farbe{2, 2, 2}));
  EXPECT_EQ(auftrag.VorlageBild.width(), 7);
  ASSERT_TRUE(plan.HatEigeneVorlage());
  EXPECT_EQ(plan.Angleichvorlage(auftrag.VorlageBild).width(), 8);
  EXPECT_EQ(ReadPixel(plan.Angleichvorlage(auftrag.VorlageBild), 0, 0), lauf);

  e.verfahren.Farbangleich = 0;
  auftrag.MosaikPlan.emplace(e, auftrag.analyse, Verwendungsliste{});
  VorlageBildErsetzen(auftrag, testing::Einfarbig(5, 5, lauf));
  EXPECT_FALSE(auftrag.MosaikPlan->HatEigeneVorlage());

  e.verfahren.Farbangleich = 40;
  auftrag.MosaikPlan.emplace(e, auftrag.analyse, Verwendungsliste{});
  auftrag.MosaikBild.emplace(60, 12);
  VorlageBildErsetzen(auftrag, testing::Einfarbig(5, 5, lauf));
  EXPECT_FALSE(auftrag.MosaikPlan->HatEigeneVorlage());
}

}  // namespace
}  // namespace tilvendo
