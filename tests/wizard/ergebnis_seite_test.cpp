#include "wizard/ergebnis_seite.h"

#include <gtest/gtest.h>

#include "platform/pixel.h"
#include "support/bild_dateien.h"

namespace tilvendo::wizard {
namespace {

TEST(Ergebnisseite, WindowAndCaptionsForA2000By1500MosaicOnA1024By768Screen) {
  // The run fits the mosaic into 956 × 545, giving 727 × 545 on the screen.
  const Size fenster = ErgebnisFenster(Size{727, 545}, 18, 123);
  EXPECT_EQ(fenster, (Size{745, 668}));
  // A narrow picture still gets the least window width.
  EXPECT_EQ(ErgebnisFenster(Size{100, 300}, 18, 123), (Size{420, 423}));
  EXPECT_EQ(Blendtext(-15), "die Vorlage ist zu 25 % in das Fotomosaik eingeblendet");
  EXPECT_EQ(Blendtext(-20), "die Vorlage ist zu 0 % in das Fotomosaik eingeblendet");
  EXPECT_EQ(Blendtext(0), "die Vorlage ist zu 100 % in das Fotomosaik eingeblendet");
}

TEST(Ergebnisseite, TheCaptionFollowsTheMagnifiersScale) {
  Lupe lupe(Size{2000, 1500}, Size{727, 545});
  const std::string ganz =
      "Fotomosaik ist auf 36,35% der Originalgröße (2000 x 1500 Pixel) skaliert";
  EXPECT_EQ(Skalierungstext(lupe, 727), ganz);
  ASSERT_TRUE(lupe.Zoomen(1, Punkt{100.0, 100.0}));
  EXPECT_EQ(Skalierungstext(lupe, 727),
            "Fotomosaik ist auf 51,41% der Originalgröße (2000 x 1500 Pixel) skaliert");
  ASSERT_TRUE(lupe.Zoomen(lupe.Stufen(), Punkt{100.0, 100.0}));
  EXPECT_EQ(Skalierungstext(lupe, 727),
            "Fotomosaik ist auf 100,00% der Originalgröße (2000 x 1500 Pixel) skaliert");
  // Back to the whole mosaic, the caption is the page's first one again.
  ASSERT_TRUE(lupe.Zoomen(-lupe.Stufen(), Punkt{100.0, 100.0}));
  EXPECT_EQ(Skalierungstext(lupe, 727), ganz);
  // A mosaic not larger than the window has nothing to zoom to.
  EXPECT_EQ(Skalierungstext(Lupe(Size{300, 200}, Size{300, 200}), 300),
            "Fotomosaik ist auf 100,00% der Originalgröße (300 x 200 Pixel) skaliert");
}

TEST(Ergebnisseite, NamesTheFileOnlyWhileTheMosaicShownCountsAsSaved) {
  EXPECT_EQ(Speicherhinweis(1, "/bilder/mosaik.jpg"), "gespeichert: /bilder/mosaik.jpg");
  // A newer mosaic not saved yet, or a save that was cancelled or failed.
  EXPECT_EQ(Speicherhinweis(0, "/bilder/mosaik.jpg"), "");
  // Nothing saved in this program run (a result that needs no saving counts as saved).
  EXPECT_EQ(Speicherhinweis(1, ""), "");
  // Black cells where photos were meant: never named as plainly saved, from one cell on.
  EXPECT_EQ(Speicherhinweis(1, "/bilder/mosaik.jpg", 1),
            "unvollständig gespeichert (1 Kachel schwarz, Fotos nicht lesbar): /bilder/mosaik.jpg");
  EXPECT_EQ(Speicherhinweis(1, "/bilder/mosaik.jpg", 0), "gespeichert: /bilder/mosaik.jpg");
  EXPECT_EQ(Speicherhinweis(0, "/bilder/mosaik.jpg", 3), "");
}

TEST(Ergebnisseite, BlendsTheScreenPictureOncePerNewPosition) {
  constexpr Farbe kRot{0, 0, 255};
  constexpr Farbe kBlau{255, 0, 0};
  const Bitmap mosaik = testing::Einfarbig(400, 300, kRot);
  const Bitmap vorlage = testing::Einfarbig(40, 20, kBlau);
  Bitmap anzeige(40, 30);
  Ergebnisanzeige ergebnis;
  ergebnis.Vorbereiten(mosaik, vorlage, -20, anzeige);
  EXPECT_EQ(ReadPixel(anzeige, 39, 29), kRot);  // the pure mosaic

  EXPECT_TRUE(ergebnis.ReglerGeaendert(0, anzeige));
  EXPECT_EQ(ReadPixel(anzeige, 0, 0), kBlau);  // the stretched template alone
  EXPECT_FALSE(ergebnis.ReglerGeaendert(0, anzeige));
  EXPECT_EQ(ergebnis.Blendungen(), 2);

  EXPECT_TRUE(ergebnis.ReglerGeaendert(-15, anzeige));  // A = 191
  const Farbe mitte = ReadPixel(anzeige, 20, 15);
  EXPECT_EQ(mitte.red, 191);
  EXPECT_EQ(mitte.blue, 64);
}

}  // namespace
}  // namespace tilvendo::wizard
