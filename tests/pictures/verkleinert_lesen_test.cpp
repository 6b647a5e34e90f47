// Tiles read from a picture the reader delivers smaller than stored: every pixel of the
// reduction's first stage must come from the place of the smaller picture that shows the
// pixel the whole reading takes, also where a side is no multiple of the reduction.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "pictures/bilder_laden.h"
#include "pictures/jpeg_io.h"
#include "pictures/zeilen_einpassen.h"
#include "platform/memory_budget.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/formate_testbilder.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

constexpr Size kGespeichert{803, 601};  // sides that are no multiple of 8
constexpr int32_t kKachel = 10;         // stages 80 × 60, then 10 × 10
constexpr uint8_t kHell = 250;
constexpr uint8_t kDunkel = 60;

// Feeds `geliefert` rows in which pixel (c, y) has blue c and green y to a fast tile
// reader of the 803 × 601 picture, as a reader that reduced it would; the tile drawn.
Bitmap GeliefertLesen(Size geliefert, Size abgedeckt) {
  MemoryBudget budget(MemoryBudget::kMinBytes);
  ZeilenEinpassen einpassen(Rect{0, 0, kKachel, kKachel}, budget, Leseart{.schnell = true});
  EXPECT_EQ(einpassen.Mindestgroesse(kGespeichert, Ausrichtung::Normal), (Size{80, 60}));
  Zeilenformat format;
  format.breite = geliefert.width;
  format.hoehe = geliefert.height;
  format.abgedeckt = abgedeckt;
  EXPECT_TRUE(einpassen.Groesse(format));
  std::vector<uint8_t> zeile(3 * static_cast<size_t>(geliefert.width));
  for (int32_t y = 0; y < geliefert.height; ++y) {
    if (!einpassen.BrauchtZeile(y)) continue;
    for (int32_t c = 0; c < geliefert.width; ++c) {
      zeile[3 * c] = static_cast<uint8_t>(c);
      zeile[3 * c + 1] = static_cast<uint8_t>(y);
    }
    einpassen.Zeile(y, zeile.data());
  }
  Bitmap kachel(kKachel, kKachel);
  einpassen.Zeichnen(kachel);
  return kachel;
}

void SpaltenUndZeilenPruefen(const Bitmap& kachel, const std::array<int, kKachel>& spalten,
                             const std::array<int, kKachel>& zeilen) {
  for (int32_t i = 0; i < kKachel; ++i) {
    EXPECT_EQ(ReadPixel(kachel, i, 0).blue, spalten[i]) << "column " << i;
    EXPECT_EQ(ReadPixel(kachel, 0, i).green, zeilen[i]) << "row " << i;
  }
}

TEST(VerkleinertLesen, EachPixelComesFromTheDeliveredPixelUnderItsCentre) {
  // The whole reading takes stored columns 45, 125, 205, 286, 366, … and rows 35, 95, 155,
  // 215, 275, 335, 395, … of the 803 × 601 picture.
  // A scaler delivering 101 × 76 spreads its pixels evenly: column 286 has its centre at
  // 286.5 × 101 / 803 = 36.03, in delivered column 36; row 395 at 395.5 × 76 / 601 = 50.01.
  SpaltenUndZeilenPruefen(GeliefertLesen({101, 76}, {0, 0}),
                          {5, 15, 25, 36, 46, 56, 66, 76, 86, 96},
                          {4, 12, 19, 27, 34, 42, 50, 57, 65, 72});
  // JPEG's reduction to an eighth makes one pixel of each block of 8: column 286 lies in
  // block 35, row 95 in block 11, whatever the sides' remainders.
  SpaltenUndZeilenPruefen(GeliefertLesen({101, 76}, {808, 608}),
                          {5, 15, 25, 35, 45, 55, 65, 75, 85, 95},
                          {4, 11, 19, 26, 34, 41, 49, 56, 64, 71});
}

