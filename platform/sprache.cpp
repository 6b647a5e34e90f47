#include "platform/sprache.h"

#include <libintl.h>

#include <array>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/paths.h"
#include "platform/translate.h"

#ifndef TILVENDO_SPRACHEN
#define TILVENDO_SPRACHEN ""
#endif

namespace tilvendo {
namespace {

// The variables that name the language of messages, in the order they count.
constexpr std::array<const char*, 4> kSprachvariablen = {"LANGUAGE", "LC_ALL", "LC_MESSAGES",
                                                         "LANG"};
constexpr std::string_view kSprachliste = "LANGUAGE";
constexpr char kListentrenner = ':';
constexpr char kKatalogtrenner = ',';
// A language in a locale name is two or three small letters ("de", "nds").
constexpr size_t kKuerzesteSprache = 2;
constexpr size_t kLaengsteSprache = 3;

// The header of a catalogue: seven 32-bit words, then the tables of original and
// translated texts (a length and an offset per text) and the hash table.
constexpr uint32_t kKatalogKennung = 0x950412de;
constexpr uint32_t kKatalogKennungGetauscht = 0xde120495;
constexpr size_t kKopfWorte = 7;
constexpr size_t kWortBytes = 4;
constexpr size_t kTexteintragBytes = 2 * kWortBytes;
// Far above any catalogue of the program; a larger file is no catalogue of ours.
constexpr std::streamoff kGroessterKatalog = std::streamoff{64} << 20;

// The language of a locale name: what comes before territory, codeset and modifier
// ("de_AT.UTF-8@euro" → "de"); empty when that is no language ("C", "POSIX", "Deutsch").
std::string_view Sprachteil(std::string_view ortsname) {
  const std::string_view sprache = ortsname.substr(0, ortsname.find_first_of("_.@"));
  if (sprache.size() < kKuerzesteSprache || sprache.size() > kLaengsteSprache) return {};
  for (char c : sprache) {
    if (c < 'a' || c > 'z') return {};
  }
  return sprache;
}

std::vector<std::string_view> KatalogspracheListe() {
  std::vector<std::string_view> liste;
  std::string_view rest = TILVENDO_SPRACHEN;
  while (!rest.empty()) {
    const size_t trenner = rest.find(kKatalogtrenner);
    if (trenner != 0) liste.push_back(rest.substr(0, trenner));
    if (trenner == std::string_view::npos) break;
    rest.remove_prefix(trenner + 1);
  }
  return liste;
}

uint32_t Wort(const std::vector<char>& daten, size_t stelle, bool getauscht) {
  uint32_t wort = 0;
  std::memcpy(&wort, daten.data() + stelle, kWortBytes);
  return getauscht ? __builtin_bswap32(wort) : wort;
}

// Whether `anzahl` entries of `groesse` bytes from `stelle` on lie within `laenge` bytes.
bool Innerhalb(uint64_t stelle, uint64_t anzahl, uint64_t groesse, uint64_t laenge) {
  return stelle <= laenge && anzahl <= (laenge - stelle) / groesse;
}

// Every text of a table within the file and ended by a zero byte, as gettext reads it.
bool TexteGueltig(const std::vector<char>& daten, uint32_t tabelle, uint32_t anzahl,
                  bool getauscht) {
  for (uint32_t i = 0; i < anzahl; ++i) {
    const size_t eintrag = tabelle + size_t{i} * kTexteintragBytes;
    const uint64_t laenge = Wort(daten, eintrag, getauscht);
    const uint64_t stelle = Wort(daten, eintrag + kWortBytes, getauscht);
    if (stelle + laenge >= daten.size() || daten[stelle + laenge] != '\0') return false;
  }
  return true;
}

const char* ProzessUmgebung(const char* name) {
  return std::getenv(name);
}

bool IstCOrt(const char* ort) {
  return ort == nullptr || std::strcmp(ort, "C") == 0 || std::strcmp(ort, "POSIX") == 0;
}

}  // namespace

std::span<const std::string_view> Katalogsprachen() {
  static const std::vector<std::string_view> kListe = KatalogspracheListe();
  return kListe;
}

std::string SpracheWaehlen(const Umgebungsleser& umgebung,
                           std::span<const std::string_view> kataloge) {
  for (const char* variable : kSprachvariablen) {
    const char* wert = umgebung(variable);
    if (wert == nullptr || *wert == '\0') continue;
    const bool liste = variable == kSprachliste;
    std::string_view rest = wert;
    while (true) {
      const size_t trenner = liste ? rest.find(kListentrenner) : std::string_view::npos;
      const std::string_view sprache = Sprachteil(rest.substr(0, trenner));
      if (sprache == kQuellsprache) return std::string(kQuellsprache);
      for (std::string_view katalog : kataloge) {
        if (!sprache.empty() && sprache == katalog) return std::string(sprache);
      }
      if (trenner == std::string_view::npos) break;
      rest.remove_prefix(trenner + 1);
    }
    return std::string(kStandardsprache);
  }
  return std::string(kStandardsprache);
}

bool KatalogGueltig(const std::string& pfad) {
  std::ifstream datei(pfad, std::ios::binary | std::ios::ate);
  if (!datei) return false;
  const std::streamoff groesse = datei.tellg();
  if (groesse < static_cast<std::streamoff>(kKopfWorte * kWortBytes) ||
      groesse > kGroessterKatalog) {
    return false;
  }
  std::vector<char> daten(static_cast<size_t>(groesse));
  datei.seekg(0);
  if (!datei.read(daten.data(), groesse)) return false;

  const uint32_t kennung = Wort(daten, 0, false);
  if (kennung != kKatalogKennung && kennung != kKatalogKennungGetauscht) return false;
  const bool getauscht = kennung == kKatalogKennungGetauscht;
  // Revision 0: the catalogues msgfmt writes without system-dependent texts.
  if (Wort(daten, kWortBytes, getauscht) != 0) return false;
  const uint32_t anzahl = Wort(daten, 2 * kWortBytes, getauscht);
  const uint32_t originale = Wort(daten, 3 * kWortBytes, getauscht);
  const uint32_t uebersetzungen = Wort(daten, 4 * kWortBytes, getauscht);
  const uint32_t hashGroesse = Wort(daten, 5 * kWortBytes, getauscht);
  const uint32_t hashTabelle = Wort(daten, 6 * kWortBytes, getauscht);
  const uint64_t laenge = daten.size();
  if (!Innerhalb(originale, anzahl, kTexteintragBytes, laenge) ||
      !Innerhalb(uebersetzungen, anzahl, kTexteintragBytes, laenge) ||
      (hashGroesse > 0 && !Innerhalb(hashTabelle, hashGroesse, kWortBytes, laenge))) {
    return false;
  }
  return TexteGueltig(daten, originale, anzahl, getauscht) &&
         TexteGueltig(daten, uebersetzungen, anzahl, getauscht);
}

std::string KatalogOrdner() {
  return ExecutableFolder() + "../share/locale/";
}

std::string KatalogDatei(const std::string& katalogOrdner, std::string_view sprache) {
  return MitSchraegstrich(katalogOrdner) + std::string(sprache) + "/LC_MESSAGES/" + kTextdomain +
         ".mo";
}

std::string SpracheEinrichten(const Umgebungsleser& umgebung, const std::string& katalogOrdner) {
  std::string sprache = SpracheWaehlen(umgebung, Katalogsprachen());
  if (sprache != kQuellsprache && !KatalogGueltig(KatalogDatei(katalogOrdner, sprache))) {
    sprache = std::string(kQuellsprache);
  }
  // gettext ignores LANGUAGE under the C locale, and the locale the environment names may
  // not be installed; C.UTF-8 keeps C's rules and lets LANGUAGE choose the catalogue.
  std::setlocale(LC_MESSAGES, "");
  if (IstCOrt(std::setlocale(LC_MESSAGES, nullptr))) std::setlocale(LC_MESSAGES, "C.UTF-8");
  ::setenv("LANGUAGE", sprache.c_str(), 1);
  ::bindtextdomain(kTextdomain, katalogOrdner.c_str());
  ::bind_textdomain_codeset(kTextdomain, "UTF-8");
  // gettext keeps the translations it has found for the locale; naming the default domain
  // anew is its way of being told that the environment changed.
  ::textdomain(::textdomain(nullptr));
  return sprache;
}

std::string SpracheEinrichten() {
  return SpracheEinrichten(ProzessUmgebung, KatalogOrdner());
}

std::string Dezimalzeichen() {
  return P_("Dezimalzeichen", ",");
}

std::string Festkomma(int64_t wert, int stellen) {
  constexpr uint64_t kZehn = 10;
  uint64_t teiler = 1;
  for (int i = 0; i < stellen; ++i) teiler *= kZehn;
  const uint64_t betrag = wert < 0 ? 0 - static_cast<uint64_t>(wert) : static_cast<uint64_t>(wert);
  std::string text = (wert < 0 ? "-" : "") + std::to_string(betrag / teiler);
  if (stellen <= 0) return text;
  const std::string nachkomma = std::to_string(betrag % teiler);
  return text + Dezimalzeichen() + std::string(static_cast<size_t>(stellen) - nachkomma.size(), '0') +
         nachkomma;
}

}  // namespace tilvendo
