#include "engine/berechnungslauf.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>
#include <utility>

#include "engine/methodenparameter.h"
#include "lauf_testkacheln.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"
#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

// A job of 6 × 4 cells over a two-coloured template, with a prepared tile list of 30
// solid pictures behind real files (the reading phase replaced).
class LaufTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Einstellungen& e = auftrag_.einstellungen;
    testing::RasterSetzen(e, 6, 4, 10, 10);
    e.minAbstand = 1;
    e.Musterabstand = 1;
    auftrag_.BilderAnzahl.gesamt = 30;
    SetzeBerechnungsart(e, 30, 0);
    auftrag_.zufall.seed(1234);
    Bitmap vorlage = testing::Einfarbig(60, 40, Farbe{200, 40, 10});
    for (int y = 20; y < 40; ++y) {
      for (int x = 0; x < 60; ++x) WritePixel(vorlage, x, y, Farbe{10, 60, 220});
    }
    auftrag_.VorlageBild = std::move(vorlage);
  }

  // Reading finds `lesbar` of the 30 pictures readable.
  LaufOptionen Optionen(unsigned threads = 2, int lesbar = 30) {
    LaufOptionen optionen;
    optionen.threads = threads;
    optionen.einlesen = [this, lesbar](Auftrag& auftrag, Fortschritt& fortschritt) {
      auftrag.PhasenZeiten[Phase::Einlesen].beginn = Jetzt();
      ++eingelesen_;
      auftrag.Dateiliste.clear();
      auftrag.kachelliste.Leeren();
      for (int k = 0; k < lesbar; ++k) {
        fortschritt.FortschrittAnzeigen(k + 1);
        const auto w = static_cast<uint8_t>(8 * k);
        const std::string datei = testing::KachelHinzufuegen(
            auftrag, ordner_, Farbe{w, static_cast<uint8_t>(255 - w), 90}, 4, 4);
        // Gone bad since the album was read: no cell can show its picture.
        if (unlesbar_) testing::WriteWholeFile(datei, "kein Bild");
      }
      auftrag.PhasenZeiten[Phase::Einlesen].ende = Jetzt();
    };
    return optionen;
  }

  Laufausgang Starten(LaufOptionen optionen) {
    Berechnungslauf lauf(auftrag_, benutzer_, albenliste_, std::move(optionen));
    return lauf.Starten();
  }

  std::vector<int32_t> Bilder() const {
    return testing::Bildnummern(*auftrag_.einstellungen.Raster);
  }

  testing::TempFolder ordner_;
  Auftrag auftrag_;
  testing::TestBenutzer benutzer_;
  std::vector<TGalerieGlobal> albenliste_;
  int eingelesen_ = 0;
  bool unlesbar_ = false;
};

// The result of an earlier run that a run which does not complete must leave as it was.
struct Vorergebnis {
  explicit Vorergebnis(Auftrag& auftrag) {
    auftrag.Laufzeiten.fill(0.5);
    auftrag.ErgebnisFertig = true;
    auftrag.analyse.ErgebnisGespeichert = 0;  // not saved yet
    Einstellungen e;
    e.KachelnX = 3;
    e.KachelnY = 2;
    Verwendungsliste verwendung;
    verwendung.Hinzufuegen("alt.jpg", Zellort{2, 1});
    auftrag.Ergebnis = std::make_unique<Mosaikergebnis>(
        std::make_shared<Mosaikplan>(e, auftrag.analyse, std::move(verwendung)), "",
        testing::Einfarbig(3, 3, Farbe{1, 2, 3}), testing::Einfarbig(2, 2, Farbe{4, 5, 6}));
  }

  static void Pruefen(const Auftrag& auftrag) {
    ASSERT_TRUE(auftrag.Ergebnis);
    const Mosaikergebnis& ergebnis = *auftrag.Ergebnis;
    EXPECT_EQ(ergebnis.Stellvertreter().width(), 3);
    EXPECT_EQ(ReadPixel(ergebnis.Stellvertreter(), 2, 2), (Farbe{1, 2, 3}));
    EXPECT_EQ(ergebnis.AnzeigeBild().width(), 2);
    EXPECT_EQ(ReadPixel(ergebnis.AnzeigeBild(), 1, 1), (Farbe{4, 5, 6}));
    for (const double dauer : auftrag.Laufzeiten) EXPECT_EQ(dauer, 0.5);
    EXPECT_TRUE(auftrag.ErgebnisFertig);
    EXPECT_EQ(auftrag.analyse.ErgebnisGespeichert, 0);  // still offered for saving
    EXPECT_EQ(ergebnis.Plan().KachelnX(), 3);
    ASSERT_NE(ergebnis.Plan().Foto(2, 1), nullptr);
    EXPECT_EQ(*ergebnis.Plan().Foto(2, 1), "alt.jpg");
  }
};

