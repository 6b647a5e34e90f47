// Phases 3 and 4 together: the matching and, unless it was cancelled, the composing.
#pragma once

#include "engine/arbeitsgruppe.h"
#include "engine/auftrag.h"
#include "engine/fortschritt.h"

namespace tilvendo {

void MosaikBerechnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe);

}  // namespace tilvendo
