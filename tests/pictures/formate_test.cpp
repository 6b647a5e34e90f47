// The picture types beyond bitmaps and JPEG, photos that lie on their side, ink JPEGs,
// and the fast and cutting ways of reading tiles, through the loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "bild_vergleich.h"
#include "pictures/ausrichtung.h"
#include "pictures/bild_einpassen.h"
#include "pictures/bilder_laden.h"
#include "platform/memory_budget.h"
#include "platform/pixel.h"
#include "platform/stretch_copy.h"
#include "support/bild_dateien.h"
#include "support/formate_testbilder.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::Farbabstand;
using testing::Vergleichen;

constexpr Farbe kGrauFormate{90, 90, 90};
constexpr int32_t kBlock = 16;

// A picture whose every pixel (u, v) is `quelle(u, v)`.
template <typename Quelle>
Bitmap Gemalt(int32_t breite, int32_t hoehe, Quelle quelle) {
  Bitmap bild(breite, hoehe);
  for (int32_t v = 0; v < hoehe; ++v) {
    for (int32_t u = 0; u < breite; ++u) WritePixel(bild, u, v, quelle(u, v));
  }
  return bild;
}

// Turned a quarter clockwise, and mirrored left to right: the two steps by which the
// published descriptions of the orientation values stand a stored picture upright.
Bitmap Drehen(const Bitmap& bild) {
  return Gemalt(bild.height(), bild.width(),
                [&](int32_t u, int32_t v) { return ReadPixel(bild, v, bild.height() - 1 - u); });
}
Bitmap Spiegeln(const Bitmap& bild) {
  return Gemalt(bild.width(), bild.height(),
                [&](int32_t u, int32_t v) { return ReadPixel(bild, bild.width() - 1 - u, v); });
}
Bitmap Aufgerichtet(const Bitmap& gespeichert, uint16_t wert) {
  // 1 as stored, 2 mirrored, 3 turned by 180°, 4 mirrored upside down, 5 mirrored and
  // turned by 270°, 6 turned by 90°, 7 mirrored and turned by 90°, 8 turned by 270°.
  const int vierteln[] = {0, 0, 0, 2, 2, 3, 1, 1, 3};
  Bitmap bild = (wert == 2 || wert == 4 || wert == 5 || wert == 7) ? Spiegeln(gespeichert)
                                                                   : gespeichert.Clone();
  for (int i = 0; i < vierteln[wert]; ++i) bild = Drehen(bild);
  return bild;
}

Bitmap Ausschneiden(const Bitmap& bild, Rect teil) {
  Bitmap ausschnitt(teil.width(), teil.height());
  StretchCopy(bild, ausschnitt,
              Rect{-teil.left, -teil.top, bild.width() - teil.left, bild.height() - teil.top});
  return ausschnitt;
}

// Blocks of kBlock pixels in colours lossy coding keeps apart (each channel at most 200).
Bitmap Bloecke(int32_t spalten, int32_t zeilen) {
  return Gemalt(spalten * kBlock, zeilen * kBlock, [](int32_t u, int32_t v) {
    return Farbe{static_cast<uint8_t>(30 + 80 * (u / kBlock)),
                 static_cast<uint8_t>(20 + 170 * (v / kBlock)),
                 static_cast<uint8_t>(190 - 60 * (u / kBlock))};
  });
}

// The largest difference at the blocks' centres.
int BlockAbstand(const Bitmap& bild, const Bitmap& erwartet) {
  if (bild.width() != erwartet.width() || bild.height() != erwartet.height()) return 999;
  int abstand = 0;
  for (int32_t y = kBlock / 2; y < bild.height(); y += kBlock) {
    for (int32_t x = kBlock / 2; x < bild.width(); x += kBlock) {
      abstand = std::max(abstand, Farbabstand(ReadPixel(bild, x, y), ReadPixel(erwartet, x, y)));
    }
  }
  return abstand;
}

using Schreiber = std::function<void(const std::string&, const Bitmap&, uint16_t)>;
struct Typ {
  std::string name;  // with its extension, in a letter case of its own
  Schreiber schreiben;
};

std::vector<Typ> AlleTypen() {
  using namespace testing;
  return {
      {"bild.jpg", [](auto& p, auto& b, uint16_t o) { WriteTestJpegMitExif(p, b, o); }},
      {"bild.PNG", [](auto& p, auto& b, uint16_t o) { WriteTestPng(p, b, {.ausrichtung = o}); }},
      {"bild.Tiff", [](auto& p, auto& b, uint16_t o) { WriteTestTiff(p, b, o, o % 2 == 0); }},
      {"bild.webp", [](auto& p, auto& b, uint16_t o) { WriteTestWebp(p, b, o, 95); }},
      {"druck.jpeg",
       [](auto& p, auto& b, uint16_t o) { WriteTestJpegMitExif(p, b, o, JpegFarben::Cmyk); }},
      {"ycck.JPG",
       [](auto& p, auto& b, uint16_t o) { WriteTestJpegMitExif(p, b, o, JpegFarben::Ycck); }},
      {"bild.HEIC", [](auto& p, auto& b, uint16_t o) { WriteTestHeif(p, b, o); }},
  };
}

