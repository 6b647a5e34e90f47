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
  if (!auftrag.Ergebnis) throw std::logic_error("Es gibt noch kein Mosaik.");
  const Mosaikplan& plan = auftrag.Ergebnis->Plan();
  std::string text = std::string(kPlatzierungslisteKopf) + "\n";
  for (int32_t y = 1; y <= plan.KachelnY(); ++y) {
    for (int32_t x = 1; x <= plan.KachelnX(); ++x) {
      const std::string* foto = plan.Foto(x, y);
      text += std::to_string(x) + "," + std::to_string(y) + "," +
              (foto != nullptr ? CsvFeld(*foto) : std::string()) + "\n";
    }
  }
  return text;
}

void PlatzierungslisteSchreiben(const Auftrag& auftrag, const std::string& pfad) {
  WriteFileAtomically(pfad, PlatzierungslisteText(auftrag));
}

}  // namespace tilvendo