TEST(VerkleinertLesen, AMarkedBlockShowsInTheSameTileColumnAndRowReadFastOrWhole) {
  const testing::TempFolder ordner;
  struct Fall {
    uint16_t ausrichtung;
    int32_t spaltenBlock;  // stored blocks of 8 pixels, marked bright
    int32_t zeilenBlock;
  };
  // Both marks lie where the whole reading takes tile column 3 and tile row 1 (upright
  // column 286 and row 95); turned by 180°, the stored blocks lie mirrored.
  for (const Fall fall : {Fall{1, 35, 11}, Fall{3, 64, 63}}) {
    Bitmap bild = testing::Einfarbig(kGespeichert.width, kGespeichert.height,
                                     Farbe{kDunkel, kDunkel, kDunkel});
    for (int32_t y = 0; y < kGespeichert.height; ++y) {
      for (int32_t x = 0; x < kGespeichert.width; ++x) {
        if (x / 8 == fall.spaltenBlock || y / 8 == fall.zeilenBlock) {
          WritePixel(bild, x, y, Farbe{kHell, kHell, kHell});
        }
      }
    }
    testing::WriteTestJpegMitExif(ordner / "markiert.jpg", bild, fall.ausrichtung);
    for (const bool schnell : {false, true}) {
      Bitmap kachel(kKachel, kKachel);
      ASSERT_TRUE(LoadTilePicture(kachel, Rect{0, 0, kKachel, kKachel}, ordner / "markiert.jpg",
                                  ordner.path(), Leseart{.schnell = schnell}));
      for (int32_t y = 0; y < kKachel; ++y) {
        for (int32_t x = 0; x < kKachel; ++x) {
          const bool hell = ReadPixel(kachel, x, y).green > (kHell + kDunkel) / 2;
          EXPECT_EQ(hell, x == 3 || y == 1)
              << fall.ausrichtung << (schnell ? " fast " : " whole ") << x << "," << y;
        }
      }
    }
  }
}

// Records the size a reader delivers, and reads nothing.
class Groessenmesser final : public ZeilenEmpfaenger {
 public:
  explicit Groessenmesser(Size mindestens) : mindestens_(mindestens) {}
  Size Mindestgroesse(Size, Ausrichtung) override { return mindestens_; }
  bool Groesse(const Zeilenformat& format) override {
    geliefert = Size{format.breite, format.hoehe};
    abgedeckt = format.abgedeckt;
    return false;
  }
  bool BrauchtZeile(int32_t) const override { return false; }
  void Zeile(int32_t, const uint8_t*) override {}

  Size geliefert;
  Size abgedeckt;

 private:
  Size mindestens_;
};

TEST(VerkleinertLesen, JpegDeliversTheGreatestReductionStillLargeEnough) {
  const testing::TempFolder ordner;
  testing::WriteTestJpeg(ordner / "bild.jpg", testing::Einfarbig(803, 601, Farbe{1, 2, 3}));
  struct Fall {
    Size mindestens;
    Size geliefert;
    Size abgedeckt;  // whole blocks of the reduction
  };
  // Exactly an eighth (rounded up) is enough for an eighth; one pixel more needs a quarter.
  const std::vector<Fall> faelle = {
      {{101, 76}, {101, 76}, {808, 608}},  {{102, 76}, {201, 151}, {804, 604}},
      {{101, 77}, {201, 151}, {804, 604}}, {{201, 151}, {201, 151}, {804, 604}},
      {{202, 1}, {402, 301}, {804, 602}},  {{803, 601}, {803, 601}, {803, 601}},
      {{1, 1}, {101, 76}, {808, 608}}};
  for (const Fall& fall : faelle) {
    Groessenmesser messer(fall.mindestens);
    EXPECT_FALSE(ReadJpegRows(ordner / "bild.jpg", messer));
    EXPECT_EQ(messer.geliefert, fall.geliefert) << fall.mindestens.width;
    EXPECT_EQ(messer.abgedeckt, fall.abgedeckt) << fall.mindestens.width;
  }
}

}  // namespace
}  // namespace tilvendo