class Formate : public ::testing::Test {
 protected:
  std::string Pfad(const std::string& name) const { return ordner_ / name; }
  bool Kachel(Bitmap& ziel, Rect rect, const std::string& name, Leseart art) {
    return LoadTilePicture(ziel, rect, Pfad(name), arbeitspfad_.path(), budget_, art);
  }

  const testing::TempFolder ordner_;
  const testing::TempFolder arbeitspfad_;
  MemoryBudget budget_{MemoryBudget::kMinBytes};
};

TEST_F(Formate, EveryTypeStandsUprightInEachOrientationOrAsStoredWhenAsked) {
  const Bitmap gespeichert = Bloecke(3, 2);
  for (const Typ& typ : AlleTypen()) {
    for (uint16_t wert = 1; wert <= 8; ++wert) {
      typ.schreiben(Pfad(typ.name), gespeichert, wert);
      const Bitmap erwartet = Aufgerichtet(gespeichert, wert);
      Bitmap ganz;
      ASSERT_TRUE(LoadWholePicture(ganz, Pfad(typ.name))) << typ.name << wert;
      EXPECT_LE(BlockAbstand(ganz, erwartet), 12) << typ.name << wert;
      // A tile of the upright size takes every pixel as it is.
      Bitmap kachel(erwartet.width(), erwartet.height());
      const Rect rect{0, 0, erwartet.width(), erwartet.height()};
      ASSERT_TRUE(Kachel(kachel, rect, typ.name, {})) << typ.name << wert;
      EXPECT_LE(BlockAbstand(kachel, erwartet), 12) << typ.name << wert;
      // HEIF turns its pictures through the container, which belongs to the picture.
      if (typ.name == "bild.HEIC") continue;
      Bitmap roh;
      ASSERT_TRUE(LoadWholePicture(roh, Pfad(typ.name), {.aufrichten = false}));
      EXPECT_LE(BlockAbstand(roh, gespeichert), 12) << typ.name << wert;
    }
  }
}

TEST_F(Formate, TilesOfTurnedOrCutPicturesAreExactlyTheFittedUprightPart) {
  const Bitmap gespeichert = testing::Rauschen(231, 170);
  const Rect rect{3, 4, 23, 19};  // reduced in stages along both axes
  // Cut, a landscape photo and one standing upright keep the rectangle's proportions.
  EXPECT_EQ(MittigerZuschnitt({231, 170}, {20, 15}), (Rect{2, 0, 229, 170}));
  EXPECT_EQ(MittigerZuschnitt({170, 231}, {20, 15}), (Rect{0, 51, 170, 179}));
  for (uint16_t wert = 1; wert <= 8; ++wert) {
    testing::WriteTestPng(Pfad("r.png"), gespeichert, {.ausrichtung = wert});
    for (const bool aufrichten : {true, false}) {
      const Bitmap aufrecht = aufrichten ? Aufgerichtet(gespeichert, wert) : gespeichert.Clone();
      for (const bool zuschneiden : {false, true}) {
        const Rect teil = zuschneiden ? MittigerZuschnitt({aufrecht.width(), aufrecht.height()},
                                                          {rect.width(), rect.height()})
                                      : Rect{0, 0, aufrecht.width(), aufrecht.height()};
        Bitmap erwartet(30, 30);
        BildEinpassen(erwartet, rect, Ausschneiden(aufrecht, teil));
        Bitmap kachel(30, 30);
        ASSERT_TRUE(
            Kachel(kachel, rect, "r.png", {.aufrichten = aufrichten, .zuschneiden = zuschneiden}));
        EXPECT_EQ(Vergleichen(kachel, erwartet).maximum, 0)
            << wert << " " << aufrichten << " " << zuschneiden;
      }
    }
  }
}

