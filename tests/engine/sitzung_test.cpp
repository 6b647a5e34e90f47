#include "engine/sitzung.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <thread>
#include <tuple>

#include "engine/berechnungslauf.h"
#include "engine/platzierungsliste.h"
#include "lauf_testkacheln.h"
#include "pictures/ausrichtung.h"
#include "pictures/bilder_laden.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/formate_testbilder.h"
#include "support/speicher_optionen.h"
#include "support/temp_folder.h"
#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

using testing::SpeicherOptionenFuer;

constexpr Farbe kVorlagenFarbe{30, 140, 220};

TEST(Sitzung, AFailedTemplateLoadKeepsTheTemplateItsNameAndSizes) {
  testing::TempFolder ordner;
  testing::WriteTestBmp(ordner / "vorlage.bmp", testing::Einfarbig(40, 30, kVorlagenFarbe));
  Auftrag auftrag;

  // The template's name, sizes and corner pixel, and the result's size.
  const auto stand = [&] {
    const Vorlage& v = auftrag.vorlage;
    return std::tuple(v.VorlageDatei, v.VorlageBreite, v.VorlageHoehe,
                      ReadPixel(auftrag.VorlageBild, 39, 29), auftrag.einstellungen.ZielBreite,
                      auftrag.einstellungen.ZielHoehe);
  };
  ASSERT_EQ(VorlageLaden(auftrag, ordner / "vorlage.bmp"), Vorlagenausgang::Geladen);
  EXPECT_EQ(auftrag.vorlage.VorlagePfad, ordner.path());
  EXPECT_EQ(auftrag.VorlageBild.format(), kPixelformat);  // the file is 24-bit
  // The result takes the job's zooms: the start value of 150 %.
  EXPECT_EQ(stand(), std::tuple("vorlage.bmp", 40, 30, kVorlagenFarbe, 60, 45));

  // The size page has changed the result since; neither an undecodable file nor a
  // picture under another type's name may take that or the picture away.
  auftrag.einstellungen.ZielBreite = 80;
  auftrag.einstellungen.ZielHoehe = 60;
  testing::WriteWholeFile(ordner / "kaputt.jpg", "kein Bild");
  testing::WriteTestBmp(ordner / "anders.png", testing::Einfarbig(5, 5, Farbe{1, 2, 3}));
  for (const char* name : {"kaputt.jpg", "anders.png"}) {
    EXPECT_EQ(VorlageLaden(auftrag, ordner / name), Vorlagenausgang::Unlesbar) << name;
    EXPECT_EQ(stand(), std::tuple("vorlage.bmp", 40, 30, kVorlagenFarbe, 80, 60)) << name;
  }

  // A name without a file changes nothing at all; a folder or a pipe is never opened (a
  // pipe would wait for ever) and is named for what it is.
  EXPECT_EQ(VorlageLaden(auftrag, ordner / "fehlt.bmp"), Vorlagenausgang::Fehlt);
  std::filesystem::create_directory(ordner / "ordner.jpg");
  ASSERT_EQ(::mkfifo((ordner / "rohr.png").c_str(), 0600), 0);
  std::filesystem::create_symlink("rohr.png", ordner / "verweis.jpg");
  for (const char* name : {"ordner.jpg", "rohr.png", "verweis.jpg"}) {
    EXPECT_EQ(VorlageLaden(auftrag, ordner / name), Vorlagenausgang::KeineDatei) << name;
  }
  EXPECT_EQ(MeldungVorlageKeineDatei(ordner / "ordner.jpg"),
            "Die Vorlage „" + ordner / "ordner.jpg" + "“ ist ein Ordner und kein Bild.");
  EXPECT_EQ(MeldungVorlageKeineDatei(ordner / "verweis.jpg"),
            "Die Vorlage „" + ordner / "verweis.jpg" + "“ ist eine Pipe und kein Bild.");
  EXPECT_EQ(stand(), std::tuple("vorlage.bmp", 40, 30, kVorlagenFarbe, 80, 60));
}

TEST(Sitzung, TheTemplateStandsAsThePhotosAreRead) {
  testing::TempFolder ordner;
  testing::WriteTestJpegMitExif(ordner / "liegt.jpg", testing::Einfarbig(40, 30, kVorlagenFarbe),
                                static_cast<uint16_t>(Ausrichtung::RechtsGedreht));
  Auftrag auftrag;
  ASSERT_EQ(VorlageLaden(auftrag, ordner / "liegt.jpg"), Vorlagenausgang::Geladen);
  EXPECT_EQ(auftrag.vorlage.VorlageBreite, 30);  // upright by default
  EXPECT_EQ(auftrag.vorlage.VorlageHoehe, 40);
  EXPECT_FALSE(UebersichtVorbereiten(auftrag));

  // Switched to the old way after the template was read (as the command line does):
  // the overview reads it again as stored.
  auftrag.einstellungen.verfahren.Aufrichten = false;
  EXPECT_TRUE(UebersichtVorbereiten(auftrag));
  EXPECT_EQ(auftrag.vorlage.VorlageBreite, 40);
  EXPECT_EQ(auftrag.vorlage.VorlageHoehe, 30);
  EXPECT_EQ(auftrag.VorlageBild.width(), 40);
  EXPECT_FALSE(UebersichtVorbereiten(auftrag));
}

