// A zoom pyramid of JPEG tiles, written as one more output of a picture's rows.
//
// The rows come from the top as into any writer (pictures/bildschreiber.h); the tiles of
// every zoom level are cut, halved into the level above and encoded while they come.
// Zoom level 0 holds the whole picture in one tile, each further level doubles it, the
// last shows every pixel; tiles lie at `ordner`/z/y/x.jpg, where a tiled map viewer finds
// them. Tiles beyond the picture's right and bottom edge are never asked for and missing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "pictures/bildschreiber.h"

namespace tilvendo {

// The side of a tile in pixels, at every level.
inline constexpr int32_t kPyramidenKachel = 512;

// The deepest zoom level of a breite × hoehe picture: the least z for which
// kPyramidenKachel · 2^z covers its longer side.
int32_t PyramidenTiefe(int32_t breite, int32_t hoehe);

// What the tiling holds beside the rows handed to it, for a picture `breite` pixels wide:
// every level keeps one strip of its tile rows across its whole width.
uint64_t PyramidenSpeicher(int32_t breite);

// The writer of the pyramid of the picture described into the folder `ordner`, which must
// not exist yet. Only one strip per level is held, whatever the picture's size; the
// tiles of a strip are encoded on every core. Raises WriteError when a tile cannot be
// written; a writer destroyed before Beenden() leaves what it wrote to its caller to
// remove.
std::unique_ptr<Bildschreiber> KachelpyramideOeffnen(const std::string& ordner,
                                                     const Bildbeschreibung& beschreibung);

}  // namespace tilvendo
