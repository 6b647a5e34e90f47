// How pictures are read: upright or as stored, exactly or fast, whole or cut to shape.
#pragma once

namespace tilvendo {

struct Leseart {
  // Turn photos upright as their orientation tag says. Off: as stored, the way earlier
  // versions read them.
  bool aufrichten = true;
  // Decode a tile photo only as large as the staged reduction needs (JPEG's reduced
  // decoding, WebP's scaling, a HEIF thumbnail): much faster for large photos, and the
  // pixels close to, but not the same as, those of the exact reading.
  bool schnell = false;
  // Draw the largest centred part of a tile photo with the rectangle's proportions
  // instead of squeezing the whole photo into it.
  bool zuschneiden = false;
};

}  // namespace tilvendo
