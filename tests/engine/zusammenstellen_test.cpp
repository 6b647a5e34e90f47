#include "engine/zusammenstellen.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/vorbereitung.h"
#include "lauf_testkacheln.h"
#include "pictures/ausrichtung.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/formate_testbilder.h"
#include "support/speicher_optionen.h"
#include "support/temp_folder.h"
#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

constexpr Farbe kRot{0, 0, 255};
constexpr Farbe kGruen{0, 255, 0};
constexpr Farbe kSchwarz{0, 0, 0};

// A 3 × 2 grid of 40 × 30 tiles: a red JPEG in cells (1, 1) and (3, 2), a green BMP in
// (2, 1), a file that is gone in (2, 2), and (1, 2) left empty.
struct Zusammenstellung {
  testing::TempFolder ordner;
  Auftrag auftrag;
  testing::TestBenutzer benutzer;
  Verwendungsliste verwendung;

  Zusammenstellung() {
    Einstellungen& e = auftrag.einstellungen;
    testing::RasterSetzen(e, 3, 2, 40, 30);
    auftrag.AnzeigeMaxBreite = 60;
    auftrag.AnzeigeMaxHoehe = 60;
    const std::string rot = ordner / "rot.jpg";
    testing::WriteTestJpeg(rot, testing::Einfarbig(64, 48, kRot), 100);
    const std::string gruen = ordner / "gruen.bmp";
    testing::WriteTestBmp(gruen, testing::Einfarbig(7, 5, kGruen));
    verwendung.Hinzufuegen(rot, Zellort{1, 1});
    verwendung.ZelleAnfuegen(0, Zellort{3, 2});
    verwendung.Hinzufuegen(gruen, Zellort{2, 1});
    verwendung.Hinzufuegen(ordner / "fehlt.jpg", Zellort{2, 2});
  }

  // Phase 4 into the job's result; its mosaic at full size, or an empty picture.
  Bitmap Zusammenstellen(unsigned threads) {
    Fortschritt fortschritt(auftrag, benutzer);
    auto plan = std::make_shared<Mosaikplan>(auftrag.einstellungen, auftrag.analyse, verwendung);
    MosaikZusammenstellen(auftrag, fortschritt, std::move(plan), {}, threads);
    if (!auftrag.Ergebnis) return Bitmap();
    return auftrag.Ergebnis->Stellvertreter().Clone();
  }
};

// Phase 4 with stored signatures: red 200, green 100, the gone file 90, every cell 95, so
// that green stands nearest to the gone file's cell. Into the job's result, or straight
// into `datei` as a poster is written.
void MitSignaturen(Zusammenstellung& z, const std::string& datei) {
  Fortschritt fortschritt(z.auftrag, z.benutzer);
  auto plan =
      std::make_shared<Mosaikplan>(z.auftrag.einstellungen, z.auftrag.analyse, z.verwendung);
  std::vector<GepackteFelder> fotos(3);
  fotos[0].bytes.fill(200);
  fotos[1].bytes.fill(100);
  fotos[2].bytes.fill(90);
  GepackteFelder zelle;
  zelle.bytes.fill(95);
  plan->SignaturenSetzen(std::move(fotos), std::vector<GepackteFelder>(6, zelle));
  Zusammenstellziel ziel;
  if (datei.ends_with(".html")) {
    ziel.webseite = Webseitenoptionen{z.ordner / datei, datei};
  } else if (!datei.empty()) {
    ziel.datei = testing::SpeicherOptionenFuer(z.ordner, datei, kFormatBmp, kFarbtiefe24);
  }
  MosaikZusammenstellen(z.auftrag, fortschritt, std::move(plan), ziel, 2);
}

