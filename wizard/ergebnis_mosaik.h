// The last run's mosaic as the result, overview and save pages see it: held whole in
// `MosaikBild`, or, in large format, only as its placements with a screen copy, composed
// band by band whenever it is saved.
#pragma once

#include "engine/auftrag.h"
#include "platform/rect.h"
#include "wizard/lupe.h"

namespace tilvendo::wizard {

// Whether there is a result to show and save: a mosaic held whole, or a large-format
// one with its screen copy.
bool ErgebnisVorhanden(const Auftrag& auftrag);

// The size of the result in pixels (0 × 0 without one).
Size ErgebnisGroesse(const Auftrag& auftrag);

// The grid of the result: the run's tile counts and the tile size in result pixels.
Mosaikraster ErgebnisRaster(const Auftrag& auftrag);

}  // namespace tilvendo::wizard
