#include "pictures/webseite_speichern.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>

#include "pictures/jpeg_io.h"
#include "pictures/kachelpyramide.h"
#include "platform/atomic_file.h"
#include "platform/pixel.h"
#include "speicher_testbilder.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

namespace fs = std::filesystem;
using testing::Einfarbig;
using testing::ReadWholeFile;
using testing::TempFolder;
using testing::Verlauf;
using testing::WriteWholeFile;

// JPEG tiles at the usual quality differ from their pixels by a few steps at most in a
// smooth gradient.
constexpr int kJpegRundung = 12;

std::set<std::string> Inhalt(const std::string& ordner) {
  std::set<std::string> namen;
  for (const auto& eintrag : fs::recursive_directory_iterator(ordner)) {
    namen.insert(fs::relative(eintrag.path(), ordner).string());
  }
  return namen;
}

std::set<std::string> Kacheln(const std::string& ordner) {
  std::set<std::string> kacheln;
  for (const std::string& name : Inhalt(ordner)) {
    if (name.size() > 4 && name.substr(name.size() - 4) == ".jpg") kacheln.insert(name);
  }
  return kacheln;
}

Webseitenoptionen Seite(const TempFolder& ordner) {
  Webseitenoptionen seite;
  seite.ziel = ordner / "mosaik.html";
  seite.titel = "Titel";
  return seite;
}

TEST(Kachelpyramide, DepthCoversTheLongerSideWithOneTileAtTheTop) {
  constexpr int32_t k = kPyramidenKachel;
  EXPECT_EQ(PyramidenTiefe(k, k), 0);
  EXPECT_EQ(PyramidenTiefe(k + 1, 10), 1);
  EXPECT_EQ(PyramidenTiefe(10, 2 * k), 1);
  EXPECT_EQ(PyramidenTiefe(60000, 60000), 7);
}

TEST(Webseite, TheFolderIsNamedAfterThePageWithoutItsExtension) {
  EXPECT_EQ(WebseitenOrdner("/a/Mosaik.html"), "/a/Mosaik_dateien");
  EXPECT_EQ(WebseitenOrdner("/a/M.HTM"), "/a/M_dateien");
  EXPECT_EQ(WebseitenOrdner("/a.html/M"), "/a.html/M_dateien");
}

// A picture wider than high and not a whole number of tiles: every level halves it, the
// last holds its pixels in place, and no tile lies beyond its edges.
TEST(Kachelpyramide, WritesEveryLevelsTilesWithThePicturesPixels) {
  constexpr int32_t k = kPyramidenKachel;
  TempFolder ordner;
  const Bitmap bild = Verlauf(2 * k + 88, k + 44);
  BitmapStreifen quelle(bild);
  WebseiteSpeichern(quelle, Seite(ordner));
  const std::string kacheln = ordner / "mosaik_dateien/kacheln/";
  EXPECT_EQ(Kacheln(kacheln),
            (std::set<std::string>{"0/0/0.jpg", "1/0/0.jpg", "1/0/1.jpg", "2/0/0.jpg", "2/0/1.jpg",
                                   "2/0/2.jpg", "2/1/0.jpg", "2/1/1.jpg", "2/1/2.jpg"}));
  // Row 1, column 2 of the full level: its last pixels filled up in black; the top left
  // tile, where red, green and blue differ most: channels in their order.
  for (const auto [datei, x, y] :
       {std::tuple{"2/1/2.jpg", 0, 0}, std::tuple{"2/1/2.jpg", 87, 43},
        std::tuple{"2/0/0.jpg", 10, k - 6}, std::tuple{"2/0/0.jpg", k - 6, 10}}) {
    Bitmap kachel;
    ASSERT_TRUE(ReadJpegFile(kachel, kacheln + datei, true, 0));
    ASSERT_EQ(kachel.width(), k);
    ASSERT_EQ(kachel.height(), k);
    const int32_t spalte = datei[4] - '0', zeile = datei[2] - '0';
    const Farbe soll = ReadPixel(bild, spalte * k + x, zeile * k + y);
    const Farbe ist = ReadPixel(kachel, x, y);
    EXPECT_NEAR(ist.red, soll.red, kJpegRundung) << datei << " " << x << "," << y;
    EXPECT_NEAR(ist.green, soll.green, kJpegRundung) << datei << " " << x << "," << y;
    EXPECT_NEAR(ist.blue, soll.blue, kJpegRundung) << datei << " " << x << "," << y;
    if (spalte == 2) {
      const Farbe rand = ReadPixel(kachel, 100, k - 10);
      EXPECT_LE(rand.red + rand.green + rand.blue, kJpegRundung);
    }
  }

  // The page finds its data; the viewer comes with its licence.
  const std::string daten = ReadWholeFile(ordner / "mosaik_dateien/daten.js");
  EXPECT_NE(daten.find("\"breite\": " + std::to_string(bild.width()) +
                       ", \"hoehe\": " + std::to_string(bild.height()) + ", \"tiefe\": 2"),
            std::string::npos);
  for (const char* datei : {"leaflet.js", "leaflet.css", "LIZENZ-leaflet.txt", "seite.js",
                            "seite.css", kWebseitenMarke}) {
    EXPECT_TRUE(fs::exists(ordner / ("mosaik_dateien/" + std::string(datei)))) << datei;
  }
  EXPECT_FALSE(fs::exists(ordner / "mosaik_dateien/platzierung.js"));
  EXPECT_EQ(ReadWholeFile(ordner / "mosaik.html").find("platzierung.js"), std::string::npos);
}

