// The last completed run's mosaic as the result, overview and save pages see it: held
// whole in `MosaikBild`, or, in large format, only as its plan (`MosaikPlan`) with a screen
// copy, composed band by band whenever it is saved. Its size, grid and photos are the
// plan's, whatever the settings say by now.
#pragma once

#include <cstdint>

#include "engine/auftrag.h"
#include "pictures/speichern.h"
#include "platform/bitmap.h"
#include "platform/rect.h"
#include "wizard/lupe.h"

namespace tilvendo::wizard {

// Whether there is a result to show and save: a mosaic held whole, or a large-format
// one with its screen copy.
bool ErgebnisVorhanden(const Auftrag& auftrag);

// The size of the result in pixels (0 × 0 without one).
Size ErgebnisGroesse(const Auftrag& auftrag);

// The grid of the result: the run's tile counts and the tile size in result pixels
// (none without a plan).
Mosaikraster ErgebnisRaster(const Auftrag& auftrag);

// What the save page shows of the result in the chosen format.
struct Speichervorschau {
  int64_t bytes = -1;       // the file's size; −1 without a result or for an unknown format
  bool geschaetzt = false;  // estimated from a sample of a mosaic not held whole
};

// The save page's preview of the result blended at `blendwert`, fitted into the box, and
// the size of its file (MakeSavePreview; for a large-format result MakeSavePreviewAusProbe
// with its screen copy and a sample at full resolution, Grossformatprobe). The job's
// SpeicherVorschau caches the blended preview.
Speichervorschau SpeichervorschauMachen(Auftrag& auftrag, uint8_t blendwert, int32_t boxBreite,
                                        int32_t boxHoehe, const SpeicherOptionen& optionen,
                                        Bitmap& vorschau);

}  // namespace tilvendo::wizard
