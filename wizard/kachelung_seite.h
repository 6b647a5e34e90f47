// The tiling page without Qt: the count label, the two choices of the shape analysis and
// when the page may be left. The bounds are the engine's (`KachelGrenzen`), the grid
// lines those of the preview drawings (`RasterLinien`).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/translate.h"

namespace tilvendo::wizard {

// Tiles across and down before the user chose any.
inline constexpr int32_t kStartKacheln = 25;

// The two choices of the "Formanalyse" group and the levels they stand for.
inline constexpr std::array<const char*, 2> kFormanalyseWahl = {N_("keine Formanalyse"),
                                                                N_("Formanalyse eingeschaltet")};
inline constexpr std::array<uint8_t, 2> kFormanalyseStufen = {1, 5};
// The choice selected at start.
inline constexpr int kStartFormanalyseWahl = 1;

// "10 x 10 Kacheln, 100 insgesamt".
std::string KachelAnzahlText(int32_t kachelnX, int32_t kachelnY);

// The choice that shows `stufe`; none for the levels the group does not offer.
std::optional<int> FormanalyseWahl(uint8_t stufe);
// The level a choice stands for; `bisher` when no choice is selected.
uint8_t FormanalyseStufe(std::optional<int> wahl, uint8_t bisher);

// The note for a count typed beyond its bounds: "höchstens 300 Kacheln, damit jede Kachel
// mindestens 4 Pixel breit bleibt" (across; "hoch" down), "höchstens 999 Kacheln" at the
// largest count, "mindestens 1 Kachel"; empty within the bounds.
std::string KachelHinweis(int64_t getippt, int32_t grenze, bool quer);

// The page may be left when there is at least one tile (and a next page).
bool KachelungBereit(int32_t kachelnX, int32_t kachelnY);

}  // namespace tilvendo::wizard
