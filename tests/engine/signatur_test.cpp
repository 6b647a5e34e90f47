#include "engine/signatur.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/bitmap.h"
#include "platform/pixel.h"

namespace tilvendo {
namespace {

Analyse Stufe(uint8_t formanalyse, uint16_t abtastgroesse = kAbtastgroesseStandard) {
  Analyse analyse;
  analyse.Formanalyse = formanalyse;
  analyse.Abtastgroesse = abtastgroesse;
  return analyse;
}

// A consistent signature of level L with arbitrary colours.
Kachelsignatur ZufallssignaturFormanalyse(int formanalyse, int32_t nummer, std::mt19937& zufall) {
  std::uniform_int_distribution<int> byte(0, 255);
  Kachelsignatur s;
  s.Nummer = nummer;
  for (int i = 0; i < formanalyse; ++i) {
    for (int j = 0; j < formanalyse; ++j) {
      Feld& f = s.Felder[i][j];
      f.Rot = static_cast<uint8_t>(byte(zufall));
      f.Gruen = static_cast<uint8_t>(byte(zufall));
      f.Blau = static_cast<uint8_t>(byte(zufall));
      f.Summe = static_cast<uint16_t>(f.Rot + f.Gruen + f.Blau);
    }
  }
  s.Rot = static_cast<uint8_t>(byte(zufall));
  s.Gruen = static_cast<uint8_t>(byte(zufall));
  s.Blau = static_cast<uint8_t>(byte(zufall));
  s.Helligkeit = static_cast<uint16_t>(s.Rot + s.Gruen + s.Blau);
  return s;
}

TEST(Teilkante, FollowsTheLevelWithTheDefaultSampleSize) {
  const std::vector<std::pair<uint8_t, int>> erwartet = {{1, 10}, {3, 3}, {5, 2}, {7, 1}, {10, 1}};
  for (const auto& [stufe, kante] : erwartet) {
    EXPECT_EQ(Teilkante(Stufe(stufe)), kante) << int(stufe);
    EXPECT_EQ(Arbeitskante(Stufe(stufe)), kante * stufe) << int(stufe);
  }
  // A sample size below the level still leaves one pixel per sub-cell.
  EXPECT_EQ(Teilkante(Stufe(5, 4)), 1);
  EXPECT_THROW(Teilkante(Stufe(0)), std::invalid_argument);
  EXPECT_THROW(Teilkante(Stufe(11)), std::invalid_argument);
}

TEST(SignaturBerechnen, LevelOneAveragesAllHundredPixelsRoundingHalvesToEven) {
  // Red: half the pixels 1, half 2 → 1.5 → 2. Green: half 2, half 3 → 2.5 → 2.
  // Blue: 51 pixels 255 and 49 pixels 0 → 130.05 → 130.
  Bitmap w(10, 10);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const int k = y * 10 + x;
      WritePixel(w, x, y,
                 Farbe{static_cast<uint8_t>(k < 51 ? 255 : 0), static_cast<uint8_t>(k < 50 ? 2 : 3),
                       static_cast<uint8_t>(k < 50 ? 1 : 2)});
    }
  }
  const Kachelsignatur s = SignaturBerechnen(w, 1, 10);
  EXPECT_EQ(s.Felder[0][0], (Feld{134, 2, 2, 130}));
  EXPECT_EQ(s.Rot, 2);
  EXPECT_EQ(s.Gruen, 2);
  EXPECT_EQ(s.Blau, 130);
  EXPECT_EQ(s.Helligkeit, 134);
  EXPECT_EQ(s.Nummer, 0);
}

TEST(SignaturBerechnen, LevelThreeMeasuresColumnBandsFirstAndAveragesRoundedEntries) {
  // A 9 × 9 picture whose 3 × 3 blocks have red = 10·column band + row band, except
  // block (2, 0) which mixes 4 and 5 to give 4.44 → 4.
  Bitmap w(9, 9);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 9; ++x) {
      uint8_t rot = static_cast<uint8_t>(10 * (x / 3) + y / 3);
      if (x / 3 == 2 && y / 3 == 0) rot = (x + y) % 2 == 0 ? 4 : 5;
      WritePixel(w, x, y, Farbe{0, 0, rot});
    }
  }
  const Kachelsignatur s = SignaturBerechnen(w, 3, 3);
  EXPECT_EQ(s.Felder[1][2].Rot, 12);  // column band 1, row band 2
  EXPECT_EQ(s.Felder[2][1].Rot, 21);
  EXPECT_EQ(s.Felder[2][0].Rot, 4);  // 5 × 4 + 4 × 5 = 40 / 9
  EXPECT_EQ(s.Felder[2][0].Summe, 4);
  // Entries 0, 1, 2, 10, 11, 12, 4, 21, 22 add up to 83; 83 / 9 = 9.2 → 9.
  EXPECT_EQ(s.Rot, 9);
  EXPECT_EQ(s.Helligkeit, 9);
}

