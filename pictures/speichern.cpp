#include "pictures/speichern.h"

#include <algorithm>
#include <memory>

#include "pictures/byte_sink.h"
#include "pictures/jpeg_writer.h"
#include "pictures/save_extension.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace tilvendo {
namespace {

bool Abgebrochen(const Speicherbegleitung& begleitung) {
  return begleitung.abbruch != nullptr && begleitung.abbruch->load();
}

}  // namespace

void DateinameUebernehmen(SpeicherOptionen& optionen, const std::string& gewaehlt) {
  std::string name = gewaehlt;
  ForceSaveExtension(optionen.Format, name);
  optionen.Pfad = FolderOf(name);
  optionen.Datei = FileNameOf(name);
}

Bildbeschreibung BeschreibungFuer(const SpeicherOptionen& optionen, int32_t breite, int32_t hoehe) {
  Bildbeschreibung beschreibung;
  beschreibung.breite = breite;
  beschreibung.hoehe = hoehe;
  const Dateiformat* format = FormatVon(optionen.Format);
  beschreibung.tiefe =
      format != nullptr && format->mitFarbtiefe ? BmpTiefe(optionen.Farbtiefe) : PixelFormat::k24;
  beschreibung.dpi = optionen.Aufloesung;
  beschreibung.dpiY = optionen.AufloesungY;
  beschreibung.qualitaet =
      std::clamp<int>(optionen.Qualitaet, kJpegQualitaetMin, kJpegQualitaetMax);
  return beschreibung;
}

bool SpeichernPruefen(const SpeicherOptionen& optionen, int32_t breite, int32_t hoehe,
                      const Speicherbegleitung& begleitung) {
  const Dateiformat* format = FormatVon(optionen.Format);
  if (format == nullptr) return false;
  const Bildbeschreibung beschreibung = BeschreibungFuer(optionen, breite, hoehe);
  GroessePruefen(*format, beschreibung);
  const uint64_t hoechstens = Platzbedarf(*format, beschreibung);
  const std::optional<uint64_t> frei =
      begleitung.platz ? begleitung.platz(optionen.Pfad) : FreeSpace(optionen.Pfad);
  // Only a disk short of the worst case is worth the sample an estimate takes; without
  // an estimate a format whose size depends on its pixels gets the benefit of the doubt.
  if (!frei || *frei >= hoechstens) return true;
  const bool geschaetzt = format->genaueBytes == nullptr;
  if (geschaetzt && !begleitung.schaetzung) return true;
  const uint64_t bedarf =
      geschaetzt ? Platzbedarf(*format, beschreibung, begleitung.schaetzung()) : hoechstens;
  CheckFreeSpace(optionen.Pfad, bedarf, [frei](const std::string&) { return frei; });
  return true;
}

void InDateiSchreiben(StreifenQuelle& quelle, const std::string& pfad,
                      const Schreibermacher& macher, const Speicherbegleitung& begleitung) {
  const int32_t hoehe = quelle.Hoehe();
  AtomicFile datei(pfad);
  AtomicFileSink senke(datei);
  const std::unique_ptr<Bildschreiber> schreiber = macher(senke);
  StreifenweiseLesen(quelle, [&](int32_t erste, const Zeilen& zeilen) {
    if (Abgebrochen(begleitung)) throw SchreibenAbgebrochen();
    schreiber->Schreiben(zeilen);
    if (begleitung.fortschritt) begleitung.fortschritt(erste + zeilen.anzahl, hoehe);
  });
  schreiber->Beenden();
  // The last moment at which a stop still leaves the old file as it was.
  if (Abgebrochen(begleitung) || (begleitung.freigabe && !begleitung.freigabe())) {
    throw SchreibenAbgebrochen();
  }
  datei.Commit();
}

bool BildSpeichern(StreifenQuelle& quelle, const SpeicherOptionen& optionen,
                   const Speicherbegleitung& begleitung) {
  const Dateiformat* format = FormatVon(optionen.Format);
  if (format == nullptr) return false;
  SpeichernPruefen(optionen, quelle.Breite(), quelle.Hoehe(), begleitung);
  const Bildbeschreibung beschreibung = BeschreibungFuer(optionen, quelle.Breite(), quelle.Hoehe());
  InDateiSchreiben(
      quelle, MitSchraegstrich(optionen.Pfad) + optionen.Datei,
      [&](SeekableSink& ziel) { return format->schreiber(ziel, beschreibung); }, begleitung);
  return true;
}

}  // namespace tilvendo
