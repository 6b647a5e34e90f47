// The mean colour of every cell of a tile grid laid evenly over a picture, and the CIE76
// colour difference of two such means: how the benchmarks judge how closely a mosaic
// reproduces its template (bench/aehnlichkeit_bench.cpp) and how closely any mosaic of
// given photos could (bench/aehnlichkeit_grenze_bench.cpp).
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/wahrnehmung.h"
#include "platform/pixel.h"

namespace tilvendo::bench {

struct Mittel {
  double rot = 0.0;
  double gruen = 0.0;
  double blau = 0.0;
};

// The mean colour of every grid cell, column by column; cell (x, y) covers the pixel
// columns [x·W ÷ spalten, (x+1)·W ÷ spalten) and the rows likewise.
inline std::vector<Mittel> Rastermittel(const Bitmap& bild, int spalten, int zeilen) {
  const int64_t w = bild.width();
  const int64_t h = bild.height();
  std::vector<Mittel> mittel;
  mittel.reserve(static_cast<size_t>(spalten) * static_cast<size_t>(zeilen));
  for (int x = 0; x < spalten; ++x) {
    const auto x0 = static_cast<int32_t>(x * w / spalten);
    const auto x1 = static_cast<int32_t>((x + 1) * w / spalten);
    for (int y = 0; y < zeilen; ++y) {
      const auto y0 = static_cast<int32_t>(y * h / zeilen);
      const auto y1 = static_cast<int32_t>((y + 1) * h / zeilen);
      Mittel m;
      for (int32_t py = y0; py < y1; ++py) {
        for (int32_t px = x0; px < x1; ++px) {
          const Farbe f = ReadPixel(bild, px, py);
          m.rot += f.red;
          m.gruen += f.green;
          m.blau += f.blue;
        }
      }
      const double anzahl = static_cast<double>(x1 - x0) * static_cast<double>(y1 - y0);
      if (anzahl > 0) {
        m.rot /= anzahl;
        m.gruen /= anzahl;
        m.blau /= anzahl;
      }
      mittel.push_back(m);
    }
  }
  return mittel;
}

inline LabFarbe Lab(const Mittel& m) {
  return SrgbMittelNachLab(m.rot, m.gruen, m.blau);
}

// The CIE76 difference: the Euclidean distance in CIELAB.
inline double Farbabstand(const LabFarbe& a, const LabFarbe& b) {
  return std::sqrt((a.L - b.L) * (a.L - b.L) + (a.a - b.a) * (a.a - b.a) +
                   (a.b - b.b) * (a.b - b.b));
}

}  // namespace tilvendo::bench
