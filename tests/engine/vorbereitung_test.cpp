#include "engine/vorbereitung.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

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

// One change on the size page: the boxes typed into (a negative value leaves a box as it
// is), and the size and, where given, the zooms it must give.
struct Eingabe {
  Zielaenderung aenderung;
  int32_t sizeX, sizeY, zoomX, zoomY;
  Size ziel;
  int32_t zx = -1;
  int32_t zy = -1;
};

void Eingeben(const Vorlage& vorlage, Zielgroessenwerte& werte, Einstellungen& e,
              const std::vector<Eingabe>& eingaben) {
  for (size_t i = 0; i < eingaben.size(); ++i) {
    const Eingabe& ein = eingaben[i];
    for (const auto& [box, wert] : {std::pair{&werte.SizeX, ein.sizeX},
                                    {&werte.SizeY, ein.sizeY},
                                    {&werte.ZoomX, ein.zoomX},
                                    {&werte.ZoomY, ein.zoomY}}) {
      if (wert >= 0) *box = wert;
    }
    ZielgroesseBerechnen(werte, ein.aenderung, vorlage, e);
    EXPECT_EQ(Ziel(e), ein.ziel) << "step " << i;
    if (ein.zx >= 0) EXPECT_EQ(e.ZoomX, ein.zx) << "step " << i;
    if (ein.zy >= 0) EXPECT_EQ(e.ZoomY, ein.zy) << "step " << i;
  }
}

constexpr Zielaenderung kZoom = Zielaenderung::Zoom;
constexpr Zielaenderung kPixel = Zielaenderung::Pixel;

// With the ratio held the zoom grows both sides; a typed side stays as typed (also where
// it is no whole percentage) and the other follows the template's shape, rounded, within
// the bounds: a height that would take the width past them gives way with it. Nothing
// typed changes nothing.
TEST(ZielgroesseBerechnen, HeldRatioFollowsTheZoomAndKeepsATypedSideWithinTheBounds) {
  Einstellungen e;
  Zielgroessenwerte werte;  // 100 %, 720 dpi, ratio held
  Eingeben(VorlageMit(800, 600), werte, e,
           {{kZoom, -1, -1, -1, -1, {800, 600}},
            {kZoom, -1, -1, 150, -1, {1200, 900}, 150, 150},
            {kPixel, 400, -1, -1, -1, {400, 300}, 50, 50},
            {kPixel, -1, 301, -1, -1, {401, 301}},  // 401.3
            {kPixel, -1, -1, -1, -1, {401, 301}},
            {kPixel, 3000, -1, -1, -1, {2500, 1875}},
            {kPixel, -1, 2500, -1, -1, {2500, 1875}},
            {kPixel, 0, -1, -1, -1, {1, 1}}});
  Eingeben(VorlageMit(2563, 1601), werte, e,
           {{kPixel, 2000, -1, -1, -1, {2000, 1249}, 78, 78},    // 1249.3
            {kPixel, -1, 1000, -1, -1, {1601, 1000}, 62, 62}});  // the height leads: 62.46 %
  // The hidden paper follows in whole millimetres.
  Eingeben(VorlageMit(800, 600), werte, e, {{kZoom, -1, -1, 150, 150, {1200, 900}}});
  EXPECT_EQ(std::pair(werte.PapierBreite, werte.PapierHoehe), std::pair(42.0, 31.0));
}

