#include "wizard/speichern_optionen.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <utility>

#include "support/temp_folder.h"

namespace tilvendo::wizard {
namespace {

// The format button and which controls are active, and the depth shown.
auto Schalter(const Optionsanzeige& a) {
  return std::tuple(a.format, a.qualitaetAktiv, a.farbtiefeAktiv, a.farbtiefeIndex);
}

TEST(SpeichernOptionen, QualityWordsSizeTextsAndEstimates) {
  EXPECT_EQ(QualitaetsText(19), "Qualität: 19% (schlecht)");
  EXPECT_EQ(QualitaetsWort(20), "dürftig");
  EXPECT_EQ(QualitaetsWort(99), "hervorragend");
  EXPECT_EQ(QualitaetsWort(100), "excellent");

  EXPECT_EQ(GroessenText(1023), "voraussichtliche Dateigröße: 1023 Byte");
  EXPECT_EQ(GroessenText(1024), "voraussichtliche Dateigröße: 1,00 Kilobyte");
  EXPECT_EQ(GroessenText(1002048), "voraussichtliche Dateigröße: 978,56 Kilobyte");
  EXPECT_EQ(GroessenText(1048576), "voraussichtliche Dateigröße: 1,00 Megabyte");
  // An estimate from a sample says so.
  EXPECT_EQ(SchaetzText(1048576 * 900),
            "geschätzte Dateigröße: etwa 900,00 Megabyte (aus einer Stichprobe)");
  EXPECT_EQ(SchaetzText(1023), "geschätzte Dateigröße: etwa 1023 Byte (aus einer Stichprobe)");
}

TEST(SpeichernOptionen, FormatButtonsKeepTheChosenDepth) {
  SpeicherOptionen optionen;  // as at start: BMP, no depth chosen yet
  Optionsanzeige anzeige = OptionenAnzeigen(optionen);
  // "Truecolor (32 Bit)"
  EXPECT_EQ(Schalter(anzeige), std::tuple(kFormatBmp, false, true, std::optional(3)));
  EXPECT_EQ(FarbtiefeAusIndex(*anzeige.farbtiefeIndex), kStandardFarbtiefe);

  optionen.Farbtiefe = FarbtiefeAusIndex(1);
  EXPECT_EQ(optionen.Farbtiefe, kFarbtiefe16);
  anzeige = FormatWaehlen(optionen, kFormatJpeg);
  EXPECT_EQ(optionen.Format, kFormatJpeg);
  EXPECT_EQ(std::tuple(anzeige.farbtiefeIndex, anzeige.qualitaetAktiv),
            std::tuple(std::optional(kJpegFarbtiefeIndex), true));
  anzeige = FormatWaehlen(optionen, kFormatBmp);
  EXPECT_EQ(anzeige.farbtiefeIndex, 1);
  EXPECT_EQ(IndexAusFarbtiefe(kFarbtiefe8), 0);
  EXPECT_EQ(IndexAusFarbtiefe(42), 3);
}

TEST(SpeichernOptionen, PngAndTiffAreWrittenInTruecolorWithoutAQuality) {
  SpeicherOptionen optionen;
  optionen.Farbtiefe = kFarbtiefe8;
  for (const uint8_t format : {kFormatPng, kFormatTiff}) {
    const Optionsanzeige anzeige = FormatWaehlen(optionen, format);
    EXPECT_EQ(optionen.Format, format);
    EXPECT_EQ(Schalter(anzeige),
              std::tuple(format, false, false, std::optional(kJpegFarbtiefeIndex)));
    EXPECT_EQ(OptionenAnzeigen(optionen).format, format);
    EXPECT_FALSE(OptionenAnzeigen(optionen).farbtiefeIndex.has_value());
  }
  // The depth chosen for BMP stays.
  EXPECT_EQ(optionen.Farbtiefe, kFarbtiefe8);
  EXPECT_EQ(FormatWaehlen(optionen, kFormatBmp).farbtiefeIndex, 0);
  // A format the page does not know is shown as BMP.
  EXPECT_EQ(FormatWaehlen(optionen, 9).format, kFormatBmp);
  EXPECT_EQ(optionen.Format, kFormatBmp);
}

TEST(SpeichernOptionen, TheDialogOffersTheLastFileThatWasWritten) {
  // Nothing written yet: the pictures folder, no name.
  Dateivorschlag vorschlag = DateiVorschlagen("", kFormatJpeg, "/home/u/Bilder");
  EXPECT_EQ(std::tuple(vorschlag.ordner, vorschlag.datei), std::tuple("/home/u/Bilder", ""));
  vorschlag = DateiVorschlagen("/home/u/Mosaike/see.jpg", kFormatJpeg, "/home/u/Bilder");
  EXPECT_EQ(std::tuple(vorschlag.ordner, vorschlag.datei),
            std::tuple("/home/u/Mosaike/", "see.jpg"));
  // The same name in the format chosen now.
  vorschlag = DateiVorschlagen("/home/u/Mosaike/see.jpg", kFormatBmp, "/home/u/Bilder");
  EXPECT_EQ(vorschlag.datei, "see.bmp");
  // A poster saved as TIFF is offered as PNG when PNG is chosen now.
  vorschlag = DateiVorschlagen("/home/u/Mosaike/poster.tif", kFormatPng, "/home/u/Bilder");
  EXPECT_EQ(vorschlag.datei, "poster.png");
}

TEST(SpeichernOptionen, AnotherExistingFileBehindTheForcedExtensionIsAskedAbout) {
  testing::TempFolder ordner;
  const std::string bild = ordner / "bild.jpg";
  EXPECT_FALSE(ErsetzenErfragen(ordner / "bild.bmp", bild));
  testing::WriteWholeFile(bild, "x");
  EXPECT_TRUE(ErsetzenErfragen(ordner / "bild.bmp", bild));
  // The dialog itself asked about the very name written.
  EXPECT_FALSE(ErsetzenErfragen(bild, bild));
}

}  // namespace
}  // namespace tilvendo::wizard
