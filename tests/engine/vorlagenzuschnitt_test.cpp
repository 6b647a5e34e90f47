#include "engine/vorlagenzuschnitt.h"

#include <gtest/gtest.h>

#include <tuple>

#include "engine/mosaikergebnis.h"
#include "engine/sitzung.h"
#include "engine/vorbereitung.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

// A picture whose every pixel tells where it stands.
Bitmap Verlauf(int32_t breite, int32_t hoehe) {
  Bitmap bild(breite, hoehe);
  for (int32_t y = 0; y < hoehe; ++y) {
    for (int32_t x = 0; x < breite; ++x) {
      WritePixel(bild, x, y, Farbe{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7});
    }
  }
  return bild;
}

void Einsetzen(Auftrag& auftrag, Bitmap bild) {
  auftrag.vorlage.VorlageBreite = auftrag.vorlage.BildBreite = bild.width();
  auftrag.vorlage.VorlageHoehe = auftrag.vorlage.BildHoehe = bild.height();
  auftrag.VorlageBild = std::move(bild);
}

TEST(VorlageZuschneiden, CutsFromTheWholePictureEveryTimeAndGivesItBack) {
  Auftrag auftrag;
  Einsetzen(auftrag, Verlauf(40, 20));
  // The picture's size, that of the template and of the whole picture, and two corners.
  const auto stand = [&](int32_t x, int32_t y) {
    const Bitmap& bild = auftrag.VorlageBild;
    return std::tuple(bild.width(), bild.height(), auftrag.vorlage.VorlageBreite,
                      auftrag.vorlage.VorlageHoehe, auftrag.vorlage.BildBreite,
                      ReadPixel(bild, 0, 0), ReadPixel(bild, x, y));
  };
  VorlageZuschneiden(auftrag, Rect{10, 0, 30, 20});
  EXPECT_EQ(stand(19, 19), std::tuple(20, 20, 20, 20, 40, Farbe{10, 0, 7}, Farbe{29, 19, 7}));

  // Another cut is taken from the picture read, not from the cut before.
  VorlageZuschneiden(auftrag, Rect{0, 5, 40, 15});
  EXPECT_EQ(stand(39, 9), std::tuple(40, 10, 40, 10, 40, Farbe{0, 5, 7}, Farbe{39, 14, 7}));
  EXPECT_EQ(auftrag.vorlage.Ausschnitt, (Rect{0, 5, 40, 15}));

  // A cut covering the whole picture is the whole picture; nothing is kept beside it.
  VorlageZuschneiden(auftrag, Rect{-3, 0, 45, 20});
  EXPECT_EQ(stand(39, 19), std::tuple(40, 20, 40, 20, 40, Farbe{0, 0, 7}, Farbe{39, 19, 7}));
  EXPECT_TRUE(auftrag.VorlageGanz.empty());
  EXPECT_TRUE(auftrag.vorlage.Ausschnitt.empty());
}

// A large-format result that moved its tiles' colours toward the template keeps the
// template it was matched against when a cut replaces it.
TEST(VorlageZuschneiden, AResultThatBlendsItsTemplateKeepsTheOneItWasMadeWith) {
  Auftrag auftrag;
  Einsetzen(auftrag, Verlauf(40, 20));
  Einstellungen e;
  e.verfahren.Farbangleich = 50;
  auto plan = std::make_shared<Mosaikplan>(e, auftrag.analyse, Verwendungsliste{});
  auftrag.Ergebnis = std::make_unique<Mosaikergebnis>(plan, "");
  ASSERT_TRUE(auftrag.Ergebnis->NimmtVorlage());
  VorlageZuschneiden(auftrag, Rect{10, 0, 30, 20});
  ASSERT_TRUE(plan->HatEigeneVorlage());
  const Bitmap& alt = plan->Angleichvorlage(auftrag.VorlageBild);
  ASSERT_EQ(std::tuple(alt.width(), auftrag.VorlageGanz.width(), auftrag.VorlageBild.width()),
            std::tuple(40, 40, 20));
  EXPECT_EQ(ReadPixel(alt, 39, 19), (Farbe{39, 19, 7}));
  EXPECT_EQ(ReadPixel(auftrag.VorlageGanz, 39, 0), (Farbe{39, 0, 7}));
}

// A template read while a poster's paper is chosen is cut to, or fitted inside, that
// paper; without a paper it takes the job's zooms.
TEST(ZielgroesseErneuern, ANewTemplateGetsItsSizeByTheChoiceInForce) {
  testing::TempFolder ordner;
  testing::WriteTestBmp(ordner / "quer.bmp", testing::Einfarbig(256, 160, Farbe{1, 2, 3}));
  testing::WriteTestBmp(ordner / "hoch.bmp", testing::Einfarbig(160, 256, Farbe{1, 2, 3}));
  Auftrag auftrag;
  Einstellungen& e = auftrag.einstellungen;
  e.Grossformat = true;
  e.Druckaufloesung = 200;
  e.Papier = Druckpapier{1000, 700, Papiernutzung::Fuellen};
  // The cut, the template's size and the result's.
  const auto geladen = [&](const char* name) {
    EXPECT_EQ(VorlageLaden(auftrag, ordner / name), Vorlagenausgang::Geladen);
    return std::tuple(auftrag.vorlage.Ausschnitt, auftrag.VorlageBild.width(),
                      auftrag.VorlageBild.height(), Size{e.ZielBreite, e.ZielHoehe});
  };
  EXPECT_EQ(geladen("quer.bmp"), std::tuple(Rect{13, 0, 242, 160}, 229, 160, Size{7874, 5511}));
  EXPECT_EQ(geladen("hoch.bmp"), std::tuple(Rect{0, 72, 160, 184}, 160, 112, Size{7874, 5511}));

  e.Papier.Nutzung = Papiernutzung::GanzeVorlage;
  EXPECT_EQ(geladen("hoch.bmp"), std::tuple(Rect{}, 160, 256, Size{3444, 5511}));
  EXPECT_TRUE(auftrag.VorlageGanz.empty());

  e.Papier = Druckpapier{};
  e.ZoomX = e.ZoomY = 250;
  EXPECT_EQ(geladen("quer.bmp"), std::tuple(Rect{}, 256, 160, Size{640, 400}));
  // A larger template at the same zooms stays within the largest size, in its shape.
  e.Grossformat = false;
  testing::WriteTestBmp(ordner / "breit.bmp", testing::Einfarbig(1200, 600, Farbe{1, 2, 3}));
  EXPECT_EQ(geladen("breit.bmp"), std::tuple(Rect{}, 1200, 600, Size{2496, 1248}));
}

}  // namespace
}  // namespace tilvendo
