// Phase 4 of a run: the mosaic composed from the run's plan, kept as the job's result
// (Mosaikergebnis) or written straight into a file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "engine/mosaikplan.h"
#include "pictures/blending.h"
#include "pictures/seitenraster.h"
#include "pictures/speichern.h"
#include "pictures/webseite_speichern.h"
#include "platform/free_space.h"

namespace tilvendo {

// Where phase 4 sends the composed mosaic.
struct Zusammenstellziel {
  // With a file (the command line): the mosaic blended at `blendwert` goes straight into
  // it, and the result holds nothing besides. Without: the result is held for the pages
  // (Mosaikergebnis::Zusammenstellen).
  std::optional<SpeicherOptionen> datei;
  uint8_t blendwert = kNurMosaik;
  FreeSpaceQuery platz;
  // With `datei`: instead of a picture, the sheets of a poster as one PDF.
  std::optional<Seitenwahl> seiten;
  // Instead of a file: a zoomable web page, naming the photos unless `mitNamen` is false.
  std::optional<Webseitenoptionen> webseite;
  bool mitNamen = true;
};

// Composes the mosaic of `plan` into the target, with the phase's progress and a cancel
// within a few photos. Sets `Ergebnis` (unless cancelled, when the mosaic has area and,
// for a file, once it is written), `UnlesbareBilder`, `SchwarzeKacheln`,
// `ErneutGeleseneBilder` and the phase's times. Raises WriteError when the file cannot be
// written or is refused by the rule of engine/ausgabeziel.h (a photo, the template, an
// album file, a device); nothing is written then.
void MosaikZusammenstellen(Auftrag& auftrag, Fortschritt& fortschritt,
                           std::shared_ptr<Mosaikplan> plan, const Zusammenstellziel& ziel,
                           unsigned threads);

}  // namespace tilvendo
