#include "wizard/lupen_vorlage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "engine/grossformat.h"
#include "engine/mosaik_baender.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo::wizard {
namespace {

using testing::Einfarbig;
using testing::TempFolder;

constexpr int kFotos = 3;

// A poster beyond the usual bound: 12 × 9 tiles of 250 pixels (3000 × 2250) over a
// template of 120 × 90, which the saved file enlarges 25 times.
struct Poster {
  TempFolder ordner;
  Bitmap vorlage = testing::Gemustert(120, 90, 7);
  std::shared_ptr<const Mosaikplan> plan;
  Size groesse;

  Poster() {
    Einstellungen e;
    e.KachelnX = 12;
    e.KachelnY = 9;
    e.ZellBreite = 10;
    e.ZellHoehe = 10;
    e.ZoomX = 2500;
    e.ZoomY = 2500;
    e.ZielBreite = 3000;
    e.ZielHoehe = 2250;
    e.Grossformat = true;
    Verwendungsliste verwendung;
    for (int k = 0; k < kFotos; ++k) {
      const std::string datei = ordner / ("foto" + std::to_string(k) + ".bmp");
      testing::WriteTestBmp(datei, testing::Gemustert(31 + k, 23 + k, k));
      // (x + 2 × y) mod 3 = k: cell (x, y) from (k + 1, 3) on, every third.
      bool erste = true;
      for (int x = 1; x <= e.KachelnX; ++x) {
        for (int y = 1; y <= e.KachelnY; ++y) {
          if ((x + 2 * y) % kFotos != k) continue;
          if (erste) {
            verwendung.Hinzufuegen(datei, Zellort{x, y});
            erste = false;
          } else {
            verwendung.ZelleAnfuegen(static_cast<size_t>(k), Zellort{x, y});
          }
        }
      }
    }
    plan = std::make_shared<const Mosaikplan>(e, Analyse{}, std::move(verwendung));
    groesse = plan->Mosaik();
  }

  // The mosaic as the band writer makes it for a file, blended at `blendwert`.
  std::unique_ptr<Mosaikbaender> Baender(uint8_t blendwert) const {
    Bandoptionen optionen;
    optionen.blendwert = blendwert;
    optionen.skalierung = SkalierungFuer(groesse.width, groesse.height);
    optionen.voraus = false;
    return std::make_unique<Mosaikbaender>(plan, vorlage, "", optionen);
  }
};

// What a window of `lupe` shows of the written mosaic: at each window pixel the mosaic's
// pixel under its centre; black beyond the mosaic.
Bitmap ImFenster(Mosaikbaender& baender, const Lupe& lupe) {
  const Size fenster = lupe.Fenster();
  Bitmap bild(fenster.width, fenster.height);
  for (int32_t j = 0; j < fenster.height; ++j) {
    const double y = std::floor(lupe.ImMosaik(Punkt{0.5, j + 0.5}).y);
    if (y < 0.0 || y >= baender.Hoehe()) continue;
    const Zeilen zeile = baender.Streifen(static_cast<int32_t>(y), 1);
    for (int32_t i = 0; i < fenster.width; ++i) {
      const double x = std::floor(lupe.ImMosaik(Punkt{i + 0.5, j + 0.5}).x);
      if (x < 0.0 || x >= baender.Breite()) continue;
      std::memcpy(bild.row(j) + kBytesJePixel * static_cast<size_t>(i),
                  zeile.Zeile(0) + kBytesJePixel * static_cast<size_t>(x), kBytesJePixel);
    }
  }
  return bild;
}

int AbweichendePixel(const Bitmap& a, const Bitmap& b) {
  int anzahl = 0;
  for (int32_t y = 0; y < a.height(); ++y) {
    for (int32_t x = 0; x < a.width(); ++x) anzahl += ReadPixel(a, x, y) != ReadPixel(b, x, y);
  }
  return anzahl;
}

// Zoomed in at full resolution and between, the magnifier's window blended over the
// mosaic's own pixels is the part of the written poster it shows: the template enlarged
// smoothly, not in blocks of 25 pixels, and blended as the file blends it, for every
// blend value with the template under the window made once.
TEST(Lupenvorlage, TheBlendedWindowIsThePartOfTheWrittenPosterItShows) {
  const Poster poster;
  ASSERT_EQ(poster.groesse, (Size{3000, 2250}));
  ASSERT_EQ(SkalierungFuer(poster.groesse.width, poster.groesse.height),
            Vorlagenskalierung::Bilinear);
  const auto mosaik = poster.Baender(kNurMosaik);
  Lupe lupe(poster.groesse, Size{240, 180});
  Lupenvorlage vorlage(poster.vorlage, poster.groesse);
  // A step between (each window pixel two to three mosaic pixels), then the full
  // resolution, where the origin lies between mosaic pixels.
  ASSERT_TRUE(lupe.Zoomen(lupe.Stufen() - 3, Punkt{150.0, 70.0}));
  ASSERT_LT(lupe.Massstab(), 0.5);
  for (const bool voll : {false, true}) {
    if (voll) {
      ASSERT_TRUE(lupe.Zoomen(2, Punkt{101.0, 77.0}));
      ASSERT_EQ(lupe.Massstab(), 1.0);
      ASSERT_NE(lupe.Sichtbar().links, std::floor(lupe.Sichtbar().links));
    }
    const Bitmap unter = ImFenster(*mosaik, lupe);
    for (const uint8_t a : {uint8_t{0}, uint8_t{100}, uint8_t{191}}) {
      Bitmap fenster = unter.Clone();
      vorlage.Ueberblenden(lupe.Sichtbar(), a, fenster);
      EXPECT_EQ(AbweichendePixel(fenster, ImFenster(*poster.Baender(a), lupe)), 0)
          << "Massstab " << lupe.Massstab() << ", Blendwert " << int{a};
    }
  }
  // The mosaic alone leaves the window as it is.
  Bitmap fenster = ImFenster(*mosaik, lupe);
  const Bitmap vorher = fenster.Clone();
  vorlage.Ueberblenden(lupe.Sichtbar(), kNurMosaik, fenster);
  EXPECT_EQ(AbweichendePixel(fenster, vorher), 0);
}

// A window wider than the mosaic blends only over the mosaic; beside it stays untouched.
TEST(Lupenvorlage, WindowPixelsBeyondTheMosaicStayAsTheyAre) {
  const Bitmap weiss = Einfarbig(4, 3, Farbe{255, 255, 255});
  Lupenvorlage vorlage(weiss, Size{40, 30});
  Bitmap fenster(60, 30);
  // The mosaic's 40 columns lie in the window from column 10 to 49, one to one.
  vorlage.Ueberblenden(Ausschnitt{-10.0, 0.0, 60.0, 30.0}, 0, fenster);
  for (const int32_t x : {0, 9, 50, 59})
    EXPECT_EQ(ReadPixel(fenster, x, 15), (Farbe{0, 0, 0})) << x;
  for (const int32_t x : {10, 30, 49}) {
    EXPECT_EQ(ReadPixel(fenster, x, 15), (Farbe{255, 255, 255})) << x;
  }
  // Without a template nothing is laid over.
  Lupenvorlage keine;
  Bitmap leer(8, 6);
  keine.Ueberblenden(Ausschnitt{0.0, 0.0, 8.0, 6.0}, 0, leer);
  EXPECT_EQ(ReadPixel(leer, 4, 3), (Farbe{0, 0, 0}));
}

}  // namespace
}  // namespace tilvendo::wizard
