// Phases 3 and 4 together: the matching and, unless it was cancelled, the composing.
#pragma once

#include "engine/arbeitsgruppe.h"
#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "engine/grossformat.h"

namespace tilvendo {

// The placements become the job's `MosaikPlan`. A large-format job's mosaic goes band by
// band to `bandziel` (MosaikInBaendernZusammenstellen) with `threads` workers composing
// ahead (0: one per core); any other is composed whole into `MosaikBild`.
void MosaikBerechnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
                     const Bandziel& bandziel = {}, unsigned threads = 0);

}  // namespace tilvendo
