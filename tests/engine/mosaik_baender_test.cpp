#include "engine/mosaik_baender.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/arbeitsgruppe.h"
#include "engine/grossformat.h"
#include "engine/sitzung.h"
#include "engine/vorbereitung.h"
#include "engine/zusammenstellen.h"
#include "pictures/bilder_laden.h"
#include "pictures/blending.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/speicher_optionen.h"
#include "support/temp_folder.h"
#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;

constexpr int kFotos = 9;

size_t DateienIn(const std::string& ordner) {
  size_t anzahl = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(ordner)) ++anzahl;
  return anzahl;
}

// A job of kachelnX × kachelnY cells of a patterned template, every cell showing one of
// nine patterned photos (one of them a file that is gone) except a few left empty.
struct Mosaikjob {
  TempFolder ordner;
  Auftrag auftrag;
  Verwendungsliste verwendung;
  int leer = 0;           // cells without a picture
  int beimFehlenden = 0;  // cells of the photo that is gone

  Mosaikjob(uint16_t kachelnX, uint16_t kachelnY, int32_t zellBreite, int32_t zellHoehe,
            uint16_t zoomX, uint16_t zoomY) {
    Einstellungen& e = auftrag.einstellungen;
    e.KachelnX = kachelnX;
    e.KachelnY = kachelnY;
    e.ZellBreite = zellBreite;
    e.ZellHoehe = zellHoehe;
    e.ZoomX = zoomX;
    e.ZoomY = zoomY;
    e.ZielBreite = kachelnX * (zellBreite * zoomX / 100);
    e.ZielHoehe = kachelnY * (zellHoehe * zoomY / 100);
    auftrag.VorlageBild = testing::Gemustert(kachelnX * zellBreite, kachelnY * zellHoehe, 5);
    auftrag.Dateiliste.clear();
    for (int k = 0; k < kFotos; ++k) {
      const std::string pfad = ordner / ("foto" + std::to_string(k) + ".bmp");
      if (k != kFotos - 1)
        testing::WriteTestBmp(pfad, testing::Gemustert(17 + 3 * k, 13 + 2 * k, k));
      auftrag.Dateiliste.push_back(pfad);
    }
    e.Raster = std::make_unique<Zellenraster>(kachelnX, kachelnY);
    for (int x = 1; x <= kachelnX; ++x) {
      for (int y = 1; y <= kachelnY; ++y) {
        const int bild = (3 * x + 7 * y) % (kFotos + 1);
        if (bild == kFotos) {
          ++leer;
          continue;
        }
        if (bild == kFotos - 1) ++beimFehlenden;
        e.Raster->at(x, y).Bild = bild;
      }
    }
    Planen();
  }

  // The plan of the grid as it is now, with the settings as they are now.
  const Mosaikplan& Planen() {
    verwendung = VerwendungAusRaster(auftrag);
    return auftrag.MosaikPlan.emplace(auftrag.einstellungen, auftrag.analyse, verwendung);
  }

  SpeicherOptionen Optionen(uint8_t format, uint8_t farbtiefe, const std::string& datei) const {
    return testing::SpeicherOptionenFuer(ordner, datei, format, farbtiefe);
  }

  // Today's whole-picture path: the mosaic composed whole, then blended and written.
  std::string GanzGespeichert(uint8_t a, const SpeicherOptionen& optionen) {
    const Size groesse = Mosaikgroesse(auftrag.einstellungen);
    auftrag.MosaikBild.emplace(groesse.width, groesse.height);
    testing::TestBenutzer benutzer;
    Fortschritt fortschritt(auftrag, benutzer);
    Arbeitsgruppe gruppe(2);
    MosaikZusammenstellen(auftrag, fortschritt, verwendung, gruppe);
    EXPECT_TRUE(MosaikSpeichern(auftrag.VorlageBild, *auftrag.MosaikBild, a, optionen));
    auftrag.MosaikBild.reset();
    return ReadWholeFile(MitSchraegstrich(optionen.Pfad) + optionen.Datei);
  }
};