// Without the ratio held only the touched direction changes, sizes are truncated, and
// unchecking the box changes nothing. Either way the zooms stay within their bounds
// (312 and 416 for 800 × 600), and checking the box is never growth: both take the
// smaller zoom.
TEST(ZielgroesseBerechnen, FreeRatioChangesOnlyTheTouchedDirectionWithinTheBounds) {
  Einstellungen e;
  Zielgroessenwerte werte;
  werte.festesSV = false;
  Eingeben(VorlageMit(800, 600), werte, e,
           {{kZoom, -1, -1, -1, -1, {800, 600}},
            {kPixel, 1000, -1, -1, -1, {1000, 600}, 125, 100},
            {kZoom, -1, -1, 500, 100, {2496, 600}, 312, 100},
            {Zielaenderung::Seitenverhaeltnis, -1, -1, -1, -1, {2496, 600}, 312, 100},
            {kZoom, -1, -1, 200, 120, {1600, 720}, 200, 120}});
  Eingeben(VorlageMit(333, 600), werte, e, {{kZoom, -1, -1, 50, -1, {166, 720}}});
  werte.festesSV = true;
  Eingeben(VorlageMit(800, 600), werte, e,
           {{Zielaenderung::Seitenverhaeltnis, -1, -1, 200, 120, {960, 720}, 120, 120},
            {kZoom, -1, -1, 500, -1, {2496, 1872}, 312, 312}});
}

TEST(ZielgroesseBerechnen, TinyResultsAndEmptyTemplatesStayAtLeastOnePixel) {
  Einstellungen e;
  Zielgroessenwerte werte;
  werte.ZoomX = werte.ZoomY = 1;
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, VorlageMit(50, 40), e);
  EXPECT_EQ(Ziel(e), (Size{1, 1}));

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
  EXPECT_EQ(e.ZoomY, 584);  // 584.5: the hidden paper stretches
  EXPECT_FALSE(e.Papier.Gewaehlt());
}

// A 16:10 template on 100 × 70 cm paper at 200 dpi: filled, the template is cut to the
// paper's shape; kept whole, it fits inside with margins; without the ratio held it is
// stretched as it always was.
TEST(ZielgroesseBerechnen, APosterFillsItsPaperKeepsTheWholeTemplateOrStretches) {
  const Vorlage vorlage = VorlageMit(2560, 1600);
  struct Fall {
    bool festesSV;
    Papiernutzung nutzung;
    Rect ausschnitt;
    Size ziel;
    int32_t zoomX;
    int32_t zoomY;
  };
  for (const Fall& fall : {
           Fall{true, Papiernutzung::Fuellen, Rect{137, 0, 2423, 1600}, Size{7874, 5511}, 344, 344},
           Fall{true, Papiernutzung::GanzeVorlage, Rect{}, Size{7874, 4921}, 308, 308},
           Fall{false, Papiernutzung::Fuellen, Rect{}, Size{7874, 5511}, 308, 344},
       }) {
    Einstellungen e;
    e.Grossformat = true;
    Zielgroessenwerte werte;
    werte.druck = true;
    werte.festesSV = fall.festesSV;
    werte.nutzung = fall.nutzung;
    werte.dpi = 200;
    werte.PapierBreite = 1000;
    werte.PapierHoehe = 700;
    ZielgroesseBerechnen(werte, Zielaenderung::Papier, vorlage, e);
    EXPECT_EQ(werte.Ausschnitt, fall.ausschnitt);
    EXPECT_EQ(Ziel(e), fall.ziel);
    EXPECT_EQ(e.ZoomX, fall.zoomX);
    EXPECT_EQ(e.ZoomY, fall.zoomY);
    EXPECT_EQ(e.Papier.Breite, 1000.0);
    EXPECT_EQ(e.Papier.Nutzung, fall.festesSV ? fall.nutzung : Papiernutzung::Strecken);
  }

  // Upright paper: the width binds when kept whole, the sides are cut when filled.
  Einstellungen e;
  e.Grossformat = true;
  Zielgroessenwerte werte;
  werte.druck = true;
  werte.dpi = 200;
  werte.PapierBreite = 700;
  werte.PapierHoehe = 1000;
  ZielgroesseBerechnen(werte, Zielaenderung::Papier, vorlage, e);
  EXPECT_EQ(Ziel(e), (Size{5511, 3444}));
  werte.nutzung = Papiernutzung::Fuellen;
  ZielgroesseBerechnen(werte, Zielaenderung::Papier, vorlage, e);
  EXPECT_EQ(werte.Ausschnitt, (Rect{720, 0, 1840, 1600}));
  EXPECT_EQ(Ziel(e), (Size{5511, 7874}));
}

