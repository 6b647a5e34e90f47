#include "engine/zusammenstellen.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"
#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

constexpr Farbe kRot{0, 0, 255};
constexpr Farbe kGruen{0, 255, 0};
constexpr Farbe kSchwarz{0, 0, 0};

struct Zusammenstellung {
  testing::TempFolder ordner;
  Auftrag auftrag;
  testing::TestBenutzer benutzer;
  Verwendungsliste verwendung;

  Zusammenstellung() {
    Einstellungen& e = auftrag.einstellungen;
    e.KachelnX = 3;
    e.KachelnY = 2;
    e.ZellBreite = 40;
    e.ZellHoehe = 30;
    e.ZoomX = e.ZoomY = 100;
    auftrag.MosaikBild.emplace(3 * 40, 2 * 30);
    const std::string rot = ordner / "rot.jpg";
    testing::WriteTestJpeg(rot, testing::Einfarbig(64, 48, kRot), 100);
    const std::string gruen = ordner / "gruen.bmp";
    testing::WriteTestBmp(gruen, testing::Einfarbig(7, 5, kGruen));
    verwendung.Hinzufuegen(rot, Zellort{1, 1});
    verwendung.ZelleAnfuegen(0, Zellort{3, 2});
    verwendung.Hinzufuegen(gruen, Zellort{2, 1});
    verwendung.Hinzufuegen(ordner / "fehlt.jpg", Zellort{2, 2});
  }

  void Zusammenstellen(unsigned threads) {
    Fortschritt fortschritt(auftrag, benutzer);
    Arbeitsgruppe gruppe(threads);
    MosaikZusammenstellen(auftrag, fortschritt, verwendung, gruppe);
  }
};

bool Aehnlich(Farbe a, Farbe b) {
  const auto nah = [](int x, int y) { return std::abs(x - y) <= 3; };  // JPEG rounding
  return nah(a.red, b.red) && nah(a.green, b.green) && nah(a.blue, b.blue);
}

TEST(MosaikZusammenstellen, EachFileIsScaledToTheTileAndCopiedIntoItsCells) {
  Zusammenstellung z;
  z.Zusammenstellen(1);
  const Bitmap& m = *z.auftrag.MosaikBild;
  // Cell (1, 1) starts at (0, 0), cell (3, 2) at (80, 30).
  for (const auto& [x, y] : {std::pair{0, 0}, {39, 29}, {80, 30}, {119, 59}}) {
    EXPECT_TRUE(Aehnlich(ReadPixel(m, x, y), kRot)) << x << "," << y;
  }
  EXPECT_EQ(ReadPixel(m, 40, 0), kGruen);
  EXPECT_EQ(ReadPixel(m, 79, 29), kGruen);
  // A file that cannot be loaded leaves its cell black.
  EXPECT_EQ(ReadPixel(m, 40, 30), kSchwarz);
  EXPECT_EQ(ReadPixel(m, 79, 59), kSchwarz);
  EXPECT_EQ(ReadPixel(m, 0, 30), kSchwarz);

  // The gauge counts distinct files.
  ASSERT_FALSE(z.benutzer.balkenStaende.empty());
  EXPECT_EQ(z.benutzer.balkenStaende.front(), (testing::Balkenstand{0, 3}));
  EXPECT_EQ(z.benutzer.balkenStaende.back(), (testing::Balkenstand{3, 3}));
  EXPECT_EQ(z.benutzer.ereignisRunden, 3);
  EXPECT_GE(z.auftrag.PhasenZeiten[8], z.auftrag.PhasenZeiten[3]);
}

TEST(MosaikZusammenstellen, ManyThreadsComposeTheSamePicture) {
  Zusammenstellung einer;
  Zusammenstellung viele;
  einer.Zusammenstellen(1);
  viele.Zusammenstellen(3);
  const Bitmap& a = *einer.auftrag.MosaikBild;
  const Bitmap& b = *viele.auftrag.MosaikBild;
  ASSERT_EQ(a.byteSize(), b.byteSize());
  EXPECT_EQ(std::memcmp(a.data(), b.data(), a.byteSize()), 0);
}

TEST(MosaikZusammenstellen, CancelBeforeComposingDrawsNothing) {
  Zusammenstellung z;
  z.auftrag.Abbruch = true;
  z.Zusammenstellen(2);
  EXPECT_EQ(ReadPixel(*z.auftrag.MosaikBild, 0, 0), kSchwarz);
  EXPECT_EQ(z.benutzer.ereignisRunden, 0);
  EXPECT_GT(z.auftrag.PhasenZeiten[8], 0.0);
}

TEST(MosaikZusammenstellen, CancelWhileComposingStopsBeforeTheNextBlock) {
  Zusammenstellung z;
  const std::string blau = z.ordner / "blau.bmp";
  testing::WriteTestBmp(blau, testing::Einfarbig(7, 5, Farbe{255, 0, 0}));
  z.verwendung.Hinzufuegen(blau, Zellort{1, 2});  // the fourth file: the second block
  z.benutzer.beimEreignis = [&](int32_t runde) {
    if (runde == 1) z.auftrag.Abbruch = true;
  };
  z.Zusammenstellen(1);  // one thread: blocks of two files
  EXPECT_EQ(z.benutzer.ereignisRunden, 1);
  EXPECT_EQ(z.benutzer.balkenStaende.back().maximum, 4);
  EXPECT_EQ(ReadPixel(*z.auftrag.MosaikBild, 0, 30), kSchwarz);
  EXPECT_GT(z.auftrag.PhasenZeiten[8], 0.0);
}

TEST(MosaikFertigstellen, FitsTheMosaicIntoTheScreenBox) {
  Auftrag auftrag;
  auftrag.MosaikBild = testing::Einfarbig(2000, 1500, kGruen);
  auftrag.AnzeigeMaxBreite = 956;
  auftrag.AnzeigeMaxHoehe = 545;
  MosaikFertigstellen(auftrag);
  EXPECT_TRUE(auftrag.ErgebnisFertig);
  EXPECT_EQ(auftrag.AnzeigeBild.width(), 727);
  EXPECT_EQ(auftrag.AnzeigeBild.height(), 545);
  EXPECT_EQ(ReadPixel(auftrag.AnzeigeBild, 700, 500), kGruen);

  // A screen smaller than the frame still gets a picture.
  auftrag.AnzeigeMaxBreite = -8;
  auftrag.AnzeigeMaxHoehe = -3;
  MosaikFertigstellen(auftrag);
  EXPECT_TRUE(auftrag.ErgebnisFertig);
  EXPECT_FALSE(auftrag.AnzeigeBild.empty());
}

TEST(MosaikFertigstellen, ZeroAreaOrMissingMosaicIsNoResult) {
  Auftrag auftrag;
  auftrag.ErgebnisFertig = true;
  MosaikFertigstellen(auftrag);
  EXPECT_FALSE(auftrag.ErgebnisFertig);

  // ZellBreite 3 at 20 per cent: tiles 0 pixels wide.
  auftrag.einstellungen.ZellBreite = 3;
  auftrag.einstellungen.ZoomX = 20;
  ASSERT_EQ(KachelBreite(auftrag.einstellungen), 0);
  auftrag.MosaikBild.emplace(0, 50);
  auftrag.AnzeigeMaxBreite = 956;
  auftrag.AnzeigeMaxHoehe = 545;
  MosaikFertigstellen(auftrag);
  EXPECT_FALSE(auftrag.ErgebnisFertig);
}

}  // namespace
}  // namespace tilvendo
