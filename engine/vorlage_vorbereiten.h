// Phase 2 of a run: the template is reduced to a small working picture in which every
// cell covers the same whole number of pixels, and every cell of the grid gets a
// signature of the same kind the tile pictures got, so that cells and pictures can be
// compared directly.
#pragma once

#include <cstdint>

#include "engine/auftrag.h"
#include "engine/fortschritt.h"

namespace tilvendo {

// The template is reduced so that it is always more than this many pixels high.
inline constexpr int kVorlageMindesthoehe = 60;

// Pixels of the working picture per sub-cell and direction:
// Trunc(60 / (L × KachelnY)) + 1, the same for both directions.
int32_t VorlagenTeilkante(int formanalyse, int kachelnY);

// Measures every cell of `auftrag.einstellungen.Raster` from `auftrag.VorlageBild`,
// column by column; stops at the next cell when `Abbruch` is set. Sets the times of the
// phase Vorbereiten.
void VorlageVorbereiten(Auftrag& auftrag, Fortschritt& fortschritt);

}  // namespace tilvendo
