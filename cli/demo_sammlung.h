// The demo collection: many varied photos made from a few large pictures, so that a
// mosaic can be tried on a fresh machine. Each photo is a crop of a source at a random
// place and size, perhaps mirrored, with its brightness and colours shifted a little,
// written by the program's own JPEG writer. The same sources and seed give the same
// collection.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tilvendo::cli {

struct SammlungsOptionen {
  std::vector<std::string> quellen;  // source pictures (BMP or JPEG)
  std::string ziel;                  // folder for the photos; made when missing
  int32_t anzahl = 800;
  uint32_t seed = 1;
  int32_t langeKante = 320;  // pixels of a photo's longer edge
  int32_t qualitaet = 85;
};

// Writes the photos "foto-0001.jpg" … into `ziel` (sources that cannot be read are
// skipped) and returns how many were written. Throws std::runtime_error when no source
// can be read and WriteError when the folder cannot be written.
int32_t SammlungErzeugen(const SammlungsOptionen& optionen);

// The BMP and JPEG files below `ordner`, sorted, so the choice does not depend on the
// order in which the file system lists them.
std::vector<std::string> BilderSuchen(const std::string& ordner);

}  // namespace tilvendo::cli
