// A zoom pyramid of JPEG tiles, written as one more output of a picture's rows.
//
// The rows come from the top as into any writer (pictures/bildschreiber.h); the tiles of
// every zoom level are cut and reduced by libvips while they come. Zoom level 0 holds the
// whole picture in one tile, each further level doubles it, the last shows every pixel;
// tiles lie at `ordner`/z/y/x.jpg, where a tiled map viewer finds them. Tiles beyond the
// picture's right and bottom edge are never asked for and may be missing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "pictures/bildschreiber.h"

namespace tilvendo {

// The side of a tile in pixels, at every level.
inline constexpr int32_t kPyramidenKachel = 256;

// The deepest zoom level of a breite × hoehe picture: the least z for which
// kPyramidenKachel · 2^z covers its longer side.
int32_t PyramidenTiefe(int32_t breite, int32_t hoehe);

// What the tiling holds beside the rows handed to it, for a picture `breite` pixels wide:
// every level keeps strips of its tile rows across its whole width while it cuts and
// reduces them, about 5 KiB per pixel of width as measured at 20,000 and 40,000 pixels.
uint64_t PyramidenSpeicher(int32_t breite);

// The writer of the pyramid of the picture described into the folder `ordner`, which must
// not exist yet. The rows are handed to the tiling as they come and only a few strips
// are held at any time, whatever the picture's size. Raises WriteError when the tiles
// cannot be written, at the latest from Beenden(); a writer destroyed before Beenden()
// stops the tiling and leaves what it wrote to its caller to remove.
std::unique_ptr<Bildschreiber> KachelpyramideOeffnen(const std::string& ordner,
                                                     const Bildbeschreibung& beschreibung);

}  // namespace tilvendo
