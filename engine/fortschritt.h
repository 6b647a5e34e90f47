// The progress display of a computation run: the list of phase lines and the gauge.
// Every phase announces itself with PhaseAnzeigen and reports each unit of work with
// FortschrittAnzeigen; both go to the user through `Benutzer`, and every report also
// lets the user interface handle its pending events (that is how a click on
// "abbrechen" reaches the running phase).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/auftrag.h"
#include "platform/benutzer.h"
#include "platform/translate.h"

namespace tilvendo {

// Phase numbers as the progress panel counts them.
inline constexpr int kPhaseEinlesen = 1;
inline constexpr int kPhaseVorbereiten = 2;
inline constexpr int kPhaseBerechnen = 3;
inline constexpr int kPhaseZusammenstellen = 4;
inline constexpr int kPhaseFertigstellen = 5;

// The running lines of the five phases (index 0..4) and the literal pieces of the
// finished lines (index 5..9); a finished line is its prefix, the duration (DauerText)
// and ")".
inline constexpr std::array<std::string_view, 10> kFortschrittTexte = {
    N_("Einlesen der Bilddateien ..."),
    N_("Vorbereiten der Vorlage ..."),
    N_("Berechnen des Mosaiks ..."),
    N_("Zusammenstellen des Mosaiks ..."),
    N_("Mosaik fertigstellen ..."),
    N_("Einlesen der Bilddateien ... fertig ("),
    N_("Vorbereiten der Vorlage ... fertig ("),
    N_("Berechnen des Mosaiks ... fertig ("),
    N_("Zusammenstellen des Mosaiks ... fertig ("),
    N_("Mosaik fertiggestellt (")};

// A duration in days as the progress lines and the overview show it: "15 min. und 30 sek.",
// from an hour on with the hours before: "1 Std. 15 min. und 30 sek.".
std::string DauerText(double tage);

// The finished line of text `index` (5..9) for a duration in days.
std::string FertigZeile(int index, double dauer);

class Fortschritt {
 public:
  Fortschritt(Auftrag& auftrag, Benutzer& benutzer);

  // Announces phase n (1..5) with the gauge maximum of that phase: the number of chosen
  // pictures for 1 and 4, the number of cells for 2 and 3, 100 for 5.
  void PhaseAnzeigen(int n);
  // The same with an explicit gauge maximum.
  void PhaseAnzeigen(int n, int32_t maximum);

  // The running count k of the current phase. The gauge moves only in steps of at least
  // one per cent of its maximum; the events are processed on every call.
  void FortschrittAnzeigen(int32_t k);

  const std::vector<std::string>& Zeilen() const { return zeilen_; }
  int32_t Position() const { return position_; }
  int32_t Maximum() const { return maximum_; }

 private:
  int32_t StandardMaximum(int n) const;

  Auftrag& auftrag_;
  Benutzer& benutzer_;
  std::vector<std::string> zeilen_;
  int32_t position_ = 0;
  int32_t maximum_ = 0;
};

}  // namespace tilvendo
