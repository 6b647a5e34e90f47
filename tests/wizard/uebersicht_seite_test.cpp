#include "wizard/uebersicht_seite.h"

#include <gtest/gtest.h>

#include "platform/clock.h"

namespace tilvendo::wizard {
namespace {

constexpr double kEineSekunde = 1.0 / kSecondsPerDay;

// Five entries without a mosaic, the remembered one only while it exists; the durations
// of the last run, with hours from the first hour on.
TEST(Uebersicht, EntriesAndDurationsOfTheLastRun) {
  Auftrag auftrag;
  std::vector<std::string> eintraege = UebersichtEintraege(auftrag);
  ASSERT_EQ(eintraege.size(), 5u);
  EXPECT_EQ(eintraege.front(), "Vorlage wählen");
  EXPECT_EQ(eintraege.back(), "weitere Einstellungen");
  EXPECT_EQ(EintragWiederfinden(kEintragLetzteBerechnung, 5), 0);
  EXPECT_EQ(EintragWiederfinden(4, 5), 4);

  auftrag.Ergebnis = std::make_unique<Mosaikergebnis>(
      std::make_shared<Mosaikplan>(auftrag.einstellungen, auftrag.analyse, Verwendungsliste{}), "");
  eintraege = UebersichtEintraege(auftrag);
  ASSERT_EQ(eintraege.size(), 6u);
  EXPECT_EQ(eintraege.back(), "letzte Berechnung");
  EXPECT_EQ(EintragWiederfinden(kEintragLetzteBerechnung, 6), kEintragLetzteBerechnung);
  EXPECT_EQ(EintragsSeite(kEintragLetzteBerechnung), 6);

  auftrag.Laufzeiten = {3 * kEineSekunde, 0, 62 * kEineSekunde, 0, (75 * 60 + 30) * kEineSekunde};
  const Eintragsinfo info = EintragsInfo(auftrag, kEintragLetzteBerechnung);
  EXPECT_EQ(info.InfoT, "Informationen zur letzten Berechnung:");
  const std::vector<std::string> zeilen = {"Einlesen der Bilddateien: 00 min. und 03 sek.",
                                           "Vorbereiten der Vorlage: 00 min. und 00 sek.",
                                           "Berechnen des Mosaiks: 01 min. und 02 sek.",
                                           "Zusammenstellen des Mosaiks: 00 min. und 00 sek.",
                                           "Gesamtdauer: 1 Std. 15 min. und 30 sek."};
  EXPECT_EQ(info.InfoFeld, zeilen);
}

// A poster of 100 × 75 whole tiles of 55 pixels for 5599 × 4133 pixels, 71,1 × 52,5 cm
// at 200 dpi: the pixels are the whole tiles', the print size the paper's, as the file's
// resolution makes it; without a paper the whole tiles' at the resolution chosen.
TEST(Uebersicht, APostersPrintSizeIsThePapersAndItsPixelsTheWholeTiles) {
  Auftrag auftrag;
  Einstellungen& e = auftrag.einstellungen;
  auftrag.vorlage = {"see.jpg", "/bilder/", 1600, 1200};
  e.Grossformat = true;
  e.Druckaufloesung = 200;
  e.KachelnX = 100;
  e.KachelnY = 75;
  e.ZielBreite = 5599;
  e.ZielHoehe = 4133;
  e.Papier = Druckpapier{711, 525, Papiernutzung::Strecken};
  const std::vector<std::string> zeilen = EintragsInfo(auftrag, 1).InfoFeld;
  ASSERT_EQ(zeilen.size(), 4u);
  EXPECT_EQ(zeilen[0], "absolute Größe: 5500 x 4125 Pixel");
  EXPECT_EQ(zeilen[3], "Druckgröße: 71 × 52 cm bei 200 dpi");
  e.Papier = Druckpapier{};
  EXPECT_EQ(EintragsInfo(auftrag, 1).InfoFeld[3], "Druckgröße: 70 × 52 cm bei 200 dpi");
  e.Grossformat = false;
  EXPECT_EQ(EintragsInfo(auftrag, 1).InfoFeld.size(), 3u);
}

TEST(Uebersicht, InfoLinesOfTheSettings) {
  Auftrag auftrag;
  Einstellungen& e = auftrag.einstellungen;
  auftrag.vorlage = {"see.jpg", "/bilder/", 800, 600};
  e.ZellBreite = e.ZellHoehe = 24;
  e.ZoomX = e.ZoomY = 150;
  e.KachelnX = 33;
  e.KachelnY = 25;
  e.ZielBreite = 1188;
  e.ZielHoehe = 900;
  e.Berechnungsart = 7;  // outside the list: shown as the first method
  e.Musterbildung = 3;
  e.minAbstand = 5;
  e.Musterabstand = 5;
  auftrag.BilderAnzahl.gesamt = 500;
  auftrag.analyse.Formanalyse = 10;

  EXPECT_EQ(EintragsInfo(auftrag, 0).InfoFeld,
            (std::vector<std::string>{"Bilddatei:", "/bilder/see.jpg",
                                      "Vorlagengröße: 800 x 600 Pixel"}));
  EXPECT_EQ(EintragsInfo(auftrag, 1).InfoFeld[1],
            "das ist eine Skalierung auf etwa 150 % der Vorlagenbreite bzw. ");
  EXPECT_EQ(
      EintragsInfo(auftrag, 2).InfoFeld,
      (std::vector<std::string>{"Breite der Kacheln: 36 Pixel", "Höhe der Kacheln: 36 Pixel",
                                "33 x 25 Kacheln, 825 insgesamt", "detailierte Formanalyse"}));
  auftrag.analyse.Formanalyse = 4;  // a level without a name gets no line
  EXPECT_EQ(EintragsInfo(auftrag, 2).InfoFeld.size(), 3u);
  EXPECT_EQ(EintragsInfo(auftrag, 3).InfoFeld[1],
            "für die Berechnung mindestens benötigte Bilder: 121");
  EXPECT_EQ(EintragsInfo(auftrag, 4).InfoFeld,
            (std::vector<std::string>{"Berechnungsmethode \"Standard\"",
                                      "Umgang mit Musterbildung \"unterdrücken\"",
                                      "Mindestabstand zwischen zwei identischen Bildern: 5 Kacheln",
                                      "Lesen und Vergleichen der Fotos: aufrecht gestellt"}));
  e.verfahren = Verfahren{.Aufrichten = false};
  EXPECT_EQ(EintragsInfo(auftrag, 4).InfoFeld[3],
            "Lesen und Vergleichen der Fotos: wie ursprünglich");
  e.verfahren = Verfahren{.Wahrnehmung = true, .Farbangleich = 40, .MaxVerwendungen = 3};
  EXPECT_EQ(EintragsInfo(auftrag, 4).InfoFeld[3],
            "Lesen und Vergleichen der Fotos: aufrecht gestellt, Farben wie das Auge, "
            "Farbangleich 40 %, höchstens 3-mal je Foto");
  e.verfahren = Verfahren{.JedesFoto = true};
  EXPECT_EQ(EintragsInfo(auftrag, 4).InfoFeld[3],
            "Lesen und Vergleichen der Fotos: aufrecht gestellt, jedes Foto mindestens einmal");
  ASSERT_EQ(EintragsInfo(auftrag, 3).InfoFeld.size(), 3u);
  EXPECT_EQ(EintragsInfo(auftrag, 3).InfoFeld[2],
            "höchstens verwendbare Bilder (jedes Foto mindestens einmal): " +
                std::to_string(int64_t{e.KachelnX} * e.KachelnY));

  // Previews: the template's proportions for entry 0, the result's for the others, none
  // for the picture counts.
  e.ZielHoehe = 1188;
  EXPECT_EQ(VorschauGroesse(auftrag, 0), (Size{133, 100}));
  EXPECT_EQ(VorschauGroesse(auftrag, 2), (Size{100, 100}));
  EXPECT_EQ(VorschauGroesse(auftrag, 3), (Size{}));
  EXPECT_EQ(VorschauArt(4), Vorschauart::Abstandsregel);
}

}  // namespace
}  // namespace tilvendo::wizard
