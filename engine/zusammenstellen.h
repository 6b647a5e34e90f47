// Phase 4 of a run and the finishing step: every picture chosen by the matching step is
// loaded once, scaled to the tile size and copied into all cells that show it; then the
// mosaic is reduced to the screen-sized copy the result page shows.
#pragma once

#include "engine/arbeitsgruppe.h"
#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "engine/verwendungsliste.h"

namespace tilvendo {

// Composes `MosaikBild` (already of the mosaic's size) from `verwendung`. Announces
// phase 4 with the number of distinct files as gauge maximum and reports each file. The
// files are decoded in parallel, each exactly once; a file that cannot be loaded leaves
// its cells black and is counted in `UnlesbareBilder`; `SchwarzeKacheln` counts the
// cells that got no picture, those the matching left empty included.
// A cancel stops it before the next block of files. Sets PhasenZeiten[7], [3] and [8].
void MosaikZusammenstellen(Auftrag& auftrag, Fortschritt& fortschritt,
                           const Verwendungsliste& verwendung, Arbeitsgruppe& gruppe);

// Makes `AnzeigeBild`, the mosaic fitted into AnzeigeMaxBreite × AnzeigeMaxHoehe, and
// sets `ErgebnisFertig`: false for a missing mosaic or one of zero area. A large-format
// mosaic (`MosaikInBaendern()`) is left as its composing made it.
void MosaikFertigstellen(Auftrag& auftrag);

}  // namespace tilvendo
