#include "wizard/ergebnis_mosaik.h"

#include <gtest/gtest.h>

#include <memory>

#include "pictures/bild_einpassen.h"
#include "platform/pixel.h"
#include "wizard/ergebnis_seite.h"
#include "wizard/uebersicht_seite.h"

namespace tilvendo::wizard {
namespace {

// A large-format job as a run leaves it: 100 × 75 tiles of 200 pixels, a screen copy
// and no mosaic held whole.
void PosterLauf(Auftrag& auftrag) {
  Einstellungen& e = auftrag.einstellungen;
  auftrag.vorlage = {"see.jpg", "/bilder/", 1600, 1200};
  e.Grossformat = true;
  e.Druckaufloesung = 200;
  e.KachelnX = 100;
  e.KachelnY = 75;
  e.ZellBreite = e.ZellHoehe = 16;
  e.ZoomX = e.ZoomY = 1250;
  e.ZielBreite = 20000;
  e.ZielHoehe = 15000;
  e.Raster = std::make_unique<Zellenraster>(e.KachelnX, e.KachelnY);
  Verwendungsliste verwendung;
  verwendung.Hinzufuegen("/fotos/a.jpg", Zellort{1, 1});
  auftrag.MosaikPlan.emplace(e, auftrag.analyse, std::move(verwendung));
  auftrag.ErgebnisFertig = true;
  auftrag.AnzeigeBild = Bitmap(1732, 1299);
}

// The size page and the tiling page set up another mosaic.
void Umstellen(Einstellungen& e) {
  e.KachelnX = 40;
  e.KachelnY = 30;
  e.ZoomX = e.ZoomY = 500;
  e.ZielBreite = 8000;
  e.ZielHoehe = 6000;
  e.Raster = std::make_unique<Zellenraster>(e.KachelnX, e.KachelnY);
}

TEST(ErgebnisMosaik, APosterRunIsAResultWithoutAMosaicHeldWhole) {
  Auftrag auftrag;
  EXPECT_FALSE(ErgebnisVorhanden(auftrag));
  EXPECT_EQ(ErgebnisGroesse(auftrag), Size{});
  PosterLauf(auftrag);
  EXPECT_TRUE(ErgebnisVorhanden(auftrag));
  EXPECT_EQ(ErgebnisGroesse(auftrag), (Size{20000, 15000}));
  const Mosaikraster raster = ErgebnisRaster(auftrag);
  EXPECT_EQ(raster.kachel, (Size{200, 200}));
  EXPECT_EQ(raster.kachelnX, 100);
  EXPECT_EQ(raster.kachelnY, 75);
  ASSERT_EQ(UebersichtEintraege(auftrag).size(), 6u);
  EXPECT_EQ(UebersichtEintraege(auftrag).back(), "letzte Berechnung");

  // Settings changed after the run leave the result as the run made it.
  Umstellen(auftrag.einstellungen);
  EXPECT_EQ(ErgebnisGroesse(auftrag), (Size{20000, 15000}));
  EXPECT_EQ(ErgebnisRaster(auftrag).kachel, (Size{200, 200}));
  EXPECT_EQ(ErgebnisRaster(auftrag).kachelnX, 100);
  EXPECT_EQ(UebersichtEintraege(auftrag).size(), 6u);

  // A run that was cancelled while it composed has no screen copy to show.
  auftrag.ErgebnisFertig = false;
  EXPECT_FALSE(ErgebnisVorhanden(auftrag));
  EXPECT_EQ(UebersichtEintraege(auftrag).size(), 5u);
}

TEST(ErgebnisMosaik, AMosaicHeldWholeGivesItsOwnSizeAndItsRunsGrid) {
  Auftrag auftrag;
  Einstellungen& e = auftrag.einstellungen;
  e.KachelnX = 20;
  e.KachelnY = 15;
  e.ZellBreite = e.ZellHoehe = 10;
  e.ZoomX = 400;
  e.ZoomY = 300;
  e.ZielBreite = 800;
  e.ZielHoehe = 450;
  e.Raster = std::make_unique<Zellenraster>(20, 15);
  auftrag.MosaikBild.emplace(800, 450);
  EXPECT_TRUE(ErgebnisVorhanden(auftrag));
  EXPECT_EQ(ErgebnisGroesse(auftrag), (Size{800, 450}));
  // Without the run's plan nothing tells its cells.
  EXPECT_EQ(ErgebnisRaster(auftrag).kachelnX, 0);
  auftrag.MosaikPlan.emplace(e, auftrag.analyse, Verwendungsliste{});
  Umstellen(e);
  EXPECT_EQ(ErgebnisGroesse(auftrag), (Size{800, 450}));
  EXPECT_EQ(ErgebnisRaster(auftrag).kachel, (Size{40, 30}));
  EXPECT_EQ(ErgebnisRaster(auftrag).kachelnX, 20);
  EXPECT_EQ(ErgebnisRaster(auftrag).kachelnY, 15);
}

TEST(ErgebnisMosaik, TheOverviewNamesThePrintSizeInLargeFormat) {
  Auftrag auftrag;
  PosterLauf(auftrag);
  auftrag.einstellungen.ZielBreite = 5511;
  auftrag.einstellungen.ZielHoehe = 4133;
  const std::vector<std::string> zeilen = EintragsInfo(auftrag, 1).InfoFeld;
  ASSERT_EQ(zeilen.size(), 4u);
  EXPECT_EQ(zeilen[0], "absolute Größe: 5500 x 4125 Pixel");  // 100 × 75 tiles of 55
  EXPECT_EQ(zeilen[3], "Druckgröße: 70 × 52 cm bei 200 dpi");
  auftrag.einstellungen.Grossformat = false;
  EXPECT_EQ(EintragsInfo(auftrag, 1).InfoFeld.size(), 3u);
}

TEST(ErgebnisMosaik, AScreenCopyIsBlendedAsTheRunMadeItAndStaysUnblended) {
  // A pattern at the screen picture's size, as a large-format run leaves it.
  Bitmap kopie(60, 40);
  for (int32_t y = 0; y < 40; ++y) {
    for (int32_t x = 0; x < 60; ++x) {
      WritePixel(kopie, x, y, Farbe{uint8_t(x * 4), uint8_t(y * 6), uint8_t(x + y)});
    }
  }
  const Bitmap vorher = kopie.Clone();
  Bitmap vorlage(30, 20);
  Bitmap anzeige(60, 40);
  Ergebnisanzeige ergebnis;
  ergebnis.Vorbereiten(kopie, vorlage, -20, anzeige);  // the mosaic alone
  Bitmap eingepasst(60, 40);
  BildEinpassen(eingepasst, Rect{0, 0, 60, 40}, kopie);
  for (int32_t y = 0; y < 40; ++y) {
    for (int32_t x = 0; x < 60; ++x) {
      ASSERT_EQ(ReadPixel(anzeige, x, y), ReadPixel(eingepasst, x, y));
      ASSERT_EQ(ReadPixel(kopie, x, y), ReadPixel(vorher, x, y));
    }
  }
}

}  // namespace
}  // namespace tilvendo::wizard