// The band composer's own tests prove the pixels, the stand-ins and the counts; here the
// phase hands them on to the job and names the stand-in in the result's plan, whether the
// mosaic is held or written straight into its file. Without stored signatures nothing can
// stand in: the cell stays black and is counted as one where a photo was meant; the gauge
// counts distinct files.
TEST(MosaikZusammenstellen, TheNearestReadablePhotoFillsAGoneFilesCellHeldOrWritten) {
  Zusammenstellung gehalten;
  MitSignaturen(gehalten, "");
  Zusammenstellung geschrieben;
  MitSignaturen(geschrieben, "m.bmp");
  EXPECT_EQ(ReadPixel(gehalten.auftrag.Ergebnis->Stellvertreter(), 40, 30), kGruen);
  for (Zusammenstellung* z : {&gehalten, &geschrieben}) {
    EXPECT_EQ(z->auftrag.UnlesbareBilder, 1);
    EXPECT_EQ(z->auftrag.SchwarzeKacheln, 2);
    EXPECT_EQ(z->auftrag.ErsetzteKacheln, 1);
    EXPECT_EQ(z->auftrag.OhneErsatzKacheln, 0);
    EXPECT_EQ(z->auftrag.UnlesbareDateien, std::vector<std::string>{z->ordner / "fehlt.jpg"});
    ASSERT_TRUE(z->auftrag.Ergebnis);
    ASSERT_NE(z->auftrag.Ergebnis->Plan().Foto(2, 2), nullptr);
    EXPECT_EQ(*z->auftrag.Ergebnis->Plan().Foto(2, 2), z->ordner / "gruen.bmp");
  }

  Zusammenstellung ohne;
  const Bitmap c = ohne.Zusammenstellen(1);
  EXPECT_EQ(ReadPixel(c, 40, 30), kSchwarz);
  EXPECT_EQ(ohne.auftrag.UnlesbareBilder, 1);
  EXPECT_EQ(ohne.auftrag.ErsetzteKacheln, 0);
  EXPECT_EQ(ohne.auftrag.OhneErsatzKacheln, 1);
  EXPECT_EQ(ohne.auftrag.SchwarzeKacheln, 3);  // the gone file's, and two left empty
  EXPECT_EQ(ohne.benutzer.balkenStaende.back(), (testing::Balkenstand{3, 3}));
  EXPECT_EQ(ohne.benutzer.ereignisRunden, 2);  // one thread: blocks of two files
}

// A web page names what its cells show: the photo standing in for the gone file.
TEST(MosaikZusammenstellen, AWebPageNamesTheStandInOfAGoneFile) {
  Zusammenstellung z;
  MitSignaturen(z, "m.html");
  EXPECT_EQ(z.auftrag.ErsetzteKacheln, 1);
  const std::string text = testing::ReadWholeFile(z.ordner / "m_dateien/platzierung.js");
  EXPECT_NE(text.find("\"zellen\": [1,2,0\n,0,2,1\n]"), std::string::npos) << text;
  EXPECT_NE(text.find("[\"gruen.bmp\""), std::string::npos) << text;
}

// A placed photo looks as it was measured: as stored and squeezed the way earlier
// versions drew it, upright, or cut to the tile's proportions.
TEST(MosaikZusammenstellen, PlacedPhotosAreReadTheWayTheyWereMeasured) {
  // Stored 96 × 32 with a strip along the left edge, as wide as a JPEG block of colour;
  // upright the strip is on top.
  Bitmap liegend = testing::Einfarbig(96, 32, kGruen);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 16; ++x) WritePixel(liegend, x, y, kRot);
  }
  const auto zeichnen = [&](bool aufrichten, bool zuschneiden) {
    Zusammenstellung z;
    z.auftrag.einstellungen.verfahren.Aufrichten = aufrichten;
    z.auftrag.einstellungen.verfahren.Zuschneiden = zuschneiden;
    testing::WriteTestJpegMitExif(z.ordner / "liegend.jpg", liegend,
                                  static_cast<uint16_t>(Ausrichtung::RechtsGedreht));
    z.verwendung = Verwendungsliste();
    z.verwendung.Hinzufuegen(z.ordner / "liegend.jpg", Zellort{1, 1});
    const Bitmap m = z.Zusammenstellen(1);
    // Whether the left edge, the middle and the top edge of the 40 × 30 tile show the strip.
    const auto streifen = [&](int x, int y) { return ReadPixel(m, x, y).green < kGruen.green / 2; };
    return std::array{streifen(4, 15), streifen(20, 15), streifen(20, 2)};
  };
  EXPECT_EQ(zeichnen(false, false), (std::array{true, false, false}));
  EXPECT_EQ(zeichnen(true, false), (std::array{false, false, true}));
  // The 4 : 3 middle of a 3 : 1 photo leaves the strip out.
  EXPECT_EQ(zeichnen(false, true), (std::array{false, false, false}));
}