// A finished run replaces the earlier (saved) result with its own, not yet saved, and
// shows it on the result page in a copy fitted to the screen. Which photos it places is
// the matching's business, its pixels the composer's.
TEST_F(LaufTest, FinishedRunShowsTheResultPageWithDurationsAndAScreenSizedCopy) {
  Vorergebnis vorher(auftrag_);
  auftrag_.analyse.ErgebnisGespeichert = 1;  // the earlier one was saved
  ASSERT_EQ(Starten(Optionen()), Laufausgang::Fertig);
  EXPECT_TRUE(benutzer_.warnungen.empty());
  // The new one is not saved yet.
  EXPECT_EQ(std::tuple(auftrag_.ErgebnisFertig, auftrag_.AktSeite,
                       auftrag_.analyse.ErgebnisGespeichert, auftrag_.Abbruch.load()),
            std::tuple(true, kSeiteErgebnis, 0, false));
  EXPECT_EQ(std::tuple(auftrag_.RahmenBreite, auftrag_.RahmenHoehe, auftrag_.AnzeigeMaxBreite,
                       auftrag_.AnzeigeMaxHoehe),
            std::tuple(18, 123, 1920 - 18 - 50, 1080 - 123 - 100));
  // 60 × 40 fitted into 1852 × 857: the height touches the box.
  ASSERT_TRUE(auftrag_.Ergebnis);
  const Mosaikergebnis& ergebnis = *auftrag_.Ergebnis;
  EXPECT_EQ(std::tuple(ergebnis.AnzeigeBild().width(), ergebnis.AnzeigeBild().height(),
                       ergebnis.Plan().KachelnX(), ergebnis.Groesse()),
            std::tuple(1286, 857, 6, Size{60, 40}));
  for (const int32_t bild : Bilder()) EXPECT_NE(bild, kKeinBild);

  double summe = 0;
  for (int i = 0; i < 4; ++i) {
    EXPECT_GE(auftrag_.Laufzeiten[static_cast<size_t>(i)], 0.0);
    EXPECT_NE(auftrag_.Laufzeiten[static_cast<size_t>(i)], 0.5);
    summe += auftrag_.Laufzeiten[static_cast<size_t>(i)];
  }
  EXPECT_DOUBLE_EQ(auftrag_.Laufzeiten[4], summe);
  const std::vector<std::string>& zeilen = benutzer_.zeilenStaende.back();
  ASSERT_EQ(zeilen.size(), 4u);
  EXPECT_EQ(zeilen[0].rfind("Einlesen der Bilddateien ... fertig (", 0), 0u);
  EXPECT_EQ(zeilen[3].rfind("Zusammenstellen des Mosaiks ... fertig (", 0), 0u);
}