// Where the paper has the template's shape both choices agree and nothing is cut; a
// shorter template keeps its height when kept whole.
TEST(ZielgroesseBerechnen, PaperOfTheTemplatesShapeIsFilledEitherWay) {
  for (const Papiernutzung nutzung : {Papiernutzung::Fuellen, Papiernutzung::GanzeVorlage}) {
    Einstellungen e;
    e.Grossformat = true;
    Zielgroessenwerte werte;
    werte.druck = true;
    werte.nutzung = nutzung;
    werte.dpi = 254;
    werte.PapierBreite = 160;
    werte.PapierHoehe = 100;
    ZielgroesseBerechnen(werte, Zielaenderung::Papier, VorlageMit(2560, 1600), e);
    EXPECT_EQ(werte.Ausschnitt, Rect{});
    EXPECT_EQ(Ziel(e), (Size{1600, 1000}));
    ZielgroesseBerechnen(werte, Zielaenderung::Papier, VorlageMit(2560, 1500), e);
    EXPECT_EQ(Ziel(e), nutzung == Papiernutzung::Fuellen ? (Size{1600, 1000}) : (Size{1600, 938}));
  }
}

// A poster's paper follows typed pixels exactly, so that it gives the same pixels back;
// the template's cut stays as it was.
TEST(ZielgroesseBerechnen, APostersPaperFollowsThePixelsAndGivesThemBack) {
  Vorlage vorlage = VorlageMit(2286, 1600);
  vorlage.BildBreite = 2560;
  vorlage.BildHoehe = 1600;
  vorlage.Ausschnitt = Rect{137, 0, 2423, 1600};
  Einstellungen e;
  e.Grossformat = true;
  Zielgroessenwerte werte;
  werte.druck = true;
  werte.nutzung = Papiernutzung::Fuellen;
  werte.dpi = 300;
  werte.ZoomX = werte.ZoomY = 250;
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, vorlage, e);
  EXPECT_EQ(Ziel(e), (Size{5715, 4000}));
  EXPECT_EQ(werte.Ausschnitt, vorlage.Ausschnitt);
  EXPECT_DOUBLE_EQ(werte.PapierBreite, 5715 * 25.4 / 300);
  ZielgroesseBerechnen(werte, Zielaenderung::Papier, vorlage, e);
  EXPECT_EQ(Ziel(e), (Size{5715, 4000}));

  for (const int32_t dpi : {72, 150, 200, 254, 300, 600, 720, 1440, 9999}) {
    for (int32_t pixel = 1; pixel < 70000; pixel += 997) {
      EXPECT_EQ(DruckPixel(DruckMillimeter(pixel, dpi), dpi), pixel) << pixel << " at " << dpi;
    }
  }
  // An absurd length does not wrap; without a resolution there is no length.
  EXPECT_EQ(DruckPixel(1e12, 300), INT32_MAX);
  EXPECT_DOUBLE_EQ(DruckMillimeter(150, 0), 0.0);
}

TEST(ZuschnittFuer, CutsTheLongerSideCentredAndKeepsAnAgreeingShape) {
  EXPECT_EQ(ZuschnittFuer(Size{2560, 1600}, 1000, 700), (Rect{137, 0, 2423, 1600}));
  EXPECT_EQ(ZuschnittFuer(Size{1600, 2560}, 700, 1000), (Rect{0, 137, 1600, 2423}));
  // An odd pixel left over goes to the right.
  EXPECT_EQ(ZuschnittFuer(Size{11, 10}, 50, 50), (Rect{0, 0, 10, 10}));
  EXPECT_EQ(ZuschnittFuer(Size{13, 10}, 50, 50), (Rect{1, 0, 11, 10}));
  // Shapes that agree, and paper without area: the whole picture; one pixel more is cut.
  EXPECT_EQ(ZuschnittFuer(Size{2560, 1600}, 1600, 1000), (Rect{0, 0, 2560, 1600}));
  EXPECT_EQ(ZuschnittFuer(Size{2560, 1601}, 1600, 1000), (Rect{0, 0, 2560, 1600}));
  EXPECT_EQ(ZuschnittFuer(Size{2560, 1600}, 0, 700), (Rect{0, 0, 2560, 1600}));
  // A paper far narrower than the picture leaves at least one pixel.
  EXPECT_EQ(ZuschnittFuer(Size{2560, 10}, 1, 2000), (Rect{1279, 0, 1280, 10}));
}

