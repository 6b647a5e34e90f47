// Reading the template and tile pictures (".bmp", ".jpg", ".jpeg").
// Safe to call from several threads at once.
#pragma once

#include <string>

#include "platform/bitmap.h"
#include "platform/rect.h"

namespace tilvendo {

// Name of the program's own temporary picture in the working folder; never a tile.
inline constexpr const char* kTemporaeresBild = "~tmp.bmp";

// Reads a whole picture at full size, chosen by the extension in any letter case: ".bmp"
// through the bitmap reader, ".jpg" and ".jpeg" through the JPEG reader (the bitmap then
// becomes 24-bit, or 8-bit grey). True only when a picture was actually read; false, with
// the bitmap as it was, for other extensions and for files that cannot be read.
bool LoadWholePicture(Bitmap& bitmap, const std::string& fileName);

// Reads a picture and draws it, stretched with the staged resampler, into `rect` of
// `target`. ".bmp" files are read as bitmaps, every other name as JPEG, always at full
// size; the pixels drawn are exactly those BildEinpassen would draw from the whole
// picture. False, with the target untouched, for `arbeitspfad` + "~tmp.bmp" and for
// pictures that cannot be read. An empty rectangle draws nothing (true when the picture
// could be read).
bool LoadTilePicture(Bitmap& target, Rect rect, const std::string& fileName,
                     const std::string& arbeitspfad);

}  // namespace tilvendo