TEST_F(LaufTest, PreChecksWarnAtTheirBoundariesAndChangeNothing) {
  struct Fall {
    int32_t farbtiefe, zielBreite, zielHoehe, bilder;
    std::string warnung;  // empty: the checks pass
    int32_t maxVerwendungen = 0;
    bool jedesFoto = false;
  };
  // 6 × 4 tiles; minAbstand 1 + Musterabstand 1 + 1 = 3 → 9 pictures needed; with at most
  // two uses of each, 12.
  const std::string zuWenige =
      "Nicht genügend Bilder: Das Mosaik hat 24 Kacheln, und jedes Bild darf höchstens 2-mal "
      "verwendet werden. Dafür sind mindestens 12 Bilder nötig, ausgewählt sind 11. Fügen Sie "
      "weitere Bilder hinzu oder erlauben Sie mehr Verwendungen je Bild.";
  const Fall faelle[] = {
      {15, 60, 40, 30, std::string(kFarbtiefeWarnung)},
      {16, 6, 4, 9, ""},
      {32, 5, 40, 30, std::string(kPlatzWarnung)},
      {32, 60, 3, 30, std::string(kPlatzWarnung)},
      {32, 60, 40, 8, std::string(kBilderWarnung)},
      {32, 60, 40, 11, zuWenige, 2},
      {32, 60, 40, 12, "", 2},
      // Every photo at least once: no more photos than cells (the template of 60 × 40
      // pixels allows 15 × 10 tiles).
      {32, 60, 40, 24, "", 0, true},
      {32, 60, 40, 25,
       "Zu viele Bilder für „Jedes Foto mindestens einmal“: Ausgewählt sind 25 Bilder, das "
       "Mosaik hat aber nur 24 Kacheln. Damit jedes Foto vorkommt, sind mindestens 25 Kacheln "
       "nötig, zum Beispiel 7 x 4 Kacheln. Wählen Sie mehr Kacheln oder weniger Bilder.",
       0, true},
      {32, 60, 40, 151,
       "Zu viele Bilder für „Jedes Foto mindestens einmal“: Ausgewählt sind 151 Bilder, das "
       "Mosaik hat aber nur 24 Kacheln. Damit jedes Foto vorkommt, sind mindestens 151 "
       "Kacheln nötig; so viele Kacheln sind bei dieser Ergebnisgröße nicht möglich. Wählen "
       "Sie weniger Bilder oder ein größeres Ergebnis.",
       0, true},
      // With a cap as well, too few pictures are refused first.
      {32, 60, 40, 11, zuWenige, 2, true},
  };
  auftrag_.vorlage.VorlageBreite = 60;
  auftrag_.vorlage.VorlageHoehe = 40;
  for (const Fall& fall : faelle) {
    benutzer_.warnungen.clear();
    auftrag_.einstellungen.verfahren.MaxVerwendungen = fall.maxVerwendungen;
    auftrag_.einstellungen.verfahren.JedesFoto = fall.jedesFoto;
    benutzer_.farbtiefe = fall.farbtiefe;
    auftrag_.einstellungen.ZielBreite = fall.zielBreite;
    auftrag_.einstellungen.ZielHoehe = fall.zielHoehe;
    auftrag_.BilderAnzahl.gesamt = fall.bilder;
    auftrag_.einstellungen.Raster.reset();
    auftrag_.Abbruch = true;  // a stale request is dropped at the start
    LaufOptionen optionen = Optionen();
    optionen.einlesen = [](Auftrag& auftrag, Fortschritt&) { auftrag.Abbruch = true; };
    const Laufausgang ausgang = Starten(std::move(optionen));
    if (fall.warnung.empty()) {
      EXPECT_EQ(ausgang, Laufausgang::Abgebrochen);
      EXPECT_TRUE(benutzer_.warnungen.empty());
    } else {
      EXPECT_EQ(ausgang, Laufausgang::Abgelehnt);
      EXPECT_EQ(benutzer_.warnungen, std::vector<std::string>{fall.warnung});
      EXPECT_FALSE(auftrag_.einstellungen.Raster);
    }
    EXPECT_FALSE(auftrag_.Abbruch);
  }
}