// A 6 × 4 job over a loaded template, with a prepared tile list in place of the reading
// phase. The reading phase can be made to wait until the run is asked to stop.
class SitzungLauf : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteTestBmp(ordner_ / "vorlage.bmp", testing::Einfarbig(60, 40, kVorlagenFarbe));
    ASSERT_EQ(VorlageLaden(auftrag_, ordner_ / "vorlage.bmp"), Vorlagenausgang::Geladen);
    auftrag_.BilderAnzahl.gesamt = kKacheln;
    Auftragswunsch wunsch;
    wunsch.kachelnX = 6;
    wunsch.kachelnY = 4;
    wunsch.minAbstand = 1;
    const Nachgaben nachgaben = Einrichten(auftrag_, wunsch);
    EXPECT_FALSE(nachgaben.zoom || nachgaben.kacheln || nachgaben.minAbstand);
    auftrag_.zufall.seed(99);
  }

  LaufOptionen Optionen() {
    LaufOptionen optionen;
    optionen.threads = 2;
    optionen.einlesen = [this](Auftrag& auftrag, Fortschritt& fortschritt) {
      auftrag.Dateiliste.clear();
      auftrag.kachelliste.Leeren();
      for (int k = 0; k < lesbar_; ++k) {
        fortschritt.FortschrittAnzeigen(k + 1);
        const auto w = static_cast<uint8_t>(8 * k);
        const std::string datei = testing::KachelHinzufuegen(
            auftrag, ordner_, Farbe{w, 90, static_cast<uint8_t>(255 - w)}, 4, 4);
        // Wider than a tile, every pixel its own: a tile cut to shape, coloured otherwise or
        // drawn at another size shows in the file.
        if (muster_) testing::WriteTestBmp(datei, testing::Gemustert(12, 5, k));
      }
      if (!warten_) return;
      gestartet_.set_value();
      // Bounded only so that a broken cancel fails instead of hanging.
      for (int runde = 0; runde < kWarteRunden && !auftrag.Abbruch; ++runde) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      EXPECT_TRUE(auftrag.Abbruch);
    };
    return optionen;
  }

  static constexpr int kKacheln = 30;
  static constexpr int kWarteRunden = 20000;

  testing::TempFolder ordner_;
  Auftrag auftrag_;
  testing::TestBenutzer benutzer_;
  int lesbar_ = kKacheln;  // pictures the reading phase finds
  bool muster_ = false;    // the photos' files patterned instead of one colour
  bool warten_ = false;
  std::promise<void> gestartet_;
};

TEST_F(SitzungLauf, ACancelFromAnotherThreadStopsOnlyTheRunInProgress) {
  Berechnungslauf lauf(auftrag_, benutzer_, Optionen());

  // Asked while nothing runs: the next run is not affected.
  lauf.Abbrechen();
  ASSERT_EQ(lauf.Starten(), Laufausgang::Fertig);
  const std::array<double, kLaufzeitenAnzahl> ersteDauern = auftrag_.Laufzeiten;

  warten_ = true;
  Laufausgang ausgang = Laufausgang::Fertig;
  std::thread arbeiter([&] { ausgang = lauf.Starten(); });
  gestartet_.get_future().wait();
  EXPECT_TRUE(lauf.Laeuft());
  lauf.Abbrechen();
  arbeiter.join();
  EXPECT_EQ(ausgang, Laufausgang::Abgebrochen);
  EXPECT_FALSE(lauf.Laeuft());
  EXPECT_FALSE(auftrag_.Abbruch);
  // The first run's result stands as it was.
  EXPECT_EQ(auftrag_.Laufzeiten, ersteDauern);
  EXPECT_TRUE(auftrag_.Ergebnis);
  for (const int32_t bild : testing::Bildnummern(*auftrag_.einstellungen.Raster)) {
    EXPECT_EQ(bild, kKeinBild);  // matching never ran
  }

  // The cancelled run's request does not reach the next one.
  warten_ = false;
  ASSERT_EQ(lauf.Starten(), Laufausgang::Fertig);
  EXPECT_EQ(auftrag_.analyse.ErgebnisGespeichert, 0);
}

// A name that has come to stand for the template while the run went on is refused when
// the composer is about to write a poster, as every save refuses it; the file stays.
// (A cancel while the poster is written is the command's own test.)
TEST_F(SitzungLauf, APosterIsNeverWrittenOverTheTemplate) {
  Auftragswunsch wunsch;
  wunsch.grossformat = true;
  wunsch.groesse = Size{3000, 2000};
  wunsch.kachelnX = 6;
  wunsch.kachelnY = 4;
  wunsch.minAbstand = 1;
  Einrichten(auftrag_, wunsch);
  testing::WriteWholeFile(ordner_ / "plakat.jpg", "das alte Bild");
  auftrag_.vorlage.VorlagePfad = ordner_.path();
  auftrag_.vorlage.VorlageDatei = "plakat.jpg";
  LaufOptionen optionen = Optionen();
  optionen.ziel =
      Zusammenstellziel{SpeicherOptionenFuer(ordner_, "plakat.jpg", kFormatJpeg), 191, {}};
  Berechnungslauf lauf(auftrag_, benutzer_, std::move(optionen));
  EXPECT_THROW(lauf.Starten(), WriteError);
  EXPECT_EQ(testing::ReadWholeFile(ordner_ / "plakat.jpg"), "das alte Bild");
}

