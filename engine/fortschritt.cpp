#include "engine/fortschritt.h"

#include <cstdint>

#include "platform/clock.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr int32_t kFertigstellenMaximum = 100;
constexpr int64_t kProzent = 100;

}  // namespace

std::string DauerText(double tage) {
  const Dauerteile teile = DauerZerlegen(tage);
  std::string text;
  // Below an hour the line stays as short as it always was.
  if (teile.stunden > 0) text = Format(_("{} Std. "), teile.stunden);
  return text + Format(_("{} min. und {} sek."), teile.minuten, teile.sekunden);
}

std::string FertigZeile(int index, double dauer) {
  return _(kFortschrittTexte[static_cast<size_t>(index)].data()) + DauerText(dauer) + ")";
}

Fortschritt::Fortschritt(Auftrag& auftrag, Benutzer& benutzer)
    : auftrag_(auftrag), benutzer_(benutzer) {}

int32_t Fortschritt::StandardMaximum(int n) const {
  switch (n) {
    case kPhaseEinlesen:
    case kPhaseZusammenstellen:
      return auftrag_.BilderAnzahl.gesamt;
    case kPhaseVorbereiten:
    case kPhaseBerechnen:
      return static_cast<int32_t>(auftrag_.einstellungen.KachelnX) *
             static_cast<int32_t>(auftrag_.einstellungen.KachelnY);
    default:
      return kFertigstellenMaximum;
  }
}

void Fortschritt::PhaseAnzeigen(int n) {
  PhaseAnzeigen(n, StandardMaximum(n));
}

void Fortschritt::PhaseAnzeigen(int n, int32_t maximum) {
  position_ = 0;
  maximum_ = maximum;
  if (n <= kPhaseEinlesen) {
    zeilen_.clear();
  } else {
    while (static_cast<size_t>(n) > zeilen_.size() + 1) zeilen_.emplace_back();
    // The running line of the previous phase gives way to its finished line.
    zeilen_.erase(zeilen_.begin() + (n - 2));
    const int fertig = n + 3;
    const Zeitspanne& vorige = auftrag_.PhasenZeiten[static_cast<Phase>(n - 2)];
    zeilen_.push_back(FertigZeile(fertig, vorige.ende - vorige.beginn));
  }
  if (n < kPhaseFertigstellen) zeilen_.emplace_back(_(kFortschrittTexte[static_cast<size_t>(n - 1)].data()));
  benutzer_.FortschrittsZeilen(zeilen_);
  benutzer_.Fortschrittsbalken(position_, maximum_);
}

void Fortschritt::FortschrittAnzeigen(int32_t k) {
  // A phase without units of work (no pictures, an empty grid) has a maximum of 0; the
  // gauge then stays where it is instead of dividing by zero.
  if (maximum_ > 0 && (static_cast<int64_t>(k) - position_) * kProzent >= maximum_) {
    position_ = k;
    benutzer_.Fortschrittsbalken(position_, maximum_);
  }
  benutzer_.EreignisseVerarbeiten();
}

}  // namespace tilvendo