Bandoptionen KleineBaender(uint8_t a) {
  Bandoptionen optionen;
  optionen.blendwert = a;
  optionen.bandBytes = 1;  // as few tile rows as a strip allows: many bands
  optionen.threads = 2;
  return optionen;
}

// Within the usual size the bands give the very file the whole picture gives, for every
// format and depth, with and without blending and colour adjustment, in many bands of
// whole tile rows whose edges the writers' strips cross.
TEST(Mosaikbaender, WithinTheUsualSizeTheBandsWriteTheWholePicturesFile) {
  Mosaikjob job(9, 20, 10, 10, 120, 90);  // tiles 12 × 9, 108 × 180 pixels
  struct Fall {
    uint8_t format;
    uint8_t farbtiefe;
    const char* datei;
  };
  const Fall faelle[] = {{kFormatBmp, kFarbtiefe8, "m.bmp"},
                         {kFormatBmp, kFarbtiefe16, "m.bmp"},
                         {kFormatBmp, kFarbtiefe24, "m.bmp"},
                         {kFormatBmp, kFarbtiefe32, "m.bmp"},
                         {kFormatJpeg, 0, "m.jpg"},
                         {kFormatPng, 0, "m.png"},
                         {kFormatTiff, 0, "m.tif"}};
  for (const uint8_t angleich : {uint8_t{0}, uint8_t{60}}) {
    job.auftrag.einstellungen.verfahren.Farbangleich = angleich;
    const Mosaikplan& plan = job.Planen();
    for (const uint8_t a : {uint8_t{191}, uint8_t{0}, kNurMosaik}) {
      for (const Fall& fall : faelle) {
        const SpeicherOptionen optionen = job.Optionen(fall.format, fall.farbtiefe, fall.datei);
        const std::string ganz = job.GanzGespeichert(a, optionen);
        Mosaikbaender baender(job.auftrag, plan, KleineBaender(a));
        ASSERT_GT(baender.Baender(), 2);
        ASSERT_TRUE(BildSchreiben(baender, optionen));
        EXPECT_TRUE(ReadWholeFile(job.ordner / fall.datei) == ganz)
            << fall.datei << " depth " << int{fall.farbtiefe} << " a " << int{a} << " colour "
            << int{angleich};
      }
    }
  }
}

TEST(Mosaikbaender, BandsAreWholeTileRowsAndAtLeastAStripHigh) {
  for (const int32_t zoom : {10, 90, 130, 700}) {
    Mosaikjob job(4, 37, 10, 10, 100, static_cast<uint16_t>(zoom));
    const int32_t th = KachelHoehe(job.auftrag.einstellungen);
    for (const uint64_t bytes : {uint64_t{1}, uint64_t{20'000}, kBandBytes}) {
      Bandoptionen optionen;
      optionen.bandBytes = bytes;
      Mosaikbaender baender(job.auftrag, *job.auftrag.MosaikPlan, optionen);
      int32_t zeile = 0;
      for (int32_t b = 0; b < baender.Baender(); ++b) {
        EXPECT_EQ(baender.BandAnfang(b), zeile);
        EXPECT_EQ(baender.BandHoehe(b) % th, 0) << "zoom " << zoom << " band " << b;
        if (b + 1 < baender.Baender()) {
          EXPECT_GE(baender.BandHoehe(b), kStreifenZeilen);
        }
        zeile += baender.BandHoehe(b);
      }
      EXPECT_EQ(zeile, baender.height());
      EXPECT_EQ(baender.height(), 37 * th);
    }
  }
}

// Each photo is read once while the kept tiles fit their share; with no room at all
// a photo needed again many bands later is read again, and the picture stays the same.
TEST(Mosaikbaender, TilesAreReadOnceUnlessTheirShareIsFull) {
  Mosaikjob job(9, 108, 10, 10, 120, 90);
  // Photo k fills the rows of blocks k and k + 9 of six rows each: its two uses lie
  // about seven bands apart.
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 108; ++y)
      job.auftrag.einstellungen.Raster->at(x, y).Bild = (y - 1) / 6 % 9;
  }
  job.leer = 0;
  job.beimFehlenden = 2 * 6 * 9;
  const Mosaikplan& plan = job.Planen();
  const SpeicherOptionen optionen = job.Optionen(kFormatPng, 0, "m.png");
  const std::string ganz = job.GanzGespeichert(kNurMosaik, optionen);
  for (const uint64_t anteil : {KachelspeicherFuerDieseMaschine(), uint64_t{1}}) {
    Bandoptionen bandoptionen = KleineBaender(kNurMosaik);
    bandoptionen.kachelspeicher = anteil;
    Mosaikbaender baender(job.auftrag, plan, bandoptionen);
    ASSERT_TRUE(BildSchreiben(baender, optionen));
    EXPECT_TRUE(ReadWholeFile(job.ordner / "m.png") == ganz);
    if (anteil == 1) {
      EXPECT_GT(baender.ErneutGelesen(), 0);
    } else {
      EXPECT_EQ(baender.ErneutGelesen(), 0);
    }
    EXPECT_EQ(baender.UnlesbareBilder(), 1);
    EXPECT_EQ(baender.SchwarzeKacheln(), job.leer + job.beimFehlenden);
  }
}