// A cancel before composing or between two blocks of files leaves no result.
TEST(MosaikZusammenstellen, ACancelLeavesNoResult) {
  Zusammenstellung vorher;
  vorher.auftrag.Abbruch = true;
  EXPECT_TRUE(vorher.Zusammenstellen(2).empty());
  EXPECT_EQ(vorher.benutzer.ereignisRunden, 0);
  EXPECT_GT(vorher.auftrag.PhasenZeiten[Phase::Zusammenstellen].ende, 0.0);

  Zusammenstellung mitten;
  mitten.benutzer.beimEreignis = [&](int32_t runde) {
    if (runde == 1) mitten.auftrag.Abbruch = true;
  };
  EXPECT_TRUE(mitten.Zusammenstellen(1).empty());  // one thread: blocks of two files
  EXPECT_EQ(mitten.benutzer.ereignisRunden, 1);
  EXPECT_EQ(mitten.auftrag.Ergebnis, nullptr);
}

// One grey file placed in both cells of a 2 × 1 grid of 8 × 6 tiles, composed with its
// colours moved toward a template whose first cell has four coloured quarters and whose
// second is plain.
Bitmap Angeglichen(int staerke, int formanalyse) {
  Zusammenstellung z;
  Einstellungen& e = z.auftrag.einstellungen;
  testing::RasterSetzen(e, 2, 1, 8, 6);
  e.verfahren.Farbangleich = static_cast<uint8_t>(staerke);
  z.auftrag.analyse.Formanalyse = static_cast<uint8_t>(formanalyse);
  z.auftrag.VorlageBild = testing::Einfarbig(16, 6, Farbe{40, 200, 90});
  const std::array<Farbe, 4> viertel = {Farbe{0, 0, 250}, Farbe{250, 0, 0}, Farbe{10, 20, 30},
                                        Farbe{255, 255, 255}};
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      WritePixel(z.auftrag.VorlageBild, x, y, viertel[(x / 4) * 2 + y / 3]);
    }
  }
  const std::string grau = z.ordner / "grau.bmp";
  testing::WriteTestBmp(grau, testing::Einfarbig(5, 5, Farbe{100, 100, 100}));
  z.verwendung = Verwendungsliste();
  z.verwendung.Hinzufuegen(grau, Zellort{1, 1});
  z.verwendung.ZelleAnfuegen(0, Zellort{2, 1});
  return z.Zusammenstellen(2);
}

TEST(MosaikZusammenstellen, ColourCorrectionMovesEachTilePartTowardItsCell) {
  // Fully: a uniform tile takes on the template's sub-cell colours exactly, and the
  // same file gets another shift in the other cell.
  const Bitmap voll = Angeglichen(100, 2);
  EXPECT_EQ(ReadPixel(voll, 0, 0), (Farbe{0, 0, 250}));
  EXPECT_EQ(ReadPixel(voll, 3, 5), (Farbe{250, 0, 0}));
  EXPECT_EQ(ReadPixel(voll, 4, 2), (Farbe{10, 20, 30}));
  EXPECT_EQ(ReadPixel(voll, 7, 5), (Farbe{255, 255, 255}));
  EXPECT_EQ(ReadPixel(voll, 12, 3), (Farbe{40, 200, 90}));
  // Half way, rounded halves to even: 100 + (0 − 100) / 2, 100 + (250 − 100) / 2.
  const Bitmap halb = Angeglichen(50, 2);
  EXPECT_EQ(ReadPixel(halb, 0, 0), (Farbe{50, 50, 175}));
  EXPECT_EQ(ReadPixel(halb, 15, 5), (Farbe{70, 150, 95}));
  // Without shape analysis the whole tile moves toward the cell's mean colour.
  const Bitmap ganz = Angeglichen(100, 1);
  EXPECT_EQ(ReadPixel(ganz, 0, 0), (Farbe{129, 69, 134}));  // 128.75, 68.75, 133.75
  EXPECT_EQ(ReadPixel(ganz, 7, 5), ReadPixel(ganz, 0, 0));
}

TEST(MosaikZusammenstellen, ATinyScreenStillGetsACopyAndAZeroAreaIsNoResult) {
  Zusammenstellung z;
  Einstellungen& e = z.auftrag.einstellungen;
  // A screen smaller than the frame still gets a picture.
  z.auftrag.AnzeigeMaxBreite = -8;
  z.auftrag.AnzeigeMaxHoehe = -3;
  ASSERT_FALSE(z.Zusammenstellen(2).empty());
  EXPECT_FALSE(z.auftrag.Ergebnis->AnzeigeBild().empty());

  // 3 pixels for 4 tiles: tiles 0 pixels wide.
  e.ZielBreite = 3;
  e.KachelnX = 4;
  ASSERT_EQ(KachelBreite(e), 0);
  EXPECT_TRUE(z.Zusammenstellen(2).empty());
  EXPECT_EQ(z.auftrag.Ergebnis, nullptr);
}

}  // namespace
}  // namespace tilvendo
