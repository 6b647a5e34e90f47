#include "wizard/speichern_optionen.h"

#include <algorithm>

#include "pictures/save_extension.h"
#include "platform/paths.h"
#include "platform/translate.h"
#include "wizard/dezimalkomma.h"

namespace tilvendo::wizard {
namespace {

constexpr std::array<std::string_view, 6> kQualitaetsWoerter = {
    N_("schlecht"), N_("dürftig"),      N_("befriedigend"),
    N_("gut"),      N_("hervorragend"), N_("excellent")};
constexpr int32_t kQualitaetsStufe = 20;

constexpr std::array<uint8_t, kFarbtiefenTexte.size()> kFarbtiefenCodes = {
    kFarbtiefe8, kFarbtiefe16, kFarbtiefe24, kFarbtiefe32};
constexpr int kIndex32Bit = 3;

constexpr int64_t kKilo = 1024;
constexpr int64_t kMega = kKilo * kKilo;
constexpr const char* kGroessePraefix = N_("voraussichtliche Dateigröße: ");
constexpr const char* kSchaetzPraefix = N_("geschätzte Dateigröße: etwa ");
constexpr const char* kSchaetzZusatz = N_(" (aus einer Stichprobe)");

// The size in the largest unit it fills.
std::string Groesse(int64_t bytes) {
  if (bytes < kKilo) return Format(_("{} Byte"), bytes);
  if (bytes < kMega) return Format(_("{} Kilobyte"), MitDezimalkomma(Hundertstel(bytes, kKilo)));
  return Format(_("{} Megabyte"), MitDezimalkomma(Hundertstel(bytes, kMega)));
}

// The controls for a format: the depth list where it stores depths (BMP), the quality
// where it stores one (JPEG).
Optionsanzeige FuerFormat(uint8_t format) {
  Optionsanzeige anzeige;
  anzeige.format = FormatVon(format) != nullptr ? format : kFormatBmp;
  anzeige.qualitaetAktiv = kDateiformate[anzeige.format].mitQualitaet;
  anzeige.farbtiefeAktiv = kDateiformate[anzeige.format].mitFarbtiefe;
  return anzeige;
}

}  // namespace

std::string_view QualitaetsWort(int32_t qualitaet) {
  const int32_t stufe = std::clamp<int32_t>(qualitaet / kQualitaetsStufe, 0,
                                            static_cast<int32_t>(kQualitaetsWoerter.size()) - 1);
  return kQualitaetsWoerter[static_cast<size_t>(stufe)];
}

std::string QualitaetsText(int32_t qualitaet) {
  return Format(_("Qualität: {}% ({})"), qualitaet, _(QualitaetsWort(qualitaet).data()));
}

uint8_t FarbtiefeAusIndex(int index) {
  if (index < 0 || static_cast<size_t>(index) >= kFarbtiefenCodes.size()) return kFarbtiefe32;
  return kFarbtiefenCodes[static_cast<size_t>(index)];
}

int IndexAusFarbtiefe(uint8_t farbtiefe) {
  const auto* it = std::find(kFarbtiefenCodes.begin(), kFarbtiefenCodes.end(), farbtiefe);
  return it == kFarbtiefenCodes.end() ? kIndex32Bit
                                      : static_cast<int>(it - kFarbtiefenCodes.begin());
}

std::string GroessenText(int64_t bytes) {
  return _(kGroessePraefix) + Groesse(bytes);
}

std::string SchaetzText(int64_t bytes) {
  return _(kSchaetzPraefix) + Groesse(bytes) + _(kSchaetzZusatz);
}

Optionsanzeige OptionenAnzeigen(const SpeicherOptionen& optionen) {
  Optionsanzeige anzeige = FuerFormat(optionen.Format);
  if (anzeige.farbtiefeAktiv) anzeige.farbtiefeIndex = IndexAusFarbtiefe(optionen.Farbtiefe);
  // The slider always shows the quality that will be written, also while BMP is chosen:
  // a later switch to JPEG must not show an older position than the one in effect.
  anzeige.qualitaet = optionen.Qualitaet;
  return anzeige;
}

Optionsanzeige FormatWaehlen(SpeicherOptionen& optionen, uint8_t format) {
  Optionsanzeige anzeige = FuerFormat(format);
  optionen.Format = anzeige.format;
  anzeige.farbtiefeIndex =
      anzeige.farbtiefeAktiv ? IndexAusFarbtiefe(optionen.Farbtiefe) : kJpegFarbtiefeIndex;
  return anzeige;
}

Dateivorschlag DateiVorschlagen(const std::string& zuletztGespeichert, uint8_t format,
                                const std::string& standardOrdner) {
  if (zuletztGespeichert.empty()) return Dateivorschlag{standardOrdner, {}};
  Dateivorschlag vorschlag{FolderOf(zuletztGespeichert), FileNameOf(zuletztGespeichert)};
  ForceSaveExtension(format, vorschlag.datei);
  return vorschlag;
}

bool ErsetzenErfragen(const std::string& gewaehlt, const std::string& geschrieben) {
  return geschrieben != gewaehlt && FileExists(geschrieben);
}

std::string ErsetzenFrage(const std::string& geschrieben) {
  return Format(_("Die Datei \"{}\" existiert bereits. Soll sie ersetzt werden?"), geschrieben);
}

}  // namespace tilvendo::wizard
