#include "engine/mosaikplan.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/auftrag.h"
#include "engine/mosaik_berechnen.h"
#include "lauf_testkacheln.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"

namespace tilvendo {
namespace {

// 4 × 3 cells of 15 × 4 pixels: 60 × 12.
Einstellungen Raster4x3() {
  Einstellungen e;
  testing::RasterSetzen(e, 4, 3, 10, 8, 150, 50);
  return e;
}

// The photo a plan shows in cell (x, y); empty for none.
std::string FotoIn(const Mosaikplan& plan, int x, int y) {
  const std::string* foto = plan.Foto(x, y);
  return foto != nullptr ? *foto : std::string();
}

// Signature whose first sub-cell tells `wert` apart.
Kachelsignatur SignaturMit(uint8_t wert) {
  Kachelsignatur signatur;
  signatur.Felder[0][0].Rot = wert;
  return signatur;
}

// The run gives the plan each cell's signature at that cell of a grid with more columns
// than rows, and each placed photo's by its file, whatever its place in the tile list;
// a placed photo without a signature leaves the plan without any.
TEST(Mosaikplan, TheRunGivesEachCellAndPhotoItsOwnStoredSignature) {
  Auftrag auftrag;
  auftrag.einstellungen = Raster4x3();
  auftrag.einstellungen.Raster = std::make_unique<Zellenraster>(4, 3);
  for (int x = 1; x <= 4; ++x) {
    for (int y = 1; y <= 3; ++y) {
      auftrag.einstellungen.Raster->at(x, y).signatur =
          SignaturMit(static_cast<uint8_t>(10 * x + y));
    }
  }
  auftrag.Dateiliste = {"a.jpg", "b.jpg", "c.jpg"};
  for (const int32_t nummer : {2, 0, 1}) {
    Kachelsignatur signatur = SignaturMit(static_cast<uint8_t>(200 + nummer));
    signatur.Nummer = nummer;
    auftrag.kachelliste.KachelEinfuegen(signatur);
  }
  Verwendungsliste verwendung;
  verwendung.Hinzufuegen("c.jpg", Zellort{1, 1});
  verwendung.Hinzufuegen("a.jpg", Zellort{4, 3});
  Mosaikplan plan(auftrag.einstellungen, auftrag.analyse, verwendung);
  SignaturenMitgeben(auftrag, plan);
  ASSERT_TRUE(plan.HatSignaturen());
  const int f = auftrag.analyse.Formanalyse;
  for (int x = 1; x <= 4; ++x) {
    for (int y = 1; y <= 3; ++y) {
      EXPECT_EQ(plan.ZellFelder(Zellort{x, y}).bytes,
                Packen(SignaturMit(static_cast<uint8_t>(10 * x + y)), f).bytes)
          << x << "," << y;
    }
  }
  EXPECT_EQ(plan.FotoFelder(0).bytes, Packen(SignaturMit(202), f).bytes);
  EXPECT_EQ(plan.FotoFelder(1).bytes, Packen(SignaturMit(200), f).bytes);

  verwendung.Hinzufuegen("fehlt.jpg", Zellort{2, 2});
  Mosaikplan ohne(auftrag.einstellungen, auftrag.analyse, verwendung);
  SignaturenMitgeben(auftrag, ohne);
  EXPECT_FALSE(ohne.HatSignaturen());
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
  EXPECT_EQ(FotoIn(plan, 1, 1) + FotoIn(plan, 4, 3) + FotoIn(plan, 2, 1), "a.jpga.jpgb.jpg");
  EXPECT_EQ(FotoIn(plan, 3, 2), "");  // left empty
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

// The job's result with a plan of `e`, held whole or composed whenever asked for.
const Mosaikplan& Ergebnis(Auftrag& auftrag, const Einstellungen& e, bool ganz) {
  auto plan = std::make_shared<Mosaikplan>(e, auftrag.analyse, Verwendungsliste{});
  std::optional<Bitmap> pixel;
  if (ganz) pixel.emplace(60, 12);
  auftrag.Ergebnis = std::make_unique<Mosaikergebnis>(plan, "", std::move(pixel), Bitmap());
  return auftrag.Ergebnis->Plan();
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
  const Mosaikplan& plan = Ergebnis(auftrag, e, false);
  EXPECT_EQ(&plan.Angleichvorlage(auftrag.VorlageBild), &auftrag.VorlageBild);

  VorlageBildErsetzen(auftrag, testing::Einfarbig(5, 5, Farbe{1, 1, 1}));
  VorlageBildErsetzen(auftrag, testing::Einfarbig(7, 7, Farbe{2, 2, 2}));
  EXPECT_EQ(auftrag.VorlageBild.width(), 7);
  ASSERT_TRUE(plan.HatEigeneVorlage());
  EXPECT_EQ(plan.Angleichvorlage(auftrag.VorlageBild).width(), 8);
  EXPECT_EQ(ReadPixel(plan.Angleichvorlage(auftrag.VorlageBild), 0, 0), lauf);

  e.verfahren.Farbangleich = 0;
  Ergebnis(auftrag, e, false);
  VorlageBildErsetzen(auftrag, testing::Einfarbig(5, 5, lauf));
  EXPECT_FALSE(auftrag.Ergebnis->Plan().HatEigeneVorlage());

  e.verfahren.Farbangleich = 40;
  Ergebnis(auftrag, e, true);
  VorlageBildErsetzen(auftrag, testing::Einfarbig(5, 5, lauf));
  EXPECT_FALSE(auftrag.Ergebnis->Plan().HatEigeneVorlage());
}

// Part of a plan, as a sample of a poster composes it: the same grid and way of drawing,
// the template the colours move toward, and the photos of the cells kept only.
TEST(Mosaikplan, APartKeepsEverythingButThePhotosOfTheOtherCells) {
  Einstellungen e = Raster4x3();
  e.verfahren.Farbangleich = 40;
  e.Druckaufloesung = 300;
  Analyse analyse;
  analyse.Formanalyse = 3;
  Verwendungsliste verwendung;
  verwendung.Hinzufuegen("c.jpg", Zellort{4, 3});
  verwendung.Hinzufuegen("a.jpg", Zellort{1, 1});
  verwendung.ZelleAnfuegen(1, Zellort{3, 2});
  verwendung.Hinzufuegen("b.jpg", Zellort{2, 2});
  verwendung.ZelleAnfuegen(2, Zellort{4, 2});
  Mosaikplan plan(e, analyse, std::move(verwendung));
  plan.VorlageBehalten(testing::Einfarbig(8, 6, Farbe{10, 20, 30}));

  const Mosaikplan teil = plan.NurZellen([](const Zellort& z) { return z.y == 2; });
  EXPECT_EQ(std::tuple(teil.KachelnX(), teil.KachelnY(), teil.Kachel(), teil.Mosaik()),
            std::tuple(4, 3, plan.Kachel(), plan.Mosaik()));
  EXPECT_EQ(
      std::tuple(teil.Zeichenweise().Farbangleich, teil.Formanalyse(), teil.Druckaufloesung()),
      std::tuple(40, 3, 300));
  ASSERT_TRUE(teil.HatEigeneVorlage());
  EXPECT_EQ(ReadPixel(teil.Angleichvorlage(Bitmap()), 7, 5), (Farbe{10, 20, 30}));
  // Row 2 only: a.jpg in (3, 2), b.jpg in (2, 2) and (4, 2), c.jpg not at all.
  ASSERT_EQ(teil.Verwendung().Anzahl(), 2u);
  EXPECT_EQ(teil.Verwendung()[0].datei, "a.jpg");
  EXPECT_EQ(teil.Verwendung()[0].zellen, (std::vector<Zellort>{{3, 2}}));
  EXPECT_EQ(teil.Verwendung()[1].datei, "b.jpg");
  EXPECT_EQ(teil.Verwendung()[1].zellen, (std::vector<Zellort>{{2, 2}, {4, 2}}));
  EXPECT_EQ(FotoIn(teil, 1, 1) + FotoIn(teil, 4, 3), "");
  EXPECT_EQ(FotoIn(teil, 3, 2) + FotoIn(teil, 4, 2), "a.jpgb.jpg");
  // The plan itself is as it was.
  EXPECT_EQ(FotoIn(plan, 4, 3), "c.jpg");
  EXPECT_EQ(plan.Verwendung().Anzahl(), 3u);
}

}  // namespace
}  // namespace tilvendo