TEST_F(Formate, TransparencyLiesOverBlackAndEverySampleLayoutGivesItsColours) {
  using namespace testing;
  const Bitmap bild = Bloecke(2, 2);
  constexpr int kHalb = 128;
  WriteTestPng(Pfad("palette.png"), bild,
               {.farben = PngFarben::Palette, .verschraenkt = true, .alpha = kHalb});
  WriteTestPng(Pfad("grau.png"), bild,
               {.farben = PngFarben::Grau, .sechzehnBit = true, .alpha = kHalb});
  WriteTestTiff(Pfad("kacheln.tif"), bild, 1, true, kHalb);
  WriteTestWebp(Pfad("alpha.webp"), bild, std::nullopt, std::nullopt, kHalb);
  const auto halb = [](uint8_t wert) { return static_cast<uint8_t>((wert * kHalb + 127) / 255); };
  for (const std::string name : {"palette.png", "grau.png", "kacheln.tif", "alpha.webp"}) {
    Bitmap gelesen;
    ASSERT_TRUE(LoadWholePicture(gelesen, Pfad(name))) << name;
    const auto erwartet = [&](int32_t x, int32_t y) {
      const Farbe farbe = ReadPixel(bild, x, y);
      if (name == "grau.png") return Farbe{halb(farbe.green), halb(farbe.green), halb(farbe.green)};
      return Farbe{halb(farbe.blue), halb(farbe.green), halb(farbe.red)};
    };
    EXPECT_LE(Vergleichen(gelesen, erwartet).maximum, 2) << name;
  }
}

TEST_F(Formate, SixteenBitPngSamplesAreRoundedToEightBits) {
  // Every channel of pixel x holds the high byte hoch[x]; the low byte is given per file.
  // Rounding takes v × 255 / 65535 to the nearest integer; cutting would keep the high byte.
  const std::vector<uint8_t> hoch = {0x00, 0x40, 0x80, 0xFF};
  const Bitmap bild = Gemalt(4, 1, [&](int32_t u, int32_t) {
    return Farbe{hoch[static_cast<size_t>(u)], hoch[static_cast<size_t>(u)],
                 hoch[static_cast<size_t>(u)]};
  });
  struct Fall {
    uint8_t unteresByte;
    std::vector<uint8_t> erwartet;
  };
  // 0x00FF → 0.99 → 1, 0x40FF → 64.74 → 65, 0x80FF → 128.49 → 128, 0xFFFF → 255;
  // 0x4000 → 63.75 → 64, 0x8000 → 127.50 → 128, 0xFF00 → 254.01 → 254.
  for (const Fall& fall : {Fall{0xFF, {1, 65, 128, 255}}, Fall{0x00, {0, 64, 128, 254}}}) {
    for (const bool verschraenkt : {false, true}) {
      testing::WriteTestPng(
          Pfad("tief.png"), bild,
          {.sechzehnBit = true, .unteresByte = fall.unteresByte, .verschraenkt = verschraenkt});
      Bitmap ganz;
      ASSERT_TRUE(LoadWholePicture(ganz, Pfad("tief.png")));
      Bitmap kachel(4, 1);
      ASSERT_TRUE(Kachel(kachel, Rect{0, 0, 4, 1}, "tief.png", {}));
      for (int32_t x = 0; x < 4; ++x) {
        const uint8_t wert = fall.erwartet[static_cast<size_t>(x)];
        EXPECT_EQ(ReadPixel(ganz, x, 0), (Farbe{wert, wert, wert})) << x;
        EXPECT_EQ(ReadPixel(kachel, x, 0), (Farbe{wert, wert, wert})) << x;
      }
    }
  }
}

TEST_F(Formate, CuttingToShapeTakesTheCentredColumnsOrRows) {
  // 8 × 3 into a square of 3 leaves 5 columns, two cut on the left and three on the right;
  // standing, the same for the rows. Every column (row) has its own blue (green).
  const Bitmap liegend = Gemalt(8, 3, [](int32_t u, int32_t) {
    return Farbe{static_cast<uint8_t>(10 * u), 0, 0};
  });
  const Bitmap stehend = Gemalt(3, 8, [](int32_t, int32_t v) {
    return Farbe{0, static_cast<uint8_t>(10 * v), 0};
  });
  testing::WriteTestPng(Pfad("liegend.png"), liegend);
  testing::WriteTestPng(Pfad("stehend.png"), stehend);
  for (const bool schnell : {false, true}) {
    const Leseart art{.schnell = schnell, .zuschneiden = true};
    Bitmap quer(3, 3), hoch(3, 3);
    ASSERT_TRUE(Kachel(quer, Rect{0, 0, 3, 3}, "liegend.png", art));
    ASSERT_TRUE(Kachel(hoch, Rect{0, 0, 3, 3}, "stehend.png", art));
    for (int32_t i = 0; i < 3; ++i) {
      EXPECT_EQ(ReadPixel(quer, i, 1).blue, 20 + 10 * i) << i;
      EXPECT_EQ(ReadPixel(hoch, 1, i).green, 20 + 10 * i) << i;
    }
  }
}

// `ganz` with the 32-bit big-endian values after the last `kennung` replaced.
std::string Ersetzt(std::string ganz, const std::string& kennung, std::vector<uint32_t> werte) {
  size_t stelle = ganz.rfind(kennung);
  EXPECT_NE(stelle, std::string::npos) << kennung;
  stelle += kennung.size();
  for (const uint32_t wert : werte) {
    for (int i = 3; i >= 0; --i) ganz[stelle++] = static_cast<char>(wert >> (8 * i));
  }
  return ganz;
}

