#include "pictures/seiten_speichern.h"

#include <algorithm>
#include <optional>

#include "pictures/dateiformate.h"
#include "pictures/seiten_pdf.h"
#include "platform/free_space.h"
#include "platform/paths.h"

namespace tilvendo {
namespace {

// The sheets' pictures are put aside on the file's disk while the PDF is made, and then
// copied into it: the disk holds them twice for a while.
constexpr uint64_t kAblageUndDatei = 2;

// The JPEG data of a picture and of the sheets' pictures: `flaeche` over `poster` pixels.
int64_t Anteil(int64_t bytes, int64_t flaeche, int64_t poster) {
  return static_cast<int64_t>(static_cast<double>(bytes) * static_cast<double>(flaeche) /
                              static_cast<double>(std::max<int64_t>(poster, 1)));
}

}  // namespace

Seitenraster SeitenPruefen(const SpeicherOptionen& datei, const Seitenwahl& wahl, int32_t breite,
                           int32_t hoehe, const Speicherbegleitung& begleitung) {
  const double dpiY = datei.AufloesungY > 0 ? datei.AufloesungY : datei.Aufloesung;
  const Seitenraster raster = SeitenrasterBerechnen(breite, hoehe, datei.Aufloesung, dpiY, wahl);
  int64_t flaeche = 0;
  for (int32_t r = 0; r < raster.zeilen; ++r) {
    for (int32_t s = 0; s < raster.spalten; ++s) {
      const Rect teil = raster.Ausschnitt(r, s);
      flaeche += int64_t{teil.width()} * teil.height();
    }
  }
  SpeicherOptionen jpeg = datei;
  jpeg.Format = kFormatJpeg;
  const Dateiformat& format = *FormatVon(kFormatJpeg);
  const int64_t poster = int64_t{breite} * hoehe;
  Bildbeschreibung blaetter = BeschreibungFuer(jpeg, breite, hoehe);
  const uint64_t hoechstens = kAblageUndDatei * format.hoechstBytes(blaetter) *
                              static_cast<uint64_t>(flaeche) /
                              static_cast<uint64_t>(std::max<int64_t>(poster, 1));
  const std::optional<uint64_t> frei =
      begleitung.platz ? begleitung.platz(datei.Pfad) : FreeSpace(datei.Pfad);
  if (!frei || *frei >= hoechstens || !begleitung.schaetzung) return raster;
  const int64_t geschaetzt = Anteil(begleitung.schaetzung(), flaeche, poster);
  const uint64_t bedarf = kAblageUndDatei * Platzbedarf(format, blaetter, geschaetzt);
  CheckFreeSpace(datei.Pfad, std::min(bedarf, hoechstens),
                 [frei](const std::string&) { return frei; });
  return raster;
}

void SeitenSpeichern(StreifenQuelle& quelle, const SpeicherOptionen& datei, const Seitenwahl& wahl,
                     const Speicherbegleitung& begleitung) {
  const Seitenraster raster =
      SeitenPruefen(datei, wahl, quelle.Breite(), quelle.Hoehe(), begleitung);
  SpeicherOptionen jpeg = datei;
  jpeg.Format = kFormatJpeg;
  if (jpeg.Qualitaet == 0) jpeg.Qualitaet = kStandardQualitaet;
  const Bildbeschreibung beschreibung = BeschreibungFuer(jpeg, quelle.Breite(), quelle.Hoehe());
  InDateiSchreiben(
      quelle, MitSchraegstrich(datei.Pfad) + datei.Datei,
      [&](SeekableSink& ziel) {
        return MakeSeitenPdfSchreiber(ziel, beschreibung, raster, wahl.uebersicht);
      },
      begleitung);
}

}  // namespace tilvendo