// Pictures that turn out unreadable while reading (empty placeholders of a cloud sync) are
// not in the job: the checks and the distance the 30 chosen allowed are made again for
// those read, as if the album held only them.
TEST_F(LaufTest, PicturesFoundUnreadableWhileReadingAreLeftOutOfTheJob) {
  // 3 read: even at distance 0 the pattern margin of 1 needs 4. The run ends with the
  // warning before the matching: the earlier mosaic stays, nothing new is made.
  Vorergebnis vorher(auftrag_);
  EXPECT_EQ(Starten(Optionen(2, 3)), Laufausgang::Unlesbar);
  EXPECT_EQ(benutzer_.hinweise, std::vector<std::string>{AusgelasseneBilderHinweis(3, 30)});
  EXPECT_EQ(benutzer_.warnungen, std::vector<std::string>{std::string(kBilderWarnung)});
  EXPECT_EQ(auftrag_.einstellungen.minAbstand, 1);
  Vorergebnis::Pruefen(auftrag_);
  EXPECT_EQ(auftrag_.einstellungen.Raster->at(1, 1).signatur.Helligkeit, 0);  // not prepared
  EXPECT_EQ(benutzer_.zeilenStaende.back().size(), 4u);  // the phases still announced
  EXPECT_EQ(AusgelasseneBilderHinweis(3, 30),
            "27 der 30 Bilder der gewählten Alben fehlen oder können nicht gelesen werden "
            "(zum Beispiel leere Platzhalter) und bleiben außen vor; verwendet werden die 3 "
            "lesbaren.");
  // One left out, or one left: the verbs agree.
  EXPECT_EQ(AusgelasseneBilderHinweis(20, 21),
            "1 der 21 Bilder der gewählten Alben fehlt oder kann nicht gelesen werden (zum "
            "Beispiel ein leerer Platzhalter) und bleibt außen vor; verwendet werden die 20 "
            "lesbaren.");
  EXPECT_TRUE(AusgelasseneBilderHinweis(1, 3).ends_with("verwendet wird das eine lesbare."));

  // 8 read: distance 1 needs 9, distance 0 needs 4. The distance is lowered as for an
  // album of 8 and every cell gets one of them.
  benutzer_.hinweise.clear();
  benutzer_.warnungen.clear();
  ASSERT_EQ(Starten(Optionen(2, 8)), Laufausgang::Fertig);
  EXPECT_EQ(benutzer_.hinweise,
            (std::vector<std::string>{AusgelasseneBilderHinweis(8, 30),
                                      "Der Mindestabstand wurde für die lesbaren Bilder auf 0 "
                                      "verringert."}));
  EXPECT_TRUE(benutzer_.warnungen.empty());
  EXPECT_EQ(auftrag_.einstellungen.minAbstand, 0);
  EXPECT_EQ(auftrag_.einstellungen.Kandidatenzahl, 8);
  for (const int32_t bild : Bilder()) EXPECT_NE(bild, kKeinBild);
  EXPECT_EQ(auftrag_.SchwarzeKacheln, 0);

  // With a cap of 2 uses, 24 cells need 12 pictures: 9 read are too few.
  benutzer_.hinweise.clear();
  auftrag_.einstellungen.minAbstand = 0;
  auftrag_.einstellungen.verfahren.MaxVerwendungen = 2;
  EXPECT_EQ(Starten(Optionen(2, 9)), Laufausgang::Unlesbar);
  ASSERT_EQ(benutzer_.warnungen.size(), 1u);
  EXPECT_EQ(benutzer_.warnungen[0], VerwendungsWarnung(auftrag_.einstellungen, 9));

  // All read: nothing to say.
  benutzer_.hinweise.clear();
  benutzer_.warnungen.clear();
  auftrag_.einstellungen.verfahren.MaxVerwendungen = 0;
  auftrag_.einstellungen.minAbstand = 1;
  ASSERT_EQ(Starten(Optionen()), Laufausgang::Fertig);
  EXPECT_TRUE(benutzer_.hinweise.empty());
  EXPECT_EQ(auftrag_.einstellungen.minAbstand, 1);
}

TEST_F(LaufTest, CancelDuringReadingSkipsThePhasesAndLeavesTheEarlierResult) {
  Vorergebnis vorher(auftrag_);
  // The user presses the button again while the pictures are read.
  Berechnungslauf* laufend = nullptr;
  benutzer_.beimEreignis = [&](int32_t runde) {
    if (runde == 3) {
      EXPECT_EQ(laufend->Starten(), Laufausgang::AbbruchAngefordert);
    }
  };
  Berechnungslauf lauf(auftrag_, benutzer_, albenliste_, Optionen());
  laufend = &lauf;
  EXPECT_EQ(lauf.Starten(), Laufausgang::Abgebrochen);
  EXPECT_FALSE(lauf.Laeuft());
  EXPECT_FALSE(auftrag_.Abbruch);
  Vorergebnis::Pruefen(auftrag_);
  EXPECT_EQ(auftrag_.AktSeite, kSeiteVorlage);
  EXPECT_EQ(auftrag_.einstellungen.Raster->at(1, 1).signatur.Helligkeit, 0);
  // The announcements 2, 3 and 5 still ran; skipped phases show no time of their own.
  const std::vector<std::string>& zeilen = benutzer_.zeilenStaende.back();
  ASSERT_EQ(zeilen.size(), 4u);
  EXPECT_EQ(zeilen[1], "Vorbereiten der Vorlage ... fertig (00 min. und 00 sek.)");
  EXPECT_EQ(zeilen[2], "Berechnen des Mosaiks ...");
  EXPECT_EQ(zeilen[3], "Zusammenstellen des Mosaiks ... fertig (00 min. und 00 sek.)");
  EXPECT_EQ(benutzer_.zeilenStaende.size(), 4u);
}

