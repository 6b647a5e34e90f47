#include "engine/vorlagenzuschnitt.h"

#include <gtest/gtest.h>

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
  VorlageZuschneiden(auftrag, Rect{10, 0, 30, 20});
  EXPECT_EQ(auftrag.VorlageBild.width(), 20);
  EXPECT_EQ(auftrag.vorlage.VorlageBreite, 20);
  EXPECT_EQ(auftrag.vorlage.BildBreite, 40);
  EXPECT_EQ(ReadPixel(auftrag.VorlageBild, 0, 0), (Farbe{10, 0, 7}));
  EXPECT_EQ(ReadPixel(auftrag.VorlageBild, 19, 19), (Farbe{29, 19, 7}));

  // Another cut is taken from the picture read, not from the cut before.
  VorlageZuschneiden(auftrag, Rect{0, 5, 40, 15});
  EXPECT_EQ(auftrag.VorlageBild.width(), 40);
  EXPECT_EQ(auftrag.VorlageBild.height(), 10);
  EXPECT_EQ(ReadPixel(auftrag.VorlageBild, 39, 0), (Farbe{39, 5, 7}));
  EXPECT_EQ(auftrag.vorlage.Ausschnitt, (Rect{0, 5, 40, 15}));

  // A cut covering the whole picture is the whole picture; nothing is kept beside it.
  VorlageZuschneiden(auftrag, Rect{-3, 0, 45, 20});
  EXPECT_EQ(auftrag.VorlageBild.width(), 40);
  EXPECT_EQ(auftrag.vorlage.VorlageHoehe, 20);
  EXPECT_EQ(ReadPixel(auftrag.VorlageBild, 39, 19), (Farbe{39, 19, 7}));
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
  EXPECT_EQ(alt.width(), 40);
  ASSERT_NE(alt.data(), nullptr);
  EXPECT_EQ(ReadPixel(alt, 39, 19), (Farbe{39, 19, 7}));
  EXPECT_EQ(auftrag.VorlageGanz.width(), 40);
  EXPECT_EQ(ReadPixel(auftrag.VorlageGanz, 39, 0), (Farbe{39, 0, 7}));
  EXPECT_EQ(auftrag.VorlageBild.width(), 20);
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
  ASSERT_EQ(VorlageLaden(auftrag, ordner / "quer.bmp"), Vorlagenausgang::Geladen);
  EXPECT_EQ(auftrag.vorlage.Ausschnitt, (Rect{13, 0, 242, 160}));
  EXPECT_EQ(auftrag.VorlageBild.width(), 229);
  EXPECT_EQ((Size{e.ZielBreite, e.ZielHoehe}), (Size{7874, 5511}));

  ASSERT_EQ(VorlageLaden(auftrag, ordner / "hoch.bmp"), Vorlagenausgang::Geladen);
  EXPECT_EQ(auftrag.vorlage.Ausschnitt, (Rect{0, 72, 160, 184}));
  EXPECT_EQ(auftrag.VorlageBild.height(), 112);
  EXPECT_EQ((Size{e.ZielBreite, e.ZielHoehe}), (Size{7874, 5511}));

  e.Papier.Nutzung = Papiernutzung::GanzeVorlage;
  ASSERT_EQ(VorlageLaden(auftrag, ordner / "hoch.bmp"), Vorlagenausgang::Geladen);
  EXPECT_TRUE(auftrag.vorlage.Ausschnitt.empty());
  EXPECT_TRUE(auftrag.VorlageGanz.empty());
  EXPECT_EQ((Size{e.ZielBreite, e.ZielHoehe}), (Size{3444, 5511}));

  e.Papier = Druckpapier{};
  e.ZoomX = e.ZoomY = 250;
  ASSERT_EQ(VorlageLaden(auftrag, ordner / "quer.bmp"), Vorlagenausgang::Geladen);
  EXPECT_EQ((Size{e.ZielBreite, e.ZielHoehe}), (Size{640, 400}));
  // A larger template at the same zooms stays within the largest size, in its shape.
  e.Grossformat = false;
  testing::WriteTestBmp(ordner / "breit.bmp", testing::Einfarbig(1200, 600, Farbe{1, 2, 3}));
  ASSERT_EQ(VorlageLaden(auftrag, ordner / "breit.bmp"), Vorlagenausgang::Geladen);
  EXPECT_EQ((Size{e.ZielBreite, e.ZielHoehe}), (Size{2496, 1248}));
}

}  // namespace
}  // namespace tilvendo