// A cancel stops the writer within the band it is in, and the old file stays.
TEST(Mosaikbaender, ACancelStopsWithinOneBand) {
  Mosaikjob job(9, 40, 10, 10, 120, 90);
  testing::WriteWholeFile(job.ordner / "m.jpg", "das alte Bild");
  std::atomic<bool> abbruch{false};
  int32_t zuletzt = 0;
  int32_t beimAbbruch = 0;
  Bandoptionen optionen = KleineBaender(191);
  optionen.abbruch = &abbruch;
  optionen.fortschritt = [&](int32_t fertig, int32_t gesamt) {
    EXPECT_EQ(gesamt, 360);
    zuletzt = fertig;
    if (fertig >= 100 && !abbruch) {
      abbruch = true;
      beimAbbruch = fertig;
    }
  };
  Mosaikbaender baender(job.auftrag, *job.auftrag.MosaikPlan, optionen);
  EXPECT_THROW(BildSchreiben(baender, job.Optionen(kFormatJpeg, 0, "m.jpg")), SchreibenAbgebrochen);
  EXPECT_LE(zuletzt - beimAbbruch, baender.BandHoehe(0));
  EXPECT_EQ(ReadWholeFile(job.ordner / "m.jpg"), "das alte Bild");
  EXPECT_EQ(DateienIn(job.ordner.path()), kFotos);  // the photos and the old file
}

