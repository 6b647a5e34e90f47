// A generated picture with the size and entropy of a real photo, for the benchmarks.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/bitmap.h"

namespace tilvendo {

// Soft colour gradients, a few hard edges and sensor grain, in the working format.
inline Bitmap Fotoaehnlich(int32_t breite, int32_t hoehe) {
  Bitmap bild = Bitmap::Uninitialized(breite, hoehe, kPixelformat);
  uint32_t zufall = 2463534242u;
  for (int32_t y = 0; y < hoehe; ++y) {
    uint8_t* zeile = bild.row(y);
    for (int32_t x = 0; x < breite; ++x) {
      zufall ^= zufall << 13;
      zufall ^= zufall >> 17;
      zufall ^= zufall << 5;
      const int korn = static_cast<int>(zufall & 15) - 8;
      const double u = static_cast<double>(x) / breite;
      const double v = static_cast<double>(y) / hoehe;
      const bool himmel = v < 0.4 + 0.1 * std::sin(9 * u);
      const bool haus = u > 0.55 && u < 0.8 && v > 0.3;
      double blau = himmel ? 200 - 80 * v : 60 + 40 * std::sin(30 * u + 7 * v);
      double gruen = himmel ? 150 - 50 * v : 110 + 50 * std::sin(23 * v) * std::cos(17 * u);
      double rot = himmel ? 90 + 60 * v : 70 + 30 * std::cos(40 * u * v);
      if (haus) {
        rot = 170 + 30 * std::sin(200 * v);
        gruen = 90;
        blau = 70;
      }
      const double werte[3] = {blau, gruen, rot};
      for (int c = 0; c < 3; ++c) {
        zeile[4 * x + c] =
            static_cast<uint8_t>(std::clamp(static_cast<int>(werte[c]) + korn, 0, 255));
      }
      zeile[4 * x + 3] = 0;
    }
  }
  return bild;
}

}  // namespace tilvendo
