// Phases 3 and 4 together: the matching and, unless it was cancelled, the composing.
#pragma once

#include "engine/arbeitsgruppe.h"
#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "engine/zusammenstellen.h"

namespace tilvendo {

// Gives `plan` the stored signatures of its photos (from the job's tile list, by file) and
// of its cells (from the job's grid), so that composing can put the nearest readable photo
// where a placed one cannot be read. Leaves the plan without them when the grid is not the
// plan's or a placed photo has no signature.
void SignaturenMitgeben(const Auftrag& auftrag, Mosaikplan& plan);

// The placements become the plan of the run's mosaic, which is composed into `ziel`
// (MosaikZusammenstellen) with `threads` threads (0: one per core).
void MosaikBerechnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
                     const Zusammenstellziel& ziel = {}, unsigned threads = 0);

}  // namespace tilvendo
