#include "pictures/seitenraster.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/atomic_file.h"

namespace tilvendo {
namespace {

// At 254 dpi a millimetre is ten pixels: an A4 sheet with 5 mm margins holds 2000 × 2870
// pixels, and 10 mm of overlap are 100 of them.
constexpr double kZehnJeMm = 254.0;

auto Masse(const Seitenraster& r) {
  return std::tuple(r.spalten, r.zeilen, r.quer, r.feldBreite, r.feldHoehe, r.ueberlappungX,
                    r.ueberlappungY);
}

auto Ecken(const Rect& r) {
  return std::tuple(r.left, r.top, r.right, r.bottom);
}

TEST(Seitenraster, LaysTheSheetsTheWayThatNeedsFewerAndCutsTheLastAtThePoster) {
  const Seitenwahl a4;
  // Upright 3 × 2 sheets, lying 2 × 2: lying wins.
  const Seitenraster r = SeitenrasterBerechnen(5000, 3000, kZehnJeMm, kZehnJeMm, a4);
  EXPECT_EQ(Masse(r), std::tuple(2, 2, true, 2870, 2000, 100, 100));
  EXPECT_EQ(Ecken(r.Ausschnitt(0, 1)), std::tuple(2770, 0, 5000, 2000));
  EXPECT_EQ(Ecken(r.Ausschnitt(1, 0)), std::tuple(0, 1900, 2870, 3000));
  EXPECT_DOUBLE_EQ(r.blattBreiteMm, 297.0);

  Seitenwahl hoch = a4;
  hoch.lage = Blattlage::Hoch;
  const Seitenraster h = SeitenrasterBerechnen(5000, 3000, kZehnJeMm, kZehnJeMm, hoch);
  EXPECT_EQ(Masse(h), std::tuple(3, 2, false, 2000, 2870, 100, 100));
  EXPECT_EQ(Ecken(h.Ausschnitt(1, 2)), std::tuple(3800, 2770, 5000, 3000));

  // Another resolution down than across: the strips and fields follow each.
  const Seitenraster d = SeitenrasterBerechnen(1000, 1000, kZehnJeMm, kZehnJeMm / 2, hoch);
  EXPECT_EQ(Masse(d), std::tuple(1, 1, false, 2000, 1435, 100, 50));
}

TEST(Seitenraster, APosterOfExactlyOneSheetTakesOneAndAPixelMoreTakesTwo) {
  Seitenwahl wahl;
  const Seitenraster eins = SeitenrasterBerechnen(2000, 2870, kZehnJeMm, kZehnJeMm, wahl);
  EXPECT_EQ(Masse(eins), std::tuple(1, 1, false, 2000, 2870, 100, 100));
  EXPECT_EQ(Ecken(eins.Ausschnitt(0, 0)), std::tuple(0, 0, 2000, 2870));
  // Both ways two sheets: upright is kept.
  const Seitenraster zwei = SeitenrasterBerechnen(2001, 2870, kZehnJeMm, kZehnJeMm, wahl);
  EXPECT_EQ(Masse(zwei), std::tuple(2, 1, false, 2000, 2870, 100, 100));
  EXPECT_EQ(Ecken(zwei.Ausschnitt(0, 1)), std::tuple(1900, 0, 2001, 2870));
  // One step more than a sheet: exactly two, and a pixel more three.
  wahl.lage = Blattlage::Hoch;
  EXPECT_EQ(SeitenrasterBerechnen(3900, 2870, kZehnJeMm, kZehnJeMm, wahl).spalten, 2);
  EXPECT_EQ(SeitenrasterBerechnen(3901, 2870, kZehnJeMm, kZehnJeMm, wahl).spalten, 3);
}

TEST(Seitenraster, RefusesSheetsThatCannotBePrinted) {
  // Field of the choice, its value, and the start of the reason ("" where it is taken).
  const std::vector<std::tuple<double Seitenwahl::*, double, std::string>> faelle = {
      {&Seitenwahl::ueberlappungMm, 100.0, "Die Überlappung von 100 mm"},  // half of 200 mm
      {&Seitenwahl::ueberlappungMm, 99.9, ""},
      {&Seitenwahl::randMm, 105.0, "Bei 105 mm Rand bleibt"},  // nothing left across
      {&Seitenwahl::randMm, 104.9, "Die Überlappung"},  // 0.2 mm left: any overlap is half
      {&Seitenwahl::blattHoeheMm, 2000.0, ""},
      {&Seitenwahl::blattHoeheMm, 2000.5, "Ein Blatt von 210 x 2000,5 mm ist länger als 2 m"},
      {&Seitenwahl::randMm, 0.0, "Der Rand muss größer als 0 mm sein."},
      {&Seitenwahl::ueberlappungMm, -1.0, "Die Überlappung muss größer als 0 mm sein."},
      {&Seitenwahl::blattBreiteMm, 0.0, "Breite und Höhe eines Blattes"},
  };
  for (const auto& [feld, wert, grund] : faelle) {
    Seitenwahl wahl;
    wahl.*feld = wert;
    std::string gesagt;
    try {
      SeitenrasterBerechnen(5000, 3000, kZehnJeMm, kZehnJeMm, wahl);
    } catch (const WriteError& fehler) {
      gesagt = fehler.what();
    }
    EXPECT_EQ(gesagt.substr(0, grund.size()), grund) << wert;
    EXPECT_EQ(gesagt.empty(), grund.empty()) << wert;
  }
  EXPECT_THROW(SeitenrasterBerechnen(5000, 3000, 0.0, kZehnJeMm, Seitenwahl{}), WriteError);
}

TEST(Seitenraster, NamesRowsByLettersAndColumnsByNumbers) {
  EXPECT_EQ(std::tuple(Blattname(0, 0), Blattname(1, 2), Blattname(25, 0), Blattname(26, 9)),
            std::tuple("A1", "B3", "Z1", "AA10"));
  ASSERT_TRUE(BlattformatVon("a4").has_value());
  EXPECT_EQ(std::tuple(BlattformatVon("a4")->breiteMm, BlattformatVon("TABLOID")->hoeheMm),
            std::tuple(210.0, 431.8));
  EXPECT_FALSE(BlattformatVon("B5").has_value());
}

}  // namespace
}  // namespace tilvendo
