// Phase 1 of a run: every picture of the chosen albums becomes a signature in the tile
// list, read from the album's signature cache or measured from the picture itself (and
// then written to a new cache). The file names go to `Dateiliste`; a picture's number
// is its position there.
#pragma once

#include <vector>

#include "albums/galerie.h"
#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "platform/benutzer.h"

namespace tilvendo {

struct EinleseOptionen {
  // Threads that decode and measure pictures; 0: one per core. The result does not
  // depend on it. With the picture log on, pictures are read one after the other on
  // the run's thread, so that the log always ends with the picture being read.
  unsigned arbeiter = 0;
};

// Reads the albums of `albenliste` from its third entry on (the first two are the
// summary entries). Polls `auftrag.Abbruch` before every picture and reports each one
// to `fortschritt`; sets the times of the phase Einlesen. Caches and picture lists that cannot
// be written do not stop the run: the album keeps what was read, stays marked for
// rebuilding, and one warning after the phase names the files. An album that another
// program changed while the run read it (a folder added, renamed, deleted) is not saved:
// that change stays, this run's cache work for the album is dropped, and the warning
// names the album.
void BilderEinlesen(Auftrag& auftrag, std::vector<TGalerieGlobal>& albenliste,
                    Fortschritt& fortschritt, Benutzer& benutzer,
                    const EinleseOptionen& optionen = {});

}  // namespace tilvendo
