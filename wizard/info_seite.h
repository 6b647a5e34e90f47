// The information page without Qt: the list of its texts, which panels each entry
// shows, and the contact links with their targets.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/translate.h"

namespace tilvendo::wizard {

// The entries of the list "Überblick:"; entry n (from 0) shows information text n + 1.
inline constexpr std::array<std::string_view, 6> kInfoEintraege = {
    N_("allgemeine Informationen zum Programm"),
    N_("Rückmeldungen durch Nutzer"),
    N_("Funktionsweise des Programms"),
    N_("Wie geht es weiter?"),
    N_("Kontakt"),
    N_("Tips und Tricks zu Tilvendo")};

inline constexpr int kInfoEintragKontakt = 4;

// The text of list entry `eintrag`, its lines joined by "\n"; empty for no entry.
std::string InfoText(int eintrag);

// Which of the page's panels an entry shows: the program's icon, or instead of it the
// contact panel.
struct InfoSichtbarkeit {
  bool bild = true;
  bool kontakt = false;
  friend bool operator==(const InfoSichtbarkeit&, const InfoSichtbarkeit&) = default;
};
InfoSichtbarkeit InfoPanels(int eintrag);

enum class LinkArt {
  Mail,      // an address the mail program opens
  Webseite,  // a site the browser opens
  Datei,     // a file relative to the program's folder, opened by the desktop
};

// One link of the contact panel.
struct Kontaktlink {
  std::string_view vorText;  // the label before the link
  LinkArt art;
  std::string_view ziel;         // address, site or relative file; empty while there is none
  std::string_view anzeige;      // the link's text; empty: the target itself
  std::string_view ersatz = {};  // a file to open when the file `ziel` names is missing
};

// The contact panel's links, in the order they are shown: the one place that knows the
// program's addresses.
std::span<const Kontaktlink> Kontaktlinks();

// Where a link leads, resolved.
struct LinkZiel {
  std::string adresse;  // a URL, or for a file its full path
  bool lokaleDatei = false;
  std::string anzeige;
  friend bool operator==(const LinkZiel&, const LinkZiel&) = default;
};

// A link's target; none when it has no target or its file is not where the
// installation puts it (`programmOrdner`: the executable's folder with trailing "/").
// A link without a target is not shown.
std::optional<LinkZiel> LinkAufloesen(const Kontaktlink& link, const std::string& programmOrdner);

}  // namespace tilvendo::wizard
