// Encoding a picture into a file format: one interface for every output.
//
// A writer is opened with the picture's description, takes the picture's rows from the
// top down, a strip at a time, and completes its bytes when told that the last row came.
// How a format stores them (bottom-up, after a palette pass, compressed) is its own
// business. The save routine (pictures/speichern.h) owns the file the bytes go into, the
// progress and the cancel.
#pragma once

#include <cstdint>

#include "pictures/streifen_quelle.h"
#include "platform/bitmap.h"

namespace tilvendo {

// The quality every JPEG starts from.
inline constexpr uint8_t kStandardQualitaet = 90;

struct Bildbeschreibung {
  int32_t breite = 0;
  int32_t hoehe = 0;
  // What the file stores where the format offers a choice (BMP: 8, 16, 24 or 32 bits);
  // the other formats store 24 bits whatever is asked.
  PixelFormat tiefe = PixelFormat::k24;
  // Dots per inch, stored as finely as the format allows; 0 stores none, the format's
  // neutral default.
  double dpi = 0.0;
  // Dots per inch down, where they differ from `dpi` (across); 0: the same. A poster of
  // whole tiles needs its own resolution each way to print at its paper's size.
  double dpiY = 0.0;
  int qualitaet = kStandardQualitaet;  // JPEG: 1..100
};

// The dots per inch down a writer stores for `b`.
inline double DpiSenkrecht(const Bildbeschreibung& b) {
  return b.dpiY > 0 ? b.dpiY : b.dpi;
}

class Bildschreiber {
 public:
  virtual ~Bildschreiber() = default;
  // The next rows of the picture, from the top, in the working format.
  virtual void Schreiben(const Zeilen& zeilen) = 0;
  // After the last row: completes the file's bytes. Raises WriteError.
  virtual void Beenden() = 0;
};

}  // namespace tilvendo
