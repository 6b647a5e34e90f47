#include "engine/webplatzierung.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tilvendo {
namespace {

// 3 × 2 cells of 20 × 10 pixels; not square, so a swapped index shows.
Einstellungen Raster3x2() {
  Einstellungen e;
  e.KachelnX = 3;
  e.KachelnY = 2;
  e.ZellBreite = 20;
  e.ZellHoehe = 10;
  e.ZoomX = 100;
  e.ZoomY = 100;
  e.ZielBreite = 60;
  e.ZielHoehe = 20;
  return e;
}

TEST(WebPlatzierung, NumbersEveryCellRowByRowAndNamesEachPhotoOnce) {
  Verwendungsliste verwendung;
  verwendung.Hinzufuegen("/fotos/Urlaub/a.jpg", Zellort{1, 1});
  verwendung.ZelleAnfuegen(0, Zellort{3, 2});
  verwendung.Hinzufuegen("/fotos/Haus/b.jpg", Zellort{3, 1});
  const Mosaikplan plan(Raster3x2(), Analyse{}, std::move(verwendung));
  const std::string text = WebPlatzierung(plan);
  EXPECT_NE(text.find("\"kachelnX\": 3, \"kachelnY\": 2, \"kachelBreite\": 20, "
                      "\"kachelHoehe\": 10"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\"zellen\": [1,0,2\n,0,0,1\n]"), std::string::npos) << text;
  EXPECT_NE(text.find("[\"a.jpg\", \"Urlaub\", \"file:///fotos/Urlaub/a.jpg\"],\n"
                      "[\"b.jpg\", \"Haus\", \"file:///fotos/Haus/b.jpg\"]]"),
            std::string::npos)
      << text;
}

TEST(WebPlatzierung, HostileNamesAreDataNeverMarkup) {
  Verwendungsliste verwendung;
  verwendung.Hinzufuegen("/f/<b>&\"/<img src=x onerror=alert(1)>\n\xFF.jpg", Zellort{1, 1});
  const Mosaikplan plan(Raster3x2(), Analyse{}, std::move(verwendung));
  const std::string text = WebPlatzierung(plan);
  for (const char zeichen : {'<', '>', '&', '\n'}) {
    const std::string fotos = text.substr(text.find("\"fotos\""), text.find("\"zellen\""));
    EXPECT_EQ(fotos.substr(0, fotos.find("]]")).find(zeichen), std::string::npos) << zeichen;
  }
  EXPECT_NE(text.find("\\u003Cimg src=x onerror=alert(1)\\u003E\\u000A\\uFFFD.jpg"),
            std::string::npos)
      << text;
  // The link keeps the file's very bytes, percent-encoded.
  EXPECT_NE(text.find("file:///f/%3Cb%3E%26%22/%3Cimg%20src%3Dx%20onerror%3Dalert%281%29%3E%0A%FF"
                      ".jpg"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace tilvendo