// A level above the full one holds the mean of each two by two pixels, an odd last
// column or row taken twice rather than mixed with the black beyond the edge. Columns and
// rows add different steps, so a pair taken across or down alone shows.
TEST(Kachelpyramide, EachLevelAveragesTwoByTwoAndTakesAnOddEdgeTwice) {
  constexpr int32_t k = kPyramidenKachel;
  constexpr int kSpaltenStufe = 170, kZeilenStufe = 85;
  const auto wert = [](int32_t x, int32_t y) {
    return x % 2 * kSpaltenStufe + y % 2 * kZeilenStufe;
  };
  TempFolder ordner;
  Bitmap streifen(k + 1, k / 2 + 1);
  for (int32_t y = 0; y < streifen.height(); ++y) {
    for (int32_t x = 0; x < streifen.width(); ++x) {
      const auto w = static_cast<uint8_t>(wert(x, y));
      WritePixel(streifen, x, y, Farbe{w, w, w});
    }
  }
  BitmapStreifen quelle(streifen);
  WebseiteSpeichern(quelle, Seite(ordner));
  Bitmap oben;
  ASSERT_TRUE(ReadJpegFile(oben, ordner / "mosaik_dateien/kacheln/0/0/0.jpg", true, 0));
  for (const auto [x, y] : {std::pair{0, 0}, std::pair{k / 4, k / 8}, std::pair{k / 2, 0},
                            std::pair{0, k / 4}, std::pair{k / 2, k / 4}}) {
    int summe = 0;
    for (const int32_t dx : {0, 1}) {
      for (const int32_t dy : {0, 1}) {
        summe += wert(std::min(2 * x + dx, k), std::min(2 * y + dy, k / 2));
      }
    }
    EXPECT_NEAR(ReadPixel(oben, x, y).green, summe / 4, kJpegRundung) << x << "," << y;
  }
}

// A title and a folder name that would be markup or end an attribute stay text.
TEST(Webseite, TitleAndFolderNameAreNoMarkup) {
  TempFolder ordner;
  const Bitmap bild = Verlauf(20, 10);
  BitmapStreifen quelle(bild);
  Webseitenoptionen seite;
  seite.ziel = ordner / "a\"<b> #&.html";
  seite.titel = "</title><script>alert(1)</script>";
  seite.platzierung = [] { return std::string("window.tilvendoPlatzierung = null;\n"); };
  WebseiteSpeichern(quelle, seite);
  const std::string html = ReadWholeFile(seite.ziel);
  EXPECT_EQ(html.find("<script>alert"), std::string::npos);
  EXPECT_NE(html.find("&lt;/title&gt;&lt;script&gt;"), std::string::npos);
  EXPECT_NE(html.find("src=\"a%22%3Cb%3E%20%23%26_dateien/seite.js\""), std::string::npos);
  EXPECT_NE(html.find("a%22%3Cb%3E%20%23%26_dateien/platzierung.js"), std::string::npos);
  EXPECT_TRUE(fs::exists(ordner / "a\"<b> #&_dateien/platzierung.js"));
  const std::string daten = ReadWholeFile(ordner / "a\"<b> #&_dateien/daten.js");
  EXPECT_EQ(daten.find('<'), std::string::npos);
}

class WebseiteErsetzen : public ::testing::Test {
 protected:
  void SetUp() override {
    const Bitmap alt = Verlauf(kPyramidenKachel + 44, kPyramidenKachel - 56);
    BitmapStreifen quelle(alt);
    WebseiteSpeichern(quelle, Seite(ordner_));
    altHtml_ = ReadWholeFile(ordner_ / "mosaik.html");
    altKachel_ = ReadWholeFile(ordner_ / "mosaik_dateien/kacheln/1/0/0.jpg");
    ASSERT_FALSE(altKachel_.empty());
    altInhalt_ = Inhalt(ordner_.path());
  }

  // The old export is there as it was, and nothing beside it.
  void AltUnveraendert() {
    EXPECT_EQ(ReadWholeFile(ordner_ / "mosaik.html"), altHtml_);
    EXPECT_EQ(ReadWholeFile(ordner_ / "mosaik_dateien/kacheln/1/0/0.jpg"), altKachel_);
    EXPECT_EQ(Inhalt(ordner_.path()), altInhalt_);
  }

  TempFolder ordner_;
  std::string altHtml_;
  std::string altKachel_;
  std::set<std::string> altInhalt_;
};