// Once every row is written, the file replaces the old one only if the save is released
// then: a release refused, or a cancel after the last band, still leaves the old file.
// Every writer asks once, after its last row, so a window can decide on a late click.
TEST(Mosaikbaender, EveryWriterAsksForTheReleaseAfterItsLastRowBeforeReplacingTheFile) {
  Mosaikjob job(9, 40, 10, 10, 120, 90);
  const Mosaikplan& plan = job.Planen();
  struct Fall {
    uint8_t format;
    uint8_t farbtiefe;
    const char* datei;
  };
  for (const Fall fall : {Fall{kFormatBmp, kFarbtiefe8, "m.bmp"},
                          Fall{kFormatBmp, kFarbtiefe24, "m.bmp"}, Fall{kFormatJpeg, 0, "m.jpg"},
                          Fall{kFormatPng, 0, "m.png"}, Fall{kFormatTiff, 0, "m.tif"}}) {
    for (const bool freigegeben : {false, true}) {
      for (const bool spaeterAbbruch : {false, true}) {
        const std::string wie = std::string(fall.datei) + " depth " +
                                std::to_string(fall.farbtiefe) + (freigegeben ? " released" : "") +
                                (spaeterAbbruch ? " cancelled late" : "");
        testing::WriteWholeFile(job.ordner / fall.datei, "das alte Bild");
        std::atomic<bool> abbruch{false};
        int32_t zuletzt = 0;
        int32_t gesamt = -1;
        int32_t gefragt = 0;
        Bandoptionen optionen = KleineBaender(191);
        optionen.durchgaenge = fall.farbtiefe == kFarbtiefe8 ? 2 : 1;  // palette pass first
        optionen.abbruch = &abbruch;
        optionen.fortschritt = [&](int32_t f, int32_t g) {
          zuletzt = f;
          gesamt = g;
          if (spaeterAbbruch && f == g) abbruch = true;
        };
        optionen.freigabe = [&] {
          ++gefragt;
          EXPECT_EQ(zuletzt, gesamt) << wie;
          return freigegeben;
        };
        Mosaikbaender baender(job.auftrag, plan, optionen);
        const SpeicherOptionen datei = job.Optionen(fall.format, fall.farbtiefe, fall.datei);
        if (freigegeben && !spaeterAbbruch) {
          EXPECT_TRUE(BildSchreiben(baender, datei)) << wie;
          EXPECT_NE(ReadWholeFile(job.ordner / fall.datei), "das alte Bild") << wie;
        } else {
          EXPECT_THROW(BildSchreiben(baender, datei), SchreibenAbgebrochen) << wie;
          EXPECT_EQ(ReadWholeFile(job.ordner / fall.datei), "das alte Bild") << wie;
        }
        EXPECT_EQ(gefragt, spaeterAbbruch ? 0 : 1) << wie;
        EXPECT_EQ(DateienIn(job.ordner.path()), kFotos) << wie;
        std::filesystem::remove(job.ordner / fall.datei);
      }
    }
  }
}

