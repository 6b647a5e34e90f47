// Large format: mosaics far beyond the usual 2,500 pixels, composed band by band from
// the placements of the matching and written as they are composed, so that the whole
// mosaic never exists in memory.
//
// The wizard and the command line share these steps: phase 4 of a large-format run
// (the screen copy, or the file itself when the command line names it before the run)
// and saving the result later in bands, with progress and cancel.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "engine/mosaik_baender.h"
#include "engine/mosaikplan.h"
#include "pictures/speichern.h"
#include "pictures/vorlage_im_mosaik.h"
#include "platform/free_space.h"

namespace tilvendo {

// How the template is scaled when it is blended into a mosaic of this size: as the
// whole-picture blend does within the usual bound (a large-format mosaic of that size
// is the very same picture), smoothly beyond it.
Vorlagenskalierung SkalierungFuer(int32_t breite, int32_t hoehe);

// The size in pixels the job's grid and tile size give a mosaic; that of a mosaic made
// is its plan's (Mosaikplan::Mosaik).
Size Mosaikgroesse(const Einstellungen& einstellungen);

// Why a large-format job cannot be composed, or nothing: a single tile row too large
// for the memory (kMaxKachelzeilenBytes).
std::optional<std::string> GrossformatWarnung(const Einstellungen& einstellungen);

// What a save in bands reports to and asks of its front end. All calls arrive on the
// saving thread.
struct Speicherbegleitung {
  // Rows handed to the writer so far, of all it will read (twice the height for an
  // 8-bit BMP, which is read once to choose its palette).
  std::function<void(int32_t fertig, int32_t gesamt)> fortschritt;
  // Set (from any thread) to stop within one band; the old file then stays as it was.
  const std::atomic<bool>* abbruch = nullptr;
  FreeSpaceQuery platz;  // FreeSpace unless a test answers
  unsigned threads = 0;  // workers composing ahead; 0: one per core
};

// What composing the bands found (Mosaikbaender).
struct Bandbilanz {
  int32_t unlesbareBilder = 0;
  int32_t schwarzeKacheln = 0;
  int32_t erneutGelesen = 0;
};

// Writes the mosaic of `plan` with the job's template blended in at `blendwert`, band by
// band, into the file `optionen` name (atomically, with the plan's print resolution
// unless `optionen` carry one). Before anything is composed: false for an unknown format
// (nothing written), WriteError for a picture too large for a BMP and for too little
// free space (both figures named). SchreibenAbgebrochen after a cancel. `bilanz` gets
// what composing found, also when it raises.
bool BaenderSpeichern(const Auftrag& auftrag, const Mosaikplan& plan, uint8_t blendwert,
                      const SpeicherOptionen& optionen, const Speicherbegleitung& begleitung,
                      Bandbilanz& bilanz);

// Where phase 4 of a large-format run sends the composed mosaic.
struct Bandziel {
  // With a file (the command line): the mosaic blended at `blendwert` goes straight into
  // it; the result is the file. Without: the bands make the screen copy `AnzeigeBild`
  // and the result is saved later (ErgebnisSpeichern).
  std::optional<SpeicherOptionen> datei;
  uint8_t blendwert = kNurMosaik;
  FreeSpaceQuery platz;
};

// Phase 4 of a large-format run: composes the run's plan band by band into the target,
// with the phase's progress over the rows and a cancel within one band. Sets
// `ErgebnisFertig` when the screen copy was made or the file written,
// `UnlesbareBilder`, `SchwarzeKacheln`, `ErneutGeleseneBilder` and PhasenZeiten[7], [3],
// [8]. Raises WriteError when the file cannot be written.
void MosaikInBaendernZusammenstellen(Auftrag& auftrag, Fortschritt& fortschritt,
                                     const Mosaikplan& plan, unsigned threads,
                                     const Bandziel& ziel);

}  // namespace tilvendo
