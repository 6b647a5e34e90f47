#include "engine/platzierungsliste.h"

#include <array>
#include <fstream>
#include <stdexcept>

#include "engine/ausgabeziel.h"
#include "platform/atomic_file.h"
#include "platform/utf8.h"

namespace tilvendo {
namespace {

constexpr char kTrenner = ';';
constexpr std::string_view kMussQuotiert = ";\"\r\n";
constexpr char kAnfuehrung = '"';
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The heads a list of this program began with, also before it was separated by semicolons.
constexpr std::array<std::string_view, 2> kBekannteKoepfe = {kPlatzierungslisteKopf,
                                                             "Spalte,Zeile,Foto"};

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
  if (!auftrag.MosaikPlan) throw std::logic_error("Es gibt noch kein Mosaik.");
  const Mosaikplan& plan = *auftrag.MosaikPlan;
  std::string text = std::string(kByteOrderMark) + std::string(kPlatzierungslisteKopf) + "\n";
  for (int32_t y = 1; y <= plan.KachelnY(); ++y) {
    for (int32_t x = 1; x <= plan.KachelnX(); ++x) {
      const std::string* foto = plan.Foto(x, y);
      text += std::to_string(x) + kTrenner + std::to_string(y) + kTrenner +
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
  for (const std::string_view bekannt : kBekannteKoepfe) {
    if (kopf == bekannt) return true;
  }
  return false;
}

}  // namespace tilvendo
