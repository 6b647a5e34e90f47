#include "engine/mosaik_baender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/grossformat.h"
#include "engine/sitzung.h"
#include "engine/vorbereitung.h"
#include "lauf_testkacheln.h"
#include "pictures/bilder_laden.h"
#include "platform/atomic_file.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/speicher_optionen.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;

constexpr int kFotos = 9;

// A job of kachelnX × kachelnY cells of a patterned template, every cell showing one of
// nine patterned photos (one of them a file that is gone) except a few left empty.
struct Mosaikjob {
  TempFolder ordner;
  Auftrag auftrag;
  int leer = 0;           // cells without a picture
  int beimFehlenden = 0;  // cells of the photo that is gone

  Mosaikjob(uint16_t kachelnX, uint16_t kachelnY, uint16_t zoomX, uint16_t zoomY) {
    Einstellungen& e = auftrag.einstellungen;
    testing::RasterSetzen(e, kachelnX, kachelnY, 10, 10, zoomX, zoomY);
    auftrag.VorlageBild = testing::Gemustert(kachelnX * 10, kachelnY * 10, 5);
    for (int k = 0; k < kFotos; ++k) {
      const std::string pfad = ordner / ("foto" + std::to_string(k) + ".bmp");
      if (k != kFotos - 1) {
        testing::WriteTestBmp(pfad, testing::Gemustert(17 + 3 * k, 13 + 2 * k, k));
      }
      auftrag.Dateiliste.push_back(pfad);
    }
    e.Raster = std::make_unique<Zellenraster>(kachelnX, kachelnY);
    Belegen([](int x, int y) { return (3 * x + 7 * y) % (kFotos + 1); });
  }

  // Places photo bild(x, y) in each cell; kFotos leaves the cell empty.
  template <typename Bild>
  void Belegen(Bild bild) {
    leer = beimFehlenden = 0;
    Zellenraster& raster = *auftrag.einstellungen.Raster;
    for (int x = 1; x <= raster.kachelnX(); ++x) {
      for (int y = 1; y <= raster.kachelnY(); ++y) {
        const int k = bild(x, y);
        raster.at(x, y).Bild = k == kFotos ? kKeinBild : k;
        leer += k == kFotos;
        beimFehlenden += k == kFotos - 1;
      }
    }
  }

  // The plan of the grid as it is now, with the settings as they are now.
  std::shared_ptr<Mosaikplan> Plan() const {
    Verwendungsliste verwendung;
    const Zellenraster& raster = *auftrag.einstellungen.Raster;
    for (int x = 1; x <= raster.kachelnX(); ++x) {
      for (int y = 1; y <= raster.kachelnY(); ++y) {
        const int32_t bild = raster.at(x, y).Bild;
        if (bild == kKeinBild) continue;
        const std::string& datei = auftrag.Dateiliste[static_cast<size_t>(bild)];
        const size_t k = verwendung.Finden(datei);
        if (k == Verwendungsliste::kNichtGefunden) {
          verwendung.Hinzufuegen(datei, Zellort{x, y});
        } else {
          verwendung.ZelleAnfuegen(k, Zellort{x, y});
        }
      }
    }
    return std::make_shared<Mosaikplan>(auftrag.einstellungen, auftrag.analyse,
                                        std::move(verwendung));
  }

  // The job's result, composed whenever it is asked for, as a poster's.
  void Ergebnis() {
    auftrag.Ergebnis = std::make_unique<Mosaikergebnis>(Plan(), auftrag.Arbeitspfad);
  }

  SpeicherOptionen Optionen(uint8_t format, uint8_t farbtiefe, const std::string& datei) const {
    return testing::SpeicherOptionenFuer(ordner, datei, format, farbtiefe);
  }
};

Bandoptionen KleineBaender() {
  Bandoptionen optionen;
  optionen.bandBytes = 1;  // as few tile rows as a strip allows: many bands
  optionen.threads = 2;
  return optionen;
}

// The whole mosaic read from the bands in strips, as a writer reads them.
Bitmap Gelesen(Mosaikbaender& baender) {
  Bitmap bild(baender.Breite(), baender.Hoehe());
  StreifenweiseLesen(baender, [&](int32_t erste, const Zeilen& zeilen) {
    for (int32_t i = 0; i < zeilen.anzahl; ++i) {
      std::memcpy(bild.row(erste + i), zeilen.Zeile(i), bild.stride());
    }
  });
  return bild;
}

bool Gleich(const Bitmap& a, const Bitmap& b) {
  return a.byteSize() == b.byteSize() && std::memcmp(a.data(), b.data(), a.byteSize()) == 0;
}

