// Moving a placed tile's colours toward the colours of the template cell it stands for.
// Even the best of a few thousand photos rarely has quite the cell's colour; shifting
// every pixel of the tile (or of each of its parts) by a share of the difference between
// the means brings the mosaic closer to the template while the photo stays recognisable.
#pragma once

#include <array>
#include <cstdint>

#include "engine/kachelsignatur.h"
#include "platform/bitmap.h"
#include "platform/rect.h"

namespace tilvendo {

// The mean colour of each of the teile × teile parts of a rectangle, part (i, j) being
// the i-th column band and the j-th row band. Means are kept exact (not rounded), so a
// shift of 100 % lands on the rounded mean itself.
struct Teilfarben {
  int teile = 1;
  // [i·teile + j][0, 1, 2] = red, green, blue
  std::array<std::array<double, 3>, static_cast<size_t>(kMaxFormanalyse) * kMaxFormanalyse>
      mittel{};
};

// Measures the parts of `rechteck` of the 32-bit picture `bild` (not empty). The
// rectangle is split as evenly as whole pixels allow, band k spanning
// [anfang + k·laenge ÷ teile, anfang + (k+1)·laenge ÷ teile); a rectangle narrower than
// `teile` pixels gets parts of one pixel that may overlap, so that no part is empty. The
// rectangle is held within the picture and made at least one pixel large.
Teilfarben TeilfarbenMessen(const Bitmap& bild, Rect rechteck, int teile);

// How many parts per side the tile `breite` × `hoehe` is split into at shape analysis
// level `formanalyse`: the level itself, or 1 (the whole tile) when the level is 1 or the
// tile is too small to give every part a pixel.
int Angleichteile(int formanalyse, int32_t breite, int32_t hoehe);

// Copies the 32-bit picture `kachel` (its parts measured as `kachelFarben`) unscaled into
// `ziel` with its top-left corner at (links, oben), adding to every pixel of part (i, j)
// `staerke` per cent of the difference between the part's mean in `zellFarben` and in
// `kachelFarben`, rounded halves to even, per channel, clamped to 0..255. Both must have
// the same number of parts. `staerke` above 100 counts as 100.
void AngeglichenEinsetzen(const Bitmap& kachel, const Teilfarben& kachelFarben,
                          const Teilfarben& zellFarben, int staerke, Bitmap& ziel, int32_t links,
                          int32_t oben);

}  // namespace tilvendo