// A poster beyond the usual bound: every cell holds its photo's tile exactly, the
// template is blended in smoothly as chosen, and the file says its resolution.
TEST(Grossformat, EveryCellOfALargeMosaicShowsItsPhotoAndTheChosenBlend) {
  Mosaikjob job(12, 9, 10, 10, 2500, 2500);  // tiles 250 × 250: 3000 × 2250 pixels
  Auftrag& auftrag = job.auftrag;
  auftrag.einstellungen.Grossformat = true;
  auftrag.einstellungen.Druckaufloesung = 300;
  job.Planen();
  const Size groesse = Mosaikgroesse(auftrag.einstellungen);
  ASSERT_EQ(groesse.width, 3000);
  ASSERT_GT(groesse.width, kMaxZielgroesse);

  std::vector<Bitmap> kacheln;
  for (int k = 0; k < kFotos; ++k) {
    Bitmap kachel(250, 250);
    LoadTilePicture(kachel, Rect{0, 0, 250, 250}, auftrag.Dateiliste[static_cast<size_t>(k)],
                    auftrag.Arbeitspfad);
    kacheln.push_back(std::move(kachel));
  }
  const VorlageImMosaik vorlage(auftrag.VorlageBild, groesse.width, groesse.height,
                                Vorlagenskalierung::Bilinear);
  for (const uint8_t a : {kNurMosaik, uint8_t{191}}) {
    const SpeicherOptionen optionen = job.Optionen(kFormatTiff, 0, "plakat.tif");
    ASSERT_EQ(ErgebnisInBaendernSpeichern(auftrag, a, optionen, {}), Speicherausgang::Gespeichert);
    Bitmap gelesen;
    ASSERT_TRUE(LoadWholePicture(gelesen, job.ordner / "plakat.tif"));
    ASSERT_EQ(gelesen.width(), groesse.width);
    ASSERT_EQ(gelesen.height(), groesse.height);
    Bitmap vorlagenZeile(groesse.width, 1);
    Bitmap erwartet(groesse.width, 1);
    int falsch = 0;
    for (int32_t y = 0; y < groesse.height; ++y) {
      vorlage.Zeilen(y, vorlagenZeile);
      for (int32_t x = 0; x < groesse.width; ++x) {
        const int32_t bild = auftrag.einstellungen.Raster->at(x / 250 + 1, y / 250 + 1).Bild;
        const bool schwarz = bild < 0 || bild == kFotos - 1;
        const Farbe kachel = schwarz
                                 ? Farbe{0, 0, 0}
                                 : ReadPixel(kacheln[static_cast<size_t>(bild)], x % 250, y % 250);
        WritePixel(erwartet, x, 0, kachel);
      }
      BlendBytes(vorlagenZeile.row(0), Bitmap(erwartet.Clone()).row(0), erwartet.row(0),
                 erwartet.stride(), a);
      for (int32_t x = 0; x < groesse.width; ++x) {
        if (ReadPixel(gelesen, x, y) != ReadPixel(erwartet, x, 0) && ++falsch < 5) {
          ADD_FAILURE() << "a " << int{a} << " pixel " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(falsch, 0);
  }
  TIFF* tif = TIFFOpen((job.ordner / "plakat.tif").c_str(), "r");
  ASSERT_NE(tif, nullptr);
  float aufloesung = 0;
  uint16_t einheit = 0;
  TIFFGetField(tif, TIFFTAG_XRESOLUTION, &aufloesung);
  TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &einheit);
  TIFFClose(tif);
  EXPECT_FLOAT_EQ(aufloesung, 300.0f);
  EXPECT_EQ(einheit, RESUNIT_INCH);
}

// What cannot be written is refused before anything is composed: too little room (with
// both figures), a BMP beyond its 32-bit sizes. Nothing is left in the folder.
TEST(Grossformat, TooLittleRoomAndOversizedBitmapsAreRefusedBeforeComposing) {
  Mosaikjob job(9, 20, 10, 10, 120, 90);
  Speicherbegleitung begleitung;
  begleitung.platz = [](const std::string&) { return std::optional<uint64_t>(1000); };
  begleitung.fortschritt = [](int32_t, int32_t) { ADD_FAILURE() << "composed"; };
  try {
    ErgebnisInBaendernSpeichern(job.auftrag, 191, job.Optionen(kFormatTiff, 0, "m.tif"),
                                begleitung);
    ADD_FAILURE() << "written without room";
  } catch (const WriteError& fehler) {
    const std::string meldung = fehler.what();
    EXPECT_NE(meldung.find("nur noch 1,0 kB frei"), std::string::npos) << meldung;
    EXPECT_NE(meldung.find("bis zu 62 kB"), std::string::npos) << meldung;  // 108 × 180 × 3
  }
  EXPECT_EQ(DateienIn(job.ordner.path()), kFotos - 1);

  Einstellungen& e = job.auftrag.einstellungen;
  e.KachelnX = e.KachelnY = 100;
  e.ZoomX = e.ZoomY = 6000;  // tiles of 600 pixels: 60,000 a side
  e.ZielBreite = e.ZielHoehe = 60000;
  e.Raster = std::make_unique<Zellenraster>(e.KachelnX, e.KachelnY);
  job.Planen();
  begleitung.platz = {};
  EXPECT_THROW(ErgebnisInBaendernSpeichern(
                   job.auftrag, 191, job.Optionen(kFormatBmp, kFarbtiefe24, "m.bmp"), begleitung),
               WriteError);
  EXPECT_EQ(DateienIn(job.ordner.path()), kFotos - 1);
}

// A mosaic black all over because no placed photo can be read any more replaces no file.
TEST(Grossformat, AMosaicWithoutASingleReadablePhotoReplacesNoFile) {
  Mosaikjob job(9, 20, 10, 10, 120, 90);
  for (const std::string& foto : job.auftrag.Dateiliste) testing::WriteWholeFile(foto, "kaputt");
  testing::WriteWholeFile(job.ordner / "m.png", "das alte Bild");
  job.auftrag.analyse.ErgebnisGespeichert = 0;
  EXPECT_EQ(ErgebnisInBaendernSpeichern(job.auftrag, 191, job.Optionen(kFormatPng, 0, "m.png"), {}),
            Speicherausgang::KeinBildLesbar);
  EXPECT_EQ(ReadWholeFile(job.ordner / "m.png"), "das alte Bild");
  EXPECT_EQ(DateienIn(job.ordner.path()), kFotos + 1);
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