// Every cell of a grid with more rows than columns holds its photo's tile (or black),
// read in many bands whose edges the writers' strips cross.
TEST(Mosaikbaender, EveryCellHoldsItsTileInAnyBandsAndHeldWhole) {
  Mosaikjob job(9, 20, 120, 90);  // tiles 12 × 9, 108 × 180 pixels
  const auto plan = job.Plan();
  Mosaikbaender baender(plan, job.auftrag.VorlageBild, "", KleineBaender());
  ASSERT_GT(baender.Baender(), 2);
  const Bitmap streifen = Gelesen(baender);
  for (int y = 1; y <= 20; ++y) {
    for (int x = 1; x <= 9; ++x) {
      const std::string* datei = plan->Foto(x, y);
      Bitmap kachel(12, 9);
      const bool gelesen =
          datei != nullptr && LoadTilePicture(kachel, Rect{0, 0, 12, 9}, *datei, "");
      for (const auto& [u, v] : {std::pair{0, 0}, {11, 8}, {5, 4}}) {
        const Farbe erwartet = gelesen ? ReadPixel(kachel, u, v) : Farbe{0, 0, 0};
        ASSERT_EQ(ReadPixel(streifen, (x - 1) * 12 + u, (y - 1) * 9 + v), erwartet)
            << "cell " << x << "," << y;
      }
    }
  }
  const Bandbilanz bilanz = baender.Bilanz();
  EXPECT_EQ(bilanz.unlesbareBilder, 1);
  EXPECT_EQ(bilanz.schwarzeKacheln, job.leer + job.beimFehlenden);
}

// Stored signatures for a plan: photo k of the job all of value 20·k, every cell of
// value `zelle`, so that the nearest photo to each cell is known.
void SignaturenGeben(Mosaikplan& plan, const Mosaikjob& job, uint8_t zelle) {
  std::vector<GepackteFelder> fotos;
  for (size_t k = 0; k < plan.Verwendung().Anzahl(); ++k) {
    const std::string& datei = plan.Verwendung()[k].datei;
    const auto nummer =
        std::find(job.auftrag.Dateiliste.begin(), job.auftrag.Dateiliste.end(), datei) -
        job.auftrag.Dateiliste.begin();
    GepackteFelder felder;
    felder.bytes.fill(static_cast<uint8_t>(20 * nummer));
    fotos.push_back(felder);
  }
  GepackteFelder zellFelder;
  zellFelder.bytes.fill(zelle);
  plan.SignaturenSetzen(
      std::move(fotos),
      std::vector<GepackteFelder>(
          static_cast<size_t>(plan.KachelnX()) * static_cast<size_t>(plan.KachelnY()), zellFelder));
}

