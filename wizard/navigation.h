// How the wizard moves between its pages: the next page of every page, the detour
// through the information page, the way back to the overview and the questions asked
// before the program ends. Both the Qt pages and the tests use exactly these rules.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/translate.h"
#include "wizard/seiten.h"

namespace tilvendo::wizard {

// The shell's navigation state.
struct Navigation {
  // The user came from the overview to correct one section; the next "weiter" leads back.
  bool ZurUebersicht = false;
  // Page to return to when the information page is left; −1 before it was ever opened.
  int32_t InfoRueckkehr = -1;
};

// The page that "weiter" leads to from page `aktuell`: the overview while ZurUebersicht is
// set, else 1→2→3→4→5→7, 6→7, 7→6, and 0 (no page) from any other page.
uint16_t NextPage(const Navigation& navigation, int aktuell);

// The information page remembers where it was opened and returns there.
uint16_t InfoOeffnen(Navigation& navigation, int aktuell);
uint16_t InfoVerlassen(const Navigation& navigation);

// The question asked when a page asked to end the program.
enum class Ausstiegsfrage {
  WirklichVerlassen,  // nothing unsaved: yes / no
  ErgebnisSpeichern,  // an unsaved result: yes / no / cancel
};

inline constexpr std::string_view kFrageWirklichVerlassen =
    N_("Wollen Sie das Programm wirklich verlassen ?");
inline constexpr std::string_view kFrageErgebnisSpeichern =
    N_("Wollen Sie das Ergebnis speichern, bevor Sie das Programm verlassen ?");

Ausstiegsfrage AusstiegsfrageWaehlen(uint8_t ergebnisGespeichert);
std::string_view Fragetext(Ausstiegsfrage frage);

enum class Antwort { Ja, Nein, Abbrechen };

// What the shell does with the answer.
enum class Ausstieg {
  Beenden,             // the program ends
  Bleiben,             // back to the page loop, the same page again
  SpeichernDannEnden,  // save; a cancelled save means Bleiben
};

Ausstieg AusstiegEntscheiden(Ausstiegsfrage frage, Antwort antwort);

}  // namespace tilvendo::wizard
