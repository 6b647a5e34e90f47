#include "wizard/hilfetexte.h"

#include "platform/translate.h"
#include "wizard/hilfetexte_inhalt.h"

namespace tilvendo::wizard {
namespace {

constexpr int32_t kSeitenFaktor = 1000;
constexpr int32_t kTeilFaktor = 100;
constexpr int32_t kArtFaktor = 10;
constexpr int32_t kKeinSchluessel = -1;
constexpr char kZeilentrenner = '^';

}  // namespace

int32_t HilfeSchluessel(int32_t art, int32_t seite, int32_t teil, int32_t sprache) {
  if (art < 1 || seite < 1 || teil < 1 || sprache < 1) return kKeinSchluessel;
  return seite * kSeitenFaktor + teil * kTeilFaktor + art * kArtFaktor + sprache;
}

std::optional<std::string_view> HilfeRessource(int32_t schluessel) {
  for (const HilfeEintrag& eintrag : HilfeInhalt()) {
    if (eintrag.schluessel == schluessel) return _(eintrag.text.data());
  }
  return std::nullopt;
}

std::vector<std::string> HilfeZeilenTeilen(std::string_view text) {
  std::vector<std::string> zeilen;
  size_t anfang = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == kZeilentrenner) {
      zeilen.emplace_back(text.substr(anfang, i - anfang));
      anfang = i + 1;
    }
  }
  if (anfang < text.size()) zeilen.emplace_back(text.substr(anfang));
  return zeilen;
}

std::vector<std::string> HelpText(int32_t art, int32_t seite, int32_t sprache) {
  std::vector<std::string> zeilen;
  // Parts 1..9 fit the key scheme; reading stops at the first missing or empty one.
  constexpr int32_t kMaxTeile = 9;
  for (int32_t teil = 1; teil <= kMaxTeile; ++teil) {
    const std::optional<std::string_view> text =
        HilfeRessource(HilfeSchluessel(art, seite, teil, sprache));
    if (!text || text->empty()) break;
    for (std::string& zeile : HilfeZeilenTeilen(*text)) zeilen.push_back(std::move(zeile));
  }
  return zeilen;
}

}  // namespace tilvendo::wizard
