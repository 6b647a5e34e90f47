#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "pictures/bilder_laden.h"
#include "pictures/seiten_speichern.h"
#include "speicher_testbilder.h"
#include "support/speicher_optionen.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::ReadWholeFile;
using testing::SpeicherOptionenFuer;
using testing::TempFolder;
using testing::WriteWholeFile;

// Sheets of 2 × 1.5 inches with margins and overlaps of a quarter inch hold 216 × 144 pixels
// at 144 dpi, 36 of them shared with each neighbour: a 500 × 250 poster takes 3 × 2 sheets.
// Rendered at 144 dpi every pixel of a sheet falls on one of the page.
constexpr double kDpi = 144.0;
constexpr int32_t kRand = 36;
constexpr int32_t kUeber = 36;
constexpr int32_t kFeldBreite = 216;
constexpr int32_t kFeldHoehe = 144;

// Light and dark blocks of 10 × 13 pixels, tinted red across and green down: a sheet cut a
// pixel off its place differs at every block edge. (The blocks differ in brightness, which
// JPEG keeps at full resolution, not in colour, which it halves.)
Bitmap Poster(int32_t breite, int32_t hoehe) {
  Bitmap bild(breite, hoehe);
  for (int32_t y = 0; y < hoehe; ++y) {
    for (int32_t x = 0; x < breite; ++x) {
      uint8_t* p = bild.row(y) + 4 * x;
      const int hell = (x / 10 + y / 13) % 2 * 160;
      p[0] = static_cast<uint8_t>(hell);
      p[1] = static_cast<uint8_t>(hell + y * 80 / hoehe);
      p[2] = static_cast<uint8_t>(hell + x * 80 / breite);
    }
  }
  return bild;
}

std::string Ausgabe(const std::string& befehl) {
  std::string text;
  testing::Ausfuehren(befehl, text);
  return text;
}

// Page `seite` of `pdf` at the poster's resolution. (pdftoppm smooths a picture drawn at
// its pixels' size; pdftocairo draws it as it is.)
Bitmap Gerendert(const std::string& pdf, int seite) {
  const std::string n = std::to_string(seite);
  const std::string png = pdf + "-" + n;
  std::system(
      ("pdftocairo -png -singlefile -r 144 -f " + n + " -l " + n + " '" + pdf + "' '" + png + "'")
          .c_str());
  Bitmap bild;
  EXPECT_TRUE(LoadWholePicture(bild, png + ".png"));
  return bild;
}

int Wert(const Bitmap& bild, int32_t x, int32_t y, int kanal) {
  return bild.row(y)[BytesPerPixel(bild.format()) * x + kanal];
}

// The mean difference of the breite × hoehe pixels of `a` from (ax, ay) and of `b` from
// (bx, by).
double Abweichung(const Bitmap& a, int32_t ax, int32_t ay, const Bitmap& b, int32_t bx, int32_t by,
                  int32_t breite, int32_t hoehe) {
  double summe = 0;
  for (int32_t y = 0; y < hoehe; ++y) {
    for (int32_t x = 0; x < breite; ++x) {
      for (int k = 0; k < 3; ++k)
        summe += std::abs(Wert(a, ax + x, ay + y, k) - Wert(b, bx + x, by + y, k));
    }
  }
  return summe / (3.0 * breite * hoehe);
}

Seitenwahl Klein() {
  Seitenwahl wahl;
  wahl.blattBreiteMm = 50.8;
  wahl.blattHoeheMm = 38.1;
  wahl.ueberlappungMm = 6.35;
  wahl.randMm = 6.35;
  return wahl;
}

class SeitenPdf : public ::testing::Test {
 protected:
  SpeicherOptionen Datei() {
    SpeicherOptionen datei = SpeicherOptionenFuer(ordner_, "p.pdf", 0);
    datei.Aufloesung = kDpi;
    datei.Qualitaet = 100;
    return datei;
  }
  TempFolder ordner_;
  std::string pdf_ = ordner_ / "p.pdf";
};

