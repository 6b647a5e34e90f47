#include "wizard/info_seite.h"

#include <array>

#include "platform/paths.h"
#include "platform/translate.h"
#include "wizard/hilfetexte.h"

namespace tilvendo::wizard {
namespace {

// The README in the user's language as the installation lays it out:
// <prefix>/bin/nubo-tilvendo and <prefix>/share/doc/nubo-tilvendo/README.de.md; the
// English one where there is none in the user's language.
constexpr std::string_view kReadmeVomProgramm = N_("../share/doc/nubo-tilvendo/README.de.md");
constexpr std::string_view kReadmeEnglisch = "../share/doc/nubo-tilvendo/README.md";

// No mail addresses and no web site exist yet: their links stay hidden until a target
// is entered here. The program's description stands in for the web site.
constexpr std::array<Kontaktlink, 4> kKontaktlinks = {{
    {N_("Verbesserungen:"), LinkArt::Mail, "", ""},
    {N_("Fehler:"), LinkArt::Mail, "", ""},
    {N_("allgemein:"), LinkArt::Mail, "", ""},
    {N_("Website:"), LinkArt::Datei, kReadmeVomProgramm, N_("Beschreibung des Programms"),
     kReadmeEnglisch},
}};

constexpr std::string_view kMailSchema = "mailto:";
constexpr std::string_view kWebSchema = "https://";

}  // namespace

std::string InfoText(int eintrag) {
  if (eintrag < 0 || eintrag >= static_cast<int>(kInfoEintraege.size())) return {};
  std::string text;
  bool erste = true;
  for (const std::string& zeile : HelpText(kInfoArt, eintrag + 1)) {
    if (!erste) text += '\n';
    text += zeile;
    erste = false;
  }
  return text;
}

InfoSichtbarkeit InfoPanels(int eintrag) {
  const bool kontakt = eintrag == kInfoEintragKontakt;
  return InfoSichtbarkeit{!kontakt, kontakt};
}

std::span<const Kontaktlink> Kontaktlinks() {
  return kKontaktlinks;
}

std::optional<LinkZiel> LinkAufloesen(const Kontaktlink& link, const std::string& programmOrdner) {
  if (link.ziel.empty()) return std::nullopt;
  LinkZiel ziel;
  ziel.anzeige = link.anzeige.empty() ? std::string(link.ziel) : _(link.anzeige.data());
  switch (link.art) {
    case LinkArt::Mail:
      ziel.adresse = std::string(kMailSchema) + std::string(link.ziel);
      break;
    case LinkArt::Webseite:
      ziel.adresse = std::string(kWebSchema) + std::string(link.ziel);
      break;
    case LinkArt::Datei:
      ziel.adresse = programmOrdner + _(link.ziel.data());
      if (!FileExists(ziel.adresse) && !link.ersatz.empty()) {
        ziel.adresse = programmOrdner + std::string(link.ersatz);
      }
      if (!FileExists(ziel.adresse)) return std::nullopt;
      ziel.lokaleDatei = true;
      break;
  }
  return ziel;
}

}  // namespace tilvendo::wizard
