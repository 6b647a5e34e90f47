// Phases 3 and 4 together: the matching and, unless it was cancelled, the composing.
#pragma once

#include "engine/arbeitsgruppe.h"
#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "engine/zusammenstellen.h"

namespace tilvendo {

// The placements become the plan of the run's mosaic, which is composed into `ziel`
// (MosaikZusammenstellen) with `threads` threads (0: one per core).
void MosaikBerechnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
                     const Zusammenstellziel& ziel = {}, unsigned threads = 0);

}  // namespace tilvendo
