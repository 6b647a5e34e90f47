#include "engine/vorbereitung.h"

#include <gtest/gtest.h>

#include "engine/methodenparameter.h"
#include "platform/rect.h"

namespace tilvendo {
namespace {

Vorlage VorlageMit(int32_t breite, int32_t hoehe) {
  Vorlage v;
  v.VorlageBreite = breite;
  v.VorlageHoehe = hoehe;
  return v;
}

// Settings at `zoom` % in both directions with a grid of `kachelnX` × `kachelnY` tiles.
Einstellungen Gerastert(uint16_t zoom, uint16_t kachelnX, uint16_t kachelnY) {
  Einstellungen e;
  e.ZoomX = e.ZoomY = zoom;
  e.KachelnX = kachelnX;
  e.KachelnY = kachelnY;
  return e;
}

// The result's size in pixels.
Size Ziel(const Einstellungen& e) {
  return Size{e.ZielBreite, e.ZielHoehe};
}

Bildzahlen Anzahl(int32_t gesamt) {
  return Bildzahlen{gesamt, 0, 0, 0};
}

TEST(ZielgroesseBerechnen, HeldRatioFollowsTheGrowingZoomThenTheShrinkingSize) {
  const Vorlage vorlage = VorlageMit(800, 600);
  Einstellungen e;
  Zielgroessenwerte werte;  // 100 %, 720 dpi, ratio held
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, vorlage, e);
  EXPECT_EQ(Ziel(e), (Size{800, 600}));

  werte.ZoomX = 150;
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, vorlage, e);
  EXPECT_EQ(werte.ZoomY, 150);
  EXPECT_EQ(Ziel(e), (Size{1200, 900}));
  EXPECT_EQ(werte.PapierBreite, 42);
  EXPECT_EQ(werte.PapierHoehe, 31);

  // Zoom Y changes by the equalising, so both sizes get one pixel more.
  werte.SizeX = 400;
  ZielgroesseBerechnen(werte, Zielaenderung::Pixel, vorlage, e);
  EXPECT_EQ(e.ZoomX, 50);
  EXPECT_EQ(e.ZoomY, 50);
  EXPECT_EQ(Ziel(e), (Size{401, 301}));
}

TEST(ZielgroesseBerechnen, FreeRatioChangesOnlyTheTouchedDirection) {
  const Vorlage vorlage = VorlageMit(800, 600);
  Einstellungen e;
  Zielgroessenwerte werte;
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, vorlage, e);
  werte.festesSV = false;
  werte.SizeX = 1000;
  ZielgroesseBerechnen(werte, Zielaenderung::Pixel, vorlage, e);
  EXPECT_EQ(e.ZoomX, 125);
  EXPECT_EQ(e.ZoomY, 100);
  EXPECT_EQ(e.ZielHoehe, 600);

  // Sizes are truncated.
  werte.ZoomX = 50;
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, VorlageMit(333, 600), e);
  EXPECT_EQ(e.ZielBreite, 166);

  // Unchecking the ratio box changes nothing.
  Zielgroessenwerte vorher = werte;
  ZielgroesseBerechnen(werte, Zielaenderung::Seitenverhaeltnis, VorlageMit(333, 600), e);
  EXPECT_EQ(werte.SizeX, vorher.SizeX);
  EXPECT_EQ(werte.ZoomY, vorher.ZoomY);
}

TEST(ZielgroesseBerechnen, HeldRatioKeepsBothZoomsWithinTheirBounds) {
  const Vorlage vorlage = VorlageMit(800, 600);  // bounds 312 and 416
  Einstellungen e;
  Zielgroessenwerte werte;
  werte.ZoomX = 500;
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, vorlage, e);
  EXPECT_EQ(e.ZoomX, 312);
  EXPECT_EQ(e.ZoomY, 312);
  EXPECT_LE(e.ZielBreite, kMaxZielgroesse);

  // Checking the box is never growth: both take the smaller zoom.
  werte.festesSV = false;
  werte.ZoomX = 200;
  werte.ZoomY = 120;
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, vorlage, e);
  werte.festesSV = true;
  ZielgroesseBerechnen(werte, Zielaenderung::Seitenverhaeltnis, vorlage, e);
  EXPECT_EQ(e.ZoomX, 120);
  EXPECT_EQ(e.ZoomY, 120);
}

