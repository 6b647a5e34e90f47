// Photos that could not be read when the mosaic was composed, although their album's
// signature cache still lists them (emptied by a cloud sync, moved, deleted): the caches
// of their albums are marked for rebuilding, so that the next run reads those albums
// again and leaves such photos out before it matches, instead of placing them again.
#pragma once

#include <string>
#include <vector>

#include "albums/galerie.h"
#include "engine/auftrag.h"

namespace tilvendo {

class Benutzer;

// Marks, for the way of measuring and the shape analysis of `auftrag`, the cache of every
// chosen album of `albenliste` (from its third entry on) whose picture list holds one of
// `dateien`. The cache file itself is left as it is; only its catalogue key says
// "rebuild". Returns the messages of caches that could not be marked (German).
std::vector<std::string> VeralteteCachesMarkieren(const Auftrag& auftrag,
                                                  std::vector<TGalerieGlobal>& albenliste,
                                                  const std::vector<std::string>& dateien,
                                                  Benutzer& benutzer);

}  // namespace tilvendo