TEST_F(LaufTest, CancelDuringMatchingLeavesTheEarlierUnsavedMosaicAndNoHalfOne) {
  Vorergebnis vorher(auftrag_);
  Berechnungslauf* laufend = nullptr;
  benutzer_.beimEreignis = [&](int32_t) {
    // Once the matching is announced, its first cell asks to stop.
    if (benutzer_.zeilenStaende.back().back() == "Berechnen des Mosaiks ...") {
      // The earlier mosaic is held aside while the new one is made.
      EXPECT_EQ(auftrag_.Ergebnis, nullptr);
      laufend->Abbrechen();
    }
  };
  Berechnungslauf lauf(auftrag_, benutzer_, albenliste_, Optionen());
  laufend = &lauf;
  EXPECT_EQ(lauf.Starten(), Laufausgang::Abgebrochen);
  Vorergebnis::Pruefen(auftrag_);
}

TEST_F(LaufTest, ACancelledFirstRunLeavesNoMosaicBehind) {
  Berechnungslauf* laufend = nullptr;
  benutzer_.beimEreignis = [&](int32_t) {
    if (benutzer_.zeilenStaende.back().back() == "Zusammenstellen des Mosaiks ...") {
      laufend->Abbrechen();
    }
  };
  auftrag_.analyse.ErgebnisGespeichert = 1;  // as at start: nothing to save
  Berechnungslauf lauf(auftrag_, benutzer_, albenliste_, Optionen());
  laufend = &lauf;
  EXPECT_EQ(lauf.Starten(), Laufausgang::Abgebrochen);
  EXPECT_FALSE(auftrag_.Ergebnis);
  EXPECT_FALSE(auftrag_.ErgebnisFertig);
  EXPECT_EQ(auftrag_.analyse.ErgebnisGespeichert, 1);
}

TEST_F(LaufTest, ARunWhosePicturesCannotBeReadLeavesTheEarlierResult) {
  Vorergebnis vorher(auftrag_);
  unlesbar_ = true;
  EXPECT_EQ(Starten(Optionen()), Laufausgang::Unlesbar);
  EXPECT_EQ(benutzer_.warnungen, std::vector<std::string>{std::string(kUnlesbarWarnung)});
  Vorergebnis::Pruefen(auftrag_);
  EXPECT_EQ(auftrag_.AktSeite, kSeiteVorlage);
}

// The tiles share out the chosen size: the least size the checks pass gives tiles of one
// pixel, never tiles without area.
TEST_F(LaufTest, TheLeastSizeTheChecksPassGivesTilesOfOnePixel) {
  auftrag_.einstellungen.ZielBreite = 6;
  auftrag_.einstellungen.ZielHoehe = 4;
  EXPECT_EQ(Starten(Optionen()), Laufausgang::Fertig);
  ASSERT_TRUE(auftrag_.Ergebnis);
  EXPECT_EQ(auftrag_.Ergebnis->Groesse(), (Size{6, 4}));
  EXPECT_TRUE(benutzer_.informationen.empty());
}

TEST_F(LaufTest, AnErrorInAPhaseStillLeavesTheDriverIdleAndTheEarlierResult) {
  Vorergebnis vorher(auftrag_);
  LaufOptionen optionen = Optionen();
  optionen.einlesen = [](Auftrag&, Fortschritt&) { throw std::runtime_error("kaputt"); };
  Berechnungslauf lauf(auftrag_, benutzer_, albenliste_, std::move(optionen));
  EXPECT_THROW(lauf.Starten(), std::runtime_error);
  EXPECT_FALSE(lauf.Laeuft());
  EXPECT_FALSE(auftrag_.Abbruch);
  Vorergebnis::Pruefen(auftrag_);
}

TEST_F(LaufTest, MethodParametersNeverDerivedAreDerivedBeforeTheSearch) {
  auftrag_.einstellungen.Kandidatenzahl = -25;
  auftrag_.einstellungen.Helligkeitsfenster = -25;
  ASSERT_EQ(Starten(Optionen()), Laufausgang::Fertig);
  EXPECT_EQ(auftrag_.einstellungen.Kandidatenzahl, 30);
  for (const int32_t bild : Bilder()) EXPECT_NE(bild, kKeinBild);
}

}  // namespace
}  // namespace tilvendo