TEST_F(WebseiteErsetzen, ACompleteExportReplacesTheOldOneAsAWhole) {
  // Fewer columns: the old tiles must go.
  const Bitmap neu = Verlauf(kPyramidenKachel - 56, kPyramidenKachel + 44);
  BitmapStreifen quelle(neu);
  WebseiteSpeichern(quelle, Seite(ordner_));
  EXPECT_EQ(Kacheln(ordner_ / "mosaik_dateien/kacheln/"),
            (std::set<std::string>{"0/0/0.jpg", "1/0/0.jpg", "1/1/0.jpg"}));
  std::set<std::string> oben;
  for (const auto& e : fs::directory_iterator(ordner_.path())) oben.insert(e.path().filename());
  EXPECT_EQ(oben, (std::set<std::string>{"mosaik.html", "mosaik_dateien"}));
}

TEST_F(WebseiteErsetzen, ACancelAfterTheFirstStripKeepsTheOldExport) {
  const Bitmap neu = Einfarbig(300, 2 * kStreifenZeilen + 1, Farbe{0, 0, 255});
  BitmapStreifen quelle(neu);
  std::atomic<bool> abbruch{false};
  Speicherbegleitung begleitung;
  begleitung.abbruch = &abbruch;
  begleitung.fortschritt = [&](int32_t, int32_t) { abbruch = true; };
  EXPECT_THROW(WebseiteSpeichern(quelle, Seite(ordner_), begleitung), SchreibenAbgebrochen);
  AltUnveraendert();
}

TEST_F(WebseiteErsetzen, ARefusedReleaseOrADiskShortOfTheTilesKeepsTheOldExport) {
  const Bitmap neu = Einfarbig(300, 20, Farbe{0, 0, 255});
  BitmapStreifen quelle(neu);
  Speicherbegleitung begleitung;
  begleitung.freigabe = [] { return false; };
  EXPECT_THROW(WebseiteSpeichern(quelle, Seite(ordner_), begleitung), SchreibenAbgebrochen);
  AltUnveraendert();
  begleitung.freigabe = nullptr;
  begleitung.platz = [](const std::string&) -> std::optional<uint64_t> { return 1000; };
  EXPECT_THROW(WebseiteSpeichern(quelle, Seite(ordner_), begleitung), WriteError);
  AltUnveraendert();
}

// A disk short of a byte and a third a pixel is measured against the estimate of the
// tiles: 2 megapixels need 3.8 MB without one, about 2.5 MB with an estimate of 20 kB
// (its reserve, a third more for the levels, 11 tiles and the page's own megabyte).
TEST(Webseite, ADiskShortOfTheBoundTakesThePageWhereTheEstimateFits) {
  const Bitmap bild = Einfarbig(2048, 1024, Farbe{0, 0, 255});
  for (const auto [frei, schaetzen, geht] :
       {std::tuple{3000000, true, true}, std::tuple{3000000, false, false},
        std::tuple{2500000, true, false}}) {
    TempFolder ordner;
    BitmapStreifen quelle(bild);
    Speicherbegleitung begleitung;
    begleitung.platz = [frei = frei](const std::string&) -> std::optional<uint64_t> {
      return frei;
    };
    if (schaetzen) begleitung.schaetzung = [] { return int64_t{20000}; };
    if (geht) {
      EXPECT_NO_THROW(WebseiteSpeichern(quelle, Seite(ordner), begleitung));
    } else {
      EXPECT_THROW(WebseiteSpeichern(quelle, Seite(ordner), begleitung), WriteError)
          << frei << " " << schaetzen;
    }
  }
}

// A folder left by a killed export of ours goes; one of another program's never.
TEST_F(WebseiteErsetzen, AFolderThisProgramDidNotMakeIsNeverTouched) {
  fs::remove(ordner_ / "mosaik_dateien/" + kWebseitenMarke);
  WriteWholeFile(ordner_ / "fremd.txt", "x");
  const std::set<std::string> vorher = Inhalt(ordner_.path());
  const Bitmap neu = Einfarbig(30, 20, Farbe{0, 0, 255});
  BitmapStreifen quelle(neu);
  EXPECT_THROW(WebseiteSpeichern(quelle, Seite(ordner_)), WriteError);
  EXPECT_EQ(Inhalt(ordner_.path()), vorher);
}

TEST(Webseite, ATemporaryFolderOfAKilledExportIsRemovedOthersStay) {
  TempFolder ordner;
  // No process has this id: Linux hands out ids below 2^22.
  const std::string verwaist = ordner / ".mosaik_dateien.neu-999999999";
  const std::string fremd = ordner / ".mosaik_dateien.neu-999999998";
  const std::string laufend = ordner / (".mosaik_dateien.neu-1");
  for (const std::string& o : {verwaist, fremd, laufend}) fs::create_directory(o);
  WriteWholeFile(verwaist + "/" + kWebseitenMarke, "");
  WriteWholeFile(laufend + "/" + kWebseitenMarke, "");
  const Bitmap bild = Verlauf(20, 10);
  BitmapStreifen quelle(bild);
  WebseiteSpeichern(quelle, Seite(ordner));
  EXPECT_FALSE(fs::exists(verwaist));
  EXPECT_TRUE(fs::exists(fremd));
  EXPECT_TRUE(fs::exists(laufend));
}

}  // namespace
}  // namespace tilvendo