// A large-format job of 6 × 4 tiles of 10 pixels, printed at 300 dpi, the tiles' colours
// moved 60 % toward their cells.
Auftragswunsch Grosswunsch() {
  Auftragswunsch wunsch;
  wunsch.grossformat = true;
  wunsch.dpi = 300;
  wunsch.kachelnX = 6;
  wunsch.kachelnY = 4;
  wunsch.minAbstand = 1;
  wunsch.verfahren.Farbangleich = 60;
  return wunsch;
}

// Everything the pages offer set otherwise: a smaller grid and size, cut to shape, no
// colour adjustment, another shape analysis and resolution, large format off.
Auftragswunsch Anderswunsch() {
  Auftragswunsch wunsch;
  wunsch.dpi = 72;
  wunsch.zoom = 80;  // tiles of 16 pixels
  wunsch.kachelnX = 3;
  wunsch.kachelnY = 2;
  wunsch.minAbstand = 1;
  wunsch.formanalyse = 3;
  wunsch.verfahren.Zuschneiden = true;
  return wunsch;
}

constexpr uint8_t kMischung = 191;

// The file the job's result gives when saved now as PNG (which carries the resolution).
std::string Gespeichert(Auftrag& auftrag, const testing::TempFolder& ordner,
                        const std::string& datei, uint8_t blendwert) {
  EXPECT_EQ(ErgebnisSpeichern(auftrag, blendwert, SpeicherOptionenFuer(ordner, datei, kFormatPng)),
            Speicherausgang::Gespeichert);
  return testing::ReadWholeFile(ordner / datei);
}

// A large mosaic is what its run made, whatever is set up after it: saved again after the
// grid, size, way of reading, colour adjustment, resolution and large format have all
// changed, the file is the same, and so are the list of its photos and its figures. With
// another template loaded, the tiles keep the colours adjusted toward the run's template;
// only the blend takes the template of the moment, as for a mosaic held whole.
TEST_F(SitzungLauf, ALargeResultIsSavedAsItsRunMadeItWhateverIsSetUpAfterwards) {
  muster_ = true;
  Einrichten(auftrag_, Grosswunsch());
  Berechnungslauf lauf(auftrag_, benutzer_, Optionen());
  ASSERT_EQ(lauf.Starten(), Laufausgang::Fertig);
  const std::string gemischt = Gespeichert(auftrag_, ordner_, "gemischt.png", kMischung);
  const std::string rein = Gespeichert(auftrag_, ordner_, "rein.png", kNurMosaik);
  const std::string liste = PlatzierungslisteText(auftrag_);

  Einrichten(auftrag_, Anderswunsch());
  ASSERT_FALSE(auftrag_.einstellungen.Grossformat);
  ASSERT_EQ(auftrag_.einstellungen.KachelnX, 3);
  EXPECT_TRUE(Gespeichert(auftrag_, ordner_, "gemischt2.png", kMischung) == gemischt);
  EXPECT_EQ(PlatzierungslisteText(auftrag_), liste);
  const Laufbericht bericht = LaufberichtErstellen(auftrag_);
  EXPECT_EQ(bericht.mosaik, (Size{60, 40}));
  EXPECT_EQ(bericht.kacheln, 24);
  EXPECT_EQ(bericht.kachel, (Size{10, 10}));
  EXPECT_EQ(bericht.dpi, 300);
  EXPECT_EQ(bericht.ziel, (Size{48, 32}));  // what the size page says now
  // What the wizard shows of it: the run's grid and tiles.
  const Mosaikplan& plan = auftrag_.Ergebnis->Plan();
  EXPECT_EQ(plan.Mosaik(), (Size{60, 40}));
  ASSERT_NE(plan.Foto(6, 4), nullptr);
  EXPECT_EQ(plan.ZelleAn(59, 39), (Zellort{6, 4}));

  testing::WriteTestBmp(ordner_ / "andere.bmp", testing::Einfarbig(90, 20, Farbe{250, 10, 120}));
  for (int mal = 0; mal < 2; ++mal) {
    ASSERT_EQ(VorlageLaden(auftrag_, ordner_ / "andere.bmp"), Vorlagenausgang::Geladen);
    EXPECT_TRUE(Gespeichert(auftrag_, ordner_, "rein2.png", kNurMosaik) == rein) << mal;
  }
  EXPECT_FALSE(Gespeichert(auftrag_, ordner_, "gemischt3.png", kMischung) == gemischt);
}

}  // namespace
}  // namespace tilvendo