TEST_F(SeitenPdf, EachSheetHoldsItsPartOfThePosterAndSharesTheStripWithItsNeighbours) {
  const Bitmap poster = Poster(500, 250);
  BitmapStreifen quelle(poster);
  SeitenSpeichern(quelle, Datei(), Klein());
  const std::string info = Ausgabe("pdfinfo '" + pdf_ + "'");
  EXPECT_NE(info.find("Pages:           7"), std::string::npos) << info;
  EXPECT_NE(info.find("144 x 108 pts"), std::string::npos) << info;

  const Seitenraster raster = SeitenrasterBerechnen(500, 250, kDpi, kDpi, Klein());
  ASSERT_EQ(raster.Blaetter(), 6);
  std::vector<Bitmap> seiten;
  for (int i = 0; i < raster.Blaetter(); ++i) seiten.push_back(Gerendert(pdf_, i + 2));
  for (int i = 0; i < raster.Blaetter(); ++i) {
    const Rect t = raster.Ausschnitt(i / 3, i % 3);
    EXPECT_LT(Abweichung(seiten[i], kRand, kRand, poster, t.left, t.top, t.width(), t.height()),
              2.0)
        << i;
  }
  // A1's right strip is A2's left one, and A2's lower strip B2's upper one.
  const int32_t rechts = kRand + kFeldBreite - kUeber;
  const int32_t unten = kRand + kFeldHoehe - kUeber;
  EXPECT_LT(Abweichung(seiten[0], rechts, kRand, seiten[1], kRand, kRand, kUeber, kFeldHoehe), 2.0);
  EXPECT_LT(Abweichung(seiten[1], kRand, unten, seiten[4], kRand, kRand, kFeldBreite, kUeber), 2.0);

  // The assembly sheet names every sheet in reading order; each sheet names itself first.
  std::istringstream erste(Ausgabe("pdftotext -f 1 -l 1 '" + pdf_ + "' -"));
  std::string wort;
  std::string namen;
  while (erste >> wort) {
    if (wort.size() == 2 && wort[0] >= 'A' && wort[0] <= 'B') namen += wort + " ";
  }
  EXPECT_EQ(namen, "A1 A2 A3 B1 B2 B3 ");
  for (int i = 0; i < raster.Blaetter(); ++i) {
    // The top margin left of the picture's middle, in pt.
    const std::string n = std::to_string(i + 2);
    std::istringstream text(
        Ausgabe("pdftotext -f " + n + " -l " + n + " -x 0 -y 0 -W 60 -H 18 '" + pdf_ + "' -"));
    text >> wort;
    EXPECT_EQ(wort, Blattname(i / 3, i % 3));
  }
  // The sheets' pictures are JPEG data.
  EXPECT_EQ(Ausgabe("pdfimages -list '" + pdf_ + "' | grep -c jpeg"), "7\n");
}

TEST_F(SeitenPdf, APosterOfOneSheetWithoutAssemblySheetIsOnePage) {
  const Bitmap poster = Poster(kFeldBreite, kFeldHoehe);
  BitmapStreifen quelle(poster);
  Seitenwahl wahl = Klein();
  wahl.uebersicht = false;
  SeitenSpeichern(quelle, Datei(), wahl);
  EXPECT_NE(Ausgabe("pdfinfo '" + pdf_ + "'").find("Pages:           1\n"), std::string::npos);
  EXPECT_LT(Abweichung(Gerendert(pdf_, 1), kRand, kRand, poster, 0, 0, kFeldBreite, kFeldHoehe),
            2.0);
}

TEST_F(SeitenPdf, ARefusalACancelOrAFullDiskLeaveTheOlderPdf) {
  WriteWholeFile(pdf_, "alt");
  const Bitmap poster = Poster(500, 250);
  BitmapStreifen quelle(poster);
  Seitenwahl breit = Klein();
  breit.ueberlappungMm = 12.7;  // half of the inch printable down
  EXPECT_THROW(SeitenSpeichern(quelle, Datei(), breit), WriteError);
  std::atomic<bool> abbruch{true};
  Speicherbegleitung begleitung;
  begleitung.abbruch = &abbruch;
  EXPECT_THROW(SeitenSpeichern(quelle, Datei(), Klein(), begleitung), SchreibenAbgebrochen);
  Speicherbegleitung voll;
  voll.platz = [](const std::string&) { return std::optional<uint64_t>(1000); };
  voll.schaetzung = [] { return int64_t{100000}; };
  EXPECT_THROW(SeitenSpeichern(quelle, Datei(), Klein(), voll), WriteError);
  EXPECT_EQ(ReadWholeFile(pdf_), "alt");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ordner_.path()), {}), 1);
}

}  // namespace
}  // namespace tilvendo
