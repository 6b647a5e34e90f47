#include "wizard/vorlage_seite.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/paths.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo::wizard {
namespace {

TEST(VorlageSeite, FilterOffersAllTypesFirstThenEachType) {
  EXPECT_EQ(VorlagenFilter(),
            "alle unterstützten Grafikdateien (*.bmp, *.jpg, *.jpeg, *.png, *.webp, *.tif, "
            "*.tiff, *.heic, *.heif) (*.bmp *.jpg *.jpeg *.png *.webp *.tif *.tiff *.heic "
            "*.heif);;Windowsbilder (*.bmp) (*.bmp);;JPEG Bilder (*.jpg) (*.jpg);;"
            "JPEG Bilder (*.jpeg) (*.jpeg);;PNG Bilder (*.png) (*.png);;"
            "WebP Bilder (*.webp) (*.webp);;TIFF Bilder (*.tif) (*.tif);;"
            "TIFF Bilder (*.tiff) (*.tiff);;HEIF Bilder (*.heic) (*.heic);;"
            "HEIF Bilder (*.heif) (*.heif)");
  EXPECT_EQ(PixelText(800), "800 Pixel");
}

TEST(VorlageSeite, TheDialogStartsInTheFirstFolderThatExists) {
  testing::TempFolder ordner;
  const std::string vorlagen = ordner / "Vorlagen/";
  const std::string bilder = ordner / "Bilder";
  const std::string heim = ordner.path();
  // Neither the last template's folder nor the pictures folder exists: home.
  EXPECT_EQ(DialogStartordner("", bilder, heim), heim);
  EXPECT_EQ(DialogStartordner(vorlagen, bilder, heim), heim);
  ASSERT_TRUE(CreateFolders(bilder));
  EXPECT_EQ(DialogStartordner("", bilder, heim), bilder);
  EXPECT_EQ(DialogStartordner(vorlagen, bilder, heim), bilder);
  ASSERT_TRUE(CreateFolders(vorlagen));
  EXPECT_EQ(DialogStartordner(vorlagen, bilder, heim), vorlagen);
  EXPECT_EQ(DialogStartordner(vorlagen, "", heim), vorlagen);
}

TEST(VorlageSeite, PreviewFitsTheBoxRoundingHalvesToEven) {
  EXPECT_EQ(VorschauGroesse(4000, 3000), (Size{230, 172}));  // 172.5
  EXPECT_EQ(VorschauGroesse(100, 400), (Size{49, 195}));     // 48.75
}

TEST(VorlageSeite, ChoosingATemplateDrawsItsPreviewAndLetsThePageBeLeft) {
  testing::TempFolder ordner;
  constexpr Farbe kOben{200, 10, 10};
  constexpr Farbe kUnten{10, 10, 200};
  Bitmap bild = testing::Einfarbig(100, 400, kOben);
  for (int32_t y = 200; y < 400; ++y) {
    for (int32_t x = 0; x < 100; ++x) WritePixel(bild, x, y, kUnten);
  }
  testing::WriteTestBmp(ordner / "hoch.bmp", bild);
  Auftrag auftrag;
  EXPECT_FALSE(VorlageBereit(auftrag.vorlage));

  ASSERT_EQ(VorlageWaehlen(auftrag, ordner / "hoch.bmp"), Vorlagenausgang::Geladen);
  ASSERT_EQ(auftrag.VorschauBild.width(), 49);
  ASSERT_EQ(auftrag.VorschauBild.height(), 195);
  EXPECT_EQ(ReadPixel(auftrag.VorschauBild, 24, 10), kOben);
  EXPECT_EQ(ReadPixel(auftrag.VorschauBild, 24, 190), kUnten);
  EXPECT_TRUE(VorlageBereit(auftrag.vorlage));

  // An unreadable file keeps the template, its name and its preview; the page stays
  // passable only while the template's file exists.
  testing::WriteWholeFile(ordner / "kaputt.jpg", "kein Bild");
  EXPECT_EQ(VorlageWaehlen(auftrag, ordner / "kaputt.jpg"), Vorlagenausgang::Unlesbar);
  EXPECT_EQ(auftrag.VorschauBild.width(), 49);
  EXPECT_EQ(auftrag.vorlage.VorlageDatei, "hoch.bmp");
  EXPECT_TRUE(VorlageBereit(auftrag.vorlage));
  std::remove((ordner / "hoch.bmp").c_str());
  EXPECT_FALSE(VorlageBereit(auftrag.vorlage));
}

}  // namespace
}  // namespace tilvendo::wizard