// Large format lifts the bound of every size rule from 2500 to 60,000 pixels; the same
// wishes without it stay where they always were.
TEST(ZielgroesseBerechnen, LargeFormatLiftsTheBoundOfZoomAndOverview) {
  const Vorlage vorlage = VorlageMit(1600, 1200);
  for (const bool gross : {false, true}) {
    Einstellungen e;
    e.Grossformat = gross;
    Zielgroessenwerte werte;
    Eingeben(vorlage, werte, e,
             {{kZoom, -1, -1, 5000, -1, gross ? Size{60000, 45000} : Size{2496, 1872},
               gross ? 3750 : 156, gross ? 3750 : 156}});
    EXPECT_EQ(ZoomGrenzen(vorlage, GroessteZielkante(e)).maxY, gross ? 5000 : 208);
  }
  // The 16-bit zoom still holds the bound of a tiny template.
  EXPECT_EQ(ZoomGrenzen(VorlageMit(50, 40), kMaxZielgroesseGross).maxX, 65535);
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

TEST(Kachelung, BoundsKeepTilesFourPixelsWideAndHighOfTheChosenSize) {
  Einstellungen e;
  e.ZielBreite = 1203;
  e.ZielHoehe = 900;
  const Kachelgrenzen grenzen = KachelGrenzen(e);
  EXPECT_EQ(grenzen.maxX, 300);
  EXPECT_EQ(grenzen.maxY, 225);

  KachelnSetzen(e, 301, 0);
  EXPECT_EQ(e.KachelnX, 300);
  EXPECT_EQ(e.KachelnY, 1);

  // A result too small for even one tile still allows one; a huge one stops at 999.
  e.ZielBreite = 3;
  e.ZielHoehe = 4000;
  EXPECT_EQ(KachelGrenzen(e).maxX, 1);
  EXPECT_EQ(KachelGrenzen(e).maxY, kMaxKacheln);
}

TEST(Kachelung, WithEnoughCellsKeepsTheProportionsWithinTheBounds) {
  Einstellungen e = Gerastert(100, 60, 45);
  e.ZielBreite = 1600;
  e.ZielHoehe = 1200;
  // 2000 cells in 4 : 3.
  EXPECT_EQ(KachelungMitZellen(2000, e), (Kachelung{52, 39}));
  EXPECT_EQ(KachelungMitZellen(2700, e), (Kachelung{60, 45}));
  // Few cells: the fewest of the nearest proportions.
  EXPECT_EQ(KachelungMitZellen(12, e), (Kachelung{4, 3}));
  // A narrow result allows few rows: the proportions give way, the cells do not.
  e.ZielHoehe = 40;
  const std::optional<Kachelung> schmal = KachelungMitZellen(2000, e);
  ASSERT_TRUE(schmal);
  EXPECT_EQ(schmal->y, 10);
  EXPECT_EQ(schmal->x, 200);
  // More cells than the result allows at all (400 × 10).
  EXPECT_EQ(KachelungMitZellen(4000, e), (Kachelung{400, 10}));
  EXPECT_FALSE(KachelungMitZellen(4001, e));
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

// The chosen size stays as it is, so that the tiling can change back and forth without
// the result shrinking; the mosaic is made of whole tiles of it.
TEST(UebersichtAbgleichen, KeepsTheChosenSizeAndMakesTheMosaicOfWholeTiles) {
  Einstellungen e = Gerastert(150, 33, 25);
  e.ZielBreite = 1200;
  e.ZielHoehe = 900;
  UebersichtAbgleichen(e, VorlageMit(800, 600), Anzahl(100));
  EXPECT_EQ(e.ZellBreite, 24);
  EXPECT_EQ(e.ZellHoehe, 24);
  EXPECT_EQ(Ziel(e), (Size{1200, 900}));
  EXPECT_EQ(KachelBreite(e), 36);  // 1188 pixels across
  EXPECT_EQ(KachelHoehe(e), 36);
  e.KachelnX = 34;
  UebersichtAbgleichen(e, VorlageMit(800, 600), Anzahl(100));
  e.KachelnX = 33;
  UebersichtAbgleichen(e, VorlageMit(800, 600), Anzahl(100));
  EXPECT_EQ(Ziel(e), (Size{1200, 900}));
  EXPECT_EQ(KachelBreite(e), 36);
  // The method is derived on the first show: Standard.
  EXPECT_EQ(e.Helligkeitsfenster, 25);
  EXPECT_EQ(e.Kandidatenzahl, 100);
}

TEST(UebersichtAbgleichen, HoldsTheSizeOfAnExchangedTemplateWithinTheLargestSize) {
  Einstellungen e = Gerastert(300, 25, 25);
  e.ZielBreite = 12000;  // 300 % of a 4000 × 3000 template
  e.ZielHoehe = 9000;
  EXPECT_TRUE(ZielgroesseBegrenzen(e, VorlageMit(4000, 3000)));
  EXPECT_EQ(Ziel(e), (Size{2500, 1875}));  // both by the same factor
  EXPECT_EQ(e.ZoomX, 62);                  // 62.5, halves to even
  EXPECT_EQ(e.ZoomY, 62);
  e.ZielBreite = 1000;
  e.ZielHoehe = 2501;
  EXPECT_TRUE(ZielgroesseBegrenzen(e, VorlageMit(4000, 3000)));
  EXPECT_EQ(Ziel(e), (Size{1000, 2500}));  // 999.6
  EXPECT_FALSE(ZielgroesseBegrenzen(e, VorlageMit(4000, 3000)));
}

TEST(UebersichtAbgleichen, TinyResultsEndAtOneTileInsteadOfDividingByZero) {
  Einstellungen e = Gerastert(10, 20, 20);
  e.ZielBreite = 3;
  e.ZielHoehe = 0;
  UebersichtAbgleichen(e, VorlageMit(30, 3), Anzahl(0));
  EXPECT_EQ(e.KachelnX, 1);
  EXPECT_EQ(e.KachelnY, 1);
  EXPECT_EQ(e.ZellBreite, 30);
  EXPECT_EQ(KachelHoehe(e), 0);  // the run's size check reports this

  e.KachelnX = e.KachelnY = 0;  // never set: no division by zero either
  e.ZielBreite = 0;
  UebersichtAbgleichen(e, VorlageMit(0, 0), Anzahl(0));
  EXPECT_EQ(e.KachelnX, 1);
  EXPECT_EQ(KachelBreite(e), 0);
}

TEST(UebersichtAbgleichen, ASizeLoweredAfterTheTilingKeepsTilesAsWideAsTheTilingPageDoes) {
  // 200 × 150 tiles of 4 pixels chosen at 800 × 600; then the size went down to half.
  Einstellungen e = Gerastert(50, 200, 150);
  e.ZielBreite = 400;
  e.ZielHoehe = 300;
  UebersichtAbgleichen(e, VorlageMit(800, 600), Anzahl(0));
  const Kachelgrenzen grenzen = KachelGrenzen(e);
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
  e.ZielBreite = 800;
  e.ZielHoehe = 600;
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