TEST(SignaturBerechnen, FineLevelsTakeOnePixelPerSubCell) {
  for (int stufe : {7, 10}) {
    Bitmap w(stufe, stufe);
    for (int y = 0; y < stufe; ++y) {
      for (int x = 0; x < stufe; ++x) {
        WritePixel(w, x, y,
                   Farbe{static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                         static_cast<uint8_t>(100 + x + y)});
      }
    }
    const Kachelsignatur s = SignaturBerechnen(w, stufe, 1);
    EXPECT_EQ(s.Felder[stufe - 1][0],
              (Feld{static_cast<uint16_t>(100 + stufe - 1 + stufe - 1),
                    static_cast<uint8_t>(100 + stufe - 1), 0, static_cast<uint8_t>(stufe - 1)}));
    EXPECT_EQ(s.Helligkeit, s.Rot + s.Gruen + s.Blau);
    // Fields beyond the level stay empty.
    if (stufe < kMaxFormanalyse) {
      EXPECT_EQ(s.Felder[stufe][0], Feld{});
    }
  }
}

TEST(SignaturBerechnen, RefusesAWorkPictureSmallerThanTheLevelNeeds) {
  Bitmap w(9, 9);
  EXPECT_THROW(SignaturBerechnen(w, 5, 2), std::invalid_argument);
  Bitmap grau(10, 10, PixelFormat::k8);
  EXPECT_THROW(SignaturBerechnen(grau, 5, 2), std::invalid_argument);
}

TEST(Signatursatz, HeadAndFieldRecordsAreLittleEndianTwelveBytesEach) {
  Kachelsignatur s;
  s.Nummer = 0x01020304;
  s.Rot = 200;
  s.Gruen = 250;
  s.Blau = 250;
  s.Helligkeit = 700;  // 0x02BC
  s.Felder[0][0] = Feld{3, 1, 1, 1};
  s.Felder[0][1] = Feld{6, 1, 2, 3};
  s.Felder[1][0] = Feld{9, 3, 3, 3};
  s.Felder[1][1] = Feld{765, 255, 255, 255};
  ASSERT_EQ(SignaturGroesse(2), 5 * 12u);
  std::vector<uint8_t> bytes(SignaturGroesse(2), 0xAA);
  SignaturKodieren(s, 2, bytes);

  const std::vector<uint8_t> kopf = {4, 3, 2, 1, 0xBC, 0x02, 200, 250, 250, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 12), kopf);
  // Field records run i = 1..L outer, j = 1..L inner: (1,1), (1,2), (2,1), (2,2).
  const std::vector<uint8_t> feld12 = {4, 3, 2, 1, 6, 0, 1, 2, 3, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 24, bytes.begin() + 36), feld12);
  const std::vector<uint8_t> feld22 = {4, 3, 2, 1, 0xFD, 0x02, 255, 255, 255, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 48, bytes.end()), feld22);

  s.Nummer = -2;
  SignaturKodieren(s, 2, bytes);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4),
            (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(Signatursatz, RoundTripsAtEveryLevelAndIgnoresThePadding) {
  std::mt19937 zufall(7);
  for (int stufe : {1, 3, 5, 7, 10}) {
    const Kachelsignatur s = ZufallssignaturFormanalyse(stufe, 1234 + stufe, zufall);
    std::vector<uint8_t> bytes(SignaturGroesse(stufe));
    SignaturKodieren(s, stufe, bytes);
    for (size_t satz = 0; satz < bytes.size(); satz += kSatzGroesse) bytes[satz + 10] = 0x5A;
    EXPECT_EQ(SignaturDekodieren(bytes, stufe), s) << stufe;
  }
}

TEST(Signatursatz, InconsistentRecordsAreDamage) {
  std::mt19937 zufall(11);
  const Kachelsignatur s = ZufallssignaturFormanalyse(3, 42, zufall);
  std::vector<uint8_t> gut(SignaturGroesse(3));
  SignaturKodieren(s, 3, gut);

  auto fremdeNummer = gut;
  fremdeNummer[5 * 12] = 43;  // the fifth field record belongs to another picture
  EXPECT_THROW(SignaturDekodieren(fremdeNummer, 3), SignaturBeschaedigt);

  // A brightness beyond 765 would index past the brightness buckets.
  auto zuHell = gut;
  zuHell[4] = 0xFF;
  zuHell[5] = 0xFF;
  EXPECT_THROW(SignaturDekodieren(zuHell, 3), SignaturBeschaedigt);

  auto falscheSumme = gut;
  falscheSumme[12 + 6] ^= 1;  // red of field (1, 1) no longer adds up
  EXPECT_THROW(SignaturDekodieren(falscheSumme, 3), SignaturBeschaedigt);

  gut.pop_back();
  EXPECT_THROW(SignaturDekodieren(gut, 3), SignaturBeschaedigt);
}

}  // namespace
}  // namespace tilvendo