// Where a placed photo cannot be read, the readable photo of the plan nearest to the cell
// stands in, passing over one that cannot be read either, with colour adjustment too; the plan then
// names what was put, and composing it again gives the same picture. Only when no photo at all can
// be read the cells stay black, each counted as one where a photo was meant.
TEST(Mosaikbaender, TheNearestReadablePhotoStandsInForAnUnreadableOne) {
  Mosaikjob job(9, 20, 120, 90);
  // Photo 7 is emptied like a sync placeholder; photo 8 is gone. The cells' value 150 lies
  // nearest to photo 7 (140), then 8 (160), then 6 (120) below 5 (100).
  WriteFileAtomically(job.auftrag.Dateiliste[7], "");
  const std::vector<int32_t> bilder = testing::Bildnummern(*job.auftrag.einstellungen.Raster);
  const auto betroffen =
      std::count(bilder.begin(), bilder.end(), 7) + std::count(bilder.begin(), bilder.end(), 8);
  ASSERT_GT(betroffen, 0);
  Bitmap kachel6(12, 9);
  ASSERT_TRUE(LoadTilePicture(kachel6, Rect{0, 0, 12, 9}, job.auftrag.Dateiliste[6], ""));
  for (const uint8_t angleich : {uint8_t{0}, uint8_t{60}}) {
    job.auftrag.einstellungen.verfahren.Farbangleich = angleich;
    const auto plan = job.Plan();
    SignaturenGeben(*plan, job, 150);
    Mosaikbaender inBaendern(plan, job.auftrag.VorlageBild, "", KleineBaender());
    const Bitmap streifen = Gelesen(inBaendern);
    Bandbilanz bilanz = inBaendern.Bilanz();
    EXPECT_EQ(bilanz.unlesbareBilder, 2);
    EXPECT_EQ(bilanz.schwarzeKacheln, job.leer);
    EXPECT_EQ(bilanz.ohneErsatz, 0);
    ASSERT_EQ(bilanz.ersetzungen.size(), static_cast<size_t>(betroffen));
    std::vector<std::string> unlesbar = bilanz.unlesbareDateien;
    std::sort(unlesbar.begin(), unlesbar.end());
    EXPECT_EQ(unlesbar,
              (std::vector<std::string>{job.auftrag.Dateiliste[7], job.auftrag.Dateiliste[8]}));
    for (const Ersetzung& e : bilanz.ersetzungen) {
      EXPECT_EQ(plan->Verwendung()[static_cast<size_t>(e.eintrag)].datei,
                job.auftrag.Dateiliste[6]);
      const int32_t bild = job.auftrag.einstellungen.Raster->at(e.zelle.x, e.zelle.y).Bild;
      EXPECT_TRUE(bild == 7 || bild == 8) << e.zelle.x << "," << e.zelle.y;
      if (angleich == 0) {
        for (const auto& [u, v] : {std::pair{0, 0}, {11, 8}, {5, 4}}) {
          ASSERT_EQ(ReadPixel(streifen, (e.zelle.x - 1) * 12 + u, (e.zelle.y - 1) * 9 + v),
                    ReadPixel(kachel6, u, v));
        }
      }
    }
    // The plan names what was put, and the same picture comes from it again.
    plan->ErsetzungenEintragen(bilanz.ersetzungen);
    for (const Ersetzung& e : bilanz.ersetzungen) {
      ASSERT_NE(plan->Foto(e.zelle.x, e.zelle.y), nullptr);
      EXPECT_EQ(*plan->Foto(e.zelle.x, e.zelle.y), job.auftrag.Dateiliste[6]);
    }
    for (size_t k = 0; k < plan->Verwendung().Anzahl(); ++k) {
      const std::string& datei = plan->Verwendung()[k].datei;
      if (datei == job.auftrag.Dateiliste[7] || datei == job.auftrag.Dateiliste[8]) {
        EXPECT_TRUE(plan->Verwendung()[k].zellen.empty());
      }
    }
    Mosaikbaender wieder(plan, job.auftrag.VorlageBild, "", KleineBaender());
    EXPECT_TRUE(Gleich(Gelesen(wieder), streifen));
    EXPECT_TRUE(wieder.Bilanz().ersetzungen.empty());
    EXPECT_EQ(wieder.Bilanz().schwarzeKacheln, job.leer);
  }

  // No photo left to read: every placed cell is black where a photo was meant.
  for (int k = 0; k < kFotos - 1; ++k) WriteFileAtomically(job.auftrag.Dateiliste[k], "");
  const auto plan = job.Plan();
  SignaturenGeben(*plan, job, 150);
  Mosaikbaender leer(plan, job.auftrag.VorlageBild, "", KleineBaender());
  (void)Gelesen(leer);
  const Bandbilanz bilanz = leer.Bilanz();
  EXPECT_EQ(bilanz.ohneErsatz, 9 * 20 - job.leer);
  EXPECT_EQ(bilanz.schwarzeKacheln, 9 * 20);
  EXPECT_TRUE(bilanz.ersetzungen.empty());
}