TEST(ZielgroesseBerechnen, TinyResultsAndEmptyTemplatesStayAtLeastOnePixel) {
  Einstellungen e;
  Zielgroessenwerte werte;
  werte.ZoomX = werte.ZoomY = 1;
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, VorlageMit(50, 40), e);
  EXPECT_EQ(Ziel(e), (Size{1, 1}));
  EXPECT_EQ(e.ZoomX, 2);  // read back from the one pixel

  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, VorlageMit(0, 0), e);
  EXPECT_GE(e.ZielBreite, 1);

  // The zoom of a tiny template may pass 10000 % up to the 2500-pixel edge; it is held
  // within what 16 bits store rather than wrapped.
  EXPECT_EQ(ZoomGrenzen(VorlageMit(20, 5)).maxX, 12500);
  EXPECT_EQ(ZoomGrenzen(VorlageMit(20, 5)).maxY, 50000);
  EXPECT_EQ(ZoomGrenzen(VorlageMit(1, 2)).maxX, 65535);
  werte = Zielgroessenwerte{};
  werte.ZoomX = werte.ZoomY = 65535;
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, VorlageMit(1, 2), e);
  EXPECT_EQ(e.ZoomY, 65535);
  EXPECT_EQ(Ziel(e), (Size{655, 1310}));
}

TEST(ZielgroesseBerechnen, PaperAndResolutionGiveThePixelSize) {
  const Vorlage vorlage = VorlageMit(800, 600);
  Einstellungen e;
  Zielgroessenwerte werte;
  werte.PapierBreite = 210;
  werte.PapierHoehe = 297;
  werte.dpi = 300;
  ZielgroesseBerechnen(werte, Zielaenderung::Papier, vorlage, e);
  EXPECT_EQ(Ziel(e), (Size{2480, 3507}));  // 210 / 25.4 × 300 = 2480.3
  EXPECT_EQ(e.ZoomX, 310);
}

// Large format lifts the bound of every size rule from 2500 to 60,000 pixels; the same
// wishes without it stay where they always were.
TEST(ZielgroesseBerechnen, LargeFormatLiftsTheBoundOfZoomAndOverview) {
  const Vorlage vorlage = VorlageMit(1600, 1200);
  for (const bool gross : {false, true}) {
    Einstellungen e;
    e.Grossformat = gross;
    Zielgroessenwerte werte;
    werte.ZoomX = 5000;
    ZielgroesseBerechnen(werte, Zielaenderung::Zoom, vorlage, e);
    EXPECT_EQ(e.ZoomX, gross ? 3750 : 156);
    EXPECT_EQ(e.ZoomY, e.ZoomX);
    EXPECT_EQ(Ziel(e), (Size{gross ? 60000 : 2496, gross ? 45000 : 1872}));
    EXPECT_EQ(ZoomGrenzen(vorlage, GroessteZielkante(e)).maxY, gross ? 5000 : 208);
  }
  // The 16-bit zoom still holds the bound of a tiny template.
  EXPECT_EQ(ZoomGrenzen(VorlageMit(50, 40), kMaxZielgroesseGross).maxX, 65535);
}

