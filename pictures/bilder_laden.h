// Reading the template and tile pictures (".bmp", ".jpg", ".jpeg").
// Safe to call from several threads at once.
#pragma once

#include <string>

#include "platform/bitmap.h"
#include "platform/rect.h"

namespace tilvendo {

// Name of the program's own temporary picture in the working folder; never a tile.
inline constexpr const char* kTemporaeresBild = "~tmp.bmp";

// Reads a whole picture at full size. True only when a picture was actually read.
bool LoadWholePicture(Bitmap& bitmap, const std::string& fileName);

// Reads a picture and draws it, stretched with the staged resampler, into `rect` of
// `target`. False, with the target untouched, for `arbeitspfad` + "~tmp.bmp" and for
// pictures that cannot be read.
bool LoadTilePicture(Bitmap& target, Rect rect, const std::string& fileName,
                     const std::string& arbeitspfad);

}  // namespace tilvendo
