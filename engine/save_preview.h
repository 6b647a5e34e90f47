// The save page's preview of the result with the size of its file.
#pragma once

#include <cstdint>

#include "engine/auftrag.h"
#include "pictures/speichern.h"
#include "platform/bitmap.h"

namespace tilvendo {

struct SavePreview {
  int64_t bytes = -1;      // the file's size; −1 without a result or for an unknown format
  bool estimated = false;  // estimated from a sample of the mosaic, not known
};

// `preview` becomes the job's result blended with its template at `blend`, fitted into
// the box, as the file will show it (reduced to a BMP's depth, a JPEG's artefacts); the
// size of its file comes from Mosaikergebnis::DateigroesseSchaetzen. The job's
// SpeicherVorschau keeps the blended picture between calls; the caller empties it
// whenever the blend value may have changed. Without a result, for an unknown format or
// an empty box `preview` is emptied and the size is −1.
SavePreview MakeSavePreview(Auftrag& job, uint8_t blend, int32_t boxWidth, int32_t boxHeight,
                            const SpeicherOptionen& options, Bitmap& preview);

}  // namespace tilvendo