TEST_F(Formate, DamagedFilesAreRefusedQuietlyAndHugeOnesBeforeTheirMemoryIsTaken) {
  std::vector<std::string> kaputt;
  for (const Typ& typ : AlleTypen()) {
    typ.schreiben(Pfad(typ.name), Bloecke(2, 2), 1);
    const std::string ganz = testing::ReadWholeFile(Pfad(typ.name));
    testing::WriteWholeFile(Pfad("kurz" + typ.name), ganz.substr(0, ganz.size() / 2));
    testing::WriteWholeFile(Pfad("kopf" + typ.name), std::string(16, 'x') + ganz.substr(16));
    kaputt.insert(kaputt.end(), {"kurz" + typ.name, "kopf" + typ.name});
  }
  // Declared sizes beyond the size check (HEIF) or the budget (WebP's largest); PNG and
  // TIFF headers of huge pictures are refused with the memory limits.
  const std::string heif = testing::ReadWholeFile(Pfad("bild.HEIC"));
  // The size of the picture the coded tiles make up.
  testing::WriteWholeFile(Pfad("riesig.heic"), Ersetzt(heif, "ispe", {0, 30000, 30000}));
  testing::WriteTestWebp(Pfad("klein.webp"), Bloecke(1, 1));
  std::string webp = testing::ReadWholeFile(Pfad("klein.webp"));
  constexpr size_t kVp8lGroesse = 21;  // after the headers and the signature byte
  constexpr uint32_t kGroessteSeite = (1u << 14) - 1;
  const uint32_t groesse = kGroessteSeite | (kGroessteSeite << 14);
  for (int i = 0; i < 4; ++i) webp[kVp8lGroesse + i] = static_cast<char>(groesse >> (8 * i));
  testing::WriteWholeFile(Pfad("riesig.webp"), webp);

  ::testing::internal::CaptureStderr();
  for (const std::string& name : kaputt) {
    Bitmap bild = testing::Einfarbig(3, 2, kGrauFormate);
    EXPECT_FALSE(LoadWholePicture(bild, Pfad(name))) << name;
    EXPECT_EQ(bild.width(), 3) << name;
  }
  for (const std::string& name : kaputt) {
    Bitmap ziel = testing::Einfarbig(8, 8, kGrauFormate);
    EXPECT_FALSE(Kachel(ziel, Rect{0, 0, 8, 8}, name, {.schnell = true})) << name;
    EXPECT_EQ(Vergleichen(ziel, testing::Einfarbig(8, 8, kGrauFormate)).maximum, 0) << name;
  }
  for (const std::string name : {"riesig.heic", "riesig.webp"}) {
    Bitmap bild;
    EXPECT_NE(VorlagenbildLesen(bild, Pfad(name)).lesung, Vorlagenlesung::Gelesen) << name;
    EXPECT_TRUE(bild.empty()) << name;
    Bitmap ziel(8, 8);
    EXPECT_FALSE(Kachel(ziel, Rect{0, 0, 8, 8}, name, {})) << name;
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(Formate, FastTilesStayCloseToExactOnes) {
  // Soft gradients, as photos have: picking single pixels and averaging agree there.
  const Bitmap foto = Gemalt(800, 600, [](int32_t u, int32_t v) {
    return Farbe{static_cast<uint8_t>(u / 4), static_cast<uint8_t>(v / 3),
                 static_cast<uint8_t>(100 + (u + v) / 20)};
  });
  testing::WriteTestJpeg(Pfad("foto.jpg"), foto, 90);
  testing::WriteTestWebp(Pfad("foto.webp"), foto, std::nullopt, 90);
  testing::WriteTestHeif(Pfad("foto.heic"), foto, 1, 160);
  for (const std::string name : {"foto.jpg", "foto.webp", "foto.heic"}) {
    for (const Rect rect : {Rect{0, 0, 10, 10}, Rect{0, 0, 30, 20}, Rect{0, 0, 200, 150}}) {
      Bitmap genau(rect.right, rect.bottom), schnell(rect.right, rect.bottom);
      ASSERT_TRUE(Kachel(genau, rect, name, {}));
      ASSERT_TRUE(Kachel(schnell, rect, name, {.schnell = true}));
      const testing::Abweichung abweichung = Vergleichen(schnell, genau);
      EXPECT_LE(abweichung.maximum, 8) << name << " " << rect.right;
      EXPECT_LE(abweichung.mittel, 2.0) << name << " " << rect.right;
    }
  }
}

}  // namespace
}  // namespace tilvendo
