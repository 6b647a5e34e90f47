#include "wizard/navigation.h"

#include "platform/translate.h"

namespace tilvendo::wizard {

uint16_t NextPage(const Navigation& navigation, int aktuell) {
  if (navigation.ZurUebersicht) return Nummer(Seite::Uebersicht);
  switch (static_cast<Seite>(aktuell)) {
    case Seite::Vorlage:
      return Nummer(Seite::Zielgroesse);
    case Seite::Zielgroesse:
      return Nummer(Seite::Kachelung);
    case Seite::Kachelung:
      return Nummer(Seite::Alben);
    case Seite::Alben:
      return Nummer(Seite::Erweitert);
    case Seite::Erweitert:
    case Seite::Ergebnis:
      return Nummer(Seite::Uebersicht);
    case Seite::Uebersicht:
      return Nummer(Seite::Ergebnis);
    default:
      return Nummer(Seite::Keine);
  }
}

uint16_t InfoOeffnen(Navigation& navigation, int aktuell) {
  navigation.InfoRueckkehr = aktuell;
  return Nummer(Seite::Information);
}

uint16_t InfoVerlassen(const Navigation& navigation) {
  // Opened before any page remembered itself: the first page is the safe way back.
  if (navigation.InfoRueckkehr < 0) return Nummer(Seite::Vorlage);
  return static_cast<uint16_t>(navigation.InfoRueckkehr);
}

Ausstiegsfrage AusstiegsfrageWaehlen(uint8_t ergebnisGespeichert) {
  return ergebnisGespeichert == 1 ? Ausstiegsfrage::WirklichVerlassen
                                  : Ausstiegsfrage::ErgebnisSpeichern;
}

std::string_view Fragetext(Ausstiegsfrage frage) {
  return _(frage == Ausstiegsfrage::WirklichVerlassen ? kFrageWirklichVerlassen.data()
                                                      : kFrageErgebnisSpeichern.data());
}

Ausstieg AusstiegEntscheiden(Ausstiegsfrage frage, Antwort antwort) {
  if (antwort == Antwort::Abbrechen) return Ausstieg::Bleiben;
  if (frage == Ausstiegsfrage::WirklichVerlassen) {
    return antwort == Antwort::Ja ? Ausstieg::Beenden : Ausstieg::Bleiben;
  }
  return antwort == Antwort::Ja ? Ausstieg::SpeichernDannEnden : Ausstieg::Beenden;
}

}  // namespace tilvendo::wizard