TEST(Mosaikbaender, BandsAreWholeTileRowsAndAtLeastAStripHigh) {
  for (const uint16_t zoom : {10, 90, 130, 700}) {
    Mosaikjob job(4, 37, 100, zoom);
    const int32_t th = KachelHoehe(job.auftrag.einstellungen);
    for (const uint64_t bytes : {uint64_t{1}, uint64_t{20'000}, kBandBytes}) {
      Bandoptionen optionen;
      optionen.bandBytes = bytes;
      Mosaikbaender baender(job.Plan(), job.auftrag.VorlageBild, "", optionen);
      int32_t zeile = 0;
      for (int32_t b = 0; b < baender.Baender(); ++b) {
        EXPECT_EQ(baender.BandAnfang(b), zeile);
        EXPECT_EQ(baender.BandHoehe(b) % th, 0) << "zoom " << zoom << " band " << b;
        if (b + 1 < baender.Baender()) {
          EXPECT_GE(baender.BandHoehe(b), kStreifenZeilen);
        }
        zeile += baender.BandHoehe(b);
      }
      EXPECT_EQ(zeile, baender.Hoehe());
      EXPECT_EQ(baender.Hoehe(), 37 * th);
    }
  }
}

// Each photo is read once while the kept tiles fit their share; with no room at all
// a photo needed again many bands later is read again, and the picture stays the same.
TEST(Mosaikbaender, TilesAreReadOnceUnlessTheirShareIsFull) {
  Mosaikjob job(9, 108, 120, 90);
  // Photo k fills the rows of blocks k and k + 9 of six rows each: its two uses lie
  // about seven bands apart.
  job.Belegen([](int, int y) { return (y - 1) / 6 % 9; });
  const auto plan = job.Plan();
  Mosaikbaender ganz(plan, job.auftrag.VorlageBild, "", Bandoptionen{});
  Bitmap bild(ganz.Breite(), ganz.Hoehe());
  ASSERT_TRUE(ganz.InBild(bild, {}));
  for (const uint64_t anteil : {KachelspeicherFuerDieseMaschine(), uint64_t{1}}) {
    Bandoptionen optionen = KleineBaender();
    optionen.kachelspeicher = anteil;
    Mosaikbaender baender(plan, job.auftrag.VorlageBild, "", optionen);
    EXPECT_TRUE(Gleich(Gelesen(baender), bild));
    const Bandbilanz bilanz = baender.Bilanz();
    if (anteil == 1) {
      EXPECT_GT(bilanz.erneutGelesen, 0);
    } else {
      EXPECT_EQ(bilanz.erneutGelesen, 0);
    }
    EXPECT_EQ(bilanz.unlesbareBilder, 1);
    EXPECT_EQ(bilanz.schwarzeKacheln, 2 * 6 * 9);
  }
}

// A writer holding memory of its own takes it from the kept tiles only where the run would
// pass its bound otherwise, byte for byte, and never below the least share.
TEST(Mosaikbaender, AWriterBesideTheComposerTakesOnlyWhatPassesTheBoundFromTheKeptTiles) {
  const uint64_t anteil = KachelspeicherFuerDieseMaschine();
  const uint64_t grund = uint64_t{64} << 20;
  const uint64_t passend = kLaufSpeicher - grund - anteil;  // writer and bands together
  EXPECT_EQ(KachelspeicherNeben(passend / 2, passend - passend / 2), anteil);
  EXPECT_EQ(KachelspeicherNeben(passend / 2 + 1, passend - passend / 2), anteil - 1);
  EXPECT_EQ(KachelspeicherNeben(kLaufSpeicher, 0), uint64_t{64} << 20);
}

// Too little room is refused before anything is composed, with both figures, and nothing
// is left in the folder. (A BMP beyond its 32-bit sizes is the command line's test.)
TEST(Grossformat, TooLittleRoomIsRefusedBeforeComposing) {
  Mosaikjob job(9, 20, 120, 90);
  job.Ergebnis();
  Speicherbegleitung begleitung;
  begleitung.platz = [](const std::string&) { return std::optional<uint64_t>(1000); };
  begleitung.fortschritt = [](int32_t, int32_t) { ADD_FAILURE() << "composed"; };
  try {
    ErgebnisSpeichern(job.auftrag, 191, job.Optionen(kFormatTiff, 0, "m.tif"), begleitung);
    ADD_FAILURE() << "written without room";
  } catch (const WriteError& fehler) {
    const std::string meldung = fehler.what();
    EXPECT_NE(meldung.find("nur noch 1,0 kB frei"), std::string::npos) << meldung;
    EXPECT_NE(meldung.find("bis zu 62 kB"), std::string::npos) << meldung;  // 108 × 180 × 3
  }
  EXPECT_EQ(testing::FilesIn(job.ordner.path()), kFotos - 1);
}

// A mosaic black all over because no placed photo can be read any more replaces no file.
TEST(Grossformat, AMosaicWithoutASingleReadablePhotoReplacesNoFile) {
  Mosaikjob job(9, 20, 120, 90);
  job.Ergebnis();
  for (const std::string& foto : job.auftrag.Dateiliste) testing::WriteWholeFile(foto, "kaputt");
  testing::WriteWholeFile(job.ordner / "m.png", "das alte Bild");
  job.auftrag.analyse.ErgebnisGespeichert = 0;
  EXPECT_EQ(ErgebnisSpeichern(job.auftrag, 191, job.Optionen(kFormatPng, 0, "m.png")),
            Speicherausgang::KeinBildLesbar);
  EXPECT_EQ(ReadWholeFile(job.ordner / "m.png"), "das alte Bild");
  EXPECT_EQ(testing::FilesIn(job.ordner.path()), kFotos + 1);
  EXPECT_EQ(job.auftrag.analyse.ErgebnisGespeichert, 0);  // nothing was saved
}

TEST(Grossformat, ATileRowTooLargeForTheMemoryIsRefusedByTheRun) {
  Einstellungen e;
  e.KachelnX = 10;
  e.KachelnY = 1;
  e.ZellBreite = e.ZellHoehe = 100;
  e.ZoomX = e.ZoomY = 6000;  // one row of tiles 6000 pixels high and 60,000 wide
  e.ZielBreite = 60000;
  e.ZielHoehe = 6000;
  const std::optional<std::string> warnung = GrossformatWarnung(e);
  ASSERT_TRUE(warnung.has_value());
  EXPECT_NE(warnung->find("1,4 GB"), std::string::npos) << *warnung;
  e.KachelnY = 100;
  e.ZellHoehe = 1;
  e.ZielHoehe = 6000;
  EXPECT_FALSE(GrossformatWarnung(e).has_value());
}

}  // namespace
}  // namespace tilvendo