// A0 at 300 dpi is reached in large format; without it the overview brings the same
// paper size back within 2500 pixels.
TEST(ZielgroesseBerechnen, PosterPaperSizesAreReachableInLargeFormat) {
  const Vorlage vorlage = VorlageMit(1600, 1200);
  for (const bool gross : {false, true}) {
    Einstellungen e;
    e.Grossformat = gross;
    e.KachelnX = 100;
    e.KachelnY = 75;
    Zielgroessenwerte werte;
    werte.festesSV = false;
    werte.dpi = 300;
    werte.PapierBreite = kPosterformate[0].breite;
    werte.PapierHoehe = kPosterformate[0].hoehe;
    ZielgroesseBerechnen(werte, Zielaenderung::Papier, vorlage, e);
    EXPECT_EQ(Ziel(e), (Size{9933, 14043}));  // 841 / 25.4 × 300 = 9933.07
    UebersichtAbgleichen(e, vorlage, Anzahl(10'000));
    if (gross) {
      EXPECT_EQ(e.ZoomX, 620);
      EXPECT_EQ(e.ZoomY, 1170);
      EXPECT_EQ(Ziel(e), (Size{9900, 14025}));  // 100 tiles of 16 × 620 % = 99 pixels
    } else {
      EXPECT_LE(e.ZielBreite, kMaxZielgroesse);
      EXPECT_LE(e.ZielHoehe, kMaxZielgroesse);
    }
  }
}

TEST(ZielgroesseBerechnen, TwoMetresAtHighResolutionStopAtTheLargeBound) {
  const Vorlage vorlage = VorlageMit(2000, 2000);
  Einstellungen e;
  e.Grossformat = true;
  e.KachelnX = e.KachelnY = 100;
  Zielgroessenwerte werte;
  werte.PapierBreite = werte.PapierHoehe = kMaxPapierkante;
  werte.dpi = 720;
  ZielgroesseBerechnen(werte, Zielaenderung::Papier, vorlage, e);
  EXPECT_EQ(e.ZielBreite, 56692);
  werte.dpi = 1440;
  ZielgroesseBerechnen(werte, Zielaenderung::Aufloesung, vorlage, e);
  EXPECT_EQ(e.ZielBreite, 113385);  // the paper rule itself is not bounded ...
  UebersichtAbgleichen(e, vorlage, Anzahl(10'000));
  EXPECT_EQ(e.ZoomX, 3000);  // ... the overview is
  EXPECT_EQ(Ziel(e), (Size{60000, 60000}));
}

TEST(Druckmasse, LengthsInAnyUnitAndTheTileEdgeOnPaper) {
  EXPECT_EQ(DruckPixel(10 * kMillimeterProZoll, 300), 3000);  // 10 inches
  EXPECT_EQ(DruckPixel(215.9, 300), 2550);                    // 8.5 inches
  EXPECT_EQ(DruckPixel(210, 300), 2480);
  EXPECT_EQ(DruckPixel(1e12, 300), INT32_MAX);
  EXPECT_DOUBLE_EQ(DruckMillimeter(150, 300), 12.7);
  EXPECT_DOUBLE_EQ(DruckMillimeter(150, 0), 0.0);
}

TEST(Kachelung, BoundsKeepTilesFourPixelsWideUsingTheHorizontalZoom) {
  Einstellungen e;
  e.ZoomX = 100;
  e.ZoomY = 200;
  const Kachelgrenzen grenzen = KachelGrenzen(VorlageMit(800, 600), e);
  EXPECT_EQ(grenzen.maxX, 200);
  EXPECT_EQ(grenzen.maxY, 150);

  KachelnSetzen(e, VorlageMit(800, 600), 250, 0);
  EXPECT_EQ(e.KachelnX, 200);
  EXPECT_EQ(e.KachelnY, 1);

  // A template too small for even one tile still allows one.
  EXPECT_EQ(KachelGrenzen(VorlageMit(2, 2), e).maxX, 1);
}

TEST(Kachelung, WithEnoughCellsKeepsTheProportionsWithinTheBounds) {
  Einstellungen e = Gerastert(100, 60, 45);
  // 2000 cells in 4 : 3.
  EXPECT_EQ(KachelungMitZellen(2000, e, VorlageMit(1600, 1200)), (Kachelung{52, 39}));
  EXPECT_EQ(KachelungMitZellen(2700, e, VorlageMit(1600, 1200)), (Kachelung{60, 45}));
  // Few cells: the fewest of the nearest proportions.
  EXPECT_EQ(KachelungMitZellen(12, e, VorlageMit(1600, 1200)), (Kachelung{4, 3}));
  // A narrow template allows few rows: the proportions give way, the cells do not.
  const std::optional<Kachelung> schmal = KachelungMitZellen(2000, e, VorlageMit(1600, 40));
  ASSERT_TRUE(schmal);
  EXPECT_EQ(schmal->y, 10);
  EXPECT_EQ(schmal->x, 200);
  // More cells than the template allows at all (400 × 10).
  EXPECT_EQ(KachelungMitZellen(4000, e, VorlageMit(1600, 40)), (Kachelung{400, 10}));
  EXPECT_FALSE(KachelungMitZellen(4001, e, VorlageMit(1600, 40)));
}

TEST(AbstandsGrenze, IsTheSmallerOfGridAndPictures) {
  Einstellungen e;
  SetzeMusterbildung(e, 0);
  e.KachelnX = 40;
  e.KachelnY = 30;
  EXPECT_EQ(AbstandsGrenze(Anzahl(30), e), 1);
  e.KachelnX = e.KachelnY = 1;
  EXPECT_EQ(AbstandsGrenze(Anzahl(0), e), 0);
  e.KachelnX = e.KachelnY = 0;  // no grid yet: never negative
  EXPECT_EQ(AbstandsGrenze(Anzahl(10'000), e), 0);
  e.KachelnX = 5;
  EXPECT_EQ(AbstandsGrenze(Anzahl(10'000), e), 4);
}

TEST(ErweiterteEinstellungen, LowerTheDistanceToTheBoundAfterApplyingThePattern) {
  Einstellungen e;  // Musterabstand still 2 here
  e.KachelnX = 40;
  e.KachelnY = 30;
  ErweiterteEinstellungenSetzen(e, Anzahl(30), 0, 0, 2);
  EXPECT_EQ(e.Musterabstand, 3);
  EXPECT_EQ(e.minAbstand, 1);
  EXPECT_EQ(BenoetigteBilder(e), 25);

  ErweiterteEinstellungenSetzen(e, Anzahl(1'000'000), 3, 1, 500);
  EXPECT_EQ(e.minAbstand, 39);  // the grid's bound
  e.KachelnX = 400;
  ErweiterteEinstellungenSetzen(e, Anzahl(1'000'000), 3, 1, 500);
  EXPECT_EQ(e.minAbstand, kMaxMindestabstand);
  EXPECT_EQ(e.Berechnungsart, 3);
  EXPECT_EQ(e.Helligkeitsfenster, 150);
}

TEST(UebersichtAbgleichen, SnapsTheResultToWholeCells) {
  Einstellungen e = Gerastert(150, 33, 25);
  UebersichtAbgleichen(e, VorlageMit(800, 600), Anzahl(100));
  EXPECT_EQ(e.ZellBreite, 24);
  EXPECT_EQ(e.ZellHoehe, 24);
  EXPECT_EQ(Ziel(e), (Size{1188, 900}));
  // The method is derived on the first show: Standard.
  EXPECT_EQ(e.Helligkeitsfenster, 25);
  EXPECT_EQ(e.Kandidatenzahl, 100);
}

TEST(UebersichtAbgleichen, HoldsTheZoomOfAnExchangedTemplateWithinTheLargestSize) {
  Einstellungen e = Gerastert(300, 25, 25);  // chosen for an 800 × 600 template
  UebersichtAbgleichen(e, VorlageMit(4000, 3000), Anzahl(100));
  EXPECT_EQ(e.ZoomX, 62);  // 2500 × 100 / 4000, both by the same factor
  EXPECT_EQ(e.ZoomY, 62);
  EXPECT_LE(e.ZielBreite, kMaxZielgroesse);
  EXPECT_LE(e.ZielHoehe, kMaxZielgroesse);
}

TEST(UebersichtAbgleichen, ReducesCountsOfTilesNarrowerThanAPixel) {
  Einstellungen e = Gerastert(10, 20, 3);
  UebersichtAbgleichen(e, VorlageMit(100, 600), Anzahl(0));
  EXPECT_EQ(e.KachelnX, 2);
  EXPECT_EQ(e.KachelnY, 3);
  EXPECT_EQ(e.ZielBreite, 10);

  // Down, the reduced count is taken from the horizontal zoom.
  e.ZoomX = 200;
  e.ZoomY = 10;
  e.KachelnY = 200;
  UebersichtAbgleichen(e, VorlageMit(100, 600), Anzahl(0));
  EXPECT_EQ(e.KachelnY, 300);
}

TEST(UebersichtAbgleichen, TinyTemplatesEndAtOneTileInsteadOfDividingByZero) {
  Einstellungen e = Gerastert(10, 20, 20);
  UebersichtAbgleichen(e, VorlageMit(30, 3), Anzahl(0));  // 30 × 10 / 400 = 0
  EXPECT_EQ(e.KachelnX, 1);
  EXPECT_EQ(e.KachelnY, 1);
  EXPECT_EQ(e.ZellBreite, 30);
  EXPECT_EQ(Ziel(e), (Size{3, 0}));  // the run's size check reports this

  e.KachelnX = e.KachelnY = 0;  // never set: no division by zero either
  UebersichtAbgleichen(e, VorlageMit(0, 0), Anzahl(0));
  EXPECT_EQ(e.KachelnX, 1);
  EXPECT_EQ(e.ZielBreite, 0);
}

TEST(UebersichtAbgleichen, AZoomLoweredAfterTheTilingKeepsTilesAsWideAsTheTilingPageDoes) {
  // 200 × 150 tiles of 4 pixels chosen at 100 %; then the zoom went down to 50 %.
  Einstellungen e = Gerastert(50, 200, 150);
  UebersichtAbgleichen(e, VorlageMit(800, 600), Anzahl(0));
  const Kachelgrenzen grenzen = KachelGrenzen(VorlageMit(800, 600), e);
  EXPECT_EQ(e.KachelnX, grenzen.maxX);
  EXPECT_EQ(e.KachelnX, 100);
  EXPECT_EQ(e.KachelnY, 75);
  EXPECT_EQ(KachelBreite(e), 4);
  EXPECT_EQ(KachelHoehe(e), 4);
  // Counts within the bounds stay as chosen.
  e.KachelnX = 99;
  e.KachelnY = 75;
  UebersichtAbgleichen(e, VorlageMit(800, 600), Anzahl(0));
  EXPECT_EQ(e.KachelnX, 99);
  EXPECT_EQ(e.KachelnY, 75);
}

TEST(UebersichtAbgleichen, HoldsTheDistanceWithinTheGridAndKeepsTheChosenMethod) {
  Einstellungen e = Gerastert(100, 5, 5);
  e.minAbstand = 8;
  SetzeBerechnungsart(e, 10'000, 2);
  UebersichtAbgleichen(e, VorlageMit(800, 600), Anzahl(20));
  // As on the extended settings page: one less than the larger count.
  EXPECT_EQ(e.minAbstand, AbstandsGrenze(Anzahl(10'000), e));
  EXPECT_EQ(e.minAbstand, 4);
  EXPECT_EQ(e.Berechnungsart, 2);
  EXPECT_EQ(e.Kandidatenzahl, 20);  // follows the pictures now available

  e.minAbstand = 4;  // within the grid: kept
  UebersichtAbgleichen(e, VorlageMit(800, 600), Anzahl(20));
  EXPECT_EQ(e.minAbstand, 4);
  e.KachelnX = e.KachelnY = 1;
  UebersichtAbgleichen(e, VorlageMit(800, 600), Anzahl(20));
  EXPECT_EQ(e.minAbstand, 0);
}

}  // namespace
}  // namespace tilvendo
