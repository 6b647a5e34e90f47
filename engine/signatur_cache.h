// Reading and writing signatures through an album's signature cache.
#pragma once

#include <optional>

#include "albums/signaturdatei.h"
#include "engine/kachelsignatur.h"
#include "engine/signatur.h"

namespace tilvendo {

// The next signature of an open cache: nothing at its clean end. Throws
// SignaturBeschaedigt (and marks the cache damaged) when the file ends inside a
// signature or its records are inconsistent.
std::optional<Kachelsignatur> SignaturLesen(Signaturdatei& datei, int formanalyse);
// Appends the records of one signature. A failed write is remembered by the cache and
// reported when it is closed.
void SignaturSchreiben(Signaturdatei& datei, const Kachelsignatur& signatur, int formanalyse);

}  // namespace tilvendo
