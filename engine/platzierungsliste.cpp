#include "engine/platzierungsliste.h"

#include <array>
#include <fstream>
#include <stdexcept>

#include "engine/ausgabeziel.h"
#include "platform/atomic_file.h"
#include "platform/translate.h"
#include "platform/utf8.h"

namespace tilvendo {
namespace {

// Fields with either separator are quoted, so that a list reads the same in any language.
constexpr std::string_view kMussQuotiert = ";,\"\r\n";
constexpr char kAnfuehrung = '"';
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The column names stay as they are in every language: they name the file's format.
constexpr std::array<std::string_view, 3> kSpalten = {"Spalte", "Zeile", "Foto"};
constexpr std::array<char, 2> kTrennzeichen = {';', ','};

char Trenner() {
  const char* trenner = P_("Trennzeichen der Platzierungsliste", ";");
  return trenner[0] == ',' ? ',' : ';';
}

std::string Kopf(char trenner) {
  return std::string(kSpalten[0]) + trenner + std::string(kSpalten[1]) + trenner +
         std::string(kSpalten[2]);
}

// A field as RFC 4180 wants it: quoted, with its quotes doubled, when it needs to be.
std::string CsvFeld(const std::string& text) {
  const std::string utf8 = AsUtf8(text);
  if (utf8.find_first_of(kMussQuotiert) == std::string::npos) return utf8;
  std::string feld(1, kAnfuehrung);
  for (const char c : utf8) {
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
  const char trenner = Trenner();
  std::string text = std::string(kByteOrderMark) + Kopf(trenner) + "\n";
  for (int32_t y = 1; y <= plan.KachelnY(); ++y) {
    for (int32_t x = 1; x <= plan.KachelnX(); ++x) {
      const std::string* foto = plan.Foto(x, y);
      text += std::to_string(x) + trenner + std::to_string(y) + trenner +
              (foto != nullptr ? CsvFeld(*foto) : std::string()) + "\n";
    }
  }
  return text;
}

void PlatzierungslisteSchreiben(const Auftrag& auftrag, const std::string& pfad) {
  if (const auto verweigert = AusgabezielPruefen(auftrag, pfad, Ausgabeart::Platzierungsliste)) {
    throw WriteError(*verweigert);
  }
  WriteFileAtomically(pfad, PlatzierungslisteText(auftrag));
}

bool IstPlatzierungsliste(const std::string& pfad) {
  // Only as much as the longest head needs: any file may stand there.
  constexpr size_t kKopfHoechstens = 64;
  std::ifstream in(pfad, std::ios::binary);
  std::string anfang(kKopfHoechstens, '\0');
  in.read(anfang.data(), static_cast<std::streamsize>(anfang.size()));
  anfang.resize(static_cast<size_t>(in.gcount()));
  std::string_view kopf(anfang);
  if (kopf.starts_with(kByteOrderMark)) kopf.remove_prefix(kByteOrderMark.size());
  const size_t ende = kopf.find_first_of("\r\n");
  if (ende == std::string_view::npos) return false;
  kopf = kopf.substr(0, ende);
  for (const char trenner : kTrennzeichen) {
    if (kopf == Kopf(trenner)) return true;
  }
  return false;
}

}  // namespace tilvendo
