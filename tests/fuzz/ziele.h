// One entry per file reader: each takes arbitrary bytes as the reader's file, reads it
// through the reader's public functions and returns normally whatever the bytes are.
// A crash, a sanitizer report or an exception that leaves an entry is a fault of the
// reader. The fuzzing build calls one of them per executable; the normal test build
// replays the stored inputs through all of them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tilvendo::fuzz {

using Eingabe = std::span<const uint8_t>;

inline std::string_view AlsText(Eingabe daten) {
  return {reinterpret_cast<const char*>(daten.data()), daten.size()};
}

// Windows bitmaps: decoded from memory, and read from a file as a tile.
void BmpLesen(Eingabe daten);
// JPEG: the header and, for pictures of up to 4096 pixels, reduced decode, full decode
// with conversion, and the file paths (whole picture, tile rows).
void JpegLesen(Eingabe daten);
// The types read through system libraries (PNG, WebP, TIFF, HEIF): the header and, for
// pictures of up to 4096 pixels, the whole picture and the tile rows. The first byte
// chooses the type and the way of reading, the rest is the file.
void FremdbildLesen(Eingabe daten);
// The profile file parser, and a value written into what it read.
void ProfilLesen(Eingabe daten);
// The album catalogue with one album's folder and picture files.
void KatalogLesen(Eingabe daten);
// An album's signature cache, read record by record into signatures; the first byte
// chooses the shape-analysis level.
void SignaturenLesen(Eingabe daten);

}  // namespace tilvendo::fuzz
