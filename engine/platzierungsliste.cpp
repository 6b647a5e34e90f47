#include "engine/platzierungsliste.h"

#include <stdexcept>
#include <string_view>

#include "platform/atomic_file.h"

namespace tilvendo {
namespace {

constexpr std::string_view kMussQuotiert = ",\"\r\n";
constexpr char kAnfuehrung = '"';

// A field as RFC 4180 wants it: quoted, with its quotes doubled, when it needs to be.
std::string CsvFeld(const std::string& text) {
  if (text.find_first_of(kMussQuotiert) == std::string::npos) return text;
  std::string feld(1, kAnfuehrung);
  for (const char c : text) {
    if (c == kAnfuehrung) feld += kAnfuehrung;
    feld += c;
  }
  feld += kAnfuehrung;
  return feld;
}

}  // namespace

std::string PlatzierungslisteText(const Auftrag& auftrag) {
  const Zellenraster* raster = auftrag.einstellungen.Raster.get();
  if (raster == nullptr) throw std::logic_error("Es gibt noch kein Mosaik.");
  std::string text = std::string(kPlatzierungslisteKopf) + "\n";
  for (int y = 1; y <= raster->kachelnY(); ++y) {
    for (int x = 1; x <= raster->kachelnX(); ++x) {
      const int32_t bild = raster->at(x, y).Bild;
      const bool platziert = bild >= 0 && static_cast<size_t>(bild) < auftrag.Dateiliste.size();
      text += std::to_string(x) + "," + std::to_string(y) + "," +
              (platziert ? CsvFeld(auftrag.Dateiliste[static_cast<size_t>(bild)]) : std::string()) +
              "\n";
    }
  }
  return text;
}

void PlatzierungslisteSchreiben(const Auftrag& auftrag, const std::string& pfad) {
  WriteFileAtomically(pfad, PlatzierungslisteText(auftrag));
}

}  // namespace tilvendo
