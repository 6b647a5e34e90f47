// The small pure routines that turn the chosen method and pattern handling into the
// numbers the matching run works with, and tell how many distinct pictures a job needs.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "albums/bildzahlen.h"
#include "engine/einstellungen.h"
#include "platform/translate.h"

namespace tilvendo {

// List texts in the order of their values.
inline constexpr std::array<std::string_view, 4> kBerechnungsarten = {
    N_("Standard"), N_("Schnell"), N_("Gründlich"), N_("Optimal")};
inline constexpr std::array<std::string_view, 4> kMusterbildungen = {
    N_("Standard"), N_("ignorieren"), N_("abschwächen"), N_("unterdrücken")};

// Number of distinct pictures the job needs: (minAbstand + Musterabstand + 1)².
int32_t BenoetigteBilder(const Einstellungen& einstellungen);

// How many distinct pictures a job can be made of. The start refuses a job outside
// these bounds, and the pages show them, so both count by this one rule.
inline constexpr int64_t kKeineObergrenze = -1;
struct Bilderbedarf {
  int64_t mindestens = 0;  // for the distance rule and for the usage cap
  // With every photo at least once: one per cell at most.
  int64_t hoechstens = kKeineObergrenze;
};

Bilderbedarf BilderbedarfErmitteln(const Einstellungen& einstellungen);

// The largest minimum distance the available pictures allow for the current
// Musterabstand (0 when not even 1 fits). The caller's record is not changed.
int32_t MaxAbstand(const Bildzahlen& anzahl, const Einstellungen& einstellungen);

// Applies the method table: Helligkeitsfenster, Kandidatenzahl and Berechnungsart.
void SetzeBerechnungsart(Einstellungen& einstellungen, int32_t verfuegbar, uint8_t methode);

// Applies the pattern table: Musterabstand and Musterbildung.
void SetzeMusterbildung(Einstellungen& einstellungen, uint8_t modus);

// The common zoom of the target size page while the aspect ratio is held.
int32_t ZoomAngleichen(bool vergroessert, int32_t a, int32_t b, int32_t maxA, int32_t maxB);

inline int32_t Max(int32_t a, int32_t b) {
  return a > b ? a : b;
}
inline int32_t Min(int32_t a, int32_t b) {
  return a < b ? a : b;
}

}  // namespace tilvendo
